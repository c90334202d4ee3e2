#include "transferview.h"

#include "animate.h"
#include "transfercontroller.h"

#include "art/art.h"

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

QLabel *label(QWidget *parent, const QString &name)
{
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    l->setWordWrap(true);
    l->setTextFormat(Qt::PlainText); // file names and server replies are never markup
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

} // namespace

TTransferView::TTransferView(TransferController *transfer, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(u"pnlTransfer"_s);
    const int w = parent->width();
    pnlProgress = new QWidget(this);
    pnlProgress->setObjectName(u"pnlProgress"_s);
    pnlProgress->setGeometry(0, 0, w, 145);
    pnlProgress->hide();
    Animate = new TAnimate(pnlProgress);
    Animate->setObjectName(u"Animate"_s);
    Animate->setGeometry((w - 260) / 2, 0, 260, 40);
    Animate->setFrames(Art::uploadAnimation(), 100);
    lblProgress = label(pnlProgress, u"lblProgress"_s);
    lblProgress->setGeometry(0, 48, w, 36);
    pbTotal = new QProgressBar(pnlProgress);
    pbTotal->setObjectName(u"pbTotal"_s);
    pbTotal->setRange(0, 1000);
    pbTotal->setTextVisible(false);
    pbTotal->setGeometry(0, 86, w - 150, 16);
    // The whole send in words beside the bar: how much of how much, and the time left.
    lblTotal = label(pnlProgress, u"lblTotal"_s);
    lblTotal->setGeometry(w - 146, 78, 146, 32);
    btnStop = new QPushButton(u"Stop"_s, pnlProgress);
    btnStop->setObjectName(u"btnStop"_s);
    btnStop->setAutoDefault(false);
    btnStop->setGeometry(w - 90, 110, 90, 28);

    lblResult = label(this, u"lblResult"_s);
    lblResult->setGeometry(0, 0, w, 18);
    lblResult->hide();
    lstResults = new QListWidget(this);
    lstResults->setObjectName(u"lstResults"_s);
    // A reason is read whole, never behind a scroll bar.
    lstResults->setWordWrap(true);
    lstResults->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstResults->setGeometry(0, 20, w, 125);
    lstResults->hide();

    connect(btnStop, &QPushButton::clicked, this, [this, transfer] {
        transfer->stop();
        btnStop->setEnabled(false);
    });
    connect(transfer, &TransferController::fileText, lblProgress, &QLabel::setText);
    connect(transfer, &TransferController::summary, this, [this](const QString &text, int permille) {
        lblTotal->setText(text);
        pbTotal->setValue(permille);
    });
    connect(transfer, &TransferController::fileFinished, this,
            [this](const FileResult &r) { lstResults->addItem(PublishResultLine(r)); });
}

// Send, step 1: the progress panel and the animation for the duration of the transfer.
void TTransferView::begin(const QString &host)
{
    lblResult->hide();
    lstResults->hide();
    lstResults->clear();
    lblProgress->setText(u"Connecting to %1"_s.arg(host));
    lblTotal->clear();
    pbTotal->setValue(0);
    Animate->setActive(true);
    pnlProgress->show();
    btnStop->setEnabled(true);
}

// Send, step 3: the panel goes, the animation stops on its first frame, and each file's end is listed.
void TTransferView::end(const QList<FileResult> &results)
{
    pnlProgress->hide();
    Animate->setActive(false);
    Animate->rewind();
    int sent = 0, unchanged = 0, failed = 0;
    lstResults->clear();
    for (const FileResult &r : results) {
        lstResults->addItem(PublishResultLine(r));
        (r.status == FileResult::Sent ? sent : r.status == FileResult::Unchanged ? unchanged : failed)++;
    }
    lblResult->setText(u"%1 sent, %2 unchanged, %3 failed"_s.arg(sent).arg(unchanged).arg(failed));
    lblResult->show();
    lstResults->show();
}
