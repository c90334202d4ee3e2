#pragma once

#include "app/blockeditor.h"
#include "document/pagemodel.h"

#include <QTest>

// A page with one block of every type, in block type order: item i has type i.
TPagelette pageWithEveryBlock();

// The control of the editor with the given object name; ends the test run when there is none.
template<typename T = QWidget>
T *control(const QWidget &editor, const char *name)
{
    auto *widget = editor.findChild<T *>(QLatin1StringView(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

// What a control shows: the text of an edit box, memo, combo box, label or button.
QString textOf(const QWidget &editor, const char *name);
bool isChecked(const QWidget &editor, const char *name);

// Replaces the text of an edit box or memo the way a user does: select all, type.
void retype(QWidget *edit, const QString &text);
void retype(const QWidget &editor, const char *name, const QString &text);

// Clicks a check box on its box, as a user does (its middle may lie past the caption).
void clickCheckBox(const QWidget &editor, const char *name);
