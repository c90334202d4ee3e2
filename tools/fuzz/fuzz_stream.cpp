// libFuzzer target: any bytes given to the component stream reader must be rejected or read,
// and whatever is read must write back and read again to the same document and the same bytes.
#include "format/componentstream.h"
#include "document/pagefile.h"
#include "themes/themesfile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Stream::Object object;
    QString error;
    if (!Stream::read(QByteArrayView(data, qsizetype(size)), object, &error))
        return 0;
    TPagelette page;
    if (PageFromStream(object, page, &error)) {
        const QByteArray written = DocumentBytes(page);
        Stream::Object again;
        TPagelette reread;
        if (!Stream::read(QByteArrayView(written), again, &error) || !PageFromStream(again, reread, &error)
            || !(reread == page) || DocumentBytes(reread) != written)
            std::abort();
    }
    TWebTheme themes;
    if (ThemesFromStream(object, themes, &error)) {
        const QByteArray written = Stream::write(ThemesToStream(themes));
        Stream::Object again;
        TWebTheme reread;
        if (!Stream::read(QByteArrayView(written), again, &error) || !ThemesFromStream(again, reread, &error)
            || !(reread == themes) || Stream::write(ThemesToStream(reread)) != written)
            std::abort();
    }
    return 0;
}
