#include "markup.h"

#include "platform/textutils.h"

#include <array>

namespace {

struct NamedColor
{
    QStringView name;
    quint32 value;
};

// Values as the platform stores them: blue in the high byte, red in the low one.
constexpr std::array<NamedColor, 42> kNamedColors = {{
    {u"clBlack", 0x000000},
    {u"clMaroon", 0x000080},
    {u"clGreen", 0x008000},
    {u"clOlive", 0x008080},
    {u"clNavy", 0x800000},
    {u"clPurple", 0x800080},
    {u"clTeal", 0x808000},
    {u"clGray", 0x808080},
    {u"clSilver", 0xC0C0C0},
    {u"clRed", 0x0000FF},
    {u"clLime", 0x00FF00},
    {u"clYellow", 0x00FFFF},
    {u"clBlue", 0xFF0000},
    {u"clFuchsia", 0xFF00FF},
    {u"clAqua", 0xFFFF00},
    {u"clWhite", 0xFFFFFF},
    {u"clScrollBar", 0x80000000},
    {u"clBackground", 0x80000001},
    {u"clActiveCaption", 0x80000002},
    {u"clInactiveCaption", 0x80000003},
    {u"clMenu", 0x80000004},
    {u"clWindow", 0x80000005},
    {u"clWindowFrame", 0x80000006},
    {u"clMenuText", 0x80000007},
    {u"clWindowText", 0x80000008},
    {u"clCaptionText", 0x80000009},
    {u"clActiveBorder", 0x8000000A},
    {u"clInactiveBorder", 0x8000000B},
    {u"clAppWorkSpace", 0x8000000C},
    {u"clHighlight", 0x8000000D},
    {u"clHighlightText", 0x8000000E},
    {u"clBtnFace", 0x8000000F},
    {u"clBtnShadow", 0x80000010},
    {u"clGrayText", 0x80000011},
    {u"clBtnText", 0x80000012},
    {u"clInactiveCaptionText", 0x80000013},
    {u"clBtnHighlight", 0x80000014},
    {u"cl3DDkShadow", 0x80000015},
    {u"cl3DLight", 0x80000016},
    {u"clInfoText", 0x80000017},
    {u"clInfoBk", 0x80000018},
    {u"clNone", 0x1FFFFFFF},
}};

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

void appendHex(QString &out, quint32 value, int digits)
{
    char16_t buffer[8];
    for (int i = digits - 1; i >= 0; --i) {
        buffer[i] = kHexDigits[value & 0xF];
        value >>= 4;
    }
    out.append(QStringView(buffer, digits));
}

// The description is read the way the font dialog's text was always taken apart: by 1-based
// positions, with "not found" as 0 and copies and deletes that tolerate any count. Malformed
// descriptions therefore give defined (if odd) pieces instead of failing.
qsizetype pos(QChar c, QStringView s)
{
    return s.indexOf(c) + 1;
}

QStringView copy(QStringView s, qsizetype index, qsizetype count)
{
    if (index < 1)
        index = 1;
    if (count <= 0 || index > s.size())
        return {};
    return s.sliced(index - 1, qMin(count, s.size() - index + 1));
}

// Deletes the first count characters.
void deleteFront(QStringView &s, qsizetype count)
{
    if (count > 0)
        s = s.sliced(qMin(count, s.size()));
}

// A view passed to the integer and colour readers without copying it.
QString borrowed(QStringView s)
{
    return QString::fromRawData(reinterpret_cast<const QChar *>(s.utf16()), s.size());
}

QStringView htmlFontSize(qint32 points, QStringView asWritten)
{
    switch (points) {
    case 8: return u"1";
    case 10: return u"2";
    case 12: return u"3";
    case 14: return u"4";
    case 16: return u"5";
    case 18: return u"6";
    case 20: return u"7";
    default: return asWritten;
    }
}

void appendHtmlColor(QString &out, TColor color)
{
    const auto value = quint32(color);
    out += u'#';
    appendHex(out, value & 0xFF, 2);
    appendHex(out, (value >> 8) & 0xFF, 2);
    appendHex(out, (value >> 16) & 0xFF, 2);
}

void appendColorAttribute(QString &out, TColor color)
{
    out += u" COLOR=\"";
    appendHtmlColor(out, color);
    out += u'"';
}

void appendStyled(QString &out, QStringView text, bool bold, bool italic, bool underline)
{
    if (bold)
        out += u"<B>";
    if (italic)
        out += u"<I>";
    if (underline)
        out += u"<U>";
    out += text;
    if (underline)
        out += u"</U>";
    if (italic)
        out += u"</I>";
    if (bold)
        out += u"</B>";
}

// Splits at the first TAB: the text before it (empty without one) and the text after it (the
// whole line without one).
void splitAtTab(QStringView line, QStringView &left, QStringView &right)
{
    const qsizetype tab = line.indexOf(u'\t');
    left = tab < 0 ? QStringView() : line.first(tab);
    right = tab < 0 ? line : line.sliced(tab + 1);
}

void appendConvertedLine(QString &out, QStringView line, quint8 kind)
{
    QStringView left;
    QStringView right;
    switch (kind) {
    case lkParagraph:
        out += line.isEmpty() ? QStringView(u"<BR><BR>") : line;
        break;
    case lkDropBoxOptions: {
        // Both texts live inside a script string, and the value inside an attribute as well.
        splitAtTab(line, left, right);
        out += u"document.write('<option value=\"";
        QString value;
        Markup::appendAttributeValue(value, left);
        Markup::appendScriptString(out, value);
        out += u"\">";
        Markup::appendScriptString(out, right);
        out += u"');\r\n";
        break;
    }
    case lkListItems:
        if (line.size() > 1)
            out += u"   <LI>";
        out += line;
        break;
    case lkMetaTags:
        if (line.size() == 1) {
            out += line;
            break;
        }
        splitAtTab(line, left, right);
        out += u"<META NAME=\"";
        Markup::appendAttributeValue(out, left);
        out += u"\" CONTENT=\"";
        Markup::appendAttributeValue(out, right);
        out += u"\">";
        break;
    default:
        out += line;
        break;
    }
}

} // namespace

void Markup::appendAttributeValue(QString &out, QStringView text)
{
    qsizetype start = 0;
    for (qsizetype i = text.indexOf(u'"'); i >= 0; i = text.indexOf(u'"', start)) {
        out += text.sliced(start, i - start);
        out += u"&quot;";
        start = i + 1;
    }
    out += text.sliced(start);
}

void Markup::appendScriptString(QString &out, QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\' || c == u'\'')
            out += u'\\';
        else if (c == u'/' && i > 0 && text[i - 1] == u'<')
            out += u'\\'; // "</script>" would end the script in the middle of the string
        out += c;
    }
}

QString AttributeValue(const QString &text)
{
    if (!text.contains(u'"'))
        return text;
    QString out;
    out.reserve(text.size() + 16);
    Markup::appendAttributeValue(out, text);
    return out;
}

QString ColorToHtml(TColor color)
{
    QString html;
    html.reserve(7);
    appendHtmlColor(html, color);
    return html;
}

QString ColorToString(TColor color)
{
    for (const NamedColor &named : kNamedColors) {
        if (named.value == quint32(color))
            return named.name.toString();
    }
    QString text;
    text.reserve(9);
    text += u'$';
    appendHex(text, quint32(color), 8);
    return text;
}

std::optional<TColor> StringToColor(const QString &text, QString *error)
{
    for (const NamedColor &named : kNamedColors) {
        if (named.name.compare(text, Qt::CaseInsensitive) == 0)
            return TColor(named.value);
    }
    return Text::toInt(text, error);
}

QString FontToDescription(const TFontSpec &font)
{
    QString styles;
    if (font.Bold)
        styles += u"|Bold";
    if (font.Italic)
        styles += u"|Italic";
    if (font.Underline)
        styles += u"|Underline";
    if (styles.startsWith(u'|'))
        styles.remove(0, 1);
    return u'"' + font.Face + u"\", " + QString::number(font.Size) + u", [" + styles + u"], ["
        + ColorToString(font.Color) + u']';
}

bool DescriptionToFont(const QString &description, TFontSpec &font, QString *error)
{
    QStringView s = description;
    qsizetype p = pos(u',', s);
    const QStringView face = copy(s, 2, p - 3); // between the quotes
    deleteFront(s, p);

    p = pos(u',', s);
    const auto size = Text::toInt(borrowed(copy(s, 2, p - 2)), error);
    if (!size)
        return false;
    deleteFront(s, p);

    p = pos(u',', s);
    QString styles(1, u'|'); // then the text inside the brackets
    styles += copy(s, 3, p - 4);
    deleteFront(s, p);

    const auto color = StringToColor(borrowed(copy(s, 3, s.size() - 3)), error); // drop " [" and "]"
    if (!color)
        return false;

    font.Face = face.toString();
    font.Size = *size;
    font.Color = *color;
    font.Bold = styles.contains(u"|Bold");
    font.Italic = styles.contains(u"|Italic");
    font.Underline = styles.contains(u"|Underline");
    return true;
}

bool Markup::appendTextMarkup(QString &out, QStringView text, QStringView description, quint8 applyFont,
                              QString *error)
{
    const bool underline = description.contains(u"Underline");
    const bool italic = description.contains(u"Italic");
    const bool bold = description.contains(u"Bold");
    if (applyFont == 0) {
        appendStyled(out, text, bold, italic, underline);
        return true;
    }
    if (applyFont != 1)
        return true;

    QStringView d = description;
    const QStringView face = copy(d, 1, pos(u',', d) - 1); // keeps its quotes
    deleteFront(d, pos(u',', d) + 1);
    const QStringView sizeText = copy(d, 1, pos(u',', d) - 1);
    deleteFront(d, pos(u']', d) + 1); // past the style list and its comma: " [colour]"

    const auto points = Text::toInt(borrowed(sizeText), error);
    if (!points)
        return false;
    const qsizetype open = pos(u'[', d);
    const auto color = StringToColor(borrowed(copy(d, open + 1, pos(u']', d) - open - 1)), error);
    if (!color)
        return false;

    // The colour attribute goes before the first ">" of the FONT element. The size cannot hold
    // one (it converted to a number), so only the face can move it.
    const bool withColor = (quint32(*color) & 0xFFFFFF) != 0x050000; // "#000005": no colour chosen
    const qsizetype faceBreak = withColor ? face.indexOf(u'>') : -1;
    out += u"<FONT FACE=";
    if (faceBreak >= 0) {
        out += face.first(faceBreak);
        appendColorAttribute(out, *color);
        out += face.sliced(faceBreak);
    } else {
        out += face;
    }
    out += u" SIZE=\"";
    out += htmlFontSize(*points, sizeText);
    out += u'"';
    if (withColor && faceBreak < 0)
        appendColorAttribute(out, *color);
    out += u'>';
    appendStyled(out, text, bold, italic, underline);
    out += u"</FONT>";
    return true;
}

QString ApplyTextMarkup(const QString &text, const QString &description, quint8 applyFont, QString *error)
{
    QString out;
    out.reserve(text.size() + 64);
    if (!Markup::appendTextMarkup(out, text, description, applyFont, error))
        return QString();
    return out;
}

void Markup::appendConvertedLines(QString &out, QStringView text, quint8 kind)
{
    const char16_t *data = text.utf16();
    const qsizetype n = text.size();
    qsizetype start = 0;
    while (start < n) {
        qsizetype end = start;
        while (end < n && data[end] != u'\r' && data[end] != u'\n')
            ++end;
        appendConvertedLine(out, text.sliced(start, end - start), kind);
        out += u"\r\n";
        if (end + 1 < n && data[end] == u'\r' && data[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
}

QString ConvertLines(const QString &text, quint8 kind)
{
    QString out;
    if (text.isEmpty())
        return out;
    out.reserve(text.size() + text.size() / 4 + 16);
    Markup::appendConvertedLines(out, text, kind);
    return out;
}
