#include "panelfont.h"

#include "dialogs/miscdialog.h"
#include "platform/gui/busycursor.h"

#include <QAbstractButton>
#include <QPalette>
#include <QWidget>

#include <optional>

namespace PanelFont {

QFont toQFont(const TFontSpec &fontSpec, const QFont &base)
{
    QFont font = base;
    font.setFamilies({fontSpec.Face});
    // Sizes that do not make sense on screen (0, negative) keep the base size; the block
    // keeps the size it was given all the same.
    if (fontSpec.Size > 0)
        font.setPointSize(fontSpec.Size);
    font.setBold(fontSpec.Bold);
    font.setItalic(fontSpec.Italic);
    font.setUnderline(fontSpec.Underline);
    return font;
}

TFontSpec fromQFont(const QFont &font, TColor color)
{
    TFontSpec fontSpec;
    fontSpec.Face = font.family();
    fontSpec.Size = font.pointSize() > 0 ? font.pointSize() : qRound(font.pointSizeF());
    fontSpec.Bold = font.bold();
    fontSpec.Italic = font.italic();
    fontSpec.Underline = font.underline();
    fontSpec.Color = color;
    return fontSpec;
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

void showIn(QWidget *widget, const TFontSpec &fontSpec)
{
    widget->setFont(toQFont(fontSpec, widget->parentWidget() ? widget->parentWidget()->font() : widget->font()));
    QPalette palette = widget->parentWidget() ? widget->parentWidget()->palette() : widget->palette();
    if (const auto color = displayColor(fontSpec.Color))
        palette.setColor(QPalette::Text, *color);
    widget->setPalette(palette);
}

} // namespace PanelFont

TMemoFontButton::TMemoFontButton(QWidget *memo, QAbstractButton *button) : m_memo(memo)
{
    QObject::connect(button, &QAbstractButton::clicked, m_memo, [this] { chooseFont(); });
    PanelFont::showIn(m_memo, m_state.fontSpec);
}

void TMemoFontButton::load(const QString &attributes, quint8 applyFont)
{
    m_state.applyFont = applyFont;
    TFontSpec fontSpec;
    if (!DescriptionToFont(attributes, fontSpec))
        fontSpec = TFontSpec();
    m_state.fontSpec = fontSpec;
    PanelFont::showIn(m_memo, m_state.fontSpec);
}

void TMemoFontButton::commit(QString &attributes, quint8 &applyFont) const
{
    attributes = FontToDescription(m_state.fontSpec);
    applyFont = m_state.applyFont;
}

void TMemoFontButton::setChosenFont(const TFontSpec &font)
{
    m_state.fontSpec = font;
    m_state.applyFont = 1;
    PanelFont::showIn(m_memo, m_state.fontSpec);
}

void TMemoFontButton::chooseFont()
{
    std::optional<BusyCursor> busy(std::in_place);
    TfrmMisc dialog(m_memo->parentWidget());
    dialog.setDialogMode(TfrmMisc::FontMode);
    dialog.setSampleFont(m_state.fontSpec);
    dialog.prepare();
    busy.reset();
    if (dialog.exec() == QDialog::Accepted)
        setChosenFont(dialog.sampleFont());
}
