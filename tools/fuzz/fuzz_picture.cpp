// libFuzzer target: the picture decoders through the program's decoding entry point. The first
// byte picks the file type, the rest is the file. Any file decodes to a picture within the size
// limits, or fails with a reason.
#include "fuzzsupport.h"

#include "codecs/picturedecoder.h"

#include <QCoreApplication>

#include <iterator>

namespace {

constexpr const char16_t *kNames[] = {u"fuzz.jpg", u"fuzz.gif", u"fuzz.bmp", u"fuzz.png"};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Qt finds its picture format plug-ins through the application.
    static QCoreApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QString name = QString::fromUtf16(kNames[data[0] % std::size(kNames)]);
    const QByteArray file(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    int started = 0;
    int finished = 0;
    const Codecs::Picture picture = Codecs::decodePictureData(
        file, name, [&](Codecs::Progress progress) { (progress == Codecs::Progress::Started ? started : finished)++; });
    FUZZ_CHECK(started == 1 && finished == 1);
    FUZZ_CHECK(picture.ok() == picture.error.isEmpty());
    if (picture.ok()) {
        FUZZ_CHECK(picture.width() <= Codecs::kMaxSide && picture.height() <= Codecs::kMaxSide);
        FUZZ_CHECK(qint64(picture.width()) * picture.height() <= Codecs::kMaxPixels);
    }
    return 0;
}
