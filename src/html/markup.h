#pragma once

#include "document/pagemodel.h"

#include <QString>
#include <QStringView>

#include <optional>

// Colour, font and text markup shared by the page and form generators and the block editors.
// User text goes into the page as typed, so a user may write HTML of their own; only where the
// text would break the markup around it (a quote inside an attribute value, an apostrophe inside
// a script string) is that one character escaped.

// "#RRGGBB" with red from the low byte; only the low three bytes count.
QString ColorToHtml(TColor color);

// The colour's name when it is one of the named colours, else "$" and eight upper-case hex digits.
QString ColorToString(TColor color);

// A colour name (any case) or a number ("$" hexadecimal or decimal). On failure *error holds
// the conversion error.
std::optional<TColor> StringToColor(const QString &text, QString *error = nullptr);

// A font as far as a font description records it.
struct TFontSpec
{
    QString Face = QStringLiteral("Times New Roman");
    int Size = 12;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    TColor Color = kNoFontColor;
    bool operator==(const TFontSpec &) const = default;
};

// "\"face\", size, [styles], [colour]", the text stored in a block's Attributes.
QString FontToDescription(const TFontSpec &font);

// Reads a description field by field at the positions its pattern puts them. On a size or colour
// that does not convert, returns false with the error in *error and leaves font unchanged.
bool DescriptionToFont(const QString &description, TFontSpec &font, QString *error = nullptr);

// Heading or paragraph text wrapped in its style tags and, when applyFont is 1, the FONT element
// of the description. applyFont 0 gives the style tags only; any other value gives empty text.
// On a conversion failure returns empty text and sets *error; *error is untouched otherwise.
QString ApplyTextMarkup(const QString &text, const QString &description, quint8 applyFont,
                        QString *error = nullptr);

enum TLineKind : quint8 { lkParagraph, lkDropBoxOptions, lkListItems, lkMetaTags };

// Converts text line by line (breaks: CR LF, lone CR, lone LF); every output line ends in CR LF.
// Empty text gives empty text; an unknown kind copies the lines unchanged.
QString ConvertLines(const QString &text, quint8 kind);

// text as a double-quoted attribute value: each '"' written as "&quot;", all else unchanged.
QString AttributeValue(const QString &text);

namespace Markup {
// text as AttributeValue gives it.
void appendAttributeValue(QString &out, QStringView text);
// text for a single-quoted script string: a backslash, an apostrophe and the "/" of "</" get a
// backslash in front.
void appendScriptString(QString &out, QStringView text);
// Appending forms of ConvertLines and ApplyTextMarkup, for generators that build one large text.
// They append exactly what the functions return; appendTextMarkup appends nothing on failure.
void appendConvertedLines(QString &out, QStringView text, quint8 kind);
bool appendTextMarkup(QString &out, QStringView text, QStringView description, quint8 applyFont,
                      QString *error);
} // namespace Markup
