// The pictures of the upload wizard: the server icon of the profile list and the animation that
// plays while files go to the web server.
#include "paint.h"
#include "pictures.h"

#include <QtMath>

#include <cmath>

using namespace Qt::StringLiterals;
using namespace Paint;

namespace {

constexpr int kFrames = 16;
constexpr QSize kFrame(260, 40);

void rack(QPainter &p, qreal top)
{
    shape(p, rect(QRectF(4.5, top, 23, 8), 1.5), kGreyLight);
    textLine(p, 8, 17, top + 4, 1.5, kGrey);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(23, top + 4), 1.5, 1.5);
}

// A server of three units standing on a foot.
void server(QPainter &p)
{
    shape(p, rect(QRectF(12.5, 27.5, 7, 2.5)), kGrey);
    shape(p, rect(QRectF(8.5, 29.5, 15, 2)), kGrey);
    rack(p, 1.5);
    rack(p, 10.5);
    rack(p, 19.5);
}

// The globe of the animation, turned by phase (0 to 1 for a whole turn): its meridians move east
// and two continents travel with them, hidden on the far side.
void turningGlobe(QPainter &p, QPointF c, qreal r, qreal phase)
{
    QRadialGradient sea(c - QPointF(r / 3, r / 3), r * 1.5);
    sea.setColorAt(0, kTealLight.lighter(112));
    sea.setColorAt(1, kTeal);
    shape(p, ellipse(c, r, r), sea);
    p.save();
    p.setClipPath(ellipse(c, r - 0.5, r - 0.5));
    // Land: blobs at fixed longitudes, drawn where they face the viewer.
    const struct {
        qreal longitude, latitude, size;
    } land[] = {{0.0, -0.35, 0.42}, {0.15, 0.3, 0.3}, {0.55, -0.1, 0.5}, {0.7, 0.45, 0.25}};
    for (const auto &l : land) {
        const qreal angle = 2 * M_PI * (l.longitude + phase);
        const qreal depth = std::cos(angle);
        if (depth <= 0)
            continue;
        const qreal x = c.x() + r * std::sin(angle) * std::sqrt(1 - l.latitude * l.latitude);
        const qreal y = c.y() + r * l.latitude;
        p.setPen(QPen(kGreenDark, 0.8));
        p.setBrush(kGreen);
        p.drawEllipse(QPointF(x, y), r * l.size * depth, r * l.size * 0.7);
    }
    p.setPen(QPen(kTealDark, 0.8));
    p.setBrush(Qt::NoBrush);
    for (int m = 0; m < 4; ++m) {
        const qreal angle = 2 * M_PI * (m / 4.0 + phase / 1.0);
        const qreal w = r * std::sin(angle);
        if (std::cos(angle) > 0)
            p.drawEllipse(c, std::abs(w), r);
    }
    for (const qreal lat : {-0.55, 0.0, 0.55}) {
        const qreal dx = r * std::sqrt(1 - lat * lat);
        p.drawLine(QPointF(c.x() - dx, c.y() + r * lat), QPointF(c.x() + dx, c.y() + r * lat));
    }
    p.restore();
    p.setPen(outline());
    p.setBrush(Qt::NoBrush);
    p.drawPath(ellipse(c, r, r));
}

// The computer the pages leave from.
void computer(QPainter &p)
{
    shape(p, rect(QRectF(6.5, 5.5, 34, 23), 2), kGreyLight);
    QLinearGradient screen(0, 8, 0, 26);
    screen.setColorAt(0, kPaper);
    screen.setColorAt(1, kTealLight);
    shape(p, rect(QRectF(9.5, 8.5, 28, 17)), screen);
    textLine(p, 12, 30, 12.5, 1.5, kTeal);
    textLine(p, 12, 34, 16.5);
    textLine(p, 12, 27, 20.5);
    shape(p, rect(QRectF(19.5, 28.5, 8, 3)), kGrey);
    shape(p, rect(QRectF(12.5, 31.5, 22, 3), 1), kGrey);
}

// Frame n of the animation: the globe turns, and a page travels along an arc from the computer
// to the globe while the dots of the path light up behind it.
void animationFrame(QPainter &p, int n)
{
    const qreal t = qreal(n) / kFrames;
    computer(p);
    const QPointF from(44, 20), to(208, 20);
    for (int d = 0; d < 24; ++d) {
        const qreal s = (d + 0.5) / 24;
        const QPointF at(from.x() + (to.x() - from.x()) * s, 22 - 10 * std::sin(M_PI * s));
        p.setPen(Qt::NoPen);
        p.setBrush(s <= t ? kAmber : kGreyLight);
        p.drawEllipse(at, 1.3, 1.3);
    }
    turningGlobe(p, QPointF(230, 20), 17, t);
    const QPointF page(from.x() + (to.x() - from.x()) * t, 22 - 10 * std::sin(M_PI * t));
    p.save();
    p.translate(page);
    p.rotate(-12 + 24 * t);
    sheet(p, QRectF(-6.5, -8.5, 13, 16), 4);
    textLine(p, -4, 2, -3.5);
    textLine(p, -4, 4, -0.5);
    textLine(p, -4, 3, 2.5);
    p.restore();
}

} // namespace

QList<Picture> publishPictures()
{
    Picture strip{u"upload-animation"_s, QSize(kFrame.width() * kFrames, kFrame.height()), [](QPainter &p) {
                      for (int n = 0; n < kFrames; ++n) {
                          p.save();
                          p.translate(n * kFrame.width(), 0);
                          p.setClipRect(QRect(QPoint(0, 0), kFrame));
                          animationFrame(p, n);
                          p.restore();
                      }
                  }};
    strip.scales = {1};
    return {Picture{u"profile-server"_s, QSize(32, 32), server}, strip};
}
