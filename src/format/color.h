#pragma once

#include <QtGlobal>

// Colours: red in the low byte, then green, then blue.
using TColor = qint32;

constexpr TColor RGBColor(int red, int green, int blue)
{
    return TColor(quint32(red & 0xFF) | quint32(green & 0xFF) << 8 | quint32(blue & 0xFF) << 16);
}

// The colour of a font description that says no colour was chosen.
inline constexpr TColor kNoFontColor = 327680;
