#include "panelicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <functional>
#include <numbers>

namespace {

constexpr int kSize = 16;

QIcon drawn(const std::function<void(QPainter &)> &draw)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();

    QIcon icon(pixmap);
    // A grey version for disabled buttons, so that their state is plain to see.
    QImage grey = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int g = 160 + qGray(line[x]) / 4;
            line[x] = qRgba(g, g, g, qAlpha(line[x]) / 2);
        }
    }
    icon.addPixmap(QPixmap::fromImage(grey), QIcon::Disabled);
    return icon;
}

QPen pen(const QColor &color, qreal width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

} // namespace

namespace PanelIcons {

QIcon add()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(QColor(0x2E, 0x7D, 0x32), 3));
        p.drawLine(QPointF(8, 3), QPointF(8, 13));
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
    });
}

QIcon remove()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(QColor(0xC6, 0x28, 0x28), 3));
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
    });
}

QIcon applyEdit()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(QColor(0x15, 0x65, 0xC0), 2.5));
        QPainterPath tick;
        tick.moveTo(3, 8.5);
        tick.lineTo(6.5, 12);
        tick.lineTo(13, 4);
        p.drawPath(tick);
    });
}

QIcon edit()
{
    return drawn([](QPainter &p) {
        QPainterPath pencil;
        pencil.moveTo(3, 13);
        pencil.lineTo(4, 10);
        pencil.lineTo(11, 3);
        pencil.lineTo(13, 5);
        pencil.lineTo(6, 12);
        pencil.closeSubpath();
        p.setPen(pen(QColor(0x5D, 0x40, 0x37), 1));
        p.setBrush(QColor(0xFF, 0xB3, 0x00));
        p.drawPath(pencil);
    });
}

QIcon favorites()
{
    return drawn([](QPainter &p) {
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
        p.setPen(pen(QColor(0xB2, 0x7D, 0x00), 1));
        p.setBrush(QColor(0xFF, 0xC1, 0x07));
        p.drawPath(star);
    });
}

QIcon bookmarks()
{
    return drawn([](QPainter &p) {
        QPainterPath ribbon;
        ribbon.moveTo(4, 1.5);
        ribbon.lineTo(12, 1.5);
        ribbon.lineTo(12, 14.5);
        ribbon.lineTo(8, 10.5);
        ribbon.lineTo(4, 14.5);
        ribbon.closeSubpath();
        p.setPen(pen(QColor(0x00, 0x4D, 0x40), 1));
        p.setBrush(QColor(0x26, 0xA6, 0x9A));
        p.drawPath(ribbon);
    });
}

QIcon importText()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(QColor(0x60, 0x60, 0x60), 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 1.5, 11, 13));
        p.setPen(pen(QColor(0x15, 0x65, 0xC0), 1));
        for (int y = 5; y <= 11; y += 3)
            p.drawLine(QPointF(5, y), QPointF(11, y));
    });
}

} // namespace PanelIcons
