#include "editorfixture.h"

#include "app/panels/panelwidgets.h"
#include "platform/gui/help.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QToolButton>

using namespace Qt::StringLiterals;

class TestBlockEditorPreviews : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void linePreviewWidthRoundsHalvesToEven_data();
    void linePreviewWidthRoundsHalvesToEven();
    void linePreviewHeightFollowsThickness_data();
    void linePreviewHeightFollowsThickness();
    void clickingTheUpDownCentresThePreview();
    void upDownStaysWithinItsRange();

    void imagePreviewShowsTheStoredPicture_data();
    void imagePreviewShowsTheStoredPicture();
    void largePictureSitsNearTheCornerAndScrolls();
    void typingAFileNameDoesNotChangeFileName_data();
    void typingAFileNameDoesNotChangeFileName();

    void controlsCarryTheirHelpTopics_data();
    void controlsCarryTheirHelpTopics();
    void everyCaptionFitsAtTheSmallestSize_data();
    void everyCaptionFitsAtTheSmallestSize();

private:
    QFrame *linePreview() const { return control<QFrame>(*m_editor, "bevHR"); }
    void loadLine(int width, int size = 0);
    void loadImage(const QString &fileName);

    QTemporaryDir m_programFolder;
    std::unique_ptr<TBlockEditor> m_editor;
    TPagelette m_doc;
};

void TestBlockEditorPreviews::initTestCase()
{
    QVERIFY(m_programFolder.isValid());
    const QDir folder(m_programFolder.path());
    QVERIFY(folder.mkpath(u"Upload/images/folder.gif"_s));

    QImage small(40, 30, QImage::Format_RGB32);
    small.fill(Qt::darkGreen);
    QVERIFY(small.save(folder.filePath(u"Upload/images/small.bmp"_s), "BMP"));
    QImage large(900, 700, QImage::Format_RGB32);
    large.fill(Qt::darkBlue);
    QVERIFY(large.save(folder.filePath(u"Upload/images/large.bmp"_s), "BMP"));
    QFile broken(folder.filePath(u"Upload/images/broken.bmp"_s));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("BM this is not a picture");
}

void TestBlockEditorPreviews::init()
{
    m_editor = std::make_unique<TBlockEditor>();
    m_editor->setProgramFolder(m_programFolder.path());
    m_editor->resize(520, 560);
    m_editor->show();
    m_editor->storeLineReferenceWidth();
    m_doc = pageWithEveryBlock();
}

void TestBlockEditorPreviews::cleanup()
{
    m_editor.reset();
}

void TestBlockEditorPreviews::loadLine(int width, int size)
{
    m_doc.Page.Items(btHR)->HRBlock = {width, size, false};
    m_editor->loadBlock(m_doc, btHR);
}

void TestBlockEditorPreviews::loadImage(const QString &fileName)
{
    m_doc.Page.Items(btImage)->ImageBlock.FileName = fileName;
    m_editor->loadBlock(m_doc, btImage);
}

void TestBlockEditorPreviews::linePreviewWidthRoundsHalvesToEven_data()
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

void TestBlockEditorPreviews::linePreviewWidthRoundsHalvesToEven()
{
    QFETCH(int, percent);
    QFETCH(int, width);

    QCOMPARE(TBlockEditor::linePreviewWidth(TBlockEditor::kDesignedLineWidth, percent), width);
    loadLine(percent);
    QCOMPARE(linePreview()->width(), width);
}

void TestBlockEditorPreviews::linePreviewHeightFollowsThickness_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("height");

    for (int size = 0; size < 6; ++size)
        QTest::addRow("item %d", size) << size << 3 * (size + 1);
}

void TestBlockEditorPreviews::linePreviewHeightFollowsThickness()
{
    QFETCH(int, size);
    QFETCH(int, height);

    // From a block, and from the list; the width stays.
    loadLine(100, size);
    QCOMPARE(linePreview()->size(), QSize(250, height));
    auto *thickness = control<QComboBox>(*m_editor, "cbHR");
    thickness->setCurrentIndex(5 - size);
    thickness->setCurrentIndex(size);
    QCOMPARE(linePreview()->size(), QSize(250, height));
}

void TestBlockEditorPreviews::clickingTheUpDownCentresThePreview()
{
    loadLine(100);
    auto *panel = control<QWidget>(*m_editor, "pnlHR");
    QCOMPARE(linePreview()->x(), (panel->width() - 250) / 2);

    // Loading changes the size, not the place.
    const int left = linePreview()->x();
    loadLine(50);
    QCOMPARE(linePreview()->width(), 125);
    QCOMPARE(linePreview()->x(), left);

    // A click on the up arrow: 55 % is 137.5, so 138 pixels, centred with the odd pixel dropped.
    auto *upDown = control<TPanelUpDown>(*m_editor, "updnHRWidth");
    const QList<QToolButton *> arrows = upDown->findChildren<QToolButton *>();
    QCOMPARE(arrows.size(), 2);
    QToolButton *up = arrows.at(0)->arrowType() == Qt::UpArrow ? arrows.at(0) : arrows.at(1);
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(upDown->position(), 55);
    QCOMPARE(textOf(*m_editor, "txtHRWidth"), u"55"_s);
    QCOMPARE(linePreview()->width(), 138);
    QCOMPARE(linePreview()->x(), (panel->width() - 138) / 2);

    // The arrow keys in the value box step as well.
    auto *value = control<QLineEdit>(*m_editor, "txtHRWidth");
    QTest::keyClick(value, Qt::Key_Down);
    QTest::keyClick(value, Qt::Key_Down);
    QCOMPARE(upDown->position(), 45);
    QCOMPARE(linePreview()->width(), 112);
    QCOMPARE(linePreview()->x(), (panel->width() - 112) / 2);
}

void TestBlockEditorPreviews::upDownStaysWithinItsRange()
{
    auto *upDown = control<TPanelUpDown>(*m_editor, "updnHRWidth");
    QVERIFY(control<QLineEdit>(*m_editor, "txtHRWidth")->isReadOnly());
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
    QVERIFY(m_editor->commitBlock(m_doc));
    QCOMPARE(m_doc.Page.Items(btHR)->HRBlock.Width, 5);
}

void TestBlockEditorPreviews::imagePreviewShowsTheStoredPicture_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QSize>("pictureSize"); // empty: "No Image"

    QTest::newRow("stored picture") << u"small.bmp"_s << QSize(40, 30);
    QTest::newRow("missing file") << u"nothere.bmp"_s << QSize();
    QTest::newRow("no file name") << QString() << QSize();
    QTest::newRow("not a picture") << u"broken.bmp"_s << QSize();
    QTest::newRow("a folder") << u"folder.gif"_s << QSize();
}

void TestBlockEditorPreviews::imagePreviewShowsTheStoredPicture()
{
    QFETCH(QString, fileName);
    QFETCH(QSize, pictureSize);

    // Start from the other state, so that the load has to change it.
    loadImage(pictureSize.isEmpty() ? u"small.bmp"_s : QString());
    loadImage(fileName);

    auto *view = control<QLabel>(*m_editor, "imgImageView");
    auto *noImage = control<QLabel>(*m_editor, "lblImageError");
    auto *box = control<QScrollArea>(*m_editor, "sboxImages");
    QCOMPARE(view->toolTip(), m_programFolder.path() + u"/Upload/images/"_s + fileName);
    QCOMPARE(noImage->text(), u"No Image"_s);
    const QSize client = box->viewport()->size();
    if (pictureSize.isEmpty()) {
        QVERIFY(noImage->isVisible());
        QVERIFY(view->pixmap().isNull());
        QCOMPARE(noImage->pos(), QPoint((client.width() - noImage->width()) / 2,
                                        (client.height() - noImage->height()) / 2));
    } else {
        QVERIFY(!noImage->isVisible());
        QCOMPARE(view->pixmap().size(), pictureSize);
        QCOMPARE(view->size(), pictureSize);
        QCOMPARE(view->pos(), QPoint((client.width() - 40) / 2, (client.height() - 30) / 2));
        QCOMPARE(box->horizontalScrollBar()->maximum(), 0);
    }
    QVERIFY(m_editor->commitBlock(m_doc));
    QCOMPARE(m_doc.Page.Items(btImage)->ImageBlock.FileName, fileName);
}

void TestBlockEditorPreviews::largePictureSitsNearTheCornerAndScrolls()
{
    loadImage(u"large.bmp"_s);
    auto *view = control<QLabel>(*m_editor, "imgImageView");
    auto *box = control<QScrollArea>(*m_editor, "sboxImages");
    QCOMPARE(view->pos(), QPoint(12, 12));
    QCOMPARE(box->widget()->size(), QSize(12 + 900 + 10, 12 + 700 + 10));
    QVERIFY(box->horizontalScrollBar()->maximum() > 0);
    QVERIFY(box->verticalScrollBar()->maximum() > 0);

    // The next picture is shown from its top-left corner again.
    box->verticalScrollBar()->setValue(100);
    loadImage(u"small.bmp"_s);
    QCOMPARE(box->verticalScrollBar()->value(), 0);
    QCOMPARE(box->verticalScrollBar()->maximum(), 0);
}

void TestBlockEditorPreviews::typingAFileNameDoesNotChangeFileName_data()
{
    QTest::addColumn<QString>("fileName");

    QTest::newRow("new image block") << QString();
    QTest::newRow("stored picture") << u"small.bmp"_s;
    QTest::newRow("missing picture") << u"nothere.bmp"_s;
}

void TestBlockEditorPreviews::typingAFileNameDoesNotChangeFileName()
{
    QFETCH(QString, fileName);

    loadImage(fileName);
    retype(*m_editor, "txtImageFile", u"typed.gif"_s);
    QVERIFY(m_editor->commitBlock(m_doc));
    QCOMPARE(m_doc.Page.Items(btImage)->ImageBlock.FileName, fileName);
}

void TestBlockEditorPreviews::controlsCarryTheirHelpTopics_data()
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

void TestBlockEditorPreviews::controlsCarryTheirHelpTopics()
{
    QFETCH(QString, name);
    QFETCH(int, topic);

    auto *widget = m_editor->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(Help::topicOf(widget), topic);
}

void TestBlockEditorPreviews::everyCaptionFitsAtTheSmallestSize_data()
{
    QTest::addColumn<int>("type");
    for (int type = 0; type < kBlockTypeCount; ++type)
        QTest::newRow(BlockTypeIdents[type].toLatin1().constData()) << type;
}

void TestBlockEditorPreviews::everyCaptionFitsAtTheSmallestSize()
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
    m_editor->fillFormFields(m_doc);
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
            || qobject_cast<TPanelUpDown *>(widget->parentWidget()))
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
}

QTEST_MAIN(TestBlockEditorPreviews)
#include "tst_previews.moc"
