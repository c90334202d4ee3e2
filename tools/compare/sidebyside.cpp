// brisko-sidebyside: puts the preview's picture of a page beside the browser's and prints the
// height of what each drew, from its first to its last row that is not plain background.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

// Rows [first, last] holding anything but the colour of the top left pixel; {0, -1} for none.
std::pair<int, int> contentRows(const QImage &image)
{
    const QRgb background = image.pixel(0, 0);
    int first = -1;
    int last = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] != background) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
        }
    }
    return first < 0 ? std::pair{0, -1} : std::pair{first, last};
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: brisko-sidebyside PREVIEW.png BROWSER.png OUT.png\n");
        return 2;
    }
    const QImage preview = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    const QImage browser = QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
    if (preview.isNull() || browser.isNull()) {
        std::fprintf(stderr, "cannot read the pictures\n");
        return 2;
    }
    const auto [pFirst, pLast] = contentRows(preview);
    const auto [bFirst, bLast] = contentRows(browser);
    // The browser's picture is as tall as its window; show no more of it than it drew.
    const int height = qMax(preview.height(), bLast + 9);
    constexpr int kGap = 12;
    QImage out(preview.width() + kGap + browser.width(), height, QImage::Format_RGB32);
    out.fill(QColor(255, 0, 255));
    {
        QPainter painter(&out);
        painter.drawImage(0, 0, preview);
        painter.drawImage(preview.width() + kGap, 0, browser.copy(0, 0, browser.width(), height));
    }
    if (!out.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 2;
    }
    std::printf("%d %d\n", pLast - pFirst + 1, bLast - bFirst + 1);
    return 0;
}
