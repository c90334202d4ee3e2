#pragma once

#include <QString>

class QAbstractButton;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

// Commands that more than one panel offers: filling a link target (the link panel's address,
// the image panel's link) from a file, a browser favourite or a bookmark, and importing a text
// file into a paragraph or bullet list.
namespace PanelCommands {

// Gives a panel's three link-target buttons their pictures and connects them to the edit box
// they fill.
void setUpLinkTargetButtons(QWidget *panel, QAbstractButton *browse, QAbstractButton *favorites,
                            QAbstractButton *bookmarks, QLineEdit *target);
// Gives a panel's "Import..." button its picture and connects it to the memo it fills.
void setUpImportButton(QWidget *panel, QAbstractButton *button, QPlainTextEdit *memo);

// Any local file, by its full path.
void browseForLinkTarget(QWidget *parent, QLineEdit *target);
// The address of an Internet shortcut file; a shortcut without one changes nothing.
void pickFavorite(QWidget *parent, QLineEdit *target);
// The selected line of the bookmark dialog, taken as it is.
void pickBookmark(QWidget *parent, QLineEdit *target);

// Where the favourites dialog starts: "~/Favorites" when it exists, else the home folder.
QString favoritesFolder();

// Inserts the lines of a text file the user picks at the memo's caret, each ending with a line
// break. A file that cannot be read changes nothing.
void importTextFile(QWidget *parent, QPlainTextEdit *memo);

} // namespace PanelCommands
