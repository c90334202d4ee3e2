#include "editorfixture.h"

#include "app/panels/imagepanel.h"

#include "dialogs/picturedialog.h"
#include "platform/gui/filedialogs.h"
#include "platform/gui/messages.h"

#include <QApplication>
#include <QComboBox>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// A GIF logo of four colours: a round badge and a band on a coloured ground. Qt writes no GIF,
// so the LZW data are written here uncompressed: two literal codes after each clear code keep
// the code width at three bits.
QByteArray logoGif(QSize size, QRgb ground)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("GIF89a", 6);
    out << quint16(size.width()) << quint16(size.height()) << quint8(0x81) << quint8(0) << quint8(0);
    for (QRgb colour : {ground, qRgb(255, 255, 255), qRgb(230, 140, 30), qRgb(20, 40, 90)})
        out << quint8(qRed(colour)) << quint8(qGreen(colour)) << quint8(qBlue(colour));
    out << quint8(',') << quint16(0) << quint16(0) << quint16(size.width()) << quint16(size.height()) << quint8(0)
        << quint8(2); // minimum code size: clear code 4, end code 5

    const int side = size.height();
    const auto pixel = [side](int x, int y) {
        const int distance = (x - side / 2) * (x - side / 2) + (y - side / 2) * (y - side / 2);
        const int radius = side * 2 / 5;
        if (distance <= radius * radius)
            return distance <= radius * radius / 3 ? 3 : 2;
        return y > side * 2 / 5 && y < side * 3 / 5 && x > side ? 1 : 0;
    };
    QByteArray codes;
    quint32 bits = 0;
    int bitCount = 0;
    const auto putCode = [&](int code) {
        bits |= quint32(code) << bitCount;
        for (bitCount += 3; bitCount >= 8; bitCount -= 8, bits >>= 8)
            codes.append(char(bits & 0xff));
    };
    for (int at = 0; at < size.width() * size.height(); ++at) {
        if (at % 2 == 0)
            putCode(4);
        putCode(pixel(at % size.width(), at / size.width()));
    }
    putCode(5);
    codes.append(char(bits & 0xff));
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        out << quint8(block.size());
        out.writeRawData(block.constData(), int(block.size()));
    }
    out << quint8(0) << quint8(';');
    return data;
}

// Makes the file of that name the current one in the dialog's list, as typing its name
// into the list does.
void goToFile(QFileDialog *dialog, const QString &name)
{
    auto *list = dialog->findChild<QListView *>(u"listView"_s);
    QVERIFY(list);
    // The folder is read in the background.
    QTRY_VERIFY(list->model()->rowCount(list->rootIndex()) > 0);
    list->setFocus();
    QTest::keyClicks(list, name);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestImagePanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void imageRoundTrip();
    void imagePreviewShowsTheStoredPicture_data();
    void imagePreviewShowsTheStoredPicture();
    void largePictureSitsNearTheCornerAndScrolls();
    void typingAFileNameDoesNotChangeFileName_data();
    void typingAFileNameDoesNotChangeFileName();

    void pickingAPictureShowsMeasuresAndStoresIt_data();
    void pickingAPictureShowsMeasuresAndStoresIt();
    void aDifferentPictureOfTheSameNameIsAskedAbout_data();
    void aDifferentPictureOfTheSameNameIsAskedAbout();
    void anUndecodableFileKeepsThePreviousPictureButIsTaken_data();
    void anUndecodableFileKeepsThePreviousPictureButIsTaken();
    void cancellingChangesNothing();
    void picturesArePlacedByTheirSize();
    void aFailedCopyIsReported_data();
    void aFailedCopyIsReported();

    void dialogOpensOnTheUploadFolderWithThePictureFilter();
    void dialogPreviewsTheSelectedPicture_data();
    void dialogPreviewsTheSelectedPicture();

private:
    QString file(const QString &name) const { return m_files.filePath(name); }
    QString uploadFolder() const { return m_program + u"Upload/images/"_s; }
    // Picks path with the picture button, as if the user chose it in the dialog.
    void pick(const QString &path);
    QLabel *view() const { return control<QLabel>(*m_panel, "imgImageView"); }
    QLabel *noImage() const { return control<QLabel>(*m_panel, "lblImageError"); }
    QScrollArea *box() const { return control<QScrollArea>(*m_panel, "sboxImages"); }
    TImageBlock &block() { return m_doc.Page.Items(btImage)->ImageBlock; }
    void load() { m_panel->load(m_doc, *m_doc.Page.Items(btImage)); }
    void commit() { commitInto(*m_panel, m_doc, *m_doc.Page.Items(btImage)); }
    // Puts the pictures the preview tests load into the upload image folder.
    void storePreviewPictures();
    void loadImage(const QString &fileName);

    QTemporaryDir m_filesDir;
    QDir m_files;
    std::unique_ptr<QTemporaryDir> m_programDir;
    QString m_program;
    std::unique_ptr<TImagePanel> m_panel;
    TPagelette m_doc;
};

void TestImagePanel::initTestCase()
{
    Messages::setTestMode(true);
    QVERIFY(m_filesDir.isValid());
    m_files.setPath(m_filesDir.path());
    QVERIFY(m_files.mkpath(u"elsewhere"_s));
    QVERIFY(m_files.mkpath(u"other"_s));
    QVERIFY(writeFile(file(u"elsewhere/logo.gif"_s), logoGif(QSize(120, 60), qRgb(40, 110, 170))));
    QVERIFY(writeFile(file(u"elsewhere/logo, blue.gif"_s), logoGif(QSize(120, 60), qRgb(40, 110, 170))));
    QVERIFY(writeFile(file(u"other/logo.gif"_s), logoGif(QSize(30, 20), qRgb(160, 40, 40))));
    QVERIFY(writeFile(file(u"elsewhere/broken.gif"_s), "GIF89a this is not a picture"));
    QVERIFY(writeFile(file(u"elsewhere/empty.jpg"_s), {}));

    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QVERIFY(picture.save(file(u"elsewhere/small.bmp"_s), "BMP"));
    // We have no decoder for TIFF, whatever Qt can read.
    QVERIFY(picture.save(file(u"elsewhere/notes.tif"_s), "PNG"));
    QImage large(900, 700, QImage::Format_RGB32);
    large.fill(Qt::darkBlue);
    QVERIFY(large.save(file(u"elsewhere/large.bmp"_s), "BMP"));
}

void TestImagePanel::init()
{
    m_programDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_programDir->isValid());
    m_program = m_programDir->path() + u'/';
    QVERIFY(QDir().mkpath(uploadFolder()));

    m_panel = std::make_unique<TImagePanel>();
    m_panel->setProgramFolder(m_programDir->path());
    m_panel->resize(520, 560);
    m_panel->show();
    m_doc = pageWithEveryBlock();
    load();
    Messages::clearHistory();
}

void TestImagePanel::cleanup()
{
    m_panel.reset();
    // Leave no folder read-only behind, or the temporary folder could not be removed.
    QFile::setPermissions(uploadFolder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_programDir.reset();
    // An answer no box took would answer the next test's box: drop it, but fail this test.
    const int unused = Messages::pendingAnswers();
    Messages::setTestMode(false);
    Messages::setTestMode(true);
    QCOMPARE(unused, 0);
}

void TestImagePanel::pick(const QString &path)
{
    FileDialogs::setNextFileName(path);
    QTest::mouseClick(control<QToolButton>(*m_panel, "btnImagePic"), Qt::LeftButton);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestImagePanel::storePreviewPictures()
{
    QVERIFY(QDir().mkpath(uploadFolder() + u"folder.gif"_s));
    QVERIFY(QFile::copy(file(u"elsewhere/small.bmp"_s), uploadFolder() + u"small.bmp"_s));
    QVERIFY(QFile::copy(file(u"elsewhere/large.bmp"_s), uploadFolder() + u"large.bmp"_s));
    QVERIFY(writeFile(uploadFolder() + u"broken.bmp"_s, "BM this is not a picture"));
}

void TestImagePanel::loadImage(const QString &fileName)
{
    block().FileName = fileName;
    load();
}

void TestImagePanel::imageRoundTrip()
{
    TImageBlock &image = block();
    image = {u"missing.gif"_s, u"60"_s, u"120"_s, u"ABSMIDDLE"_s, u"Our logo"_s, u"http://example.com/"_s, u"kept"_s};
    m_panel->setProgramFolder(QDir::tempPath() + u"/no-such-brisko-folder"_s);
    load();

    const QWidget &e = *m_panel;
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
    QCOMPARE(image, (TImageBlock{u"missing.gif"_s, u"61"_s, u"abc"_s, u"TEXTTOP"_s, u"Logo"_s, u"index.html"_s,
                                 u"kept"_s}));
    QCOMPARE(control<QComboBox>(e, "cbImageAlign")->count(), 6); // typing adds nothing to the list
}

void TestImagePanel::imagePreviewShowsTheStoredPicture_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QSize>("pictureSize"); // empty: "No Image"

    QTest::newRow("stored picture") << u"small.bmp"_s << QSize(40, 30);
    QTest::newRow("missing file") << u"nothere.bmp"_s << QSize();
    QTest::newRow("no file name") << QString() << QSize();
    QTest::newRow("not a picture") << u"broken.bmp"_s << QSize();
    QTest::newRow("a folder") << u"folder.gif"_s << QSize();
}

void TestImagePanel::imagePreviewShowsTheStoredPicture()
{
    QFETCH(QString, fileName);
    QFETCH(QSize, pictureSize);
    storePreviewPictures();

    // Start from the other state, so that the load has to change it.
    loadImage(pictureSize.isEmpty() ? u"small.bmp"_s : QString());
    loadImage(fileName);

    auto *view = control<QLabel>(*m_panel, "imgImageView");
    auto *noImage = control<QLabel>(*m_panel, "lblImageError");
    auto *box = control<QScrollArea>(*m_panel, "sboxImages");
    QCOMPARE(view->toolTip(), uploadFolder() + fileName);
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
    commit();
    QCOMPARE(block().FileName, fileName);
}

void TestImagePanel::largePictureSitsNearTheCornerAndScrolls()
{
    storePreviewPictures();
    loadImage(u"large.bmp"_s);
    auto *view = control<QLabel>(*m_panel, "imgImageView");
    auto *box = control<QScrollArea>(*m_panel, "sboxImages");
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

void TestImagePanel::typingAFileNameDoesNotChangeFileName_data()
{
    QTest::addColumn<QString>("fileName");

    QTest::newRow("new image block") << QString();
    QTest::newRow("stored picture") << u"small.bmp"_s;
    QTest::newRow("missing picture") << u"nothere.bmp"_s;
}

void TestImagePanel::typingAFileNameDoesNotChangeFileName()
{
    QFETCH(QString, fileName);
    storePreviewPictures();

    loadImage(fileName);
    retype(*m_panel, "txtImageFile", u"typed.gif"_s);
    commit();
    QCOMPARE(block().FileName, fileName);
}

void TestImagePanel::pickingAPictureShowsMeasuresAndStoresIt_data()
{
    QTest::addColumn<QString>("picked");
    QTest::addColumn<bool>("uploadFolderThere");

    QTest::newRow("logo from another folder") << u"elsewhere/logo.gif"_s << true;
    QTest::newRow("no upload folder yet") << u"elsewhere/logo.gif"_s << false;
    QTest::newRow("comma in the name") << u"elsewhere/logo, blue.gif"_s << true;
}

void TestImagePanel::pickingAPictureShowsMeasuresAndStoresIt()
{
    QFETCH(QString, picked);
    QFETCH(bool, uploadFolderThere);

    if (!uploadFolderThere)
        QVERIFY(QDir(uploadFolder()).removeRecursively());
    const QString name = QFileInfo(picked).fileName();
    pick(file(picked));

    QCOMPARE(textOf(*m_panel, "txtImageH"), u"60"_s);
    QCOMPARE(textOf(*m_panel, "txtImageW"), u"120"_s);
    QCOMPARE(textOf(*m_panel, "txtImageFile"), name);
    QCOMPARE(view()->pixmap().size(), QSize(120, 60));
    QCOMPARE(view()->size(), QSize(120, 60));
    QVERIFY(!noImage()->isVisible());
    QCOMPARE(readFile(uploadFolder() + name), readFile(file(picked)));
    QCOMPARE(view()->toolTip(), uploadFolder() + name);
    QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'\n')));

    commit();
    QCOMPARE(block().FileName, name);
    QCOMPARE(block().Height, u"60"_s);
    QCOMPARE(block().Width, u"120"_s);
}

void TestImagePanel::aDifferentPictureOfTheSameNameIsAskedAbout_data()
{
    QTest::addColumn<QString>("picked");   // after elsewhere/logo.gif
    QTest::addColumn<int>("answer");       // 0: no question
    QTest::addColumn<QByteArray>("taken"); // what logo-2.gif holds beforehand
    QTest::addColumn<QString>("used");     // the name the block takes; empty when nothing changes
    QTest::addColumn<QStringList>("files");

    const QString other = u"other/logo.gif"_s;
    const QStringList one{u"logo.gif"_s}, both{u"logo-2.gif"_s, u"logo.gif"_s};
    QTest::newRow("the same picture") << u"elsewhere/logo.gif"_s << 0 << QByteArray() << u"logo.gif"_s << one;
    QTest::newRow("replace") << other << int(Messages::Yes) << QByteArray() << u"logo.gif"_s << one;
    QTest::newRow("keep both") << other << int(Messages::No) << QByteArray() << u"logo-2.gif"_s << both;
    QTest::newRow("keep both, logo-2 taken") << other << int(Messages::No) << QByteArray("another") << u"logo-3.gif"_s
                                             << QStringList{u"logo-2.gif"_s, u"logo-3.gif"_s, u"logo.gif"_s};
    QTest::newRow("keep both, logo-2 kept before")
        << other << int(Messages::No) << readFile(file(other)) << u"logo-2.gif"_s << both;
    QTest::newRow("cancel") << other << int(Messages::Cancel) << QByteArray() << QString() << one;
}

void TestImagePanel::aDifferentPictureOfTheSameNameIsAskedAbout()
{
    QFETCH(QString, picked);
    QFETCH(int, answer);
    QFETCH(QByteArray, taken);
    QFETCH(QString, used);
    QFETCH(QStringList, files);
    pick(file(u"elsewhere/logo.gif"_s));
    const QByteArray first = readFile(uploadFolder() + u"logo.gif"_s);
    if (!taken.isEmpty())
        QVERIFY(writeFile(uploadFolder() + u"logo-2.gif"_s, taken));

    if (answer != 0)
        Messages::setNextAnswer(answer);
    pick(file(picked));
    QCOMPARE(Messages::shown().size(), answer != 0 ? 1 : 0);
    const QString question = Messages::shown().value(0);
    QVERIFY(answer == 0 || (question.contains(u"\"logo.gif\""_s) &&
                            question.contains(u'"' + (used.isEmpty() ? u"logo-2.gif"_s : used))));
    QCOMPARE(QDir(uploadFolder()).entryList(QDir::Files), files);
    commit();
    // The block takes the picture under the name it is stored as; cancelled, nothing changes.
    QCOMPARE(block().FileName, used.isEmpty() ? u"logo.gif"_s : used);
    QCOMPARE(textOf(*m_panel, "txtImageFile"), block().FileName);
    QCOMPARE(view()->toolTip(), uploadFolder() + block().FileName);
    QCOMPARE(view()->pixmap().size(), picked == u"other/logo.gif" && !used.isEmpty() ? QSize(30, 20) : QSize(120, 60));
    QCOMPARE(readFile(uploadFolder() + block().FileName),
             readFile(file(used.isEmpty() ? u"elsewhere/logo.gif"_s : picked)));
    if (used != u"logo.gif")
        QCOMPARE(readFile(uploadFolder() + u"logo.gif"_s), first);
}

void TestImagePanel::anUndecodableFileKeepsThePreviousPictureButIsTaken_data()
{
    QTest::addColumn<QString>("picked");
    QTest::addColumn<bool>("pictureBefore"); // else the block's picture is missing: "No Image"

    QTest::newRow("damaged GIF after a picture") << u"elsewhere/broken.gif"_s << true;
    QTest::newRow("empty JPEG after a picture") << u"elsewhere/empty.jpg"_s << true;
    QTest::newRow("TIFF after a picture") << u"elsewhere/notes.tif"_s << true;
    QTest::newRow("damaged GIF after No Image") << u"elsewhere/broken.gif"_s << false;
}

void TestImagePanel::anUndecodableFileKeepsThePreviousPictureButIsTaken()
{
    QFETCH(QString, picked);
    QFETCH(bool, pictureBefore);

    if (pictureBefore) {
        pick(file(u"elsewhere/logo.gif"_s));
    } else {
        block() = {u"gone.gif"_s, u"33"_s, u"44"_s, {}, {}, {}, {}};
        load();
        QVERIFY(noImage()->isVisible());
    }
    const QString height = textOf(*m_panel, "txtImageH");
    const QString width = textOf(*m_panel, "txtImageW");
    const QSize shown = view()->pixmap().size();
    const QPoint place = view()->pos();

    pick(file(picked));
    QCOMPARE(textOf(*m_panel, "txtImageH"), height);
    QCOMPARE(textOf(*m_panel, "txtImageW"), width);
    QCOMPARE(view()->pixmap().size(), shown);
    QCOMPARE(view()->pos(), place);
    QCOMPARE(noImage()->isVisible(), !pictureBefore);

    // The file is taken all the same: named, copied and committed.
    const QString name = QFileInfo(picked).fileName();
    QCOMPARE(textOf(*m_panel, "txtImageFile"), name);
    QCOMPARE(readFile(uploadFolder() + name), readFile(file(picked)));
    QVERIFY(QFileInfo(uploadFolder() + name).isFile());
    QCOMPARE(view()->toolTip(), uploadFolder() + name);
    commit();
    QCOMPARE(block().FileName, name);
    QVERIFY(Messages::shown().isEmpty());
}

void TestImagePanel::cancellingChangesNothing()
{
    QVERIFY(QFile::copy(file(u"elsewhere/logo.gif"_s), uploadFolder() + u"logo.gif"_s));
    const TImageBlock before{u"logo.gif"_s, u"7"_s, u"8"_s, u"LEFT"_s, u"Our logo"_s, u"index.html"_s, {}};
    block() = before;
    load();
    retype(*m_panel, "txtImageFile", u"typed.gif"_s);

    pick(QString());
    QCOMPARE(textOf(*m_panel, "txtImageFile"), u"typed.gif"_s);
    QCOMPARE(textOf(*m_panel, "txtImageH"), u"7"_s);
    QCOMPARE(textOf(*m_panel, "txtImageW"), u"8"_s);
    QCOMPARE(view()->pixmap().size(), QSize(120, 60));
    QCOMPARE(view()->toolTip(), uploadFolder() + u"logo.gif"_s);
    QCOMPARE(QDir(uploadFolder()).entryList(QDir::Files), QStringList{u"logo.gif"_s});
    commit();
    QCOMPARE(block(), before);
}

void TestImagePanel::picturesArePlacedByTheirSize()
{
    // Larger than the box: 12 pixels from the corner, with 10 pixels to spare when scrolled.
    pick(file(u"elsewhere/large.bmp"_s));
    QCOMPARE(view()->pos(), QPoint(12, 12));
    QCOMPARE(box()->widget()->size(), QSize(12 + 900 + 10, 12 + 700 + 10));
    QVERIFY(box()->horizontalScrollBar()->maximum() > 0);
    QVERIFY(box()->verticalScrollBar()->maximum() > 0);
    box()->horizontalScrollBar()->setValue(50);
    box()->verticalScrollBar()->setValue(100);

    // Smaller: centred, the odd pixel dropped, and nothing to scroll.
    pick(file(u"elsewhere/small.bmp"_s));
    const QSize client = box()->viewport()->size();
    QCOMPARE(view()->pos(), QPoint((client.width() - 40) / 2, (client.height() - 30) / 2));
    QCOMPARE(box()->horizontalScrollBar()->maximum(), 0);
    QCOMPARE(box()->verticalScrollBar()->maximum(), 0);

    // A large picture after a scrolled one is seen from its corner.
    pick(file(u"elsewhere/large.bmp"_s));
    box()->verticalScrollBar()->setValue(100);
    pick(file(u"elsewhere/large.bmp"_s));
    QCOMPARE(box()->verticalScrollBar()->value(), 0);
    QCOMPARE(view()->pos(), QPoint(12, 12));

    // Set BRISKO_PANEL_PICTURES to a folder to look at the panel with a picked picture.
    const QString pictures = qEnvironmentVariable("BRISKO_PANEL_PICTURES");
    if (!pictures.isEmpty()) {
        pick(file(u"elsewhere/logo.gif"_s));
        m_panel->grab().save(pictures + u"/imagepanel-picked.png"_s);
    }
}

void TestImagePanel::aFailedCopyIsReported_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<QString>("reason"); // part of the reason the copy gives

    QTest::newRow("a file where the folder belongs") << u"file"_s << u"Cannot create the folder"_s;
    QTest::newRow("read-only folder") << u"read-only"_s << u"Cannot write"_s;
}

void TestImagePanel::aFailedCopyIsReported()
{
    QFETCH(QString, obstacle);
    QFETCH(QString, reason);

    if (obstacle == u"file") {
        QVERIFY(QDir(uploadFolder()).removeRecursively());
        QVERIFY(writeFile(m_program + u"Upload/images"_s, "not a folder"));
    } else {
        QVERIFY(QFile::setPermissions(uploadFolder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        if (writeFile(uploadFolder() + u"probe"_s, "x"))
            QSKIP("this user may write into read-only folders");
    }

    Messages::setNextAnswer(Messages::Ok);
    pick(file(u"elsewhere/logo.gif"_s));

    QCOMPARE(Messages::shown().size(), 1);
    const QString text = Messages::shown().constFirst();
    QCOMPARE(Messages::lastKind(), Messages::Kind::Warning);
    QCOMPARE(Messages::lastButtons(), int(Messages::Ok));
    QVERIFY2(text.contains(u"\"logo.gif\""_s), qPrintable(text));
    QVERIFY2(text.contains(reason), qPrintable(text));
    QVERIFY2(text.contains(QDir::toNativeSeparators(uploadFolder())), qPrintable(text));

    // The picture was still picked: the page names it and the preview shows it.
    QVERIFY(!QFileInfo(uploadFolder() + u"logo.gif"_s).isFile());
    QCOMPARE(textOf(*m_panel, "txtImageFile"), u"logo.gif"_s);
    QCOMPARE(textOf(*m_panel, "txtImageH"), u"60"_s);
    QCOMPARE(view()->toolTip(), uploadFolder() + u"logo.gif"_s);
    commit();
    QCOMPARE(block().FileName, u"logo.gif"_s);
}

void TestImagePanel::dialogOpensOnTheUploadFolderWithThePictureFilter()
{
    QStringList filters;
    QString folder;
    QString typedName = u"unset"_s;
    bool native = true;
    bool paneShown = false;
    QTimer::singleShot(0, m_panel.get(), [&] {
        auto *dialog = qobject_cast<TPictureDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            qFatal("the picture dialog did not open");
        filters = dialog->nameFilters();
        folder = dialog->directory().absolutePath();
        native = !dialog->testOption(QFileDialog::DontUseNativeDialog);
        auto *edit = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
        if (!edit)
            qFatal("the picture dialog has no file name box");
        typedName = edit->text();
        const auto *pane = dialog->findChild<QWidget *>(u"pnlPicturePreview"_s);
        paneShown = pane && pane->isVisible();
        if (!qEnvironmentVariableIsEmpty("BRISKO_PANEL_PICTURES")) {
            dialog->setDirectory(m_files.filePath(u"elsewhere"_s));
            goToFile(dialog, u"logo.gif"_s);
            QTRY_COMPARE(dialog->previewedSize(), QSize(120, 60));
            dialog->grab().save(qEnvironmentVariable("BRISKO_PANEL_PICTURES") + u"/picturedialog.png"_s);
        }
        edit->setText(file(u"elsewhere/logo.gif"_s));
        QTest::keyClick(edit, Qt::Key_Return);
        // A dialog that did not take the answer would wait for ever: the checks below fail instead.
        if (dialog->isVisible())
            dialog->reject();
    });
    QTest::mouseClick(control<QToolButton>(*m_panel, "btnImagePic"), Qt::LeftButton);

    QCOMPARE(FileDialogs::lastFilter(), u"Images Files|*.gif;*.jpg;*.jpeg;*.png;*.bmp"_s);
    QCOMPARE(FileDialogs::lastFolder(), uploadFolder());
    QCOMPARE(filters, QStringList{u"Images Files (*.gif *.jpg *.jpeg *.png *.bmp)"_s});
    QCOMPARE(folder, QDir(uploadFolder()).absolutePath());
    QCOMPARE(typedName, QString());
    QVERIFY(!native);
    QVERIFY(paneShown);
    // What was chosen in the dialog is picked.
    QCOMPARE(textOf(*m_panel, "txtImageFile"), u"logo.gif"_s);
    QCOMPARE(textOf(*m_panel, "txtImageH"), u"60"_s);
    QVERIFY(QFileInfo(uploadFolder() + u"logo.gif"_s).isFile());
}

void TestImagePanel::dialogPreviewsTheSelectedPicture_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QSize>("pictureSize"); // empty: no picture
    QTest::addColumn<QSize>("shownSize");
    QTest::addColumn<QString>("caption"); // "*": any text

    QTest::newRow("logo, full size") << u"elsewhere/logo.gif"_s << QSize(120, 60) << QSize(120, 60)
                                     << u"120 \u00d7 60 pixels"_s;
    QTest::newRow("large, scaled to fit")
        << u"elsewhere/large.bmp"_s << QSize(900, 700) << QSize(200, 155) << u"900 \u00d7 700 pixels"_s;
    QTest::newRow("damaged") << u"elsewhere/broken.gif"_s << QSize() << QSize() << u"*"_s;
    QTest::newRow("folder") << u"other"_s << QSize() << QSize() << QString();
}

void TestImagePanel::dialogPreviewsTheSelectedPicture()
{
    QFETCH(QString, selected);
    QFETCH(QSize, pictureSize);
    QFETCH(QSize, shownSize);
    QFETCH(QString, caption);

    TPictureDialog dialog(nullptr, TPictureDialog::kFilter.toString(), m_files.filePath(u"elsewhere"_s));
    QCOMPARE(dialog.objectName(), u"dlgPicture"_s);
    auto *picture = dialog.findChild<QLabel *>(u"imgPicturePreview"_s);
    auto *sizeText = dialog.findChild<QLabel *>(u"lblPictureSize"_s);
    QVERIFY(picture && sizeText);

    // Start from another picture, so that the selection has to change the pane.
    dialog.showPreview(file(u"other/logo.gif"_s));
    QCOMPARE(dialog.previewedSize(), QSize(30, 20));
    dialog.showPreview(file(selected));
    QCOMPARE(dialog.previewedSize(), pictureSize);
    if (shownSize.isEmpty())
        QVERIFY(picture->pixmap().isNull());
    else
        QCOMPARE(picture->pixmap().size(), shownSize);
    if (caption == u"*")
        QVERIFY(!sizeText->text().isEmpty());
    else
        QCOMPARE(sizeText->text(), caption);
    QCOMPARE(picture->text(), caption == u"*" ? u"No Preview"_s : QString());
    const QString pictures = qEnvironmentVariable("BRISKO_PANEL_PICTURES");
    if (!pictures.isEmpty())
        dialog.grab().save(pictures + u"/picturedialog-%1.png"_s.arg(QFileInfo(selected).baseName()));

    // Going to a file in the list by typing its name shows it.
    if (!pictureSize.isEmpty()) {
        dialog.showPreview(QString());
        QCOMPARE(dialog.previewedSize(), QSize());
        dialog.show();
        goToFile(&dialog, QFileInfo(selected).fileName());
        QTRY_COMPARE(dialog.previewedSize(), pictureSize);
    }
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

QTEST_MAIN(TestImagePanel)
#include "tst_imagepanel.moc"
