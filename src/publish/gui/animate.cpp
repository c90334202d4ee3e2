#include "animate.h"

#include <QPainter>

TAnimate::TAnimate(QWidget *parent)
    : QWidget(parent)
{
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_frames.isEmpty())
            return;
        m_frame = (m_frame + 1) % int(m_frames.size());
        update();
    });
}

void TAnimate::setFrames(const QList<QPixmap> &frames, int intervalMs)
{
    m_frames = frames;
    m_timer.setInterval(intervalMs);
    m_frame = 0;
    updateGeometry();
    update();
}

void TAnimate::setActive(bool active)
{
    if (active)
        m_timer.start();
    else
        m_timer.stop();
}

void TAnimate::rewind()
{
    m_frame = 0;
    update();
}

QSize TAnimate::sizeHint() const
{
    return m_frames.isEmpty() ? QSize(260, 40) : m_frames.first().deviceIndependentSize().toSize();
}

void TAnimate::paintEvent(QPaintEvent *)
{
    if (m_frames.isEmpty())
        return;
    QPainter p(this);
    const QPixmap &pixmap = m_frames.at(m_frame);
    const QSize size = pixmap.deviceIndependentSize().toSize();
    p.drawPixmap((width() - size.width()) / 2, (height() - size.height()) / 2, pixmap);
}
