#include "messages.h"

#include "dialogframe.h"
#include "help.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QEvent>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QList>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPushButton>
#include <QQueue>
#include <QShowEvent>
#include <QStringList>
#include <QWindow>

#include <utility>

using namespace Qt::StringLiterals;

namespace Messages {

namespace {

// Every box is also noted here (off unless QT_LOGGING_RULES turns "brisko.messages" on), so
// that a program started by a script or a test says what it told the user.
Q_LOGGING_CATEGORY(lcMessages, "brisko.messages", QtWarningMsg)

struct HookState
{
    bool testMode = false;
    QQueue<int> answers;
    QStringList history;
    Kind lastKind = Kind::Information;
    int lastButtons = 0;
    QString lastDetail;
    int beeps = 0;
    QList<QPointer<QWidget>> holding;
};

HookState &hooks()
{
    static HookState state;
    return state;
}

QString caption(Kind kind)
{
    switch (kind) {
    case Kind::Warning:
        return u"Warning"_s;
    case Kind::Error:
        return u"Error"_s;
    case Kind::Information:
        return u"Information"_s;
    case Kind::Confirmation:
        return u"Confirm"_s;
    }
    return {};
}

QMessageBox::Icon icon(Kind kind)
{
    switch (kind) {
    case Kind::Warning:
        return QMessageBox::Warning;
    case Kind::Error:
        return QMessageBox::Critical;
    case Kind::Information:
        return QMessageBox::Information;
    case Kind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

struct BoxButton
{
    Button button;
    QStringView caption;
    QStringView objectName;
    QMessageBox::ButtonRole role;
};

// In the order the buttons stand in the box.
constexpr BoxButton kButtons[] = {
    {Yes, u"&Yes", u"btnYes", QMessageBox::YesRole},     {No, u"&No", u"btnNo", QMessageBox::NoRole},
    {Ok, u"OK", u"btnOK", QMessageBox::AcceptRole},      {Cancel, u"Cancel", u"btnCancel", QMessageBox::RejectRole},
    {Help, u"&Help", u"btnHelp", QMessageBox::HelpRole},
};

// A message box settles its size only as it shows, after dialogs have been placed: it places
// itself again then.
// With closeIsNoAnswer set, Escape and the close button close it without clicking a button.
class CentredBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

    bool closeIsNoAnswer = false;

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        if (!event->spontaneous())
            DialogFrame::centreOverOwner(this);
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        if (closeIsNoAnswer && event->matches(QKeySequence::Cancel))
            reject();
        else
            QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override
    {
        // QMessageBox would click its No button.
        if (closeIsNoAnswer)
            QDialog::closeEvent(event);
        else
            QMessageBox::closeEvent(event);
    }
};

int showBox(QWidget *parent, Kind kind, const QString &text, int buttons, int helpTopic, const QString &detail)
{
    // The box belongs to the window on the screen that it was asked from, even when asked by a
    // control or by a dialog that has not shown itself yet.
    CentredBox box(DialogFrame::ownerWindow(parent));
    DialogFrame::makeFixedSize(&box);
    box.setObjectName(u"dlgMessage"_s);
    box.setWindowTitle(caption(kind));
    box.setIcon(icon(kind));
    box.closeIsNoAnswer = (buttons & CloseIsNoAnswer) != 0;
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    if (!detail.isEmpty()) {
        box.setInformativeText(detail);
        // The box guesses the format of this one label; a detail is a file name or a server's
        // reply and holds no markup.
        if (auto *label = box.findChild<QLabel *>(u"qt_msgbox_informativelabel"_s))
            label->setTextFormat(Qt::PlainText);
    }

    QHash<QAbstractButton *, int> answers;
    QPushButton *first = nullptr;
    for (const BoxButton &entry : kButtons) {
        if (!(buttons & entry.button))
            continue;
        QPushButton *button = box.addButton(entry.caption.toString(), entry.role);
        button->setObjectName(entry.objectName.toString());
        if (entry.button == Help) {
            // Help shows its topic and leaves the box open: take the button away from the
            // button box, whose click would close the box.
            if (auto *buttonBox = box.findChild<QDialogButtonBox *>())
                QObject::disconnect(button, &QAbstractButton::clicked, buttonBox, nullptr);
            QObject::connect(button, &QAbstractButton::clicked, &box,
                             [&box, helpTopic] { Help::showTopic(&box, helpTopic); });
            continue;
        }
        answers.insert(button, entry.button);
        if (!first)
            first = button;
    }
    if (first)
        box.setDefaultButton(first);
    box.exec();
    return answers.value(box.clickedButton(), Cancel);
}

struct Notice
{
    Kind kind;
    QString text;
    int buttons;
    int helpTopic;
    QString detail;
};

const QString kPendingNoticesName = u"messagesPendingNotices"_s;

// The notices held for one window, shown one after the other once the window is on the screen.
class PendingNotices : public QObject
{
public:
    explicit PendingNotices(QWidget *window) : QObject(window), m_window(window)
    {
        setObjectName(kPendingNoticesName);
        window->installEventFilter(this);
    }

    static PendingNotices *of(QWidget *window)
    {
        if (auto *found = window->findChild<QObject *>(kPendingNoticesName, Qt::FindDirectChildrenOnly))
            return static_cast<PendingNotices *>(found);
        return new PendingNotices(window);
    }

    void add(const Notice &notice) { m_notices.append(notice); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Not when the window is shown but when it is on the screen: until then the window
        // manager may still place, size or maximize it.
        QWindow *handle = m_window->windowHandle();
        if (watched == m_window && event->type() == QEvent::Show && handle) {
            handle->installEventFilter(this);
        } else if (watched == handle && event->type() == QEvent::Expose && handle->isExposed() && !m_releasing) {
            m_releasing = true;
            // After the event: a modal box has no place inside it.
            QMetaObject::invokeMethod(this, &PendingNotices::release, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void release()
    {
        m_window->removeEventFilter(this);
        if (QWindow *handle = m_window->windowHandle())
            handle->removeEventFilter(this);
        for (const Notice &notice : std::as_const(m_notices))
            showBox(m_window, notice.kind, notice.text, notice.buttons, notice.helpTopic, notice.detail);
        deleteLater();
    }

    QWidget *m_window;
    QList<Notice> m_notices;
    bool m_releasing = false;
};

// The window a notice to parent waits for, or nullptr when it can be shown now.
QWidget *holdingWindow(const QWidget *parent, int buttons)
{
    if (!parent || (buttons & ~Help) != Ok)
        return nullptr;
    QWidget *window = parent->window();
    if (window->isVisible() || !hooks().holding.contains(window))
        return nullptr;
    return window;
}

} // namespace

HoldUntilShown::HoldUntilShown(QWidget *window) : m_window(window)
{
    hooks().holding.append(m_window);
}

HoldUntilShown::~HoldUntilShown()
{
    QList<QPointer<QWidget>> &holding = hooks().holding;
    holding.removeOne(m_window);
    holding.removeIf([](const QPointer<QWidget> &window) { return window.isNull(); });
}

int show(QWidget *parent, Kind kind, const QString &text, int buttons, int helpTopic, const QString &detail)
{
    HookState &state = hooks();
    state.history.append(text);
    state.lastKind = kind;
    state.lastButtons = buttons;
    state.lastDetail = detail;
    qCInfo(lcMessages).noquote() << QString(caption(kind) + u": " + text +
                                            (detail.isEmpty() ? QString() : QString(u" (" + detail + u')')));
    if (!state.answers.isEmpty()) {
        const int answer = state.answers.dequeue();
        if (!(answer & buttons) && !(answer == Cancel && (buttons & CloseIsNoAnswer)))
            qWarning("Messages: the queued answer %d is not a button of the box \"%s\"", answer, qPrintable(text));
        return answer;
    }
    if (state.testMode) {
        qWarning("Messages: no answer queued for the box \"%s\"; answering Cancel", qPrintable(text));
        return Cancel;
    }
    if (QWidget *window = holdingWindow(parent, buttons)) {
        PendingNotices::of(window)->add(Notice{kind, text, buttons, helpTopic, detail});
        return Ok;
    }
    return showBox(parent, kind, text, buttons, helpTopic, detail);
}

void beep()
{
    ++hooks().beeps;
    QApplication::beep();
}

void setNextAnswer(int button)
{
    hooks().answers.enqueue(button);
}

void setTestMode(bool on)
{
    HookState &state = hooks();
    state.testMode = on;
    if (!on)
        state.answers.clear();
}

QStringList shown()
{
    return hooks().history;
}

void clearHistory()
{
    hooks().history.clear();
}

Kind lastKind()
{
    return hooks().lastKind;
}

int lastButtons()
{
    return hooks().lastButtons;
}

QString lastDetail()
{
    return hooks().lastDetail;
}

int beepCount()
{
    return hooks().beeps;
}

int pendingAnswers()
{
    return int(hooks().answers.size());
}

} // namespace Messages
