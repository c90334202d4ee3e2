#include "picturefixtures.h"

#include <QBuffer>
#include <QImageWriter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace Fixtures {

QImage quadrants(QSize size, const QList<QRgb> &colours)
{
    QImage image(size, QImage::Format_RGB32);
    const int splitX = size.width() / 2;
    const int splitY = size.height() / 2;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, colours.at((y < splitY ? 0 : 2) + (x < splitX ? 0 : 1)));
    }
    return image;
}

QList<QPoint> quadrantCentres(QSize size)
{
    const int splitX = size.width() / 2;
    const int splitY = size.height() / 2;
    const int left = splitX / 2, right = (splitX + size.width()) / 2;
    const int top = splitY / 2, bottom = (splitY + size.height()) / 2;
    return {{left, top}, {right, top}, {left, bottom}, {right, bottom}};
}

namespace {

void fillJpegRow(const QImage &image, int y, JpegKind kind, std::vector<JSAMPLE> &row)
{
    JSAMPLE *out = row.data();
    for (int x = 0; x < image.width(); ++x) {
        const QRgb pixel = image.pixel(x, y);
        const int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
        switch (kind) {
        case JpegKind::Gray:
            *out++ = JSAMPLE(qGray(pixel));
            break;
        case JpegKind::Rgb:
        case JpegKind::Progressive:
            *out++ = JSAMPLE(r);
            *out++ = JSAMPLE(g);
            *out++ = JSAMPLE(b);
            break;
        case JpegKind::Cmyk:
        case JpegKind::Ycck:
        case JpegKind::PlainCmyk: {
            // Inverted: each channel is the share of white left, the brightest channel sets K.
            const int white = std::max({r, g, b, 1});
            const int inverted[4] = {r * 255 / white, g * 255 / white, b * 255 / white, white};
            for (int value : inverted)
                *out++ = JSAMPLE(kind == JpegKind::PlainCmyk ? 255 - value : value);
            break;
        }
        }
    }
}

} // namespace

QByteArray jpeg(const QImage &image, JpegKind kind, int quality)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errorManager;
    cinfo.err = jpeg_std_error(&errorManager); // test pictures are always valid
    jpeg_create_compress(&cinfo);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);

    cinfo.image_width = JDIMENSION(image.width());
    cinfo.image_height = JDIMENSION(image.height());
    switch (kind) {
    case JpegKind::Gray:
        cinfo.input_components = 1;
        cinfo.in_color_space = JCS_GRAYSCALE;
        break;
    case JpegKind::Rgb:
    case JpegKind::Progressive:
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_RGB;
        break;
    case JpegKind::Cmyk:
    case JpegKind::Ycck:
    case JpegKind::PlainCmyk:
        cinfo.input_components = 4;
        cinfo.in_color_space = JCS_CMYK;
        break;
    }
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (kind == JpegKind::Progressive)
        jpeg_simple_progression(&cinfo);
    if (kind == JpegKind::Ycck)
        jpeg_set_colorspace(&cinfo, JCS_YCCK);
    if (kind == JpegKind::PlainCmyk)
        cinfo.write_Adobe_marker = FALSE;

    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(std::size_t(image.width()) * std::size_t(cinfo.input_components));
    while (cinfo.next_scanline < cinfo.image_height) {
        fillJpegRow(image, int(cinfo.next_scanline), kind, row);
        JSAMPROW rowPointer = row.data();
        jpeg_write_scanlines(&cinfo, &rowPointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    const QByteArray bytes(reinterpret_cast<const char *>(buffer), qsizetype(size));
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return bytes;
}

namespace {

void appendLittleEndian16(QByteArray &data, int value)
{
    data.append(char(value & 0xff));
    data.append(char((value >> 8) & 0xff));
}

// LZW codes of 9 bits packed from the lowest bit up, as GIF wants them.
class CodeWriter
{
public:
    void put(quint32 code)
    {
        m_bits |= code << m_count;
        m_count += 9;
        while (m_count >= 8) {
            m_bytes.append(char(m_bits & 0xff));
            m_bits >>= 8;
            m_count -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_count > 0)
            m_bytes.append(char(m_bits & 0xff));
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    quint32 m_bits = 0;
    int m_count = 0;
};

QByteArray uncompressedLzw(const QByteArray &indices)
{
    constexpr quint32 clear = 256, end = 257;
    // After a clear code every literal but the first adds a table entry; clearing every 100
    // literals keeps the table far from 512 entries, where the width would grow to 10 bits.
    constexpr int literalsPerClear = 100;
    CodeWriter writer;
    for (qsizetype i = 0; i < indices.size(); ++i) {
        if (i % literalsPerClear == 0)
            writer.put(clear);
        writer.put(quint8(indices[i]));
    }
    writer.put(end);
    return writer.finish();
}

} // namespace

QByteArray gif(QSize size, const QList<QRgb> &palette, const QList<QByteArray> &frames)
{
    QByteArray data("GIF89a");
    appendLittleEndian16(data, size.width());
    appendLittleEndian16(data, size.height());
    data.append(char(0xf7)); // global colour table of 256 entries, 8 bits per channel
    data.append('\0');       // background colour index
    data.append('\0');       // square pixels
    for (int i = 0; i < 256; ++i) {
        const QRgb colour = i < palette.size() ? palette.at(i) : qRgb(0, 0, 0);
        data.append(char(qRed(colour)));
        data.append(char(qGreen(colour)));
        data.append(char(qBlue(colour)));
    }
    for (const QByteArray &frame : frames) {
        data.append("\x21\xf9\x04\x00", 4); // graphic control: no disposal, no transparency
        appendLittleEndian16(data, 10);     // 0.1 s
        data.append("\x00\x00", 2);
        data.append(char(0x2c));
        appendLittleEndian16(data, 0);
        appendLittleEndian16(data, 0);
        appendLittleEndian16(data, size.width());
        appendLittleEndian16(data, size.height());
        data.append('\0'); // no local colour table, not interlaced
        data.append(char(8));
        const QByteArray codes = uncompressedLzw(frame);
        for (qsizetype at = 0; at < codes.size(); at += 255) {
            const QByteArray block = codes.mid(at, 255);
            data.append(char(block.size()));
            data.append(block);
        }
        data.append('\0');
    }
    data.append(char(0x3b));
    return data;
}

QByteArray twoFrameGif(QSize size, const QList<QRgb> &colours, QRgb secondFrameColour)
{
    const QImage image = quadrants(size, colours);
    QByteArray first;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            first.append(char(colours.indexOf(image.pixel(x, y))));
    }
    const QByteArray second(first.size(), char(colours.size()));
    return gif(size, colours + QList<QRgb>{secondFrameColour}, {first, second});
}

QByteArray bmp(const QImage &image)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(image))
        qFatal("Cannot write a BMP: %s", qPrintable(writer.errorString()));
    return buffer.data();
}

int jpegFrameHeaderOffset(const QByteArray &jpeg)
{
    // Walk the marker segments after SOI up to the frame header (SOF0 or SOF2).
    qsizetype at = 2;
    while (at + 3 < jpeg.size() && uchar(jpeg[at]) == 0xff) {
        const uchar marker = uchar(jpeg[at + 1]);
        if (marker == 0xc0 || marker == 0xc2)
            return int(at);
        at += 2 + (uchar(jpeg[at + 2]) << 8 | uchar(jpeg[at + 3]));
    }
    return -1;
}

void putBigEndian16(QByteArray &data, int offset, quint16 value)
{
    data[offset] = char(value >> 8);
    data[offset + 1] = char(value & 0xff);
}

void putLittleEndian16(QByteArray &data, int offset, quint16 value)
{
    data[offset] = char(value & 0xff);
    data[offset + 1] = char(value >> 8);
}

void putLittleEndian32(QByteArray &data, int offset, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        data[offset + i] = char((value >> (8 * i)) & 0xff);
}

} // namespace Fixtures
