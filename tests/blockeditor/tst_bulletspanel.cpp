#include "editorfixture.h"

#include "app/panels/bulletspanel.h"

#include <QComboBox>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

class TestBulletsPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void bulletListRoundTrip();
    void bulletsTakeTabs();

private:
    TPageItem &item() { return *m_doc.Page.Items(btBullet); }
    void load() { m_panel->load(m_doc, item()); }
    void commit() { commitInto(*m_panel, m_doc, item()); }

    TPagelette m_doc;
    std::unique_ptr<TBulletsPanel> m_panel;
};

void TestBulletsPanel::init()
{
    m_doc = pageWithEveryBlock();
    m_panel = std::make_unique<TBulletsPanel>();
    m_panel->resize(520, 560);
    m_panel->show();
}

void TestBulletsPanel::cleanup()
{
    m_panel.reset();
}

void TestBulletsPanel::bulletListRoundTrip()
{
    item().BulletBlock = {u"Boots\r\nMap"_s, lsUpCaseRoman};
    load();
    auto *memo = control<QPlainTextEdit>(*m_panel, "txtBullets");
    auto *style = control<QComboBox>(*m_panel, "cbBullets");
    QCOMPARE(memo->toPlainText(), u"Boots\nMap"_s);
    QCOMPARE(style->currentText(), u"I"_s);

    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, u"Water"_s);
    style->setCurrentIndex(int(lsNum));
    commit();
    QCOMPARE(item().BulletBlock, (TBulletBlock{u"Boots\r\nMap\r\nWater"_s, lsNum}));

    // A style the list does not offer selects nothing, and nothing selected leaves Style alone.
    item().BulletBlock.Style = 9;
    load();
    QCOMPARE(style->currentIndex(), -1);
    commit();
    QCOMPARE(item().BulletBlock.Style, quint8(9));
}

void TestBulletsPanel::bulletsTakeTabs()
{
    load();
    auto *bullets = control<QPlainTextEdit>(*m_panel, "txtBullets");
    bullets->setFocus();
    QTest::keyClicks(bullets, u"a\tb"_s);
    QCOMPARE(bullets->toPlainText(), u"a\tb"_s);
}

QTEST_MAIN(TestBulletsPanel)
#include "tst_bulletspanel.moc"
