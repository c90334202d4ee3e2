#include "editorfixture.h"

#include "app/panels/panelwidgets.h"
#include "platform/gui/listboxhrz.h"
#include "platform/textutils.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

class TestBlockEditorPanels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startsWithPageDetailsInFrontAndBarBehind();
    void eachBlockBringsItsPanelToTheFront_data();
    void eachBlockBringsItsPanelToTheFront();
    void choiceListsOfferTheirItems();

    void pageDetailsRoundTrip();
    void headingRoundTrip();
    void imageRoundTrip();
    void linkRoundTrip();
    void paragraphRoundTrip();
    void bulletListRoundTrip();
    void lineRoundTrip();
    void formsRoundTrip();

    void alignmentFollowsTheBlock_data();
    void alignmentFollowsTheBlock();
    void committingPageDetailsNeverChangesItsAlignment();
    void paragraphButtonFollowsTheBlock();
    void commitWithoutCurrentBlockDoesNothing();
    void indexPastTheEndIsSwallowed();

    void fontDescriptionsSurviveLoadAndCommit_data();
    void fontDescriptionsSurviveLoadAndCommit();
    void applyFontIsSetOnlyByChoosingAFont();
    void unreadableFontDescriptionGivesTheDesignedFont();
    void headingStaysOnOneLineAndOnlyBulletsTakeTabs();
    void memoLineBreaksAreStoredAsCrLf();
    void longTextsShowTheirStartAfterLoad();

    void dropBoxCheckEnablesTheList_data();
    void dropBoxCheckEnablesTheList();
    void formFieldListFollowsTheForm();
    void themeButtonAsksForThemes();

private:
    TPageItem &item(int index) { return *m_doc.Page.Items(index); }
    void commit() { QVERIFY(m_editor->commitBlock(m_doc)); }

    std::unique_ptr<TBlockEditor> m_editor;
    TPagelette m_doc;
};

void TestBlockEditorPanels::init()
{
    m_editor = std::make_unique<TBlockEditor>();
    m_editor->resize(520, 560);
    m_editor->show();
    m_doc = pageWithEveryBlock();
}

void TestBlockEditorPanels::cleanup()
{
    m_editor.reset();
}

void TestBlockEditorPanels::startsWithPageDetailsInFrontAndBarBehind()
{
    const TBlockEditor &e = *m_editor;
    QCOMPARE(control<QStackedWidget>(e, "stkPanels")->currentWidget(), control(e, "pnlPageProp"));
    QVERIFY(!m_editor->alignBarVisible());
    QCOMPARE(m_editor->currentBlockIndex(), 0);
    QVERIFY(isChecked(e, "btnLeft") && !isChecked(e, "btnCenter") && !isChecked(e, "btnRight"));
    QVERIFY(isChecked(e, "btnParagraph"));
    QVERIFY(!m_editor->showLogo());
    QVERIFY(!isChecked(e, "chkShowLogo"));
    QCOMPARE(textOf(e, "txtHRWidth"), u"100"_s);
    QCOMPARE(textOf(e, "cbImageAlign"), QString());
    QVERIFY(control(e, "lblImageError")->isHidden());
    for (const char *name : {"btnFormUp", "btnFormDown", "btnFormRemove", "btnFormEdit", "btnFormClear", "btnLinkAdd",
                             "btnLinkRemove", "btnLinkEdit", "lstLinks", "btnMetaRemove", "btnMetaEdit"})
        QVERIFY2(!control(e, name)->isEnabled(), name);

    // The first selection commits the designed page details into item 0.
    item(0).PagePropertiesBlock.PageTitle = u"Old"_s;
    commit();
    QCOMPARE(item(0).PagePropertiesBlock.PageTitle, QString());
}

void TestBlockEditorPanels::eachBlockBringsItsPanelToTheFront_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("icon");

    QTest::newRow("page details") << 0 << u"pnlPageProp"_s << u"Web Page Details"_s << u"imgProp"_s;
    QTest::newRow("heading") << 1 << u"pnlHeading"_s << u"Heading"_s << u"imgHeading"_s;
    QTest::newRow("image") << 2 << u"pnlImages"_s << u"Image"_s << u"imgImage"_s;
    QTest::newRow("link") << 3 << u"pnlLinks"_s << u"Link"_s << u"imgLink"_s;
    QTest::newRow("paragraph") << 4 << u"pnlText"_s << u"Text Paragraph"_s << u"imgText"_s;
    QTest::newRow("bullets") << 5 << u"pnlBullets"_s << u"Bullet List"_s << u"imgBullet"_s;
    QTest::newRow("line") << 6 << u"pnlHR"_s << u"Horizontal Line"_s << u"imgHR"_s;
    QTest::newRow("forms") << 7 << u"pnlForms"_s << u"Forms"_s << u"imgForms"_s;
}

void TestBlockEditorPanels::eachBlockBringsItsPanelToTheFront()
{
    QFETCH(int, type);
    QFETCH(QString, panel);
    QFETCH(QString, caption);
    QFETCH(QString, icon);

    // Start from another block so that the bar has to change.
    m_editor->loadBlock(m_doc, type == 0 ? 1 : 0);
    m_editor->loadBlock(m_doc, type);

    QWidget *front = control<QStackedWidget>(*m_editor, "stkPanels")->currentWidget();
    QCOMPARE(front->objectName(), panel);
    QCOMPARE(m_editor->currentBlockIndex(), type);
    QCOMPARE(m_editor->alignBarVisible(), type != 0);

    auto *iconLabel = front->findChild<QLabel *>(icon);
    QVERIFY(iconLabel && !iconLabel->pixmap().isNull());
    const QList<QLabel *> labels = front->findChildren<QLabel *>();
    QVERIFY(std::any_of(labels.begin(), labels.end(), [&](QLabel *label) { return label->text() == caption; }));
}

void TestBlockEditorPanels::choiceListsOfferTheirItems()
{
    auto items = [this](const char *name) {
        QStringList list;
        const auto *combo = control<QComboBox>(*m_editor, name);
        for (int i = 0; i < combo->count(); ++i)
            list << combo->itemText(i);
        return list.join(u'|');
    };
    QCOMPARE(items("cbBullets"), u"Disc|Circle|Square|A|a|1|I|i"_s);
    QCOMPARE(items("cbHR"), u"1 Thinnest|2 Thinner|3 Thin|4 Thick|5 Thicker|6 Thickest"_s);
    QCOMPARE(items("cbImageAlign"), u"LEFT|RIGHT|TOP|MIDDLE|BOTTOM|ABSMIDDLE"_s);
    QVERIFY(control<QComboBox>(*m_editor, "cbImageAlign")->isEditable());
}

void TestBlockEditorPanels::pageDetailsRoundTrip()
{
    TPagePropertiesBlock &block = item(0).PagePropertiesBlock;
    block.PageTitle = u"Walking Club"_s;
    block.Underline = true;
    block.MetaText = u"Keywords\twalks, hills\r\nDescription\tOur club\r\n"_s;
    block.ThemeName = u"Forest"_s;
    m_editor->loadBlock(m_doc, 0);

    const TBlockEditor &e = *m_editor;
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

void TestBlockEditorPanels::longTextsShowTheirStartAfterLoad()
{
    const QString longText = u"Walking Club of the Northern Hills and Valleys: Autumn Programme "_s.repeated(3);
    item(0).PagePropertiesBlock.PageTitle = longText;
    for (int i = 0; i < m_doc.Page.Count(); ++i) {
        item(i).LinkBlock.LinkURL = u"http://example.org/"_s + longText;
        item(i).LinkBlock.LinkText = longText;
        item(i).ImageBlock.Alt = longText;
        item(i).ImageBlock.ImageLink = longText;
    }
    for (int i = 0; i < m_doc.Page.Count(); ++i) {
        m_editor->loadBlock(m_doc, i);
        for (const QLineEdit *edit : m_editor->findChildren<QLineEdit *>()) {
            if (edit->isVisible() && edit->text().size() > 40)
                QVERIFY2(edit->cursorPosition() == 0, qPrintable(edit->objectName()));
        }
    }
}

void TestBlockEditorPanels::headingRoundTrip()
{
    item(1).HeadingBlock = {u"Welcome"_s, u"\"Arial\", 14, [Bold], [clRed]"_s, 1};
    m_editor->loadBlock(m_doc, 1);
    auto *memo = control<QPlainTextEdit>(*m_editor, "txtHeading");
    QCOMPARE(memo->toPlainText(), u"Welcome"_s);
    QCOMPARE(memo->palette().color(QPalette::Text), QColor(255, 0, 0));

    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(memo, u" home"_s);
    commit();
    QCOMPARE(item(1).HeadingBlock, (THeadingBlock{u"Welcome home"_s, u"\"Arial\", 14, [Bold], [clRed]"_s, 1}));
}

void TestBlockEditorPanels::imageRoundTrip()
{
    TImageBlock &block = item(2).ImageBlock;
    block = {u"missing.gif"_s, u"60"_s, u"120"_s, u"ABSMIDDLE"_s, u"Our logo"_s, u"http://example.com/"_s, u"kept"_s};
    m_editor->setProgramFolder(QDir::tempPath() + u"/no-such-brisko-folder"_s);
    m_editor->loadBlock(m_doc, 2);

    const TBlockEditor &e = *m_editor;
    QCOMPARE(textOf(e, "txtImageFile"), u"missing.gif"_s);
    QCOMPARE(textOf(e, "txtImageH"), u"60"_s);
    QCOMPARE(textOf(e, "txtImageW"), u"120"_s);
    QCOMPARE(textOf(e, "txtImageAlt"), u"Our logo"_s);
    QCOMPARE(textOf(e, "txtImageLink"), u"http://example.com/"_s);
    QCOMPARE(textOf(e, "cbImageAlign"), u"ABSMIDDLE"_s);

    retype(e, "txtImageH", u"61"_s);
    retype(e, "txtImageW", u"abc"_s); // free text, not checked
    retype(e, "txtImageAlt", u"Logo"_s);
    retype(e, "txtImageLink", u"index.html"_s);
    retype(e, "cbImageAlign", u"TEXTTOP"_s); // a word the list does not offer
    commit();
    // A missing picture keeps its name; ImagePath is nobody's.
    QCOMPARE(block, (TImageBlock{u"missing.gif"_s, u"61"_s, u"abc"_s, u"TEXTTOP"_s, u"Logo"_s, u"index.html"_s,
                                 u"kept"_s}));
    QCOMPARE(control<QComboBox>(e, "cbImageAlign")->count(), 6); // typing adds nothing to the list
}

void TestBlockEditorPanels::linkRoundTrip()
{
    item(3).LinkBlock = {u"http://a.example/"_s, u"Club A"_s,
                         u"http://b.example/\tClub B\r\nmailto:c@example.com\tMail C\r\n"_s, true, u"kept"_s, true};
    m_editor->loadBlock(m_doc, 3);

    const TBlockEditor &e = *m_editor;
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
    QCOMPARE(item(3).LinkBlock, (TLinkBlock{u"http://d.example/"_s, u"Club D"_s, u"mailto:c@example.com\tMail C\r\n"_s,
                                            false, u"kept"_s, false}));
}

void TestBlockEditorPanels::paragraphRoundTrip()
{
    item(4).TextBlock = {u"First line\r\n\r\nSecond paragraph"_s,
                         u"\"Courier New\", 10, [Italic|Underline], [$00112233]"_s, 1};
    m_editor->loadBlock(m_doc, 4);
    auto *memo = control<QPlainTextEdit>(*m_editor, "txtText");
    QCOMPARE(memo->toPlainText(), u"First line\n\nSecond paragraph"_s);
    QCOMPARE(memo->palette().color(QPalette::Text), QColor(0x33, 0x22, 0x11));

    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, u"Third"_s);
    commit();
    QCOMPARE(item(4).TextBlock, (TTextBlock{u"First line\r\n\r\nSecond paragraph\r\nThird"_s,
                                            u"\"Courier New\", 10, [Italic|Underline], [$00112233]"_s, 1}));
}

void TestBlockEditorPanels::bulletListRoundTrip()
{
    item(5).BulletBlock = {u"Boots\r\nMap"_s, lsUpCaseRoman};
    m_editor->loadBlock(m_doc, 5);
    auto *memo = control<QPlainTextEdit>(*m_editor, "txtBullets");
    auto *style = control<QComboBox>(*m_editor, "cbBullets");
    QCOMPARE(memo->toPlainText(), u"Boots\nMap"_s);
    QCOMPARE(style->currentText(), u"I"_s);

    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, u"Water"_s);
    style->setCurrentIndex(int(lsNum));
    commit();
    QCOMPARE(item(5).BulletBlock, (TBulletBlock{u"Boots\r\nMap\r\nWater"_s, lsNum}));

    // A style the list does not offer selects nothing, and nothing selected leaves Style alone.
    item(5).BulletBlock.Style = 9;
    m_editor->loadBlock(m_doc, 5);
    QCOMPARE(style->currentIndex(), -1);
    commit();
    QCOMPARE(item(5).BulletBlock.Style, quint8(9));
}

void TestBlockEditorPanels::lineRoundTrip()
{
    item(6).HRBlock = {40, 3, true};
    m_editor->loadBlock(m_doc, 6);
    const TBlockEditor &e = *m_editor;
    auto *size = control<QComboBox>(e, "cbHR");
    auto *width = control<TPanelUpDown>(e, "updnHRWidth");
    QCOMPARE(size->currentText(), u"4 Thick"_s);
    QCOMPARE(width->position(), 40);
    QCOMPARE(textOf(e, "txtHRWidth"), u"40"_s);
    QVERIFY(isChecked(e, "chkNoShade"));

    size->setCurrentIndex(5);
    width->step(1);
    clickCheckBox(e, "chkNoShade");
    commit();
    QCOMPARE(item(6).HRBlock, (THRBlock{45, 5, false}));

    // A thickness the list does not offer commits as none (-1).
    item(6).HRBlock.Size = 8;
    m_editor->loadBlock(m_doc, 6);
    QCOMPARE(size->currentIndex(), -1);
    commit();
    QCOMPARE(item(6).HRBlock.Size, -1);
}

void TestBlockEditorPanels::formsRoundTrip()
{
    m_doc.Email = u"club@example.com"_s;
    m_doc.Subject = u"Enquiry"_s;
    m_doc.Redirect = u"http://example.com/thanks.html"_s;
    m_doc.FormTitle = u"Contact"_s;
    m_editor->loadBlock(m_doc, 7);

    const TBlockEditor &e = *m_editor;
    QCOMPARE(textOf(e, "txtFormAddress"), u"club@example.com"_s);
    QCOMPARE(textOf(e, "txtFormSubject"), u"Enquiry"_s);
    QCOMPARE(textOf(e, "txtFormURL"), u"http://example.com/thanks.html"_s);

    retype(e, "txtFormAddress", u"info@example.com"_s);
    retype(e, "txtFormSubject", u"Question"_s);
    retype(e, "txtFormURL", u"index.html"_s);
    commit();
    QCOMPARE(m_doc.Email, u"info@example.com"_s);
    QCOMPARE(m_doc.Subject, u"Question"_s);
    QCOMPARE(m_doc.Redirect, u"index.html"_s);
    QCOMPARE(m_doc.FormTitle, u"Contact"_s);
}

void TestBlockEditorPanels::alignmentFollowsTheBlock_data()
{
    QTest::addColumn<int>("align");
    QTest::addColumn<QString>("pressed");
    QTest::addColumn<bool>("barVisible");

    // A block without alignment leaves the buttons as they were (centred by the heading).
    QTest::newRow("none") << int(baNone) << u"btnCenter"_s << false;
    QTest::newRow("left") << int(baLeft) << u"btnLeft"_s << true;
    QTest::newRow("center") << int(baCenter) << u"btnCenter"_s << true;
    QTest::newRow("right") << int(baRight) << u"btnRight"_s << true;
}

void TestBlockEditorPanels::alignmentFollowsTheBlock()
{
    QFETCH(int, align);
    QFETCH(QString, pressed);
    QFETCH(bool, barVisible);

    m_editor->loadBlock(m_doc, 1);
    item(5).BlockAlign = quint8(align);
    m_editor->loadBlock(m_doc, 5);
    QCOMPARE(m_editor->alignBarVisible(), barVisible);
    for (const char *name : {"btnLeft", "btnCenter", "btnRight"})
        QCOMPARE(isChecked(*m_editor, name), pressed == QLatin1StringView(name));

    // One group: pressing a button releases the others, and commit reads them.
    const std::pair<const char *, TBlockAlignment> buttons[] = {
        {"btnRight", baRight}, {"btnLeft", baLeft}, {"btnCenter", baCenter}};
    for (auto [name, value] : buttons) {
        QTest::mouseClick(control(*m_editor, name), Qt::LeftButton);
        commit();
        QCOMPARE(item(5).BlockAlign, quint8(value));
        QCOMPARE(isChecked(*m_editor, "btnLeft") + isChecked(*m_editor, "btnCenter") + isChecked(*m_editor, "btnRight"),
                 1);
    }
}

void TestBlockEditorPanels::committingPageDetailsNeverChangesItsAlignment()
{
    m_editor->loadBlock(m_doc, 1);
    m_editor->loadBlock(m_doc, 0);
    QVERIFY(!m_editor->alignBarVisible());
    control<QPushButton>(*m_editor, "btnRight")->setChecked(true); // whatever the hidden bar holds
    commit();
    QCOMPARE(item(0).BlockAlign, quint8(baNone));
}

void TestBlockEditorPanels::paragraphButtonFollowsTheBlock()
{
    for (int index : {3, 0}) { // a link, and the page details, which take the button's state too
        item(index).BlockOnNewLine = false;
        m_editor->loadBlock(m_doc, index);
        QVERIFY(!isChecked(*m_editor, "btnParagraph"));
        QTest::mouseClick(control(*m_editor, "btnParagraph"), Qt::LeftButton);
        commit();
        QVERIFY(item(index).BlockOnNewLine);
    }
}

void TestBlockEditorPanels::commitWithoutCurrentBlockDoesNothing()
{
    m_editor->loadBlock(m_doc, 1);
    retype(*m_editor, "txtHeading", u"Not stored"_s);
    m_editor->setCurrentBlockIndex(-1);
    const TPagelette before = m_doc;
    QVERIFY(!m_editor->commitBlock(m_doc));
    QVERIFY(m_doc == before);
}

void TestBlockEditorPanels::indexPastTheEndIsSwallowed()
{
    m_editor->loadBlock(m_doc, 6);
    QWidget *front = control<QStackedWidget>(*m_editor, "stkPanels")->currentWidget();
    const TPagelette before = m_doc;
    m_editor->loadBlock(m_doc, 42);
    QCOMPARE(m_editor->currentBlockIndex(), 42);
    QCOMPARE(control<QStackedWidget>(*m_editor, "stkPanels")->currentWidget(), front);
    QVERIFY(m_editor->alignBarVisible());
    QVERIFY(m_editor->commitBlock(m_doc)); // true: the caller still sets the modified flag
    QVERIFY(m_doc == before);
}

void TestBlockEditorPanels::fontDescriptionsSurviveLoadAndCommit_data()
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

void TestBlockEditorPanels::fontDescriptionsSurviveLoadAndCommit()
{
    QFETCH(QString, description);
    QFETCH(QString, face);
    QFETCH(int, size);
    QFETCH(int, styles);

    for (int index : {1, 4}) {
        QString &attributes = index == 1 ? item(1).HeadingBlock.Attributes : item(4).TextBlock.Attributes;
        attributes = description;
        m_editor->loadBlock(m_doc, index);
        const QFont font = control(*m_editor, index == 1 ? "txtHeading" : "txtText")->font();
        QCOMPARE(font.family(), face);
        QCOMPARE(font.pointSize(), size);
        QCOMPARE(font.bold() | font.italic() << 1 | font.underline() << 2, styles);
        attributes.clear();
        commit();
        QCOMPARE(attributes, description);
    }
}

void TestBlockEditorPanels::applyFontIsSetOnlyByChoosingAFont()
{
    // A heading whose font was never chosen keeps ApplyFont 0 beside the default description.
    m_editor->loadBlock(m_doc, 1);
    retype(*m_editor, "txtHeading", u"Plain heading"_s);
    commit();
    QCOMPARE(item(1).HeadingBlock, (THeadingBlock{u"Plain heading"_s, kDefaultFontDescription, 0}));

    const TFontSpec chosen{u"Georgia"_s, 18, false, true, false, RGBColor(0, 128, 0)};
    for (int tag : {int(TBlockEditor::HeadingFont), int(TBlockEditor::TextFont)}) {
        const int index = tag == TBlockEditor::HeadingFont ? 1 : 4;
        m_editor->loadBlock(m_doc, index);
        m_editor->setChosenFont(tag, chosen);
        QCOMPARE(m_editor->memoFont(tag), chosen);
        QVERIFY(control(*m_editor, index == 1 ? "txtHeading" : "txtText")->font().italic());
        commit();
        const TPageItem &block = item(index);
        QCOMPARE(index == 1 ? block.HeadingBlock.ApplyFont : block.TextBlock.ApplyFont, quint8(1));
        QCOMPARE(index == 1 ? block.HeadingBlock.Attributes : block.TextBlock.Attributes,
                 u"\"Georgia\", 18, [Italic], [clGreen]"_s);
    }

    // The chosen heading font does not leak into the next heading loaded.
    TPageItem *other = m_doc.InsertNewBlock(8, btHeading);
    m_editor->loadBlock(m_doc, 8);
    commit();
    QCOMPARE(other->HeadingBlock.ApplyFont, quint8(0));
    QCOMPARE(other->HeadingBlock.Attributes, kDefaultFontDescription);
}

void TestBlockEditorPanels::unreadableFontDescriptionGivesTheDesignedFont()
{
    item(1).HeadingBlock.Attributes = u"\"Arial\", big, [], [clRed]"_s;
    m_editor->loadBlock(m_doc, 1);
    QCOMPARE(m_editor->memoFont(TBlockEditor::HeadingFont), TFontSpec());
    QCOMPARE(control<QStackedWidget>(*m_editor, "stkPanels")->currentWidget()->objectName(), u"pnlHeading"_s);
    commit();
    QCOMPARE(item(1).HeadingBlock.Attributes, kDefaultFontDescription);
}

void TestBlockEditorPanels::headingStaysOnOneLineAndOnlyBulletsTakeTabs()
{
    m_editor->loadBlock(m_doc, 1);
    auto *heading = control<QPlainTextEdit>(*m_editor, "txtHeading");
    heading->setFocus();
    QTest::keyClicks(heading, u"One"_s);
    QTest::keyClick(heading, Qt::Key_Return);
    QTest::keyClick(heading, Qt::Key_Enter);
    QTest::keyClicks(heading, u"Line"_s);
    QCOMPARE(heading->toPlainText(), u"OneLine"_s);

    m_editor->loadBlock(m_doc, 5);
    auto *bullets = control<QPlainTextEdit>(*m_editor, "txtBullets");
    bullets->setFocus();
    QTest::keyClicks(bullets, u"a\tb"_s);
    QCOMPARE(bullets->toPlainText(), u"a\tb"_s);
    QVERIFY(control<QPlainTextEdit>(*m_editor, "txtText")->tabChangesFocus());
    QVERIFY(heading->tabChangesFocus());
}

void TestBlockEditorPanels::memoLineBreaksAreStoredAsCrLf()
{
    // Lone CR and lone LF, as another program may have written them, come back as CR LF;
    // characters that plain-text export would change stay as typed.
    item(4).TextBlock.Text = u"a\rb\nc\r\nd\u00A0e\r\n"_s;
    m_editor->loadBlock(m_doc, 4);
    QCOMPARE(control<QPlainTextEdit>(*m_editor, "txtText")->blockCount(), 5);
    commit();
    QCOMPARE(item(4).TextBlock.Text, u"a\r\nb\r\nc\r\nd\u00A0e\r\n"_s);
}

void TestBlockEditorPanels::dropBoxCheckEnablesTheList_data()
{
    QTest::addColumn<bool>("useDropBox");
    QTest::addColumn<QString>("entries");
    QTest::addColumn<bool>("listEnabled");
    QTest::addColumn<bool>("removeEnabled");

    QTest::newRow("single link") << false << u"a\tA\r\n"_s << false << false;
    QTest::newRow("empty drop box") << true << QString() << true << false;
    QTest::newRow("drop box with entries") << true << u"a\tA\r\nb\tB\r\n"_s << true << true;
}

void TestBlockEditorPanels::dropBoxCheckEnablesTheList()
{
    QFETCH(bool, useDropBox);
    QFETCH(QString, entries);
    QFETCH(bool, listEnabled);
    QFETCH(bool, removeEnabled);

    item(3).LinkBlock.UseDropBox = useDropBox;
    item(3).LinkBlock.DropBoxText = entries;
    m_editor->loadBlock(m_doc, 3);
    const TBlockEditor &e = *m_editor;
    QCOMPARE(control(e, "lstLinks")->isEnabled(), listEnabled);
    QCOMPARE(control(e, "btnLinkAdd")->isEnabled(), listEnabled);
    QCOMPARE(control(e, "btnLinkRemove")->isEnabled(), removeEnabled);
    QCOMPARE(control(e, "btnLinkEdit")->isEnabled(), removeEnabled);
    QCOMPARE(control<TListBoxHrz>(e, "lstLinks")->count(), Text::splitLines(entries).size());
}

void TestBlockEditorPanels::formFieldListFollowsTheForm()
{
    const TBlockEditor &e = *m_editor;
    auto *list = control<QTreeWidget>(e, "lvForms");
    m_editor->loadBlock(m_doc, 7);
    QVERIFY(!control(e, "btnFormClear")->isEnabled());
    QCOMPARE(textOf(e, "btnFormClear"), u"&Clear All"_s);

    for (int kind = 0; kind < kFieldKindCount; ++kind) {
        TFormElement &element = m_doc.WebForm.Add();
        element.Name = u"Field %1"_s.arg(kind);
        element.FieldKind = TFieldKind(kind);
    }
    m_editor->fillFormFields(m_doc);
    QCOMPARE(list->headerItem()->text(0) + u'|' + list->headerItem()->text(1), u"Name|Type"_s);
    QCOMPARE(list->topLevelItemCount(), kFieldKindCount);
    for (int kind = 0; kind < kFieldKindCount; ++kind) {
        const QTreeWidgetItem *row = list->topLevelItem(kind);
        QCOMPARE(row->text(0), u"Field %1"_s.arg(kind));
        QCOMPARE(row->text(1), FieldKindCaptions[kind].toString());
        QVERIFY(!row->icon(0).isNull());
    }
    m_editor->loadBlock(m_doc, 7);
    QVERIFY(control(e, "btnFormClear")->isEnabled());

    for (const char *name : {"btnFormUp", "btnFormDown", "btnFormRemove", "btnFormEdit"})
        control(e, name)->setEnabled(true);
    m_editor->clearFormFields();
    QCOMPARE(list->topLevelItemCount(), 0);
    for (const char *name : {"btnFormUp", "btnFormDown", "btnFormRemove", "btnFormEdit", "btnFormClear"})
        QVERIFY2(!control(e, name)->isEnabled(), name);
}

void TestBlockEditorPanels::themeButtonAsksForThemes()
{
    QSignalSpy spy(m_editor.get(), &TBlockEditor::themeRequested);
    QCOMPARE(textOf(*m_editor, "btnTheme"), u"Choose Page Theme (Colors, etc..)"_s);
    QTest::mouseClick(control(*m_editor, "btnTheme"), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
}

QTEST_MAIN(TestBlockEditorPanels)
#include "tst_panels.moc"
