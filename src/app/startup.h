#pragma once

#include "app/splash.h"

#include <QStringList>

class QApplication;

// The program's start: shows the splash window, creates the main window (its creation handler
// opens the first of arguments, the command line after the program name), keeps the splash up
// until its timer has fired, then runs the event loop with the main window shown. Returns the
// loop's exit code. An empty programFolder means the executable's folder. Tests shorten or
// lengthen the splash's time.
int RunBrisko(QApplication &app, const QStringList &arguments, const QString &programFolder,
              int splashMilliseconds = kSplashStartUpMilliseconds);
