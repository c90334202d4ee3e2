#include "panelfont.h"

#include <QPalette>
#include <QWidget>

namespace PanelFont {

QFont toQFont(const TFontSpec &spec, const QFont &base)
{
    QFont font = base;
    font.setFamilies({spec.Face});
    // Sizes that do not make sense on screen (0, negative) keep the base size; the block
    // keeps the size it was given all the same.
    if (spec.Size > 0)
        font.setPointSize(spec.Size);
    font.setBold(spec.Bold);
    font.setItalic(spec.Italic);
    font.setUnderline(spec.Underline);
    return font;
}

TFontSpec fromQFont(const QFont &font, TColor color)
{
    TFontSpec spec;
    spec.Face = font.family();
    spec.Size = font.pointSize() > 0 ? font.pointSize() : qRound(font.pointSizeF());
    spec.Bold = font.bold();
    spec.Italic = font.italic();
    spec.Underline = font.underline();
    spec.Color = color;
    return spec;
}

std::optional<QColor> displayColor(TColor color)
{
    const auto value = quint32(color);
    if (value & 0xFF000000u)
        return std::nullopt;
    return QColor(int(value & 0xFF), int(value >> 8 & 0xFF), int(value >> 16 & 0xFF));
}

TColor colorValue(const QColor &color)
{
    return RGBColor(color.red(), color.green(), color.blue());
}

void showIn(QWidget *widget, const TFontSpec &spec)
{
    widget->setFont(toQFont(spec, widget->parentWidget() ? widget->parentWidget()->font() : widget->font()));
    QPalette palette = widget->parentWidget() ? widget->parentWidget()->palette() : widget->palette();
    if (const auto color = displayColor(spec.Color))
        palette.setColor(QPalette::Text, *color);
    widget->setPalette(palette);
}

} // namespace PanelFont
