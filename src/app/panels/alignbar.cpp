#include "alignbar.h"
#include "ui_alignbar.h"

#include "document/pagemodel.h"
#include "platform/gui/help.h"

TAlignBar::TAlignBar(QWidget *parent) : QFrame(parent), ui(std::make_unique<Ui::TAlignBar>())
{
    ui->setupUi(this);
    Help::attachWhatsThis(ui->btnParagraph, 22);
    Help::attachWhatsThis(ui->btnLeft, 103);
    Help::attachWhatsThis(ui->btnCenter, 104);
    Help::attachWhatsThis(ui->btnRight, 105);
}

TAlignBar::~TAlignBar() = default;

bool TAlignBar::showsAlignment(const TPageItem &item)
{
    return item.BlockAlign == baLeft || item.BlockAlign == baCenter || item.BlockAlign == baRight;
}

void TAlignBar::load(const TPageItem &item)
{
    ui->btnParagraph->setChecked(item.BlockOnNewLine);
    switch (item.BlockAlign) {
    case baLeft:
        ui->btnLeft->setChecked(true);
        break;
    case baCenter:
        ui->btnCenter->setChecked(true);
        break;
    case baRight:
        ui->btnRight->setChecked(true);
        break;
    default:
        break;
    }
}

void TAlignBar::commit(TPageItem &item, bool withAlignment) const
{
    item.BlockOnNewLine = ui->btnParagraph->isChecked();
    if (withAlignment)
        item.BlockAlign = ui->btnLeft->isChecked() ? baLeft : ui->btnCenter->isChecked() ? baCenter : baRight;
}
