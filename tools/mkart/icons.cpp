// The small pictures: block types, buttons, bins, document icons, form field kinds and the
// drag cursor.
#include "paint.h"
#include "pictures.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QTransform>

#include <cmath>
#include <numbers>

using namespace Paint;
using namespace Qt::StringLiterals;

namespace {

// A cog wheel: teeth alternate between the outer and the inner radius; a hole in the middle.
QPainterPath cog(QPointF centre, qreal outer, qreal inner, int teeth, qreal hole)
{
    QPainterPath path;
    const int steps = teeth * 4;
    for (int i = 0; i < steps; ++i) {
        const qreal angle = 2 * std::numbers::pi * (i + 0.5) / steps;
        const qreal radius = (i % 4 < 2) ? outer : inner;
        const QPointF point = centre + QPointF(std::cos(angle), std::sin(angle)) * radius;
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    path.addEllipse(centre, hole, hole);
    return path;
}

// A rounded rectangle of w x h centred on centre, turned by degrees.
QPainterPath turnedRect(QPointF centre, qreal w, qreal h, qreal radius, qreal degrees)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(-w / 2, -h / 2, w, h), radius, radius);
    QTransform turn;
    turn.translate(centre.x(), centre.y());
    turn.rotate(degrees);
    return turn.map(path);
}

// A small landscape: sky, sun and two hills inside r.
void landscape(QPainter &p, const QRectF &r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kTealLight);
    p.drawRect(r);
    p.setBrush(kAmber);
    const qreal sun = r.height() * 0.16;
    p.drawEllipse(QPointF(r.right() - r.width() * 0.27, r.top() + r.height() * 0.3), sun, sun);
    QPainterPath hills;
    hills.moveTo(r.left(), r.bottom());
    hills.lineTo(r.left(), r.top() + r.height() * 0.8);
    hills.lineTo(r.left() + r.width() * 0.33, r.top() + r.height() * 0.38);
    hills.lineTo(r.left() + r.width() * 0.58, r.top() + r.height() * 0.72);
    hills.lineTo(r.left() + r.width() * 0.75, r.top() + r.height() * 0.55);
    hills.lineTo(r.right(), r.top() + r.height() * 0.85);
    hills.lineTo(r.right(), r.bottom());
    hills.closeSubpath();
    p.setBrush(kGreen);
    p.drawPath(hills);
}

// ---- block types (16 x 16) ------------------------------------------------------------

void blockPage(QPainter &p)
{
    sheet(p, QRectF(1.5, 0.5, 11, 15), 4);
    textLine(p, 3.5, 7.5, 3.5, 1.0, kTeal);
    textLine(p, 3.5, 9.5, 6.5);
    textLine(p, 3.5, 7.5, 9.5);
    textLine(p, 3.5, 6.5, 12.5);
    shape(p, cog(QPointF(11.5, 11.5), 4.3, 3.0, 7, 1.2), kAmber);
}

void blockHeading(QPainter &p)
{
    shape(p, rect(QRectF(0.5, 0.5, 15, 15), 3), kTeal);
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4, 4, 2.5, 8));
    p.drawRect(QRectF(9.5, 4, 2.5, 8));
    p.drawRect(QRectF(6.5, 7, 3, 2));
}

void blockImage(QPainter &p)
{
    shape(p, rect(QRectF(0.5, 1.5, 15, 13), 1), kPaper);
    landscape(p, QRectF(2, 3, 12, 10));
    p.setPen(outline(1.0, kTealDark));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2, 3, 12, 10).adjusted(-0.5, -0.5, 0.5, 0.5));
}

void chainLink(QPainter &p, QPointF centre, const QColor &colour)
{
    const QPainterPath link = turnedRect(centre, 9.5, 5, 2.5, -45);
    rimmedStroke(p, link, colour, 1.8, 0.75);
}

void blockLink(QPainter &p)
{
    chainLink(p, QPointF(5.4, 10.6), kTeal);
    chainLink(p, QPointF(10.6, 5.4), kGreen);
    // The first link passes over the second at its lower crossing: redraw that stretch.
    p.save();
    p.setClipRect(QRectF(6.5, 7, 3.5, 3));
    chainLink(p, QPointF(5.4, 10.6), kTeal);
    p.restore();
}

void blockText(QPainter &p)
{
    sheet(p, QRectF(1.5, 0.5, 13, 15), 0);
    textLine(p, 5.5, 12.5, 3.5);
    textLine(p, 3.5, 12.5, 5.5);
    textLine(p, 3.5, 12.5, 7.5);
    textLine(p, 3.5, 9.5, 9.5);
    textLine(p, 5.5, 12.5, 12.5);
}

void blockBullets(QPainter &p)
{
    for (const qreal y : {3.0, 8.0, 13.0}) {
        shape(p, ellipse(QPointF(3, y), 2, 2), kGreen, 0.8);
        textLine(p, 7, 15, y, 2, kInk);
    }
}

void blockLine(QPainter &p)
{
    textLine(p, 1, 11, 2.5);
    QLinearGradient bar(0, 6.5, 0, 9.5);
    bar.setColorAt(0, kTealLight);
    bar.setColorAt(1, kTeal);
    shape(p, rect(QRectF(0.5, 6.5, 15, 3), 1), bar);
    textLine(p, 1, 14, 13.5);
}

void blockForms(QPainter &p)
{
    shape(p, rect(QRectF(0.5, 3.5, 15, 10), 1), kPaper);
    QPainterPath flap;
    flap.moveTo(0.5, 3.5);
    flap.lineTo(8, 9);
    flap.lineTo(15.5, 3.5);
    flap.closeSubpath();
    shape(p, flap, kTealLight);
    p.setPen(outline(1.0, kGrey));
    p.drawLine(QPointF(1, 13), QPointF(5.5, 8.5));
    p.drawLine(QPointF(15, 13), QPointF(10.5, 8.5));
}

// ---- the four large buttons (32 x 32) -------------------------------------------------

void pageWithText(QPainter &p)
{
    sheet(p, QRectF(4.5, 1.5, 19, 27), 6);
    textLine(p, 8, 15, 6.5, 2, kTeal);
    for (int i = 0; i < 6; ++i)
        textLine(p, 8, i == 5 ? 15 : 20, 11.5 + 3 * i, 1.2);
}

void buttonCreate(QPainter &p)
{
    pageWithText(p);
    // A pencil from its tip at the lower left up to the upper right.
    p.save();
    p.translate(13, 28);
    p.rotate(-45);
    const qreal w = 6; // thickness
    shape(p, rect(QRectF(7, -w / 2, 15, w)), kAmber);
    p.setPen(outline(0.8, kAmberDark));
    p.drawLine(QPointF(7.5, 0), QPointF(21.5, 0));
    shape(p, rect(QRectF(22, -w / 2, 4, w), 1.5), kCoral);
    QPainterPath wood;
    wood.moveTo(0, 0);
    wood.lineTo(7, -w / 2);
    wood.lineTo(7, w / 2);
    wood.closeSubpath();
    shape(p, wood, QColor(0xF3, 0xDC, 0xB0));
    QPainterPath lead;
    lead.moveTo(0, 0);
    lead.lineTo(2.6, -1.1);
    lead.lineTo(2.6, 1.1);
    lead.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPath(lead);
    p.restore();
}

void buttonPreview(QPainter &p)
{
    pageWithText(p);
    const QPointF centre(17.5, 17.5);
    QPainterPath handle;
    handle.moveTo(centre + QPointF(6, 6));
    handle.lineTo(28.5, 28.5);
    rimmedStroke(p, handle, kAmber, 3.2);
    QColor glass = kTealLight;
    glass.setAlpha(170);
    p.setPen(Qt::NoPen);
    p.setBrush(glass);
    p.drawEllipse(centre, 6.5, 6.5);
    p.setPen(QPen(kPaper, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(centre - QPointF(4, 4), QSizeF(8, 8)), 100 * 16, 70 * 16);
    QPainterPath ring = ellipse(centre, 7, 7);
    rimmedStroke(p, ring, kTeal, 1.8, 0.7);
}

void buttonSave(QPainter &p)
{
    QPainterPath body;
    body.moveTo(4.5, 3.5);
    body.lineTo(24.5, 3.5);
    body.lineTo(28.5, 7.5);
    body.lineTo(28.5, 28.5);
    body.lineTo(4.5, 28.5);
    body.closeSubpath();
    shape(p, body, kTeal);
    // The metal shutter with its slot.
    shape(p, rect(QRectF(9.5, 3.5, 13, 9)), kGreyLight);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRect(QRectF(17, 5.5, 3, 5));
    // The label.
    shape(p, rect(QRectF(7.5, 16.5, 18, 12), 1), kPaper);
    textLine(p, 10, 23, 20.5, 1.2);
    textLine(p, 10, 19, 24.5, 1.2);
}

void globe(QPainter &p, QPointF c, qreal r, qreal line)
{
    QRadialGradient sea(c - QPointF(r / 3, r / 3), r * 1.4);
    sea.setColorAt(0, kTealLight.lighter(112));
    sea.setColorAt(1, kTeal);
    shape(p, ellipse(c, r, r), sea, line);
    // Meridians and parallels.
    p.save();
    p.setClipPath(ellipse(c, r, r));
    p.setPen(QPen(kTealDark, line * 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r * 0.45, r);
    p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    const qreal dy = r * 0.55;
    const qreal dx = std::sqrt(r * r - dy * dy);
    p.drawLine(QPointF(c.x() - dx, c.y() - dy), QPointF(c.x() + dx, c.y() - dy));
    p.drawLine(QPointF(c.x() - dx, c.y() + dy), QPointF(c.x() + dx, c.y() + dy));
    p.restore();
    p.setPen(outline(line));
    p.setBrush(Qt::NoBrush);
    p.drawPath(ellipse(c, r, r));
}

// A fat arrow from its tail at the origin along the positive x axis.
QPainterPath arrow(qreal length, qreal shaft, qreal head, qreal headLength)
{
    QPainterPath path;
    path.moveTo(0, -shaft / 2);
    path.lineTo(length - headLength, -shaft / 2);
    path.lineTo(length - headLength, -head / 2);
    path.lineTo(length, 0);
    path.lineTo(length - headLength, head / 2);
    path.lineTo(length - headLength, shaft / 2);
    path.lineTo(0, shaft / 2);
    path.closeSubpath();
    return path;
}

void buttonUpload(QPainter &p)
{
    globe(p, QPointF(13.5, 18.5), 11, 1.0);
    p.save();
    p.translate(14, 17);
    p.rotate(-45);
    shape(p, arrow(18, 5, 11, 7), kAmber);
    p.restore();
}

// ---- small buttons (16 x 16) ----------------------------------------------------------

void buttonHelp(QPainter &p)
{
    shape(p, ellipse(QPointF(8, 8), 7.5, 7.5), kTeal);
    QPainterPath hook;
    hook.moveTo(5.5, 6.2);
    hook.cubicTo(5.5, 3.6, 10.5, 3.6, 10.5, 6.2);
    hook.cubicTo(10.5, 7.8, 8, 7.8, 8, 9.8);
    p.setPen(QPen(kPaper, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(8, 12.3), 1.2, 1.2);
}

void serverUnit(QPainter &p, qreal top)
{
    shape(p, rect(QRectF(0.5, top, 11, 5), 1), kGreyLight);
    textLine(p, 2.5, 6.5, top + 2.5, 1, kGrey);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(9, top + 2.5), 1, 1);
}

void buttonHosting(QPainter &p)
{
    serverUnit(p, 1.5);
    serverUnit(p, 7.5);
    globe(p, QPointF(11.5, 11.5), 4, 1.0);
}

void buttonBrowse(QPainter &p)
{
    QPainterPath back;
    back.moveTo(0.5, 13.5);
    back.lineTo(0.5, 2.5);
    back.lineTo(5.5, 2.5);
    back.lineTo(7, 4.5);
    back.lineTo(13.5, 4.5);
    back.lineTo(13.5, 13.5);
    back.closeSubpath();
    shape(p, back, kAmberDark);
    QPainterPath front;
    front.moveTo(0.5, 13.5);
    front.lineTo(3, 7.5);
    front.lineTo(15.5, 7.5);
    front.lineTo(13.5, 13.5);
    front.closeSubpath();
    shape(p, front, kAmber);
}

void buttonDelete(QPainter &p)
{
    QPainterPath cross;
    cross.moveTo(3.5, 3.5);
    cross.lineTo(12.5, 12.5);
    cross.moveTo(12.5, 3.5);
    cross.lineTo(3.5, 12.5);
    rimmedStroke(p, cross, kCoral, 2.6);
}

// ---- bins (32 x 32) -------------------------------------------------------------------

QPainterPath binBody()
{
    QPainterPath body;
    body.moveTo(5, 10);
    body.lineTo(8.5, 29.5);
    body.lineTo(23.5, 29.5);
    body.lineTo(27, 10);
    body.closeSubpath();
    return body;
}

void binBase(QPainter &p)
{
    QLinearGradient metal(5, 0, 27, 0);
    metal.setColorAt(0, kTealLight);
    metal.setColorAt(0.45, kPaper);
    metal.setColorAt(1, kTeal);
    shape(p, binBody(), metal);
    p.setPen(QPen(kTealDark, 1));
    for (const qreal x : {11.0, 16.0, 21.0}) {
        const qreal spread = (x - 16) * 0.18;
        p.drawLine(QPointF(x, 14), QPointF(x - spread, 26.5));
    }
}

void binRim(QPainter &p, bool inside)
{
    shape(p, ellipse(QPointF(16, 10), 11, 3.5), inside ? kTealDark : kTealLight);
}

void trashEmpty(QPainter &p)
{
    binBase(p);
    binRim(p, true);
}

void crumple(QPainter &p, QPointF c, qreal r)
{
    shape(p, ellipse(c, r, r * 0.9), kPaper);
    p.setPen(QPen(kGrey, 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath creases;
    creases.moveTo(c + QPointF(-r * 0.6, -r * 0.1));
    creases.lineTo(c + QPointF(-r * 0.1, r * 0.3));
    creases.lineTo(c + QPointF(r * 0.2, -r * 0.4));
    creases.moveTo(c + QPointF(r * 0.1, r * 0.55));
    creases.lineTo(c + QPointF(r * 0.55, r * 0.1));
    p.drawPath(creases);
}

void trashFull(QPainter &p)
{
    binBase(p);
    binRim(p, true);
    // A sheet standing up behind two balls of crumpled paper.
    p.save();
    p.translate(20, 6.5);
    p.rotate(16);
    sheet(p, QRectF(-5, -6, 10, 12), 3);
    textLine(p, -3, 1, -3, 1);
    textLine(p, -3, 3, -0.5, 1);
    p.restore();
    crumple(p, QPointF(11, 8), 5);
    crumple(p, QPointF(19.5, 10), 4.2);
    // The front edge of the rim over the paper.
    p.setPen(outline(1.0));
    p.setBrush(kTealLight);
    QPainterPath front;
    front.moveTo(5, 10);
    front.arcTo(QRectF(5, 6.5, 22, 7), 180, 180);
    front.lineTo(27, 11);
    front.arcTo(QRectF(5, 7.5, 22, 7), 0, -180);
    front.closeSubpath();
    p.drawPath(front);
}

// ---- templates dialog documents (32 x 32) ---------------------------------------------

void documentTemplate(QPainter &p)
{
    sheet(p, QRectF(4.5, 0.5, 23, 31), 7, QColor(0xE8, 0xF6, 0xF2));
    QPen dashed(kTeal, 1, Qt::DashLine, Qt::FlatCap);
    dashed.setDashPattern({2, 1.5});
    p.setPen(dashed);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(7.5, 9.5, 13, 4));
    p.drawRect(QRectF(7.5, 16.5, 8, 7));
    p.drawRect(QRectF(7.5, 26.5, 17, 2));
    textLine(p, 18, 25, 17.5, 1, kTealLight);
    textLine(p, 18, 25, 20, 1, kTealLight);
    textLine(p, 18, 23, 22.5, 1, kTealLight);
    // A T on the folded corner's side marks the template.
    p.setPen(Qt::NoPen);
    p.setBrush(kTealDark);
    p.drawRect(QRectF(7.5, 3, 7, 2));
    p.drawRect(QRectF(10, 3, 2, 5));
}

void documentProject(QPainter &p)
{
    sheet(p, QRectF(4.5, 0.5, 23, 31), 7);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawRect(QRectF(7, 9, 14, 4));
    landscape(p, QRectF(7, 16, 9, 8));
    textLine(p, 18, 25, 17.5, 1);
    textLine(p, 18, 25, 20, 1);
    textLine(p, 18, 23, 22.5, 1);
    textLine(p, 7, 25, 26.5, 1);
    textLine(p, 7, 20, 29, 1);
    p.setBrush(kGreenDark);
    p.drawRect(QRectF(7.5, 3, 7, 2));
}

// ---- form field kinds (16 x 16) -------------------------------------------------------

void entryBox(QPainter &p, const QRectF &r)
{
    shape(p, rect(r), kPaper);
    p.setPen(QPen(kPaperShade, 1));
    p.drawLine(QPointF(r.left() + 1, r.top() + 1), QPointF(r.right() - 1, r.top() + 1));
}

void fieldTextBox(QPainter &p)
{
    entryBox(p, QRectF(0.5, 3.5, 15, 9));
    textLine(p, 3, 8, 8, 2);
    p.setPen(QPen(kTeal, 1.2));
    p.drawLine(QPointF(10, 5.5), QPointF(10, 10.5));
}

void fieldTextArea(QPainter &p)
{
    entryBox(p, QRectF(0.5, 1.5, 15, 13));
    for (int i = 0; i < 3; ++i)
        textLine(p, 2.5, i == 2 ? 7 : 10, 4.5 + 3 * i, 1);
    p.setPen(outline(1.0));
    p.setBrush(kTealLight);
    p.drawRect(QRectF(12, 1.5, 3.5, 13));
    p.setBrush(kTeal);
    p.drawRect(QRectF(12, 4, 3.5, 5));
}

void fieldRadio(QPainter &p)
{
    shape(p, ellipse(QPointF(8, 8), 6.5, 6.5), kPaper);
    p.setPen(Qt::NoPen);
    p.setBrush(kTeal);
    p.drawEllipse(QPointF(8, 8), 3.2, 3.2);
}

void fieldCheckBox(QPainter &p)
{
    shape(p, rect(QRectF(1.5, 1.5, 13, 13), 1.5), kPaper);
    QPainterPath tick;
    tick.moveTo(4.5, 8);
    tick.lineTo(7, 10.8);
    tick.lineTo(12, 4.8);
    p.setPen(QPen(kGreenDark, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
}

void fieldDropDown(QPainter &p)
{
    entryBox(p, QRectF(0.5, 3.5, 15, 9));
    textLine(p, 2.5, 7, 8, 2);
    shape(p, rect(QRectF(9.5, 3.5, 6, 9)), kTealLight);
    QPainterPath down;
    down.moveTo(10.5, 6.5);
    down.lineTo(14.5, 6.5);
    down.lineTo(12.5, 9.5);
    down.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPath(down);
}

void fieldButton(QPainter &p)
{
    QLinearGradient face(0, 3, 0, 13);
    face.setColorAt(0, kPaper);
    face.setColorAt(1, kTealLight);
    shape(p, rect(QRectF(0.5, 3.5, 15, 9), 2.5), face);
    textLine(p, 5, 11, 8, 2, kTealDark);
}

// ---- drag cursor (32 x 32) ------------------------------------------------------------

void cursorNewDrag(QPainter &p)
{
    QPainterPath pointer;
    pointer.moveTo(0.5, 0.5);
    pointer.lineTo(0.5, 17);
    pointer.lineTo(4.5, 13.2);
    pointer.lineTo(7, 19);
    pointer.lineTo(9.7, 17.9);
    pointer.lineTo(7.3, 12.3);
    pointer.lineTo(12.7, 12.3);
    pointer.closeSubpath();
    p.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::white);
    p.drawPath(pointer);
    // The new block on its way into the list.
    shape(p, rect(QRectF(12.5, 15.5, 13, 13), 2.5), kTeal);
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawRect(QRectF(18, 18, 2, 8));
    p.drawRect(QRectF(15, 21, 8, 2));
}

} // namespace

QList<Picture> iconPictures()
{
    const QSize small(16, 16);
    const QSize large(32, 32);
    QList<Picture> pictures = {
        {u"block-page"_s, small, blockPage},
        {u"block-heading"_s, small, blockHeading},
        {u"block-image"_s, small, blockImage},
        {u"block-link"_s, small, blockLink},
        {u"block-text"_s, small, blockText},
        {u"block-bullets"_s, small, blockBullets},
        {u"block-line"_s, small, blockLine},
        {u"block-forms"_s, small, blockForms},
        {u"button-create"_s, large, buttonCreate},
        {u"button-preview"_s, large, buttonPreview},
        {u"button-save"_s, large, buttonSave},
        {u"button-upload"_s, large, buttonUpload},
        {u"button-help"_s, small, buttonHelp},
        {u"button-hosting"_s, small, buttonHosting},
        {u"button-browse"_s, small, buttonBrowse},
        {u"button-delete"_s, small, buttonDelete},
        {u"trash-empty"_s, large, trashEmpty},
        {u"trash-full"_s, large, trashFull},
        {u"document-template"_s, large, documentTemplate},
        {u"document-project"_s, large, documentProject},
        {u"field-textbox"_s, small, fieldTextBox},
        {u"field-textarea"_s, small, fieldTextArea},
        {u"field-radio"_s, small, fieldRadio},
        {u"field-checkbox"_s, small, fieldCheckBox},
        {u"field-dropdown"_s, small, fieldDropDown},
        {u"field-button"_s, small, fieldButton},
    };
    Picture cursor{u"cursor-newdrag"_s, large, cursorNewDrag};
    cursor.scales = {1};
    cursor.hotSpot = QPoint(0, 0);
    pictures.append(cursor);
    return pictures;
}
