#include "bulletspanel.h"
#include "ui_bulletspanel.h"

#include "app/panels/panelcommands.h"
#include "document/blockedit.h"

TBulletsPanel::TBulletsPanel(QWidget *parent) : TBlockPanel(parent), ui(std::make_unique<Ui::TBulletsPanel>())
{
    ui->setupUi(this);
    setUpHeading(ui->imgBullet, ui->lblBullet0, btBullet);
    ui->cbBullets->setCurrentIndex(int(lsDisc));
    PanelCommands::setUpImportButton(this, ui->btnBulletImport, ui->txtBullets);
    attachWhatsThis({{ui->lblBullet2, 48}, {ui->cbBullets, 48}, {ui->lblBullet1, 49}});
    // F1 only: the memo keeps its own right-click menu.
    attachF1({{ui->txtBullets, 49}});
}

TBulletsPanel::~TBulletsPanel() = default;

void TBulletsPanel::load(const TPagelette &, const TPageItem &item)
{
    const TBulletBlock &block = item.BulletBlock;
    ui->txtBullets->setBlockText(block.Bullets);
    selectItem(ui->cbBullets, block.Style);
}

void TBulletsPanel::commit(TBlockEdit &edit)
{
    TBulletBlock &block = edit.Item.BulletBlock;
    block.Bullets = ui->txtBullets->blockText();
    // Nothing selected leaves the block's style as it is.
    if (ui->cbBullets->currentIndex() >= 0)
        block.Style = quint8(ui->cbBullets->currentIndex());
}
