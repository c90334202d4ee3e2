// The small pictures of the editor panels' list and import buttons, 16 x 16.
#include "paint.h"
#include "pictures.h"

#include <QPainterPath>

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;
using namespace Paint;

namespace {

void addPicture(QPainter &p)
{
    p.setPen(outline(3, QColor(0x2E, 0x7D, 0x32)));
    p.drawLine(QPointF(8, 3), QPointF(8, 13));
    p.drawLine(QPointF(3, 8), QPointF(13, 8));
}

void removePicture(QPainter &p)
{
    p.setPen(outline(3, QColor(0xC6, 0x28, 0x28)));
    p.drawLine(QPointF(3, 8), QPointF(13, 8));
}

void applyEditPicture(QPainter &p)
{
    p.setPen(outline(2.5, QColor(0x15, 0x65, 0xC0)));
    QPainterPath tick;
    tick.moveTo(3, 8.5);
    tick.lineTo(6.5, 12);
    tick.lineTo(13, 4);
    p.drawPath(tick);
}

void editPicture(QPainter &p)
{
    QPainterPath pencil;
    pencil.moveTo(3, 13);
    pencil.lineTo(4, 10);
    pencil.lineTo(11, 3);
    pencil.lineTo(13, 5);
    pencil.lineTo(6, 12);
    pencil.closeSubpath();
    p.setPen(outline(1, QColor(0x5D, 0x40, 0x37)));
    p.setBrush(QColor(0xFF, 0xB3, 0x00));
    p.drawPath(pencil);
}

void favoritesPicture(QPainter &p)
{
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 == 0 ? 7.0 : 3.0;
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const QPointF point(8 + radius * std::cos(angle), 8.5 + radius * std::sin(angle));
        if (i == 0)
            star.moveTo(point);
        else
            star.lineTo(point);
    }
    star.closeSubpath();
    p.setPen(outline(1, QColor(0xB2, 0x7D, 0x00)));
    p.setBrush(QColor(0xFF, 0xC1, 0x07));
    p.drawPath(star);
}

void bookmarksPicture(QPainter &p)
{
    QPainterPath ribbon;
    ribbon.moveTo(4, 1.5);
    ribbon.lineTo(12, 1.5);
    ribbon.lineTo(12, 14.5);
    ribbon.lineTo(8, 10.5);
    ribbon.lineTo(4, 14.5);
    ribbon.closeSubpath();
    p.setPen(outline(1, QColor(0x00, 0x4D, 0x40)));
    p.setBrush(QColor(0x26, 0xA6, 0x9A));
    p.drawPath(ribbon);
}

void importTextPicture(QPainter &p)
{
    p.setPen(outline(1, QColor(0x60, 0x60, 0x60)));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 1.5, 11, 13));
    p.setPen(outline(1, QColor(0x15, 0x65, 0xC0)));
    for (int y = 5; y <= 11; y += 3)
        p.drawLine(QPointF(5, y), QPointF(11, y));
}

} // namespace

QList<Picture> panelPictures()
{
    const QSize size(16, 16);
    return {
        {u"panel-add"_s, size, addPicture},
        {u"panel-remove"_s, size, removePicture},
        {u"panel-apply"_s, size, applyEditPicture},
        {u"panel-edit"_s, size, editPicture},
        {u"panel-favorites"_s, size, favoritesPicture},
        {u"panel-bookmarks"_s, size, bookmarksPicture},
        {u"panel-import"_s, size, importTextPicture},
    };
}
