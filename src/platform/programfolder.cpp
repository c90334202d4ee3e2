#include "programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <system_error>

using namespace Qt::StringLiterals;

namespace fs = std::filesystem;

namespace {

// The user's own folders: what the user makes lives here, so the shipped pages go in only once,
// when the folder is new.
constexpr QStringView kUserFolders[] = {u"BriskoFiles", u"Templates", u"Upload"};

QString withSlash(const QString &folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

fs::path toPath(const QString &path)
{
    return fs::path(QFile::encodeName(path).toStdString());
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A link that points nowhere is still there, and must not be replaced either.
bool isThere(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

class Filler
{
public:
    QString firstError;

    void fail(const QString &message)
    {
        if (firstError.isEmpty())
            firstError = message;
    }

    // Makes the folder when it is missing; false (and the reason noted) when it is not a folder
    // afterwards.
    bool makeFolder(const QString &path)
    {
        std::error_code code;
        fs::create_directories(toPath(path), code);
        if (QFileInfo(path).isDir())
            return true;
        const QString reason = code ? QString::fromLocal8Bit(code.message()) : u"something else is in the way"_s;
        fail(u"Cannot create the folder \"%1\": %2"_s.arg(native(path), reason));
        return false;
    }

    void copyFile(const QString &from, const QString &to)
    {
        QFile source(from);
        if (!source.copy(to)) {
            fail(u"Cannot copy \"%1\" to \"%2\": %3"_s.arg(native(from), native(to), source.errorString()));
            return;
        }
        // Shipped files are read-only; the user's copies are the user's to change.
        QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void copyLink(const QString &from, const QString &to)
    {
        std::error_code code;
        const fs::path target = fs::read_symlink(toPath(from), code);
        if (!code)
            fs::create_symlink(target, toPath(to), code);
        if (code)
            fail(u"Cannot make the link \"%1\": %2"_s.arg(native(to), QString::fromLocal8Bit(code.message())));
    }

    // Copies what is missing from folder from into folder to: links and folders always, files
    // when withFiles is set. At the top, the user's own folders take their files only when new.
    void copyMissing(const QString &from, const QString &to, bool withFiles, bool top)
    {
        const QFileInfoList entries =
            QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
        for (const QFileInfo &entry : entries) {
            const QString target = to + u'/' + entry.fileName();
            const bool isNew = !isThere(target);
            if (entry.isSymLink()) {
                if (isNew)
                    copyLink(entry.filePath(), target);
            } else if (entry.isDir()) {
                if (!makeFolder(target))
                    continue;
                const bool userFolder = top && std::find(std::begin(kUserFolders), std::end(kUserFolders),
                                                         entry.fileName()) != std::end(kUserFolders);
                copyMissing(entry.filePath(), target, userFolder ? isNew : withFiles, false);
            } else if (top && entry.isExecutable()) {
                // A read-only program folder holds the executables beside the data: they stay.
                continue;
            } else if (withFiles && isNew) {
                copyFile(entry.filePath(), target);
            }
        }
    }
};

} // namespace

bool FillProgramFolder(const QString &sharedData, const QString &target, QString *error)
{
    Filler filler;
    const QString to = QDir::cleanPath(target);
    if (filler.makeFolder(to))
        filler.copyMissing(QDir::cleanPath(sharedData), to, true, true);
    if (error)
        *error = filler.firstError;
    return filler.firstError.isEmpty();
}

ProgramFolderSetup SetUpProgramFolder(const QString &executableFolder, const QString &userDataHome)
{
    ProgramFolderSetup setup;
    const QString own = withSlash(QDir::cleanPath(executableFolder));
    if (QFileInfo(own + ProgramFiles::kThemes).isFile()) {
        // The folder the build lays out, or a copy of it: the program works in it where it may.
        if (QFileInfo(own).isWritable()) {
            setup.folder = own;
            return setup;
        }
        setup.sharedData = own;
    } else {
        const QString installed = withSlash(QDir::cleanPath(own + QStringLiteral(BRISKO_DATAROOT_FROM_BIN "/brisko")));
        if (!QFileInfo(installed + ProgramFiles::kThemes).isFile()) {
            // No shipped data anywhere: the executable's folder, where start-up will miss it.
            setup.folder = own;
            return setup;
        }
        setup.sharedData = installed;
    }

    setup.folder = setup.sharedData;
    if (userDataHome.isEmpty()) {
        setup.error = u"The user's data folder is not known."_s;
        return setup;
    }
    const QString target = withSlash(QDir::cleanPath(userDataHome)) + ProgramFiles::kUserFolder;
    FillProgramFolder(setup.sharedData, target, &setup.error);
    const QFileInfo made(target);
    if (made.isDir() && made.isWritable()) {
        setup.folder = target;
        setup.perUser = true;
    } else if (setup.error.isEmpty()) {
        setup.error = u"The folder \"%1\" cannot be written."_s.arg(native(target));
    }
    return setup;
}

const ProgramFolderSetup &CurrentProgramFolder()
{
    static const ProgramFolderSetup setup = SetUpProgramFolder(
        QCoreApplication::applicationDirPath(), QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    return setup;
}

QString ProgramFolder()
{
    return CurrentProgramFolder().folder;
}
