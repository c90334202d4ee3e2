#include "viewer/htmllexer.h"

#include "platform/cp1252.h"

#include <QHash>

#include <array>

namespace Html {

namespace {

// The Latin-1 entities of HTML 4 in code point order, from 160.
constexpr std::array<const char16_t *, 96> kLatin1Names = {
    u"nbsp",   u"iexcl",  u"cent",   u"pound",  u"curren", u"yen",    u"brvbar", u"sect",   u"uml",    u"copy",
    u"ordf",   u"laquo",  u"not",    u"shy",    u"reg",    u"macr",   u"deg",    u"plusmn", u"sup2",   u"sup3",
    u"acute",  u"micro",  u"para",   u"middot", u"cedil",  u"sup1",   u"ordm",   u"raquo",  u"frac14", u"frac12",
    u"frac34", u"iquest", u"Agrave", u"Aacute", u"Acirc",  u"Atilde", u"Auml",   u"Aring",  u"AElig",  u"Ccedil",
    u"Egrave", u"Eacute", u"Ecirc",  u"Euml",   u"Igrave", u"Iacute", u"Icirc",  u"Iuml",   u"ETH",    u"Ntilde",
    u"Ograve", u"Oacute", u"Ocirc",  u"Otilde", u"Ouml",   u"times",  u"Oslash", u"Ugrave", u"Uacute", u"Ucirc",
    u"Uuml",   u"Yacute", u"THORN",  u"szlig",  u"agrave", u"aacute", u"acirc",  u"atilde", u"auml",   u"aring",
    u"aelig",  u"ccedil", u"egrave", u"eacute", u"ecirc",  u"euml",   u"igrave", u"iacute", u"icirc",  u"iuml",
    u"eth",    u"ntilde", u"ograve", u"oacute", u"ocirc",  u"otilde", u"ouml",   u"divide", u"oslash", u"ugrave",
    u"uacute", u"ucirc",  u"uuml",   u"yacute", u"thorn",  u"yuml",
};

struct NamedEntity
{
    const char16_t *name;
    char32_t code;
};

constexpr NamedEntity kOtherNames[] = {
    {u"amp", 0x26},      {u"lt", 0x3C},      {u"gt", 0x3E},       {u"quot", 0x22},     {u"apos", 0x27},
    {u"OElig", 0x152},   {u"oelig", 0x153},  {u"Scaron", 0x160},  {u"scaron", 0x161},  {u"Yuml", 0x178},
    {u"fnof", 0x192},    {u"circ", 0x2C6},   {u"tilde", 0x2DC},   {u"ensp", 0x2002},   {u"emsp", 0x2003},
    {u"thinsp", 0x2009}, {u"ndash", 0x2013}, {u"mdash", 0x2014},  {u"lsquo", 0x2018},  {u"rsquo", 0x2019},
    {u"sbquo", 0x201A},  {u"ldquo", 0x201C}, {u"rdquo", 0x201D},  {u"bdquo", 0x201E},  {u"dagger", 0x2020},
    {u"Dagger", 0x2021}, {u"bull", 0x2022},  {u"hellip", 0x2026}, {u"permil", 0x2030}, {u"lsaquo", 0x2039},
    {u"rsaquo", 0x203A}, {u"euro", 0x20AC},  {u"trade", 0x2122},  {u"larr", 0x2190},   {u"rarr", 0x2192},
};

const QHash<QString, char32_t> &namedEntities()
{
    static const QHash<QString, char32_t> table = [] {
        QHash<QString, char32_t> names;
        for (size_t i = 0; i < kLatin1Names.size(); ++i)
            names.insert(QString::fromUtf16(kLatin1Names[i]), char32_t(160 + i));
        for (const NamedEntity &entity : kOtherNames)
            names.insert(QString::fromUtf16(entity.name), entity.code);
        return names;
    }();
    return table;
}

bool isNameStart(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// A decimal reference below 256 names a Windows-1252 byte; others name their code point.
char32_t numericCharacter(uint code)
{
    if (code >= 128 && code < 160) {
        const char byte = char(code);
        return Cp1252::decode(QByteArrayView(&byte, 1)).at(0).unicode();
    }
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0xFFFD;
    return code;
}

// The character of the reference that starts at text[pos] ("&"), and its length; 0 when there
// is none. The closing ";" may be missing, as browsers allowed.
qsizetype parseReference(QStringView text, qsizetype pos, char32_t *character)
{
    qsizetype i = pos + 1;
    if (i < text.size() && text[i] == u'#') {
        ++i;
        const bool hex = i < text.size() && (text[i] == u'x' || text[i] == u'X');
        if (hex)
            ++i;
        const qsizetype start = i;
        while (i < text.size() && i - start < 8 &&
               (text[i].isDigit() || (hex && QStringView(u"abcdefABCDEF").contains(text[i]))))
            ++i;
        if (i == start)
            return 0;
        bool ok = false;
        const uint code = text.mid(start, i - start).toUInt(&ok, hex ? 16 : 10);
        if (!ok)
            return 0;
        *character = numericCharacter(code);
    } else {
        const qsizetype start = i;
        while (i < text.size() && i - start < 10 && text[i].isLetterOrNumber())
            ++i;
        // Without its ";" a reference is the longest known name at the start ("&nbspb").
        const bool closed = i < text.size() && text[i] == u';';
        for (; i > start; --i) {
            const auto found = namedEntities().constFind(text.mid(start, i - start).toString());
            if (found != namedEntities().constEnd()) {
                *character = found.value();
                break;
            }
            if (closed)
                return 0;
        }
        if (i == start)
            return 0;
    }
    if (i < text.size() && text[i] == u';')
        ++i;
    return i - pos;
}

void appendCharacter(QString &out, char32_t character)
{
    const char32_t pair[] = {character};
    out += QString::fromUcs4(pair, 1);
}

} // namespace

bool Token::has(QStringView attribute) const
{
    for (const Attribute &a : attributes) {
        if (a.name == attribute)
            return true;
    }
    return false;
}

QString Token::value(QStringView attribute, const QString &fallback) const
{
    for (const Attribute &a : attributes) {
        if (a.name == attribute)
            return a.value;
    }
    return fallback;
}

bool Lexer::next(Token &token)
{
    while (m_pos < m_source.size()) {
        const qsizetype lt = m_source.indexOf(u'<', m_pos);
        const qsizetype textEnd = lt < 0 ? m_source.size() : lt;
        if (textEnd > m_pos) {
            // Text runs on over every "<" that cannot start a tag.
            qsizetype end = textEnd;
            while (end < m_source.size()) {
                const QChar after = end + 1 < m_source.size() ? m_source[end + 1] : QChar();
                if (isNameStart(after) || after == u'/' || after == u'!' || after == u'?')
                    break;
                const qsizetype more = m_source.indexOf(u'<', end + 1);
                end = more < 0 ? m_source.size() : more;
            }
            token = Token();
            token.text = m_source.mid(m_pos, end - m_pos).toString();
            m_pos = end;
            return true;
        }
        const QChar after = m_pos + 1 < m_source.size() ? m_source[m_pos + 1] : QChar();
        if (after == u'!' || after == u'?') {
            skipComment();
            continue;
        }
        if (after == u'/' && !(m_pos + 2 < m_source.size() && isNameStart(m_source[m_pos + 2]))) {
            // "</>" or "</ ...": nothing to show.
            const qsizetype gt = m_source.indexOf(u'>', m_pos);
            m_pos = gt < 0 ? m_source.size() : gt + 1;
            continue;
        }
        if (!isNameStart(after) && after != u'/') {
            token = Token();
            token.text = m_source.mid(m_pos, 1).toString();
            ++m_pos;
            return true;
        }
        readTag(token);
        return true;
    }
    return false;
}

void Lexer::skipComment()
{
    if (m_source.mid(m_pos, 4) == u"<!--") {
        const qsizetype end = m_source.indexOf(u"-->", m_pos + 4);
        if (end >= 0) {
            m_pos = end + 3;
            return;
        }
        // An unclosed comment ends at the next ">", as lenient browsers read it.
    }
    const qsizetype gt = m_source.indexOf(u'>', m_pos);
    m_pos = gt < 0 ? m_source.size() : gt + 1;
}

void Lexer::readTag(Token &token)
{
    token = Token();
    qsizetype i = m_pos + 1;
    token.type = Token::StartTag;
    if (m_source[i] == u'/') {
        token.type = Token::EndTag;
        ++i;
    }
    const qsizetype nameStart = i;
    while (i < m_source.size() && (m_source[i].isLetterOrNumber() || m_source[i] == u'-' || m_source[i] == u':'))
        ++i;
    token.name = m_source.mid(nameStart, i - nameStart).toString().toLower();

    const auto atEnd = [&] { return i >= m_source.size() || m_source[i] == u'>'; };
    while (true) {
        while (i < m_source.size() && (isSpace(m_source[i]) || m_source[i] == u'/'))
            ++i;
        if (atEnd())
            break;
        const qsizetype attrStart = i;
        while (!atEnd() && !isSpace(m_source[i]) && m_source[i] != u'=' && m_source[i] != u'/')
            ++i;
        Attribute attribute;
        attribute.name = m_source.mid(attrStart, i - attrStart).toString().toLower();
        if (attribute.name.isEmpty()) {
            ++i; // a stray "=" or quote
            continue;
        }
        qsizetype j = i;
        while (j < m_source.size() && isSpace(m_source[j]))
            ++j;
        if (j < m_source.size() && m_source[j] == u'=') {
            ++j;
            while (j < m_source.size() && isSpace(m_source[j]))
                ++j;
            i = j;
            if (i < m_source.size() && (m_source[i] == u'"' || m_source[i] == u'\'')) {
                const QChar quote = m_source[i];
                const qsizetype close = m_source.indexOf(quote, i + 1);
                if (close >= 0) {
                    attribute.value = decodeReferences(m_source.mid(i + 1, close - i - 1));
                    i = close + 1;
                } else {
                    // An unclosed quote ends with the tag.
                    qsizetype gt = m_source.indexOf(u'>', i + 1);
                    if (gt < 0)
                        gt = m_source.size();
                    attribute.value = decodeReferences(m_source.mid(i + 1, gt - i - 1));
                    i = gt;
                }
            } else {
                const qsizetype valueStart = i;
                while (!atEnd() && !isSpace(m_source[i]))
                    ++i;
                attribute.value = decodeReferences(m_source.mid(valueStart, i - valueStart));
            }
        }
        if (!token.has(attribute.name))
            token.attributes.append(attribute);
    }
    m_pos = i < m_source.size() ? i + 1 : m_source.size();
}

QStringView Lexer::rawText(QStringView name)
{
    const qsizetype start = m_pos;
    qsizetype i = m_pos;
    while ((i = m_source.indexOf(u"</", i)) >= 0) {
        const QStringView candidate = m_source.mid(i + 2, name.size());
        const qsizetype after = i + 2 + name.size();
        if (candidate.compare(name, Qt::CaseInsensitive) == 0 &&
            (after >= m_source.size() || !m_source[after].isLetterOrNumber())) {
            const qsizetype gt = m_source.indexOf(u'>', after);
            m_pos = gt < 0 ? m_source.size() : gt + 1;
            return m_source.mid(start, i - start);
        }
        i += 2;
    }
    m_pos = m_source.size();
    return m_source.mid(start);
}

QString decodeReferences(QStringView text)
{
    if (!text.contains(u'&'))
        return text.toString();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t character = 0;
        const qsizetype length = text[i] == u'&' ? parseReference(text, i, &character) : 0;
        if (length > 0) {
            appendCharacter(out, character);
            i += length - 1;
        } else {
            out += text[i];
        }
    }
    return out;
}

QString fixLegacyReferences(QStringView text)
{
    if (!text.contains(u"&#"))
        return text.toString();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t character = 0;
        const bool numeric = text[i] == u'&' && i + 1 < text.size() && text[i + 1] == u'#';
        const qsizetype length = numeric ? parseReference(text, i, &character) : 0;
        if (length > 0) {
            out += u"&#" % QString::number(uint(character)) % u';';
            i += length - 1;
        } else {
            out += text[i];
        }
    }
    return out;
}

QString escapeText(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'&')
            out += u"&amp;";
        else if (c == u'<')
            out += u"&lt;";
        else if (c == u'>')
            out += u"&gt;";
        else
            out += c;
    }
    return out;
}

QString escapeAttribute(QStringView text)
{
    QString out = escapeText(text);
    out.replace(QStringLiteral("\""), QStringLiteral("&quot;"));
    return out;
}

QString collapseWhiteSpace(QStringView text)
{
    QString out;
    out.reserve(text.size());
    bool space = false;
    for (const QChar c : text) {
        if (isSpace(c)) {
            space = !out.isEmpty();
            continue;
        }
        if (space)
            out += u' ';
        space = false;
        out += c;
    }
    return out;
}

} // namespace Html
