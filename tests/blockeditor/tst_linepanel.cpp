#include "editorfixture.h"

#include "app/panels/linepanel.h"
#include "app/panels/panelwidgets.h"
#include "platform/gui/updown.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QToolButton>

using namespace Qt::StringLiterals;

class TestLinePanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void lineRoundTrip();
    void linePreviewWidthRoundsHalvesToEven_data();
    void linePreviewWidthRoundsHalvesToEven();
    void linePreviewHeightFollowsThickness_data();
    void linePreviewHeightFollowsThickness();
    void clickingTheUpDownCentresThePreview();
    void upDownStaysWithinItsRange();

private:
    TPageItem &item() { return *m_doc.Page.Items(btHR); }
    void load() { m_panel->load(m_doc, item()); }
    void commit() { commitInto(*m_panel, m_doc, item()); }
    QFrame *linePreview() const { return control<QFrame>(*m_panel, "bevHR"); }
    void loadLine(int width, int size = 0);

    TPagelette m_doc;
    std::unique_ptr<TLinePanel> m_panel;
};

void TestLinePanel::init()
{
    m_doc = pageWithEveryBlock();
    m_panel = std::make_unique<TLinePanel>();
    m_panel->resize(520, 560);
    m_panel->show();
    m_panel->storeReferenceWidth();
}

void TestLinePanel::cleanup()
{
    m_panel.reset();
}

void TestLinePanel::loadLine(int width, int size)
{
    item().HRBlock = {width, size, false};
    load();
}

void TestLinePanel::lineRoundTrip()
{
    item().HRBlock = {40, 3, true};
    load();
    const QWidget &e = *m_panel;
    auto *size = control<QComboBox>(e, "cbHR");
    auto *width = control<TUpDown>(e, "updnHRWidth");
    QCOMPARE(size->currentText(), u"4 Thick"_s);
    QCOMPARE(width->position(), 40);
    QCOMPARE(textOf(e, "txtHRWidth"), u"40"_s);
    QVERIFY(isChecked(e, "chkNoShade"));

    size->setCurrentIndex(5);
    width->step(1);
    clickCheckBox(e, "chkNoShade");
    commit();
    QCOMPARE(item().HRBlock, (THRBlock{45, 5, false}));

    // A thickness the list does not offer commits as none (-1).
    item().HRBlock.Size = 8;
    load();
    QCOMPARE(size->currentIndex(), -1);
    commit();
    QCOMPARE(item().HRBlock.Size, -1);
}

void TestLinePanel::linePreviewWidthRoundsHalvesToEven_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("width");

    QTest::newRow("100") << 100 << 250;
    QTest::newRow("50") << 50 << 125;
    QTest::newRow("5: 12.5 down to even") << 5 << 12;
    QTest::newRow("15: 37.5 up to even") << 15 << 38;
    QTest::newRow("25: 62.5 down to even") << 25 << 62;
    QTest::newRow("35: 87.5 up to even") << 35 << 88;
    QTest::newRow("45: 112.5 down to even") << 45 << 112;
    QTest::newRow("60") << 60 << 150;
}

void TestLinePanel::linePreviewWidthRoundsHalvesToEven()
{
    QFETCH(int, percent);
    QFETCH(int, width);

    QCOMPARE(TLinePanel::linePreviewWidth(TLinePanel::kDesignedLineWidth, percent), width);
    loadLine(percent);
    QCOMPARE(linePreview()->width(), width);
}

void TestLinePanel::linePreviewHeightFollowsThickness_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("height");

    for (int size = 0; size < 6; ++size)
        QTest::addRow("item %d", size) << size << 3 * (size + 1);
}

void TestLinePanel::linePreviewHeightFollowsThickness()
{
    QFETCH(int, size);
    QFETCH(int, height);

    // From a block, and from the list; the width stays.
    loadLine(100, size);
    QCOMPARE(linePreview()->size(), QSize(250, height));
    auto *thickness = control<QComboBox>(*m_panel, "cbHR");
    thickness->setCurrentIndex(5 - size);
    thickness->setCurrentIndex(size);
    QCOMPARE(linePreview()->size(), QSize(250, height));
}

void TestLinePanel::clickingTheUpDownCentresThePreview()
{
    loadLine(100);
    QWidget *panel = m_panel.get();
    QCOMPARE(linePreview()->x(), (panel->width() - 250) / 2);

    // Loading changes the size, not the place.
    const int left = linePreview()->x();
    loadLine(50);
    QCOMPARE(linePreview()->width(), 125);
    QCOMPARE(linePreview()->x(), left);

    // A click on the up arrow: 55 % is 137.5, so 138 pixels, centred with the odd pixel dropped.
    auto *upDown = control<TUpDown>(*m_panel, "updnHRWidth");
    const QList<QToolButton *> arrows = upDown->findChildren<QToolButton *>();
    QCOMPARE(arrows.size(), 2);
    QToolButton *up = arrows.at(0)->arrowType() == Qt::UpArrow ? arrows.at(0) : arrows.at(1);
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(upDown->position(), 55);
    QCOMPARE(textOf(*m_panel, "txtHRWidth"), u"55"_s);
    QCOMPARE(linePreview()->width(), 138);
    QCOMPARE(linePreview()->x(), (panel->width() - 138) / 2);

    // The arrow keys in the value box step as well.
    auto *value = control<QLineEdit>(*m_panel, "txtHRWidth");
    QTest::keyClick(value, Qt::Key_Down);
    QTest::keyClick(value, Qt::Key_Down);
    QCOMPARE(upDown->position(), 45);
    QCOMPARE(linePreview()->width(), 112);
    QCOMPARE(linePreview()->x(), (panel->width() - 112) / 2);
}

void TestLinePanel::upDownStaysWithinItsRange()
{
    auto *upDown = control<TUpDown>(*m_panel, "updnHRWidth");
    QVERIFY(control<QLineEdit>(*m_panel, "txtHRWidth")->isReadOnly());
    QCOMPARE(upDown->minimum(), 5);
    QCOMPARE(upDown->maximum(), 100);
    QCOMPARE(upDown->increment(), 5);

    loadLine(100);
    upDown->step(1);
    QCOMPARE(upDown->position(), 100);
    loadLine(5);
    upDown->step(-1);
    QCOMPARE(upDown->position(), 5);

    // A width the control does not offer is brought into its range.
    loadLine(0);
    QCOMPARE(upDown->position(), 5);
    QCOMPARE(linePreview()->width(), 12);
    commit();
    QCOMPARE(item().HRBlock.Width, 5);
}

QTEST_MAIN(TestLinePanel)
#include "tst_linepanel.moc"
