#pragma once

#include "html/markup.h"

#include <QColor>
#include <QFont>

#include <optional>

class QAbstractButton;
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

// The font of a heading or paragraph edit box together with the panel's "Font..." button,
// which opens the font dialog on it. The chosen font reaches the block at the next commit.
class TMemoFontButton
{
public:
    TMemoFontButton(QWidget *memo, QAbstractButton *button);
    Q_DISABLE_COPY_MOVE(TMemoFontButton)

    // Shows a block's font; a description that does not read gives the designed font.
    void load(const QString &attributes, quint8 applyFont);
    void commit(QString &attributes, quint8 &applyFont) const;

    // The font the edit box shows and its block will record.
    TFontSpec font() const { return m_state.fontSpec; }
    // What choosing a font does: the edit box shows it and its apply-font flag becomes 1.
    void setChosenFont(const TFontSpec &font);

private:
    void chooseFont();

    QWidget *m_memo;
    TMemoFont m_state;
};
