// libFuzzer target: any bytes as the upload state of a destination load (a damaged file is an
// empty state, never an error), and what loaded saves, loads and saves again to the same file.
#include "fuzzsupport.h"

#include "publish/uploadstate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Fuzz::scratchFolder() + u"state.json";
    const QString saved = Fuzz::scratchFolder() + u"saved.json";
    const QString again = Fuzz::scratchFolder() + u"again.json";
    Fuzz::writeFile(path, QByteArrayView(data, qsizetype(size)));

    UploadState state;
    FUZZ_CHECK(state.load(path));
    FUZZ_CHECK(state.save(saved));
    UploadState reread;
    FUZZ_CHECK(reread.load(saved));
    FUZZ_CHECK(reread.save(again));
    FUZZ_CHECK(Fuzz::readFile(again) == Fuzz::readFile(saved));
    return 0;
}
