#include "editorfixture.h"

#include "app/panels/paragraphpanel.h"

#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

class TestParagraphPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void paragraphRoundTrip();
    void memoLineBreaksAreStoredAsCrLf();
    void tabLeavesTheParagraph();

private:
    TPageItem &item() { return *m_doc.Page.Items(btText); }
    void load() { m_panel->load(m_doc, item()); }
    void commit() { commitInto(*m_panel, m_doc, item()); }

    TPagelette m_doc;
    std::unique_ptr<TParagraphPanel> m_panel;
};

void TestParagraphPanel::init()
{
    m_doc = pageWithEveryBlock();
    m_panel = std::make_unique<TParagraphPanel>();
    m_panel->resize(520, 560);
    m_panel->show();
}

void TestParagraphPanel::cleanup()
{
    m_panel.reset();
}

void TestParagraphPanel::paragraphRoundTrip()
{
    item().TextBlock = {u"First line\r\n\r\nSecond paragraph"_s,
                        u"\"Courier New\", 10, [Italic|Underline], [$00112233]"_s, 1};
    load();
    auto *memo = control<QPlainTextEdit>(*m_panel, "txtText");
    QCOMPARE(memo->toPlainText(), u"First line\n\nSecond paragraph"_s);
    QCOMPARE(memo->palette().color(QPalette::Text), QColor(0x33, 0x22, 0x11));

    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, u"Third"_s);
    commit();
    QCOMPARE(item().TextBlock, (TTextBlock{u"First line\r\n\r\nSecond paragraph\r\nThird"_s,
                                           u"\"Courier New\", 10, [Italic|Underline], [$00112233]"_s, 1}));
}

void TestParagraphPanel::memoLineBreaksAreStoredAsCrLf()
{
    // Lone CR and lone LF, as another program may have written them, come back as CR LF;
    // characters that plain-text export would change stay as typed.
    item().TextBlock.Text = u"a\rb\nc\r\nd\u00A0e\r\n"_s;
    load();
    QCOMPARE(control<QPlainTextEdit>(*m_panel, "txtText")->blockCount(), 5);
    commit();
    QCOMPARE(item().TextBlock.Text, u"a\r\nb\r\nc\r\nd\u00A0e\r\n"_s);
}

void TestParagraphPanel::tabLeavesTheParagraph()
{
    load();
    auto *memo = control<QPlainTextEdit>(*m_panel, "txtText");
    memo->setFocus();
    QTest::keyClicks(memo, u"a\tb"_s);
    QCOMPARE(memo->toPlainText(), u"ab"_s);
    QVERIFY(memo->tabChangesFocus());
}

QTEST_MAIN(TestParagraphPanel)
#include "tst_paragraphpanel.moc"
