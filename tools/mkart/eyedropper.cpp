// The eyedropper cursor of the colour picker: a pipette lying on the diagonal, its tip at the
// bottom-left corner where the pointer acts.
#include "paint.h"
#include "pictures.h"

using namespace Qt::StringLiterals;
using namespace Paint;

namespace {

void cursorEyedropper(QPainter &p)
{
    // Drawn along the x axis from the tip at (1, 30), then turned up by 45 degrees.
    p.save();
    p.translate(1.5, 30.5);
    p.rotate(-45);
    const QPen dark(Qt::black, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    // The glass tube, narrowing to the tip, with a drop of colour inside.
    QPainterPath tube;
    tube.moveTo(0, 0);
    tube.lineTo(5, -1.8);
    tube.lineTo(22, -1.8);
    tube.lineTo(22, 1.8);
    tube.lineTo(5, 1.8);
    tube.closeSubpath();
    p.setPen(dark);
    p.setBrush(Qt::white);
    p.drawPath(tube);
    p.setPen(Qt::NoPen);
    p.setBrush(kCoral);
    p.drawRect(QRectF(5, -1, 9, 2));
    // The collar and the rubber bulb.
    p.setPen(dark);
    p.setBrush(kGreyLight);
    p.drawRect(QRectF(22, -3.5, 3, 7));
    p.setBrush(kTealDark);
    p.drawRoundedRect(QRectF(25, -3, 12, 6), 3, 3);
    p.restore();
}

} // namespace

Picture eyedropperPicture()
{
    Picture cursor{u"cursor-eyedropper"_s, QSize(32, 32), cursorEyedropper};
    cursor.scales = {1};
    cursor.hotSpot = QPoint(1, 30);
    return cursor;
}
