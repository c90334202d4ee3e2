#pragma once

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

// The colours and the few shapes every picture is made of. Pictures are drawn on a grid of
// their nominal size in pixels: a one-pixel outline runs along half-pixel coordinates so that
// it stays crisp at 1x and at 2x.
namespace Paint {

inline const QColor kInk(0x23, 0x41, 0x3F);        // outlines, text strokes
inline const QColor kPaper(0xFB, 0xFD, 0xF9);      // sheets, boxes
inline const QColor kPaperShade(0xDC, 0xE9, 0xE2); // folds, inner shadows
inline const QColor kTeal(0x2E, 0x9C, 0x8E);
inline const QColor kTealLight(0xA4, 0xDB, 0xD1);
inline const QColor kTealDark(0x1D, 0x6B, 0x63);
inline const QColor kGreen(0x6D, 0xBB, 0x6A);
inline const QColor kGreenLight(0xCB, 0xE9, 0xC1);
inline const QColor kGreenDark(0x3E, 0x88, 0x44);
inline const QColor kAmber(0xF2, 0xB5, 0x44);
inline const QColor kAmberDark(0xB9, 0x7F, 0x28);
inline const QColor kCoral(0xE0, 0x6C, 0x55);
inline const QColor kGrey(0x8E, 0xA3, 0x9E);
inline const QColor kGreyLight(0xC9, 0xD5, 0xD1);
inline const QColor kText(0x6E, 0x86, 0x81); // the grey lines that stand for text

inline QPen outline(qreal width = 1.0, const QColor &colour = kInk)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A filled shape with the ink outline.
inline void shape(QPainter &p, const QPainterPath &path, const QBrush &fill, qreal width = 1.0)
{
    p.setPen(outline(width));
    p.setBrush(fill);
    p.drawPath(path);
}

inline QPainterPath rect(const QRectF &r, qreal radius = 0)
{
    QPainterPath path;
    if (radius > 0)
        path.addRoundedRect(r, radius, radius);
    else
        path.addRect(r);
    return path;
}

inline QPainterPath ellipse(QPointF centre, qreal rx, qreal ry)
{
    QPainterPath path;
    path.addEllipse(centre, rx, ry);
    return path;
}

// A sheet of paper with its top-right corner folded over by fold pixels.
inline void sheet(QPainter &p, const QRectF &r, qreal fold, const QColor &fill = kPaper)
{
    QPainterPath page;
    page.moveTo(r.topLeft());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.bottomRight());
    page.lineTo(r.bottomLeft());
    page.closeSubpath();
    shape(p, page, fill);
    if (fold <= 0)
        return;
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    corner.closeSubpath();
    shape(p, corner, kPaperShade);
}

// A horizontal line of "text" from x1 to x2.
inline void textLine(QPainter &p, qreal x1, qreal x2, qreal y, qreal width = 1.0, const QColor &colour = kText)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(x1, y), QPointF(x2, y));
}

// A thick stroke with an ink rim: the ink drawn wider first, the colour on top.
inline void rimmedStroke(QPainter &p, const QPainterPath &path, const QColor &colour, qreal width, qreal rim = 1.0)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, width + 2 * rim, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

} // namespace Paint
