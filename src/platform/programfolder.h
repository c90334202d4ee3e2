#pragma once

#include <QString>

// The folder of the running executable with a trailing "/": every data file of the program
// lives in or below it. Needs a QCoreApplication.
QString ProgramFolder();

// Names of the folders and files below the program folder.
namespace ProgramFiles {
inline constexpr QStringView kProjects = u"BriskoFiles/";
inline constexpr QStringView kTemplates = u"Templates/";
inline constexpr QStringView kUpload = u"Upload/";
inline constexpr QStringView kUploadImages = u"Upload/images/";
inline constexpr QStringView kUploadBackgrounds = u"Upload/backgrounds/";
inline constexpr QStringView kPalettes = u"Palettes/";
inline constexpr QStringView kThemes = u"Themes.dat";
inline constexpr QStringView kFields = u"Fields.ini";
inline constexpr QStringView kTips = u"Tips.txt";
} // namespace ProgramFiles
