// Times the preview viewer on a page of 1,000 blocks (load and layout, then End and a repaint)
// and the picture decoders on damaged pictures (the slowest single decode of each format), and
// compares each figure with the limit the program is held to. Exits with 1 when a figure is over
// its limit. Times are wall-clock times of a Release build; run it on a quiet machine.
// Usage: brisko-bench-viewer [damaged pictures per format, default 3000]

#include "codecs/picturedecoder.h"
#include "html/pagehtml.h"
#include "viewer/htmllite.h"

#include "codecs/picturefixtures.h"
#include "testpages.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;

// What a user notices as a pause: loading the largest page a user makes, moving to its end, and
// one picture, however damaged.
constexpr double kLoadLimitMs = 15000;
constexpr double kEndLimitMs = 2000;
constexpr double kDecodeLimitMs = 3000;

double millisecondsOf(const std::function<void()> &work)
{
    const Clock::time_point start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool report(const char *what, double ms, double limit)
{
    const bool within = ms <= limit;
    std::printf("%-44s %10.1f ms   limit %6.0f ms   %s\n", what, ms, limit, within ? "ok" : "OVER");
    return within;
}

bool benchViewer(const QString &folder)
{
    QString error;
    const QStringList lines = BuildPageHtml(MixedBlockPage(1000), pmPreview, false, folder, &error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "the page cannot be made: %s\n", qPrintable(error));
        return false;
    }
    ThtmlLite viewer;
    viewer.resize(800, 600);
    viewer.show();
    if (!QTest::qWaitForWindowExposed(&viewer))
        return false;
    auto *view = viewer.findChild<QTextBrowser *>(QStringLiteral("view"));
    int height = 0;
    const double loaded = millisecondsOf([&] {
        viewer.LoadHtmlStrings(lines);
        height = viewer.DocumentSize().height();
    });
    const double ended = millisecondsOf([&] {
        QTest::keyClick(view, Qt::Key_End);
        view->viewport()->repaint();
    });
    std::printf("1,000 blocks, %d pixels high\n", height);
    const bool loadWithin = report("  load and layout", loaded, kLoadLimitMs);
    const bool endWithin = report("  End and repaint", ended, kEndLimitMs);
    return loadWithin && endWithin;
}

// The slowest decode of cut-off and bit-flipped copies of a valid picture.
bool benchDecoder(const char *what, const QByteArray &bytes, const QString &fileName, int mutants)
{
    QRandomGenerator random(7);
    double slowest = 0;
    for (int mutant = 0; mutant < mutants; ++mutant) {
        QByteArray damaged = mutant % 3 == 0 ? bytes.left(random.bounded(qint64(bytes.size()))) : bytes;
        for (int flip = mutant % 3 == 0 ? 0 : 1 + random.bounded(4); flip > 0; --flip) {
            const qsizetype at = random.bounded(qint64(damaged.size()));
            damaged[at] = char(damaged[at] ^ (1 << random.bounded(8)));
        }
        slowest = std::max(slowest, millisecondsOf([&] { Codecs::decodePictureData(damaged, fileName); }));
    }
    return report(qPrintable(QStringLiteral("  slowest of %1 damaged %2").arg(mutants).arg(QLatin1StringView(what))),
                  slowest, kDecodeLimitMs);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int mutants = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3000;
    QTemporaryDir dir;
    bool within = benchViewer(dir.path() + u'/');

    const QSize size(37, 23);
    const QList<QRgb> colours = {qRgb(220, 30, 30), qRgb(30, 160, 40), qRgb(40, 60, 200), qRgb(240, 240, 240)};
    const QImage image = Fixtures::quadrants(size, colours);
    std::printf("damaged pictures\n");
    within = benchDecoder("JPEG", Fixtures::jpeg(image, Fixtures::JpegKind::Progressive), QStringLiteral("b.jpg"),
                          mutants) &&
             within;
    within = benchDecoder("GIF", Fixtures::twoFrameGif(size, colours, qRgb(250, 250, 0)), QStringLiteral("b.gif"),
                          mutants) &&
             within;
    within = benchDecoder("BMP", Fixtures::bmp(image), QStringLiteral("b.bmp"), mutants) && within;
    return within ? 0 : 1;
}
