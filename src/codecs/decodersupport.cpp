#include "codecs/decodersupport.h"

using namespace Qt::StringLiterals;

namespace Codecs::Internal {

namespace {

// What the data look like, judged by the signatures of the formats a user is likely to have.
QString sniffedFormat(QByteArrayView data)
{
    if (data.startsWith("\xff\xd8\xff"))
        return QStringLiteral("JPEG");
    if (data.startsWith("GIF87a") || data.startsWith("GIF89a"))
        return QStringLiteral("GIF");
    if (data.startsWith("BM"))
        return QStringLiteral("BMP");
    if (data.startsWith("\x89PNG\r\n\x1a\n"))
        return QStringLiteral("PNG");
    return {};
}

} // namespace

QString sizeRefusal(qint64 width, qint64 height)
{
    if (width <= 0 || height <= 0)
        return QStringLiteral("The picture has no pixels (%1 by %2)").arg(width).arg(height);
    // Both sides are checked first, so the product below cannot overflow.
    if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) {
        return QStringLiteral("The picture is too large (%1 by %2 pixels; at most %3 pixels a side and %4 "
                              "million in all)")
            .arg(width)
            .arg(height)
            .arg(kMaxSide)
            .arg(kMaxPixels / 1'000'000);
    }
    return {};
}

QString wrongFormatMessage(QByteArrayView data, QStringView formatName)
{
    QString message = u"Not a "_s + formatName + u" file"_s;
    if (data.size() >= 2) {
        message += QStringLiteral(": starts with 0x%1 0x%2")
                       .arg(uchar(data[0]), 2, 16, QLatin1Char('0'))
                       .arg(uchar(data[1]), 2, 16, QLatin1Char('0'));
    }
    const QString sniffed = sniffedFormat(data);
    if (!sniffed.isEmpty() && sniffed != formatName)
        message += u" (looks like a "_s + sniffed + u" picture)"_s;
    return message;
}

} // namespace Codecs::Internal
