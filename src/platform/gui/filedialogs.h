#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// The program's open and save dialogs. Filters come in the program's own notation,
// "Brisko Files|*.mbe" or "Brisko Template|*.mbt|Brisko Files|*.mbe". A test hook answers the
// next dialog without showing it.
namespace FileDialogs {

// Empty when cancelled. The default extension is added when the typed name has none. Choosing
// an existing file other than ownFile (the file the page was last saved to, if any) asks
// whether to replace it; No goes back to the dialog.
QString getSaveFileName(QWidget *parent, const QString &filter, const QString &defaultExtension,
                        const QString &initialFolder, const QString &ownFile = {});

QString getOpenFileName(QWidget *parent, const QString &filter, const QString &initialFolder,
                        const QString &title = {});

// The filter in Qt's notation, one entry per description: "Brisko Files (*.mbe)"; masks
// separated by ";" become a space-separated list and "*.*" becomes "*".
QStringList toQtFilters(const QString &filter);

// For open dialogs of the program's own making: records the filter and folder the dialog is
// opened with and returns the test hook's answer when one is queued (the dialog is then not
// shown).
std::optional<QString> takeTestAnswer(const QString &filter, const QString &initialFolder);

// Test hooks: the next dialog returns path at once (an empty path means Cancel). Answers queue
// up: a save dialog taken back by No to the replace question takes the next one.
void setNextFileName(const QString &path);
// The filter and folder the last dialog was opened with, for tests.
QString lastFilter();
QString lastFolder();

} // namespace FileDialogs
