#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// Windows-1252, the 8-bit text of every file the program exchanges with older installations.
// The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the
// C1 controls of the same value, so any byte string survives a decode and an encode.
namespace Cp1252 {

// Every byte has a character, so decoding never fails.
QString decode(QByteArrayView bytes);

// True when every character of text has a Windows-1252 byte.
bool canEncode(QStringView text);

// Characters without a byte become '?'; call canEncode first where that matters.
QByteArray encode(QStringView text);

// The byte of one character, or -1 when it has none.
int byteOf(char16_t ch);

} // namespace Cp1252
