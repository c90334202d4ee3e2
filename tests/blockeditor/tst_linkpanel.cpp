#include "editorfixture.h"

#include "dialogs/miscdialog.h"
#include "platform/gui/filedialogs.h"
#include "platform/gui/listboxhrz.h"
#include "platform/gui/messages.h"
#include "platform/settingsstore.h"
#include "platform/textutils.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Runs answer on the dialog the next click opens, once it is shown.
void onNextDialog(QObject *context, std::function<void(TfrmMisc *)> answer)
{
    QTimer::singleShot(0, context, [answer] {
        auto *dialog = qobject_cast<TfrmMisc *>(QApplication::activeModalWidget());
        if (!dialog)
            qFatal("the dialog did not open");
        answer(dialog);
    });
}

void clickButton(QWidget *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// A user's double-click on a row: a click, then the second press that makes it a double-click.
void doubleClickRow(QListWidget *list, int row)
{
    const QPoint pos = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, pos);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestLinkPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

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

    void metaAddEditRemove();
    void metaEditOfAnUnknownName_data();
    void metaEditOfAnUnknownName();

    void favoriteFillsTheTaggedEditBox_data();
    void favoriteFillsTheTaggedEditBox();
    void bookmarkFillsTheTaggedEditBox();
    void textImportInsertsLinesAtTheCaret_data();
    void textImportInsertsLinesAtTheCaret();

private:
    void loadLinkBlock(const QStringList &entries, bool dropBox);
    QStringList entries() const { return m_list->strings(); }
    QWidget *widget(const char *name) const { return control(*m_editor, name); }
    QLineEdit *edit(const char *name) const { return control<QLineEdit>(*m_editor, name); }
    void select(int row) { m_list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect); }

    QTemporaryDir m_dir;
    TPagelette m_doc;
    std::unique_ptr<TBlockEditor> m_editor;
    TListBoxHrz *m_list = nullptr;
};

void TestLinkPanel::initTestCase()
{
    QVERIFY(m_dir.isValid());
    SettingsStore::useFile(m_dir.filePath(u"settings.ini"_s));
    Messages::setTestMode(true);
}

void TestLinkPanel::init()
{
    Messages::clearHistory();
    m_doc = pageWithEveryBlock();
    m_editor = std::make_unique<TBlockEditor>();
    m_editor->resize(560, 600);
    m_editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));
    m_list = control<TListBoxHrz>(*m_editor, "lstLinks");
}

void TestLinkPanel::cleanup()
{
    m_editor.reset();
}

void TestLinkPanel::loadLinkBlock(const QStringList &lines, bool dropBox)
{
    TLinkBlock &block = m_doc.Page.Items(btLink)->LinkBlock;
    block.UseDropBox = dropBox;
    block.DropBoxText = Text::joinLines(lines);
    m_editor->loadBlock(m_doc, btLink);
}

void TestLinkPanel::dropBoxEnablesTheListControls()
{
    loadLinkBlock({u"a\tA"_s}, false);
    for (const char *name : {"btnLinkAdd", "btnLinkRemove", "btnLinkEdit", "lstLinks"})
        QVERIFY2(!widget(name)->isEnabled(), name);

    clickCheckBox(*m_editor, "chkLink");
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
    retype(*m_editor, "txtLinkAddress", u"http://www.example.com/"_s);
    retype(*m_editor, "txtLinkText", u"Example"_s);
    clickButton(widget("btnLinkAdd"));

    QCOMPARE(entries().size(), 6);
    QCOMPARE(entries().at(expectedRow), u"http://www.example.com/\tExample"_s);
    QCOMPARE(m_list->selectedItems().value(0), m_list->item(expectedRow));
    QVERIFY(edit("txtLinkAddress")->text().isEmpty());
    QVERIFY(edit("txtLinkText")->text().isEmpty());
    QVERIFY(isChecked(*m_editor, "chkLink"));
    QVERIFY(widget("btnLinkRemove")->isEnabled());
}

void TestLinkPanel::addNeedsAddressAndText()
{
    loadLinkBlock({}, true);
    retype(*m_editor, "txtLinkAddress", u"http://www.example.com/"_s);
    clickButton(widget("btnLinkAdd"));
    retype(*m_editor, "txtLinkAddress", QString());
    retype(*m_editor, "txtLinkText", u"Example"_s);
    clickButton(widget("btnLinkAdd"));
    QVERIFY(entries().isEmpty());
    QCOMPARE(edit("txtLinkText")->text(), u"Example"_s);
    QVERIFY(Messages::shown().isEmpty());
}

void TestLinkPanel::emailEntriesKeepTheirPrefix()
{
    loadLinkBlock({}, true);
    retype(*m_editor, "txtLinkAddress", u"jo@example.com"_s);
    retype(*m_editor, "txtLinkText", u"Write to Jo"_s);
    clickCheckBox(*m_editor, "chkEmail");
    clickButton(widget("btnLinkAdd"));
    QCOMPARE(entries(), QStringList{u"mailto:jo@example.com\tWrite to Jo"_s});
    QVERIFY(!isChecked(*m_editor, "chkEmail"));

    doubleClickRow(m_list, 0);
    QVERIFY(isChecked(*m_editor, "chkEmail"));
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
    QVERIFY(isChecked(*m_editor, "chkLink"));
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
    QVERIFY(!isChecked(*m_editor, "chkLink"));
    for (const char *name : {"btnLinkAdd", "btnLinkRemove", "btnLinkEdit", "lstLinks"})
        QVERIFY2(!widget(name)->isEnabled(), name);
}

void TestLinkPanel::applyEditReplacesTheSelectedEntry()
{
    loadLinkBlock({u"a\tA"_s, u"b\tB"_s, u"c\tC"_s}, true);
    select(1);
    doubleClickRow(m_list, 1);
    retype(*m_editor, "txtLinkText", u"Bee"_s);
    clickCheckBox(*m_editor, "chkEmail");
    clickButton(widget("btnLinkEdit"));
    QCOMPARE(entries(), (QStringList{u"a\tA"_s, u"mailto:b\tBee"_s, u"c\tC"_s}));
    QCOMPARE(m_list->selectedItems().value(0), m_list->item(1));
    QVERIFY(edit("txtLinkAddress")->text().isEmpty());
    QVERIFY(!isChecked(*m_editor, "chkEmail"));

    // With an empty edit box nothing changes.
    retype(*m_editor, "txtLinkAddress", u"x"_s);
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

    std::unique_ptr<QMimeData> own(TBlockEditor::linkDragData(m_list));
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
    std::unique_ptr<QMimeData> foreign(TBlockEditor::linkDragData(&other));
    QVERIFY(!drop(m_list->visualItemRect(m_list->item(1)).center(), foreign.get()));
    QCOMPARE(entries(), (QStringList{u"c\tC"_s, u"b\tB"_s, u"a\tA"_s, u"d\tD"_s}));
}

void TestLinkPanel::entriesSurviveCommitAndLoad()
{
    loadLinkBlock({}, false);
    clickCheckBox(*m_editor, "chkLink");
    for (const QString &name : {u"One"_s, u"Two"_s, u"Three"_s}) {
        select(m_list->count() - 1);
        retype(*m_editor, "txtLinkAddress", u"http://"_s + name.toLower() + u".example/"_s);
        retype(*m_editor, "txtLinkText", name);
        clickButton(widget("btnLinkAdd"));
    }
    QVERIFY(m_editor->commitBlock(m_doc));
    const TLinkBlock &block = m_doc.Page.Items(btLink)->LinkBlock;
    QCOMPARE(block.DropBoxText,
             u"http://one.example/\tOne\r\nhttp://two.example/\tTwo\r\nhttp://three.example/\tThree\r\n"_s);
    QVERIFY(block.UseDropBox);

    m_editor->loadBlock(m_doc, btText);
    m_editor->loadBlock(m_doc, btLink);
    QCOMPARE(entries().size(), 3);
    QCOMPARE(entries().at(2), u"http://three.example/\tThree"_s);

    // Set BRISKO_PANEL_PICTURES to a folder to look at the panel.
    const QString pictures = qEnvironmentVariable("BRISKO_PANEL_PICTURES");
    if (!pictures.isEmpty()) {
        select(1);
        doubleClickRow(m_list, 1);
        m_editor->grab().save(pictures + u"/linkpanel-dropbox.png"_s);
    }
}

void TestLinkPanel::metaAddEditRemove()
{
    m_doc.Page.Items(btPageProperties)->PagePropertiesBlock.MetaText = u"Keywords\twalks\r\nExpires\tnever\r\n"_s;
    m_editor->loadBlock(m_doc, btPageProperties);
    auto *meta = control<TListBoxHrz>(*m_editor, "lstMeta");
    QVERIFY(widget("btnMetaAdd")->isEnabled());
    QVERIFY(!widget("btnMetaRemove")->isEnabled());
    QVERIFY(!widget("btnMetaEdit")->isEnabled());

    // Add offers "Description" and empty content, and appends the entry.
    QString offeredName;
    bool okEnabledWhenEmpty = true;
    onNextDialog(m_editor.get(), [&](TfrmMisc *dialog) {
        offeredName = dialog->metaName();
        okEnabledWhenEmpty = dialog->findChild<QPushButton *>(u"btnOK"_s)->isEnabled();
        dialog->findChild<QComboBox *>(u"cbMetaName"_s)->setCurrentIndex(4);
        retype(dialog->findChild<QLineEdit *>(u"txtMetaContent"_s), u"jo@example.com"_s);
        clickButton(dialog->findChild<QPushButton *>(u"btnOK"_s));
    });
    clickButton(widget("btnMetaAdd"));
    QCOMPARE(offeredName, u"Description"_s);
    QVERIFY(!okEnabledWhenEmpty);
    QCOMPARE(meta->strings(), (QStringList{u"Keywords\twalks"_s, u"Expires\tnever"_s, u"Reply-to\tjo@example.com"_s}));
    QCOMPARE(meta->selectedItems().value(0), meta->item(2));
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    // Editing the Keywords entry keeps its place; the dialog shows what the entry holds.
    QString shownName, shownContent;
    onNextDialog(m_editor.get(), [&](TfrmMisc *dialog) {
        shownName = dialog->metaName();
        shownContent = dialog->metaContent();
        retype(dialog->findChild<QLineEdit *>(u"txtMetaContent"_s), u"walks, hills"_s);
        clickButton(dialog->findChild<QPushButton *>(u"btnOK"_s));
    });
    doubleClickRow(meta, 0);
    QCOMPARE(shownName, u"Keywords"_s);
    QCOMPARE(shownContent, u"walks"_s);
    QCOMPARE(meta->strings().at(0), u"Keywords\twalks, hills"_s);
    QCOMPARE(meta->selectedItems().value(0), meta->item(0));

    // Cancel changes nothing.
    onNextDialog(m_editor.get(), [](TfrmMisc *dialog) { clickButton(dialog->findChild<QPushButton *>(u"btnCancel"_s)); });
    clickButton(widget("btnMetaEdit"));
    QCOMPARE(meta->strings().at(0), u"Keywords\twalks, hills"_s);

    clickButton(widget("btnMetaRemove"));
    QCOMPARE(meta->strings(), (QStringList{u"Expires\tnever"_s, u"Reply-to\tjo@example.com"_s}));
    QVERIFY(!widget("btnMetaRemove")->isEnabled());
    QVERIFY(!widget("btnMetaEdit")->isEnabled());

    QVERIFY(m_editor->commitBlock(m_doc));
    QCOMPARE(m_doc.Page.Items(btPageProperties)->PagePropertiesBlock.MetaText,
             u"Expires\tnever\r\nReply-to\tjo@example.com\r\n"_s);
}

void TestLinkPanel::metaEditOfAnUnknownName_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("edited");
    // A name the dialog does not offer survives an edit of the content.
    QTest::newRow("unknown name") << u"Author\tJo"_s << u"Author"_s << u"Jo"_s << u"Author\tJo"_s;
    // Without a TAB the page shows the whole line as content, and so does the dialog.
    QTest::newRow("no TAB") << u"walks, hills"_s << QString() << u"walks, hills"_s << u"\twalks, hills"_s;
}

void TestLinkPanel::metaEditOfAnUnknownName()
{
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(QString, content);
    QFETCH(QString, edited);
    m_doc.Page.Items(btPageProperties)->PagePropertiesBlock.MetaText = line + u"\r\n";
    m_editor->loadBlock(m_doc, btPageProperties);
    auto *meta = control<TListBoxHrz>(*m_editor, "lstMeta");
    meta->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    QString shownName, shownContent;
    onNextDialog(m_editor.get(), [&](TfrmMisc *dialog) {
        shownName = dialog->metaName();
        shownContent = dialog->metaContent();
        clickButton(dialog->findChild<QPushButton *>(u"btnOK"_s));
    });
    clickButton(widget("btnMetaEdit"));
    QCOMPARE(shownName, name);
    QCOMPARE(shownContent, content);
    QCOMPARE(meta->strings(), QStringList{edited});
}

void TestLinkPanel::favoriteFillsTheTaggedEditBox_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("other");
    QTest::newRow("link panel") << u"btnLinkIE"_s << u"txtLinkAddress"_s << u"txtImageLink"_s;
    QTest::newRow("image panel") << u"btnImageIE"_s << u"txtImageLink"_s << u"txtLinkAddress"_s;
}

void TestLinkPanel::favoriteFillsTheTaggedEditBox()
{
    QFETCH(QString, button);
    QFETCH(QString, target);
    QFETCH(QString, other);
    const QString shortcut = m_dir.filePath(u"Walks.url"_s);
    QVERIFY(writeFile(shortcut, "[DEFAULT]\r\nBASEURL=http://wrong.example/\r\n"
                                "[internetshortcut]\r\nurl=http://walks.example/\r\nURL=http://second.example/\r\n"));
    const QString empty = m_dir.filePath(u"Empty.url"_s);
    QVERIFY(writeFile(empty, "[InternetShortcut]\r\nIconIndex=0\r\n"));

    const QByteArray buttonName = button.toLatin1();
    const QByteArray targetName = target.toLatin1();
    retype(*m_editor, targetName.constData(), u"before"_s);
    FileDialogs::setNextFileName(shortcut);
    clickButton(widget(buttonName.constData()));
    QCOMPARE(FileDialogs::lastFilter(), u"Internet Shortcuts|*.url"_s);
    QCOMPARE(FileDialogs::lastFolder(), TBlockEditor::favoritesFolder());
    QCOMPARE(edit(targetName.constData())->text(), u"http://walks.example/"_s);
    QVERIFY(edit(other.toLatin1().constData())->text().isEmpty());

    // A shortcut without an address, or Cancel, changes nothing.
    FileDialogs::setNextFileName(empty);
    clickButton(widget(buttonName.constData()));
    FileDialogs::setNextFileName(QString());
    clickButton(widget(buttonName.constData()));
    QCOMPARE(edit(targetName.constData())->text(), u"http://walks.example/"_s);
}

void TestLinkPanel::bookmarkFillsTheTaggedEditBox()
{
    const QString marks = m_dir.filePath(u"bookmarks.html"_s);
    QVERIFY(writeFile(marks, "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n"
                             "    <DT><A HREF=\"https://www.debian.org/\" ADD_DATE=\"1712345680\">Debian</A>\n"
                             "    <DT><A HREF=\"https://doc.qt.io/qt-6/\">Qt 6</A>\n</DL><p>\n"));
    {
        QSettings store(m_dir.filePath(u"settings.ini"_s), QSettings::IniFormat);
        store.setValue(u"Software/Netscape/Netscape Navigator/Bookmark List/File Location"_s, marks);
    }
    SettingsStore::useFile(m_dir.filePath(u"settings.ini"_s));

    onNextDialog(m_editor.get(), [](TfrmMisc *dialog) {
        auto *list = dialog->findChild<TListBoxHrz *>(u"lstBookmarks"_s);
        list->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
        clickButton(dialog->findChild<QPushButton *>(u"btnOK"_s));
    });
    clickButton(widget("btnImageNetscape"));
    QCOMPARE(edit("txtImageLink")->text(), u"https://doc.qt.io/qt-6/"_s);
    QVERIFY(edit("txtLinkAddress")->text().isEmpty());

    onNextDialog(m_editor.get(), [](TfrmMisc *dialog) { clickButton(dialog->findChild<QPushButton *>(u"btnOK"_s)); });
    clickButton(widget("btnLinkNetscape"));
    QCOMPARE(edit("txtLinkAddress")->text(), u"https://www.debian.org/"_s);

    onNextDialog(m_editor.get(), [](TfrmMisc *dialog) { clickButton(dialog->findChild<QPushButton *>(u"btnCancel"_s)); });
    clickButton(widget("btnLinkNetscape"));
    QCOMPARE(edit("txtLinkAddress")->text(), u"https://www.debian.org/"_s);
}

void TestLinkPanel::textImportInsertsLinesAtTheCaret_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("inserted");
    QTest::newRow("paragraph, CR LF") << u"btnTextImport"_s << u"txtText"_s << QByteArray("one\r\ntwo\r\nthree")
                                      << u"one\ntwo\nthree\n"_s;
    QTest::newRow("bullets, LF and CR") << u"btnBulletImport"_s << u"txtBullets"_s << QByteArray("one\ntwo\rthree\n")
                                        << u"one\ntwo\nthree\n"_s;
    QTest::newRow("UTF-8") << u"btnTextImport"_s << u"txtText"_s << QByteArray("Caf\xc3\xa9 \xd0\x96\n")
                           << u"Café Ж\n"_s;
    QTest::newRow("Windows-1252") << u"btnTextImport"_s << u"txtText"_s << QByteArray("Caf\xe9 \x80\n")
                                  << u"Café €\n"_s;
}

void TestLinkPanel::textImportInsertsLinesAtTheCaret()
{
    QFETCH(QString, button);
    QFETCH(QString, memo);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, inserted);
    const QString path = m_dir.filePath(u"import.txt"_s);
    QVERIFY(writeFile(path, bytes));

    auto *box = control<QPlainTextEdit>(*m_editor, memo.toLatin1().constData());
    box->setPlainText(u"Before [old] after"_s);
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(7);
    cursor.setPosition(12, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);

    FileDialogs::setNextFileName(path);
    clickButton(widget(button.toLatin1().constData()));
    QCOMPARE(FileDialogs::lastFilter(), u"Text Files|*.txt"_s);
    QCOMPARE(box->toPlainText(), u"Before "_s + inserted + u" after"_s);
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    // A file that cannot be read is ignored.
    FileDialogs::setNextFileName(m_dir.filePath(u"missing.txt"_s));
    clickButton(widget(button.toLatin1().constData()));
    QCOMPARE(box->toPlainText(), u"Before "_s + inserted + u" after"_s);
}

QTEST_MAIN(TestLinkPanel)
#include "tst_linkpanel.moc"
