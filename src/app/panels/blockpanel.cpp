#include "blockpanel.h"

#include "art/art.h"
#include "platform/gui/help.h"

#include <QComboBox>
#include <QLabel>
#include <QLayout>

void TBlockPanel::reserveDescriptionLines(int width)
{
    const QMargins margins = layout()->contentsMargins();
    for (QLabel *label : findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        if (!label->wordWrap())
            continue;
        label->setMinimumHeight(label->heightForWidth(width - margins.left() - margins.right()));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
}

void TBlockPanel::setUpHeading(QLabel *icon, QLabel *caption, int blockType)
{
    icon->setPixmap(Art::blockIcon(blockType));
    QFont font = caption->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.25);
    caption->setFont(font);
}

void TBlockPanel::selectItem(QComboBox *combo, int index)
{
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

void TBlockPanel::attachWhatsThis(std::initializer_list<HelpTopic> topics)
{
    for (const HelpTopic &entry : topics)
        Help::attachWhatsThis(entry.control, entry.topic);
}

void TBlockPanel::attachF1(std::initializer_list<HelpTopic> topics)
{
    for (const HelpTopic &entry : topics)
        Help::attachF1(entry.control, entry.topic);
}
