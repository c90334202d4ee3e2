#pragma once

#include "html/markup.h"

#include <QColor>
#include <QFont>

#include <optional>

class QWidget;

// The font of the heading and paragraph edit boxes: the font a block's description records,
// and whether the block applies it to the page (1 once the user has chosen a font).
struct TMemoFont
{
    TFontSpec fontSpec;
    quint8 applyFont = 0;
};

namespace PanelFont {

// The screen font of a description's face, size and styles, based on base for everything else.
QFont toQFont(const TFontSpec &fontSpec, const QFont &base);

// The description of a font chosen on screen, with its colour.
TFontSpec fromQFont(const QFont &font, TColor color);

// The colour to draw text in; none for the system colours and clNone, which stand for a role
// rather than a colour (the edit box then keeps its own text colour).
std::optional<QColor> displayColor(TColor color);

// The colour value of a colour drawn on screen (red in the low byte).
TColor colorValue(const QColor &color);

// Shows the widget's text in the font and colour of fontSpec.
void showIn(QWidget *widget, const TFontSpec &fontSpec);

} // namespace PanelFont
