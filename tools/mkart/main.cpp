// brisko-mkart: draws every picture of the program and writes it as PNG.
//   brisko-mkart OUTPUT_FOLDER [--sheet SHEET.png]
// Run by hand when a picture changes; its output in src/art/png/ is kept in the
// repository. --sheet also writes an overview of all icons at four times their size.
#include "pictures.h"
#include "platform/version.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr QStringView kUsage = u"usage: brisko-mkart OUTPUT_FOLDER [--sheet SHEET.png]";

int fail(const QString &message)
{
    std::fprintf(stderr, "brisko-mkart: %s\n", qPrintable(message));
    return 1;
}

QImage render(const Picture &picture, int scale)
{
    QImage image(picture.size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    picture.draw(painter);
    painter.end();
    if (picture.hotSpot.x() >= 0)
        image.setText(u"HotSpot"_s, u"%1,%2"_s.arg(picture.hotSpot.x()).arg(picture.hotSpot.y()));
    return image;
}

// Every icon pixel for pixel at four times its size, then at 1x and 2x, on a light and on a
// dark background, with its name. Pictures above 32 pixels are shown at 1x only.
QImage overview(const QList<Picture> &pictures)
{
    const int cell = 148;
    const int height = 236;
    const int columns = 6;
    const int rows = int((pictures.size() + columns - 1) / columns);
    QImage sheet(columns * cell * 2, rows * height, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0xF2, 0xF2, 0xEE));
    QPainter p(&sheet);
    p.setFont(QFont(u"DejaVu Sans"_s, 8));
    for (int i = 0; i < pictures.size(); ++i) {
        const Picture &picture = pictures[i];
        const QImage one = render(picture, 1);
        const int factor = one.width() <= 32 ? 4 : 1;
        const QImage big = one.scaled(one.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        const int x = (i % columns) * cell * 2;
        const int y = (i / columns) * height;
        p.fillRect(x + cell, y, cell, height, QColor(0x2B, 0x2F, 0x2E));
        for (const int half : {0, 1}) {
            const int left = x + half * cell + 8;
            p.drawImage(left, y + 8, big);
            if (factor == 1)
                continue;
            p.drawImage(left, y + 144, one);
            if (picture.scales.contains(2))
                p.drawImage(left + one.width() + 8, y + 144, render(picture, 2));
        }
        p.setPen(Qt::black);
        p.drawText(QRect(x + 4, y + height - 20, cell - 8, 18), Qt::AlignLeft, picture.name);
    }
    return sheet;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const auto answered = AnswerHelpOrVersion(argc, argv, u"brisko-mkart", kUsage))
        return *answered;
    // Fonts need a GUI application; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString sheetPath;
    if (const qsizetype at = args.indexOf(u"--sheet"_s); at >= 0 && at + 1 < args.size()) {
        sheetPath = args.at(at + 1);
        args.remove(at, 2);
    }
    if (args.size() != 1)
        return fail(kUsage.toString());
    const QDir folder(args.first());
    if (!folder.exists())
        return fail(u"no folder %1"_s.arg(args.first()));

    const QList<Picture> icons = iconPictures() + panelPictures();
    const QList<Picture> all = icons + brandPictures() + publishPictures() + QList<Picture>{eyedropperPicture()};
    for (const Picture &picture : all) {
        for (const int scale : picture.scales) {
            const QString name = scale == 1 ? picture.name : picture.name + u"@%1x"_s.arg(scale);
            const QString path = folder.filePath(name + u".png"_s);
            if (!render(picture, scale).save(path, "PNG"))
                return fail(u"cannot write %1"_s.arg(path));
        }
    }
    if (!sheetPath.isEmpty()) {
        QList<Picture> shown = icons;
        for (const Picture &picture : brandPictures())
            if (picture.size.width() <= 64 && picture.name != u"app-icon-24"_s)
                shown.append(picture);
        if (!overview(shown).save(sheetPath, "PNG"))
            return fail(u"cannot write %1"_s.arg(sheetPath));
    }
    return 0;
}
