#pragma once

#include "codecs/picturedecoder.h"

#include <QByteArray>

namespace Codecs::Internal {

enum class QtFormat { Gif, Bmp, Png };

// Decodes a GIF (its first frame), a BMP or a PNG held in memory through Qt's image readers, with
// the format fixed: data of another format fail rather than being decoded as what they are.
Picture decodeWithQt(const QByteArray &data, QtFormat format);

} // namespace Codecs::Internal
