// libFuzzer target: any bytes as the themes file either read or fail with a reason and leave the
// themes alone; what reads writes back to a file that reads to the same themes and bytes.
#include "fuzzsupport.h"

#include "themes/themesfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Fuzz::scratchFolder() + u"Themes.dat";
    const QString again = Fuzz::scratchFolder() + u"Again.dat";
    Fuzz::writeFile(path, QByteArrayView(data, qsizetype(size)));

    TWebTheme themes;
    themes.Name = QStringLiteral("untouched");
    QString error;
    if (!LoadThemes(path, themes, &error)) {
        FUZZ_CHECK(!error.isEmpty() && themes.Name == u"untouched" && themes.Items.Count() == 0);
        return 0;
    }
    FUZZ_CHECK(SaveThemes(again, themes, &error));
    const QByteArray written = Fuzz::readFile(again);
    TWebTheme reread;
    FUZZ_CHECK(LoadThemes(again, reread, &error));
    FUZZ_CHECK(reread == themes);
    FUZZ_CHECK(SaveThemes(again, reread, &error) && Fuzz::readFile(again) == written);
    return 0;
}
