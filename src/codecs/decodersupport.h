#pragma once

#include "codecs/picturedecoder.h"

#include <QByteArrayView>
#include <QString>

// Pieces shared by the format decoders. Their messages are reasons only; the caller puts the
// file's name in front.
namespace Codecs::Internal {

// The reason a picture of that declared size is refused, or an empty string when it may be
// decoded. Sizes come straight from file headers, so any value must be safe here.
QString sizeRefusal(qint64 width, qint64 height);

// "Not a GIF file: starts with 0x42 0x4d (looks like a BMP picture)": for data that lack the
// signature of the format the extension promised.
QString wrongFormatMessage(QByteArrayView data, QStringView formatName);

} // namespace Codecs::Internal
