#include "splash.h"

#include "art/art.h"
#include "platform/gui/shell.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QSize kSplashSize(400, 320);
const QString kMakerAddress = u"http://www.marlowen.example/"_s;

// The picture keeps its colours while disabled: at start-up it is disabled only so that
// clicks on it do nothing.
class TSplashPicture : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.drawPixmap(rect(), pixmap());
    }
};

} // namespace

TSplashScreen::TSplashScreen(Mode mode, QWidget *parent, int startUpMilliseconds)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_mode(mode)
{
    setFixedSize(kSplashSize);
    setWindowTitle(u"Marlowen HTML Brisko 4.0"_s);

    m_picture = new TSplashPicture(this);
    m_picture->setObjectName(u"imgSplash"_s);
    m_picture->setPixmap(Art::splash());
    m_picture->setGeometry(QRect(QPoint(0, 0), kSplashSize));

    m_link = new QLabel(kMakerAddress, this);
    m_link->setObjectName(u"lbl"_s);
    QFont font = m_link->font();
    font.setPixelSize(15);
    m_link->setFont(font);
    QPalette palette = m_link->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    m_link->setPalette(palette);
    m_link->setCursor(Qt::PointingHandCursor);
    m_link->adjustSize();
    // Under the text of the picture, whose left edge is at 28 pixels.
    m_link->move(28, height() - m_link->height() - 12);

    m_timer = new QTimer(this);
    m_timer->setObjectName(u"Timer"_s);
    m_timer->setTimerType(Qt::PreciseTimer); // a coarse timer may fire up to 5 % early
    m_timer->setInterval(startUpMilliseconds);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, m_timer, &QTimer::stop);

    // At start-up only the timer lets the window go; in About mode the picture and the link do.
    const bool about = m_mode == Mode::About;
    m_picture->setEnabled(about);
    m_link->setVisible(about);
    if (!about)
        m_timer->start();

    // Centred on the screen. The application moves the About box over the window it belongs to.
    QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->geometry().center() - rect().center());
}

bool TSplashScreen::timerRunning() const
{
    return m_timer->isActive();
}

void TSplashScreen::showAbout(QWidget *parent)
{
    TSplashScreen about(Mode::About, parent);
    about.exec();
}

void TSplashScreen::closeEvent(QCloseEvent *event)
{
    if (timerRunning()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TSplashScreen::reject()
{
    // Escape would otherwise hide the window behind closeEvent's back.
    if (!timerRunning())
        QDialog::reject();
}

void TSplashScreen::mousePressEvent(QMouseEvent *event)
{
    // Clicks on the picture and the label arrive here; a disabled picture passes them on too,
    // so only an enabled one counts.
    QWidget *clicked = childAt(event->position().toPoint());
    if (clicked == m_link && m_link->isVisible()) {
        OpenUrl(kMakerAddress);
        close();
    } else if (clicked == m_picture && m_picture->isEnabled()) {
        close();
    } else {
        QDialog::mousePressEvent(event);
    }
}
