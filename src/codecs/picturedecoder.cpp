#include "codecs/picturedecoder.h"

#include "codecs/jpegdecoder.h"
#include "codecs/qtdecoder.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

using namespace Qt::StringLiterals;

namespace Codecs {

namespace {

enum class Decoder { Jpeg, Gif, Bmp, Png };

std::optional<Decoder> decoderFor(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"jpg" || suffix == u"jpeg")
        return Decoder::Jpeg;
    if (suffix == u"gif")
        return Decoder::Gif;
    if (suffix == u"bmp")
        return Decoder::Bmp;
    if (suffix == u"png")
        return Decoder::Png;
    return std::nullopt;
}

// Reports Started now and Finished when the decode is over, whichever way it ends.
class ProgressScope
{
public:
    explicit ProgressScope(const ProgressHandler &handler) : m_handler(handler)
    {
        if (m_handler)
            m_handler(Progress::Started);
    }
    ~ProgressScope()
    {
        if (m_handler)
            m_handler(Progress::Finished);
    }
    ProgressScope(const ProgressScope &) = delete;
    ProgressScope &operator=(const ProgressScope &) = delete;

private:
    const ProgressHandler &m_handler;
};

QString displayName(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

Picture failure(const QString &message)
{
    Picture picture;
    picture.error = message;
    return picture;
}

QString unsupportedReason(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.isEmpty())
        return u"The file name has no extension; pictures must be GIF, JPEG, PNG or BMP files"_s;
    return u"Unsupported picture type \".%1\"; pictures must be GIF, JPEG, PNG or BMP files"_s.arg(suffix);
}

Picture decodeBytes(const QByteArray &data, const QString &fileName, Decoder decoder)
{
    Picture picture;
    if (data.isEmpty()) {
        picture.error = u"The file is empty"_s;
    } else {
        switch (decoder) {
        case Decoder::Jpeg:
            picture = Internal::decodeJpeg(data);
            break;
        case Decoder::Gif:
            picture = Internal::decodeWithQt(data, Internal::QtFormat::Gif);
            break;
        case Decoder::Bmp:
            picture = Internal::decodeWithQt(data, Internal::QtFormat::Bmp);
            break;
        case Decoder::Png:
            picture = Internal::decodeWithQt(data, Internal::QtFormat::Png);
            break;
        }
    }
    const QString name = displayName(fileName);
    if (!picture.error.isEmpty()) {
        picture.image = QImage();
        picture.error = u"Cannot decode "_s + name + u": "_s + picture.error;
    } else if (picture.image.isNull()) {
        picture.error = u"Cannot decode "_s + name + u": The decoder returned no picture"_s;
    } else if (!picture.warning.isEmpty()) {
        picture.warning = name + u" is damaged: "_s + picture.warning;
    }
    return picture;
}

// Reads the whole file, refusing it once it passes kMaxFileBytes. It is read in chunks so that
// the limit holds even for a file that grows while we read it.
std::optional<QByteArray> readBounded(const QString &path, QString *error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        *error = u"No such file"_s;
        return std::nullopt;
    }
    // Opening a named pipe would wait for a writer; folders and devices are no pictures either.
    if (!info.isFile()) {
        *error = info.isDir() ? u"It is a folder"_s : u"Not a regular file"_s;
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    const QString tooLarge = u"The file is larger than %1 MB"_s.arg(kMaxFileBytes / (1024 * 1024));
    if (file.size() > kMaxFileBytes) {
        *error = tooLarge;
        return std::nullopt;
    }
    QByteArray data;
    data.reserve(file.size());
    char chunk[64 * 1024];
    for (;;) {
        const qint64 count = file.read(chunk, sizeof chunk);
        if (count < 0) {
            *error = file.errorString();
            return std::nullopt;
        }
        if (count == 0)
            break;
        if (data.size() + count > kMaxFileBytes) {
            *error = tooLarge;
            return std::nullopt;
        }
        data.append(chunk, count);
    }
    return data;
}

} // namespace

bool isSupportedPicture(const QString &path)
{
    return decoderFor(path).has_value();
}

Picture decodePicture(const QString &path, const ProgressHandler &progress)
{
    const ProgressScope scope(progress);
    const std::optional<Decoder> decoder = decoderFor(path);
    if (!decoder)
        return failure(u"Cannot decode "_s + displayName(path) + u": "_s + unsupportedReason(path));
    QString error;
    const std::optional<QByteArray> data = readBounded(path, &error);
    if (!data)
        return failure(u"Cannot open "_s + displayName(path) + u": "_s + error);
    return decodeBytes(*data, path, *decoder);
}

Picture decodePictureData(const QByteArray &data, const QString &fileName, const ProgressHandler &progress)
{
    const ProgressScope scope(progress);
    const std::optional<Decoder> decoder = decoderFor(fileName);
    if (!decoder)
        return failure(u"Cannot decode "_s + displayName(fileName) + u": "_s + unsupportedReason(fileName));
    return decodeBytes(data, fileName, *decoder);
}

} // namespace Codecs
