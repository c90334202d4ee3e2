// libFuzzer target: any bytes as a bookmark file. Every address found follows an HREF=" of its
// line and holds no double quote, and a file gives no more addresses than it has HREF=".
#include "fuzzsupport.h"

#include "dialogs/bookmarks.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer;
    buffer.setData(bytes);
    QStringList addresses;
    FUZZ_CHECK(Bookmarks::scan(buffer, addresses));

    const QString text = QString::fromUtf8(bytes);
    FUZZ_CHECK(addresses.size() <= text.count(u"href=\"", Qt::CaseInsensitive));
    for (const QString &address : std::as_const(addresses)) {
        FUZZ_CHECK(!address.contains(u'"'));
        FUZZ_CHECK(text.contains(u"href=\"" + address, Qt::CaseInsensitive));
    }
    return 0;
}
