#pragma once

#include "codecs/picturedecoder.h"

#include <QByteArrayView>

namespace Codecs::Internal {

// Decodes a JPEG held in memory through libjpeg: greyscale pictures come out as
// QImage::Format_Grayscale8, colour, CMYK and YCCK pictures as QImage::Format_RGB888.
// Errors and warnings are libjpeg's messages, without a file name.
Picture decodeJpeg(QByteArrayView data);

} // namespace Codecs::Internal
