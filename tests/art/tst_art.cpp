#include "art/art.h"

#include <QCursor>
#include <QDirIterator>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Pictures are fetched inside the test, where a warning about a missing one fails it.
using Fetch = std::function<QPixmap()>;

// True when the picture has both see-through and drawn pixels, as every icon has: a blank
// or a solid square means something went wrong in drawing or loading.
bool hasShape(const QImage &image)
{
    bool clear = false;
    bool drawn = false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            (qAlpha(image.pixel(x, y)) == 0 ? clear : drawn) = true;
    return clear && drawn;
}

} // namespace

Q_DECLARE_METATYPE(Fetch)

class TestArt : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void everyPictureIsDrawnAtItsSize_data();
    void everyPictureIsDrawnAtItsSize();
    void picturesOfOneFamilyDiffer();
    void doubleSizePicturesMatchTheirOriginals();
    void cursorActsAtTheArrowTip();
    void applicationIconComesInItsSizes();
};

void TestArt::init()
{
    // A missing resource makes art.cpp fall back to a placeholder with a warning.
    QTest::failOnWarning(QRegularExpression(u"Art:"_s));
}

void TestArt::everyPictureIsDrawnAtItsSize_data()
{
    QTest::addColumn<Fetch>("fetch");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("seeThrough");

    const QSize small(16, 16);
    const QSize large(32, 32);
    for (int i = 0; i < 8; ++i)
        QTest::addRow("block %d", i) << Fetch([i] { return Art::blockIcon(i); }) << small << true;
    using B = Art::Button;
    const std::pair<B, const char *> buttons[] = {
        {B::Create, "create"}, {B::Preview, "preview"}, {B::Save, "save"},     {B::Upload, "upload"},
        {B::Help, "help"},     {B::Hosting, "hosting"}, {B::Browse, "browse"}, {B::Delete, "delete"},
    };
    for (const auto &[button, name] : buttons)
        QTest::addRow("button %s", name) << Fetch([button] { return Art::buttonPicture(button); })
                                         << (int(button) < 4 ? large : small) << true;
    QTest::newRow("empty bin") << Fetch([] { return Art::trash(false); }) << large << true;
    QTest::newRow("full bin") << Fetch([] { return Art::trash(true); }) << large << true;
    QTest::newRow("template") << Fetch([] { return Art::documentIcon(0); }) << large << true;
    QTest::newRow("project") << Fetch([] { return Art::documentIcon(1); }) << large << true;
    for (int i = 0; i < 6; ++i)
        QTest::addRow("field kind %d", i) << Fetch([i] { return Art::fieldKindIcon(i); }) << small << true;
    QTest::newRow("drag cursor") << Fetch([] { return Art::newDragCursor().pixmap(); }) << large << true;
    QTest::newRow("splash") << Fetch([] { return Art::splash(); }) << QSize(400, 320) << false;
}

void TestArt::everyPictureIsDrawnAtItsSize()
{
    QFETCH(Fetch, fetch);
    QFETCH(QSize, size);
    QFETCH(bool, seeThrough);
    const QPixmap picture = fetch();
    QCOMPARE(picture.deviceIndependentSize().toSize(), size);
    const QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    if (seeThrough)
        QVERIFY(hasShape(image));
    else
        QVERIFY(!image.hasAlphaChannel() || qAlpha(image.pixel(0, 0)) == 255);
}

void TestArt::picturesOfOneFamilyDiffer()
{
    // A name given twice in the table would show one picture for two things.
    QSet<QByteArray> seen;
    QList<QPixmap> all;
    for (int i = 0; i < 8; ++i)
        all << Art::blockIcon(i) << Art::buttonPicture(Art::Button(i));
    for (int i = 0; i < 6; ++i)
        all << Art::fieldKindIcon(i);
    all << Art::trash(false) << Art::trash(true) << Art::documentIcon(0) << Art::documentIcon(1);
    for (const QPixmap &pixmap : all) {
        const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        const QByteArray bytes(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes());
        QVERIFY2(!seen.contains(bytes), "two pictures are the same");
        seen.insert(bytes);
    }
}

void TestArt::doubleSizePicturesMatchTheirOriginals()
{
    int pairs = 0;
    QDirIterator it(u":/art"_s, {u"*@2x.png"_s});
    while (it.hasNext()) {
        const QString big = it.next();
        const QString original = QString(big).replace(u"@2x.png"_s, u".png"_s);
        const QImage one(original);
        const QImage two(big);
        QVERIFY2(!one.isNull(), qPrintable(original));
        QCOMPARE(two.size(), one.size() * 2);
        ++pairs;
    }
    QVERIFY(pairs >= 20);
}

void TestArt::cursorActsAtTheArrowTip()
{
    const QCursor cursor = Art::newDragCursor();
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    const QPoint hotSpot = cursor.hotSpot();
    QVERIFY(image.rect().contains(hotSpot));
    QVERIFY(qAlpha(image.pixel(hotSpot)) > 128);
    // The tip is the first pixel drawn, reading the picture from its top-left corner.
    const int tip = hotSpot.y() * image.width() + hotSpot.x();
    for (int i = 0; i < tip; ++i)
        QCOMPARE(qAlpha(image.pixel(i % image.width(), i / image.width())), 0);
}

void TestArt::applicationIconComesInItsSizes()
{
    const QList<QSize> sizes = Art::applicationIcon().availableSizes();
    QVERIFY(sizes.contains(QSize(32, 32)));
    QVERIFY(sizes.contains(QSize(64, 64)));
    QCOMPARE(Art::applicationIcon().pixmap(64, 64).size(), QSize(64, 64));
}

QTEST_MAIN(TestArt)
#include "tst_art.moc"
