#include "art.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>

#include <array>
#include <iterator>

using namespace Qt::StringLiterals;

// The pictures are drawn by tools/mkart and kept as the resources ":/art/<name>.png", with a
// twice-as-large "<name>@2x.png" beside most of them for high-density screens.
namespace {

constexpr std::array kBlockNames = {u"block-page", u"block-heading", u"block-image", u"block-link",
                                    u"block-text", u"block-bullets", u"block-line",  u"block-forms"};
constexpr std::array kButtonNames = {u"button-create", u"button-preview", u"button-save",   u"button-upload",
                                     u"button-help",   u"button-hosting", u"button-browse", u"button-delete"};
constexpr std::array kFieldNames = {u"field-textbox",  u"field-textarea", u"field-radio",
                                    u"field-checkbox", u"field-dropdown", u"field-button"};
constexpr std::array kDocumentNames = {u"document-template", u"document-project"};
constexpr std::array kPanelNames = {u"panel-add",       u"panel-remove",    u"panel-apply", u"panel-edit",
                                    u"panel-favorites", u"panel-bookmarks", u"panel-import"};

constexpr std::array kApplicationIconSizes = {16, 24, 32, 48, 64, 128};

QString resourcePath(const QString &name)
{
    return u":/art/"_s + name + u".png"_s;
}

QByteArray resourceBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Stands in for a picture that is not among the resources, so that a missing file shows as
// an obvious grey square rather than as nothing.
QPixmap placeholder(QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x23, 0x41, 0x3F));
    painter.setBrush(QColor(0xC9, 0xD5, 0xD1));
    painter.drawRect(QRect(QPoint(0, 0), size).adjusted(0, 0, -1, -1));
    painter.drawLine(0, 0, size.width() - 1, size.height() - 1);
    return pixmap;
}

// The picture called name at the screen's density; size is what it should measure in device
// independent pixels.
QPixmap picture(const QString &name, QSize size)
{
    const bool dense = qGuiApp && qGuiApp->devicePixelRatio() > 1.0;
    const QString key = u"brisko-art:"_s + name + (dense ? u"@2x"_s : QString());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    if (dense && pixmap.load(resourcePath(name + u"@2x"_s)))
        pixmap.setDevicePixelRatio(2.0);
    else if (!pixmap.load(resourcePath(name))) {
        qWarning("Art: the picture \"%s\" is missing", qPrintable(name));
        pixmap = placeholder(size);
    }
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

template <typename Names> QPixmap pictureAt(const Names &names, int index, QSize size)
{
    if (index < 0 || index >= int(std::size(names))) {
        qWarning("Art: no picture number %d", index);
        return placeholder(size);
    }
    return picture(QString::fromUtf16(names[size_t(index)]), size);
}

// A cursor whose picture carries its hot spot as the text "HotSpot"; fallback when the
// picture is missing.
QCursor cursorPicture(const QString &name, Qt::CursorShape fallback)
{
    const QImage image(resourcePath(name));
    if (image.isNull()) {
        qWarning("Art: the picture \"%s\" is missing", qPrintable(name));
        return QCursor(fallback);
    }
    const QStringList hotSpot = image.text(u"HotSpot"_s).split(u',');
    const int x = hotSpot.size() == 2 ? hotSpot[0].toInt() : 0;
    const int y = hotSpot.size() == 2 ? hotSpot[1].toInt() : 0;
    return QCursor(QPixmap::fromImage(image), x, y);
}

// A light grey copy of a picture, for the button it is on while that is disabled, so that
// the state is plain to see.
QPixmap greyed(const QPixmap &pixmap)
{
    QImage grey = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int g = 160 + qGray(line[x]) / 4;
            line[x] = qRgba(g, g, g, qAlpha(line[x]) / 2);
        }
    }
    QPixmap result = QPixmap::fromImage(grey);
    result.setDevicePixelRatio(pixmap.devicePixelRatio());
    return result;
}

} // namespace

namespace Art {

QPixmap blockIcon(int blockType)
{
    return pictureAt(kBlockNames, blockType, QSize(16, 16));
}

QPixmap buttonPicture(Button button)
{
    const bool large =
        button == Button::Create || button == Button::Preview || button == Button::Save || button == Button::Upload;
    return pictureAt(kButtonNames, int(button), large ? QSize(32, 32) : QSize(16, 16));
}

QPixmap trash(bool full)
{
    return picture(full ? u"trash-full"_s : u"trash-empty"_s, QSize(32, 32));
}

QPixmap documentIcon(int index)
{
    return pictureAt(kDocumentNames, index, QSize(32, 32));
}

QPixmap fieldKindIcon(int kind)
{
    return pictureAt(kFieldNames, kind, QSize(16, 16));
}

QCursor newDragCursor()
{
    return cursorPicture(u"cursor-newdrag"_s, Qt::DragCopyCursor);
}

QCursor eyedropperCursor()
{
    return cursorPicture(u"cursor-eyedropper"_s, Qt::CrossCursor);
}

QIcon panelIcon(PanelButton button)
{
    const QPixmap normal = pictureAt(kPanelNames, int(button), QSize(16, 16));
    QIcon icon(normal);
    icon.addPixmap(greyed(normal), QIcon::Disabled);
    return icon;
}

QPixmap serverIcon()
{
    return picture(u"profile-server"_s, QSize(32, 32));
}

QList<QPixmap> uploadAnimation()
{
    constexpr QSize frame(260, 40);
    constexpr int count = 16;
    const QPixmap strip = picture(u"upload-animation"_s, QSize(frame.width() * count, frame.height()));
    QList<QPixmap> frames;
    for (int i = 0; i < count; ++i)
        frames.append(strip.copy(QRect(QPoint(i * frame.width(), 0), frame)));
    return frames;
}

QPixmap splash()
{
    return picture(u"splash"_s, QSize(400, 320));
}

QIcon applicationIcon()
{
    QIcon icon;
    for (const int size : kApplicationIconSizes) {
        const QString path = resourcePath(u"app-icon-%1"_s.arg(size));
        if (QFile::exists(path))
            icon.addFile(path, QSize(size, size));
    }
    if (icon.isNull()) {
        qWarning("Art: the application icon is missing");
        icon.addPixmap(placeholder(QSize(32, 32)));
    }
    return icon;
}

QMap<int, QByteArray> applicationIconFiles()
{
    QMap<int, QByteArray> files;
    for (const int size : kApplicationIconSizes) {
        const QByteArray png = resourceBytes(resourcePath(u"app-icon-%1"_s.arg(size)));
        if (!png.isEmpty())
            files.insert(size, png);
    }
    return files;
}

QMap<int, QByteArray> documentIconFiles(int index)
{
    QMap<int, QByteArray> files;
    if (index < 0 || index >= int(std::size(kDocumentNames)))
        return files;
    const QString name = QString::fromUtf16(kDocumentNames[size_t(index)]);
    // The pictures are drawn at 32 x 32, with their twice-as-large copies beside them.
    for (const auto &[size, path] : {std::pair{32, resourcePath(name)}, std::pair{64, resourcePath(name + u"@2x"_s)}}) {
        const QByteArray png = resourceBytes(path);
        if (!png.isEmpty())
            files.insert(size, png);
    }
    return files;
}

} // namespace Art
