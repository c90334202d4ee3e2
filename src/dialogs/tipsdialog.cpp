#include "tipsdialog.h"
#include "ui_tipsdialog.h"

#include "platform/cp1252.h"
#include "platform/gui/dialogframe.h"
#include "platform/gui/messages.h"
#include "platform/programfolder.h"
#include "platform/settingsstore.h"
#include "platform/textutils.h"

#include <QFile>
#include <QStyle>

using namespace Qt::StringLiterals;

TfrmTips::TfrmTips(const QString &programFolder, bool showTips, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmTips>()), m_random(QRandomGenerator::securelySeeded())
{
    ui->setupUi(this);
    ui->imgTip->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    ui->chkShow->setChecked(showTips);
    ui->btnNext->setFocus();
    connect(ui->btnNext, &QPushButton::clicked, this, &TfrmTips::showNextTip);
    connect(ui->btnClose, &QPushButton::clicked, this, &QDialog::reject);
    DialogFrame::makeFixedSize(this, sizeHint().expandedTo(QSize(439, 239)));

    QFile file(programFolder + ProgramFiles::kTips);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        if (file.error() == QFileDevice::NoError)
            m_tips = Text::splitLines(Cp1252::decode(bytes));
    }
    if (m_tips.isEmpty()) {
        ui->btnNext->setEnabled(false);
        ui->lblTip->setText(u"Could not load tips file! Please make sure Tips.txt is in the application folder of "_s
                            + programFolder + u'.');
        return;
    }
    m_lastIndex = int(m_tips.size()) - 1;
    showNextTip();
}

TfrmTips::~TfrmTips() = default;

bool TfrmTips::showTips() const
{
    return ui->chkShow->isChecked();
}

QString TfrmTips::currentTip() const
{
    return ui->lblTip->text();
}

void TfrmTips::setRandomGenerator(QRandomGenerator generator)
{
    m_random = generator;
    if (!m_tips.isEmpty())
        showNextTip();
}

void TfrmTips::showNextTip()
{
    // A file of one line shows that line; otherwise the last line is never drawn.
    const int index = m_lastIndex > 0 ? int(m_random.bounded(m_lastIndex)) : 0;
    ui->lblTip->setText(m_tips.value(index));
}

// Every way of closing (Close, Escape, the close box) stores the setting.
void TfrmTips::done(int result)
{
    SettingsStore &store = SettingsStore::instance();
    store.writeString({}, u"TipDay"_s, showTips() ? u"1"_s : u"0"_s);
    QString error;
    if (!store.sync(&error))
        Messages::error(this, error);
    QDialog::done(result);
}
