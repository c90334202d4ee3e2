#include "editorfixture.h"

#include "app/panels/pagedetailspanel.h"
#include "dialogs/miscdialog.h"
#include "platform/gui/listboxhrz.h"
#include "platform/gui/messages.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

using namespace Qt::StringLiterals;

class TestPageDetailsPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void pageDetailsRoundTrip();
    void metaAddEditRemove();
    void metaEditOfAnUnknownName_data();
    void metaEditOfAnUnknownName();
    void logoBoxBelongsToThePageNotTheBlock();

private:
    TPageItem &item() { return *m_doc.Page.Items(btPageProperties); }
    void load() { m_panel->load(m_doc, item()); }
    void commit() { commitInto(*m_panel, m_doc, item()); }
    QWidget *widget(const char *name) const { return control(*m_panel, name); }

    TPagelette m_doc;
    std::unique_ptr<TPageDetailsPanel> m_panel;
};

void TestPageDetailsPanel::initTestCase()
{
    Messages::setTestMode(true);
}

void TestPageDetailsPanel::init()
{
    Messages::clearHistory();
    m_doc = pageWithEveryBlock();
    m_panel = std::make_unique<TPageDetailsPanel>();
    m_panel->resize(520, 560);
    m_panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
}

void TestPageDetailsPanel::cleanup()
{
    m_panel.reset();
}

void TestPageDetailsPanel::pageDetailsRoundTrip()
{
    TPagePropertiesBlock &block = item().PagePropertiesBlock;
    block.PageTitle = u"Walking Club"_s;
    block.Underline = true;
    block.MetaText = u"Keywords\twalks, hills\r\nDescription\tOur club\r\n"_s;
    block.ThemeName = u"Forest"_s;
    load();

    const QWidget &e = *m_panel;
    auto *meta = control<TListBoxHrz>(e, "lstMeta");
    QCOMPARE(textOf(e, "txtPageTitle"), u"Walking Club"_s);
    QVERIFY(isChecked(e, "chkLinkUnderline"));
    QCOMPARE(meta->strings(), QStringList({u"Keywords\twalks, hills"_s, u"Description\tOur club"_s}));

    retype(e, "txtPageTitle", u"Hill Walkers"_s);
    clickCheckBox(e, "chkLinkUnderline");
    meta->addString(u"Reply-to\tme@example.com"_s);
    commit();
    QCOMPARE(block.PageTitle, u"Hill Walkers"_s);
    QVERIFY(!block.Underline);
    QCOMPARE(block.MetaText, u"Keywords\twalks, hills\r\nDescription\tOur club\r\nReply-to\tme@example.com\r\n"_s);
    QCOMPARE(block.ThemeName, u"Forest"_s); // not a panel field

    // An empty list commits empty text, not a lone line break.
    meta->clearStrings();
    commit();
    QCOMPARE(block.MetaText, QString());
}

void TestPageDetailsPanel::metaAddEditRemove()
{
    item().PagePropertiesBlock.MetaText = u"Keywords\twalks\r\nExpires\tnever\r\n"_s;
    load();
    auto *meta = control<TListBoxHrz>(*m_panel, "lstMeta");
    QVERIFY(widget("btnMetaAdd")->isEnabled());
    QVERIFY(!widget("btnMetaRemove")->isEnabled());
    QVERIFY(!widget("btnMetaEdit")->isEnabled());

    // Add offers "Description" and empty content, and appends the entry.
    QString offeredName;
    bool okEnabledWhenEmpty = true;
    onNextDialog(m_panel.get(), [&](TfrmMisc *dialog) {
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
    onNextDialog(m_panel.get(), [&](TfrmMisc *dialog) {
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
    onNextDialog(m_panel.get(), [](TfrmMisc *dialog) { clickButton(dialog->findChild<QPushButton *>(u"btnCancel"_s)); });
    clickButton(widget("btnMetaEdit"));
    QCOMPARE(meta->strings().at(0), u"Keywords\twalks, hills"_s);

    clickButton(widget("btnMetaRemove"));
    QCOMPARE(meta->strings(), (QStringList{u"Expires\tnever"_s, u"Reply-to\tjo@example.com"_s}));
    QVERIFY(!widget("btnMetaRemove")->isEnabled());
    QVERIFY(!widget("btnMetaEdit")->isEnabled());

    commit();
    QCOMPARE(item().PagePropertiesBlock.MetaText,
             u"Expires\tnever\r\nReply-to\tjo@example.com\r\n"_s);
}

void TestPageDetailsPanel::metaEditOfAnUnknownName_data()
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

void TestPageDetailsPanel::metaEditOfAnUnknownName()
{
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(QString, content);
    QFETCH(QString, edited);
    item().PagePropertiesBlock.MetaText = line + u"\r\n";
    load();
    auto *meta = control<TListBoxHrz>(*m_panel, "lstMeta");
    meta->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    QString shownName, shownContent;
    onNextDialog(m_panel.get(), [&](TfrmMisc *dialog) {
        shownName = dialog->metaName();
        shownContent = dialog->metaContent();
        clickButton(dialog->findChild<QPushButton *>(u"btnOK"_s));
    });
    clickButton(widget("btnMetaEdit"));
    QCOMPARE(shownName, name);
    QCOMPARE(shownContent, content);
    QCOMPARE(meta->strings(), QStringList{edited});
}

void TestPageDetailsPanel::logoBoxBelongsToThePageNotTheBlock()
{
    QVERIFY(!m_panel->showLogo());
    clickCheckBox(*m_panel, "chkShowLogo");
    QVERIFY(m_panel->showLogo());
    // Loading a page's details leaves the box as the user set it.
    load();
    QVERIFY(m_panel->showLogo());
}

QTEST_MAIN(TestPageDetailsPanel)
#include "tst_pagedetailspanel.moc"
