#include "platform/textutils.h"

#include <QTest>

#include <climits>

using namespace Qt::StringLiterals;

class TestTextUtils : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replaceAllDoesNotSearchInsertedText_data();
    void replaceAllDoesNotSearchInsertedText();
    void positionSearchesHonourStartAndCase_data();
    void positionSearchesHonourStartAndCase();
    void tokensAndSmallHelpers();
};

void TestTextUtils::replaceAllDoesNotSearchInsertedText_data()
{
    QTest::addColumn<QString>("s");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("search");
    QTest::addColumn<int>("deleteCount");
    QTest::addColumn<QString>("expected");
    QTest::newRow("line breaks") << u"a\r\nb\r\n"_s << u"<BR>"_s << u"\r\n"_s << 2 << u"a<BR>b<BR>"_s;
    QTest::newRow("empty search") << u"abc"_s << u"x"_s << QString() << 0 << u"abc"_s;
    QTest::newRow("replacement holds search") << u"aa"_s << u"aa"_s << u"a"_s << 1 << u"aaaa"_s;
    QTest::newRow("no overlap") << u"aaa"_s << u"b"_s << u"aa"_s << 2 << u"ba"_s;
    QTest::newRow("delete nothing") << u"xay"_s << u"-"_s << u"a"_s << 0 << u"x-ay"_s;
    QTest::newRow("delete past match") << u"aXbc"_s << u"%1"_s << u"X"_s << 2 << u"a%1c"_s;
}

void TestTextUtils::replaceAllDoesNotSearchInsertedText()
{
    QFETCH(QString, s);
    QFETCH(QString, replacement);
    QFETCH(QString, search);
    QFETCH(int, deleteCount);
    QFETCH(QString, expected);
    QCOMPARE(ReplaceAll(s, replacement, search, deleteCount), expected);
}

void TestTextUtils::positionSearchesHonourStartAndCase_data()
{
    QTest::addColumn<bool>("wildcard"); // WildcardPos, else FindDelimiter
    QTest::addColumn<QString>("s");
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("expected");
    QTest::newRow("wildcard ignoring case") << true << u"Hello World"_s << u"w?rld"_s << -1 << 7;
    QTest::newRow("wildcard case-sensitive") << true << u"Hello World"_s << u"w?rld"_s << 1 << 0;
    QTest::newRow("wildcard from start") << true << u"abab"_s << u"ab"_s << 2 << 3;
    QTest::newRow("wildcard start zero") << true << u"abc"_s << u"a"_s << 0 << 0;
    QTest::newRow("wildcard does not fit") << true << u"abc"_s << u"bcd"_s << 2 << 0;
    QTest::newRow("wildcard ? at end") << true << u"ab"_s << u"?"_s << -2 << 2;
    QTest::newRow("wildcard pattern above z") << true << u"["_s << u"{"_s << -1 << 0;
    QTest::newRow("wildcard smallest start") << true << u"abc"_s << u"a"_s << INT_MIN << 0;
    QTest::newRow("delimiter from start") << false << u"a,b;c"_s << u";,"_s << 3 << 4;
    QTest::newRow("delimiter inside quotes") << false << u"\"a,b\""_s << u","_s << 1 << 3;
    QTest::newRow("opening quote skipped") << false << u"\"a"_s << u"\""_s << 1 << 0;
    QTest::newRow("closing quote tested") << false << u"\"a\""_s << u"\""_s << 1 << 3;
    QTest::newRow("delimiter case-sensitive") << false << u"abC"_s << u"c"_s << 1 << 0;
    QTest::newRow("delimiter ignoring case") << false << u"abC"_s << u"c"_s << -1 << 3;
    QTest::newRow("too many delimiters") << false << u"a,b"_s << QString(257, u',') << 1 << 0;
    QTest::newRow("delimiter smallest start") << false << u"a,b"_s << u","_s << INT_MIN << 0;
}

void TestTextUtils::positionSearchesHonourStartAndCase()
{
    QFETCH(bool, wildcard);
    QFETCH(QString, s);
    QFETCH(QString, what);
    QFETCH(int, start);
    QFETCH(int, expected);
    QCOMPARE(wildcard ? WildcardPos(s, what, start) : FindDelimiter(s, what, start), expected);
}

void TestTextUtils::tokensAndSmallHelpers()
{
    int position = 1;
    QStringList fields;
    while (position != 0)
        fields << NextToken(u"a,,b"_s, u","_s, position);
    QCOMPARE(fields, (QStringList{u"a"_s, QString(), u"b"_s}));
    position = 5;
    QVERIFY(NextToken(u"a,,b"_s, u","_s, position).isEmpty() && position == 0);

    QCOMPARE(RemoveSpaces(u" My  Page.mbe "_s), u"MyPage.mbe"_s);
    QCOMPARE(StripExtension(u"My.Page.mbe"_s), u"My.Page"_s);
    QCOMPARE(StripExtension(u"Untitled"_s), QString());
    QVERIFY(!IsDigitsOrSpaces(QString()) && !IsDigitsOrSpaces(u"12a"_s) && IsDigitsOrSpaces(u" 12 "_s));
    QCOMPARE(BeforeBar(u"abc"_s), QString());
    QCOMPARE(AfterBar(u"abc"_s), u"abc"_s);
    QCOMPARE(BeforeBar(u"v|Label|yes"_s), u"v"_s);
    QCOMPARE(AfterBar(u"v|Label|yes"_s), u"Label|yes"_s);
}

QTEST_GUILESS_MAIN(TestTextUtils)
#include "tst_textutils.moc"
