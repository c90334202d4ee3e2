#include "viewer/references.h"

#include "platform/cp1252.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

namespace References {

namespace {

int hexValue(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

QString decodeBytes(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = Cp1252::decode(bytes);
    return text;
}

// "http:", "mailto:" and the like; a single letter before the colon is a drive.
bool hasScheme(QStringView reference)
{
    qsizetype i = 0;
    while (i < reference.size()) {
        const QChar c = reference[i];
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
        if (!letter && !(i > 0 && (c.isDigit() || c == u'+' || c == u'-' || c == u'.')))
            break;
        ++i;
    }
    return i >= 2 && i < reference.size() && reference[i] == u':';
}

bool isDrivePath(QStringView path)
{
    return path.size() >= 2 && path[1] == u':' && path[0].isLetter();
}

QString toSlashes(QString path)
{
    path.replace(u'\\', u'/');
    return path;
}

} // namespace

QString decodePercent(QStringView reference)
{
    if (!reference.contains(u'%'))
        return reference.toString();
    QString out;
    QByteArray pending;
    for (qsizetype i = 0; i < reference.size(); ++i) {
        if (reference[i] == u'%' && i + 2 < reference.size() && hexValue(reference[i + 1]) >= 0 &&
            hexValue(reference[i + 2]) >= 0) {
            pending += char(hexValue(reference[i + 1]) * 16 + hexValue(reference[i + 2]));
            i += 2;
            continue;
        }
        if (!pending.isEmpty()) {
            out += decodeBytes(pending);
            pending.clear();
        }
        out += reference[i];
    }
    if (!pending.isEmpty())
        out += decodeBytes(pending);
    return out;
}

bool namesNoFile(QStringView reference)
{
    const QString path = decodePercent(reference.trimmed());
    return path.isEmpty() || path.endsWith(u'/') || path.endsWith(u'\\');
}

QString resolve(QStringView reference, const QString &serverRoot, const QString &baseFolder)
{
    QString path = decodePercent(reference.trimmed());
    if (path.contains(u'/')) {
        if (path.startsWith(u"file://", Qt::CaseInsensitive)) {
            path.remove(0, 7);
            if (path.size() >= 3 && path[0] == u'/' && path[1].isLetter() && (path[2] == u':' || path[2] == u'|'))
                path.remove(0, 1);
        }
        path.replace(u'|', u':');
    }
    path = toSlashes(path);
    if (path.isEmpty() || hasScheme(path))
        return {};
    if (isDrivePath(path) || path.startsWith(u"//"))
        return path; // a place of another system; it will not be found
    if (path.startsWith(u'/')) {
        const QString root = toSlashes(serverRoot);
        if (root.isEmpty())
            return matchCase(QDir::cleanPath(path));
        const QString absolute = matchCase(QDir::cleanPath(path));
        const QString folder = QFileInfo(absolute).path();
        if (QFileInfo::exists(absolute) || (folder != u"/" && QFileInfo(folder).isDir()))
            return absolute;
        return matchCase(QDir::cleanPath(root % u'/' % path));
    }
    if (!baseFolder.isEmpty())
        path = toSlashes(baseFolder) % u'/' % path;
    return matchCase(QDir::cleanPath(path));
}

QString matchCase(const QString &path)
{
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;
    const bool absolute = path.startsWith(u'/');
    const QStringList names = path.split(u'/', Qt::SkipEmptyParts);
    QString current = absolute ? QStringLiteral("/") : QString();
    for (const QString &name : names) {
        const QString folder = current.isEmpty() ? QStringLiteral(".") : current;
        QString candidate = current % name;
        if (name != u"." && name != u".." && !QFileInfo::exists(candidate)) {
            const QStringList entries = QDir(folder).entryList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
            const auto match = std::find_if(entries.cbegin(), entries.cend(), [&](const QString &entry) {
                return entry.compare(name, Qt::CaseInsensitive) == 0;
            });
            if (match == entries.cend())
                return path;
            candidate = current % *match;
        }
        current = candidate % u'/';
    }
    current.chop(1);
    return current;
}

} // namespace References
