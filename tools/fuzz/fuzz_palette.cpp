// libFuzzer target: any bytes as a palette file read into a table of colours, each a colour of
// three components, and the text is read the same from a device as on its own.
#include "fuzzsupport.h"

#include "themes/palettefile.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer;
    buffer.setData(bytes);
    Palette::Table table;
    Palette::Reader reader;
    FUZZ_CHECK(reader.read(&buffer, table));
    for (const TColor color : table)
        FUZZ_CHECK(quint32(color) <= 0xFFFFFF);

    Palette::Table parsed;
    Palette::parse(QString::fromLatin1(bytes), parsed);
    FUZZ_CHECK(parsed == table);
    return 0;
}
