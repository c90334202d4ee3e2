#include "recovery.h"

#include "document/pagefile.h"
#include "platform/savefile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A copy is this line, the document name in UTF-8 on the next, then the page as a project file.
constexpr QByteArrayView kSignature = "Brisko recovery 1\n";
constexpr QStringView kCopySuffix = u".recovery";
constexpr QStringView kLockSuffix = u".lock";
constexpr int kDefaultInterval = 15000;

QString lockPathOf(const QString &copyPath)
{
    return copyPath.chopped(kCopySuffix.size()) + kLockSuffix;
}

} // namespace

RecoveryKeeper::RecoveryKeeper(PageDocument &document, std::function<TPagelette()> snapshot, const QString &folder)
    : m_document(document), m_snapshot(std::move(snapshot)), m_folder(folder.isEmpty() ? defaultFolder() : folder)
{
    m_timer.setInterval(kDefaultInterval);
    connect(&m_timer, &QTimer::timeout, this, [this] { check(); });
    // A new or opened page is what the user has; a saved page, or one whose changes the user
    // gave up, needs no copy any more.
    connect(&m_document, &PageDocument::pageReset, this, &RecoveryKeeper::markClean);
    connect(&m_document, &PageDocument::modifiedChanged, this, [this](bool modified) {
        if (!modified) {
            markClean();
            discard();
        }
    });
    markClean();
}

RecoveryKeeper::~RecoveryKeeper() = default;

QString RecoveryKeeper::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/Brisko/Recovery/";
}

QString RecoveryKeeper::copyPath() const
{
    return m_folder + u"brisko-%1"_s.arg(QCoreApplication::applicationPid()) + kCopySuffix;
}

bool RecoveryKeeper::start(QString *error)
{
    if (!QDir().mkpath(m_folder)) {
        if (error)
            *error = u"The folder %1 cannot be created."_s.arg(QDir::toNativeSeparators(m_folder));
        return false;
    }
    m_lock = std::make_unique<QLockFile>(lockPathOf(copyPath()));
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        if (error)
            *error = u"The recovery lock %1 cannot be taken."_s.arg(QDir::toNativeSeparators(m_lock->fileName()));
        m_lock.reset();
        return false;
    }
    m_timer.start();
    return true;
}

void RecoveryKeeper::markClean()
{
    m_clean = DocumentBytes(m_document.page());
}

bool RecoveryKeeper::check(QString *error)
{
    if (!m_lock)
        return true;
    const QByteArray bytes = DocumentBytes(m_snapshot());
    if (m_clean && bytes == *m_clean) {
        // Back to what was saved (an edit undone by hand): nothing to recover.
        discard();
        return true;
    }
    if (bytes == m_written)
        return true;
    QByteArray copy = kSignature.toByteArray();
    copy += m_document.name().toUtf8() + '\n';
    copy += bytes;
    QString reason;
    if (!WriteFileAtomically(copyPath(), copy, &reason)) {
        if (error)
            *error = reason;
        return false;
    }
    m_written = bytes;
    return true;
}

void RecoveryKeeper::discard()
{
    if (!m_written.isEmpty() || QFile::exists(copyPath()))
        QFile::remove(copyPath());
    m_written.clear();
}

std::vector<RecoveryKeeper::Orphan> RecoveryKeeper::orphans(const QString &folder)
{
    std::vector<Orphan> result;
    QFileInfoList copies = QDir(folder).entryInfoList({u"*"_s + kCopySuffix}, QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo &info : copies) {
        const QString path = info.absoluteFilePath();
        // A copy whose lock is still held belongs to a program that is running now.
        QLockFile lock(lockPathOf(path));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue;
        lock.unlock();
        Orphan orphan{path, {}};
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            // A name line cut short by the end of the file is no name.
            const QByteArray line = file.read(kSignature.size()) == kSignature ? file.readLine() : QByteArray();
            if (line.endsWith('\n'))
                orphan.documentName = QString::fromUtf8(line.chopped(1));
        }
        if (orphan.documentName.isEmpty())
            orphan.documentName = PageDocument::kUntitled.toString();
        result.push_back(orphan);
    }
    return result;
}

DocumentOutcome RecoveryKeeper::restore(const Orphan &orphan, PageDocument &document)
{
    QFile file(orphan.path);
    QString error;
    auto page = std::make_unique<TPagelette>();
    bool read = false;
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
    } else if (file.read(kSignature.size()) != kSignature || !file.readLine().endsWith('\n')) {
        error = u"It is not a recovery copy."_s;
    } else {
        read = ReadDocument(file, *page, &error);
    }
    file.close();
    if (!read) {
        const QString aside = orphan.path + u".damaged";
        QFile::remove(aside);
        QFile::rename(orphan.path, aside);
        QFile::remove(lockPathOf(orphan.path));
        return DocumentOutcome::failure(u"The recovered changes could not be read. They were kept as %1."_s.arg(
                                            QDir::toNativeSeparators(aside)),
                                        error);
    }
    document.adopt(std::move(page), orphan.documentName);
    remove(orphan);
    return DocumentOutcome::success();
}

void RecoveryKeeper::remove(const Orphan &orphan)
{
    QFile::remove(orphan.path);
    QFile::remove(lockPathOf(orphan.path));
}
