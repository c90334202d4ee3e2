#pragma once

#include "document/pagemodel.h"

#include <QTest>
#include <QWidget>

#include <functional>

class TBlockPanel;

// What the window does with a panel's commit: the panel's edited copy of item goes into doc.
void commitInto(TBlockPanel &panel, TPagelette &doc, const TPageItem &item);

// A page with one block of every type, in block type order: item i has type i.
TPagelette pageWithEveryBlock();

// The control of the editor or panel with the given object name; ends the test run when there
// is none.
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

class QListWidget;
class TfrmMisc;

// Runs answer on the font, bookmark or meta tag dialog the next click opens, once it is shown.
void onNextDialog(QObject *context, std::function<void(TfrmMisc *)> answer);

void clickButton(QWidget *button);

// A user's double-click on a row: a click, then the second press that makes it a double-click.
void doubleClickRow(QListWidget *list, int row);

bool writeFile(const QString &path, const QByteArray &bytes);
