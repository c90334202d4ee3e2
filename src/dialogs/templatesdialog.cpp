#include "templatesdialog.h"
#include "ui_templatesdialog.h"

#include "art/art.h"
#include "platform/gui/dialogframe.h"
#include "platform/gui/filedialogs.h"
#include "platform/gui/help.h"
#include "platform/gui/messages.h"
#include "platform/gui/plaintext.h"
#include "platform/programfolder.h"
#include "platform/textutils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalBlocker>

using namespace Qt::StringLiterals;

namespace {

// Where an entry's file lives and what it ends in, by the entry's icon number.
struct EntryKind
{
    QStringView folder;
    QStringView extension;
};
constexpr EntryKind kTemplateEntry{ProgramFiles::kTemplates, u"mbt"};
constexpr EntryKind kProjectEntry{ProgramFiles::kProjects, u"mbe"};

const EntryKind &entryKind(int icon)
{
    return icon == 0 ? kTemplateEntry : kProjectEntry;
}

// The entry's icon number travels with the item.
constexpr int kIconRole = Qt::UserRole;

constexpr int kListHelpTopic = 64;
constexpr int kPreviewHelpTopic = 76;

} // namespace

TfrmTemplates::TfrmTemplates(const QString &programFolder, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmTemplates>()), m_programFolder(programFolder)
{
    if (!m_programFolder.isEmpty() && !m_programFolder.endsWith(u'/'))
        m_programFolder += u'/';
    ui->setupUi(this);

    ui->btnOpen->setIcon(Art::buttonPicture(Art::Button::Browse));
    ui->btnDelete->setIcon(Art::buttonPicture(Art::Button::Delete));

    // The list and the preview ignore their size hints (see the .ui file): their minimum sizes,
    // the designed ones, make the dialog's fixed size, which grows only for wider captions.
    DialogFrame::makeFixedSize(this);

    // A large-icon list whose selection stays as visible when another control has the focus.
    QListWidget *list = ui->lvTemplates;
    list->setGridSize(QSize(92, 66));
    list->setSpacing(4);
    QPalette palette = list->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    list->setPalette(palette);

    ThtmlLite *browser = ui->browser;
    browser->setBorderStyle(ThtmlLite::htNone);
    browser->setViewImages(true);
    browser->setDefFontName(u"Times New Roman"_s);
    browser->setDefPreFontName(u"Courier New"_s);
    browser->setHistoryMaxCount(0);
    browser->setImageCacheCount(0);
    // Links in a preview are never followed.
    connect(browser, &ThtmlLite::OnHotSpotClick, this, [](const QString &, bool &handled) { handled = true; });

    Help::attachWhatsThis(list, kListHelpTopic);
    Help::attachWhatsThis(browser, kPreviewHelpTopic);

    connect(list, &QListWidget::itemSelectionChanged, this, &TfrmTemplates::lvTemplatesSelectItem);
    connect(list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(ui->btnOpen, &QPushButton::clicked, this, &TfrmTemplates::btnOpenClick);
    connect(ui->btnDelete, &QPushButton::clicked, this, &TfrmTemplates::btnDeleteClick);
    connect(ui->btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    list->clear();
    listFolder(m_programFolder + kTemplateEntry.folder, kTemplateEntry.extension.toString(), 0);
    listFolder(m_programFolder + kProjectEntry.folder, kProjectEntry.extension.toString(), 1);
}

TfrmTemplates::~TfrmTemplates() = default;

QString TfrmTemplates::SelectedFile() const
{
    return m_selectedFile;
}

void TfrmTemplates::listFolder(const QString &folder, const QString &extension, int icon)
{
    // The pattern has no ".": a bare "xmbt" is listed too, with an empty caption. Matching is
    // case-sensitive because the entry's file is rebuilt from its caption and the lower-case
    // extension. Names are sorted as the folder listing of the original platform sorted them,
    // without regard to case.
    QDir dir(folder, u"*"_s + extension, QDir::Name | QDir::IgnoreCase,
             QDir::Files | QDir::Hidden | QDir::CaseSensitive);
    const QIcon picture(Art::documentIcon(icon));
    for (const QString &name : dir.entryList()) {
        auto *item = new QListWidgetItem(picture, StripExtension(name), ui->lvTemplates);
        item->setData(kIconRole, icon);
        item->setToolTip(PlainToolTip(name));
    }
}

QString TfrmTemplates::entryFile(const QListWidgetItem *item, const QString &extension) const
{
    const EntryKind &kind = entryKind(item->data(kIconRole).toInt());
    return m_programFolder + kind.folder + item->text() + u'.' + extension;
}

void TfrmTemplates::showPreview(const QString &path, const QString &serverRoot)
{
    if (!QFileInfo::exists(path))
        return;
    ui->browser->setServerRoot(serverRoot);
    ui->browser->LoadHtmlFile(path); // a page that fails to load leaves the view as it was
}

void TfrmTemplates::lvTemplatesSelectItem()
{
    const QList<QListWidgetItem *> selected = ui->lvTemplates->selectedItems();
    if (selected.isEmpty())
        return;
    const QListWidgetItem *item = selected.constFirst();
    const EntryKind &kind = entryKind(item->data(kIconRole).toInt());
    ui->btnOK->setEnabled(true);
    m_selectedFile = entryFile(item, kind.extension.toString());
    // The base folder is set even when there is no preview page to show.
    const QString folder = m_programFolder + kind.folder;
    ui->browser->setServerRoot(folder);
    showPreview(entryFile(item, u"html"_s), folder);
}

void TfrmTemplates::btnOpenClick()
{
    const QString path = FileDialogs::getOpenFileName(this, u"Brisko Template|*.mbt|Brisko Files|*.mbe"_s,
                                                      m_programFolder + ProgramFiles::kProjects);
    if (path.isEmpty())
        return;
    m_selectedFile = path;
    ui->btnOK->setEnabled(true);
    // The preview page lies beside the file, under the same name up to its last ".".
    const QString base = StripExtension(path);
    if (!base.isEmpty())
        showPreview(base + u".html"_s, QFileInfo(path).absolutePath() + u'/');
}

void TfrmTemplates::btnDeleteClick()
{
    const QList<QListWidgetItem *> selected = ui->lvTemplates->selectedItems();
    if (selected.isEmpty())
        return;
    QListWidgetItem *item = selected.constFirst();
    Messages::beep();
    if (Messages::show(this, Messages::Kind::Confirmation, u"Do you want to delete "_s + item->text() + u'?',
                       Messages::Yes | Messages::No) != Messages::Yes)
        return;

    const EntryKind &kind = entryKind(item->data(kIconRole).toInt());
    const QString file = entryFile(item, kind.extension.toString());
    // An entry whose file has gone already stays, with its preview page.
    if (QFileInfo::exists(file)) {
        QFile::remove(file);
        const QString preview = entryFile(item, u"html"_s);
        if (QFileInfo::exists(preview))
            QFile::remove(preview);
        // The list would select the next entry in place of the removed one; nothing should
        // be selected afterwards.
        const QSignalBlocker blockList(ui->lvTemplates);
        const QSignalBlocker blockSelection(ui->lvTemplates->selectionModel());
        delete item;
    }
    ui->lvTemplates->clearSelection();
    ui->lvTemplates->setCurrentItem(nullptr);
    ui->lvTemplates->doItemsLayout();
    ui->browser->ClearDocument();
    ui->btnOK->setEnabled(false);
}
