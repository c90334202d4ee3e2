#include "html/htmlfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "diskfull.h"

using namespace Qt::StringLiterals;

class TestHtmlFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesAsciiWithReferences_data();
    void writesAsciiWithReferences();
    void failedWritesKeepTheOldFile();
};

void TestHtmlFile::writesAsciiWithReferences_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("no lines") << QStringList() << QByteArray();
    QTest::newRow("every line ends in CR LF") << QStringList{u"<P>"_s, QString()} << QByteArray("<P>\r\n\r\n");
    // The code point, never the Windows-1252 byte: "&#128;" would be read as the euro sign.
    QTest::newRow("code page letters") << QStringList{u"Café “€5” Ÿ\u0081\u00A0ÿ"_s}
                                       << QByteArray("Caf&#233; &#8220;&#8364;5&#8221; &#376;&#129;&#160;&#255;\r\n");
    QTest::newRow("Cyrillic") << QStringList{u"aЖb"_s} << QByteArray("a&#1046;b\r\n");
    QTest::newRow("outside the BMP") << QStringList{u"\U0001F600!"_s} << QByteArray("&#128512;!\r\n");
    QTest::newRow("C1 without a byte") << QStringList{u"\u0080"_s} << QByteArray("&#128;\r\n");
    QTest::newRow("lone surrogates") << QStringList{QString(QChar(0xD83D)) + u'x' + QChar(0xDE00)}
                                     << QByteArray("&#65533;x&#65533;\r\n");
}

void TestHtmlFile::writesAsciiWithReferences()
{
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, bytes);
    QCOMPARE(EncodeHtmlLines(lines), bytes);
}

void TestHtmlFile::failedWritesKeepTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"page.html"_s);
    QString error;
    QVERIFY(WriteHtmlFile(path, {u"Ж"_s}, &error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("&#1046;\r\n"));
    file.close();

    const QString missing = dir.filePath(u"no such folder/page.html"_s);
    QVERIFY(!WriteHtmlFile(missing, {u"x"_s}, &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(missing)), qPrintable(error));

#ifdef Q_OS_UNIX
    bool bufferedWritten = true;
    bool written = true;
    {
        DiskFullGuard full(4096);
        QVERIFY(full.active());
        // Small enough to stay in the write buffer until the end, and large enough to be written at once.
        bufferedWritten = WriteHtmlFile(path, QStringList(100, QString(100, u'x')), &error);
        written = WriteHtmlFile(path, QStringList(1000, QString(100, u'x')), &error);
    }

    QVERIFY(!bufferedWritten);
    QVERIFY(!written);
    QVERIFY2(error.contains(u"page.html"), qPrintable(error));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("&#1046;\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"page.html"_s});
#endif
}

QTEST_GUILESS_MAIN(TestHtmlFile)
#include "tst_htmlfile.moc"
