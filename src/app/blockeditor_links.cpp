#include "blockeditor.h"
#include "ui_blockeditor.h"

#include "art/art.h"
#include "dialogs/miscdialog.h"
#include "platform/cp1252.h"
#include "platform/gui/busycursor.h"
#include "platform/gui/filedialogs.h"
#include "platform/inifile.h"
#include "platform/textutils.h"

#include <QApplication>
#include <QDir>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QMouseEvent>
#include <QStringDecoder>

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr QLatin1StringView kMailto = "mailto:"_L1;

// What a drag inside the link list carries; nothing else may be dropped there.
constexpr QLatin1StringView kLinkEntryMime = "application/x-brisko-link-entry"_L1;

// A drop is taken only when it names this very list of this process.
bool isOwnLinkDrag(const QMimeData *data, const QWidget *list)
{
    if (!data || !data->hasFormat(kLinkEntryMime))
        return false;
    const std::unique_ptr<QMimeData> own(TBlockEditor::linkDragData(list));
    return data->data(kLinkEntryMime) == own->data(kLinkEntryMime);
}

int selectedRow(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

void selectRow(QListWidget *list, int row)
{
    list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

// A text file as the user wrote it: UTF-8 when the bytes are valid UTF-8, the Windows code
// page otherwise.
QString decodeTextFile(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return Cp1252::decode(bytes);
    if (text.startsWith(QChar::ByteOrderMark))
        text.remove(0, 1);
    return text;
}

} // namespace

QMimeData *TBlockEditor::linkDragData(const QWidget *list)
{
    auto *data = new QMimeData;
    data->setData(kLinkEntryMime, QByteArray::number(QCoreApplication::applicationPid()) + ' '
                                      + QByteArray::number(quintptr(list), 16));
    return data;
}

QString TBlockEditor::favoritesFolder()
{
    const QString favorites = QDir::home().filePath(u"Favorites"_s);
    return QFileInfo(favorites).isDir() ? favorites : QDir::homePath();
}

void TBlockEditor::connectLinkPanel()
{
    // The tag tells the shared link-target commands which edit box they fill.
    for (QToolButton *button : {ui->btnLinkBrowse, ui->btnLinkIE, ui->btnLinkNetscape})
        button->setProperty("tag", int(LinkTarget));
    for (QToolButton *button : {ui->btnImageLink, ui->btnImageIE, ui->btnImageNetscape})
        button->setProperty("tag", int(ImageLinkTarget));
    const auto tagOf = [](QObject *button) { return button->property("tag").toInt(); };
    for (QToolButton *button : {ui->btnLinkBrowse, ui->btnImageLink})
        connect(button, &QToolButton::clicked, this, [=, this] { browseForLinkTarget(tagOf(button)); });
    for (QToolButton *button : {ui->btnLinkIE, ui->btnImageIE})
        connect(button, &QToolButton::clicked, this, [=, this] { pickFavorite(tagOf(button)); });
    for (QToolButton *button : {ui->btnLinkNetscape, ui->btnImageNetscape})
        connect(button, &QToolButton::clicked, this, [=, this] { pickBookmark(tagOf(button)); });

    connect(ui->btnLinkAdd, &QToolButton::clicked, this, &TBlockEditor::addLinkEntry);
    connect(ui->btnLinkRemove, &QToolButton::clicked, this, &TBlockEditor::removeLinkEntry);
    connect(ui->btnLinkEdit, &QToolButton::clicked, this, &TBlockEditor::applyLinkEdit);
    connect(ui->lstLinks, &QListWidget::itemDoubleClicked, this, &TBlockEditor::editLinkEntry);
    connect(ui->lstLinks, &QListWidget::itemSelectionChanged, this, [this] {
        const bool selected = selectedRow(ui->lstLinks) >= 0;
        ui->btnLinkEdit->setEnabled(ui->chkLink->isChecked() && selected);
        ui->btnLinkRemove->setEnabled(ui->chkLink->isChecked() && selected);
    });
    ui->lstLinks->setSelectionMode(QAbstractItemView::SingleSelection);
    ui->lstLinks->setDragDropMode(QAbstractItemView::NoDragDrop);
    ui->lstLinks->setAcceptDrops(true);
    ui->lstLinks->viewport()->setAcceptDrops(true);
    ui->lstLinks->viewport()->installEventFilter(this);

    connect(ui->btnMetaAdd, &QToolButton::clicked, this, &TBlockEditor::addMetaEntry);
    connect(ui->btnMetaRemove, &QToolButton::clicked, this, &TBlockEditor::removeMetaEntry);
    connect(ui->btnMetaEdit, &QToolButton::clicked, this, &TBlockEditor::editMetaEntry);
    connect(ui->lstMeta, &QListWidget::itemDoubleClicked, this, &TBlockEditor::editMetaEntry);
    connect(ui->lstMeta, &QListWidget::itemSelectionChanged, this, &TBlockEditor::updateMetaButtons);
    ui->lstMeta->setSelectionMode(QAbstractItemView::SingleSelection);
    updateMetaButtons();

    connect(ui->btnTextImport, &QToolButton::clicked, this, [this] { importTextFile(ui->txtText); });
    connect(ui->btnBulletImport, &QToolButton::clicked, this, [this] { importTextFile(ui->txtBullets); });
}

QLineEdit *TBlockEditor::linkTargetEdit(int tag) const
{
    return tag == ImageLinkTarget ? ui->txtImageLink : ui->txtLinkAddress;
}

QString TBlockEditor::linkEntryLine() const
{
    QString line;
    if (ui->chkEmail->isChecked())
        line += kMailto;
    return line + ui->txtLinkAddress->text() + u'\t' + ui->txtLinkText->text();
}

void TBlockEditor::addLinkEntry()
{
    const int selected = selectedRow(ui->lstLinks);
    if (ui->txtLinkAddress->text().isEmpty() || ui->txtLinkText->text().isEmpty())
        return;
    const int row = selected + 1;
    ui->lstLinks->insertString(row, linkEntryLine());
    selectRow(ui->lstLinks, row);
    ui->txtLinkAddress->clear();
    ui->txtLinkText->clear();
    ui->chkLink->setChecked(true);
    ui->chkEmail->setChecked(false);
    ui->btnLinkRemove->setEnabled(true);
}

void TBlockEditor::removeLinkEntry()
{
    TListBoxHrz *list = ui->lstLinks;
    if (list->count() > 0) {
        // The selected entry goes; with none selected, the last one.
        const int selected = selectedRow(list);
        const int row = selected >= 0 ? selected : list->count() - 1;
        {
            const QSignalBlocker blocker(list);
            list->deleteString(row);
            list->clearSelection();
        }
        // The entry that moved into its place is selected, so Remove can be pressed again.
        if (selected >= 0 && list->count() > 0)
            selectRow(list, std::min<int>(selected, list->count() - 1));
    }
    const bool remaining = list->count() > 0;
    ui->chkLink->setChecked(remaining);
    ui->btnLinkRemove->setEnabled(remaining);
    ui->btnLinkEdit->setEnabled(remaining && selectedRow(list) >= 0);
}

void TBlockEditor::editLinkEntry()
{
    const int row = selectedRow(ui->lstLinks);
    if (row < 0)
        return;
    QString line = ui->lstLinks->item(row)->text();
    if (line.startsWith(kMailto)) {
        ui->chkEmail->setChecked(true);
        line.remove(0, kMailto.size());
    }
    const qsizetype tab = line.indexOf(u'\t');
    ui->txtLinkAddress->setText(tab < 0 ? QString() : line.left(tab));
    ui->txtLinkText->setText(tab < 0 ? line : line.mid(tab + 1));
}

void TBlockEditor::applyLinkEdit()
{
    const int row = selectedRow(ui->lstLinks);
    if (row < 0 || !ui->chkLink->isChecked() || ui->txtLinkAddress->text().isEmpty()
        || ui->txtLinkText->text().isEmpty())
        return;
    const QString line = linkEntryLine();
    {
        const QSignalBlocker blocker(ui->lstLinks);
        ui->lstLinks->deleteString(row);
        ui->lstLinks->insertString(row, line);
    }
    selectRow(ui->lstLinks, row);
    ui->chkEmail->setChecked(false);
    ui->txtLinkAddress->clear();
    ui->txtLinkText->clear();
}

void TBlockEditor::swapLinkEntries(int from, int to)
{
    TListBoxHrz *list = ui->lstLinks;
    if (from < 0 || to < 0 || from >= list->count() || to >= list->count() || from == to)
        return;
    const QString moving = list->item(from)->text();
    list->item(from)->setText(list->item(to)->text());
    list->item(to)->setText(moving);
    selectRow(list, to);
}

bool TBlockEditor::linkListEvent(QEvent *event)
{
    TListBoxHrz *list = ui->lstLinks;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *press = static_cast<QMouseEvent *>(event);
        m_linkDragStart = press->button() == Qt::LeftButton ? std::optional(press->position().toPoint()) : std::nullopt;
        return false;
    }
    case QEvent::MouseButtonRelease:
        m_linkDragStart.reset();
        return false;
    case QEvent::MouseMove: {
        const auto *move = static_cast<QMouseEvent *>(event);
        if (!m_linkDragStart || !(move->buttons() & Qt::LeftButton))
            return false;
        if ((move->position().toPoint() - *m_linkDragStart).manhattanLength() < QApplication::startDragDistance())
            return true;
        const QPoint start = *m_linkDragStart;
        m_linkDragStart.reset();
        if (!list->itemAt(start))
            return true;
        auto *drag = new QDrag(list);
        drag->setMimeData(linkDragData(list));
        const QPixmap cursor = Art::newDragCursor().pixmap();
        if (!cursor.isNull())
            drag->setDragCursor(cursor, Qt::MoveAction);
        drag->exec(Qt::MoveAction);
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (isOwnLinkDrag(drag->mimeData(), list))
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!isOwnLinkDrag(drop->mimeData(), list)) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        // Below the last entry there is nothing to change places with.
        if (QListWidgetItem *target = list->itemAt(drop->position().toPoint()))
            swapLinkEntries(selectedRow(list), list->row(target));
        return true;
    }
    default:
        return false;
    }
}

void TBlockEditor::browseForLinkTarget(int tag)
{
    const QString path = FileDialogs::getOpenFileName(this, u"All Files|*.*"_s, {});
    if (!path.isEmpty())
        linkTargetEdit(tag)->setText(QDir::toNativeSeparators(path));
}

void TBlockEditor::pickFavorite(int tag)
{
    const QString path = FileDialogs::getOpenFileName(this, u"Internet Shortcuts|*.url"_s, favoritesFolder());
    if (path.isEmpty())
        return;
    const QString url = IniFile(path).readString(u"InternetShortcut"_s, u"URL"_s);
    if (!url.isEmpty())
        linkTargetEdit(tag)->setText(url);
}

void TBlockEditor::pickBookmark(int tag)
{
    std::optional<BusyCursor> busy(std::in_place);
    TfrmMisc dialog(this);
    dialog.setDialogMode(TfrmMisc::BookmarkMode);
    busy.reset();
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString line = dialog.selectedBookmark();
    if (!line.isEmpty())
        linkTargetEdit(tag)->setText(line);
}

void TBlockEditor::updateMetaButtons()
{
    const bool selected = selectedRow(ui->lstMeta) >= 0;
    ui->btnMetaRemove->setEnabled(selected);
    ui->btnMetaEdit->setEnabled(selected);
}

void TBlockEditor::addMetaEntry()
{
    std::optional<BusyCursor> busy(std::in_place);
    TfrmMisc dialog(this);
    dialog.setDialogMode(TfrmMisc::MetaMode);
    dialog.setMetaName(u"Description"_s);
    dialog.setMetaContent(QString());
    dialog.prepare();
    busy.reset();
    if (dialog.exec() != QDialog::Accepted)
        return;
    ui->lstMeta->addString(dialog.metaName() + u'\t' + dialog.metaContent());
    selectRow(ui->lstMeta, ui->lstMeta->count() - 1);
}

void TBlockEditor::removeMetaEntry()
{
    const int row = selectedRow(ui->lstMeta);
    if (row >= 0) {
        const QSignalBlocker blocker(ui->lstMeta);
        ui->lstMeta->deleteString(row);
        ui->lstMeta->clearSelection();
    }
    updateMetaButtons();
}

void TBlockEditor::editMetaEntry()
{
    const int row = selectedRow(ui->lstMeta);
    if (row < 0)
        return;
    const QString line = ui->lstMeta->item(row)->text();
    const qsizetype tab = line.indexOf(u'\t');
    std::optional<BusyCursor> busy(std::in_place);
    TfrmMisc dialog(this);
    dialog.setDialogMode(TfrmMisc::MetaMode);
    // Split as the page generator reads the line: without a TAB it is all content.
    dialog.setMetaName(tab < 0 ? QString() : line.left(tab));
    dialog.setMetaContent(tab < 0 ? line : line.mid(tab + 1));
    dialog.prepare();
    busy.reset();
    if (dialog.exec() != QDialog::Accepted)
        return;
    {
        const QSignalBlocker blocker(ui->lstMeta);
        ui->lstMeta->deleteString(row);
        ui->lstMeta->insertString(row, dialog.metaName() + u'\t' + dialog.metaContent());
    }
    selectRow(ui->lstMeta, row);
    updateMetaButtons();
}

void TBlockEditor::importTextFile(QPlainTextEdit *memo)
{
    const QString path = FileDialogs::getOpenFileName(this, u"Text Files|*.txt"_s, {});
    if (path.isEmpty())
        return;
    BusyCursor busy;
    QFile file(path);
    // A file that cannot be read changes nothing.
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return;
    // Every line keeps its break, the last one included.
    QString text;
    for (const QString &line : Text::splitLines(decodeTextFile(bytes)))
        text += line + u'\n';
    memo->insertPlainText(text);
}
