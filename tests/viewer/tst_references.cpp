#include "viewer/picturestore.h"
#include "viewer/references.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void writePicture(const QString &path, QColor colour, QSize size = QSize(4, 4))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QImageWriter writer(path, "bmp");
    QVERIFY2(writer.write(image), qPrintable(writer.errorString()));
}

} // namespace

class TestReferences : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void resolvesToLocalFiles_data();
    void resolvesToLocalFiles();
    void percentEscapes_data();
    void percentEscapes();
    void aPictureIsReadOncePerLoad();
    void keptPicturesFollowTheirFiles_data();
    void keptPicturesFollowTheirFiles();

private:
    QTemporaryDir m_dir;
    QString m_root; // without a trailing "/"
};

void TestReferences::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_root = m_dir.path();
    QDir root(m_root);
    for (const QString &folder : {u"Brisko/Upload/images"_s, u"Brisko/Upload/backgrounds"_s, u"Brisko/Templates"_s,
                                  u"site/images"_s, u"My Pics"_s})
        QVERIFY(root.mkpath(folder));
    writePicture(m_root + u"/Brisko/Upload/images/logo.bmp"_s, Qt::red);
    writePicture(m_root + u"/site/images/logo.bmp"_s, Qt::green);
    writePicture(m_root + u"/My Pics/a é.bmp"_s, Qt::blue);
}

void TestReferences::resolvesToLocalFiles_data()
{
    // "@" stands for the temporary folder.
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("serverRoot");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("expected");
    const QString logo = u"@/Brisko/Upload/images/logo.bmp"_s;
    QTest::newRow("preview page path with backslashes")
        << u"@/Brisko/Upload\\images\\logo.bmp"_s << u"@/Brisko/Upload"_s << QString() << logo;
    QTest::newRow("absolute path, missing file in an existing folder")
        << u"@/Brisko/Upload/images/gone.gif"_s << u"@/site"_s << QString() << u"@/Brisko/Upload/images/gone.gif"_s;
    QTest::newRow("root path goes below the server root")
        << u"/images/logo.bmp"_s << u"@/site"_s << QString() << u"@/site/images/logo.bmp"_s;
    QTest::newRow("root path with backslashes")
        << u"\\images\\logo.bmp"_s << u"@/site"_s << u"@/Brisko"_s << u"@/site/images/logo.bmp"_s;
    QTest::newRow("root path without server root")
        << u"/images/logo.bmp"_s << QString() << QString() << u"/images/logo.bmp"_s;
    QTest::newRow("template page, other letter case")
        << u"../Upload/Images/LOGO.bmp"_s << u"@/Brisko/Templates"_s << u"@/Brisko/Templates"_s << logo;
    QTest::newRow("dot steps") << u"./x/../../Brisko/Upload/images/logo.bmp"_s << QString() << u"@/site"_s << logo;
    QTest::newRow("file address") << u"file://@/Brisko/Upload/images/logo.bmp"_s << QString() << QString() << logo;
    QTest::newRow("file address of another system")
        << u"file:///C|/pics/a.gif"_s << QString() << QString() << u"C:/pics/a.gif"_s;
    QTest::newRow("escaped name") << u"My%20Pics/a%20%C3%A9.bmp"_s << QString() << u"@"_s << u"@/My Pics/a é.bmp"_s;
    QTest::newRow("web address") << u"http://www.example.com/a.gif"_s << u"@/site"_s << u"@"_s << QString();
    QTest::newRow("mail address") << u"mailto:me@example.com"_s << QString() << u"@"_s << QString();
    QTest::newRow("unknown name stays as written")
        << u"Images/None.gif"_s << QString() << u"@/site"_s << u"@/site/Images/None.gif"_s;
}

void TestReferences::resolvesToLocalFiles()
{
    QFETCH(QString, reference);
    QFETCH(QString, serverRoot);
    QFETCH(QString, base);
    QFETCH(QString, expected);
    const auto place = [&](QString text) { return text.replace(u'@', m_root); };
    QCOMPARE(References::resolve(place(reference), place(serverRoot), place(base)), place(expected));
}

void TestReferences::percentEscapes_data()
{
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("decoded");
    QTest::newRow("space") << u"a%20b.gif"_s << u"a b.gif"_s;
    QTest::newRow("utf-8") << u"caf%C3%A9"_s << u"café"_s;
    QTest::newRow("windows-1252") << u"caf%E9"_s << u"café"_s;
    QTest::newRow("not an escape") << u"100%.gif%4"_s << u"100%.gif%4"_s;
}

void TestReferences::percentEscapes()
{
    QFETCH(QString, reference);
    QFETCH(QString, decoded);
    QCOMPARE(References::decodePercent(reference), decoded);
}

void TestReferences::aPictureIsReadOncePerLoad()
{
    const QString broken = m_root + u"/broken.gif"_s;
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("GIF89a not really");
    file.close();

    PictureStore store;
    store.setCacheCount(0);
    for (int load = 1; load <= 2; ++load) {
        store.beginLoad();
        for (int i = 0; i < 3; ++i)
            QVERIFY(store.picture(broken).isNull());
        QVERIFY(store.picture(m_root + u"/missing.gif"_s).isNull());
        QCOMPARE(store.decodeCount(), load);
    }
}

void TestReferences::keptPicturesFollowTheirFiles_data()
{
    QTest::addColumn<int>("cacheCount");
    QTest::addColumn<int>("decodesForUnchangedFile");
    QTest::newRow("no cache") << 0 << 2;
    QTest::newRow("default cache") << 5 << 1;
}

void TestReferences::keptPicturesFollowTheirFiles()
{
    QFETCH(int, cacheCount);
    const QString path = m_root + u"/kept.bmp"_s;
    writePicture(path, Qt::red);
    PictureStore store;
    store.setCacheCount(cacheCount);
    store.beginLoad();
    QCOMPARE(store.picture(path).pixelColor(0, 0), QColor(Qt::red));
    store.beginLoad();
    QCOMPARE(store.picture(path).pixelColor(0, 0), QColor(Qt::red));
    QFETCH(int, decodesForUnchangedFile);
    QCOMPARE(store.decodeCount(), decodesForUnchangedFile);

    // The same name, other content: the next load shows the new picture.
    writePicture(path, Qt::blue, QSize(5, 4));
    store.beginLoad();
    QCOMPARE(store.picture(path).pixelColor(0, 0), QColor(Qt::blue));
}

QTEST_GUILESS_MAIN(TestReferences)
#include "tst_references.moc"
