#include "editorfixture.h"

#include "app/blockeditor.h"
#include "app/panels/panelwidgets.h"
#include "document/blockedit.h"
#include "platform/gui/updown.h"
#include "platform/gui/help.h"
#include "project/pagedocument.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

// The editor that holds the panels: which panel a block goes to, the alignment bar, and what
// the main window asks of the editor as a whole.
class TestBlockEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void startsWithPageDetailsInFrontAndBarBehind();
    void eachBlockBringsItsPanelToTheFront_data();
    void eachBlockBringsItsPanelToTheFront();
    void choiceListsOfferTheirItems();
    void eachBlockCommitsThroughItsPanel_data();
    void eachBlockCommitsThroughItsPanel();

    void alignmentFollowsTheBlock_data();
    void alignmentFollowsTheBlock();
    void committingPageDetailsNeverChangesItsAlignment();
    void paragraphButtonFollowsTheBlock();
    void commitWithoutCurrentBlockDoesNothing();
    void indexPastTheEndIsSwallowed();

    void applyFontIsSetOnlyByChoosingAFont();
    void longTextsShowTheirStartAfterLoad();
    void themeButtonAsksForThemes();

    void controlsCarryTheirHelpTopics_data();
    void controlsCarryTheirHelpTopics();
    void everyCaptionFitsAtTheSmallestSize_data();
    void everyCaptionFitsAtTheSmallestSize();

private:
    TPageItem &item(int index) { return *m_doc.Page.Items(index); }
    void commit() { ApplyBlockEdit(m_doc, m_editor->currentBlockIndex(), m_editor->editedBlock(m_doc).value()); }

    QTemporaryDir m_programFolder;
    std::unique_ptr<TBlockEditor> m_editor;
    TPagelette m_doc;
};

void TestBlockEditor::initTestCase()
{
    QVERIFY(m_programFolder.isValid());
    const QDir folder(m_programFolder.path());
    QVERIFY(folder.mkpath(u"Upload/images"_s));
    QImage small(40, 30, QImage::Format_RGB32);
    small.fill(Qt::darkGreen);
    QVERIFY(small.save(folder.filePath(u"Upload/images/small.bmp"_s), "BMP"));
}

void TestBlockEditor::init()
{
    m_editor = std::make_unique<TBlockEditor>();
    m_editor->setProgramFolder(m_programFolder.path());
    m_editor->resize(520, 560);
    m_editor->show();
    m_editor->storeLineReferenceWidth();
    m_doc = pageWithEveryBlock();
}

void TestBlockEditor::cleanup()
{
    m_editor.reset();
}

void TestBlockEditor::startsWithPageDetailsInFrontAndBarBehind()
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

void TestBlockEditor::eachBlockBringsItsPanelToTheFront_data()
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

void TestBlockEditor::eachBlockBringsItsPanelToTheFront()
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

void TestBlockEditor::choiceListsOfferTheirItems()
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

void TestBlockEditor::eachBlockCommitsThroughItsPanel_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("edit"); // a control of the block's panel that holds a block field

    QTest::newRow("page details") << int(btPageProperties) << u"txtPageTitle"_s;
    QTest::newRow("heading") << int(btHeading) << u"txtHeading"_s;
    QTest::newRow("image") << int(btImage) << u"txtImageAlt"_s;
    QTest::newRow("link") << int(btLink) << u"txtLinkText"_s;
    QTest::newRow("paragraph") << int(btText) << u"txtText"_s;
    QTest::newRow("bullets") << int(btBullet) << u"txtBullets"_s;
    QTest::newRow("line") << int(btHR) << u"updnHRWidth"_s;
    QTest::newRow("forms") << int(btForms) << u"txtFormSubject"_s;
}

void TestBlockEditor::eachBlockCommitsThroughItsPanel()
{
    QFETCH(int, type);
    QFETCH(QString, edit);

    // What each block records from the row's control, as text.
    const auto recorded = [this](int blockType) {
        const TPageItem &block = item(blockType);
        switch (blockType) {
        case btPageProperties:
            return block.PagePropertiesBlock.PageTitle;
        case btHeading:
            return block.HeadingBlock.Heading;
        case btImage:
            return block.ImageBlock.Alt;
        case btLink:
            return block.LinkBlock.LinkText;
        case btText:
            return block.TextBlock.Text;
        case btBullet:
            return block.BulletBlock.Bullets;
        case btHR:
            return QString::number(block.HRBlock.Width);
        default:
            return m_doc.Subject;
        }
    };
    item(btPageProperties).PagePropertiesBlock.PageTitle = u"Block 0"_s;
    item(btHeading).HeadingBlock.Heading = u"Block 1"_s;
    item(btImage).ImageBlock.Alt = u"Block 2"_s;
    item(btLink).LinkBlock.LinkText = u"Block 3"_s;
    item(btText).TextBlock.Text = u"Block 4"_s;
    item(btBullet).BulletBlock.Bullets = u"Block 5"_s;
    item(btHR).HRBlock.Width = 40;
    m_doc.Subject = u"Block 7"_s;
    const auto before = [](int blockType) { return blockType == btHR ? u"40"_s : u"Block %1"_s.arg(blockType); };

    // Start from another block, so that the editor has to change panels.
    m_editor->loadBlock(m_doc, type == 0 ? 1 : 0);
    m_editor->loadBlock(m_doc, type);
    const QByteArray name = edit.toLatin1();
    if (type == btHR) {
        QCOMPARE(control<TUpDown>(*m_editor, name.constData())->position(), 40);
        control<TUpDown>(*m_editor, name.constData())->step(1);
    } else {
        QCOMPARE(textOf(*m_editor, name.constData()), before(type));
        retype(*m_editor, name.constData(), u"Changed"_s);
    }
    commit();

    QCOMPARE(recorded(type), type == btHR ? u"45"_s : u"Changed"_s);
    for (int other = 0; other < kBlockTypeCount; ++other) {
        if (other != type)
            QCOMPARE(recorded(other), before(other));
    }
}

void TestBlockEditor::alignmentFollowsTheBlock_data()
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

void TestBlockEditor::alignmentFollowsTheBlock()
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

void TestBlockEditor::committingPageDetailsNeverChangesItsAlignment()
{
    m_editor->loadBlock(m_doc, 1);
    m_editor->loadBlock(m_doc, 0);
    QVERIFY(!m_editor->alignBarVisible());
    control<QPushButton>(*m_editor, "btnRight")->setChecked(true); // whatever the hidden bar holds
    commit();
    QCOMPARE(item(0).BlockAlign, quint8(baNone));
}

void TestBlockEditor::paragraphButtonFollowsTheBlock()
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

void TestBlockEditor::commitWithoutCurrentBlockDoesNothing()
{
    m_editor->loadBlock(m_doc, 1);
    retype(*m_editor, "txtHeading", u"Not stored"_s);
    m_editor->setCurrentBlockIndex(-1);
    QVERIFY(!m_editor->editedBlock(m_doc));
}

void TestBlockEditor::indexPastTheEndIsSwallowed()
{
    m_editor->loadBlock(m_doc, 6);
    QWidget *front = control<QStackedWidget>(*m_editor, "stkPanels")->currentWidget();
    m_editor->loadBlock(m_doc, 42);
    QCOMPARE(m_editor->currentBlockIndex(), 42);
    QCOMPARE(control<QStackedWidget>(*m_editor, "stkPanels")->currentWidget(), front);
    QVERIFY(m_editor->alignBarVisible());
    QVERIFY(!m_editor->editedBlock(m_doc)); // the window still sets the modified flag
}

void TestBlockEditor::applyFontIsSetOnlyByChoosingAFont()
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

void TestBlockEditor::longTextsShowTheirStartAfterLoad()
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

void TestBlockEditor::themeButtonAsksForThemes()
{
    QSignalSpy spy(m_editor.get(), &TBlockEditor::themeRequested);
    QCOMPARE(textOf(*m_editor, "btnTheme"), u"Choose Page Theme (Colors, etc..)"_s);
    QTest::mouseClick(control(*m_editor, "btnTheme"), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
}

void TestBlockEditor::controlsCarryTheirHelpTopics_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("topic");

    const std::pair<const char *, int> topics[] = {
        {"lblPage2", 10},       {"txtPageTitle", 10},  {"chkLinkUnderline", 11}, {"lblPage3", 12},
        {"lstMeta", 12},        {"lblPage4", 13},      {"lblPage5", 14},         {"lblImage7", 16},
        {"cbImageAlign", 16},   {"lblImage5", 17},     {"txtImageW", 17},        {"lblImage4", 18},
        {"txtImageH", 18},      {"lblImage2", 19},     {"txtImageFile", 19},     {"sboxImages", 20},
        {"imgImageView", 20},   {"lblImage6", 21},     {"txtImageAlt", 21},      {"btnParagraph", 22},
        {"lblHeading2", 26},    {"txtHeading", 26},    {"chkEmail", 27},         {"lblLink3", 28},
        {"txtLinkText", 28},    {"lblLink2", 29},      {"txtLinkAddress", 29},   {"lblImage3", 31},
        {"txtImageLink", 31},   {"chkLink", 33},       {"lstLinks", 34},         {"lblText1", 35},
        {"txtText", 35},        {"lblBullet2", 48},    {"cbBullets", 48},        {"lblBullet1", 49},
        {"lblHR4", 50},         {"cbHR", 50},          {"lblHR3", 51},           {"txtHRWidth", 51},
        {"btnLeft", 103},       {"btnCenter", 104},    {"btnRight", 105},        {"lblHR2", 190},
        {"chkNoShade", 190},    {"txtFormAddress", 200}, {"txtFormSubject", 200}, {"txtFormURL", 200},
        {"lvForms", 200},       {"btnFormOptions", 202}, {"btnFormBasic", 203},
    };
    for (auto [name, topic] : topics)
        QTest::newRow(name) << QString::fromLatin1(name) << topic;
}

void TestBlockEditor::controlsCarryTheirHelpTopics()
{
    QFETCH(QString, name);
    QFETCH(int, topic);

    auto *widget = m_editor->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(Help::topicOf(widget), topic);
}

void TestBlockEditor::everyCaptionFitsAtTheSmallestSize_data()
{
    QTest::addColumn<int>("type");
    for (int type = 0; type < kBlockTypeCount; ++type)
        QTest::newRow(BlockTypeIdents[type].toLatin1().constData()) << type;
}

void TestBlockEditor::everyCaptionFitsAtTheSmallestSize()
{
    QFETCH(int, type);

    // Every panel with some content in it.
    TPageItem &page = *m_doc.Page.Items(btPageProperties);
    page.PagePropertiesBlock.PageTitle = u"Walking Club"_s;
    page.PagePropertiesBlock.MetaText = u"Description\tWalks in the hills\r\nKeywords\twalking, hills, club\r\n"_s;
    m_doc.Page.Items(btHeading)->HeadingBlock = {u"Summer Walks"_s, u"\"Arial\", 16, [Bold], [clNavy]"_s, 1};
    m_doc.Page.Items(btImage)->ImageBlock = {u"small.bmp"_s, u"30"_s, u"40"_s, u"LEFT"_s, u"Club logo"_s, {}, {}};
    m_doc.Page.Items(btLink)->LinkBlock = {u"http://example.com/"_s, u"Home"_s,
                                           u"http://example.com/a.html\tWalk A\r\nhttp://example.com/b.html\tWalk B\r\n"_s,
                                           true, {}, false};
    m_doc.Page.Items(btText)->TextBlock.Text = u"We walk every Sunday.\r\n\r\nNew members are welcome."_s;
    m_doc.Page.Items(btBullet)->BulletBlock.Bullets = u"Boots\r\nMap\r\nWater"_s;
    m_doc.Page.Items(btHR)->HRBlock = {50, 2, false};
    m_doc.Email = u"club@example.com"_s;
    for (int kind = 0; kind < kFieldKindCount; ++kind) {
        TFormElement &field = m_doc.WebForm.Add();
        field.Name = u"Field %1"_s.arg(kind + 1);
        field.FieldKind = TFieldKind(kind);
    }
    PageDocument document(m_programFolder.path() + u'/');
    document.adopt(std::make_unique<TPagelette>(m_doc), {});
    m_editor->setDocument(&document);
    m_editor->loadBlock(m_doc, type);
    m_editor->resize(m_editor->minimumSizeHint());
    QCoreApplication::processEvents();

    QWidget *panel = control<QStackedWidget>(*m_editor, "stkPanels")->currentWidget();
    QList<QWidget *> controls;
    for (QLabel *label : panel->findChildren<QLabel *>())
        controls << label;
    for (QAbstractButton *button : panel->findChildren<QAbstractButton *>())
        controls << button;
    if (m_editor->alignBarVisible()) {
        for (QAbstractButton *button : control<QWidget>(*m_editor, "pnlAlign")->findChildren<QAbstractButton *>())
            controls << button;
    }
    for (QWidget *widget : controls) {
        // The picture and "No Image" have places of their own; the up-down's arrows have no caption.
        if (!widget->isVisible() || widget->parentWidget()->objectName() == u"sboxImagesCanvas"
            || qobject_cast<TUpDown *>(widget->parentWidget()))
            continue;
        const auto *label = qobject_cast<QLabel *>(widget);
        if (label && label->wordWrap()) {
            QVERIFY2(widget->height() >= label->heightForWidth(widget->width()), qPrintable(widget->objectName()));
        } else {
            QVERIFY2(widget->width() >= widget->minimumSizeHint().width(), qPrintable(widget->objectName()));
            QVERIFY2(widget->height() >= widget->minimumSizeHint().height(), qPrintable(widget->objectName()));
        }
    }

    // Set BRISKO_PANEL_PICTURES to a folder to look at the panels.
    const QString pictures = qEnvironmentVariable("BRISKO_PANEL_PICTURES");
    if (!pictures.isEmpty()) {
        m_editor->grab().save(pictures + u"/panel-%1-small.png"_s.arg(type));
        m_editor->resize(520, 600);
        QCoreApplication::processEvents();
        m_editor->grab().save(pictures + u"/panel-%1.png"_s.arg(type));
    }
    m_editor->setDocument(nullptr);
}

QTEST_MAIN(TestBlockEditor)
#include "tst_blockeditor.moc"
