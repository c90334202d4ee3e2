// libFuzzer target: any bytes given to the component stream readers must be rejected or read.
// The page reader that works straight on the bytes must accept, reject and explain as the one
// through the generic tree does and read the same page; whatever is read must write back, through
// either writer to the same bytes, and read again to the same document and the same bytes.
#include "document/pagefile.h"
#include "format/componentstream.h"
#include "themes/themesfile.h"

#include <QBuffer>

#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkPage(QByteArrayView bytes)
{
    TPagelette direct;
    QString directError;
    const bool directRead = ReadDocument(bytes, direct, &directError);

    Stream::Object object;
    TPagelette page;
    QString error;
    const bool read = Stream::read(bytes, object, &error) && PageFromStream(object, page, &error);
    check(directRead == read);
    if (!read) {
        check(!error.isEmpty() && directError == error);
        return;
    }
    check(direct == page);

    const QByteArray written = DocumentBytes(page);
    check(written == Stream::write(PageToStream(page)));
    QByteArray onDevice;
    QBuffer buffer(&onDevice);
    buffer.open(QIODevice::WriteOnly);
    check(WriteDocument(buffer, page) && onDevice == written);

    TPagelette reread;
    check(ReadDocument(QByteArrayView(written), reread, &error));
    check(reread == page && DocumentBytes(reread) == written);
}

void checkThemes(QByteArrayView bytes)
{
    Stream::Object object;
    TWebTheme themes;
    QString error;
    if (!Stream::read(bytes, object, &error) || !ThemesFromStream(object, themes, &error))
        return;
    const QByteArray written = Stream::write(ThemesToStream(themes));
    Stream::Object again;
    TWebTheme reread;
    check(Stream::read(QByteArrayView(written), again, &error) && ThemesFromStream(again, reread, &error));
    check(reread == themes && Stream::write(ThemesToStream(reread)) == written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    checkPage(bytes);
    checkThemes(bytes);
    return 0;
}
