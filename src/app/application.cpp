#include "application.h"

#include "platform/gui/accessibility.h"
#include "platform/gui/dialogframe.h"
#include "platform/gui/messages.h"

#include <exception>

using namespace Qt::StringLiterals;

TBriskoApplication::TBriskoApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    DialogFrame::centreEveryDialog();
    Accessibility::nameEveryControl();
}

bool TBriskoApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        ReportError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ReportError(u"An unexpected error occurred."_s);
    }
    return false;
}

void ReportError(const QString &text)
{
    Messages::error(QApplication::activeWindow(), text.isEmpty() ? u"An unexpected error occurred."_s : text);
}
