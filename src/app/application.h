#pragma once

#include <QApplication>

// The program's application object. Any std::exception that leaves an event handler reaches
// the user as an error message with the exception's text instead of ending the program. Every
// dialog and message box opens centred over the window it belongs to.
class TBriskoApplication : public QApplication
{
    Q_OBJECT

public:
    TBriskoApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

// The program's general error report: a message box with the error's text, over the active
// window.
void ReportError(const QString &text);
