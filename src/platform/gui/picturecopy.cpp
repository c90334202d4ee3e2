#include "picturecopy.h"

#include "busycursor.h"
#include "messages.h"
#include "shell.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

bool sameContent(const QString &a, const QString &b)
{
    const QFileInfo first(a), second(b);
    if (!first.isFile() || !second.isFile())
        return false;
    if (first.canonicalFilePath() == second.canonicalFilePath())
        return true;
    if (first.size() != second.size())
        return false;
    QFile one(a), two(b);
    if (!one.open(QIODevice::ReadOnly) || !two.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 kChunk = 64 * 1024;
    while (!one.atEnd()) {
        if (one.read(kChunk) != two.read(kChunk))
            return false;
    }
    return true;
}

// "pic-2.png", "pic-3.png"...: the first that is free or already holds source's picture. The
// number goes before the last suffix only, so "a.b.gif" becomes "a.b-2.gif".
QString keepBothPath(const QString &source, const QString &folder)
{
    const QString name = QFileInfo(source).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString suffix = dot > 0 ? name.mid(dot) : QString();
    for (int n = 2;; ++n) {
        const QString candidate = folder + stem + u'-' + QString::number(n) + suffix;
        if (!QFileInfo::exists(candidate) || sameContent(source, candidate))
            return candidate;
    }
}

StoredPicture copyTo(const QString &source, const QString &target)
{
    StoredPicture result{StoredPicture::Stored, target, {}};
    if (sameContent(source, target))
        return result;
    BusyCursor busy;
    if (!ShellCopyFile(source, target, &result.error)) {
        result.outcome = StoredPicture::Failed;
        if (result.error.isEmpty())
            result.error = u"The file could not be copied."_s;
    }
    return result;
}

} // namespace

StoredPicture StorePicture(QWidget *parent, const QString &source, const QString &folder)
{
    const QString name = QFileInfo(source).fileName();
    const QString stored = folder + name;
    if (!QFileInfo::exists(stored) || sameContent(source, stored))
        return copyTo(source, stored);

    const QString other = keepBothPath(source, folder);
    const int answer = Messages::show(
        parent, Messages::Kind::Confirmation,
        u"The folder \"%1\" already holds a different picture named \"%2\".\n\nDo you want to replace it? Every page "
        u"and theme that uses \"%2\" will then show the new picture.\n\nYes replaces it. No keeps both: the new "
        u"picture is saved as \"%3\". Cancel leaves everything as it was."_s.arg(QDir::toNativeSeparators(folder), name,
                                                                                 QFileInfo(other).fileName()),
        Messages::Yes | Messages::No | Messages::Cancel);
    if (answer == Messages::Yes)
        return copyTo(source, stored);
    if (answer == Messages::No)
        return copyTo(source, other);
    return {};
}
