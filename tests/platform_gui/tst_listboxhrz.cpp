#include "platform/gui/listboxhrz.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kShort = u"Home"_s;
const QString kLong = u"http://www.example.org/a/rather/long/address/index.html\tOur long link text"_s;

} // namespace

class TestListBoxHrz : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addingGrowsTheExtentOnlyWhenTooSmall();
    void removingRecomputesFromTheRemainingRows_data();
    void removingRecomputesFromTheRemainingRows();
    void fontChangeRemeasures();
    void tabsAdvanceToTheNextTabStop();
    void scrollBarFollowsCurrentWidth_data();
    void scrollBarFollowsCurrentWidth();
};

void TestListBoxHrz::addingGrowsTheExtentOnlyWhenTooSmall()
{
    TListBoxHrz list;
    QCOMPARE(list.CurrentWidth(), 0);
    QVERIFY(list.tabWidth() > 0);
    QCOMPARE(list.rowWidth(kShort), list.textWidth(kShort + u"XX"_s));

    list.addString(kShort);
    const int afterShort = list.rowWidth(kShort) + list.tabWidth();
    QCOMPARE(list.CurrentWidth(), afterShort);

    // A row wider than the text part of the extent, but within the tab allowance, changes
    // nothing: the extent is compared with the row's width, not with the width plus the tab.
    QString within = kShort;
    while (list.rowWidth(within + u'i') <= afterShort)
        within += u'i';
    QVERIFY(list.rowWidth(within) > list.rowWidth(kShort));
    list.insertString(0, within);
    QCOMPARE(list.CurrentWidth(), afterShort);

    list.insertString(1, kLong);
    QCOMPARE(list.CurrentWidth(), list.rowWidth(kLong) + list.tabWidth());
    list.addString(u"x"_s);
    QCOMPARE(list.CurrentWidth(), list.rowWidth(kLong) + list.tabWidth());
    QCOMPARE(list.strings(), (QStringList{within, kLong, kShort, u"x"_s}));
}

void TestListBoxHrz::removingRecomputesFromTheRemainingRows_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("remove");
    QTest::addColumn<QString>("widest");

    QTest::newRow("the longest row") << QStringList{kShort, kLong} << 1 << kShort;
    QTest::newRow("a short row") << QStringList{kShort, kLong} << 0 << kLong;
    QTest::newRow("the only row") << QStringList{kLong} << 0 << QString();
    QTest::newRow("out of range") << QStringList{kShort} << 3 << kShort;
}

void TestListBoxHrz::removingRecomputesFromTheRemainingRows()
{
    QFETCH(QStringList, rows);
    QFETCH(int, remove);
    QFETCH(QString, widest);

    TListBoxHrz list;
    for (const QString &row : rows)
        list.addString(row);
    // An extent set from outside is replaced by the recomputed one.
    list.setCurrentWidth(5000);
    list.deleteString(remove);

    const int expected = (widest.isEmpty() ? 0 : list.rowWidth(widest)) + list.tabWidth();
    QCOMPARE(list.CurrentWidth(), expected);

    list.clearStrings();
    QCOMPARE(list.CurrentWidth(), 0);
    QCOMPARE(list.count(), 0);
}

void TestListBoxHrz::fontChangeRemeasures()
{
    TListBoxHrz list;
    list.addString(kShort);
    list.addString(kLong);
    const int before = list.CurrentWidth();

    QFont larger = list.font();
    larger.setPointSizeF(larger.pointSizeF() * 2);
    list.setFont(larger);
    QCOMPARE(list.CurrentWidth(), list.rowWidth(kLong) + list.tabWidth());
    QVERIFY(list.CurrentWidth() > before);
}

void TestListBoxHrz::tabsAdvanceToTheNextTabStop()
{
    TListBoxHrz list;
    const int tab = list.tabWidth();
    QCOMPARE(tab, 8 * list.fontMetrics().averageCharWidth());
    // Text before a TAB shorter than one stop ends at the stop; longer text goes on to the next.
    QVERIFY(qAbs(list.textWidth(u"a\tX"_s) - (tab + list.textWidth(u"X"_s))) <= 1);
    QVERIFY(qAbs(list.textWidth(u"\t\tX"_s) - (2 * tab + list.textWidth(u"X"_s))) <= 1);
    QString pastOneStop = u"n"_s;
    while (list.textWidth(pastOneStop) <= tab)
        pastOneStop += u'n';
    QVERIFY(list.textWidth(pastOneStop) < 2 * tab);
    QVERIFY(qAbs(list.textWidth(pastOneStop + u"\tX"_s) - (2 * tab + list.textWidth(u"X"_s))) <= 1);

    // Stops set in dialog units, a quarter of the average character width each, move the text
    // and the extent; an empty list keeps extent 0.
    list.setTabStopUnits(20);
    const int narrow = 20 * list.fontMetrics().averageCharWidth() / 4;
    QCOMPARE(list.tabWidth(), narrow);
    QCOMPARE(list.CurrentWidth(), 0);
    QVERIFY(qAbs(list.textWidth(u"a\tX"_s) - (narrow + list.textWidth(u"X"_s))) <= 1);
    list.addString(u"a\tX"_s);
    list.setTabStopUnits(30);
    QCOMPARE(list.CurrentWidth(), list.rowWidth(u"a\tX"_s) + list.tabWidth());
}

void TestListBoxHrz::scrollBarFollowsCurrentWidth_data()
{
    QTest::addColumn<int>("extent");
    QTest::newRow("wider than the list") << 900;
    QTest::newRow("narrower than the list") << 60;
    QTest::newRow("zero") << 0;
}

void TestListBoxHrz::scrollBarFollowsCurrentWidth()
{
    QFETCH(int, extent);

    TListBoxHrz list;
    list.resize(300, 150);
    list.addString(kShort);
    list.addString(kLong);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));

    // The rows' own extent first: wider than the 300-pixel list.
    QScrollBar *bar = list.horizontalScrollBar();
    QTRY_COMPARE(bar->maximum(), list.CurrentWidth() - list.viewport()->width());
    QVERIFY(bar->isVisible());

    list.setCurrentWidth(extent);
    QTRY_COMPARE(bar->maximum(), qMax(0, extent - list.viewport()->width()));
    QCOMPARE(bar->isVisible(), extent > list.viewport()->width());
}

QTEST_MAIN(TestListBoxHrz)
#include "tst_listboxhrz.moc"
