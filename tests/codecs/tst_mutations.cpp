#include "codecs/picturedecoder.h"

#include "picturefixtures.h"

#include <QRandomGenerator>
#include <QTest>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#endif

using namespace Qt::StringLiterals;
using Codecs::Picture;

// Damaged and hostile pictures, made by cutting and flipping bits of valid ones. Whatever
// the damage, a decode ends with a picture within the size limits or with a reason. How long the
// decodes take is measured by make bench.
namespace {

const QSize kSize(37, 23);
const QList<QRgb> kColours = {qRgb(220, 30, 30), qRgb(30, 160, 40), qRgb(40, 60, 200), qRgb(240, 240, 240)};
constexpr int kBitFlipMutants = 1500;
constexpr int kOverwriteMutants = 500;

// Decodes and checks the outcome; a failure is recorded through QTest.
void decodeSafely(const QByteArray &bytes, const QString &fileName, const QString &what)
{
    const Picture picture = Codecs::decodePictureData(bytes, fileName);
    if (picture.ok()) {
        QVERIFY2(picture.error.isEmpty(), qPrintable(what));
        QVERIFY2(picture.width() <= Codecs::kMaxSide && picture.height() <= Codecs::kMaxSide &&
                     qint64(picture.width()) * picture.height() <= Codecs::kMaxPixels,
                 qPrintable(what));
    } else {
        QVERIFY2(picture.image.isNull(), qPrintable(what));
        QVERIFY2(picture.error.startsWith(u"Cannot decode "_s + fileName + u": "_s),
                 qPrintable(what + u": "_s + picture.error));
    }
}

// Every length within the headers, then lengths spread evenly over the rest.
QList<qsizetype> truncationLengths(qsizetype size, qsizetype headerSpan)
{
    QList<qsizetype> lengths;
    for (qsizetype length = 0; length < std::min(size, headerSpan); ++length)
        lengths.append(length);
    const qsizetype step = std::max<qsizetype>(1, (size - headerSpan) / 200);
    for (qsizetype length = headerSpan; length < size; length += step)
        lengths.append(length);
    return lengths;
}

} // namespace

class TestCodecMutations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void damagedPicturesFailOrDecodeWithinLimits_data();
    void damagedPicturesFailOrDecodeWithinLimits();
    void hugeDeclaredSizesAreRefused_data();
    void hugeDeclaredSizesAreRefused();
    void cleanupTestCase();
};

void TestCodecMutations::damagedPicturesFailOrDecodeWithinLimits_data()
{
    using Fixtures::JpegKind;
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qsizetype>("headerSpan"); // where a flipped bit is most likely to confuse
    QTest::addColumn<quint32>("seed");

    const QImage image = Fixtures::quadrants(kSize, kColours);
    const auto jpegRow = [&](const char *name, JpegKind kind, quint32 seed) {
        const QByteArray bytes = Fixtures::jpeg(image, kind);
        QTest::newRow(name) << u"damaged.jpg"_s << bytes << bytes.indexOf("\xff\xda") + 14 << seed;
    };
    jpegRow("jpeg baseline", JpegKind::Rgb, 1);
    jpegRow("jpeg progressive", JpegKind::Progressive, 2);
    jpegRow("jpeg greyscale", JpegKind::Gray, 3);
    jpegRow("jpeg ycck", JpegKind::Ycck, 4);
    // The colour table is a long run of bytes no value of which can be wrong.
    QTest::newRow("gif") << u"damaged.gif"_s << Fixtures::twoFrameGif(kSize, kColours, qRgb(250, 250, 0))
                         << qsizetype(13 + 256 * 3 + 8 + 11) << quint32(5);
    QTest::newRow("bmp") << u"damaged.bmp"_s << Fixtures::bmp(image) << qsizetype(54) << quint32(6);
}

void TestCodecMutations::damagedPicturesFailOrDecodeWithinLimits()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);
    QFETCH(qsizetype, headerSpan);
    QFETCH(quint32, seed);

    QVERIFY(Codecs::decodePictureData(bytes, fileName).ok());

    for (qsizetype length : truncationLengths(bytes.size(), headerSpan)) {
        decodeSafely(bytes.left(length), fileName, u"cut to %1 bytes"_s.arg(length));
        if (QTest::currentTestFailed())
            return;
    }

    QRandomGenerator random(seed);
    for (int mutant = 0; mutant < kBitFlipMutants; ++mutant) {
        QByteArray damaged = bytes;
        QStringList flips;
        const int count = 1 + random.bounded(4);
        for (int i = 0; i < count; ++i) {
            // Half of the flips land in the headers, where the sizes and tables are.
            const qsizetype span = mutant % 2 == 0 ? headerSpan : damaged.size();
            const qsizetype at = random.bounded(qint64(span));
            const int bit = random.bounded(8);
            damaged[at] = char(damaged[at] ^ (1 << bit));
            flips.append(u"%1:%2"_s.arg(at).arg(bit));
        }
        decodeSafely(damaged, fileName, u"bits flipped at "_s + flips.join(u", "));
        if (QTest::currentTestFailed())
            return;
    }

    for (int mutant = 0; mutant < kOverwriteMutants; ++mutant) {
        QByteArray damaged = bytes;
        const qsizetype at = random.bounded(qint64(damaged.size()));
        const qsizetype length = std::min<qsizetype>(1 + random.bounded(16), damaged.size() - at);
        const char filler = "\x00\xff\x7f\x80"[mutant % 4];
        for (qsizetype i = at; i < at + length; ++i)
            damaged[i] = mutant % 5 == 4 ? char(random.bounded(256)) : filler;
        decodeSafely(damaged, fileName, u"%1 bytes overwritten at %2"_s.arg(length).arg(at));
        if (QTest::currentTestFailed())
            return;
    }
}

void TestCodecMutations::hugeDeclaredSizesAreRefused_data()
{
    using namespace Fixtures;
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected"); // empty when the reader's own reason is enough

    const QImage image = quadrants(kSize, kColours);
    const QString tooLarge = u"The picture is too large"_s;

    for (JpegKind kind : {JpegKind::Rgb, JpegKind::Progressive}) {
        const QByteArray jpeg = Fixtures::jpeg(image, kind);
        const int frame = jpegFrameHeaderOffset(jpeg);
        const QByteArray prefix = kind == JpegKind::Rgb ? "jpeg " : "progressive jpeg ";
        const auto row = [&](const char *name, quint16 width, quint16 height, const QString &expected) {
            QByteArray patched = jpeg;
            putBigEndian16(patched, frame + 5, height);
            putBigEndian16(patched, frame + 7, width);
            QTest::newRow(QByteArray(prefix + name).constData()) << u"huge.jpg"_s << patched << expected;
        };
        // libjpeg itself refuses sides over 65500.
        row("65500 wide", 65500, 23, tooLarge);
        row("65500 high", 37, 65500, tooLarge);
        row("65500 square", 65500, 65500, tooLarge);
        row("65535 square", 65535, 65535, QString());
        row("20000 by 2001", 20000, 2001, tooLarge);
        row("0 wide", 0, 23, QString());
    }

    const QByteArray gif = twoFrameGif(kSize, kColours, qRgb(250, 250, 0));
    const auto gifRow = [&](const char *name, QSize screen, QSize frame, const QString &expected) {
        QByteArray patched = gif;
        putLittleEndian16(patched, kGifScreenWidthOffset, quint16(screen.width()));
        putLittleEndian16(patched, kGifScreenWidthOffset + 2, quint16(screen.height()));
        putLittleEndian16(patched, kGifFrameWidthOffset, quint16(frame.width()));
        putLittleEndian16(patched, kGifFrameWidthOffset + 2, quint16(frame.height()));
        QTest::newRow(name) << u"huge.gif"_s << patched << expected;
    };
    gifRow("gif screen 65535 square", {65535, 65535}, kSize, tooLarge);
    gifRow("gif screen 30000 wide", {30000, 23}, kSize, tooLarge);
    gifRow("gif frame 65535 square", kSize, {65535, 65535}, tooLarge);
    gifRow("gif screen 0 by 0, frame 30000 wide", {0, 0}, {30000, 23}, tooLarge);
    gifRow("gif screen and frame 65535 square", {65535, 65535}, {65535, 65535}, tooLarge);

    const QByteArray bmp = Fixtures::bmp(image);
    const auto bmpRow = [&](const char *name, qint32 width, qint32 height, const QString &expected) {
        QByteArray patched = bmp;
        putLittleEndian32(patched, kBmpWidthOffset, quint32(width));
        putLittleEndian32(patched, kBmpWidthOffset + 4, quint32(height));
        QTest::newRow(name) << u"huge.bmp"_s << patched << expected;
    };
    bmpRow("bmp widest", std::numeric_limits<qint32>::max(), 23, QString());
    bmpRow("bmp highest", 37, std::numeric_limits<qint32>::max(), QString());
    bmpRow("bmp highest top-down", 37, std::numeric_limits<qint32>::min() + 1, QString());
    bmpRow("bmp lowest", 37, std::numeric_limits<qint32>::min(), QString());
    bmpRow("bmp negative width", -37, 23, QString());
    bmpRow("bmp 30000 wide", 30000, 23, tooLarge);
    bmpRow("bmp 20000 by 2001", 20000, 2001, tooLarge);
}

void TestCodecMutations::hugeDeclaredSizesAreRefused()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);

    const Picture picture = Codecs::decodePictureData(bytes, fileName);
    QVERIFY(!picture.ok());
    QVERIFY2(picture.error.startsWith(u"Cannot decode "_s + fileName + u": "_s + expected), qPrintable(picture.error));
}

void TestCodecMutations::cleanupTestCase()
{
#ifdef Q_OS_LINUX
    // Nothing above may have allocated for a declared size: the largest picture decoded is a
    // few kilobytes, so the peak stays near the test's own footprint.
    rusage usage{};
    QCOMPARE(getrusage(RUSAGE_SELF, &usage), 0);
    const qint64 peakMegabytes = usage.ru_maxrss / 1024;
    QVERIFY2(peakMegabytes < 1024, qPrintable(u"peak resident size %1 MB"_s.arg(peakMegabytes)));
#endif
}

QTEST_GUILESS_MAIN(TestCodecMutations)
#include "tst_mutations.moc"
