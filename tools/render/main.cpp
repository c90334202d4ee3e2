// brisko-render: a page as the preview viewer shows it, saved as a PNG picture.
#include "platform/programfolder.h"
#include "platform/version.h"
#include "viewer/htmllite.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kBadInput = 2;
constexpr int kDefaultWidth = 800;
// Longer pages are cut off here, so that a runaway page cannot exhaust the memory.
constexpr int kMaxHeight = 20000;
constexpr int kMaxWidth = 10000;

int fail(const QString &message)
{
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    return kBadInput;
}

constexpr QStringView kUsage =
    u"usage: brisko-render [--width N] [--server-root DIR] FILE.html OUT.png\n"
    u"DIR is the folder that pictures addressed from the root are looked up in; the program folder's \"Upload\" "
    u"when not given, as in the program's View Page.";

int usage()
{
    return fail(kUsage.toString());
}

// Qt's notes about the platform (no runtime folder, no window manager) are no concern of
// the tool's user, whose standard error should hold only our one-line message.
void quietQt(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char *argv[])
{
    if (const auto answered = AnswerHelpOrVersion(argc, argv, u"brisko-render", kUsage))
        return *answered;
    qInstallMessageHandler(quietQt);
    // Without a display the picture is drawn off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QStringList args = app.arguments().mid(1);
    int width = kDefaultWidth;
    QString serverRoot;
    bool serverRootGiven = false;
    QStringList files;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == u"--width" && !args.isEmpty()) {
            bool ok = false;
            width = args.takeFirst().toInt(&ok);
            if (!ok || width < 1 || width > kMaxWidth)
                return usage();
        } else if (arg == u"--server-root" && !args.isEmpty()) {
            serverRoot = args.takeFirst();
            serverRootGiven = true;
        } else if (arg.startsWith(u"--")) {
            return usage();
        } else {
            files.append(arg);
        }
    }
    if (files.size() != 2)
        return usage();
    if (!serverRootGiven) {
        if (const QString problem = CurrentProgramFolder().error; !problem.isEmpty())
            std::fprintf(stderr, "brisko-render: warning: %s\n", problem.toLocal8Bit().constData());
        serverRoot = ProgramFolder() + QStringLiteral("Upload");
    }

    ThtmlLite viewer;
    viewer.setAttribute(Qt::WA_DontShowOnScreen);
    viewer.setBorderStyle(ThtmlLite::htNone);
    viewer.setScrollBars(ThtmlLite::ssNone);
    viewer.setImageCacheCount(0);
    viewer.setServerRoot(serverRoot);
    viewer.resize(width, 100);
    viewer.show();
    if (!viewer.LoadHtmlFile(files.at(0)))
        return fail(viewer.errorString());
    QApplication::processEvents();
    const QSize document = viewer.DocumentSize();
    viewer.resize(width, qBound(1, document.height(), kMaxHeight));
    QApplication::processEvents();

    const QImage picture = viewer.grab().toImage();
    if (!picture.save(files.at(1), "PNG"))
        return fail(QStringLiteral("Cannot write %1").arg(files.at(1)));
    return 0;
}
