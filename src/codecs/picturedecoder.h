#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>

// Picture decoding for the image previews and the preview viewer. The decoder is chosen by
// the file's extension, without regard to case: ".jpg" and ".jpeg" (libjpeg), ".gif" (first
// frame), ".png" (8 or 16 bits, palette, transparency) and ".bmp". Damaged, truncated or hostile files fail with a
// reason; they never end the program.
//
// A JPEG whose data are damaged or end early, but whose header is whole, still decodes at its
// full size: libjpeg paints what it cannot read grey, and Picture::warning says so. This is
// what browsers show of such a file, and the pixel size is right. Everything else that is
// wrong fails, with an error such as "Cannot decode logo.jpg: Not a JPEG file: starts with
// 0x47 0x49 (looks like a GIF picture)".
namespace Codecs {

enum class Progress { Started, Finished };
using ProgressHandler = std::function<void(Progress)>;

// Pictures larger than this are refused before any pixel memory is allocated. GIF, PNG and BMP
// pictures are also held to Qt's image allocation limit (QImageReader::allocationLimit()).
inline constexpr qint64 kMaxPixels = 40'000'000;
inline constexpr int kMaxSide = 20'000;
// Files larger than this are refused before they are read.
inline constexpr qint64 kMaxFileBytes = 256 * 1024 * 1024;

struct Picture
{
    QImage image;  // drawable; null when decoding failed
    QString error; // why decoding failed; empty on success
    // Set on success when the data were damaged but the picture could still be drawn at its
    // full size, such as a JPEG whose data end early (the missing part is grey).
    QString warning;

    bool ok() const { return !image.isNull(); }
    int width() const { return image.width(); }
    int height() const { return image.height(); }
};

// True when the extension of path names a format we decode.
bool isSupportedPicture(const QString &path);

// Decodes the picture at path. progress, when given, hears Started before the work and
// Finished after it, also on failure.
Picture decodePicture(const QString &path, const ProgressHandler &progress = {});

// Decodes a picture already in memory; fileName chooses the decoder by its extension and
// names the picture in messages.
Picture decodePictureData(const QByteArray &data, const QString &fileName, const ProgressHandler &progress = {});

} // namespace Codecs
