#pragma once

#include <QString>

class QWidget;

// Names for the accessibility bus, so that a screen reader announces each control as a sighted
// user knows it.
namespace Accessibility {

// From now on every control that shows no caption of its own gets a name when it is shown: a
// button that shows only a picture, a list or a combo box is named by the label that stands for
// it (its buddy), else by its hint; an inner control that takes the focus for its outer one by
// the outer one's name. A name given explicitly is kept. Installing twice changes nothing.
void nameEveryControl();

// Names root and every control below it by the same rules, at once.
void nameControls(QWidget *root);

// The name a hint gives: the hint itself, or nothing when the hint is a sentence (ending with a
// full stop, "!" or "?"); such a control needs a short name of its own.
QString nameFromHint(const QString &hint);

// A label's caption as a name: without the mnemonic marks and the trailing colon.
QString nameFromCaption(const QString &caption);

} // namespace Accessibility
