#include "editorfixture.h"

#include "app/panels/linkpanel.h"
#include "platform/gui/listboxhrz.h"
#include "platform/gui/messages.h"
#include "platform/textutils.h"

#include <QApplication>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMimeData>

#include <memory>

using namespace Qt::StringLiterals;

class TestLinkPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void linkRoundTrip();
    void dropBoxCheckEnablesTheList_data();
    void dropBoxCheckEnablesTheList();
    void dropBoxEnablesTheListControls();
    void addInsertsAfterTheSelectedEntry_data();
    void addInsertsAfterTheSelectedEntry();
    void addNeedsAddressAndText();
    void emailEntriesKeepTheirPrefix();
    void removeDeletesTheSelectedEntry_data();
    void removeDeletesTheSelectedEntry();
    void removingTheOnlyEntryLeavesDropBoxMode();
    void applyEditReplacesTheSelectedEntry();
    void dropSwapsTheSelectedEntryWithTheOneBelowTheMouse();
    void entriesSurviveCommitAndLoad();

private:
    TPageItem &item() { return *m_doc.Page.Items(btLink); }
    void load() { m_panel->load(m_doc, item()); }
    void commit() { commitInto(*m_panel, m_doc, item()); }
    void loadLinkBlock(const QStringList &entries, bool dropBox);
    QStringList entries() const { return m_list->strings(); }
    QWidget *widget(const char *name) const { return control(*m_panel, name); }
    QLineEdit *edit(const char *name) const { return control<QLineEdit>(*m_panel, name); }
    void select(int row) { m_list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect); }

    TPagelette m_doc;
    std::unique_ptr<TLinkPanel> m_panel;
    TListBoxHrz *m_list = nullptr;
};

void TestLinkPanel::initTestCase()
{
    Messages::setTestMode(true);
}

void TestLinkPanel::init()
{
    Messages::clearHistory();
    m_doc = pageWithEveryBlock();
    m_panel = std::make_unique<TLinkPanel>();
    m_panel->resize(560, 560);
    m_panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
    m_list = control<TListBoxHrz>(*m_panel, "lstLinks");
}

void TestLinkPanel::cleanup()
{
    m_panel.reset();
}

void TestLinkPanel::loadLinkBlock(const QStringList &lines, bool dropBox)
{
    TLinkBlock &block = item().LinkBlock;
    block.UseDropBox = dropBox;
    block.DropBoxText = Text::joinLines(lines);
    load();
}

void TestLinkPanel::linkRoundTrip()
{
    item().LinkBlock = {u"http://a.example/"_s, u"Club A"_s,
                         u"http://b.example/\tClub B\r\nmailto:c@example.com\tMail C\r\n"_s, true, u"kept"_s, true};
    load();

    const QWidget &e = *m_panel;
    auto *links = control<TListBoxHrz>(e, "lstLinks");
    QCOMPARE(textOf(e, "txtLinkAddress"), u"http://a.example/"_s);
    QCOMPARE(textOf(e, "txtLinkText"), u"Club A"_s);
    QVERIFY(isChecked(e, "chkLink"));
    QVERIFY(isChecked(e, "chkEmail"));
    QCOMPARE(links->strings(), QStringList({u"http://b.example/\tClub B"_s, u"mailto:c@example.com\tMail C"_s}));

    retype(e, "txtLinkAddress", u"http://d.example/"_s);
    retype(e, "txtLinkText", u"Club D"_s);
    clickCheckBox(e, "chkEmail");
    clickCheckBox(e, "chkLink");
    links->deleteString(0);
    commit();
    QCOMPARE(item().LinkBlock, (TLinkBlock{u"http://d.example/"_s, u"Club D"_s, u"mailto:c@example.com\tMail C\r\n"_s,
                                            false, u"kept"_s, false}));
}

void TestLinkPanel::dropBoxCheckEnablesTheList_data()
{
    QTest::addColumn<bool>("useDropBox");
    QTest::addColumn<QString>("entries");
    QTest::addColumn<bool>("listEnabled");
    QTest::addColumn<bool>("removeEnabled");

    QTest::newRow("single link") << false << u"a\tA\r\n"_s << false << false;
    QTest::newRow("empty drop box") << true << QString() << true << false;
    QTest::newRow("drop box with entries") << true << u"a\tA\r\nb\tB\r\n"_s << true << true;
}

void TestLinkPanel::dropBoxCheckEnablesTheList()
{
    QFETCH(bool, useDropBox);
    QFETCH(QString, entries);
    QFETCH(bool, listEnabled);
    QFETCH(bool, removeEnabled);

    item().LinkBlock.UseDropBox = useDropBox;
    item().LinkBlock.DropBoxText = entries;
    load();
    const QWidget &e = *m_panel;
    QCOMPARE(control(e, "lstLinks")->isEnabled(), listEnabled);
    QCOMPARE(control(e, "btnLinkAdd")->isEnabled(), listEnabled);
    QCOMPARE(control(e, "btnLinkRemove")->isEnabled(), removeEnabled);
    QCOMPARE(control(e, "btnLinkEdit")->isEnabled(), removeEnabled);
    QCOMPARE(control<TListBoxHrz>(e, "lstLinks")->count(), Text::splitLines(entries).size());
}

void TestLinkPanel::dropBoxEnablesTheListControls()
{
    loadLinkBlock({u"a\tA"_s}, false);
    for (const char *name : {"btnLinkAdd", "btnLinkRemove", "btnLinkEdit", "lstLinks"})
        QVERIFY2(!widget(name)->isEnabled(), name);

    clickCheckBox(*m_panel, "chkLink");
    QVERIFY(widget("btnLinkAdd")->isEnabled());
    QVERIFY(m_list->isEnabled());
    QVERIFY(widget("btnLinkRemove")->isEnabled());
    QVERIFY(widget("btnLinkEdit")->isEnabled());

    // An empty list has nothing to remove or edit.
    loadLinkBlock({}, true);
    QVERIFY(widget("btnLinkAdd")->isEnabled());
    QVERIFY(!widget("btnLinkRemove")->isEnabled());
    QVERIFY(!widget("btnLinkEdit")->isEnabled());

    // Clicking an entry enables the buttons that work on it.
    loadLinkBlock({u"a\tA"_s, u"b\tB"_s}, true);
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, m_list->visualItemRect(m_list->item(1)).center());
    QCOMPARE(m_list->currentRow(), 1);
    QVERIFY(widget("btnLinkRemove")->isEnabled());
    QVERIFY(widget("btnLinkEdit")->isEnabled());
}

void TestLinkPanel::addInsertsAfterTheSelectedEntry_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("expectedRow");
    QTest::newRow("third of five") << 2 << 3;
    QTest::newRow("last") << 4 << 5;
    QTest::newRow("none") << -1 << 0;
}

void TestLinkPanel::addInsertsAfterTheSelectedEntry()
{
    QFETCH(int, selected);
    QFETCH(int, expectedRow);
    loadLinkBlock({u"1\tOne"_s, u"2\tTwo"_s, u"3\tThree"_s, u"4\tFour"_s, u"5\tFive"_s}, true);
    if (selected >= 0)
        select(selected);
    retype(*m_panel, "txtLinkAddress", u"http://www.example.com/"_s);
    retype(*m_panel, "txtLinkText", u"Example"_s);
    clickButton(widget("btnLinkAdd"));

    QCOMPARE(entries().size(), 6);
    QCOMPARE(entries().at(expectedRow), u"http://www.example.com/\tExample"_s);
    QCOMPARE(m_list->selectedItems().value(0), m_list->item(expectedRow));
    QVERIFY(edit("txtLinkAddress")->text().isEmpty());
    QVERIFY(edit("txtLinkText")->text().isEmpty());
    QVERIFY(isChecked(*m_panel, "chkLink"));
    QVERIFY(widget("btnLinkRemove")->isEnabled());
}

void TestLinkPanel::addNeedsAddressAndText()
{
    loadLinkBlock({}, true);
    retype(*m_panel, "txtLinkAddress", u"http://www.example.com/"_s);
    clickButton(widget("btnLinkAdd"));
    retype(*m_panel, "txtLinkAddress", QString());
    retype(*m_panel, "txtLinkText", u"Example"_s);
    clickButton(widget("btnLinkAdd"));
    QVERIFY(entries().isEmpty());
    QCOMPARE(edit("txtLinkText")->text(), u"Example"_s);
    QVERIFY(Messages::shown().isEmpty());
}

void TestLinkPanel::emailEntriesKeepTheirPrefix()
{
    loadLinkBlock({}, true);
    retype(*m_panel, "txtLinkAddress", u"jo@example.com"_s);
    retype(*m_panel, "txtLinkText", u"Write to Jo"_s);
    clickCheckBox(*m_panel, "chkEmail");
    clickButton(widget("btnLinkAdd"));
    QCOMPARE(entries(), QStringList{u"mailto:jo@example.com\tWrite to Jo"_s});
    QVERIFY(!isChecked(*m_panel, "chkEmail"));

    doubleClickRow(m_list, 0);
    QVERIFY(isChecked(*m_panel, "chkEmail"));
    QCOMPARE(edit("txtLinkAddress")->text(), u"jo@example.com"_s);
    QCOMPARE(edit("txtLinkText")->text(), u"Write to Jo"_s);

    // A line without a TAB is all text.
    loadLinkBlock({u"Just text"_s}, true);
    select(0);
    doubleClickRow(m_list, 0);
    QCOMPARE(edit("txtLinkAddress")->text(), QString());
    QCOMPARE(edit("txtLinkText")->text(), u"Just text"_s);
}

void TestLinkPanel::removeDeletesTheSelectedEntry_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("remaining");
    QTest::newRow("first of three") << 0 << QStringList{u"b\tB"_s, u"c\tC"_s};
    QTest::newRow("middle") << 1 << QStringList{u"a\tA"_s, u"c\tC"_s};
    QTest::newRow("none selected: the last") << -1 << QStringList{u"a\tA"_s, u"b\tB"_s};
}

void TestLinkPanel::removeDeletesTheSelectedEntry()
{
    QFETCH(int, selected);
    QFETCH(QStringList, remaining);
    loadLinkBlock({u"a\tA"_s, u"b\tB"_s, u"c\tC"_s}, true);
    if (selected >= 0)
        select(selected);
    clickButton(widget("btnLinkRemove"));
    QCOMPARE(entries(), remaining);
    QVERIFY(isChecked(*m_panel, "chkLink"));
    QVERIFY(widget("btnLinkRemove")->isEnabled());
    // The entry that took the removed one's place is selected, ready to go next.
    if (selected >= 0)
        QCOMPARE(m_list->selectedItems().value(0), m_list->item(selected));
}

void TestLinkPanel::removingTheOnlyEntryLeavesDropBoxMode()
{
    loadLinkBlock({u"a\tA"_s}, true);
    select(0);
    clickButton(widget("btnLinkRemove"));
    QVERIFY(entries().isEmpty());
    QVERIFY(!isChecked(*m_panel, "chkLink"));
    for (const char *name : {"btnLinkAdd", "btnLinkRemove", "btnLinkEdit", "lstLinks"})
        QVERIFY2(!widget(name)->isEnabled(), name);
}

void TestLinkPanel::applyEditReplacesTheSelectedEntry()
{
    loadLinkBlock({u"a\tA"_s, u"b\tB"_s, u"c\tC"_s}, true);
    select(1);
    doubleClickRow(m_list, 1);
    retype(*m_panel, "txtLinkText", u"Bee"_s);
    clickCheckBox(*m_panel, "chkEmail");
    clickButton(widget("btnLinkEdit"));
    QCOMPARE(entries(), (QStringList{u"a\tA"_s, u"mailto:b\tBee"_s, u"c\tC"_s}));
    QCOMPARE(m_list->selectedItems().value(0), m_list->item(1));
    QVERIFY(edit("txtLinkAddress")->text().isEmpty());
    QVERIFY(!isChecked(*m_panel, "chkEmail"));

    // With an empty edit box nothing changes.
    retype(*m_panel, "txtLinkAddress", u"x"_s);
    clickButton(widget("btnLinkEdit"));
    QCOMPARE(entries().at(1), u"mailto:b\tBee"_s);
}

void TestLinkPanel::dropSwapsTheSelectedEntryWithTheOneBelowTheMouse()
{
    loadLinkBlock({u"a\tA"_s, u"b\tB"_s, u"c\tC"_s, u"d\tD"_s}, true);
    select(0);
    const auto drop = [this](const QPoint &pos, const QMimeData *data) {
        QDragEnterEvent enter(pos, Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(m_list->viewport(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropEvent(pos, Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(m_list->viewport(), &dropEvent);
        return dropEvent.isAccepted();
    };

    std::unique_ptr<QMimeData> own(TLinkPanel::linkDragData(m_list));
    QVERIFY(drop(m_list->visualItemRect(m_list->item(2)).center(), own.get()));
    QCOMPARE(entries(), (QStringList{u"c\tC"_s, u"b\tB"_s, u"a\tA"_s, u"d\tD"_s}));
    QCOMPARE(m_list->selectedItems().value(0), m_list->item(2));

    // Below the last entry nothing changes places.
    const QRect last = m_list->visualItemRect(m_list->item(3));
    QVERIFY(drop(QPoint(last.center().x(), last.bottom() + 10), own.get()));
    QCOMPARE(entries(), (QStringList{u"c\tC"_s, u"b\tB"_s, u"a\tA"_s, u"d\tD"_s}));

    // Text dragged in from elsewhere, or an entry of another list, is refused.
    QMimeData text;
    text.setText(u"x\tX"_s);
    QVERIFY(!drop(m_list->visualItemRect(m_list->item(1)).center(), &text));
    TListBoxHrz other;
    std::unique_ptr<QMimeData> foreign(TLinkPanel::linkDragData(&other));
    QVERIFY(!drop(m_list->visualItemRect(m_list->item(1)).center(), foreign.get()));
    QCOMPARE(entries(), (QStringList{u"c\tC"_s, u"b\tB"_s, u"a\tA"_s, u"d\tD"_s}));
}

void TestLinkPanel::entriesSurviveCommitAndLoad()
{
    loadLinkBlock({}, false);
    clickCheckBox(*m_panel, "chkLink");
    for (const QString &name : {u"One"_s, u"Two"_s, u"Three"_s}) {
        select(m_list->count() - 1);
        retype(*m_panel, "txtLinkAddress", u"http://"_s + name.toLower() + u".example/"_s);
        retype(*m_panel, "txtLinkText", name);
        clickButton(widget("btnLinkAdd"));
    }
    commit();
    const TLinkBlock &block = item().LinkBlock;
    QCOMPARE(block.DropBoxText,
             u"http://one.example/\tOne\r\nhttp://two.example/\tTwo\r\nhttp://three.example/\tThree\r\n"_s);
    QVERIFY(block.UseDropBox);

    // Another link block in between empties the list; this block brings its entries back.
    TPageItem other;
    other.BlockType = btLink;
    m_panel->load(m_doc, other);
    QVERIFY(entries().isEmpty());
    load();
    QCOMPARE(entries().size(), 3);
    QCOMPARE(entries().at(2), u"http://three.example/\tThree"_s);

    // Set BRISKO_PANEL_PICTURES to a folder to look at the panel.
    const QString pictures = qEnvironmentVariable("BRISKO_PANEL_PICTURES");
    if (!pictures.isEmpty()) {
        select(1);
        doubleClickRow(m_list, 1);
        m_panel->grab().save(pictures + u"/linkpanel-dropbox.png"_s);
    }
}

QTEST_MAIN(TestLinkPanel)
#include "tst_linkpanel.moc"
