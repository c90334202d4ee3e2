#include "bookmarkfixture.h"
#include "dialogs/bookmarks.h"

#include <QBuffer>
#include <QTest>

using namespace Qt::StringLiterals;

class TestBookmarks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineYieldsItsAddressesInOrder_data();
    void lineYieldsItsAddressesInOrder();
    void exportedFileYieldsEveryAddressInFileOrder_data();
    void exportedFileYieldsEveryAddressInFileOrder();
    void bookmarkFileFoundFromNavigatorSettings_data();
    void bookmarkFileFoundFromNavigatorSettings();
};

void TestBookmarks::lineYieldsItsAddressesInOrder_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("addresses");

    QTest::newRow("none") << u"<DT><H3>Folder</H3>"_s << QStringList();
    QTest::newRow("one") << u"<DT><A HREF=\"http://a.example/\" ADD_DATE=\"1\">A</A>"_s
                         << QStringList{u"http://a.example/"_s};
    QTest::newRow("two in line order") << u"<A HREF=\"first\">x</A> <A HREF=\"second\">y</A>"_s
                                       << QStringList{u"first"_s, u"second"_s};
    QTest::newRow("lower case attribute") << u"<a href=\"low\">x</a>"_s << QStringList{u"low"_s};
    QTest::newRow("mixed case attribute") << u"<a HrEf=\"mixed\">"_s << QStringList{u"mixed"_s};
    QTest::newRow("unquoted value not an attribute") << u"<A HREF=bare>"_s << QStringList();
    QTest::newRow("no closing quote ends at blank") << u"<A HREF=\"open ADD_DATE=1>"_s << QStringList{u"open"_s};
    QTest::newRow("quote wins over earlier blank") << u"HREF=\"a b\" HREF=\"c\""_s << QStringList{u"a b"_s, u"c"_s};
    QTest::newRow("neither quote nor blank gives empty") << u"<A HREF=\"dangling>"_s << QStringList{QString()};
    QTest::newRow("empty value") << u"<A HREF=\"\">"_s << QStringList{QString()};
    QTest::newRow("later quote wins over blank") << u"HREF=\"x HREF=\"y\""_s << QStringList{u"x HREF="_s};
    QTest::newRow("unclosed value swallows next attribute") << u"HREF=\"x_HREF=\"y\""_s << QStringList{u"x_HREF="_s};
}

void TestBookmarks::lineYieldsItsAddressesInOrder()
{
    QFETCH(QString, line);
    QFETCH(QStringList, addresses);
    QStringList found{u"kept"_s};
    Bookmarks::scanLine(line, found);
    QCOMPARE(found, QStringList{u"kept"_s} + addresses);
}

void TestBookmarks::exportedFileYieldsEveryAddressInFileOrder_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("LF line ends") << exportedBookmarks();
    QByteArray crlf = exportedBookmarks();
    crlf.replace("\n", "\r\n");
    QTest::newRow("CR LF line ends") << crlf;
}

void TestBookmarks::exportedFileYieldsEveryAddressInFileOrder()
{
    QFETCH(QByteArray, file);
    QBuffer buffer(&file);
    QStringList found;
    QVERIFY(Bookmarks::scan(buffer, found));
    QCOMPARE(found, exportedAddresses());
}

void TestBookmarks::bookmarkFileFoundFromNavigatorSettings_data()
{
    QTest::addColumn<QString>("fileLocation");
    QTest::addColumn<QString>("installDirectory");
    QTest::addColumn<QString>("path");

    QTest::newRow("file location wins") << u"D:\\Marks\\bookmark.htm"_s << u"C:\\Netscape\\"_s
                                        << u"D:\\Marks\\bookmark.htm"_s;
    QTest::newRow("cut at Communicator") << QString() << u"C:\\Program Files\\Netscape\\Communicator\\Program\\"_s
                                         << u"C:\\Program Files\\Netscape\\Users\\jo\\bookmark.htm"_s;
    QTest::newRow("Communicator matched with case")
        << QString() << u"C:\\communicator\\"_s << u"C:\\communicator\\Users\\jo\\bookmark.htm"_s;
    QTest::newRow("no separator runs into Users")
        << QString() << u"C:\\Netscape"_s << u"C:\\NetscapeUsers\\jo\\bookmark.htm"_s;
}

void TestBookmarks::bookmarkFileFoundFromNavigatorSettings()
{
    QFETCH(QString, fileLocation);
    QFETCH(QString, installDirectory);
    QFETCH(QString, path);
    QCOMPARE(Bookmarks::bookmarkFilePath({fileLocation, u"jo"_s, installDirectory}), path);
}

QTEST_GUILESS_MAIN(TestBookmarks)
#include "tst_bookmarks.moc"
