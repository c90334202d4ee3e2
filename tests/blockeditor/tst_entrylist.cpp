#include "app/panels/entrylist.h"
#include "platform/gui/listboxhrz.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The two-column entry lists of the link and page details panels, driven on a bare list box.
class TestEntryList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linkEntriesKeepTheMailPrefixApart_data();
    void linkEntriesKeepTheMailPrefixApart();
    void editsPlaceAndSelectTheRows_data();
    void editsPlaceAndSelectTheRows();
};

void TestEntryList::linkEntriesKeepTheMailPrefixApart_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("email");

    QTest::newRow("web address") << u"http://walks.example/\tWalks"_s << u"http://walks.example/"_s << u"Walks"_s
                                 << false;
    QTest::newRow("e-mail address") << u"mailto:jo@example.com\tWrite to Jo"_s << u"jo@example.com"_s
                                    << u"Write to Jo"_s << true;
    QTest::newRow("no TAB: all text") << u"Just text"_s << QString() << u"Just text"_s << false;
    QTest::newRow("prefix without TAB") << u"mailto:Jo"_s << QString() << u"Jo"_s << true;
    QTest::newRow("TAB in the text") << u"a\tb\tc"_s << u"a"_s << u"b\tc"_s << false;
    QTest::newRow("prefix only counts at the start") << u"see mailto:x\tX"_s << u"see mailto:x"_s << u"X"_s << false;
    // The prefix is matched with case, as the panel writes it.
    QTest::newRow("upper-case prefix is an address") << u"MAILTO:jo@example.com\tJo"_s << u"MAILTO:jo@example.com"_s
                                                     << u"Jo"_s << false;
}

void TestEntryList::linkEntriesKeepTheMailPrefixApart()
{
    QFETCH(QString, line);
    QFETCH(QString, address);
    QFETCH(QString, text);
    QFETCH(bool, email);

    const TLinkEntry entry = TLinkEntry::fromLine(line);
    QCOMPARE(entry.address, address);
    QCOMPARE(entry.text, text);
    QCOMPARE(entry.email, email);
    if (line.contains(u'\t'))
        QCOMPARE(entry.line(), line);
}

namespace {

enum class Edit { InsertAfterSelected, Append, RemoveSelectedOrLast, RemoveSelected, ReplaceSelected, SwapWithLast };

} // namespace

void TestEntryList::editsPlaceAndSelectTheRows_data()
{
    QTest::addColumn<int>("edit");
    QTest::addColumn<int>("selected"); // before the edit; -1 none
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("selectedAfter");

    const auto row = [](Edit edit) { return int(edit); };
    QTest::newRow("insert after the middle") << row(Edit::InsertAfterSelected) << 1
                                             << QStringList{u"a"_s, u"b"_s, u"new"_s, u"c"_s} << 2;
    QTest::newRow("insert after the last") << row(Edit::InsertAfterSelected) << 2
                                           << QStringList{u"a"_s, u"b"_s, u"c"_s, u"new"_s} << 3;
    QTest::newRow("insert with none selected: first") << row(Edit::InsertAfterSelected) << -1
                                                      << QStringList{u"new"_s, u"a"_s, u"b"_s, u"c"_s} << 0;
    QTest::newRow("append") << row(Edit::Append) << 0 << QStringList{u"a"_s, u"b"_s, u"c"_s, u"new"_s} << 3;
    QTest::newRow("remove the first: the next takes its place")
        << row(Edit::RemoveSelectedOrLast) << 0 << QStringList{u"b"_s, u"c"_s} << 0;
    QTest::newRow("remove the last: the one before is selected")
        << row(Edit::RemoveSelectedOrLast) << 2 << QStringList{u"a"_s, u"b"_s} << 1;
    QTest::newRow("remove with none selected: the last") << row(Edit::RemoveSelectedOrLast) << -1
                                                         << QStringList{u"a"_s, u"b"_s} << -1;
    QTest::newRow("remove the selected only") << row(Edit::RemoveSelected) << 1 << QStringList{u"a"_s, u"c"_s} << -1;
    QTest::newRow("remove the selected: none selected") << row(Edit::RemoveSelected) << -1
                                                        << QStringList{u"a"_s, u"b"_s, u"c"_s} << -1;
    QTest::newRow("replace keeps the place") << row(Edit::ReplaceSelected) << 1
                                             << QStringList{u"a"_s, u"new"_s, u"c"_s} << 1;
    QTest::newRow("swap with the last") << row(Edit::SwapWithLast) << 0 << QStringList{u"c"_s, u"b"_s, u"a"_s} << 2;
    QTest::newRow("swap with itself changes nothing") << row(Edit::SwapWithLast) << 2
                                                      << QStringList{u"a"_s, u"b"_s, u"c"_s} << 2;
    QTest::newRow("swap without a selection changes nothing") << row(Edit::SwapWithLast) << -1
                                                              << QStringList{u"a"_s, u"b"_s, u"c"_s} << -1;
}

void TestEntryList::editsPlaceAndSelectTheRows()
{
    QFETCH(int, edit);
    QFETCH(int, selected);
    QFETCH(QStringList, rows);
    QFETCH(int, selectedAfter);

    TListBoxHrz list;
    TEntryList entries(&list);
    entries.setText(u"a\r\nb\r\nc\r\n"_s);
    if (selected >= 0)
        entries.select(selected);
    QCOMPARE(entries.selectedRow(), selected);

    switch (Edit(edit)) {
    case Edit::InsertAfterSelected:
        entries.insertAfterSelected(u"new"_s);
        break;
    case Edit::Append:
        entries.append(u"new"_s);
        break;
    case Edit::RemoveSelectedOrLast:
        entries.removeSelectedOrLast();
        break;
    case Edit::RemoveSelected:
        entries.removeSelected();
        break;
    case Edit::ReplaceSelected:
        entries.replace(entries.selectedRow(), u"new"_s);
        break;
    case Edit::SwapWithLast:
        entries.swap(entries.selectedRow(), entries.count() - 1);
        break;
    }
    QCOMPARE(list.strings(), rows);
    QCOMPARE(entries.selectedRow(), selectedAfter);
    // Whichever edit changed the rows, the list scrolls far enough to show each one whole.
    for (const QString &row : rows)
        QVERIFY2(list.CurrentWidth() >= list.rowWidth(row), qPrintable(row));
}

QTEST_MAIN(TestEntryList)
#include "tst_entrylist.moc"
