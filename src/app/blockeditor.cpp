#include "blockeditor.h"
#include "ui_blockeditor.h"

#include "app/panels/panelcommands.h"
#include "document/blockedit.h"

#include <QLineEdit>

#include <algorithm>

TBlockEditor::TBlockEditor(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::TBlockEditor>())
{
    ui->setupUi(this);
    m_panels = {ui->pnlPageProp, ui->pnlHeading, ui->pnlImages, ui->pnlLinks,
                ui->pnlText,     ui->pnlBullets, ui->pnlHR,     ui->pnlForms};
    reserveDescriptionLines();
    connect(ui->pnlPageProp, &TPageDetailsPanel::themeRequested, this, &TBlockEditor::themeRequested);

    // At start the page details are in front, with the alignment bar behind them.
    ui->stkPanels->setCurrentWidget(ui->pnlPageProp);
    ui->pnlAlign->hide();
}

TBlockEditor::~TBlockEditor() = default;

void TBlockEditor::reserveDescriptionLines()
{
    // The panels' texts wrap at the narrowest the editor can be.
    const int narrowest = minimumSizeHint().width();
    for (TBlockPanel *panel : m_panels)
        panel->reserveDescriptionLines(narrowest);
}

void TBlockEditor::loadBlock(const TPagelette &doc, int index)
{
    // An index past the end loads nothing, as the block list expects after a deletion.
    if (const TPageItem *item = doc.Page.Items(index)) {
        ui->pnlAlign->load(*item);
        if (item->BlockType < kBlockTypeCount) {
            TBlockPanel *panel = m_panels[item->BlockType];
            panel->load(doc, *item);
            // setText leaves the caret at the end, which scrolls a long text out of view: show its start.
            for (QLineEdit *edit : findChildren<QLineEdit *>())
                edit->setCursorPosition(0);
            // A panel in front covers the bar.
            ui->stkPanels->setCurrentWidget(panel);
            ui->pnlAlign->hide();
        }
        if (TAlignBar::showsAlignment(*item))
            ui->pnlAlign->show();
    }
    m_currentBlock = index;
}

std::optional<TBlockEdit> TBlockEditor::editedBlock(const TPagelette &doc)
{
    const TPageItem *item = doc.Page.Items(m_currentBlock);
    if (!item)
        return std::nullopt;
    TBlockEdit edit = BlockEditOf(doc, m_currentBlock);
    // The page details block has no alignment of its own.
    ui->pnlAlign->commit(edit.Item, m_currentBlock != 0);
    if (item->BlockType < kBlockTypeCount)
        m_panels[item->BlockType]->commit(edit);
    return edit;
}

bool TBlockEditor::hasUncommittedEdits(const TPagelette &doc)
{
    const std::optional<TBlockEdit> edit = editedBlock(doc);
    return edit && *edit != BlockEditOf(doc, m_currentBlock);
}

QSize TBlockEditor::minimumSizeHint() const
{
    QSize hint = QWidget::minimumSizeHint();
    if (ui->pnlAlign->isHidden()) {
        const QSize bar = ui->pnlAlign->minimumSizeHint();
        const QMargins margins = layout()->contentsMargins();
        hint.setWidth(std::max(hint.width(), bar.width() + margins.left() + margins.right()));
        hint.rheight() += bar.height() + layout()->spacing();
    }
    return hint;
}

int TBlockEditor::currentBlockIndex() const
{
    return m_currentBlock;
}

void TBlockEditor::setCurrentBlockIndex(int index)
{
    m_currentBlock = index;
}

bool TBlockEditor::showLogo() const
{
    return ui->pnlPageProp->showLogo();
}

void TBlockEditor::hideAlignBar()
{
    ui->pnlAlign->hide();
}

bool TBlockEditor::alignBarVisible() const
{
    return !ui->pnlAlign->isHidden();
}

void TBlockEditor::storeLineReferenceWidth()
{
    ui->pnlHR->storeReferenceWidth();
}

void TBlockEditor::setProgramFolder(const QString &folder)
{
    ui->pnlImages->setProgramFolder(folder);
    ui->pnlForms->setProgramFolder(folder);
}

void TBlockEditor::setDocument(PageDocument *document)
{
    ui->pnlForms->setDocument(document);
}

TFontSpec TBlockEditor::memoFont(int tag) const
{
    return tag == HeadingFont ? ui->pnlHeading->fontButton().font() : ui->pnlText->fontButton().font();
}

void TBlockEditor::setChosenFont(int tag, const TFontSpec &font)
{
    if (tag == HeadingFont)
        ui->pnlHeading->fontButton().setChosenFont(font);
    else
        ui->pnlText->fontButton().setChosenFont(font);
}

int TBlockEditor::linePreviewWidth(int referenceWidth, int percent)
{
    return TLinePanel::linePreviewWidth(referenceWidth, percent);
}

QMimeData *TBlockEditor::linkDragData(const QWidget *list)
{
    return TLinkPanel::linkDragData(list);
}

QString TBlockEditor::favoritesFolder()
{
    return PanelCommands::favoritesFolder();
}
