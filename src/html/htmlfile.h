#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The bytes of an HTML file: every line followed by CR LF, in plain ASCII. Every character above
// 127 becomes a decimal character reference of its code point ("&#233;" for é, "&#8364;" for €,
// one reference for a character outside the BMP); a lone surrogate becomes "&#65533;". Servers
// often declare a character set the page was not written in, and the header wins over anything
// inside the page; ASCII reads the same under every one of them.
QByteArray EncodeHtmlLines(const QStringList &lines);

// Writes the encoded lines to path atomically: on failure the old file is left as it was, false
// is returned and *error names the file and the reason.
bool WriteHtmlFile(const QString &path, const QStringList &lines, QString *error = nullptr);
