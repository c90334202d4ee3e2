#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>

// Pictures made at test time, so no binary fixtures are kept: JPEG through libjpeg's
// compressor, BMP through Qt's writer and GIF through the small writer here (Qt writes none).
namespace Fixtures {

// Four solid quadrants split at (width / 2, height / 2): top left, top right, bottom left,
// bottom right. Solid areas survive JPEG compression well enough to check colours.
QImage quadrants(QSize size, const QList<QRgb> &colours);
// The centre of each quadrant of a picture of that size, in the order above.
QList<QPoint> quadrantCentres(QSize size);

enum class JpegKind {
    Rgb,         // baseline YCbCr
    Gray,        // one component
    Progressive, // YCbCr in several scans
    Cmyk,        // inverted CMYK with the Adobe marker, as Photoshop writes it
    Ycck,        // the same, stored as YCCK
    PlainCmyk,   // CMYK without the Adobe marker, not inverted
};
QByteArray jpeg(const QImage &image, JpegKind kind, int quality = 95);

// A GIF89a whose frames cover the whole screen; each frame holds one palette index per pixel,
// row by row. The LZW data are not compressed: literal codes with a clear code often enough
// that the code width never grows.
QByteArray gif(QSize size, const QList<QRgb> &palette, const QList<QByteArray> &frames);
// The quadrants picture as a GIF of two frames: the quadrants, then a frame of a single
// colour not among them, which a decoder of the first frame must not show.
QByteArray twoFrameGif(QSize size, const QList<QRgb> &colours, QRgb secondFrameColour);

QByteArray bmp(const QImage &image);

// Offsets of the size fields in the files made above.
int jpegFrameHeaderOffset(const QByteArray &jpeg); // height at +5, width at +7, big-endian
inline constexpr int kGifScreenWidthOffset = 6;    // then height, little-endian 16 bits
inline constexpr int kGifFrameWidthOffset = 13 + 256 * 3 + 8 + 5;
inline constexpr int kBmpWidthOffset = 18; // then height, little-endian 32 bits

void putBigEndian16(QByteArray &data, int offset, quint16 value);
void putLittleEndian16(QByteArray &data, int offset, quint16 value);
void putLittleEndian32(QByteArray &data, int offset, quint32 value);

} // namespace Fixtures
