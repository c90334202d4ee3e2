#pragma once

#include "format/componentstream.h"
#include "thememodel.h"

class QIODevice;

// The themes file: one theme container as a component stream.

inline constexpr QStringView kThemesFileName = u"Themes.dat";

Stream::Object ThemesToStream(const TWebTheme &themes);
bool ThemesFromStream(const Stream::Object &object, TWebTheme &themes, QString *error);

// Reads the file at path; themes is left unchanged on failure and error says why.
bool LoadThemes(const QString &path, TWebTheme &themes, QString *error);

// Writes the file through a temporary file and a rename, so a failed write keeps the old file.
bool SaveThemes(const QString &path, const TWebTheme &themes, QString *error);
