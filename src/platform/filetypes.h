#pragma once

#include <QByteArray>
#include <QString>

// Tells the desktop that ".mbe" projects and ".mbt" templates open with this program: a
// shared-MIME-info package and a desktop entry in the user's data folder (XDG_DATA_HOME, by
// default ~/.local/share), each written only when missing or different. programPath is the
// executable. False with the reason when a file cannot be written.
bool RegisterFileTypes(const QString &programPath, QString *error);

// The icons the desktop shows for the program ("brisko") and for the two file types, as 32 x 32
// PNG pictures in the user's hicolor icon theme; each written only when missing or different.
bool InstallFileTypeIcons(const QByteArray &programPng, const QByteArray &projectPng, const QByteArray &templatePng,
                          QString *error);
