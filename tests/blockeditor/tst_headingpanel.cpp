#include "editorfixture.h"

#include "app/panels/headingpanel.h"

#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

class TestHeadingPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void headingRoundTrip();
    void unreadableFontDescriptionGivesTheDesignedFont();
    void headingStaysOnOneLine();

private:
    TPageItem &item() { return *m_doc.Page.Items(btHeading); }
    void load() { m_panel->load(m_doc, item()); }
    void commit() { commitInto(*m_panel, m_doc, item()); }

    TPagelette m_doc;
    std::unique_ptr<THeadingPanel> m_panel;
};

void TestHeadingPanel::init()
{
    m_doc = pageWithEveryBlock();
    m_panel = std::make_unique<THeadingPanel>();
    m_panel->resize(520, 560);
    m_panel->show();
}

void TestHeadingPanel::cleanup()
{
    m_panel.reset();
}

void TestHeadingPanel::headingRoundTrip()
{
    item().HeadingBlock = {u"Welcome"_s, u"\"Arial\", 14, [Bold], [clRed]"_s, 1};
    load();
    auto *memo = control<QPlainTextEdit>(*m_panel, "txtHeading");
    QCOMPARE(memo->toPlainText(), u"Welcome"_s);
    QCOMPARE(memo->palette().color(QPalette::Text), QColor(255, 0, 0));

    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(memo, u" home"_s);
    commit();
    QCOMPARE(item().HeadingBlock, (THeadingBlock{u"Welcome home"_s, u"\"Arial\", 14, [Bold], [clRed]"_s, 1}));
}

void TestHeadingPanel::unreadableFontDescriptionGivesTheDesignedFont()
{
    item().HeadingBlock.Attributes = u"\"Arial\", big, [], [clRed]"_s;
    load();
    QCOMPARE(m_panel->fontButton().font(), TFontSpec());
    commit();
    QCOMPARE(item().HeadingBlock.Attributes, kDefaultFontDescription);
}

void TestHeadingPanel::headingStaysOnOneLine()
{
    load();
    auto *heading = control<QPlainTextEdit>(*m_panel, "txtHeading");
    heading->setFocus();
    QTest::keyClicks(heading, u"One"_s);
    QTest::keyClick(heading, Qt::Key_Return);
    QTest::keyClick(heading, Qt::Key_Enter);
    QTest::keyClicks(heading, u"Line\t"_s);
    QCOMPARE(heading->toPlainText(), u"OneLine"_s);
    QVERIFY(heading->tabChangesFocus());
}

QTEST_MAIN(TestHeadingPanel)
#include "tst_headingpanel.moc"
