#pragma once

#include <QSize>

class QWidget;

// Where the program's dialogs and message boxes open, and what their title bars offer.
namespace DialogFrame {

// The window a dialog opened from parent belongs to: parent's own window when that is on the
// screen, else the nearest shown window it was opened from (a dialog asking before it shows
// itself), else the active window; nullptr when there is none.
QWidget *ownerWindow(const QWidget *parent);

// Moves dialog, a window that need not be shown yet, so that its frame is centred over owner's
// frame (over the screen when owner is nullptr) and stays on that screen.
void centreOver(QWidget *dialog, const QWidget *owner);

// centreOver() the owner window of the dialog's parent.
void centreOverOwner(QWidget *dialog);

// From now on every dialog and message box of the application opens centred over its owner
// window, whatever parent it was given. Installing twice changes nothing.
void centreEveryDialog();

// The one way to give a dialog a fixed size: fixes it at size (a dialog whose layout or class
// settles its size, such as a message box, passes none) and leaves its title bar only the close
// button, since there is nothing to minimise a modal dialog to and nothing to maximise.
void makeFixedSize(QWidget *dialog, const QSize &size = QSize());

} // namespace DialogFrame
