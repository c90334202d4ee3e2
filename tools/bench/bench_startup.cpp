// Times the program's start-up: from the start of a new process to a main window that has been
// shown and painted with its event queue drained, without the splash window's fixed 2.5 s.
// Each run is a fresh process with the program's own window code on the headless platform, a
// program folder laid out by the build and settings of its own.
// Usage: brisko-bench-startup [runs, default 10]

#include "app/application.h"
#include "app/mainwindow.h"
#include "platform/settingsstore.h"
#include "platform/version.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The child: builds and shows the main window, says "ready" once it has painted and nothing is
// left to do, and ends.
int runChild(int argc, char *argv[])
{
    TBriskoApplication app(argc, argv);
    TfrmMain window(QStringLiteral(BRISKO_PROGRAM_DIR "/"));
    struct FirstPaint : QObject
    {
        bool painted = false;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint && !painted) {
                painted = true;
                QTimer::singleShot(0, qApp, [] {
                    std::printf("ready\n");
                    std::fflush(stdout);
                    QCoreApplication::quit();
                });
            }
            return false;
        }
    } watcher;
    window.installEventFilter(&watcher);
    window.show();
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    if (const auto answered = AnswerHelpOrVersion(argc, argv, u"brisko-bench-startup",
                                                  u"usage: brisko-bench-startup [RUNS]\n"
                                                  u"Times RUNS (default 10) starts of the program, from a new process "
                                                  u"to a painted main window."))
        return *answered;
    if (argc > 1 && qstrcmp(argv[1], "--child") == 0)
        return runChild(argc, argv);

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path()); // private to us, as the platform wants

    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer clock;
        clock.start();
        child.start(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--child")});
        while (!child.canReadLine() && child.waitForReadyRead(10000)) {
        }
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        if (child.readLine().trimmed() != "ready") {
            std::fprintf(stderr, "start-up run %d did not reach a usable window\n", i + 1);
            return 1;
        }
        child.waitForFinished(10000);
        // The first run also writes the desktop files and warms the disk cache: not counted.
        if (i > 0 || runs == 1)
            times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("start-up to a usable main window (%zu runs, splash left out): min %.0f ms, median %.0f ms, "
                "max %.0f ms (target: under 400 ms)\n",
                times.size(), times.front(), times[times.size() / 2], times.back());
    return 0;
}
