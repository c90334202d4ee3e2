#include "codecs/qtdecoder.h"

#include "codecs/decodersupport.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace Codecs::Internal {

namespace {

bool hasSignature(const QByteArray &data, QtFormat format)
{
    switch (format) {
    case QtFormat::Gif:
        return data.startsWith("GIF87a") || data.startsWith("GIF89a");
    case QtFormat::Bmp:
        return data.startsWith("BM");
    case QtFormat::Png:
        return data.startsWith("\x89PNG\r\n\x1a\n");
    }
    return false;
}

const QString kEndsInHeader = u"The file ends inside its header"_s;

// Sizes read from headers are checked only when positive; the readers refuse the others.
QString declaredSizeRefusal(qint64 width, qint64 height)
{
    return width > 0 && height > 0 ? sizeRefusal(width, height) : QString();
}

// The GIF reader paints every frame on the logical screen, allocated at the screen's size
// (or the first frame's, for a screen without one), while its size() reports the first frame
// only. So both are checked here, before the reader sees them.
QString gifHeaderProblem(QByteArrayView data)
{
    constexpr qsizetype kScreenDescriptorEnd = 13;
    if (data.size() < kScreenDescriptorEnd)
        return kEndsInHeader;
    const auto at16 = [&](qsizetype offset) { return qFromLittleEndian<quint16>(data.data() + offset); };
    QString problem = declaredSizeRefusal(at16(6), at16(8));
    if (!problem.isEmpty())
        return problem;

    const uchar flags = uchar(data[10]);
    qsizetype at = kScreenDescriptorEnd + ((flags & 0x80) ? 3 << ((flags & 7) + 1) : 0);
    while (at < data.size() && uchar(data[at]) == 0x21) { // extensions before the first frame
        at += 2;
        while (at < data.size() && data[at] != 0)
            at += 1 + uchar(data[at]);
        ++at;
    }
    constexpr qsizetype kFrameDescriptorSize = 10;
    if (at + kFrameDescriptorSize <= data.size() && uchar(data[at]) == 0x2c)
        problem = declaredSizeRefusal(at16(at + 5), at16(at + 7));
    return problem;
}

QString bmpHeaderProblem(QByteArrayView data)
{
    constexpr qsizetype kFileHeaderSize = 14;
    if (data.size() < kFileHeaderSize + 4)
        return kEndsInHeader;
    // Qt's reader seeks to the pixel data wherever the header says, and complains on the
    // console when that is past the end.
    if (qFromLittleEndian<quint32>(data.data() + 10) > quint64(data.size()))
        return u"The pixel data would start past the end of the file"_s;

    const quint32 infoSize = qFromLittleEndian<quint32>(data.data() + kFileHeaderSize);
    if (infoSize == 12 && data.size() >= 22) { // the OS/2 header, 16-bit sizes
        return declaredSizeRefusal(qFromLittleEndian<quint16>(data.data() + 18),
                                   qFromLittleEndian<quint16>(data.data() + 20));
    }
    if (infoSize >= 40 && data.size() >= 26) {
        // A negative height marks rows stored top down.
        const qint64 height = qFromLittleEndian<qint32>(data.data() + 22);
        return declaredSizeRefusal(qFromLittleEndian<qint32>(data.data() + 18), height < 0 ? -height : height);
    }
    return {};
}

// The size stands in the IHDR chunk, which must come first; the reader would otherwise allocate
// whatever a hostile header asks for (up to Qt's limit) before finding the data short.
QString pngHeaderProblem(QByteArrayView data)
{
    constexpr qsizetype kHeaderEnd = 8 + 8 + 13;
    if (data.size() < kHeaderEnd)
        return kEndsInHeader;
    if (data.sliced(12, 4) != "IHDR")
        return u"The picture header (IHDR) is missing"_s;
    const qint64 width = qFromBigEndian<quint32>(data.data() + 16);
    const qint64 height = qFromBigEndian<quint32>(data.data() + 20);
    return sizeRefusal(width, height);
}

QString headerProblem(QByteArrayView data, QtFormat format)
{
    switch (format) {
    case QtFormat::Gif:
        return gifHeaderProblem(data);
    case QtFormat::Bmp:
        return bmpHeaderProblem(data);
    case QtFormat::Png:
        return pngHeaderProblem(data);
    }
    return {};
}

} // namespace

Picture decodeWithQt(const QByteArray &data, QtFormat format)
{
    const QByteArray formatKey = format == QtFormat::Gif ? "gif" : format == QtFormat::Bmp ? "bmp" : "png";
    const QString formatName = QString::fromLatin1(formatKey.toUpper());

    Picture picture;
    if (!hasSignature(data, format)) {
        picture.error = wrongFormatMessage(data, formatName);
        return picture;
    }
    picture.error = headerProblem(data, format);
    if (!picture.error.isEmpty())
        return picture;
    if (!QImageReader::supportedImageFormats().contains(formatKey)) {
        picture.error = u"No %1 decoder is installed"_s.arg(formatName);
        return picture;
    }

    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, formatKey);
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);

    // Behind the checks of the headers above stand the reader's own idea of the size and Qt's
    // allocation limit (128 MB unless the application changes it).
    const QSize declared = reader.size();
    if (declared.isValid()) {
        picture.error = sizeRefusal(declared.width(), declared.height());
        if (!picture.error.isEmpty())
            return picture;
    }

    QImage image;
    if (!reader.read(&image)) {
        picture.error = reader.errorString();
        return picture;
    }
    picture.error = sizeRefusal(image.width(), image.height());
    if (!picture.error.isEmpty())
        return picture;
    // 16-bit PNGs come as 64-bit pixels; everything else draws them as 8-bit ones.
    if (image.depth() > 32)
        image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    picture.image = image;
    return picture;
}

} // namespace Codecs::Internal
