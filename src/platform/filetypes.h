#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Tells the desktop that ".mbe" projects and ".mbt" templates open with this program: a
// shared-MIME-info package and a desktop entry in the user's data folder (XDG_DATA_HOME, by
// default ~/.local/share), each written only when missing or different. programPath is the
// executable. False with the reason when a file cannot be written.
bool RegisterFileTypes(const QString &programPath, QString *error);

// One picture of an icon the desktop shows: the program's ("brisko") or a file type's.
struct DesktopIcon
{
    enum class Kind { Program, Project, Template };
    Kind kind;
    int size; // width and height in pixels
    QByteArray png;
};

// The icons as PNG pictures in the user's hicolor icon theme, one per size they come in; each
// written only when missing or different.
bool InstallFileTypeIcons(const QList<DesktopIcon> &icons, QString *error);

// The file name an icon has in a hicolor theme, relative to the theme's folder, e.g.
// "48x48/apps/brisko.png".
QString HicolorIconPath(DesktopIcon::Kind kind, int size);

// True when the program is installed together with its desktop entry, MIME package and icons
// (the desktop finds them in the shared data folders beside the executable's): then start-up
// leaves the user's folders alone.
bool DesktopFilesInstalled(const QString &executableFolder);

// The texts of the MIME package and of the desktop entry that starts execCommand (a command
// line as the Exec key takes it, e.g. "brisko"), for installing with the program.
QByteArray MimePackage();
QByteArray DesktopEntry(const QString &execCommand);
