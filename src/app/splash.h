#pragma once

#include <QDialog>

class QLabel;
class QTimer;

// How long the splash window stays at start-up.
inline constexpr int kSplashStartUpMilliseconds = 2500;

// The borderless 400 x 320 splash window, also the About box. At start-up its 2500 ms timer
// runs and it refuses to close until the timer has fired; in About mode the picture closes it
// and the link label opens the maker's web site.
class TSplashScreen : public QDialog
{
    Q_OBJECT

public:
    enum class Mode { StartUp, About };
    explicit TSplashScreen(Mode mode, QWidget *parent = nullptr, int startUpMilliseconds = kSplashStartUpMilliseconds);

    // True until the start-up timer has fired (always false in About mode).
    bool timerRunning() const;

    // Shows the About box modally.
    static void showAbout(QWidget *parent);

public Q_SLOTS:
    // Escape, like closing, is refused while the timer runs.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    Mode m_mode;
    QTimer *m_timer = nullptr;
    QLabel *m_picture = nullptr;
    QLabel *m_link = nullptr;
};
