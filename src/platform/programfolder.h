#pragma once

#include <QString>

// Where the program's files live. Run from the folder the build lays out (or any writable copy
// of it) the program folder is the folder of the executable, as it has always been. Installed,
// the executables sit in a folder nobody may write to and the shipped data in a shared folder
// ("../share/brisko/" from the executables); each user then works in a program folder of their
// own below the data home, "$XDG_DATA_HOME/Brisko/", filled from the shared data.
struct ProgramFolderSetup
{
    // The program folder, with a trailing "/".
    QString folder;
    // The shipped data the program folder was filled from, with a trailing "/"; empty when the
    // program runs from its own folder, or found no data at all.
    QString sharedData;
    // The folder is the user's own one below the data home.
    bool perUser = false;
    // Why the user's folder could not be made or filled, empty when it could. When the folder
    // itself could not be made, folder is the shared data: readable, but nothing can be saved.
    QString error;
};

// Decides the program folder for an executable in executableFolder and, for an installed one,
// makes the user's folder below userDataHome and fills it with what is missing (never
// replacing a file). See FillProgramFolder.
ProgramFolderSetup SetUpProgramFolder(const QString &executableFolder, const QString &userDataHome);

// Copies the shipped data into the user's program folder target: the folder is made when
// missing, every shipped folder and link that is missing is made, every shipped data file that
// is missing is copied, and the shipped pages in "BriskoFiles/", "Templates/" and "Upload/" are
// copied only when that folder is new (a page the user deleted stays deleted). Nothing that
// exists is ever replaced, and executables beside the data stay where they are. False with the
// first failure's reason; what could be copied is.
bool FillProgramFolder(const QString &sharedData, const QString &target, QString *error);

// The setup of this process, made on the first call from the executable's folder and the
// user's data home, then kept. Needs a QCoreApplication.
const ProgramFolderSetup &CurrentProgramFolder();

// The program folder of this process with a trailing "/": every data file of the program lives
// in or below it. Needs a QCoreApplication.
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
// The user's own program folder, below the data home.
inline constexpr QStringView kUserFolder = u"Brisko/";
} // namespace ProgramFiles
