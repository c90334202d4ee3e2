#pragma once

#include "format/color.h"

#include <QString>
#include <QStringList>

#include <array>

class QIODevice;

// Colour palettes: text files "<name>.pal" in the "Palettes/" folder beside the program. Every
// line of more than three characters that holds only digits and blanks stores one colour, its
// first three fields of one to three digits being red, green and blue.
namespace Palette {

inline constexpr int kColors = 256;
inline constexpr QStringView kExtension = u".pal";
inline constexpr QStringView kDefaultName = u"Web Palette";
// What a component holds before any line has filled it.
inline constexpr int kUnfilledComponent = 0;

using Table = std::array<TColor, kColors>;

// A table of white colours, the state before a file is read.
Table whiteTable();

// Fills table from the text of a palette file. Positions the text does not reach are white.
void parse(const QString &text, Table &table);

// The palette name shown for a file: the file name without its ".pal" extension, whatever its
// case. Only the last extension goes, so "Sea.pal.pal" is "Sea.pal" and "My.palette.pal" is
// "My.palette"; each name leads back to its own file.
QString nameOf(const QString &fileName);

// The palette files of folder (names ending in ".pal" in any case), in the order the folder
// lists them.
QStringList filesIn(const QString &folder);

class Reader
{
public:
    // Reads a whole palette; on failure table is left untouched and errorString() says why.
    bool read(QIODevice *device, Table &table);
    bool read(const QString &fileName, Table &table);
    QString errorString() const { return m_error; }

private:
    void raiseError(const QString &message);
    QString m_error;
};

} // namespace Palette
