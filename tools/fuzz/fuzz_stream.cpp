// libFuzzer target: any bytes given to the component stream reader must be rejected or read,
// and whatever is read must write back and read again to the same document.
#include "document/componentstream.h"
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
        Stream::Object again;
        TPagelette reread;
        if (!Stream::read(QByteArrayView(DocumentBytes(page)), again, &error) || !PageFromStream(again, reread, &error)
            || !(reread == page))
            std::abort();
    }
    TWebTheme themes;
    if (ThemesFromStream(object, themes, &error)) {
        Stream::Object again;
        TWebTheme reread;
        if (!Stream::read(QByteArrayView(Stream::write(ThemesToStream(themes))), again, &error)
            || !ThemesFromStream(again, reread, &error) || !(reread == themes))
            std::abort();
    }
    return 0;
}
