#pragma once

#include <QString>
#include <QWidget>
#include <QtGlobal>

// The control of a window with the given object name; ends the test run when there is none,
// so that a renamed control fails loudly instead of crashing on a null pointer.
template <typename T = QWidget> T *control(const QWidget &window, const QString &name)
{
    auto *widget = window.findChild<T *>(name);
    if (!widget)
        qFatal("no control %s", qPrintable(name));
    return widget;
}
