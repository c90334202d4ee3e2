#pragma once

#include <QString>

// Tool tips guess whether their text is markup. A tip that shows a file name, a path or a name
// the user typed goes through PlainToolTip, so that "<b>" in it is shown as it is.
QString PlainToolTip(const QString &text);
