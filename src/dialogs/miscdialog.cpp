#include "miscdialog.h"
#include "ui_miscdialog.h"

#include "platform/gui/dialogframe.h"

using namespace Qt::StringLiterals;

TfrmMisc::TfrmMisc(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmMisc>())
{
    ui->setupUi(this);
    connect(ui->btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->pnlBookmarks, &TMiscBookmarkPage::bookmarkChosen, this, &QDialog::accept);
    connect(ui->pnlMeta, &TMiscMetaPage::metaContentChanged, this, &TfrmMisc::updateOk);

    setDialogMode(FontMode);
    // The designed client size, grown only when the fonts need more room.
    DialogFrame::makeFixedSize(this, minimumSizeHint().expandedTo(QSize(440, 206)));
}

TfrmMisc::~TfrmMisc() = default;

QStringList TfrmMisc::installedFaces()
{
    return TMiscFontPage::installedFaces();
}

void TfrmMisc::setDialogMode(quint8 mode)
{
    m_mode = mode;
    switch (mode) {
    case FontMode:
        ui->stkPages->setCurrentWidget(ui->pnlFont);
        break;
    case BookmarkMode:
        ui->stkPages->setCurrentWidget(ui->pnlBookmarks);
        break;
    case MetaMode:
        ui->stkPages->setCurrentWidget(ui->pnlMeta);
        break;
    default:
        break;
    }
}

TFontSpec TfrmMisc::sampleFont() const
{
    return ui->pnlFont->sampleFont();
}

void TfrmMisc::setSampleFont(const TFontSpec &font)
{
    ui->pnlFont->setSampleFont(font);
}

QString TfrmMisc::metaName() const
{
    return ui->pnlMeta->metaName();
}

void TfrmMisc::setMetaName(const QString &name)
{
    ui->pnlMeta->setMetaName(name);
}

QString TfrmMisc::metaContent() const
{
    return ui->pnlMeta->metaContent();
}

void TfrmMisc::setMetaContent(const QString &content)
{
    ui->pnlMeta->setMetaContent(content);
}

QString TfrmMisc::selectedBookmark() const
{
    return ui->pnlBookmarks->selectedBookmark();
}

QStringList TfrmMisc::bookmarks() const
{
    return ui->pnlBookmarks->bookmarks();
}

bool TfrmMisc::loadBookmarks(const QString &path)
{
    return ui->pnlBookmarks->loadBookmarks(path);
}

bool TfrmMisc::prepare()
{
    m_prepared = true;
    setDialogMode(m_mode);
    switch (m_mode) {
    case FontMode:
        setWindowTitle(u"Font"_s);
        ui->pnlFont->prepare();
        return true;
    case BookmarkMode:
        return ui->pnlBookmarks->prepare();
    case MetaMode:
        setWindowTitle(u"Meta Tag"_s);
        updateOk();
        ui->pnlMeta->prepare();
        return true;
    default:
        return true;
    }
}

int TfrmMisc::exec()
{
    if (!m_prepared && !prepare()) {
        setResult(Rejected);
        return Rejected;
    }
    m_prepared = false;
    return QDialog::exec();
}

void TfrmMisc::updateOk()
{
    // A meta tag without content cannot be confirmed.
    if (m_mode == MetaMode)
        ui->btnOK->setEnabled(!ui->pnlMeta->metaContent().isEmpty());
}
