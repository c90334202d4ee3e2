#include "htmlfile.h"

#include "platform/savefile.h"

#include <QDir>

namespace {

void appendReference(QByteArray &bytes, char32_t codePoint)
{
    bytes += "&#";
    bytes += QByteArray::number(quint32(codePoint));
    bytes += ';';
}

} // namespace

QByteArray EncodeHtmlLines(const QStringList &lines)
{
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 2;
    QByteArray bytes;
    bytes.reserve(size);
    for (const QString &line : lines) {
        const char16_t *data = QStringView(line).utf16();
        const qsizetype n = line.size();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = data[i];
            if (c < 0x80) {
                bytes += char(c);
                continue;
            }
            if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(data[i + 1])) {
                appendReference(bytes, QChar::surrogateToUcs4(c, data[i + 1]));
                ++i;
            } else if (QChar::isSurrogate(c)) {
                appendReference(bytes, QChar::ReplacementCharacter);
            } else {
                appendReference(bytes, c);
            }
        }
        bytes += "\r\n";
    }
    return bytes;
}

bool WriteHtmlFile(const QString &path, const QStringList &lines, QString *error)
{
    QString reason;
    if (WriteFileAtomically(path, EncodeHtmlLines(lines), &reason))
        return true;
    if (error)
        *error = QStringLiteral("Cannot write the page \"%1\": %2").arg(QDir::toNativeSeparators(path), reason);
    return false;
}
