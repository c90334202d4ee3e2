#include "recovery.h"

#include "document/pagefile.h"
#include "platform/savefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// A copy is this line, the document name in UTF-8 on the next, then the page as a project file.
constexpr QByteArrayView kSignature = "Brisko recovery 1\n";
constexpr QStringView kCopySuffix = u".recovery";
constexpr QStringView kLockSuffix = u".lock";
constexpr int kDefaultInterval = 15000;

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kOwnerOnlyFolder = kOwnerOnly | QFileDevice::ExeOwner;

QString lockPathOf(const QString &copyPath)
{
    return copyPath.chopped(kCopySuffix.size()) + kLockSuffix;
}

} // namespace

// An exclusive lock on a file, held through an open descriptor (flock). The system releases it
// when the descriptor closes, also when the process dies, so no stale lock can outlive a run and
// no later process can be taken for its owner.
class RecoveryKeeper::RunLock
{
public:
    // Takes the lock on path, creating the file (owner only) when missing; isHeld() tells.
    explicit RunLock(const QString &path)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~RunLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    RunLock(const RunLock &) = delete;
    RunLock &operator=(const RunLock &) = delete;

    bool isHeld() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

RecoveryKeeper::RecoveryKeeper(PageDocument &document, Uncommitted uncommitted, const QString &folder)
    : m_document(document), m_uncommitted(std::move(uncommitted)),
      m_folder(folder.isEmpty() ? defaultFolder() : folder)
{
    // The process id tells a person whose copy it was; the random part keeps a later run that
    // gets the same id from taking over the copy.
    m_copyName = u"brisko-%1-%2"_s.arg(QCoreApplication::applicationPid())
                     .arg(QRandomGenerator::system()->generate64(), 16, 16, QChar(u'0'));
    m_timer.setInterval(kDefaultInterval);
    connect(&m_timer, &QTimer::timeout, this, [this] { check(); });
    connect(&m_document, &PageDocument::changed, this, [this] { m_changedSinceWritten = true; });
    // A saved page, or one whose changes the user gave up, needs no copy any more.
    connect(&m_document, &PageDocument::modifiedChanged, this, [this](bool modified) {
        if (!modified)
            discard();
    });
}

RecoveryKeeper::~RecoveryKeeper()
{
    // A run that ends normally leaves nothing behind; a copy still here waits for the next start.
    if (m_lock && !QFile::exists(copyPath()))
        QFile::remove(lockPathOf(copyPath()));
}

QString RecoveryKeeper::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/Brisko/Recovery/";
}

QString RecoveryKeeper::copyPath() const
{
    return m_folder + m_copyName + kCopySuffix;
}

bool RecoveryKeeper::start(QString *error)
{
    // An existing folder is made private too: it may come from a version that left it open.
    if (!QDir().mkpath(m_folder) || !QFile::setPermissions(m_folder, kOwnerOnlyFolder)) {
        if (error)
            *error = u"The folder %1 cannot be created."_s.arg(QDir::toNativeSeparators(m_folder));
        return false;
    }
    const QString lockPath = lockPathOf(copyPath());
    m_lock = std::make_unique<RunLock>(lockPath);
    if (!m_lock->isHeld()) {
        if (error)
            *error = u"The recovery lock %1 cannot be taken."_s.arg(QDir::toNativeSeparators(lockPath));
        m_lock.reset();
        return false;
    }
    m_timer.start();
    return true;
}

bool RecoveryKeeper::check(QString *error)
{
    if (!m_lock)
        return true;
    const std::optional<TPagelette> withPanel = m_uncommitted ? m_uncommitted() : std::nullopt;
    if (!withPanel && !m_document.differsFromFile()) {
        // Nothing done, or everything undone, since the page was saved or opened.
        discard();
        return true;
    }
    if (!withPanel && !m_changedSinceWritten && !m_written.isEmpty())
        return true;
    const QByteArray bytes = DocumentBytes(withPanel ? *withPanel : m_document.page());
    m_changedSinceWritten = false;
    if (bytes == m_written)
        return true;
    QByteArray copy = kSignature.toByteArray();
    copy += m_document.name().toUtf8() + '\n';
    copy += bytes;
    QString reason;
    const auto write = [&copy](QIODevice &device) {
        // The temporary file becomes the copy: it is the owner's alone before it holds anything.
        auto *file = qobject_cast<QSaveFile *>(&device);
        return file && file->setPermissions(kOwnerOnly) && device.write(copy) == copy.size();
    };
    if (!WriteFileAtomically(copyPath(), write, &reason)) {
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
        if (!RunLock(lockPathOf(path)).isHeld())
            continue;
        QFile::setPermissions(path, kOwnerOnly); // a copy left open by an older version
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
        return DocumentOutcome::failure(DocumentError::RecoveryUnreadable, u"The recovered changes could not be read. They were kept as %1."_s.arg(
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
