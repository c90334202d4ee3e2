#include "codecs/picturedecoder.h"

#include "picturefixtures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;
using Codecs::Picture;
using Codecs::Progress;

namespace {

const QSize kOddSize(37, 23); // odd widths catch row padding mistakes
const QList<QRgb> kColours = {qRgb(220, 30, 30), qRgb(30, 160, 40), qRgb(40, 60, 200), qRgb(240, 240, 240)};
// Large enough that the quadrant centres lie two blocks away from any other colour.
const QSize kTruncatedSize(128, 128);
const QList<QRgb> kGreys = {qRgb(32, 32, 32), qRgb(96, 96, 96), qRgb(160, 160, 160), qRgb(224, 224, 224)};

int colourDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

QString describe(QRgb colour)
{
    return u"(%1, %2, %3)"_s.arg(qRed(colour)).arg(qGreen(colour)).arg(qBlue(colour));
}

QByteArray png(const QImage &image)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return buffer.data();
}

// The picture in the pixel format format, so that the PNG writer stores it with that depth
// (Indexed8: a palette; RGBA64: 16 bits a channel).
QByteArray png(const QImage &image, QImage::Format format)
{
    return png(format == QImage::Format_Indexed8 ? image.convertToFormat(format, Qt::ThresholdDither)
                                                 : image.convertToFormat(format));
}

// A PNG whose header claims width by height; nothing follows the header.
QByteArray pngHeader(quint32 width, quint32 height)
{
    QByteArray header = png(QImage(1, 1, QImage::Format_RGB32)).left(8 + 8 + 13);
    qToBigEndian(width, header.data() + 16);
    qToBigEndian(height, header.data() + 20);
    return header;
}

// A progressive JPEG whose last scan is repeated, as a hostile file would do to make the
// decoder pass over the picture again and again.
QByteArray withRepeatedLastScan(const QByteArray &progressive, int repeats)
{
    const qsizetype lastScan = progressive.lastIndexOf("\xff\xda");
    const qsizetype end = progressive.size() - 2; // the end marker
    const QByteArray scan = progressive.mid(lastScan, end - lastScan);
    return progressive.left(end) + scan.repeated(repeats) + progressive.mid(end);
}

} // namespace

class TestPictureDecoder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void decodesEachFormatToItsPixels_data();
    void decodesEachFormatToItsPixels();
    void refusesWithAReasonNamingTheFile_data();
    void refusesWithAReasonNamingTheFile();
    void truncatedJpegDecodesWithGreyRestAndWarning_data();
    void truncatedJpegDecodesWithGreyRestAndWarning();
    void progressStartsAndFinishesInOrder_data();
    void progressStartsAndFinishesInOrder();
    void supportedExtensionsIgnoreCase_data();
    void supportedExtensionsIgnoreCase();
    void pngKeepsItsTransparency();

private:
    QString write(const QString &fileName, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(fileName);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("Cannot write the test file %s", qPrintable(path));
        return path;
    }

    QTemporaryDir m_dir;
};

void TestPictureDecoder::decodesEachFormatToItsPixels_data()
{
    using Fixtures::JpegKind;
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QRgb>>("colours");
    QTest::addColumn<int>("tolerance");

    const QImage colour = Fixtures::quadrants(kOddSize, kColours);
    const QImage grey = Fixtures::quadrants(kOddSize, kGreys);
    const QByteArray baseline = Fixtures::jpeg(colour, JpegKind::Rgb);
    const QByteArray gif = Fixtures::twoFrameGif(kOddSize, kColours, qRgb(250, 250, 0));
    const QByteArray bmp = Fixtures::bmp(colour);

    QTest::newRow("jpeg baseline") << u"photo.jpg"_s << baseline << kColours << 12;
    QTest::newRow("jpeg named .JPG") << u"PHOTO.JPG"_s << baseline << kColours << 12;
    QTest::newRow("jpeg named .Jpeg") << u"photo.Jpeg"_s << baseline << kColours << 12;
    QTest::newRow("jpeg greyscale") << u"grey.jpg"_s << Fixtures::jpeg(grey, JpegKind::Gray) << kGreys << 4;
    QTest::newRow("jpeg progressive") << u"progressive.jpeg"_s << Fixtures::jpeg(colour, JpegKind::Progressive)
                                      << kColours << 12;
    QTest::newRow("jpeg inverted cmyk") << u"print.jpg"_s << Fixtures::jpeg(colour, JpegKind::Cmyk) << kColours << 12;
    QTest::newRow("jpeg ycck") << u"print.jpg"_s << Fixtures::jpeg(colour, JpegKind::Ycck) << kColours << 12;
    QTest::newRow("jpeg plain cmyk") << u"print.jpg"_s << Fixtures::jpeg(colour, JpegKind::PlainCmyk) << kColours << 12;
    QTest::newRow("gif, first of two frames") << u"logo.gif"_s << gif << kColours << 0;
    QTest::newRow("gif named .Gif") << u"logo.Gif"_s << gif << kColours << 0;
    QTest::newRow("bmp") << u"picture.bmp"_s << bmp << kColours << 0;
    QTest::newRow("bmp named .BMP") << u"PICTURE.BMP"_s << bmp << kColours << 0;
    QTest::newRow("png 8-bit") << u"picture.png"_s << png(colour, QImage::Format_RGB888) << kColours << 0;
    QTest::newRow("png 16-bit named .PNG") << u"PICTURE.PNG"_s << png(colour, QImage::Format_RGBA64) << kColours << 1;
    QTest::newRow("png palette") << u"palette.png"_s << png(colour, QImage::Format_Indexed8) << kColours << 0;
    QTest::newRow("png grey") << u"grey.png"_s << png(grey, QImage::Format_Grayscale8) << kGreys << 0;
}

void TestPictureDecoder::decodesEachFormatToItsPixels()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QRgb>, colours);
    QFETCH(int, tolerance);

    const Picture picture = Codecs::decodePicture(write(fileName, bytes));
    QVERIFY2(picture.ok(), qPrintable(picture.error));
    QCOMPARE(picture.error, QString());
    QCOMPARE(picture.warning, QString());
    QCOMPARE(picture.image.size(), kOddSize);
    QCOMPARE(picture.width(), kOddSize.width());
    QCOMPARE(picture.height(), kOddSize.height());

    const QList<QPoint> centres = Fixtures::quadrantCentres(kOddSize);
    for (int i = 0; i < 4; ++i) {
        const QRgb actual = picture.image.pixel(centres[i]);
        QVERIFY2(colourDistance(actual, colours[i]) <= tolerance,
                 qPrintable(u"quadrant %1: %2, expected %3"_s.arg(i).arg(describe(actual), describe(colours[i]))));
    }
}

enum class Setup { File, Nothing, Directory, OversizedFile, UnreadableFile, NamedPipe };

void TestPictureDecoder::refusesWithAReasonNamingTheFile_data()
{
    using Fixtures::JpegKind;
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("setup");
    QTest::addColumn<QString>("expected");

    const QImage colour = Fixtures::quadrants(kOddSize, kColours);
    const QByteArray jpeg = Fixtures::jpeg(colour, JpegKind::Rgb);
    const QByteArray progressive = Fixtures::jpeg(colour, JpegKind::Progressive);
    const QByteArray gif = Fixtures::twoFrameGif(kOddSize, kColours, qRgb(0, 0, 0));
    const QByteArray bmp = Fixtures::bmp(colour);
    const int file = int(Setup::File);

    QTest::newRow("unknown extension") << u"picture.tif"_s << png(colour) << file
                                       << u"Cannot decode picture.tif: Unsupported picture type \".tif\""_s;
    QTest::newRow("jpeg named .png")
        << u"logo.png"_s << jpeg << file
        << u"Cannot decode logo.png: Not a PNG file: starts with 0xff 0xd8 (looks like a JPEG picture)"_s;
    QTest::newRow("png cut inside its header")
        << u"cut.png"_s << png(colour).left(20) << file << u"Cannot decode cut.png: The file ends inside its header"_s;
    QTest::newRow("png cut after its header")
        << u"cut.png"_s << png(colour).left(40) << file << u"Cannot decode cut.png: "_s;
    QTest::newRow("png too wide") << u"wide.png"_s << pngHeader(Codecs::kMaxSide + 1, 1) << file
                                  << u"Cannot decode wide.png: The picture is too large"_s;
    QTest::newRow("png of too many pixels")
        << u"big.png"_s << pngHeader(10'000, 10'000) << file << u"Cannot decode big.png: The picture is too large"_s;
    QTest::newRow("png of no pixels") << u"none.png"_s << pngHeader(0, 5) << file
                                      << u"Cannot decode none.png: The picture has no pixels"_s;
    QTest::newRow("no extension") << u"picture"_s << jpeg << file
                                  << u"Cannot decode picture: The file name has no extension"_s;
    QTest::newRow("gif named .jpg")
        << u"logo.jpg"_s << gif << file
        << u"Cannot decode logo.jpg: Not a JPEG file: starts with 0x47 0x49 (looks like a GIF picture)"_s;
    QTest::newRow("bmp named .jpeg") << u"logo.jpeg"_s << bmp << file
                                     << u"Cannot decode logo.jpeg: Not a JPEG file: starts with 0x42 0x4d"_s;
    QTest::newRow("jpeg named .gif")
        << u"logo.gif"_s << jpeg << file
        << u"Cannot decode logo.gif: Not a GIF file: starts with 0xff 0xd8 (looks like a JPEG picture)"_s;
    QTest::newRow("gif named .bmp") << u"logo.bmp"_s << gif << file
                                    << u"Cannot decode logo.bmp: Not a BMP file: starts with 0x47 0x49"_s;
    QTest::newRow("text named .gif") << u"notes.gif"_s << QByteArray("hello") << file
                                     << u"Cannot decode notes.gif: Not a GIF file: starts with 0x68 0x65"_s;
    QTest::newRow("empty jpeg") << u"empty.jpg"_s << QByteArray() << file
                                << u"Cannot decode empty.jpg: The file is empty"_s;
    QTest::newRow("jpeg cut inside its header")
        << u"cut.jpg"_s << jpeg.left(Fixtures::jpegFrameHeaderOffset(jpeg) + 4) << file << u"Cannot decode cut.jpg: "_s;
    QTest::newRow("jpeg repeating scans without end")
        << u"scans.jpg"_s << withRepeatedLastScan(progressive, 600) << file
        << u"Cannot decode scans.jpg: More than 500 scans in the picture"_s;
    QTest::newRow("missing file") << u"missing.jpg"_s << QByteArray() << int(Setup::Nothing)
                                  << u"Cannot open missing.jpg: No such file"_s;
    QTest::newRow("folder") << u"folder.gif"_s << QByteArray() << int(Setup::Directory)
                            << u"Cannot open folder.gif: It is a folder"_s;
    QTest::newRow("unreadable file") << u"secret.jpg"_s << jpeg << int(Setup::UnreadableFile)
                                     << u"Cannot open secret.jpg: "_s;
    // Opening it would wait for a writer that never comes.
    QTest::newRow("named pipe") << u"pipe.bmp"_s << QByteArray() << int(Setup::NamedPipe)
                                << u"Cannot open pipe.bmp: Not a regular file"_s;
    QTest::newRow("file over 256 MB") << u"huge.bmp"_s << bmp << int(Setup::OversizedFile)
                                      << u"Cannot open huge.bmp: The file is larger than 256 MB"_s;
}

void TestPictureDecoder::refusesWithAReasonNamingTheFile()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);
    QFETCH(int, setup);
    QFETCH(QString, expected);

    const QString path = m_dir.filePath(fileName);
    switch (Setup(setup)) {
    case Setup::File:
        write(fileName, bytes);
        break;
    case Setup::Nothing:
        break;
    case Setup::Directory:
        QVERIFY(QDir(m_dir.path()).mkpath(fileName));
        break;
    case Setup::OversizedFile: {
        QFile file(write(fileName, bytes));
        QVERIFY(file.resize(Codecs::kMaxFileBytes + 1)); // sparse: costs no disk space
        break;
    }
    case Setup::UnreadableFile: {
        QFile file(write(fileName, bytes));
        QVERIFY(file.setPermissions(QFileDevice::WriteOwner));
        if (file.open(QIODevice::ReadOnly))
            QSKIP("Permissions do not keep this user from reading (root?)");
        break;
    }
    case Setup::NamedPipe:
#ifdef Q_OS_UNIX
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#else
        QSKIP("Named pipes in the file system are a Unix thing");
#endif
        break;
    }

    const Picture picture = Codecs::decodePicture(path);
    QVERIFY(!picture.ok());
    QVERIFY(picture.image.isNull());
    QVERIFY2(picture.error.startsWith(expected), qPrintable(picture.error));
    // Rows that give only the start of the message still want a reason after it.
    QVERIFY2(picture.error.size() > expected.size() || !expected.endsWith(u' '), qPrintable(picture.error));
    QFile::remove(path);
}

void TestPictureDecoder::truncatedJpegDecodesWithGreyRestAndWarning_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QRgb>("topLeft");
    QTest::addColumn<QRgb>("bottomRight");

    const QImage colour = Fixtures::quadrants(kTruncatedSize, kColours);
    const QByteArray baseline = Fixtures::jpeg(colour, Fixtures::JpegKind::Rgb);
    const QByteArray progressive = Fixtures::jpeg(colour, Fixtures::JpegKind::Progressive);
    const qsizetype baselineScan = baseline.indexOf("\xff\xda");
    const qsizetype firstScan = progressive.indexOf("\xff\xda");
    const qsizetype secondScan = progressive.indexOf("\xff\xda", firstScan + 2);
    const QRgb grey = qRgb(128, 128, 128);

    QTest::newRow("baseline cut halfway through its data")
        << baseline.left(baselineScan + (baseline.size() - baselineScan) / 2) << kColours[0] << grey;
    QTest::newRow("baseline cut right after the scan header") << baseline.left(baselineScan + 14) << grey << grey;
    QTest::newRow("baseline without its end marker") << baseline.chopped(2) << kColours[0] << kColours[3];
    // The first scan carries the average of every block, all a solid area needs.
    QTest::newRow("progressive cut after its first scan") << progressive.left(secondScan) << kColours[0] << kColours[3];
    QTest::newRow("progressive cut right after the first scan header")
        << progressive.left(firstScan + 14) << grey << grey;
}

void TestPictureDecoder::truncatedJpegDecodesWithGreyRestAndWarning()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QRgb, topLeft);
    QFETCH(QRgb, bottomRight);

    const Picture picture = Codecs::decodePicture(write(u"cut.jpg"_s, bytes));
    QVERIFY2(picture.ok(), qPrintable(picture.error));
    QCOMPARE(picture.image.size(), kTruncatedSize);
    QCOMPARE(picture.warning, u"cut.jpg is damaged: Premature end of JPEG file"_s);

    const QList<QPoint> centres = Fixtures::quadrantCentres(kTruncatedSize);
    const QRgb actualTopLeft = picture.image.pixel(centres[0]);
    const QRgb actualBottomRight = picture.image.pixel(centres[3]);
    QVERIFY2(colourDistance(actualTopLeft, topLeft) <= 12, qPrintable(describe(actualTopLeft)));
    QVERIFY2(colourDistance(actualBottomRight, bottomRight) <= 12, qPrintable(describe(actualBottomRight)));
}

void TestPictureDecoder::progressStartsAndFinishesInOrder_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");

    const QImage colour = Fixtures::quadrants(kOddSize, kColours);
    const QByteArray jpeg = Fixtures::jpeg(colour, Fixtures::JpegKind::Rgb);
    QTest::newRow("decoded jpeg") << u"ok.jpg"_s << jpeg << true;
    QTest::newRow("decoded gif") << u"ok.gif"_s << Fixtures::twoFrameGif(kOddSize, kColours, 0) << true;
    QTest::newRow("damaged jpeg") << u"bad.jpg"_s << jpeg.left(30) << false;
    QTest::newRow("damaged bmp") << u"bad.bmp"_s << QByteArray("BM") << false;
    QTest::newRow("unknown extension") << u"bad.tif"_s << png(colour) << false;
    QTest::newRow("missing file") << u"missing.bmp"_s << QByteArray() << false;
}

void TestPictureDecoder::progressStartsAndFinishesInOrder()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);

    const QString path = bytes.isEmpty() ? m_dir.filePath(fileName) : write(fileName, bytes);
    QList<Progress> heard;
    bool startedBeforeWork = false;
    const Picture picture = Codecs::decodePicture(path, [&](Progress progress) {
        heard.append(progress);
        if (progress == Progress::Started)
            startedBeforeWork = true;
    });
    QCOMPARE(picture.ok(), ok);
    QVERIFY(startedBeforeWork);
    QCOMPARE(heard, (QList<Progress>{Progress::Started, Progress::Finished}));

    heard.clear();
    Codecs::decodePictureData(bytes, fileName, [&](Progress progress) { heard.append(progress); });
    QCOMPARE(heard, (QList<Progress>{Progress::Started, Progress::Finished}));
}

void TestPictureDecoder::pngKeepsItsTransparency()
{
    QImage image(kOddSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(0, 0, qRgba(200, 10, 10, 255));
    image.setPixel(1, 0, qRgba(0, 0, 255, 128));
    for (const QImage::Format format : {QImage::Format_ARGB32, QImage::Format_RGBA64}) {
        const Picture picture = Codecs::decodePicture(write(u"clear.png"_s, png(image, format)));
        QVERIFY2(picture.ok(), qPrintable(picture.error));
        QVERIFY(picture.image.hasAlphaChannel());
        QVERIFY(picture.image.depth() <= 32);
        QCOMPARE(qAlpha(picture.image.pixel(5, 5)), 0);
        QCOMPARE(picture.image.pixel(0, 0), qRgba(200, 10, 10, 255));
        QVERIFY(qAbs(qAlpha(picture.image.pixel(1, 0)) - 128) <= 1);
    }
}

void TestPictureDecoder::supportedExtensionsIgnoreCase_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("supported");

    QTest::newRow(".jpg") << u"/pictures/a.jpg"_s << true;
    QTest::newRow(".JPEG") << u"A.JPEG"_s << true;
    QTest::newRow(".Gif") << u"a.Gif"_s << true;
    QTest::newRow(".bMp") << u"a.bMp"_s << true;
    QTest::newRow("two dots") << u"holiday.2024.jpg"_s << true;
    QTest::newRow(".Png") << u"a.Png"_s << true;
    QTest::newRow(".tif") << u"a.tif"_s << false;
    QTest::newRow(".jpg.txt") << u"a.jpg.txt"_s << false;
    QTest::newRow("no dot") << u"jpg"_s << false;
    QTest::newRow("dotted folder") << u"pictures.jpg/readme"_s << false;
    QTest::newRow("empty") << QString() << false;
}

void TestPictureDecoder::supportedExtensionsIgnoreCase()
{
    QFETCH(QString, path);
    QFETCH(bool, supported);
    QCOMPARE(Codecs::isSupportedPicture(path), supported);
}

QTEST_GUILESS_MAIN(TestPictureDecoder)
#include "tst_picturedecoder.moc"
