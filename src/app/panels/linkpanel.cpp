#include "linkpanel.h"
#include "ui_linkpanel.h"

#include "app/panels/panelcommands.h"
#include "art/art.h"
#include "document/blockedit.h"
#include "platform/gui/rowdrag.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>

using namespace Qt::StringLiterals;

namespace {

// What a drag inside the link list carries; nothing else may be dropped there.
const QString kLinkEntryMime = u"application/x-brisko-link-entry"_s;

} // namespace

TLinkPanel::TLinkPanel(QWidget *parent) : TBlockPanel(parent), ui(std::make_unique<Ui::TLinkPanel>())
{
    ui->setupUi(this);
    setUpHeading(ui->imgLink, ui->lblLink0, btLink);
    PanelCommands::setUpLinkTargetButtons(this, ui->btnLinkBrowse, ui->btnLinkIE, ui->btnLinkNetscape,
                                          ui->txtLinkAddress);
    ui->btnLinkAdd->setIcon(Art::panelIcon(Art::PanelButton::Add));
    ui->btnLinkRemove->setIcon(Art::panelIcon(Art::PanelButton::Remove));
    ui->btnLinkEdit->setIcon(Art::panelIcon(Art::PanelButton::ApplyEdit));
    // Tab stop of the two-column list, in dialog units.
    ui->lstLinks->setTabStopUnits(20);
    ui->lstLinks->setSelectionMode(QAbstractItemView::SingleSelection);
    ui->lstLinks->setDragDropMode(QAbstractItemView::NoDragDrop);
    ui->lstLinks->setAcceptDrops(true);
    ui->lstLinks->viewport()->setAcceptDrops(true);
    ui->lstLinks->viewport()->installEventFilter(this);

    attachWhatsThis({{ui->chkEmail, 27}, {ui->lblLink3, 28}, {ui->txtLinkText, 28}, {ui->lblLink2, 29},
                     {ui->txtLinkAddress, 29}, {ui->chkLink, 33}, {ui->lstLinks, 34}});

    connect(ui->chkLink, &QCheckBox::toggled, this, &TLinkPanel::updateDropBoxControls);
    connect(ui->btnLinkAdd, &QToolButton::clicked, this, &TLinkPanel::addEntry);
    connect(ui->btnLinkRemove, &QToolButton::clicked, this, &TLinkPanel::removeEntry);
    connect(ui->btnLinkEdit, &QToolButton::clicked, this, &TLinkPanel::applyEdit);
    connect(ui->lstLinks, &QListWidget::itemDoubleClicked, this, &TLinkPanel::editEntry);
    connect(ui->lstLinks, &QListWidget::itemSelectionChanged, this, &TLinkPanel::updateEntryButtons);
}

TLinkPanel::~TLinkPanel() = default;

QMimeData *TLinkPanel::linkDragData(const QWidget *list)
{
    return RowDrag::data(kLinkEntryMime, list);
}

void TLinkPanel::load(const TPagelette &, const TPageItem &item)
{
    const TLinkBlock &block = item.LinkBlock;
    ui->txtLinkAddress->setText(block.LinkURL);
    ui->txtLinkText->setText(block.LinkText);
    ui->chkLink->setChecked(block.UseDropBox);
    ui->chkEmail->setChecked(block.Email);
    entries().setText(block.DropBoxText);
    updateDropBoxControls();
}

void TLinkPanel::commit(TBlockEdit &edit)
{
    // In drop-box mode the single link is committed from whatever the boxes hold.
    TLinkBlock &block = edit.Item.LinkBlock;
    block.LinkURL = ui->txtLinkAddress->text();
    block.LinkText = ui->txtLinkText->text();
    block.UseDropBox = ui->chkLink->isChecked();
    block.Email = ui->chkEmail->isChecked();
    block.DropBoxText = entries().text();
}

TEntryList TLinkPanel::entries() const
{
    return TEntryList(ui->lstLinks);
}

void TLinkPanel::updateDropBoxControls()
{
    const bool dropBox = ui->chkLink->isChecked();
    const bool hasEntries = dropBox && entries().count() > 0;
    ui->btnLinkAdd->setEnabled(dropBox);
    ui->lstLinks->setEnabled(dropBox);
    ui->btnLinkRemove->setEnabled(hasEntries);
    ui->btnLinkEdit->setEnabled(hasEntries);
}

void TLinkPanel::updateEntryButtons()
{
    const bool selected = entries().selectedRow() >= 0;
    ui->btnLinkEdit->setEnabled(ui->chkLink->isChecked() && selected);
    ui->btnLinkRemove->setEnabled(ui->chkLink->isChecked() && selected);
}

TLinkEntry TLinkPanel::editedEntry() const
{
    return {ui->txtLinkAddress->text(), ui->txtLinkText->text(), ui->chkEmail->isChecked()};
}

void TLinkPanel::addEntry()
{
    const TLinkEntry entry = editedEntry();
    if (entry.address.isEmpty() || entry.text.isEmpty())
        return;
    entries().insertAfterSelected(entry.line());
    ui->txtLinkAddress->clear();
    ui->txtLinkText->clear();
    ui->chkLink->setChecked(true);
    ui->chkEmail->setChecked(false);
    ui->btnLinkRemove->setEnabled(true);
}

void TLinkPanel::removeEntry()
{
    TEntryList list = entries();
    list.removeSelectedOrLast();
    const bool remaining = list.count() > 0;
    ui->chkLink->setChecked(remaining);
    ui->btnLinkRemove->setEnabled(remaining);
    ui->btnLinkEdit->setEnabled(remaining && list.selectedRow() >= 0);
}

void TLinkPanel::editEntry()
{
    const TEntryList list = entries();
    const int row = list.selectedRow();
    if (row < 0)
        return;
    const TLinkEntry entry = TLinkEntry::fromLine(list.line(row));
    // A line without the e-mail prefix leaves the e-mail box as it is.
    if (entry.email)
        ui->chkEmail->setChecked(true);
    ui->txtLinkAddress->setText(entry.address);
    ui->txtLinkText->setText(entry.text);
}

void TLinkPanel::applyEdit()
{
    TEntryList list = entries();
    const int row = list.selectedRow();
    const TLinkEntry entry = editedEntry();
    if (row < 0 || !ui->chkLink->isChecked() || entry.address.isEmpty() || entry.text.isEmpty())
        return;
    list.replace(row, entry.line());
    ui->chkEmail->setChecked(false);
    ui->txtLinkAddress->clear();
    ui->txtLinkText->clear();
}

bool TLinkPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->lstLinks->viewport() && listEvent(event))
        return true;
    return TBlockPanel::eventFilter(watched, event);
}

bool TLinkPanel::listEvent(QEvent *event)
{
    TListBoxHrz *list = ui->lstLinks;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        switch (m_rowDrag.mouseEvent(list, event)) {
        case RowDrag::Tracker::Step::Pass:
            return false;
        case RowDrag::Tracker::Step::Start:
            RowDrag::exec(list, linkDragData(list), Art::newDragCursor().pixmap());
            break;
        case RowDrag::Tracker::Step::Used:
            break;
        }
        return true;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (RowDrag::isFrom(drag->mimeData(), kLinkEntryMime, list))
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!RowDrag::isFrom(drop->mimeData(), kLinkEntryMime, list)) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        // Below the last entry there is nothing to change places with.
        if (QListWidgetItem *target = list->itemAt(drop->position().toPoint()))
            entries().swap(entries().selectedRow(), list->row(target));
        return true;
    }
    default:
        return false;
    }
}
