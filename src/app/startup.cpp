#include "startup.h"

#include "app/mainwindow.h"
#include "app/splash.h"

#include <QApplication>
#include <QLoggingCategory>

#include <memory>

namespace {

// Start-up's progress for scripts and tests (off unless QT_LOGGING_RULES turns "brisko.startup" on).
Q_LOGGING_CATEGORY(lcStartup, "brisko.startup", QtWarningMsg)

} // namespace

int RunBrisko(QApplication &app, const QStringList &arguments, const QString &programFolder, int splashMilliseconds)
{
    auto splash = std::make_unique<TSplashScreen>(TSplashScreen::Mode::StartUp, nullptr, splashMilliseconds);
    splash->show();
    app.processEvents();

    TfrmMain window(programFolder, arguments);
    window.setSplash(splash.get());
    // The tip of the day opens over the main window, which hides the splash as it shows. The
    // question about a previous run's unsaved work comes first: a key meant for the tip must
    // not answer it.
    bool recoveryOffered = false;
    if (window.showTips()) {
        window.show();
        window.offerRecovery();
        recoveryOffered = true;
        window.showTipOfTheDay();
    }
    // The splash stays until its time has passed and the main window is ready, whichever
    // is later.
    while (splash->timerRunning())
        app.processEvents(QEventLoop::WaitForMoreEvents);
    splash->close();
    splash.reset();

    if (!window.isVisible())
        window.show();
    if (!recoveryOffered)
        window.offerRecovery();
    qCInfo(lcStartup).noquote() << QString(u"ready: \"" + window.windowTitle() + u"\" in " + window.programFolder());
    return app.exec();
}
