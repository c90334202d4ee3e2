#include "textutils.h"

#include <cstdlib>

namespace Text {

QString notAnIntegerMessage(const QString &text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

std::optional<qint32> toInt(const QString &text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text.at(i) == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    int base = 10;
    if (i < n && text.at(i) == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && text.at(i) == u'0' && (text.at(i + 1) == u'x' || text.at(i + 1) == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return std::nullopt;
    qint64 value = 0;
    for (; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        // Hexadecimal text covers the full 32-bit pattern, as colour values need.
        const qint64 limit = base == 16 ? 0xFFFFFFFFLL : 0x80000000LL;
        if (value > limit)
            return std::nullopt;
    }
    if (base == 16) {
        const auto bits = static_cast<quint32>(value);
        const auto result = static_cast<qint32>(bits);
        return negative ? static_cast<qint32>(0u - bits) : result;
    }
    if (negative)
        return static_cast<qint32>(-value);
    if (value > 0x7FFFFFFFLL)
        return std::nullopt;
    return static_cast<qint32>(value);
}

std::optional<qint32> toInt(const QString &text, QString *error)
{
    const auto value = toInt(text);
    if (!value && error)
        *error = notAnIntegerMessage(text);
    return value;
}

QStringList splitLines(QStringView text)
{
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start).toString());
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            ++i;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n)
        lines.append(text.mid(start).toString());
    return lines;
}

QString joinLines(const QStringList &lines)
{
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 2;
    QString text;
    text.reserve(size);
    for (const QString &line : lines) {
        text += line;
        text += u"\r\n";
    }
    return text;
}

} // namespace Text

QString RemoveSpaces(const QString &s)
{
    QString result = s;
    result.remove(u' ');
    return result;
}

QString ReplaceAll(const QString &s, const QString &replacement, const QString &search, int deleteCount)
{
    if (search.isEmpty())
        return s;
    QString result;
    result.reserve(s.size());
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = s.indexOf(search, from);
        if (at < 0)
            break;
        result += QStringView(s).mid(from, at - from);
        result += replacement;
        from = qMin(s.size(), at + qMax(0, deleteCount));
        if (deleteCount <= 0) {
            // Nothing was removed: copy the match itself so the scan moves on.
            result += QStringView(s).mid(at, search.size());
            from = at + search.size();
        }
    }
    result += QStringView(s).mid(from);
    return result;
}

QString StripExtension(const QString &s)
{
    const qsizetype dot = s.lastIndexOf(u'.');
    return dot < 0 ? QString() : s.left(dot);
}

static bool isAsciiLetterRange(char16_t c) { return c >= 65 && c <= 122; }

// abs(start) without the overflow of std::abs at the smallest int.
static qint64 startPosition(int start) { return start < 0 ? -qint64(start) : qint64(start); }

int WildcardPos(const QString &s, const QString &pattern, int start)
{
    const qint64 from = startPosition(start);
    const auto len = int(s.size());
    const auto plen = int(pattern.size());
    if (s.isEmpty() || pattern.isEmpty() || start == 0 || from > len || len - from + 1 < plen)
        return 0;
    const bool ignoreCase = start < 0;
    for (int pos = int(from); pos + plen - 1 <= len; ++pos) {
        bool match = true;
        for (int k = 0; k < plen && match; ++k) {
            const char16_t p = pattern.at(k).unicode();
            const char16_t c = s.at(pos - 1 + k).unicode();
            if (p == u'?' || p == c)
                continue;
            match = ignoreCase && isAsciiLetterRange(c) && p <= 122 && char16_t(c ^ 32) == p;
        }
        if (match)
            return pos;
    }
    return 0;
}

int FindDelimiter(const QString &s, const QString &delimiters, int start)
{
    const qint64 from = startPosition(start);
    if (s.isEmpty() || delimiters.isEmpty() || start == 0 || from > s.size() || delimiters.size() > 256)
        return 0;
    QString set = delimiters;
    if (start < 0) {
        for (const QChar ch : delimiters) {
            const char16_t c = ch.unicode();
            if ((c >= 65 && c <= 90) || (c >= 97 && c <= 122))
                set += QChar(char16_t(c ^ 32));
        }
    }
    bool inQuotes = false;
    for (int pos = int(from); pos <= s.size(); ++pos) {
        const QChar c = s.at(pos - 1);
        if (c == u'"') {
            if (!inQuotes) {
                inQuotes = true;
                continue;
            }
            inQuotes = false;
        }
        if (set.contains(c))
            return pos;
    }
    return 0;
}

QString NextToken(const QString &s, const QString &delimiters, int &position)
{
    if (position < 1 || position > s.size() || delimiters.isEmpty()) {
        position = 0;
        return QString();
    }
    const int start = position;
    const int d = FindDelimiter(s, delimiters, position);
    if (d == 0) {
        position = 0;
        return s.mid(start - 1);
    }
    position = d + 1;
    return s.mid(start - 1, d - start);
}

bool IsDigitsOrSpaces(const QString &s)
{
    if (s.isEmpty())
        return false;
    for (const QChar c : s) {
        if (c != u' ' && (c < u'0' || c > u'9'))
            return false;
    }
    return true;
}

void ReplaceChar(QString &s, QChar a, QChar b)
{
    if (a == b || s.isEmpty())
        return;
    s.replace(a, b);
}

QString BeforeBar(const QString &s)
{
    const qsizetype bar = s.indexOf(u'|');
    return bar < 0 ? QString() : s.left(bar);
}

QString AfterBar(const QString &s)
{
    const qsizetype bar = s.indexOf(u'|');
    return bar < 0 ? s : s.mid(bar + 1);
}
