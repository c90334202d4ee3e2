#pragma once

#include <QList>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

// A picture sequence that plays by itself while active, one frame after another in a loop.
class TAnimate : public QWidget
{
    Q_OBJECT

public:
    explicit TAnimate(QWidget *parent = nullptr);

    void setFrames(const QList<QPixmap> &frames, int intervalMs);
    bool isActive() const { return m_timer.isActive(); }
    void setActive(bool active);
    // Back to the first frame.
    void rewind();
    int frame() const { return m_frame; }
    int frameCount() const { return int(m_frames.size()); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<QPixmap> m_frames;
    QTimer m_timer;
    int m_frame = 0;
};
