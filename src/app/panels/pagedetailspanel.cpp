#include "pagedetailspanel.h"
#include "ui_pagedetailspanel.h"

#include "art/art.h"
#include "dialogs/miscdialog.h"
#include "document/blockedit.h"
#include "platform/gui/busycursor.h"

#include <QStyle>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

TPageDetailsPanel::TPageDetailsPanel(QWidget *parent)
    : TBlockPanel(parent), ui(std::make_unique<Ui::TPageDetailsPanel>())
{
    ui->setupUi(this);
    setUpHeading(ui->imgProp, ui->lblPage0, btPageProperties);
    ui->btnMetaAdd->setIcon(Art::panelIcon(Art::PanelButton::Add));
    ui->btnMetaRemove->setIcon(Art::panelIcon(Art::PanelButton::Remove));
    ui->btnMetaEdit->setIcon(Art::panelIcon(Art::PanelButton::Edit));
    // Tab stop of the two-column list, in dialog units.
    ui->lstMeta->setTabStopUnits(30);
    ui->lstMeta->setSelectionMode(QAbstractItemView::SingleSelection);
    alignMetaColumnCaptions();

    attachWhatsThis({{ui->lblPage2, 10}, {ui->txtPageTitle, 10}, {ui->chkLinkUnderline, 11}, {ui->lblPage3, 12},
                     {ui->lstMeta, 12}, {ui->lblPage4, 13}, {ui->lblPage5, 14}});

    connect(ui->btnTheme, &QPushButton::clicked, this, &TPageDetailsPanel::themeRequested);
    connect(ui->btnMetaAdd, &QToolButton::clicked, this, &TPageDetailsPanel::addMetaEntry);
    connect(ui->btnMetaRemove, &QToolButton::clicked, this, &TPageDetailsPanel::removeMetaEntry);
    connect(ui->btnMetaEdit, &QToolButton::clicked, this, &TPageDetailsPanel::editMetaEntry);
    connect(ui->lstMeta, &QListWidget::itemDoubleClicked, this, &TPageDetailsPanel::editMetaEntry);
    connect(ui->lstMeta, &QListWidget::itemSelectionChanged, this, &TPageDetailsPanel::updateMetaButtons);
    updateMetaButtons();
}

TPageDetailsPanel::~TPageDetailsPanel() = default;

void TPageDetailsPanel::load(const TPagelette &, const TPageItem &item)
{
    const TPagePropertiesBlock &block = item.PagePropertiesBlock;
    ui->txtPageTitle->setText(block.PageTitle);
    ui->chkLinkUnderline->setChecked(block.Underline);
    meta().setText(block.MetaText);
}

void TPageDetailsPanel::commit(TBlockEdit &edit)
{
    TPagePropertiesBlock &block = edit.Item.PagePropertiesBlock;
    block.PageTitle = ui->txtPageTitle->text();
    block.Underline = ui->chkLinkUnderline->isChecked();
    block.MetaText = meta().text();
}

TEntryList TPageDetailsPanel::meta() const
{
    return TEntryList(ui->lstMeta);
}

bool TPageDetailsPanel::showLogo() const
{
    return ui->chkShowLogo->isChecked();
}

void TPageDetailsPanel::alignMetaColumnCaptions()
{
    // "Name" and "Content" stand over the two columns of the meta tag list. Most of the names
    // the meta tag dialog offers are longer than one tab stop, so their content starts at the
    // stop after the longest of them.
    const TListBoxHrz *list = ui->lstMeta;
    const int tab = std::max(1, list->tabWidth());
    int longestName = 0;
    for (const QString &name : {u"Description"_s, u"Keywords"_s, u"Pics-Label"_s, u"Expires"_s, u"Reply-to"_s})
        longestName = std::max(longestName, list->fontMetrics().horizontalAdvance(name));
    const int contentColumn = (longestName / tab + 1) * tab;
    const int focusMargin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    const int textLeft = list->frameWidth() + focusMargin;
    ui->lblPage4->setContentsMargins(textLeft, 0, 0, 0);
    ui->lblPage4->setFixedWidth(textLeft + contentColumn);
}

void TPageDetailsPanel::updateMetaButtons()
{
    const bool selected = meta().selectedRow() >= 0;
    ui->btnMetaRemove->setEnabled(selected);
    ui->btnMetaEdit->setEnabled(selected);
}

void TPageDetailsPanel::addMetaEntry()
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
    meta().append(TEntry{dialog.metaName(), dialog.metaContent()}.line());
}

void TPageDetailsPanel::removeMetaEntry()
{
    meta().removeSelected();
    updateMetaButtons();
}

void TPageDetailsPanel::editMetaEntry()
{
    const int row = meta().selectedRow();
    if (row < 0)
        return;
    const TEntry entry = TEntry::split(meta().line(row));
    std::optional<BusyCursor> busy(std::in_place);
    TfrmMisc dialog(this);
    dialog.setDialogMode(TfrmMisc::MetaMode);
    dialog.setMetaName(entry.left);
    dialog.setMetaContent(entry.right);
    dialog.prepare();
    busy.reset();
    if (dialog.exec() != QDialog::Accepted)
        return;
    meta().replace(row, TEntry{dialog.metaName(), dialog.metaContent()}.line());
    updateMetaButtons();
}
