// libFuzzer target: the server profiles. Any bytes scramble and unscramble back, in both orders,
// and survive Base64; read as the settings file, every profile in it loads, saves to another
// store and loads again to the same values.
#include "fuzzsupport.h"

#include "platform/settingsstore.h"
#include "publish/serverprofiles.h"

namespace {

bool operator==(const ServerProfile &a, const ServerProfile &b)
{
    return a.name == b.name && a.userName == b.userName && a.password == b.password && a.host == b.host &&
           a.initialDir == b.initialDir && a.port == b.port && a.trustedKey == b.trustedKey;
}

void checkPasswordForms(const QByteArray &bytes)
{
    const QByteArray scrambled = ScrambleText(bytes);
    FUZZ_CHECK(scrambled.size() == bytes.size());
    FUZZ_CHECK(UnscrambleText(scrambled) == bytes);
    FUZZ_CHECK(ScrambleText(UnscrambleText(bytes)) == bytes);
    const QByteArray stored = EncodeBase64(scrambled);
    FUZZ_CHECK(stored == scrambled.toBase64());
    FUZZ_CHECK(DecodeBase64(stored) == scrambled);
    (void)UnscrambleText(DecodeBase64(bytes));
}

// A name the store cannot hold as one key of its own ("a/b" is two) is not saved again.
bool isSingleKey(const QString &name)
{
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkPasswordForms(bytes);

    // A file name of its own each time: the settings layer caches files by name.
    static int run = 0;
    const QString path = Fuzz::scratchFolder() + QStringLiteral("profiles-%1.ini").arg(++run);
    const QString again = Fuzz::scratchFolder() + QStringLiteral("again-%1.ini").arg(run);
    Fuzz::writeFile(path, bytes);
    {
        const SettingsStore store(path);
        SettingsStore copy(again);
        for (const QString &name : ServerProfiles::ReadProfileNames(store)) {
            ServerProfile profile;
            FUZZ_CHECK(ServerProfiles::LoadProfile(store, name, &profile));
            FUZZ_CHECK(profile.name == name);
            if (!isSingleKey(name))
                continue;
            ServerProfiles::SaveProfile(copy, profile);
            ServerProfile back;
            FUZZ_CHECK(ServerProfiles::LoadProfile(copy, name, &back));
            FUZZ_CHECK(back == profile);
        }
    }
    QFile::remove(path);
    QFile::remove(again);
    return 0;
}
