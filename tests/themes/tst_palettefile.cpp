#include "themes/palettefile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

TColor rgb(int r, int g, int b)
{
    return TColor(r | (g << 8) | (b << 16));
}

QString colourLines(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += u"%1 %2 %3\r\n"_s.arg(i % 256).arg(i / 256).arg(7);
    return text;
}

} // namespace

class TestPaletteFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linesStoreColours_data();
    void linesStoreColours();
    void webPaletteLayoutFillsOnly216Positions();
    void linesAfterThe256thColourAreIgnored();
    void readerReportsMissingFileAndKeepsTable();
    void readerTakesAnyDevice();
    void filesFollowFolderOrderAndNamesLeadBackToThem();
};

void TestPaletteFile::linesStoreColours_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<TColor>>("expected"); // the first positions; the rest must be white

    QTest::newRow("three numbers") << u"0 51 102"_s << QList<TColor>{rgb(0, 51, 102)};
    QTest::newRow("word and count skipped")
        << u"Web Palette\r\n216\r\n1 2 3\r\n"_s << QList<TColor>{rgb(1, 2, 3)};
    QTest::newRow("value above 255 is 255") << u"300 12 7"_s << QList<TColor>{rgb(255, 12, 7)};
    QTest::newRow("999 is 255") << u"999 999 0"_s << QList<TColor>{rgb(255, 255, 0)};
    QTest::newRow("four digits repeat previous")
        << u"10 20 30\n0100\n"_s << QList<TColor>{rgb(10, 20, 30), rgb(10, 20, 30)};
    QTest::newRow("four digits first are unfilled") << u"0100"_s << QList<TColor>{rgb(0, 0, 0)};
    QTest::newRow("two fields keep previous blue")
        << u"10 20 30\r40 50\r"_s << QList<TColor>{rgb(10, 20, 30), rgb(40, 50, 30)};
    QTest::newRow("double blank gives empty field") << u"1  2 3"_s << QList<TColor>{rgb(1, 2, 3)};
    QTest::newRow("long field passed over") << u"1234 5 6 7"_s << QList<TColor>{rgb(5, 6, 7)};
    QTest::newRow("fourth field ignored") << u"1 2 3 4"_s << QList<TColor>{rgb(1, 2, 3)};
    QTest::newRow("leading blank") << u" 9 8 7"_s << QList<TColor>{rgb(9, 8, 7)};
    QTest::newRow("three characters are a count") << u"1 2\n4 5 6"_s << QList<TColor>{rgb(4, 5, 6)};
    QTest::newRow("other characters skip the line")
        << u"1 2 3x\n1,2,3\n\t4 5 6\n7 8 9"_s << QList<TColor>{rgb(7, 8, 9)};
    QTest::newRow("empty lines skipped") << u"\r\n\r\n1 1 1\r\n\r\n2 2 2"_s
                                         << QList<TColor>{rgb(1, 1, 1), rgb(2, 2, 2)};
    QTest::newRow("blanks only store previous") << u"5 6 7\n     "_s << QList<TColor>{rgb(5, 6, 7), rgb(5, 6, 7)};
    QTest::newRow("empty file") << QString() << QList<TColor>{};
}

void TestPaletteFile::linesStoreColours()
{
    QFETCH(QString, text);
    QFETCH(QList<TColor>, expected);
    Palette::Table table;
    table.fill(1234);
    Palette::parse(text, table);
    for (int i = 0; i < Palette::kColors; ++i) {
        const TColor want = i < expected.size() ? expected[i] : 0xFFFFFF;
        QVERIFY2(table[size_t(i)] == want, qPrintable(u"position %1: %2"_s.arg(i).arg(table[size_t(i)], 0, 16)));
    }
}

void TestPaletteFile::webPaletteLayoutFillsOnly216Positions()
{
    Palette::Table table;
    Palette::parse(u"Web Palette\r\n216\r\n"_s + colourLines(216), table);
    QCOMPARE(table[0], rgb(0, 0, 7));
    QCOMPARE(table[215], rgb(215, 0, 7));
    for (int i = 216; i < Palette::kColors; ++i)
        QCOMPARE(table[size_t(i)], TColor(0xFFFFFF));
}

void TestPaletteFile::linesAfterThe256thColourAreIgnored()
{
    Palette::Table table;
    Palette::parse(colourLines(300), table);
    QCOMPARE(table[0], rgb(0, 0, 7));
    QCOMPARE(table[255], rgb(255, 0, 7));
}

void TestPaletteFile::readerReportsMissingFileAndKeepsTable()
{
    Palette::Table table;
    table.fill(42);
    Palette::Reader reader;
    QVERIFY(!reader.read(u"/nonexistent/folder/Missing.pal"_s, table));
    QVERIFY(reader.errorString().contains(u"Missing.pal"_s));
    QCOMPARE(table[0], TColor(42));
    QCOMPARE(table[255], TColor(42));
}

void TestPaletteFile::readerTakesAnyDevice()
{
    QByteArray bytes("Title\r\n2\r\n1 2 3\r\n4 5 6\r\n");
    QBuffer buffer(&bytes);
    Palette::Table table;
    Palette::Reader reader;
    QVERIFY(reader.read(&buffer, table));
    QCOMPARE(table[0], rgb(1, 2, 3));
    QCOMPARE(table[1], rgb(4, 5, 6));
    QCOMPARE(table[2], TColor(0xFFFFFF));
}

void TestPaletteFile::filesFollowFolderOrderAndNamesLeadBackToThem()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QStringList files = {u"Zebra.pal"_s, u"Alpha.pal"_s,      u"Upper.PAL"_s,       u"two.pal.pal"_s,
                               u"notes.txt"_s, u"My.palette.pal"_s, u"Web Palette.pal"_s, u"pal"_s};
    for (const QString &name : files) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(dir.path()).mkdir(u"folder.pal"_s));

    QStringList expected;
    for (const QString &name : QDir(dir.path()).entryList(QDir::Files, QDir::Unsorted)) {
        if (name.endsWith(u".pal"_s, Qt::CaseInsensitive))
            expected.append(name);
    }
    const QStringList found = Palette::filesIn(dir.path());
    QCOMPARE(found, expected);
    QCOMPARE(found.size(), 6);

    QStringList names;
    for (const QString &file : found)
        names.append(Palette::nameOf(file));
    names.sort();
    QCOMPARE(names, (QStringList{u"Alpha"_s, u"My.palette"_s, u"Upper"_s, u"Web Palette"_s, u"Zebra"_s, u"two.pal"_s}));
}

QTEST_GUILESS_MAIN(TestPaletteFile)
#include "tst_palettefile.moc"
