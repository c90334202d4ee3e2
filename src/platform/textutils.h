#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Small text routines shared by every layer. Positions are 1-based, as in the rest of the
// program's text work; 0 means "not found".
namespace Text {

// The conversion error every caller reports for a number that does not parse.
QString notAnIntegerMessage(const QString &text);

// A whole number as the program accepts it: leading blanks, an optional sign, decimal digits
// or "$"/"0x" hexadecimal, nothing after. Out-of-range values do not parse.
std::optional<qint32> toInt(const QString &text);

// toInt, with the conversion error in *error when it fails.
std::optional<qint32> toInt(const QString &text, QString *error);

// Splits at CR LF, lone CR or lone LF; a break at the very end does not start another line.
QStringList splitLines(QStringView text);

// The lines, each followed by CR LF.
QString joinLines(const QStringList &lines);

} // namespace Text

// The helpers below keep the names the rest of the program knows them by.

// s with every space character deleted.
QString RemoveSpaces(const QString &s);

// s with every occurrence of search replaced; deleteCount characters are removed at each
// occurrence. Occurrences are found left to right and inserted text is not searched again.
QString ReplaceAll(const QString &s, const QString &replacement, const QString &search, int deleteCount);

// The text before the last "."; empty when there is none.
QString StripExtension(const QString &s);

// 1-based position of the first match of pattern ("?" matches any character) at or after
// abs(start), or 0. A negative start searches without regard to the case of ASCII letters.
int WildcardPos(const QString &s, const QString &pattern, int start);

// 1-based position of the first delimiter character at or after abs(start), skipping the
// opening quote of each quoted stretch; 0 when there is none.
int FindDelimiter(const QString &s, const QString &delimiters, int start);

// The next field of s from position; position becomes the start of the following field,
// or 0 after the last one.
QString NextToken(const QString &s, const QString &delimiters, int &position);

// True when s is not empty and holds only spaces and the digits 0 to 9.
bool IsDigitsOrSpaces(const QString &s);

// Replaces every a of s by b, in place.
void ReplaceChar(QString &s, QChar a, QChar b);

// The text before the first "|"; empty when there is none.
QString BeforeBar(const QString &s);

// The text after the first "|"; all of s when there is none.
QString AfterBar(const QString &s);
