#pragma once

#include "viewer/htmltranslator.h"

#include <QFont>
#include <QPixmap>

// Pictures of a page's form controls, drawn by the platform's own widgets on a transparent
// background so that the page shows around them. The controls are for looking at only.
namespace FormControls {

// font: text boxes, buttons and drop-downs; fixedFont: text areas.
QPixmap draw(const Translate::Control &control, const QFont &font, const QFont &fixedFont);

} // namespace FormControls
