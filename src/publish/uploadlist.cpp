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
        QString ref = m.captured(1) + m.captured(2) + m.captured(3);
        ref = decodePercent(ref.section(QLatin1Char('#'), 0, 0).section(QLatin1Char('?'), 0, 0).trimmed());
        if (ref.isEmpty() || external.match(ref).hasMatch() || seen.contains(ref))
            continue;
        seen.insert(ref);
        if (listed.contains(ref))
            continue;
        // The pictures wait in the upload folder's images and backgrounds folders.
        const bool onDisk = folder.exists(ref) || folder.exists(QStringLiteral("images/") + ref) ||
                            folder.exists(QStringLiteral("backgrounds/") + ref);
        problems << ref + (onDisk ? QStringLiteral(" is not in the upload list") : QStringLiteral(" is missing on disk"));
    }
    return problems;
}
