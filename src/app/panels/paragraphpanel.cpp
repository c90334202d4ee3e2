#include "paragraphpanel.h"
#include "ui_paragraphpanel.h"

#include "app/panels/panelcommands.h"
#include "document/blockedit.h"

TParagraphPanel::TParagraphPanel(QWidget *parent) : TBlockPanel(parent), ui(std::make_unique<Ui::TParagraphPanel>())
{
    ui->setupUi(this);
    setUpHeading(ui->imgText, ui->lblText0, btText);
    m_font = std::make_unique<TMemoFontButton>(ui->txtText, ui->btnTextFont);
    attachWhatsThis({{ui->lblText1, 35}, {ui->txtText, 35}});
    PanelCommands::setUpImportButton(this, ui->btnTextImport, ui->txtText);
}

TParagraphPanel::~TParagraphPanel() = default;

void TParagraphPanel::load(const TPagelette &, const TPageItem &item)
{
    const TTextBlock &block = item.TextBlock;
    ui->txtText->setBlockText(block.Text);
    m_font->load(block.Attributes, block.ApplyFont);
}

void TParagraphPanel::commit(TBlockEdit &edit)
{
    TTextBlock &block = edit.Item.TextBlock;
    block.Text = ui->txtText->blockText();
    m_font->commit(block.Attributes, block.ApplyFont);
}
