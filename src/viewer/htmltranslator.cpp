#include "viewer/htmltranslator.h"

#include "viewer/htmllexer.h"
#include "viewer/references.h"

#include <QHash>

#include <array>
#include <optional>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace Translate {

namespace {

using Html::Token;

// The indent of list items: the width of the marker column.
constexpr int kListIndent = 40;
constexpr int kDefaultBoxColumns = 20;
constexpr int kMaxColumns = 400;
constexpr int kMaxRows = 200;
constexpr int kMaxRuleSize = 200;
// Lists nest no deeper; the items of deeper ones go on in the list around them.
constexpr int kMaxListNesting = 32;

// The leading whole number of text (after spaces), or -1.
int leadingNumber(QStringView text)
{
    text = text.trimmed();
    qsizetype digits = 0;
    while (digits < text.size() && digits < 7 && text[digits].isDigit())
        ++digits;
    return digits == 0 ? -1 : text.left(digits).toInt();
}

// A picture or cell size in pixels; -1 for none, for a percentage or for nonsense.
int pixels(QStringView text)
{
    text = text.trimmed();
    if (text.endsWith(u'%'))
        return -1;
    return leadingNumber(text);
}

bool isOneOf(QStringView name, std::initializer_list<QStringView> names)
{
    for (QStringView n : names) {
        if (name == n)
            return true;
    }
    return false;
}

// A list, drawn as a two-column table (markers, items) because Qt's own lists lose their
// markers and indent beside a floating picture. Lists inside it are Qt's own: no picture floats
// in there, and Qt's time for tables in tables grows fourfold with every level.
struct ListState
{
    bool native = false; // one of Qt's lists, inside a list table
    bool ordered = false;
    QString type; // OL: "1", "a", "A", "i", "I"; UL: "disc", "circle", "square"
    int counter = 1;
    bool rowOpen = false;
    bool anyRow = false;
    qsizetype start = 0; // where the table begins in the output, to drop it when it stays empty
};

// What is open that a table end must close: the page's own tables and our list tables.
struct OpenTable
{
    std::optional<ListState> list; // empty for a table of the page
};

class Translator
{
public:
    Translator(QStringView html, const Options &options) : m_lexer(html), m_options(options)
    {
        m_out.reserve(html.size() + html.size() / 4);
    }

    Page run();

private:
    bool nextToken(Token &token);
    void startTag(const Token &token);
    void endTag(const Token &token);
    void text(const QString &text);

    void body(const Token &token);
    void picture(const Token &token);
    void input(const Token &token);
    void select(const Token &token);
    void textArea(const Token &token);
    void rule(const Token &token);
    void anchor(const Token &token);
    void font(const Token &token);
    void generic(const Token &token);

    bool holdBreak(const Token &token);
    void flushBreak();

    void startList(const Token &token);
    void listItem(const Token &token);
    void endList();
    void ensureListRow();
    void closeListRow();
    void closeListsToTable();
    bool listOnTop() const { return !m_open.empty() && m_open.back().list.has_value(); }
    QStringView itemAlign() const { return m_center > 0 ? u" align=\"center\"" : u""; }

    void emitControl(const Control &control);
    QString attributes(const Token &token, std::initializer_list<QStringView> skip = {}) const;

    Html::Lexer m_lexer;
    Options m_options;
    std::optional<Token> m_pushedBack;
    QString m_out;
    Page m_page;
    std::vector<OpenTable> m_open;
    int m_center = 0;
    // A paragraph is open; a list ends it, and the paragraph's own end then ends nothing.
    bool m_paragraphOpen = false;
    bool m_dropParagraphEnd = false;
    bool m_emptyParagraph = false; // a paragraph started and holds nothing yet
    int m_listsTooDeep = 0; // lists not opened because of kMaxListNesting, whose ends are ignored
    // A <br> waits for what follows: at the end of a block it makes no empty line.
    bool m_pendingBreak = false;
    QString m_held; // white space and inline end tags seen after the pending <br>
    QHash<QString, int> m_pictureIndex;
    // Per radio group of the current form, the control that shows checked: only the last
    // CHECKED button of a group stays checked.
    QHash<QString, qsizetype> m_checkedRadio;
    // A block just ended and nothing has been shown since: Qt would put a picture that comes
    // now on the ended block's last line.
    bool m_blockEnded = false;
    void breakAfterBlock();
};

bool isBlockElement(QStringView name)
{
    return isOneOf(name, {u"p",   u"div",        u"center", u"table", u"tr", u"td", u"th",     u"ul", u"ol",
                          u"dir", u"menu",       u"li",     u"hr",    u"h1", u"h2", u"h3",     u"h4", u"h5",
                          u"h6",  u"blockquote", u"pre",    u"dl",    u"dd", u"dt", u"address"});
}

Page Translator::run()
{
    Token token;
    while (nextToken(token)) {
        if (m_pendingBreak && holdBreak(token))
            continue;
        switch (token.type) {
        case Token::Text:
            text(token.text);
            break;
        case Token::StartTag:
            startTag(token);
            break;
        case Token::EndTag:
            endTag(token);
            break;
        }
    }
    m_pendingBreak = false;
    m_out += m_held;
    while (!m_open.empty()) {
        if (listOnTop()) {
            endList();
        } else {
            m_out += u"</table>";
            m_open.pop_back();
        }
    }

    QString css;
    const QColor textColor = m_page.text.isValid() ? m_page.text : m_options.textColor;
    const QColor linkColor = m_page.link.isValid() ? m_page.link : m_options.linkColor;
    if (textColor.isValid())
        css += u"body{color:" % textColor.name() % u'}';
    if (linkColor.isValid())
        css += u".link{color:" % linkColor.name() % u'}';
    css += u"pre,tt,code,kbd,samp,xmp,listing{font-family:'" % m_options.preFontName % u"'}";
    // A paragraph's space is a line of the default font (1em), not Qt's fixed 12 pixels.
    const QString em = QString::number(qRound(m_options.fontSize * 4 / 3.0));
    css += u"p{margin-top:" % em % u"px;margin-bottom:" % em % u"px}";
    m_page.html = u"<html><head><style type=\"text/css\">" % css % u"</style></head><body>" % m_out % u"</body></html>";
    return std::move(m_page);
}

bool Translator::nextToken(Token &token)
{
    if (m_pushedBack) {
        token = std::move(*m_pushedBack);
        m_pushedBack.reset();
        return true;
    }
    return m_lexer.next(token);
}

bool Translator::holdBreak(const Token &token)
{
    if (token.type == Token::Text && token.text.trimmed().isEmpty()) {
        m_held += token.text;
        return true;
    }
    if (token.type == Token::EndTag &&
        isOneOf(token.name, {u"b", u"i", u"u", u"font", u"a", u"span", u"em", u"strong", u"small", u"big", u"tt",
                             u"sup", u"sub", u"s", u"strike", u"code", u"cite"})) {
        m_held += u"</" % token.name % u'>';
        return true;
    }
    static const std::initializer_list<QStringView> blockEnds = {
        u"td", u"th",  u"tr",   u"table", u"p",  u"li", u"div",        u"center", u"ul",
        u"ol", u"dir", u"menu", u"dl",    u"dd", u"dt", u"blockquote", u"body",   u"html",
        u"h1", u"h2",  u"h3",   u"h4",    u"h5", u"h6", u"pre",        u"form",   u"address"};
    static const std::initializer_list<QStringView> blockStarts = {
        u"p",   u"div",        u"center", u"table", u"tr", u"td", u"th",   u"ul",     u"ol",
        u"dir", u"menu",       u"li",     u"hr",    u"h1", u"h2", u"h3",   u"h4",     u"h5",
        u"h6",  u"blockquote", u"pre",    u"dl",    u"dd", u"dt", u"form", u"address"};
    const bool blockBoundary = (token.type == Token::EndTag && isOneOf(token.name, blockEnds)) ||
                               (token.type == Token::StartTag && isOneOf(token.name, blockStarts));
    m_pendingBreak = false;
    if (blockBoundary)
        m_out += std::exchange(m_held, QString());
    else
        flushBreak();
    return false;
}

void Translator::breakAfterBlock()
{
    if (!std::exchange(m_blockEnded, false))
        return;
    // A zero-width space is text, so Qt starts a new block for it, as browsers do. Without it
    // Qt takes a picture into the ended block, and starts yet another block at the next <br>.
    m_out += u"&#8203;";
}

void Translator::flushBreak()
{
    ensureListRow();
    m_out += u"<br>" % std::exchange(m_held, QString());
}

void Translator::text(const QString &text)
{
    if (listOnTop() && !m_open.back().list->native && !m_open.back().list->rowOpen && text.trimmed().isEmpty())
        return;
    ensureListRow();
    if (!text.trimmed().isEmpty()) {
        breakAfterBlock();
        m_emptyParagraph = false;
    }
    QString fixed = Html::fixLegacyReferences(text);
    fixed.replace(u'<', QStringLiteral("&lt;"));
    m_out += fixed;
}

void Translator::startTag(const Token &token)
{
    const QString &name = token.name;
    if (name != u"hr" && name != u"center")
        m_emptyParagraph = false;
    if (isBlockElement(name) || name == u"br") {
        m_blockEnded = false;
    } else if (m_blockEnded && isOneOf(name, {u"font", u"a", u"b", u"i", u"u", u"span", u"em", u"strong", u"small",
                                              u"big", u"tt", u"sup", u"sub", u"s", u"strike", u"code", u"cite"})) {
        ensureListRow();
        breakAfterBlock();
    }
    if (name == u"script" || name == u"style") {
        m_lexer.rawText(name);
    } else if (name == u"title") {
        m_page.title = Html::collapseWhiteSpace(Html::decodeReferences(m_lexer.rawText(name)));
    } else if (name == u"textarea") {
        textArea(token);
    } else if (name == u"body") {
        body(token);
    } else if (name == u"form") {
        m_checkedRadio.clear(); // each form has groups of its own
    } else if (isOneOf(name, {u"html", u"head", u"meta", u"link", u"base", u"basefont", u"isindex", u"option", u"param",
                              u"noscript", u"object", u"applet", u"embed"})) {
        // Not shown; the content of the containers is.
    } else if (name == u"br") {
        if (m_pendingBreak)
            flushBreak();
        m_pendingBreak = true;
    } else if (name == u"img") {
        picture(token);
    } else if (name == u"input") {
        input(token);
    } else if (name == u"select") {
        select(token);
    } else if (name == u"hr") {
        rule(token);
    } else if (isOneOf(name, {u"ul", u"ol", u"dir", u"menu"})) {
        startList(token);
    } else if (name == u"li") {
        listItem(token);
    } else if (isOneOf(name, {u"td", u"th", u"tr"})) {
        closeListsToTable();
        // Browsers take column widths from the cells of one column; Qt would share a spanning
        // cell's width out evenly and override them (a 100% title row splits a form 50/50).
        if (leadingNumber(token.value(u"colspan")) > 1) {
            ensureListRow();
            m_out += u'<' % name % attributes(token, {u"background", u"width"}) % u'>';
        } else {
            generic(token);
        }
    } else if (name == u"table") {
        ensureListRow();
        m_open.push_back({});
        m_out += u"<table" % attributes(token, {u"background"}) % u'>';
    } else if (name == u"a") {
        anchor(token);
    } else if (name == u"font") {
        font(token);
    } else {
        if (name == u"center")
            ++m_center;
        generic(token);
    }
}

void Translator::endTag(const Token &token)
{
    const QString &name = token.name;
    if (isOneOf(name, {u"html", u"head", u"body", u"form", u"title", u"script", u"style", u"textarea", u"select",
                       u"option", u"noscript", u"object", u"applet", u"embed"})) {
        return;
    }
    if (isOneOf(name, {u"ul", u"ol", u"dir", u"menu"})) {
        if (m_listsTooDeep > 0)
            --m_listsTooDeep;
        else if (listOnTop())
            endList();
        return;
    }
    if (name == u"li") {
        if (listOnTop())
            closeListRow();
        return;
    }
    if (isOneOf(name, {u"td", u"th", u"tr", u"table"})) {
        closeListsToTable();
        if (name == u"table") {
            if (m_open.empty())
                return;
            m_open.pop_back();
        }
    } else if (name == u"center") {
        if (m_center == 0)
            return;
        --m_center;
    } else if (name == u"p") {
        if (std::exchange(m_dropParagraphEnd, false))
            return;
        m_paragraphOpen = false;
    }
    m_out += u"</" % name % u'>';
    m_blockEnded = isBlockElement(name);
}

void Translator::body(const Token &token)
{
    // Later BODY tags only add what the first left out, as browsers merged them.
    const auto take = [&](QColor &target, QStringView attribute) {
        if (!target.isValid())
            target = parseColor(token.value(attribute));
    };
    take(m_page.background, u"bgcolor");
    take(m_page.text, u"text");
    take(m_page.link, u"link");
    if (m_page.backgroundPicture.isEmpty())
        m_page.backgroundPicture = token.value(u"background").trimmed();
}

void Translator::picture(const Token &token)
{
    Picture picture;
    picture.source = token.value(u"src").trimmed();
    picture.width = pixels(token.value(u"width"));
    picture.height = pixels(token.value(u"height"));
    picture.alt = token.value(u"alt");
    picture.namesFile = !References::namesNoFile(picture.source);
    // A browser shows nothing for a picture that names no file and has neither a size nor
    // words of its own; it takes no room either, so it is left out altogether.
    if (!picture.namesFile && picture.alt.trimmed().isEmpty() && (picture.width <= 0 || picture.height <= 0))
        return;
    ensureListRow();
    breakAfterBlock();
    const QString align = token.value(u"align").trimmed().toLower();
    if (align == u"left")
        picture.gapRight = kFloatGap;
    else if (align == u"right")
        picture.gapLeft = kFloatGap;
    const QString key = picture.source % u'\n' % QString::number(picture.width) % u'\n' %
                        QString::number(picture.height) % u'\n' % QString::number(picture.gapLeft - picture.gapRight);
    int index = m_pictureIndex.value(key, -1);
    if (index < 0) {
        index = int(m_page.pictures.size());
        m_pictureIndex.insert(key, index);
        m_page.pictures.append(picture);
    }

    m_out += u"<img src=\"" % kPictureScheme % u':' % QString::number(index) % u'"';
    if (picture.width >= 0)
        m_out += u" width=\"" % QString::number(picture.width + picture.gapLeft + picture.gapRight) % u'"';
    if (picture.height >= 0)
        m_out += u" height=\"" % QString::number(picture.height) % u'"';
    if (align == u"left" || align == u"right")
        m_out += u" align=\"" % align % u'"';
    else if (align == u"top" || align == u"texttop")
        m_out += u" align=\"top\"";
    else if (align == u"middle" || align == u"absmiddle" || align == u"center")
        m_out += u" align=\"middle\"";
    m_out += u'>';
}

void Translator::input(const Token &token)
{
    const QString type = token.value(u"type").trimmed().toLower();
    if (type == u"hidden")
        return;
    if (type == u"image") {
        picture(token);
        return;
    }
    Control control;
    if (type == u"checkbox" || type == u"radio") {
        control.kind = type == u"radio" ? Control::Radio : Control::CheckBox;
        control.checked = token.has(u"checked");
        const QString group = token.value(u"name");
        if (control.kind == Control::Radio && control.checked && !group.isEmpty()) {
            const auto previous = m_checkedRadio.constFind(group);
            if (previous != m_checkedRadio.constEnd())
                m_page.controls[previous.value()].checked = false;
            m_checkedRadio.insert(group, m_page.controls.size());
        }
    } else if (type == u"submit" || type == u"reset" || type == u"button") {
        control.kind = Control::Button;
        const QString fallback = type == u"submit"  ? QStringLiteral("Submit")
                                 : type == u"reset" ? QStringLiteral("Reset")
                                                    : QString();
        control.text = token.has(u"value") ? token.value(u"value") : fallback;
    } else {
        control.kind = type == u"password" ? Control::Password : type == u"file" ? Control::FileBox : Control::TextBox;
        control.text = token.value(u"value");
        const int size = leadingNumber(token.value(u"size"));
        control.columns = size > 0 ? qMin(size, kMaxColumns) : kDefaultBoxColumns;
    }
    emitControl(control);
}

void Translator::select(const Token &token)
{
    Control control;
    const int size = leadingNumber(token.value(u"size"));
    const bool multiple = token.has(u"multiple");
    if (size > 1 || multiple) {
        control.kind = Control::ListBox;
        control.rows = size > 1 ? qMin(size, kMaxRows) : 4;
        control.current = -1;
    } else {
        control.kind = Control::DropDown;
    }

    QStringList texts;
    bool inOption = false;
    int selected = -1;
    Token t;
    while (nextToken(t)) {
        if (t.type == Token::Text) {
            if (inOption)
                texts.last() += t.text;
            continue;
        }
        if (t.type == Token::StartTag && t.name == u"option") {
            texts.append(QString());
            inOption = true;
            if (selected < 0 && t.has(u"selected"))
                selected = int(texts.size()) - 1;
            continue;
        }
        if (t.type == Token::EndTag && t.name == u"option") {
            inOption = false;
            continue;
        }
        if (t.type == Token::EndTag && t.name == u"select")
            break;
        // Markup that cannot stand in a drop-down ends it, as browsers decided.
        if (isOneOf(t.name, {u"select", u"input", u"textarea", u"form", u"td", u"th", u"tr", u"table"})) {
            m_pushedBack = std::move(t);
            break;
        }
    }
    for (const QString &text : std::as_const(texts))
        control.options.append(Html::collapseWhiteSpace(Html::decodeReferences(text)));
    if (control.kind == Control::DropDown)
        control.current = qMax(selected, 0);
    else
        control.current = selected;
    emitControl(control);
}

void Translator::textArea(const Token &token)
{
    Control control;
    control.kind = Control::TextArea;
    QString content = Html::decodeReferences(m_lexer.rawText(u"textarea"));
    if (content.startsWith(u"\r\n"))
        content.remove(0, 2);
    else if (content.startsWith(u'\n') || content.startsWith(u'\r'))
        content.remove(0, 1);
    control.text = content;
    const int cols = leadingNumber(token.value(u"cols"));
    const int rows = leadingNumber(token.value(u"rows"));
    control.columns = cols > 0 ? qMin(cols, kMaxColumns) : kDefaultBoxColumns;
    control.rows = rows > 0 ? qMin(rows, kMaxRows) : 2;
    emitControl(control);
}

void Translator::emitControl(const Control &control)
{
    ensureListRow();
    breakAfterBlock();
    m_out += u"<img src=\"" % kControlScheme % u':' % QString::number(m_page.controls.size()) % u"\" align=\"middle\">";
    m_page.controls.append(control);
}

void Translator::rule(const Token &token)
{
    ensureListRow();
    Rule rule;
    const QString width = token.value(u"width").trimmed();
    const int value = leadingNumber(width);
    if (value >= 0) {
        rule.width = value;
        rule.percent = width.endsWith(u'%');
        if (rule.percent)
            rule.width = qMin(rule.width, 100);
    }
    const int size = leadingNumber(token.value(u"size"));
    if (size > 0)
        rule.size = qMin(size, kMaxRuleSize);
    rule.noShade = token.has(u"noshade");
    // Browsers keep an empty paragraph's space before the rule; Qt drops the paragraph.
    if (std::exchange(m_emptyParagraph, false))
        rule.spaceAbove = qRound(m_options.fontSize * 4 / 3.0);
    const QString align = token.value(u"align").trimmed().toLower();
    if (align == u"left")
        rule.align = Qt::AlignLeft;
    else if (align == u"right")
        rule.align = Qt::AlignRight;
    m_page.rules.append(rule);
    m_out += u"<hr width=\"" % QString::number(m_page.rules.size()) % u"\">";
}

void Translator::anchor(const Token &token)
{
    ensureListRow();
    m_out += u"<a";
    if (token.has(u"href")) {
        m_out += u" href=\"" % kLinkScheme % u':' % QString::number(m_page.links.size()) % u"\" class=\"link\"";
        m_page.links.append(token.value(u"href"));
    }
    if (token.has(u"name"))
        m_out += u" name=\"" % Html::escapeAttribute(token.value(u"name")) % u'"';
    m_out += u'>';
}

void Translator::font(const Token &token)
{
    ensureListRow();
    m_out += u"<font";
    if (token.has(u"face")) {
        // The first family of the list that can be shown; none leaves the font as it is.
        QString face = token.value(u"face");
        if (m_options.familyAvailable) {
            const QStringList families = face.split(u',');
            face.clear();
            for (const QString &family : families) {
                const QString name = family.trimmed().remove(u'"').remove(u'\'');
                if (!name.isEmpty() && m_options.familyAvailable(name)) {
                    face = name;
                    break;
                }
            }
        }
        if (!face.isEmpty())
            m_out += u" face=\"" % Html::escapeAttribute(face) % u'"';
    }
    const QColor color = parseColor(token.value(u"color"));
    if (color.isValid())
        m_out += u" color=\"" % color.name() % u'"';
    if (token.has(u"size")) {
        // Qt's own scale for SIZE differs from the browsers'; give the points outright.
        m_out += u" style=\"font-size:" % QString::number(fontSizePoints(token.value(u"size"), m_options.fontSize)) %
                 u"pt\"";
    }
    m_out += u'>';
}

void Translator::generic(const Token &token)
{
    if (token.name == u"p") {
        m_paragraphOpen = true;
        m_dropParagraphEnd = false;
        m_emptyParagraph = true;
    }
    ensureListRow();
    m_out += u'<' % token.name % attributes(token, {u"background"}) % u'>';
}

QString Translator::attributes(const Token &token, std::initializer_list<QStringView> skip) const
{
    QString out;
    for (const Html::Attribute &a : token.attributes) {
        if (a.name == u"class" || isOneOf(a.name, skip))
            continue;
        QString value = a.value;
        if (isOneOf(a.name, {u"bgcolor", u"color", u"bordercolor"})) {
            const QColor color = parseColor(value);
            if (!color.isValid())
                continue;
            value = color.name();
        }
        out += u' ' % a.name % u"=\"" % Html::escapeAttribute(value) % u'"';
    }
    return out;
}

void Translator::startList(const Token &token)
{
    if (std::exchange(m_paragraphOpen, false)) {
        // Browsers end the paragraph before a list, so the list never takes its alignment.
        m_out += u"</p>";
        m_dropParagraphEnd = true;
    }
    ensureListRow();
    ListState list;
    list.ordered = token.name == u"ol";
    int nesting = 0;
    for (const OpenTable &open : m_open)
        nesting += open.list ? 1 : 0;
    if (nesting >= kMaxListNesting) {
        ++m_listsTooDeep; // its items go on in the list around it
        return;
    }
    const QString type = token.value(u"type").trimmed();
    if (list.ordered) {
        list.type = isOneOf(type, {u"1", u"a", u"A", u"i", u"I"}) ? type : QStringLiteral("1");
        const int start = leadingNumber(token.value(u"start"));
        list.counter = start >= 0 ? start : 1;
    } else {
        const QString lower = type.toLower();
        if (isOneOf(lower, {u"disc", u"circle", u"square"}))
            list.type = lower;
        else
            list.type = nesting == 0   ? QStringLiteral("disc")
                        : nesting == 1 ? QStringLiteral("circle")
                                       : QStringLiteral("square");
    }
    list.start = m_out.size();
    list.native = nesting > 0;
    if (list.native) {
        m_out += u'<' % QStringView(list.ordered ? u"ol" : u"ul") % u" type=\"" % list.type %
                 u"\" style=\"margin-top:0px;margin-bottom:0px\">";
    } else {
        // Browsers keep the markers of a centred list at the margin and centre only the items'
        // text. The list's space above is a paragraph's; the one below comes from what follows,
        // as Qt does not merge a table's margin with a paragraph's.
        m_out += u"<table border=\"0\" cellspacing=\"0\" cellpadding=\"0\"" %
                 QStringView(m_center > 0 ? u" width=\"100%\"" : u"") % u" style=\"margin-top:" %
                 QString::number(qRound(m_options.fontSize * 4 / 3.0)) % u"px;margin-bottom:0px\">";
    }
    m_open.push_back({list});
}

void Translator::listItem(const Token &token)
{
    if (!listOnTop()) {
        // An item outside any list starts one, as browsers showed it.
        startList(Token{Token::StartTag, {}, QStringLiteral("ul"), {}});
    }
    ListState &list = *m_open.back().list;
    if (list.native) {
        m_out += u"<li>";
        return;
    }
    closeListRow();
    QString marker;
    if (list.ordered) {
        const int value = leadingNumber(token.value(u"value"));
        if (value >= 0)
            list.counter = value;
        QString type = token.value(u"type").trimmed();
        if (!isOneOf(type, {u"1", u"a", u"A", u"i", u"I"}))
            type = list.type;
        marker = listNumber(list.counter, type.at(0)) % u'.';
        ++list.counter;
    } else {
        QString type = token.value(u"type").trimmed().toLower();
        if (!isOneOf(type, {u"disc", u"circle", u"square"}))
            type = list.type;
        marker = type == u"circle"   ? QStringLiteral("&#9702;")
                 : type == u"square" ? QStringLiteral("&#9642;")
                                     : QStringLiteral("&#8226;");
    }
    m_out += u"<tr><td width=\"" % QString::number(kListIndent) % u"\" align=\"right\" valign=\"top\">" % marker %
             u"&nbsp;</td><td valign=\"top\"" % itemAlign() % u'>';
    list.rowOpen = true;
    list.anyRow = true;
}

void Translator::ensureListRow()
{
    if (!listOnTop() || m_open.back().list->native || m_open.back().list->rowOpen)
        return;
    ListState &list = *m_open.back().list;
    m_out += u"<tr><td width=\"" % QString::number(kListIndent) % u"\"></td><td valign=\"top\"" % itemAlign() % u'>';
    list.rowOpen = true;
    list.anyRow = true;
}

void Translator::closeListRow()
{
    ListState &list = *m_open.back().list;
    if (list.rowOpen)
        m_out += u"</td></tr>";
    list.rowOpen = false;
}

void Translator::endList()
{
    closeListRow();
    const ListState &list = *m_open.back().list;
    if (list.native)
        m_out += u"</" % QStringView(list.ordered ? u"ol" : u"ul") % u'>';
    else if (list.anyRow)
        m_out += u"</table>";
    else
        m_out.truncate(list.start); // Qt draws a table without rows as a stray frame
    m_open.pop_back();
    m_blockEnded = true;
}

void Translator::closeListsToTable()
{
    if (listOnTop())
        m_listsTooDeep = 0; // they stood inside the lists that end here
    while (listOnTop())
        endList();
}

} // namespace

Page translateHtml(QStringView html, const Options &options)
{
    // Browsers read CR LF and a lone CR as one LF before anything else; Qt's parser takes a CR
    // for a character of its own, which keeps what follows a block on the block's line.
    if (!html.contains(u'\r'))
        return Translator(html, options).run();
    QString text = html.toString();
    text.replace(u"\r\n"_s, u"\n"_s);
    text.replace(u'\r', u'\n');
    return Translator(text, options).run();
}

QColor parseColor(QStringView text)
{
    static const QHash<QString, QColor> names = {
        {QStringLiteral("black"), QColor(0x00, 0x00, 0x00)},  {QStringLiteral("silver"), QColor(0xC0, 0xC0, 0xC0)},
        {QStringLiteral("gray"), QColor(0x80, 0x80, 0x80)},   {QStringLiteral("white"), QColor(0xFF, 0xFF, 0xFF)},
        {QStringLiteral("maroon"), QColor(0x80, 0x00, 0x00)}, {QStringLiteral("red"), QColor(0xFF, 0x00, 0x00)},
        {QStringLiteral("purple"), QColor(0x80, 0x00, 0x80)}, {QStringLiteral("fuchsia"), QColor(0xFF, 0x00, 0xFF)},
        {QStringLiteral("green"), QColor(0x00, 0x80, 0x00)},  {QStringLiteral("lime"), QColor(0x00, 0xFF, 0x00)},
        {QStringLiteral("olive"), QColor(0x80, 0x80, 0x00)},  {QStringLiteral("yellow"), QColor(0xFF, 0xFF, 0x00)},
        {QStringLiteral("navy"), QColor(0x00, 0x00, 0x80)},   {QStringLiteral("blue"), QColor(0x00, 0x00, 0xFF)},
        {QStringLiteral("teal"), QColor(0x00, 0x80, 0x80)},   {QStringLiteral("aqua"), QColor(0x00, 0xFF, 0xFF)},
    };
    text = text.trimmed();
    if (text.startsWith(u'#'))
        text = text.mid(1);
    else if (const auto found = names.constFind(text.toString().toLower()); found != names.constEnd())
        return found.value();
    if (text.size() != 6)
        return {};
    bool ok = false;
    const uint rgb = text.toUInt(&ok, 16);
    return ok ? QColor::fromRgb(QRgb(rgb)) : QColor();
}

double fontSizePoints(QStringView size, int baseSize)
{
    static constexpr std::array<int, 7> kPoints = {8, 10, 12, 14, 18, 24, 36};
    size = size.trimmed();
    int n = 3;
    const bool relative = size.startsWith(u'+') || size.startsWith(u'-');
    const int value = leadingNumber(relative ? size.mid(1) : size);
    if (value >= 0)
        n = !relative ? value : size.startsWith(u'+') ? 3 + value : 3 - value;
    n = qBound(1, n, 7);
    return kPoints[size_t(n - 1)] * baseSize / 12.0;
}

QString listNumber(int n, QChar type)
{
    if (n <= 0 || type == u'1')
        return QString::number(n);
    if (type == u'a' || type == u'A') {
        QString letters;
        for (int v = n; v > 0; v = (v - 1) / 26)
            letters.prepend(QChar(u'a' + (v - 1) % 26));
        return type == u'A' ? letters.toUpper() : letters;
    }
    if (n >= 4000)
        return QString::number(n);
    static constexpr std::array<std::pair<int, const char16_t *>, 13> kRoman = {{
        {1000, u"m"},
        {900, u"cm"},
        {500, u"d"},
        {400, u"cd"},
        {100, u"c"},
        {90, u"xc"},
        {50, u"l"},
        {40, u"xl"},
        {10, u"x"},
        {9, u"ix"},
        {5, u"v"},
        {4, u"iv"},
        {1, u"i"},
    }};
    QString roman;
    int v = n;
    for (const auto &[value, letters] : kRoman) {
        while (v >= value) {
            roman += QStringView(letters);
            v -= value;
        }
    }
    return type == u'I' ? roman.toUpper() : roman;
}

} // namespace Translate
