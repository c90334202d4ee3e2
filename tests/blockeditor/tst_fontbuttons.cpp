#include "editorfixture.h"

#include "app/panels/headingpanel.h"
#include "app/panels/paragraphpanel.h"
#include "dialogs/miscdialog.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// The heading and paragraph panels, whose edit boxes carry a font chosen with their
// "Font..." button.
std::unique_ptr<TBlockPanel> fontPanel(int blockType)
{
    if (blockType == btHeading)
        return std::make_unique<THeadingPanel>();
    return std::make_unique<TParagraphPanel>();
}

TMemoFontButton &fontButtonOf(TBlockPanel &panel)
{
    if (auto *heading = qobject_cast<THeadingPanel *>(&panel))
        return heading->fontButton();
    return qobject_cast<TParagraphPanel *>(&panel)->fontButton();
}

} // namespace

class TestFontButtons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fontButtonChoosesTheMemoFont_data();
    void fontButtonChoosesTheMemoFont();
    void fontDescriptionsSurviveLoadAndCommit_data();
    void fontDescriptionsSurviveLoadAndCommit();
};

void TestFontButtons::fontButtonChoosesTheMemoFont_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("block");
    QTest::addColumn<bool>("ok");

    QTest::newRow("heading, OK") << u"btnHeadingFont"_s << int(btHeading) << true;
    QTest::newRow("heading, Cancel") << u"btnHeadingFont"_s << int(btHeading) << false;
    QTest::newRow("paragraph, OK") << u"btnTextFont"_s << int(btText) << true;
    QTest::newRow("paragraph, Cancel") << u"btnTextFont"_s << int(btText) << false;
}

void TestFontButtons::fontButtonChoosesTheMemoFont()
{
    QFETCH(QString, button);
    QFETCH(int, block);
    QFETCH(bool, ok);

    TPagelette doc = pageWithEveryBlock();
    TPageItem &item = *doc.Page.Items(block);
    const bool heading = block == btHeading;
    // The block starts with a font of its own that it does not apply yet.
    QString &attributes = heading ? item.HeadingBlock.Attributes : item.TextBlock.Attributes;
    quint8 &applyFont = heading ? item.HeadingBlock.ApplyFont : item.TextBlock.ApplyFont;
    attributes = u"\"Arial\", 14, [fsItalic], [$00000080]"_s;
    applyFont = 0;

    const std::unique_ptr<TBlockPanel> panel = fontPanel(block);
    panel->resize(520, 560);
    panel->show();
    panel->load(doc, item);
    const TFontSpec before = fontButtonOf(*panel).font();
    QCOMPARE(before.Size, 14);

    TFontSpec offered;
    QString sizeShown;
    QTimer::singleShot(0, panel.get(), [&] {
        auto *dialog = qobject_cast<TfrmMisc *>(QApplication::activeModalWidget());
        if (!dialog)
            qFatal("the font dialog did not open");
        offered = dialog->sampleFont();
        sizeShown = dialog->findChild<QComboBox *>(u"cbSize"_s)->currentText();
        dialog->findChild<QComboBox *>(u"cbSize"_s)->setCurrentIndex(0);
        QTest::mouseClick(dialog->findChild<QToolButton *>(u"btnBold"_s), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton *>(ok ? u"btnOK"_s : u"btnCancel"_s), Qt::LeftButton);
    });
    QTest::mouseClick(control<QPushButton>(*panel, button.toLatin1().constData()), Qt::LeftButton);

    QCOMPARE(offered, before);
    QCOMPARE(sizeShown, u"4"_s);
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    TFontSpec expected = before;
    if (ok) {
        expected.Size = 20;
        expected.Bold = true;
    }
    QCOMPARE(fontButtonOf(*panel).font(), expected);
    commitInto(*panel, doc, item);
    QCOMPARE(applyFont, quint8(ok ? 1 : 0));
    QCOMPARE(attributes, FontToDescription(expected));
}

void TestFontButtons::fontDescriptionsSurviveLoadAndCommit_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("styles"); // 1 bold, 2 italic, 4 underline

    QTest::newRow("designed") << kDefaultFontDescription << u"Times New Roman"_s << 12 << 0;
    QTest::newRow("all styles") << u"\"Verdana\", 20, [Bold|Italic|Underline], [clNavy]"_s << u"Verdana"_s << 20 << 7;
    QTest::newRow("system colour") << u"\"Arial\", 8, [Underline], [clWindowText]"_s << u"Arial"_s << 8 << 4;
    QTest::newRow("spaced face") << u"\"Comic Sans MS\", 11, [Italic], [$00345678]"_s << u"Comic Sans MS"_s << 11 << 2;
}

void TestFontButtons::fontDescriptionsSurviveLoadAndCommit()
{
    QFETCH(QString, description);
    QFETCH(QString, face);
    QFETCH(int, size);
    QFETCH(int, styles);

    TPagelette doc = pageWithEveryBlock();
    for (int index : {1, 4}) {
        TPageItem &item = *doc.Page.Items(index);
        QString &attributes = index == 1 ? item.HeadingBlock.Attributes : item.TextBlock.Attributes;
        attributes = description;
        const std::unique_ptr<TBlockPanel> panel = fontPanel(index);
        panel->load(doc, item);
        const QFont font = control(*panel, index == 1 ? "txtHeading" : "txtText")->font();
        QCOMPARE(font.family(), face);
        QCOMPARE(font.pointSize(), size);
        QCOMPARE(font.bold() | font.italic() << 1 | font.underline() << 2, styles);
        attributes.clear();
        commitInto(*panel, doc, item);
        QCOMPARE(attributes, description);
    }
}

QTEST_MAIN(TestFontButtons)
#include "tst_fontbuttons.moc"
