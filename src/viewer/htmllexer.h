#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// A forgiving HTML tokenizer in the manner of the browsers the pages were written for: any text
// is accepted, tag and attribute names are case-insensitive, unquoted and valueless attributes
// are fine, and a "<" that cannot start a tag is plain text.
namespace Html {

struct Attribute
{
    QString name;  // lower case
    QString value; // character references decoded
};

struct Token
{
    enum Type { Text, StartTag, EndTag };

    Type type = Text;
    QString text;                // Text: the source text, references left as written
    QString name;                // tags: lower case
    QList<Attribute> attributes; // start tags, in source order; a repeated name keeps its first value

    bool has(QStringView attribute) const;
    // The value of attribute, or fallback when the tag lacks it.
    QString value(QStringView attribute, const QString &fallback = {}) const;
};

class Lexer
{
public:
    explicit Lexer(QStringView source) : m_source(source) {}

    // The next token; comments, declarations and processing instructions are skipped.
    // False at the end of the source.
    bool next(Token &token);

    // For elements whose content is not markup (SCRIPT, STYLE, TITLE, TEXTAREA): the text up to
    // the end tag </name>, which is consumed too. Without an end tag, the rest of the source.
    QStringView rawText(QStringView name);

private:
    void skipComment();
    void readTag(Token &token);

    QStringView m_source;
    qsizetype m_pos = 0;
};

// Replaces character references (named, decimal and hexadecimal) by their characters. Decimal
// references 128 to 159 name Windows-1252 characters, as they did in the browsers of the time;
// an unknown reference stays as written.
QString decodeReferences(QStringView text);

// Rewrites the references of text that Qt would show wrongly (the Windows-1252 range 128-159)
// and leaves everything else as written.
QString fixLegacyReferences(QStringView text);

QString escapeText(QStringView text);
QString escapeAttribute(QStringView text);

// Collapses runs of white space into one space and trims the ends, as text is shown.
QString collapseWhiteSpace(QStringView text);

} // namespace Html
