#include "filetypes.h"

#include "savefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

constexpr QStringView kProjectType = u"application/x-brisko-project";
constexpr QStringView kTemplateType = u"application/x-brisko-template";

QString dataFolder()
{
    const QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    return folders.isEmpty() ? QString() : folders.first();
}

// One argument of an Exec line: quoted, with the characters the desktop entry format reserves
// inside quotes escaped, then the string-value escape for the backslash and "%" doubled.
QString quotedExecArgument(const QString &argument)
{
    QString quoted;
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted.replace(u"\\"_s, u"\\\\"_s);
    quoted.replace(u"%"_s, u"%%"_s);
    return u'"' + quoted + u'"';
}

bool sameContent(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll() == bytes;
}

enum class Outcome { Unchanged, Written, Failed };

Outcome writeIfDifferent(const QString &folder, const QString &name, const QByteArray &bytes, QString *error)
{
    const QString path = folder + u'/' + name;
    if (sameContent(path, bytes))
        return Outcome::Unchanged;
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        if (error)
            *error = u"Cannot create the folder \"%1\"."_s.arg(QDir::toNativeSeparators(folder));
        return Outcome::Failed;
    }
    QString reason;
    if (!WriteFileAtomically(path, bytes, &reason)) {
        if (error)
            *error = u"Cannot write \"%1\": %2"_s.arg(QDir::toNativeSeparators(path), reason);
        return Outcome::Failed;
    }
    return Outcome::Written;
}

// The desktop's caches are rebuilt in the background; registration never waits for them.
void startDetachedIfInstalled(const QString &program, const QString &folder)
{
    const QString executable = QStandardPaths::findExecutable(program);
    if (!executable.isEmpty())
        QProcess::startDetached(executable, {folder});
}

} // namespace

QByteArray MimePackage()
{
    const auto mimeType = [](QStringView type, QStringView comment, QStringView glob) {
        return u"  <mime-type type=\"%1\">\n"
               u"    <comment>%2</comment>\n"
               u"    <glob pattern=\"%3\"/>\n"
               u"  </mime-type>\n"_s.arg(type, comment, glob);
    };
    const QString xml = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        u"<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"_s +
                        mimeType(kProjectType, u"Marlowen HTML Brisko File", u"*.mbe") +
                        mimeType(kTemplateType, u"Marlowen HTML Brisko Template", u"*.mbt") + u"</mime-info>\n"_s;
    return xml.toUtf8();
}

QByteArray DesktopEntry(const QString &execCommand)
{
    const QStringList lines = {
        u"[Desktop Entry]"_s,
        u"Type=Application"_s,
        u"Name=Marlowen HTML Brisko 4.0"_s,
        u"Comment=Build web pages from ready-made blocks"_s,
        u"Exec="_s + execCommand + u" %f"_s,
        u"Icon=brisko"_s,
        u"Terminal=false"_s,
        u"Categories=Development;WebDevelopment;"_s,
        u"MimeType="_s + kProjectType + u';' + kTemplateType + u';',
    };
    return (lines.join(u'\n') + u'\n').toUtf8();
}

bool RegisterFileTypes(const QString &programPath, QString *error)
{
    const QString data = dataFolder();
    if (data.isEmpty()) {
        if (error)
            *error = u"The user's data folder is not known."_s;
        return false;
    }
    const QString program = QFileInfo(programPath).absoluteFilePath();

    const QString mimeFolder = data + u"/mime"_s;
    const Outcome mime = writeIfDifferent(mimeFolder + u"/packages"_s, u"brisko.xml"_s, MimePackage(), error);
    if (mime == Outcome::Failed)
        return false;
    if (mime == Outcome::Written)
        startDetachedIfInstalled(u"update-mime-database"_s, mimeFolder);

    const QString applications = data + u"/applications"_s;
    const Outcome desktop =
        writeIfDifferent(applications, u"brisko.desktop"_s, DesktopEntry(quotedExecArgument(program)), error);
    if (desktop == Outcome::Failed)
        return false;
    if (desktop == Outcome::Written)
        startDetachedIfInstalled(u"update-desktop-database"_s, applications);
    return true;
}

QString HicolorIconPath(DesktopIcon::Kind kind, int size)
{
    const QString folder = u"%1x%1/"_s.arg(size);
    switch (kind) {
    case DesktopIcon::Kind::Program:
        break;
    case DesktopIcon::Kind::Project:
        return folder + u"mimetypes/"_s + kProjectType.toString().replace(u'/', u'-') + u".png"_s;
    case DesktopIcon::Kind::Template:
        return folder + u"mimetypes/"_s + kTemplateType.toString().replace(u'/', u'-') + u".png"_s;
    }
    return folder + u"apps/brisko.png"_s;
}

bool InstallFileTypeIcons(const QList<DesktopIcon> &icons, QString *error)
{
    const QString data = dataFolder();
    if (data.isEmpty()) {
        if (error)
            *error = u"The user's data folder is not known."_s;
        return false;
    }
    for (const DesktopIcon &icon : icons) {
        const QFileInfo path(data + u"/icons/hicolor/"_s + HicolorIconPath(icon.kind, icon.size));
        if (writeIfDifferent(path.path(), path.fileName(), icon.png, error) == Outcome::Failed)
            return false;
    }
    return true;
}

bool DesktopFilesInstalled(const QString &executableFolder)
{
    return QFileInfo::exists(executableFolder +
                             QStringLiteral("/" BRISKO_DATAROOT_FROM_BIN "/applications/brisko.desktop"));
}
