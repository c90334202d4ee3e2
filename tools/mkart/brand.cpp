// The splash picture and the application icon.
#include "paint.h"
#include "pictures.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QRadialGradient>

using namespace Paint;
using namespace Qt::StringLiterals;

namespace {

const QColor kNight(0x0E, 0x36, 0x33); // splash background, bottom
const QColor kDusk(0x1E, 0x6A, 0x62);  // splash background, top
const QColor kMist(0xBF, 0xE6, 0xDE);  // light text on the dark background

QFont font(const QString &family, qreal pixels, int weight, qreal spacing = 0)
{
    QFont f(family);
    f.setPixelSize(qRound(pixels));
    f.setWeight(QFont::Weight(weight));
    f.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

void hills(QPainter &p, const QRectF &r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kTealLight);
    p.drawRect(r);
    p.setBrush(kAmber);
    p.drawEllipse(QPointF(r.right() - r.width() * 0.25, r.top() + r.height() * 0.3), r.height() * 0.14,
                  r.height() * 0.14);
    QPainterPath land;
    land.moveTo(r.bottomLeft());
    land.lineTo(r.left(), r.top() + r.height() * 0.75);
    land.cubicTo(r.left() + r.width() * 0.2, r.top() + r.height() * 0.35, r.left() + r.width() * 0.35,
                 r.top() + r.height() * 0.4, r.left() + r.width() * 0.55, r.top() + r.height() * 0.7);
    land.cubicTo(r.left() + r.width() * 0.7, r.top() + r.height() * 0.5, r.left() + r.width() * 0.85,
                 r.top() + r.height() * 0.55, r.right(), r.top() + r.height() * 0.75);
    land.lineTo(r.bottomRight());
    land.closeSubpath();
    p.setBrush(kGreen);
    p.drawPath(land);
}

// A block of the page as it is dragged in: a rounded tile with a "+".
void newBlock(QPainter &p, const QRectF &r, qreal line)
{
    const qreal radius = r.width() * 0.2;
    shape(p, rect(r, radius), kTeal, line);
    const qreal arm = r.width() * 0.28;
    const qreal bar = r.width() * 0.14;
    const QPointF c = r.center();
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawRect(QRectF(c.x() - bar / 2, c.y() - arm, bar, 2 * arm));
    p.drawRect(QRectF(c.x() - arm, c.y() - bar / 2, 2 * arm, bar));
}

// The page of the splash: built from blocks, with one slot still open and its block on the way.
void splashPage(QPainter &p)
{
    p.save();
    p.translate(298, 150);
    p.rotate(-4);
    const QRectF page(-68, -100, 136, 196);

    // Shadow, sheet, blocks.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRoundedRect(page.translated(5, 6), 3, 3);
    sheet(p, page, 20);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawRect(QRectF(-56, -80, 92, 14));
    p.setBrush(kPaper);
    p.drawRect(QRectF(-50, -76, 40, 6));
    hills(p, QRectF(-56, -56, 54, 44));
    for (int i = 0; i < 5; ++i)
        textLine(p, 6, i == 4 ? 38 : 56, -52 + 9 * i, 3);
    for (int i = 0; i < 3; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(kTeal);
        p.drawEllipse(QPointF(-51, 2 + 10 * i), 3, 3);
        textLine(p, -42, i == 1 ? 20 : 40, 2 + 10 * i, 3);
    }
    p.setPen(QPen(kTealDark, 2));
    p.drawLine(QPointF(-56, 38), QPointF(56, 38));

    // The open slot.
    QPen dashed(kTeal, 2, Qt::DashLine, Qt::FlatCap);
    dashed.setDashPattern({3, 2});
    p.setPen(dashed);
    p.setBrush(QColor(0xE8, 0xF6, 0xF2));
    p.drawRoundedRect(QRectF(-56, 50, 112, 32), 4, 4);
    p.restore();

    // The block coming in from the left, with its track.
    p.setPen(QPen(QColor(0xBF, 0xE6, 0xDE, 110), 3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        const qreal y = 196 + 10 * i;
        p.drawLine(QPointF(178 + 8 * i, y), QPointF(204 + 4 * i, y));
    }
    p.save();
    p.translate(232, 206);
    p.rotate(-12);
    newBlock(p, QRectF(-18, -18, 36, 36), 2);
    p.restore();
}

void splash(QPainter &p)
{
    QLinearGradient sky(0, 0, 0, 320);
    sky.setColorAt(0, kDusk);
    sky.setColorAt(1, kNight);
    p.fillRect(QRectF(0, 0, 400, 320), sky);
    QRadialGradient glow(QPointF(300, 140), 190);
    glow.setColorAt(0, QColor(0x7F, 0xD1, 0xC3, 70));
    glow.setColorAt(1, QColor(0x7F, 0xD1, 0xC3, 0));
    p.fillRect(QRectF(0, 0, 400, 320), glow);

    // Faint rings behind the page.
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 4; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 16), 1.5));
        p.drawEllipse(QPointF(300, 150), 60.0 + 34 * i, 60.0 + 34 * i);
    }

    splashPage(p);

    // The name.
    const QString family = u"DejaVu Sans"_s;
    p.setPen(kMist);
    p.setFont(font(family, 15, QFont::Bold, 4));
    p.drawText(QPointF(29, 62), u"MARLOWEN"_s);
    p.setPen(Qt::white);
    p.setFont(font(family, 28, QFont::Bold, 1));
    p.drawText(QPointF(27, 104), u"HTML"_s);
    p.setFont(font(family, 50, QFont::Bold));
    p.drawText(QPointF(25, 158), u"Brisko"_s);
    p.setPen(kAmber);
    p.setFont(font(family, 36, QFont::Bold));
    p.drawText(QPointF(27, 208), u"4.0"_s);
    p.setPen(QPen(kAmber, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(98, 195), QPointF(150, 195));

    p.setPen(kMist);
    p.setFont(font(u"DejaVu Sans"_s, 12, QFont::Normal));
    p.drawText(QPointF(28, 246), u"Build your web page"_s);
    p.drawText(QPointF(28, 263), u"piece by piece."_s);
}

// The application icon on a grid of 32: a teal tile holding a page built from blocks.
void appIcon(QPainter &p)
{
    QLinearGradient tile(0, 1, 0, 31);
    tile.setColorAt(0, kTeal);
    tile.setColorAt(1, kTealDark);
    shape(p, rect(QRectF(1.5, 1.5, 29, 29), 6), tile);
    sheet(p, QRectF(7.5, 5.5, 17, 21), 5);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawRect(QRectF(10, 10, 10, 3));
    p.setBrush(kAmber);
    p.drawRect(QRectF(10, 15, 5, 4));
    textLine(p, 16.5, 22, 15.5, 1);
    textLine(p, 16.5, 22, 18, 1);
    textLine(p, 10, 22, 21.5, 1);
    // The block on its way in.
    p.save();
    p.translate(22.5, 22.5);
    p.rotate(-10);
    newBlock(p, QRectF(-5.5, -5.5, 11, 11), 1);
    p.restore();
}

} // namespace

QList<Picture> brandPictures()
{
    QList<Picture> pictures;
    pictures.append({u"splash"_s, QSize(400, 320), splash});
    // The icon in the sizes desktops ask for, each drawn from the same grid of 32.
    for (const int size : {16, 24, 32, 48, 64, 128}) {
        const qreal scale = size / 32.0;
        Picture icon{u"app-icon-%1"_s.arg(size), QSize(size, size), [scale](QPainter &p) {
                         p.scale(scale, scale);
                         appIcon(p);
                     }};
        icon.scales = {1};
        pictures.append(icon);
    }
    return pictures;
}
