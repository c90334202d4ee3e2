#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The bytes of an HTML file: every line followed by CR LF, in Windows-1252. A character the code
// page lacks becomes a decimal character reference of its code point ("&#1046;" for Ж, one
// reference for a character outside the BMP); a lone surrogate becomes "&#65533;".
QByteArray EncodeHtmlLines(const QStringList &lines);

// Writes the encoded lines to path atomically: on failure the old file is left as it was, false
// is returned and *error names the file and the reason.
bool WriteHtmlFile(const QString &path, const QStringList &lines, QString *error = nullptr);
