#include "messages.h"

#include "dialogframe.h"
#include "help.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHash>
#include <QMessageBox>
#include <QPushButton>
#include <QQueue>
#include <QShowEvent>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace Messages {

namespace {

struct HookState
{
    bool testMode = false;
    QQueue<int> answers;
    QStringList history;
    Kind lastKind = Kind::Information;
    int lastButtons = 0;
    int beeps = 0;
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
class CentredBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        if (!event->spontaneous())
            DialogFrame::centreOverOwner(this);
    }
};

int showBox(QWidget *parent, Kind kind, const QString &text, int buttons, int helpTopic)
{
    // The box belongs to the window on the screen that it was asked from, even when asked by a
    // control or by a dialog that has not shown itself yet.
    CentredBox box(DialogFrame::ownerWindow(parent));
    DialogFrame::makeFixedSize(&box);
    box.setObjectName(u"dlgMessage"_s);
    box.setWindowTitle(caption(kind));
    box.setIcon(icon(kind));
    box.setTextFormat(Qt::PlainText);
    box.setText(text);

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

} // namespace

int show(QWidget *parent, Kind kind, const QString &text, int buttons, int helpTopic)
{
    HookState &state = hooks();
    state.history.append(text);
    state.lastKind = kind;
    state.lastButtons = buttons;
    if (!state.answers.isEmpty()) {
        const int answer = state.answers.dequeue();
        if (!(answer & buttons))
            qWarning("Messages: the queued answer %d is not a button of the box \"%s\"", answer, qPrintable(text));
        return answer;
    }
    if (state.testMode) {
        qWarning("Messages: no answer queued for the box \"%s\"; answering Cancel", qPrintable(text));
        return Cancel;
    }
    return showBox(parent, kind, text, buttons, helpTopic);
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

int beepCount()
{
    return hooks().beeps;
}

int pendingAnswers()
{
    return int(hooks().answers.size());
}

} // namespace Messages
