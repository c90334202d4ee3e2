#include "headingpanel.h"
#include "ui_headingpanel.h"

#include "document/blockedit.h"

THeadingPanel::THeadingPanel(QWidget *parent) : TBlockPanel(parent), ui(std::make_unique<Ui::THeadingPanel>())
{
    ui->setupUi(this);
    setUpHeading(ui->imgHeading, ui->lblHeading0, btHeading);
    m_font = std::make_unique<TMemoFontButton>(ui->txtHeading, ui->btnHeadingFont);
    attachWhatsThis({{ui->lblHeading2, 26}, {ui->txtHeading, 26}});
}

THeadingPanel::~THeadingPanel() = default;

void THeadingPanel::load(const TPagelette &, const TPageItem &item)
{
    const THeadingBlock &block = item.HeadingBlock;
    ui->txtHeading->setBlockText(block.Heading);
    m_font->load(block.Attributes, block.ApplyFont);
}

void THeadingPanel::commit(TBlockEdit &edit)
{
    THeadingBlock &block = edit.Item.HeadingBlock;
    block.Heading = ui->txtHeading->blockText();
    m_font->commit(block.Attributes, block.ApplyFont);
}
