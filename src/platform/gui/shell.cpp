#include "shell.h"

#include "messages.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

#include <cerrno>
#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

enum Operation { Move = 1, Copy = 2, Delete = 3, Rename = 4 };
// The shell's "one target per source" flag; without it the target is a single folder when
// there are several sources.
constexpr int kMultipleTargets = 0x1;

// The names of a comma-separated list as the shell reads the zero-separated form built from
// it: the list ends at the first empty name.
QStringList names(const QString &list)
{
    QStringList result;
    for (const QString &name : list.split(u',')) {
        if (name.isEmpty())
            break;
        result.append(name);
    }
    return result;
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

// Copies through a temporary file beside the target, so a failed copy never leaves a cut-off
// file and an existing target is replaced only by a complete one.
bool copyFile(const QString &source, const QString &target, QString *error)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fail(error, u"Cannot read \"%1\": %2"_s.arg(native(source), in.errorString()));
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return fail(error, u"Cannot write \"%1\": %2"_s.arg(native(target), out.errorString()));
    QByteArray buffer(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(buffer.data(), buffer.size());
        if (got < 0) {
            out.cancelWriting();
            return fail(error, u"Cannot read \"%1\": %2"_s.arg(native(source), in.errorString()));
        }
        if (got == 0)
            break;
        if (out.write(buffer.constData(), got) != got) {
            const QString reason = out.errorString();
            out.cancelWriting();
            return fail(error, u"Cannot write \"%1\": %2"_s.arg(native(target), reason));
        }
    }
    if (!out.flush() || !out.commit()) {
        const QString reason = out.error() != QFileDevice::NoError ? out.errorString() : u"the disk may be full"_s;
        out.cancelWriting();
        return fail(error, u"Cannot write \"%1\": %2"_s.arg(native(target), reason));
    }
    // A copy keeps the time the picture was last changed, as the shell's copy does.
    QFile copied(target);
    if (copied.open(QIODevice::ReadWrite))
        copied.setFileTime(QFileInfo(source).lastModified(), QFileDevice::FileModificationTime);
    return true;
}

// Replaces target with source in one step when both are on the same file system.
bool renameOver(const QString &source, const QString &target, QString *reason)
{
    if (std::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) == 0)
        return true;
    if (reason)
        *reason = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

// Where source goes: into target when target is a folder (or was named as one), else target.
QString destination(const QString &source, const QString &target, bool targetIsFolder)
{
    if (targetIsFolder || target.endsWith(u'/') || QFileInfo(target).isDir())
        return QDir(target).filePath(QFileInfo(source).fileName());
    return target;
}

bool makeParentFolder(const QString &path, QString *error)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo(folder).isDir() || QDir().mkpath(folder))
        return true;
    return fail(error, u"Cannot create the folder \"%1\"."_s.arg(native(folder)));
}

bool isSameFile(const QString &a, const QString &b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    return first.exists() && second.exists() && first.canonicalFilePath() == second.canonicalFilePath();
}

bool copyOne(const QString &source, const QString &target, QString *error)
{
    if (!QFileInfo(source).isFile())
        return fail(error, u"The file \"%1\" does not exist."_s.arg(native(source)));
    if (isSameFile(source, target))
        return true;
    if (QFileInfo(target).isDir())
        return fail(error, u"Cannot replace the folder \"%1\" with a file."_s.arg(native(target)));
    return makeParentFolder(target, error) && copyFile(source, target, error);
}

bool moveOne(const QString &source, const QString &target, QString *error)
{
    const QFileInfo info(source);
    if (!info.exists() && !info.isSymLink())
        return fail(error, u"The file \"%1\" does not exist."_s.arg(native(source)));
    if (isSameFile(source, target))
        return true;
    if (QFileInfo(target).isDir())
        return fail(error, u"Cannot replace the folder \"%1\"."_s.arg(native(target)));
    if (!makeParentFolder(target, error))
        return false;
    QString reason;
    if (renameOver(source, target, &reason))
        return true;
    // Another file system: copy, then remove the original.
    if (info.isFile() && errno == EXDEV) {
        if (!copyFile(source, target, error))
            return false;
        if (!QFile::remove(source))
            return fail(error, u"Cannot remove \"%1\" after copying it."_s.arg(native(source)));
        return true;
    }
    return fail(error, u"Cannot move \"%1\" to \"%2\": %3"_s.arg(native(source), native(target), reason));
}

bool renameOne(const QString &source, const QString &target, QString *error)
{
    const QFileInfo info(source);
    if (!info.exists() && !info.isSymLink())
        return fail(error, u"The file \"%1\" does not exist."_s.arg(native(source)));
    if (QFileInfo::exists(target) && !isSameFile(source, target))
        return fail(error, u"Cannot rename \"%1\": \"%2\" already exists."_s.arg(native(source), native(target)));
    QString reason;
    if (!renameOver(source, target, &reason))
        return fail(error, u"Cannot rename \"%1\" to \"%2\": %3"_s.arg(native(source), native(target), reason));
    return true;
}

bool deleteOne(const QString &source, QString *error)
{
    const QFileInfo info(source);
    if (!info.exists() && !info.isSymLink())
        return fail(error, u"The file \"%1\" does not exist."_s.arg(native(source)));
    const bool removed = info.isDir() && !info.isSymLink() ? QDir(source).removeRecursively() : QFile::remove(source);
    if (!removed)
        return fail(error, u"Cannot delete \"%1\"."_s.arg(native(source)));
    return true;
}

} // namespace

bool ShellCopyFile(const QString &source, const QString &target, QString *error)
{
    return copyOne(source, target, error);
}

namespace {

std::function<bool(const QUrl &)> &openUrlHandler()
{
    static std::function<bool(const QUrl &)> handler;
    return handler;
}

} // namespace

bool OpenUrl(const QString &pathOrAddress)
{
    const bool opened = OpenWithDesktop(pathOrAddress);
    if (!opened)
        Messages::information(QApplication::activeWindow(), kNoDefaultClientMessage.toString());
    return opened;
}

bool OpenWithDesktop(const QString &pathOrAddress)
{
    if (pathOrAddress.isEmpty())
        return false;
    QUrl url;
    const QUrl parsed(pathOrAddress);
    // A single-letter scheme would be a drive letter; a path without scheme is a local file.
    if (parsed.isValid() && parsed.scheme().size() > 1)
        url = parsed;
    else if (QFileInfo::exists(pathOrAddress) || pathOrAddress.startsWith(u'/'))
        url = QUrl::fromLocalFile(QFileInfo(pathOrAddress).absoluteFilePath());
    else
        url = QUrl::fromUserInput(pathOrAddress);
    return url.isValid() && (openUrlHandler() ? openUrlHandler()(url) : QDesktopServices::openUrl(url));
}

void SetOpenUrlHandler(std::function<bool(const QUrl &)> handler)
{
    openUrlHandler() = std::move(handler);
}

bool ShellFileOperation(const QString &sources, const QString &targets, int operation, int flags, QString *error)
{
    if (operation < Move || operation > Rename)
        return fail(error, u"Unknown file operation %1."_s.arg(operation));
    const QStringList from = names(sources);
    if (from.isEmpty())
        return fail(error, u"No file to work on."_s);
    if (operation == Delete) {
        for (const QString &source : from) {
            if (!deleteOne(source, error))
                return false;
        }
        return true;
    }

    const QStringList to = names(targets);
    if (to.isEmpty())
        return fail(error, u"No target for \"%1\"."_s.arg(native(from.constFirst())));
    const bool pairwise = (flags & kMultipleTargets) != 0 || operation == Rename;
    if (pairwise && to.size() != from.size())
        return fail(error, u"The lists of files and targets differ in length."_s);
    // Several sources into one target: the target is a folder.
    const bool intoFolder = !pairwise && from.size() > 1;
    if (intoFolder && !QFileInfo(to.constFirst()).isDir() && !QDir().mkpath(to.constFirst()))
        return fail(error, u"Cannot create the folder \"%1\"."_s.arg(native(to.constFirst())));

    for (qsizetype i = 0; i < from.size(); ++i) {
        const QString &source = from.at(i);
        const QString &target = pairwise ? to.at(i) : to.constFirst();
        bool done = false;
        switch (operation) {
        case Copy:
            done = copyOne(source, destination(source, target, intoFolder), error);
            break;
        case Move:
            done = moveOne(source, destination(source, target, intoFolder), error);
            break;
        case Rename:
            done = renameOne(source, target, error);
            break;
        }
        if (!done)
            return false;
    }
    return true;
}
