// libFuzzer target: the recovery copy read against the project reader on the same bytes. Any
// bytes as a copy are restored exactly when they are a copy's two lines followed by a project
// file that reads, and then give that page and name; the same bytes as the page of a whole copy
// restore exactly when they read as a project file. A copy that does not restore is set aside.
#include "fuzzsupport.h"

#include "document/pagefile.h"
#include "project/recovery.h"

#include <QDir>

namespace {

constexpr QByteArrayView kSignature = "Brisko recovery 1\n";

// The page the project reader makes of bytes, or nothing.
std::unique_ptr<TPagelette> projectPage(QByteArrayView bytes)
{
    auto page = std::make_unique<TPagelette>();
    QString error;
    if (!ReadDocument(bytes, *page, &error)) {
        FUZZ_CHECK(!error.isEmpty());
        return nullptr;
    }
    return page;
}

void checkRestore(QByteArrayView copy)
{
    const QString folder = Fuzz::scratchFolder() + u"Recovery/";
    QDir(folder).removeRecursively();
    FUZZ_CHECK(QDir().mkpath(folder));
    Fuzz::writeFile(folder + u"brisko-1.recovery", copy);

    // What a copy should give: its name line and the page after it.
    std::unique_ptr<TPagelette> expected;
    QString name = PageDocument::kUntitled.toString();
    if (copy.startsWith(kSignature)) {
        const QByteArrayView rest = copy.sliced(kSignature.size());
        const qsizetype end = rest.indexOf('\n');
        if (end >= 0) {
            expected = projectPage(rest.sliced(end + 1));
            if (end > 0)
                name = QString::fromUtf8(rest.first(end));
        }
    }

    const std::vector<RecoveryKeeper::Orphan> orphans = RecoveryKeeper::orphans(folder);
    FUZZ_CHECK(orphans.size() == 1 && orphans.front().documentName == name);
    PageDocument document(Fuzz::scratchFolder());
    const DocumentOutcome outcome = RecoveryKeeper::restore(orphans.front(), document);
    FUZZ_CHECK(outcome.ok() == bool(expected));
    if (expected) {
        FUZZ_CHECK(document.page() == *expected && document.name() == name && document.isModified());
        FUZZ_CHECK(QDir(folder).isEmpty());
    } else {
        FUZZ_CHECK(!outcome.message.isEmpty() && QFile::exists(folder + u"brisko-1.recovery.damaged"));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    checkRestore(bytes);
    QByteArray copy = kSignature.toByteArray() + "Walking Club.mbe\n";
    copy.append(bytes);
    checkRestore(copy);
    return 0;
}
