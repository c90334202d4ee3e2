#include "uploadlist.h"

#include "document/pagemodel.h"
#include "platform/programfolder.h"
#include "platform/textutils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cctype>

namespace {

// The page escapes "%", "#" and "?" in picture names ("%25", "%23", "%3F"): each "%" and two
// hexadecimal digits become the byte they name, read as UTF-8; any other "%" stays.
QString decodePercent(const QString &ref)
{
    if (!ref.contains(QLatin1Char('%')))
        return ref;
    const QByteArray bytes = ref.toUtf8();
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '%' && i + 2 < bytes.size() && isxdigit(uchar(bytes[i + 1])) && isxdigit(uchar(bytes[i + 2]))) {
            out += char(QByteArray::fromHex(bytes.mid(i + 1, 2)).at(0));
            i += 2;
        } else {
            out += bytes[i];
        }
    }
    return QString::fromUtf8(out);
}

} // namespace

QStringList BuildUploadList(const TPagelette &page, const QString &programFolder)
{
    QStringList files;
    for (int i = 0; i < page.Page.Count(); ++i) {
        const TPageItem &item = *page.Page.Items(i);
        QString path;
        if (item.BlockType == btPageProperties && !item.PagePropertiesBlock.Background.isEmpty())
            path = programFolder + ProgramFiles::kUploadBackgrounds + item.PagePropertiesBlock.Background;
        else if (item.BlockType == btImage && !item.ImageBlock.FileName.isEmpty())
            path = programFolder + ProgramFiles::kUploadImages + item.ImageBlock.FileName;
        // "a.gif" and "A.GIF" are two files here; only the same path twice is one file.
        if (!path.isEmpty() && !files.contains(path) && QFileInfo(path).isFile())
            files.append(path);
    }
    std::stable_sort(files.begin(), files.end(),
                     [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return files;
}

QString PublishedPagePath(const QString &documentName, const QString &programFolder)
{
    const QString name = RemoveSpaces(StripExtension(QFileInfo(documentName).fileName()));
    return programFolder + ProgramFiles::kUpload + name + QStringLiteral(".html");
}

QStringList PublishFileList(const TPagelette &page, const QString &documentName, const QString &programFolder)
{
    QStringList files = BuildUploadList(page, programFolder);
    const QString html = PublishedPagePath(documentName, programFolder);
    if (QFileInfo(html).isFile())
        files.append(html);
    return files;
}

bool LiesInside(const QString &path, const QString &folder)
{
    const QString real = QFileInfo(path).canonicalFilePath();
    const QString root = QFileInfo(folder).canonicalFilePath();
    return !real.isEmpty() && !root.isEmpty() && real.startsWith(root + QLatin1Char('/'));
}

namespace {

// An attribute value as the browser reads it: character references replaced by their characters.
QString decodeReferences(const QString &value)
{
    static const QRegularExpression reference(QStringLiteral("&(#[0-9]{1,7}|#[xX][0-9a-fA-F]{1,6}|[a-zA-Z]+);"));
    static const QHash<QString, QChar> named{{QStringLiteral("amp"), u'&'},  {QStringLiteral("lt"), u'<'},
                                             {QStringLiteral("gt"), u'>'},   {QStringLiteral("quot"), u'"'},
                                             {QStringLiteral("apos"), u'\''}, {QStringLiteral("nbsp"), QChar(0xa0)}};
    QString out;
    qsizetype last = 0;
    for (auto it = reference.globalMatch(value); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString body = m.captured(1);
        char32_t code = 0;
        if (body.startsWith(QLatin1String("#x"), Qt::CaseInsensitive))
            code = body.mid(2).toUInt(nullptr, 16);
        else if (body.startsWith(QLatin1Char('#')))
            code = body.mid(1).toUInt();
        else if (named.contains(body))
            code = named.value(body).unicode();
        if (code == 0 || code > 0x10ffff)
            continue; // not a reference a browser would decode: kept as written
        out += value.mid(last, m.capturedStart() - last) + QString::fromUcs4(&code, 1);
        last = m.capturedEnd();
    }
    return out + value.mid(last);
}

} // namespace

QStringList PrePublishCheck(const QString &htmlPath, const QStringList &uploadList)
{
    QFile f(htmlPath);
    if (!f.open(QIODevice::ReadOnly))
        return {QFileInfo(htmlPath).fileName() + QStringLiteral(" is missing on disk")};
    // The page is Windows-1252 text; attribute values are ASCII in practice, Latin-1 keeps every byte.
    const QString html = QString::fromLatin1(f.readAll());
    static const QRegularExpression attribute(
        QStringLiteral("(?:SRC|BACKGROUND|HREF)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression external(QStringLiteral("^([a-z][a-z0-9+.-]*:|/|#)"),
                                             QRegularExpression::CaseInsensitiveOption);
    QSet<QString> listed;
    for (const QString &path : uploadList)
        listed.insert(QFileInfo(path).fileName());
    const QDir folder = QFileInfo(htmlPath).absoluteDir();
    QStringList problems;
    QSet<QString> seen;
    for (auto it = attribute.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        // As the browser reads it: character references first, then the query and fragment go, then the "%"
        // escapes the page writes for "%", "#" and "?" in picture names.
        const QString written = decodeReferences(m.captured(1) + m.captured(2) + m.captured(3))
                                    .section(QLatin1Char('#'), 0, 0)
                                    .section(QLatin1Char('?'), 0, 0)
                                    .trimmed();
        const QString ref = decodePercent(written);
        if (ref.isEmpty() || external.match(ref).hasMatch() || seen.contains(ref))
            continue;
        seen.insert(ref);
        // A page written before names were escaped may hold a file's name as is ("a%41.gif"); that will do too.
        if (listed.contains(ref) || listed.contains(written))
            continue;
        // The pictures wait in the upload folder's images and backgrounds folders.
        const auto onDisk = [&folder](const QString &name) {
            return folder.exists(name) || folder.exists(QStringLiteral("images/") + name) ||
                   folder.exists(QStringLiteral("backgrounds/") + name);
        };
        problems << ref + (onDisk(ref) || onDisk(written) ? QStringLiteral(" is not in the upload list")
                                                             : QStringLiteral(" is missing on disk"));
    }
    return problems;
}
