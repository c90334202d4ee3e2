#include "html/htmlfile.h"
#include "html/pagehtml.h"
#include "viewer/htmllite.h"
#include "viewer/htmltranslator.h"

#include "testpages.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QWheelEvent>
#include <QtMath>

using namespace Qt::StringLiterals;

namespace {

// The tile of the test page: a 40 x 40 picture whose top-left quarter has another colour.
const QColor kTileCorner(200, 220, 255);
const QColor kTileRest(180, 255, 180);
const QColor kRuleGrey(128, 128, 128);
const QColor kPhoto(0, 160, 160);

void writeBmp(const QString &path, const QImage &image)
{
    QImageWriter writer(path, "bmp");
    QVERIFY2(writer.write(image), qPrintable(writer.errorString()));
}

QImage filled(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QTextBrowser *viewOf(ThtmlLite &viewer)
{
    return viewer.findChild<QTextBrowser *>(u"view"_s);
}

QImage shot(ThtmlLite &viewer)
{
    return viewOf(viewer)->viewport()->grab().toImage();
}

// Where the first occurrence of text is shown, in viewport coordinates.
QRect textRect(ThtmlLite &viewer, const QString &text)
{
    const QTextCursor found = viewer.document()->find(text);
    if (found.isNull())
        return {};
    QTextCursor start(viewer.document());
    start.setPosition(found.selectionStart());
    QTextCursor end(viewer.document());
    end.setPosition(found.selectionEnd());
    return viewOf(viewer)->cursorRect(start).united(viewOf(viewer)->cursorRect(end));
}

// Where the picture with the given resource name is shown, in viewport coordinates.
QRect pictureRect(ThtmlLite &viewer, const QString &name)
{
    QTextDocument *document = viewer.document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat() || format.toImageFormat().name() != name)
                continue;
            QTextCursor cursor(document);
            cursor.setPosition(it.fragment().position());
            const QRect line = viewOf(viewer)->cursorRect(cursor);
            const QPixmap pixmap = document->resource(QTextDocument::ImageResource, QUrl(name)).value<QPixmap>();
            return QRect(QPoint(line.left(), line.center().y() - pixmap.height() / 2), pixmap.size());
        }
    }
    return {};
}

// The smallest rectangle around the pixels of one colour.
QRect areaOf(const QImage &image, QColor colour)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour)
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

int pixelsDarkerThan(const QImage &image, const QRect &area, int lightness)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y).lightness() < lightness ? 1 : 0;
    }
    return count;
}

TPagelette emptyPage()
{
    TPagelette doc;
    doc.AddDefaultBlocks();
    while (doc.Page.Count() > 1)
        doc.Page.Delete(1);
    return doc;
}

// The worked example of the page generator: a centred heading and a paragraph of three lines.
TPagelette workedExample()
{
    TPagelette doc = emptyPage();
    doc.Page.Items(0)->PagePropertiesBlock.PageTitle = u"My Page"_s;
    TPageItem *heading = doc.InsertNewBlock(1, btHeading);
    heading->HeadingBlock.Heading = u"Welcome"_s;
    heading->BlockAlign = baCenter;
    heading->BlockOnNewLine = true;
    TPageItem *text = doc.InsertNewBlock(2, btText);
    text->TextBlock.Text = u"Hello\r\n\r\nworld"_s;
    text->BlockAlign = baLeft;
    text->BlockOnNewLine = true;
    return doc;
}

QStringList longPage(int paragraphs, const QString &extra = {})
{
    QStringList lines{u"<HTML><BODY BGCOLOR=\"#FFFFFF\">"_s};
    for (int i = 1; i <= paragraphs; ++i) {
        if (i == paragraphs * 5 / 6)
            lines << u"<A NAME=\"here\">Target</A><P>"_s;
        lines << u"Paragraph %1<P>"_s.arg(i);
    }
    lines << extra << u"</BODY></HTML>"_s;
    return lines;
}

} // namespace

class TestHtmlLite : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void serverRootIsTrimmed_data();
    void serverRootIsTrimmed();
    void missingFileFailsAndKeepsTheView_data();
    void missingFileFailsAndKeepsTheView();
    void workedExampleShowsItsTextOnTheBodyColour();
    void scriptsStylesAndHiddenFieldsAreNotShown();
    void bodyColourAndTileAreDrawn();
    void textTakesBodyAndFontColours();
    void formControlsAreDrawnWhereTheFormIs();
    void rulesHaveTheirThicknessAndWidth();
    void listBesideFloatingPictureKeepsMarkersAndIndent();
    void missingPictureShowsFrameOfItsSize();
    void imageBlockWithoutPictureShowsNothing_data();
    void imageBlockWithoutPictureShowsNothing();
    void clickedLinkRaisesEventAndChangesNothing();
    void unhandledNamedLinkScrollsToItsTarget();
    void replacedPictureShowsOnNextLoad();
    void templatePreviewFindsUploadPictures_data();
    void templatePreviewFindsUploadPictures();
    void targetAfterHashIsScrolledTo_data();
    void targetAfterHashIsScrolledTo();
    void keysScrollBySteps_data();
    void keysScrollBySteps();
    void wheelScrollsThreeLinesOfTextPerNotch_data();
    void wheelScrollsThreeLinesOfTextPerNotch();
    void scrollBarsOnlyWhenNeeded_data();
    void scrollBarsOnlyWhenNeeded();
    void thousandBlockPageLoadsWhole();
    void whatFollowsACentredBlockStartsLeftOnANewLine_data();
    void whatFollowsACentredBlockStartsLeftOnANewLine();
    void missingFontFamilyFallsBackToTheDefaultFont();
    void formKeepsItsColumnsAndBrowserSizedControls();
    void listsAndRulesAreSpacedAsInBrowsers();
    void pngPicturesAreShownWithTextAGapAway();
    void textBesideATopAlignedPictureStandsAtItsTop();

private:
    // Shows html (one string, CR LF kept) in an 800 pixels wide viewer on white.
    void show(ThtmlLite &viewer, const QString &html);
    // Loads the page with every construct, with its pictures made beside it.
    void loadEveryElement(ThtmlLite &viewer);

    QTemporaryDir m_dir;
};

void TestHtmlLite::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QDir root(m_dir.path());
    QVERIFY(root.mkpath(u"every/images"_s));
    QVERIFY(root.mkpath(u"every/backgrounds"_s));
    QVERIFY(QFile::copy(QStringLiteral(BRISKO_TEST_DATA_DIR "/viewer/every-element.html"),
                        m_dir.filePath(u"every/every-element.html"_s)));
    writeBmp(m_dir.filePath(u"every/images/photo.bmp"_s), filled(QSize(80, 60), kPhoto));
    QImage tile = filled(QSize(40, 40), kTileRest);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x)
            tile.setPixelColor(x, y, kTileCorner);
    }
    writeBmp(m_dir.filePath(u"every/backgrounds/tile.bmp"_s), tile);
}

void TestHtmlLite::loadEveryElement(ThtmlLite &viewer)
{
    viewer.setBorderStyle(ThtmlLite::htNone);
    viewer.resize(800, 1500);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QVERIFY(viewer.LoadHtmlFile(m_dir.filePath(u"every/every-element.html"_s)));
    QCoreApplication::processEvents();
}

void TestHtmlLite::serverRootIsTrimmed_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("stored");
    QTest::newRow("trailing backslash") << u"/opt/Brisko/Templates\\"_s << u"/opt/Brisko/Templates"_s;
    QTest::newRow("only one backslash") << u"/opt/Templates\\\\"_s << u"/opt/Templates\\"_s;
    QTest::newRow("trailing slash") << u"/opt/Templates/"_s << u"/opt/Templates"_s;
    QTest::newRow("spaces and controls") << u" \t/opt/Upload \r\n"_s << u"/opt/Upload"_s;
    QTest::newRow("separator inside spaces") << u"  /opt/Upload\\  "_s << u"/opt/Upload"_s;
    QTest::newRow("nothing but spaces") << u"   "_s << QString();
}

void TestHtmlLite::serverRootIsTrimmed()
{
    ThtmlLite viewer;
    QFETCH(QString, root);
    viewer.setServerRoot(root);
    QFETCH(QString, stored);
    QCOMPARE(viewer.ServerRoot(), stored);
}

void TestHtmlLite::missingFileFailsAndKeepsTheView_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("file") << u"gone.html"_s;
    QTest::newRow("file with target") << u"gone.html#top"_s;
}

void TestHtmlLite::missingFileFailsAndKeepsTheView()
{
    ThtmlLite viewer;
    viewer.LoadHtmlStrings({u"<BODY>Still here</BODY>"_s});
    QTextDocument *shown = viewer.document();
    QFETCH(QString, name);
    QVERIFY(!viewer.LoadHtmlFile(m_dir.filePath(name)));
    QCOMPARE(viewer.errorString(), u"Can't locate file: "_s + m_dir.filePath(u"gone.html"_s));
    QCOMPARE(viewer.document(), shown);
    QCOMPARE(viewer.DocumentText(), u"Still here"_s);
}

void TestHtmlLite::workedExampleShowsItsTextOnTheBodyColour()
{
    QString error;
    const QStringList lines = BuildPageHtml(workedExample(), pmPreview, false, m_dir.path() + u"/"_s, &error);
    QVERIFY(error.isEmpty());
    ThtmlLite viewer;
    viewer.setDefBackground(Qt::darkGray);
    viewer.resize(600, 300);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    viewer.ClearDocument();
    viewer.setServerRoot(m_dir.path() + u"/Upload"_s);
    viewer.LoadHtmlStrings(lines);

    QCOMPARE(viewer.DocumentTitle(), u"My Page"_s);
    QCOMPARE(viewer.DocumentText().simplified(), u"Welcome Hello world"_s);
    const QImage image = shot(viewer);
    QCOMPARE(image.pixelColor(image.width() - 3, image.height() - 3), QColor(Qt::white));
    const QRect welcome = textRect(viewer, u"Welcome"_s);
    QVERIFY(qAbs(welcome.center().x() - image.width() / 2) < 8);
    QVERIFY(pixelsDarkerThan(image, welcome, 100) > 20);
    QVERIFY(textRect(viewer, u"world"_s).top() > textRect(viewer, u"Hello"_s).bottom() + 10);
}

void TestHtmlLite::scriptsStylesAndHiddenFieldsAreNotShown()
{
    ThtmlLite viewer;
    loadEveryElement(viewer);
    const QString text = viewer.DocumentText();
    QCOMPARE(viewer.DocumentTitle(), u"Every element"_s);
    QVERIFY(text.contains(u"Plain body text"_s));
    for (const QString &hidden : {u"script text"_s, u"function"_s, u"text-decoration"_s, u"hidden value"_s,
                                  u"test, viewer"_s, u"Every construct"_s}) {
        QVERIFY2(!text.contains(hidden), qPrintable(hidden));
    }
    // Links in the preview show as links, underlined, unlike in the browser with the style above.
    const QTextCursor link = viewer.document()->find(u"a link"_s);
    QVERIFY(link.charFormat().fontUnderline());
}

void TestHtmlLite::bodyColourAndTileAreDrawn()
{
    ThtmlLite viewer;
    loadEveryElement(viewer);
    const QImage image = shot(viewer);
    // The margin holds no text; the tile repeats every 40 pixels from the top-left corner.
    QCOMPARE(image.pixelColor(5, 5), kTileCorner);
    QCOMPARE(image.pixelColor(5, 25), kTileRest);
    QCOMPARE(image.pixelColor(5, 45), kTileCorner);

    // Scrolled, the tile moves with the page.
    viewer.resize(800, 400);
    viewOf(viewer)->verticalScrollBar()->setValue(10);
    QCoreApplication::processEvents();
    QCOMPARE(shot(viewer).pixelColor(5, 5), kTileCorner);
    QCOMPARE(shot(viewer).pixelColor(5, 12), kTileRest);

    // Where the tile is transparent the body colour shows: here a one-pixel GIF with no colour.
    QFile gif(m_dir.filePath(u"clear.gif"_s));
    QVERIFY(gif.open(QIODevice::WriteOnly));
    gif.write(
        QByteArray::fromHex("47494638396101000100800000000000ffffff21f90401000000002c00000000010001000002024401003b"));
    gif.close();
    viewer.LoadHtmlStrings({u"<BODY BGCOLOR=\"#00FF00\" BACKGROUND=\"%1\">x</BODY>"_s.arg(gif.fileName())});
    QCOMPARE(shot(viewer).pixelColor(150, 150), QColor(0, 255, 0));
}

void TestHtmlLite::textTakesBodyAndFontColours()
{
    ThtmlLite viewer;
    loadEveryElement(viewer);
    const auto colourOf = [&](const QString &text) {
        QTextCursor cursor = viewer.document()->find(text);
        return cursor.charFormat().foreground().color();
    };
    QCOMPARE(colourOf(u"Plain body"_s), QColor(0x00, 0x00, 0x80));
    QCOMPARE(colourOf(u"a link"_s), QColor(0x00, 0x80, 0x00));
    QCOMPARE(colourOf(u"Every element"_s), QColor(0x80, 0x00, 0x00));
    QCOMPARE(colourOf(u"Upper roman"_s), QColor(0x00, 0x00, 0x80));

    // Without colours of its own the page takes the viewer's.
    viewer.setDefFontColor(Qt::darkRed);
    viewer.setDefHotSpotColor(Qt::darkCyan);
    viewer.LoadHtmlStrings({u"<BODY>text <A HREF=\"x.html\">link</A></BODY>"_s});
    QCOMPARE(colourOf(u"text"_s), QColor(Qt::darkRed));
    QCOMPARE(colourOf(u"link"_s), QColor(Qt::darkCyan));
}

void TestHtmlLite::formControlsAreDrawnWhereTheFormIs()
{
    ThtmlLite viewer;
    loadEveryElement(viewer);
    const QImage image = shot(viewer);
    const QRect label = textRect(viewer, u"Name:"_s);
    const QRect textBox = pictureRect(viewer, u"brisko-control:0"_s);
    const QRect dropDown = pictureRect(viewer, u"brisko-control:1"_s);
    QVERIFY(label.isValid() && textBox.isValid() && dropDown.isValid());

    // Beside their labels in the form's right-hand column, the drop-down below the text box.
    QVERIFY(textBox.left() > label.right() + 100);
    QVERIFY(qAbs(textBox.center().y() - label.center().y()) < 6);
    QVERIFY(dropDown.top() > textBox.bottom());
    QVERIFY(qAbs(dropDown.left() - textBox.left()) < 3);
    // SIZE="30" makes a box for thirty characters.
    QVERIFY(textBox.width() > 30 * QFontMetrics(QApplication::font()).averageCharWidth());

    // The text box is an empty field of the widget's base colour, not the page's.
    const QColor base = viewOf(viewer)->palette().color(QPalette::Base);
    QCOMPARE(image.pixelColor(textBox.center()), base);
    QCOMPARE(image.pixelColor(textBox.left() + 10, textBox.center().y()), base);
    // The drop-down shows its first option as text.
    QVERIFY(pixelsDarkerThan(image, dropDown.adjusted(2, 2, -2, -2), 100) > 20);
}

void TestHtmlLite::rulesHaveTheirThicknessAndWidth()
{
    ThtmlLite viewer;
    loadEveryElement(viewer);
    const QImage image = shot(viewer);
    const int middle = image.width() / 2;
    int barTop = -1;
    for (int y = 0, run = 0; y + 1 < image.height() && barTop < 0; ++y) {
        run = image.pixelColor(middle, y) == kRuleGrey ? run + 1 : 0;
        if (run == 9 && image.pixelColor(middle, y + 1) != kRuleGrey)
            barTop = y - 8;
    }
    QVERIFY(barTop >= 0);
    // SIZE="9" NOSHADE: a solid bar nine pixels high, half as wide as the page.
    const int quarter = (image.width() - 2 * viewer.MarginWidth()) / 4;
    QCOMPARE(image.pixelColor(middle - quarter + 3, barTop + 4), kRuleGrey);
    QCOMPARE(image.pixelColor(middle + quarter - 3, barTop + 4), kRuleGrey);
    QVERIFY(image.pixelColor(middle - quarter - 3, barTop + 4) != kRuleGrey);
    QVERIFY(image.pixelColor(middle + quarter + 3, barTop + 4) != kRuleGrey);

    // The 100% rule above it is shaded: a dark line on top, a light one below.
    int y = barTop - 1;
    while (y > 0 && image.pixelColor(20, y) != kRuleGrey)
        --y;
    QVERIFY(y > 0);
    QCOMPARE(image.pixelColor(image.width() - 30, y), kRuleGrey);
    QCOMPARE(image.pixelColor(middle, y + 2), QColor(Qt::white));
}

void TestHtmlLite::listBesideFloatingPictureKeepsMarkersAndIndent()
{
    ThtmlLite viewer;
    loadEveryElement(viewer);
    const QRect photo = areaOf(shot(viewer), kPhoto);
    QCOMPARE(photo.size(), QSize(80, 60));
    const QRect item = textRect(viewer, u"Disc one"_s);
    const QRect bullet = textRect(viewer, u"\u2022"_s);
    QVERIFY(photo.isValid() && item.isValid() && bullet.isValid());
    QVERIFY(item.top() < photo.bottom());
    QVERIFY(bullet.left() >= photo.right());
    QVERIFY2(item.left() >= photo.right() + 30, qPrintable(u"%1 %2"_s.arg(item.left()).arg(photo.right())));
    for (const QString &marker : {u"\u25E6"_s, u"\u25AA"_s, u"2."_s, u"B."_s, u"a."_s, u"IV."_s, u"ii."_s})
        QVERIFY2(viewer.DocumentText().contains(marker), qPrintable(marker));

    // A line with nothing but the floating picture takes no room: the list starts at its top.
    viewer.LoadHtmlStrings({u"<BODY BGCOLOR=\"#FFFFFF\"><IMG SRC=\"%1\" WIDTH=80 HEIGHT=60 ALIGN=LEFT>\r\n"
                            u"<UL><LI>Beside</UL>"_s.arg(m_dir.filePath(u"every/images/photo.bmp"_s))});
    const QRect top = areaOf(shot(viewer), kPhoto);
    QVERIFY(top.isValid());
    QVERIFY(textRect(viewer, u"Beside"_s).top() < top.top() + 20);
    QVERIFY(textRect(viewer, u"Beside"_s).left() > top.right() + 30);
}

void TestHtmlLite::missingPictureShowsFrameOfItsSize()
{
    ThtmlLite viewer;
    loadEveryElement(viewer);
    const QRect missing = pictureRect(viewer, u"brisko-picture:1"_s);
    QCOMPARE(missing.size(), QSize(90, 30));
    // A sunken frame: its top edge is grey.
    const QImage image = shot(viewer);
    int grey = 0;
    for (int y = missing.top() - 2; y <= missing.top() + 2; ++y)
        grey += image.pixelColor(missing.left() + 40, y) == kRuleGrey ? 1 : 0;
    QCOMPARE(grey, 1);
}

void TestHtmlLite::imageBlockWithoutPictureShowsNothing_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QSize>("room");
    QTest::newRow("new page, preview") << int(pmPreview) << QSize(0, 0);
    QTest::newRow("new page, relative") << int(pmRelative) << QSize(0, 0);
    QTest::newRow("new page, upload") << int(pmUpload) << QSize(0, 0);
    QTest::newRow("sized, preview") << int(pmPreview) << QSize(90, 30);
}

void TestHtmlLite::imageBlockWithoutPictureShowsNothing()
{
    QFETCH(int, mode);
    QFETCH(QSize, room);
    QTemporaryDir program;
    QVERIFY(QDir(program.path()).mkpath(u"Upload/images"_s));
    TPagelette doc;
    doc.AddDefaultBlocks();
    if (!room.isEmpty()) {
        doc.Page.Items(1)->ImageBlock.Width = QString::number(room.width());
        doc.Page.Items(1)->ImageBlock.Height = QString::number(room.height());
    }
    const QStringList lines = BuildPageHtml(doc, quint8(mode), false, program.path() + u"/"_s);

    ThtmlLite viewer;
    viewer.resize(400, 200);
    viewer.setServerRoot(program.path() + u"/Upload"_s);
    viewer.LoadHtmlStrings(lines);
    // The page's white, with no frame anywhere; a size from the page keeps its room.
    const QImage image = shot(viewer);
    QCOMPARE(pixelsDarkerThan(image, image.rect(), 255), 0);
    QCOMPARE(pictureRect(viewer, u"brisko-picture:0"_s).size(), room);
}

void TestHtmlLite::clickedLinkRaisesEventAndChangesNothing()
{
    ThtmlLite viewer;
    loadEveryElement(viewer);
    QStringList targets;
    connect(&viewer, &ThtmlLite::OnHotSpotClick, this, [&](const QString &target, bool &handled) {
        targets << target;
        handled = true;
    });
    QTextDocument *shown = viewer.document();
    const QString text = viewer.DocumentText();
    const int scroll = viewOf(viewer)->verticalScrollBar()->value();

    QTest::mouseClick(viewOf(viewer)->viewport(), Qt::LeftButton, {}, textRect(viewer, u"a link"_s).center());
    QCOMPARE(targets, QStringList{u"other.html"_s});
    QCOMPARE(viewer.document(), shown);
    QCOMPARE(viewer.DocumentText(), text);
    QCOMPARE(viewOf(viewer)->verticalScrollBar()->value(), scroll);
}

void TestHtmlLite::unhandledNamedLinkScrollsToItsTarget()
{
    ThtmlLite viewer;
    loadEveryElement(viewer);
    viewer.resize(800, 300);
    QScrollBar *bar = viewOf(viewer)->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 0);
    bar->setValue(bar->maximum());
    QStringList targets;
    connect(&viewer, &ThtmlLite::OnHotSpotClick, this, [&](const QString &target, bool &) { targets << target; });

    QTest::mouseClick(viewOf(viewer)->viewport(), Qt::LeftButton, {}, textRect(viewer, u"Back to the top"_s).center());
    QCOMPARE(targets, QStringList{u"#top"_s});
    QVERIFY(bar->value() < bar->maximum());
    QVERIFY(qAbs(textRect(viewer, u"Right-aligned"_s).top()) < 30);
}

void TestHtmlLite::replacedPictureShowsOnNextLoad()
{
    QTemporaryDir program;
    QVERIFY(QDir(program.path()).mkpath(u"Upload/images"_s));
    const QString picture = program.filePath(u"Upload/images/pic.bmp"_s);
    TPagelette doc = emptyPage();
    TPageItem *image = doc.InsertNewBlock(1, btImage);
    image->ImageBlock.FileName = u"pic.bmp"_s;
    image->ImageBlock.Width = u"40"_s;
    image->ImageBlock.Height = u"20"_s;

    ThtmlLite viewer;
    viewer.setImageCacheCount(0);
    viewer.resize(300, 200);
    for (const QColor colour : {QColor(Qt::red), QColor(Qt::blue)}) {
        writeBmp(picture, filled(QSize(40, 20), colour));
        // As the main window's View Page does it.
        const QStringList lines = BuildPageHtml(doc, pmPreview, false, program.path() + u"/"_s);
        QVERIFY(lines.join(u'\n').contains(u"Upload\\images\\pic.bmp"_s));
        viewer.ClearDocument();
        viewer.setServerRoot(program.path() + u"/Upload"_s);
        viewer.LoadHtmlStrings(lines);
        const QRect shown = pictureRect(viewer, u"brisko-picture:0"_s);
        QCOMPARE(shown.size(), QSize(40, 20));
        QCOMPARE(shot(viewer).pixelColor(shown.center()), colour);
    }
}

void TestHtmlLite::templatePreviewFindsUploadPictures_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("background");
    QTest::newRow("plain names") << u"logo.bmp"_s << u"back.bmp"_s;
    QTest::newRow("hash and percent") << u"ha#sh.bmp"_s << u"50%.bmp"_s;
    QTest::newRow("question mark and letters") << u"que?.bmp"_s << u"café.bmp"_s;
}

void TestHtmlLite::templatePreviewFindsUploadPictures()
{
    QFETCH(QString, picture);
    QFETCH(QString, background);
    QTemporaryDir program;
    QDir root(program.path());
    for (const QString &folder : {u"Templates"_s, u"Upload/images"_s, u"Upload/backgrounds"_s})
        QVERIFY(root.mkpath(folder));
    writeBmp(program.filePath(u"Upload/images/"_s + picture), filled(QSize(40, 20), Qt::red));
    writeBmp(program.filePath(u"Upload/backgrounds/"_s + background), filled(QSize(8, 8), Qt::green));
    TPagelette doc = emptyPage();
    doc.Page.Items(0)->PagePropertiesBlock.Background = background;
    TImageBlock &image = doc.InsertNewBlock(1, btImage)->ImageBlock;
    image.FileName = picture;
    image.Width = u"40"_s;
    image.Height = u"20"_s;
    doc.InsertNewBlock(2, btHeading)->HeadingBlock.Heading = u"Café Zürich — Grüße, “Quotes” €5 日本"_s;
    const QStringList lines = BuildPageHtml(doc, pmRelative, false, program.path() + u"/"_s);
    const QString preview = program.filePath(u"Templates/My Template.html"_s);
    QVERIFY(WriteHtmlFile(preview, lines));

    ThtmlLite viewer;
    viewer.resize(300, 200);
    viewer.setServerRoot(program.path() + u"/Templates\\"_s);
    // The file holds references for the letters; the preview shows them as typed.
    viewer.LoadHtmlStrings(lines);
    const QString typed = viewer.DocumentText();
    QVERIFY(viewer.LoadHtmlFile(preview));
    QCOMPARE(viewer.DocumentText(), typed);
    const QImage shown = shot(viewer);
    QCOMPARE(shown.pixelColor(pictureRect(viewer, u"brisko-picture:0"_s).center()), QColor(Qt::red));
    QCOMPARE(shown.pixelColor(3, 3), QColor(Qt::green));

    // With pictures off, frames stand in for them and the background is the body colour.
    viewer.setViewImages(false);
    QVERIFY(viewer.LoadHtmlFile(preview));
    const QImage framed = shot(viewer);
    QCOMPARE(pictureRect(viewer, u"brisko-picture:0"_s).size(), QSize(40, 20));
    QVERIFY(framed.pixelColor(pictureRect(viewer, u"brisko-picture:0"_s).center()) != QColor(Qt::red));
    QCOMPARE(framed.pixelColor(3, 3), QColor(Qt::white));
}

void TestHtmlLite::targetAfterHashIsScrolledTo_data()
{
    QTest::addColumn<bool>("shownFirst");
    QTest::newRow("shown") << true;
    QTest::newRow("shown after loading") << false;
}

void TestHtmlLite::targetAfterHashIsScrolledTo()
{
    const QString path = m_dir.filePath(u"long.html"_s);
    QVERIFY(WriteHtmlFile(path, longPage(60)));
    ThtmlLite viewer;
    viewer.resize(400, 300);
    QFETCH(bool, shownFirst);
    if (shownFirst)
        viewer.show();
    QVERIFY(viewer.LoadHtmlFile(path + u"#here"_s));
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QTRY_VERIFY(viewOf(viewer)->verticalScrollBar()->value() > 0);
    const QRect target = textRect(viewer, u"Target"_s);
    QVERIFY2(target.top() >= 0 && target.top() < 30, qPrintable(QString::number(target.top())));

    // Without a target the next page shows from its top.
    QVERIFY(viewer.LoadHtmlFile(path));
    QCOMPARE(viewOf(viewer)->verticalScrollBar()->value(), 0);
}

// Where a key should move the view: by pixels, by the height of the view, or to an end.
enum Move { Pixels, PageDown, PageUp, ToEnd, ToHome };

void TestHtmlLite::keysScrollBySteps_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("move");
    QTest::addColumn<int>("down");
    QTest::addColumn<int>("across");
    QTest::newRow("Down") << int(Qt::Key_Down) << int(Pixels) << 16 << 0;
    QTest::newRow("Up") << int(Qt::Key_Up) << int(Pixels) << -16 << 0;
    QTest::newRow("Right") << int(Qt::Key_Right) << int(Pixels) << 0 << 15;
    QTest::newRow("Left") << int(Qt::Key_Left) << int(Pixels) << 0 << -15;
    QTest::newRow("Page Down") << int(Qt::Key_PageDown) << int(PageDown) << 0 << 0;
    QTest::newRow("Page Up") << int(Qt::Key_PageUp) << int(PageUp) << 0 << 0;
    QTest::newRow("End") << int(Qt::Key_End) << int(ToEnd) << 0 << 0;
    QTest::newRow("Home") << int(Qt::Key_Home) << int(ToHome) << 0 << 0;
}

void TestHtmlLite::keysScrollBySteps()
{
    QFETCH(int, key);
    QFETCH(int, move);
    QFETCH(int, down);
    QFETCH(int, across);
    ThtmlLite viewer;
    viewer.resize(400, 300);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    viewer.LoadHtmlStrings(longPage(60, u"<TABLE WIDTH=\"1500\"><TR><TD>wide</TD></TR></TABLE>"_s));
    QScrollBar *vertical = viewOf(viewer)->verticalScrollBar();
    QScrollBar *horizontal = viewOf(viewer)->horizontalScrollBar();
    QTRY_VERIFY(vertical->maximum() > 1000 && horizontal->maximum() > 500);
    vertical->setValue(500);
    horizontal->setValue(100);

    QTest::keyClick(viewOf(viewer), Qt::Key(key));
    const int page = viewOf(viewer)->viewport()->height();
    const int expected = move == PageDown ? 500 + page
                         : move == PageUp ? 500 - page
                         : move == ToEnd  ? vertical->maximum()
                         : move == ToHome ? 0
                                          : 500 + down;
    QCOMPARE(vertical->value(), expected);
    QCOMPARE(horizontal->value(), 100 + across);
}

void TestHtmlLite::wheelScrollsThreeLinesOfTextPerNotch_data()
{
    QTest::addColumn<QList<QPoint>>("turns"); // angle deltas, 120 to a notch
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QPoint>("lines"); // across, down
    QTest::newRow("one notch down") << QList<QPoint>{{0, -120}} << false << QPoint(0, 3);
    QTest::newRow("two notches up") << QList<QPoint>{{0, 240}} << false << QPoint(0, -6);
    QTest::newRow("a notch in eight parts") << QList<QPoint>(8, QPoint(0, -15)) << false << QPoint(0, 3);
    QTest::newRow("Shift turns across") << QList<QPoint>{{0, -120}} << true << QPoint(3, 0);
}

void TestHtmlLite::wheelScrollsThreeLinesOfTextPerNotch()
{
    QFETCH(QList<QPoint>, turns);
    QFETCH(bool, shift);
    QFETCH(QPoint, lines);
    ThtmlLite viewer;
    viewer.resize(400, 300);
    viewer.LoadHtmlStrings(longPage(60, u"<TABLE WIDTH=\"1500\"><TR><TD>wide</TD></TR></TABLE>"_s));
    viewer.show();
    QScrollBar *vertical = viewOf(viewer)->verticalScrollBar();
    QScrollBar *horizontal = viewOf(viewer)->horizontalScrollBar();
    QTRY_VERIFY(vertical->maximum() > 1000 && horizontal->maximum() > 500);
    vertical->setValue(500);
    horizontal->setValue(300);
    for (const QPoint &turn : turns) {
        QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), turn, Qt::NoButton,
                          shift ? Qt::ShiftModifier : Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewOf(viewer)->viewport(), &wheel);
    }
    // Lines of the page's default text, as browsers count them; Qt's own step was a fifth of one.
    const int line = qCeil(QFontMetricsF(viewOf(viewer)->document()->defaultFont()).lineSpacing());
    QVERIFY(line >= 15);
    QCOMPARE(QPoint(horizontal->value(), vertical->value()), QPoint(300, 500) + lines * line);
}

void TestHtmlLite::scrollBarsOnlyWhenNeeded_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("bars");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("horizontal");
    const QStringList wide{u"<TABLE WIDTH=\"900\"><TR><TD>wide</TD></TR></TABLE>"_s};
    QTest::newRow("fits") << QStringList{u"<P>short"_s} << int(ThtmlLite::ssBoth) << false << false;
    QTest::newRow("long") << longPage(60) << int(ThtmlLite::ssBoth) << true << false;
    QTest::newRow("wide") << wide << int(ThtmlLite::ssBoth) << false << true;
    QTest::newRow("long, vertical only") << longPage(60) + wide << int(ThtmlLite::ssVertical) << true << false;
    QTest::newRow("long, none") << longPage(60) << int(ThtmlLite::ssNone) << false << false;
    QTest::newRow("cleared") << QStringList() << int(ThtmlLite::ssBoth) << false << false;
}

void TestHtmlLite::scrollBarsOnlyWhenNeeded()
{
    QFETCH(QStringList, lines);
    QFETCH(int, bars);
    ThtmlLite viewer;
    viewer.setScrollBars(ThtmlLite::TScrollStyle(bars));
    viewer.resize(400, 300);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    viewer.LoadHtmlStrings(longPage(60));
    if (lines.isEmpty())
        viewer.ClearDocument();
    else
        viewer.LoadHtmlStrings(lines);
    // The scroll bars follow the layout and resize events the load posted.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QFETCH(bool, vertical);
    QTRY_COMPARE(viewOf(viewer)->verticalScrollBar()->isVisible(), vertical);
    QFETCH(bool, horizontal);
    QTRY_COMPARE(viewOf(viewer)->horizontalScrollBar()->isVisible(), horizontal);
}

void TestHtmlLite::thousandBlockPageLoadsWhole()
{
    const TPagelette doc = MixedBlockPage(1000);
    QString error;
    const QStringList lines = BuildPageHtml(doc, pmPreview, false, m_dir.path() + u"/"_s, &error);
    QVERIFY(error.isEmpty());

    ThtmlLite viewer;
    viewer.resize(800, 600);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    viewer.LoadHtmlStrings(lines);
    QVERIFY(viewer.DocumentSize().height() > 20000);
    // End reaches the last block. How long this takes is measured by make bench.
    QTest::keyClick(viewOf(viewer), Qt::Key_End);
    QScrollBar *bar = viewOf(viewer)->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
}

void TestHtmlLite::show(ThtmlLite &viewer, const QString &html)
{
    viewer.setBorderStyle(ThtmlLite::htNone);
    viewer.resize(800, 700);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    viewer.LoadHtmlStrings({u"<BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\">\r\n"_s + html + u"\r\n</BODY></HTML>"_s});
    QCoreApplication::processEvents();
}

void TestHtmlLite::whatFollowsACentredBlockStartsLeftOnANewLine_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("text");
    QTest::newRow("font-styled heading") << u"<FONT FACE=\"Arial\" SIZE=\"4\"><B>Next</B></FONT><P>"_s << u"Next"_s;
    QTest::newRow("paragraph with a gap") << u"<FONT SIZE=\"3\">Next\r\n<BR><BR>\r\nlast\r\n</FONT><P>"_s << u"Next"_s;
    QTest::newRow("link") << u"<A HREF=\"join.html\">Next</A><P>"_s << u"Next"_s;
    QTest::newRow("bold text") << u"<B>Next</B><P>"_s << u"Next"_s;
    QTest::newRow("picture") << u"<IMG SRC=\"missing.gif\" BORDER=0 ALT=\"\" HEIGHT=\"30\" WIDTH=\"60\"><P>"_s
                             << QString();
}

void TestHtmlLite::whatFollowsACentredBlockStartsLeftOnANewLine()
{
    QFETCH(QString, block);
    QFETCH(QString, text);
    ThtmlLite viewer;
    show(viewer, u"<CENTER>Title</CENTER>\r\n"_s + block);
    const QRect title = textRect(viewer, u"Title"_s);
    const QRect next = text.isEmpty() ? pictureRect(viewer, u"brisko-picture:0"_s) : textRect(viewer, text);
    QVERIFY(title.isValid() && next.isValid());
    QVERIFY2(next.top() >= title.bottom(), qPrintable(u"%1 %2"_s.arg(next.top()).arg(title.bottom())));
    QVERIFY2(next.left() <= viewer.MarginWidth() + 2, qPrintable(QString::number(next.left())));
    if (block.contains(u"last"))
        QVERIFY(textRect(viewer, u"last"_s).top() - next.bottom() < 2 * next.height()); // one empty line, no more
}

void TestHtmlLite::missingFontFamilyFallsBackToTheDefaultFont()
{
    ThtmlLite viewer;
    show(viewer,
         u"plain <FONT FACE=\"No Such Family 1234\">missing</FONT> <FONT FACE=\"Impact, sans-serif\">generic</FONT>"_s);
    const auto familyAt = [&](const QString &text) {
        QTextCursor cursor = viewer.document()->find(text);
        return QFontInfo(cursor.charFormat().font()).family();
    };
    QCOMPARE(familyAt(u"missing"_s), familyAt(u"plain"_s));
    QCOMPARE(familyAt(u"generic"_s), QFontInfo(QFont(u"sans-serif"_s)).family());
    QVERIFY(familyAt(u"plain"_s) != familyAt(u"generic"_s));
}

void TestHtmlLite::formKeepsItsColumnsAndBrowserSizedControls()
{
    ThtmlLite viewer;
    show(viewer, u"<FORM ACTION=\"x\" METHOD=\"POST\">\r\n<TABLE CELLPADDING=2 WIDTH=100%>\r\n"
                 u"<TR><TD WIDTH=100% VALIGN=TOP COLSPAN=2><FONT SIZE=5><B>Contact</B></FONT></TD></TR>\r\n"
                 u"<TR><TD WIDTH=30% VALIGN=TOP>Name:</TD><TD WIDTH=70% VALIGN=TOP>"
                 u"<INPUT NAME=\"n\" VALUE=\"\" SIZE=\"30\"></TD></TR>\r\n"
                 u"<TR><TD WIDTH=30% VALIGN=TOP>Size</TD><TD WIDTH=70% VALIGN=TOP>\r\n"
                 u"<INPUT TYPE=\"Radio\" NAME=\"size\" VALUE=\"s\" CHECKED> Small<BR>\r\n"
                 u"<INPUT TYPE=\"Radio\" NAME=\"size\" VALUE=\"l\" CHECKED> Large<BR>\r\n</TD></TR>\r\n"
                 u"</TABLE></FORM>"_s);
    const QRect box = pictureRect(viewer, u"brisko-control:0"_s);
    const int content = 800 - 2 * viewer.MarginWidth();
    // The second column starts at 30% of the width, not half of it.
    QVERIFY2(qAbs(box.left() - viewer.MarginWidth() - content * 3 / 10) < 12, qPrintable(QString::number(box.left())));
    // Thirty digits of the browsers' 10-point sans-serif control font, and its frame.
    QFont controls(u"sans-serif"_s);
    controls.setPointSize(10);
    const int digits = 30 * QFontMetrics(controls).horizontalAdvance(u'0');
    QVERIFY2(box.width() > digits && box.width() < digits + 20, qPrintable(QString::number(box.width())));

    // Of the two checked radio buttons of the group only the second shows its dot.
    const QImage image = shot(viewer);
    const QRect small = pictureRect(viewer, u"brisko-control:1"_s);
    const QRect large = pictureRect(viewer, u"brisko-control:2"_s);
    QVERIFY(pixelsDarkerThan(image, large, 100) > pixelsDarkerThan(image, small, 100));
}

void TestHtmlLite::listsAndRulesAreSpacedAsInBrowsers()
{
    ThtmlLite viewer;
    show(viewer, u"<UL TYPE=\"DISC\">\r\n   <LI>Apples\r\n   <LI>Pears\r\n</UL><P>\r\n"
                 u"<OL TYPE=\"1\">\r\n   <LI>First\r\n</OL><P>\r\n"
                 u"<CENTER><UL TYPE=\"CIRCLE\">\r\n   <LI>Centred\r\n</UL></CENTER><P>\r\n"
                 u"<P ALIGN=\"RIGHT\"><OL TYPE=\"A\">\r\n   <LI>Right\r\n</OL></P><P>\r\n"
                 u"Above<P>\r\n<HR WIDTH=\"100%\" SIZE=\"3\"><P>\r\nBelow<P>"_s);
    const int line = textRect(viewer, u"Pears"_s).top() - textRect(viewer, u"Apples"_s).top();
    const int em = qRound(viewer.DefFontSize() * 4 / 3.0);
    // Between two lists only the list's own space, a line's height (1em); no empty line.
    const int gap = textRect(viewer, u"First"_s).top() - textRect(viewer, u"Pears"_s).top() - line;
    QVERIFY2(qAbs(gap - em) <= 3, qPrintable(QString::number(gap)));
    // A centred list keeps its marker at the margin and centres its text; a list ends the
    // right-aligned paragraph it stands in.
    QVERIFY(textRect(viewer, u"\u25E6"_s).left() < viewer.MarginWidth() + 40);
    QVERIFY(qAbs(textRect(viewer, u"Centred"_s).center().x() - 420) < 30);
    QVERIFY(textRect(viewer, u"Right"_s).left() < viewer.MarginWidth() + 60);
    // An empty paragraph before a rule keeps its space, as it does before text.
    const int aboveToBelow = textRect(viewer, u"Below"_s).top() - textRect(viewer, u"Above"_s).bottom();
    QVERIFY2(aboveToBelow >= 2 * em + 3 && aboveToBelow <= 2 * em + 8, qPrintable(QString::number(aboveToBelow)));

    // A list after a paragraph shares the paragraph's space below instead of adding its own.
    ThtmlLite after;
    show(after, u"<HR><P>\r\nHeading<P>\r\n<UL TYPE=\"DISC\">\r\n   <LI>Item\r\n</UL><P>"_s);
    const int listGap = textRect(after, u"Item"_s).top() - textRect(after, u"Heading"_s).top() - line;
    QVERIFY2(qAbs(listGap - em) <= 3, qPrintable(QString::number(listGap)));
}

void TestHtmlLite::pngPicturesAreShownWithTextAGapAway()
{
    const QString path = m_dir.filePath(u"photo.png"_s);
    QImage picture(40, 30, QImage::Format_ARGB32);
    picture.fill(kPhoto);
    picture.setPixelColor(0, 0, Qt::transparent);
    QVERIFY(picture.save(path, "PNG"));
    ThtmlLite viewer;
    show(viewer, u"<IMG SRC=\"%1\" BORDER=0 ALT=\"\" HEIGHT=\"30\" WIDTH=\"40\" ALIGN=\"LEFT\">Beside it"_s.arg(path));
    const QImage image = shot(viewer);
    const QRect photo = areaOf(image, kPhoto);
    QCOMPARE(photo.size(), QSize(40, 30));
    QCOMPARE(image.pixelColor(photo.topLeft()), QColor(Qt::white)); // the transparent corner
    QVERIFY(textRect(viewer, u"Beside"_s).left() >= photo.right() + 1 + Translate::kFloatGap);
}

void TestHtmlLite::textBesideATopAlignedPictureStandsAtItsTop()
{
    const QString top = m_dir.filePath(u"top.bmp"_s);
    const QString plain = m_dir.filePath(u"plain.bmp"_s);
    writeBmp(top, filled(QSize(80, 80), kPhoto));
    writeBmp(plain, filled(QSize(80, 80), kTileRest));
    ThtmlLite viewer;
    show(viewer, u"<IMG SRC=\"%1\" BORDER=0 ALT=\"\" HEIGHT=\"80\" WIDTH=\"80\" ALIGN=\"TOP\">Top text<P>\r\n"
                 u"<IMG SRC=\"%2\" BORDER=0 ALT=\"\" HEIGHT=\"80\" WIDTH=\"80\">Plain text<P>"_s.arg(top, plain));
    const QImage image = shot(viewer);
    // The first row of text beside each picture, within the picture's height.
    const auto firstTextRow = [&](const QRect &picture) {
        for (int y = picture.top(); y <= picture.bottom(); ++y) {
            if (pixelsDarkerThan(image, QRect(picture.right() + 2, y, 60, 1), 100) > 0)
                return y - picture.top();
        }
        return -1;
    };
    const int atTop = firstTextRow(areaOf(image, kPhoto));
    const int atFoot = firstTextRow(areaOf(image, kTileRest));
    // Where the glyphs start below the line top depends on the font the system maps the face to.
    QVERIFY2(atTop >= 0 && atTop < 20, qPrintable(QString::number(atTop)));
    QVERIFY2(atFoot > 50, qPrintable(QString::number(atFoot)));
}

QTEST_MAIN(TestHtmlLite)
#include "tst_htmllite.moc"
