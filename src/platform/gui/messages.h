#pragma once

#include <QPointer>
#include <QString>

class QWidget;

// The program's message boxes: four kinds with their captions ("Warning", "Error",
// "Information", "Confirm") and the button captions "&Yes", "&No", "OK", "Cancel", "&Help".
// A test hook answers the next box without showing it, so GUI tests never block.
namespace Messages {

enum class Kind { Warning, Error, Information, Confirmation };

enum Button : int { Yes = 0x1, No = 0x2, Ok = 0x4, Cancel = 0x8, Help = 0x10 };
// Among the buttons of show(): Escape and the title bar's close button give no answer (Cancel)
// instead of the box's No, for questions where No throws something away.
constexpr int CloseIsNoAnswer = 0x20;

// Shows a modal box with the given buttons (an OR of Button) and returns the button pressed
// (Cancel when the box is closed otherwise). With Help among the buttons, pressing it shows
// helpTopic and leaves the box open. The box opens over the window parent belongs to. A detail
// (the reason behind a fixed message: the file and the system's error) stands beneath the text.
// Text and detail are shown as they are, never read as markup.
int show(QWidget *parent, Kind kind, const QString &text, int buttons, int helpTopic = 0,
         const QString &detail = {});

inline int error(QWidget *parent, const QString &text, const QString &detail = {})
{
    return show(parent, Kind::Error, text, Ok, 0, detail);
}
inline int information(QWidget *parent, const QString &text) { return show(parent, Kind::Information, text, Ok); }
inline int warning(QWidget *parent, const QString &text, const QString &detail = {})
{
    return show(parent, Kind::Warning, text, Ok, 0, detail);
}

// The system beep that precedes the delete questions.
void beep();

// For a window that can meet problems while it is being built, before it is on the screen:
// while the guard lives and the window is hidden, a notice (a box whose one answer is OK) given
// to the window or to anything in it waits, and opens over the window once the window is on the
// screen; show() answers it OK at once. Questions cannot wait and open as usual.
class HoldUntilShown
{
public:
    explicit HoldUntilShown(QWidget *window);
    ~HoldUntilShown();
    HoldUntilShown(const HoldUntilShown &) = delete;
    HoldUntilShown &operator=(const HoldUntilShown &) = delete;

private:
    QPointer<QWidget> m_window;
};

// Test hooks: queue answers for the next boxes (each box takes the oldest); a box shown with
// no queued answer while hooks are active fails the test loudly (returns Cancel and records
// the text). shown() lists the texts of every box shown since the last clearHistory().
void setNextAnswer(int button);
void setTestMode(bool on);
QStringList shown();
void clearHistory();
// The kind, buttons and detail of the last box shown, and the number of queued answers not yet
// taken.
Kind lastKind();
int lastButtons();
QString lastDetail();
int pendingAnswers();
// How many times beep() has sounded since the program started.
int beepCount();

} // namespace Messages
