#include "pagehtml.h"

#include "formhtml.h"
#include "markup.h"
#include "platform/textutils.h"

#include <algorithm>
#include <array>
#include <optional>

// The page is assembled front to back: the head, then each block, then the end, each written into
// one reused text and moved into the line list. Every piece put in front of the blocks ends with
// CR LF and every block is followed by one, so this gives the same lines as wrapping the growing
// line list step by step and re-splitting its whole text.

namespace {

constexpr QStringView kDropBoxFunction =
    u"<script language=\"JavaScript\">\r\n<!--\r\n// Brisko drop box: go to the chosen page\r\n"
    u"\tfunction go(doc){\r\n\tif (doc.options[doc.selectedIndex].value != \"none\") {\r\n"
    u"\t\tlocation = doc.options[doc.selectedIndex].value;\r\n\t\t}\r\n\t}\r\n//-->\r\n</script>\r\n";

constexpr QStringView kNoUnderlineStyle =
    u"<style type=\"text/css\">\r\n<!-- A:link {text-decoration: none;}\r\n"
    u"     A:visited {text-decoration: none;} -->\r\n</style>\r\n";

struct ListStyle
{
    QStringView tag;
    QStringView type;
};

constexpr std::array<ListStyle, kListStyleCount> kListStyles = {{
    {u"UL", u"DISC"},
    {u"UL", u"CIRCLE"},
    {u"UL", u"SQUARE"},
    {u"OL", u"A"},
    {u"OL", u"a"},
    {u"OL", u"1"},
    {u"OL", u"I"},
    {u"OL", u"i"},
}};

constexpr std::array<QStringView, 6> kLineSizes = {u"3", u"6", u"9", u"12", u"15", u"18"};

void appendInt(QString &out, qint64 value)
{
    char16_t buffer[24];
    int at = 24;
    const bool negative = value < 0;
    auto magnitude = negative ? 0 - quint64(value) : quint64(value);
    do {
        buffer[--at] = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative)
        buffer[--at] = u'-';
    out.append(QStringView(buffer + at, 24 - at));
}

// A picture's file name as the last part of a SRC or BACKGROUND address. In an address "%" starts
// an escape, "#" a fragment and "?" a query, so a browser would ask the server for another file:
// these three are escaped, and the quote as in any attribute value. Everything else, also a
// space, is left for the browser to escape as it always has.
void appendPictureName(QString &out, QStringView name)
{
    for (const QChar c : name) {
        switch (c.unicode()) {
        case u'%':
            out += u"%25";
            break;
        case u'#':
            out += u"%23";
            break;
        case u'?':
            out += u"%3F";
            break;
        case u'"':
            out += u"&quot;";
            break;
        default:
            out += c;
        }
    }
}

void appendLogoBanner(QString &out)
{
    out += u"<CENTER><FONT SIZE=\"1\" FACE=\"VERDANA, ARIAL\"><A HREF=\"";
    out += kMakerAddress;
    out += u"\"><IMG SRC=\"";
    out += kBannerAddress;
    out += u"\" BORDER=0 ALT=\"Marlowen HTML Brisko 4.0\"><BR><BR>\r\n"
           u"Created with Marlowen HTML Brisko 4.0</A></FONT></CENTER>\r\n";
}

class PageWriter
{
public:
    PageWriter(const TPagelette &doc, quint8 pathMode, const QString &programFolder, const QString &formAction,
               QString &out)
        : m_doc(doc), m_pathMode(pathMode), m_programFolder(programFolder), m_formAction(formAction), m_out(out)
    {
    }

    bool appendBlock(int index, const TPageItem &item, QString *error);
    void appendBackground(const QString &fileName);
    bool dropBoxUsed() const { return m_dropBoxUsed; }

private:
    void appendImage(const TImageBlock &image);
    void appendLink(int index, const TLinkBlock &link);
    void appendBullets(const TBulletBlock &bullets);
    void appendLine(const THRBlock &line);

    const TPagelette &m_doc;
    const quint8 m_pathMode;
    const QString &m_programFolder;
    const QString &m_formAction;
    QString &m_out;
    QString m_paragraph;          // reused for each paragraph's converted lines
    std::optional<QString> m_form; // the form is the same wherever it stands
    bool m_dropBoxUsed = false;
};

bool PageWriter::appendBlock(int index, const TPageItem &item, QString *error)
{
    QStringView closing;
    if (item.BlockAlign == baCenter) {
        m_out += u"<CENTER>";
        closing = u"</CENTER>";
    } else if (item.BlockAlign == baRight) {
        m_out += u"<P ALIGN=\"RIGHT\">";
        closing = u"</P>";
    }

    switch (item.BlockType) {
    case btHeading: {
        const THeadingBlock &h = item.HeadingBlock;
        if (!Markup::appendTextMarkup(m_out, h.Heading, h.Attributes, h.ApplyFont, error))
            return false;
        break;
    }
    case btImage:
        appendImage(item.ImageBlock);
        break;
    case btLink:
        appendLink(index, item.LinkBlock);
        break;
    case btText: {
        const TTextBlock &t = item.TextBlock;
        m_paragraph.resize(0);
        Markup::appendConvertedLines(m_paragraph, t.Text, lkParagraph);
        if (!Markup::appendTextMarkup(m_out, m_paragraph, t.Attributes, t.ApplyFont, error))
            return false;
        break;
    }
    case btBullet:
        appendBullets(item.BulletBlock);
        break;
    case btHR:
        appendLine(item.HRBlock);
        break;
    case btForms:
        if (m_doc.WebForm.Count() > 0) {
            if (!m_form)
                m_form = BuildFormHtml(m_doc, m_formAction);
            m_out += *m_form;
        }
        break;
    default:
        break;
    }

    m_out += closing;
    if (item.BlockOnNewLine && item.BlockType != btPageProperties)
        m_out += u"<P>";
    m_out += u"\r\n";
    return true;
}

void PageWriter::appendImage(const TImageBlock &image)
{
    const bool linked = !image.ImageLink.isEmpty();
    if (linked) {
        m_out += u"<A HREF=\"";
        Markup::appendAttributeValue(m_out, image.ImageLink);
        m_out += u"\">";
    }
    qsizetype alignAt = m_out.size(); // with no tag at all the attribute stands alone
    if (m_pathMode <= pmUpload) {
        m_out += u"<IMG SRC=\"";
        if (m_pathMode == pmPreview) {
            m_out += m_programFolder;
            m_out += u"Upload\\images\\";
        } else if (m_pathMode == pmRelative) {
            m_out += u"../Upload/Images/";
        }
        appendPictureName(m_out, image.FileName);
        m_out += u"\" BORDER=0 ALT=\"";
        Markup::appendAttributeValue(m_out, image.Alt);
        m_out += u"\" HEIGHT=\"";
        Markup::appendAttributeValue(m_out, image.Height);
        m_out += u"\" WIDTH=\"";
        Markup::appendAttributeValue(m_out, image.Width);
        m_out += u"\"";
        alignAt = m_out.size(); // the tag's own ">", not one inside the ALT text
        m_out += u'>';
    }
    if (!image.Align.isEmpty()) {
        QString align = QStringLiteral(" ALIGN=\"");
        Markup::appendAttributeValue(align, image.Align);
        align += u'"';
        m_out.insert(alignAt, align);
    }
    if (linked)
        m_out += u"</A>";
}

void PageWriter::appendLink(int index, const TLinkBlock &link)
{
    if (link.UseDropBox && !link.DropBoxText.isEmpty()) {
        m_dropBoxUsed = true;
        m_out += u"<script language=\"JavaScript\">\r\n<!--\r\ndocument.write('<form name=\"selecter";
        appendInt(m_out, index);
        m_out += u"\"><select name=\"select\" size=1>');\r\n"
                 u"document.write('<option value=none>Select your destination');\r\n"
                 u"document.write('<option value=none>--------------------');\r\n";
        Markup::appendConvertedLines(m_out, link.DropBoxText, lkDropBoxOptions);
        m_out += u"document.write('</select>');\r\n"
                 u"document.write('&nbsp;<INPUT TYPE=\"button\" VALUE=\"Go\" onclick=\"go(document.selecter";
        appendInt(m_out, index);
        m_out += u".select)\">');\r\ndocument.write('</form>');\r\n//-->\r\n</script>\r\n";
        return;
    }
    m_out += u"<A HREF=\"";
    if (link.Email)
        m_out += u"mailto:";
    Markup::appendAttributeValue(m_out, link.LinkURL);
    m_out += u"\">";
    m_out += link.LinkText;
    m_out += u"</A>";
}

void PageWriter::appendBullets(const TBulletBlock &bullets)
{
    if (bullets.Style >= kListStyles.size()) {
        Markup::appendConvertedLines(m_out, bullets.Bullets, lkListItems);
        return;
    }
    const ListStyle &style = kListStyles[bullets.Style];
    m_out += u'<';
    m_out += style.tag;
    m_out += u" TYPE=\"";
    m_out += style.type;
    m_out += u"\">\r\n";
    Markup::appendConvertedLines(m_out, bullets.Bullets, lkListItems);
    m_out += u"</";
    m_out += style.tag;
    m_out += u'>';
}

void PageWriter::appendLine(const THRBlock &line)
{
    // An unknown thickness writes no tag, so the NOSHADE attribute is all that is left.
    if (line.Size < 0 || line.Size >= qint32(kLineSizes.size())) {
        if (line.NoShade)
            m_out += u" NOSHADE";
        return;
    }
    m_out += u"<HR WIDTH=\"";
    appendInt(m_out, line.Width);
    m_out += u"%\" SIZE=\"";
    m_out += kLineSizes[size_t(line.Size)];
    m_out += u'"';
    if (line.NoShade)
        m_out += u" NOSHADE";
    m_out += u'>';
}

void PageWriter::appendBackground(const QString &fileName)
{
    if (fileName.isEmpty() || m_pathMode > pmUpload)
        return;
    m_out += u" BACKGROUND=\"";
    if (m_pathMode == pmPreview) {
        m_out += m_programFolder;
        m_out += u"Upload\\backgrounds\\";
    } else if (m_pathMode == pmRelative) {
        m_out += u"../Upload/Backgrounds/";
    }
    appendPictureName(m_out, fileName);
    m_out += u'"';
}

// Items are separate allocations, and large pages no longer fit in the cache: fetching the item
// after next while working on this one hides most of the wait for it.
void prefetchItem(const TPageItem *item)
{
#if defined(__GNUC__) || defined(__clang__)
    const char *bytes = reinterpret_cast<const char *>(item);
    for (size_t offset = 0; offset < sizeof(TPageItem); offset += 64)
        __builtin_prefetch(bytes + offset);
#else
    Q_UNUSED(item);
#endif
}

// Appends the lines of text (broken at CR LF, lone CR or lone LF, as Text::splitLines does) and
// empties it for the next piece. Every piece but the last ends with CR LF, so splitting piece by
// piece gives the lines of the whole.
void moveLines(QString &text, QStringList &lines)
{
    const char16_t *data = QStringView(text).utf16();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = data[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.emplace_back(reinterpret_cast<const QChar *>(data + start), i - start);
        if (c == u'\r' && i + 1 < n && data[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.emplace_back(reinterpret_cast<const QChar *>(data + start), n - start);
    text.resize(0);
}

} // namespace

QString PageThemeName(const TPagelette &doc)
{
    const TPageItem *details = doc.Page.Items(0);
    return details ? details->PagePropertiesBlock.ThemeName : QString();
}

QStringList BuildPageHtml(const TPagelette &doc, quint8 pathMode, bool showLogo, const QString &programFolder,
                          QString *error)
{
    return BuildPageHtml(doc, pathMode, showLogo, programFolder, QString(), error);
}

QStringList BuildPageHtml(const TPagelette &doc, quint8 pathMode, bool showLogo, const QString &programFolder,
                          const QString &formAction, QString *error)
{
    const TPageCollection &page = doc.Page;
    if (page.Count() == 0)
        return {};
    const TPagePropertiesBlock &d = page.Items(0)->PagePropertiesBlock;

    // A bad margin only counts once the blocks went through, as their errors come first.
    const bool indent = d.IndentMargin != u"0";
    QString marginError;
    const std::optional<qint32> margin = indent ? Text::toInt(d.IndentMargin, &marginError) : std::nullopt;

    QStringList lines;
    lines.reserve(32 + 4 * qsizetype(page.Count()));
    QString out;
    out.reserve(4096);
    PageWriter writer(doc, pathMode, programFolder, formAction, out);

    out += u"<!-- Created with Marlowen HTML Brisko 4.0 -->\r\n<!-- ";
    out += kMakerAddress;
    out += u" -->\r\n<HTML>\r\n<HEAD>\r\n     <TITLE>";
    out += d.PageTitle;
    out += u"</TITLE>\r\n";
    if (!d.MetaText.isEmpty())
        Markup::appendConvertedLines(out, d.MetaText, lkMetaTags);
    // The drop-box function script goes here once the blocks have shown whether it is needed.
    moveLines(out, lines);
    const qsizetype scriptAt = lines.size();
    if (d.Underline)
        out += kNoUnderlineStyle;

    out += u"</HEAD>\r\n\r\n<BODY BGCOLOR=\"" + ColorToHtml(d.BGColor) + u"\" TEXT=\"" + ColorToHtml(d.TextColor)
        + u"\" LINK=\"" + ColorToHtml(d.LinkColor) + u"\" ALINK=\"" + ColorToHtml(d.ALinkColor) + u"\" VLINK=\""
        + ColorToHtml(d.VLinkColor) + u'"';
    writer.appendBackground(d.Background);
    out += u">\r\n";

    if (margin) {
        out += u"<TABLE WIDTH=\"600\" BORDER=\"0\" CELLPADDING=\"0\" CELLSPACING=\"0\">\r\n<TR><TD WIDTH=\"";
        out += d.IndentMargin;
        out += u"\">&nbsp;</TD>\r\n<TD VALIGN=\"TOP\" WIDTH=\"";
        appendInt(out, qint32(600u - quint32(*margin))); // wraps like the 32-bit arithmetic it always was
        out += u"\">\r\n";
    }
    moveLines(out, lines);

    for (int i = 1; i < page.Count(); ++i) {
        if (i + 2 < page.Count())
            prefetchItem(page.Items(i + 2));
        if (!writer.appendBlock(i, *page.Items(i), error))
            return {};
        moveLines(out, lines);
    }

    if (indent) {
        if (!margin) {
            if (error)
                *error = marginError;
            return {};
        }
        out += u"\r\n";
        if (showLogo)
            appendLogoBanner(out);
        out += u"</TD></TR></TABLE>\r\n";
    } else if (showLogo) {
        appendLogoBanner(out);
    }
    out += u"</BODY></HTML>";
    moveLines(out, lines);

    if (writer.dropBoxUsed()) {
        out += kDropBoxFunction;
        QStringList script;
        moveLines(out, script);
        lines.insert(scriptAt, script.size(), QString());
        std::move(script.begin(), script.end(), lines.begin() + scriptAt);
    }
    return lines;
}
