#include "findcontrol.h"
#include "bookmarkfixture.h"
#include "dialogs/miscdialog.h"
#include "platform/gui/filedialogs.h"
#include "platform/gui/listboxhrz.h"
#include "platform/gui/messages.h"
#include "platform/settingsstore.h"
#include "themes/gui/colorpicker.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

TFontSpec fontOf(const QString &face, int size, bool bold = false, bool italic = false, bool underline = false)
{
    TFontSpec font;
    font.Face = face;
    font.Size = size;
    font.Bold = bold;
    font.Italic = italic;
    font.Underline = underline;
    return font;
}

const QString kQuestion = u"Unable to find Netscape Bookmarks. Would you like to find it yourself?"_s;

} // namespace

class TestMiscDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void fontModeListsInstalledFacesIgnoringCase();
    void fontModeSelectsTheSampleFont_data();
    void fontModeSelectsTheSampleFont();
    void fontModeChoicesReachTheSample_data();
    void fontModeChoicesReachTheSample();

    void colorButtonPicksTheSampleColor_data();
    void colorButtonPicksTheSampleColor();

    void metaModeShowsAndReturnsTheTag_data();
    void metaModeShowsAndReturnsTheTag();
    void metaModeOkNeedsContent();

    void bookmarkModeFindsTheFile_data();
    void bookmarkModeFindsTheFile();
    void bookmarkModeGivingUpClosesWithCancel();
    void doubleClickOnBookmarkAccepts();
    void everyModeShowsItsCaptionsWhole_data();
    void everyModeShowsItsCaptionsWhole();

private:
    void writeNavigatorSettings(const QString &fileLocation, const QString &user, const QString &installDirectory);
    QString writeFixture(const QString &name);

    QTemporaryDir m_dir;
};

void TestMiscDialog::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // The browser's settings are read from the user's store; use one of our own.
    SettingsStore::useFile(m_dir.filePath(u"settings.ini"_s));
    Messages::setTestMode(true);
}

void TestMiscDialog::init()
{
    Messages::clearHistory();
    writeNavigatorSettings({}, {}, {});
}

void TestMiscDialog::writeNavigatorSettings(const QString &fileLocation, const QString &user,
                                            const QString &installDirectory)
{
    const QString settingsPath = m_dir.filePath(u"settings.ini"_s);
    {
        QSettings store(settingsPath, QSettings::IniFormat);
        store.clear();
        store.beginGroup(u"Software/Netscape/Netscape Navigator"_s);
        if (!fileLocation.isEmpty())
            store.setValue(u"Bookmark List/File Location"_s, fileLocation);
        if (!user.isEmpty())
            store.setValue(u"Biff/CurrentUser"_s, user);
        if (!installDirectory.isEmpty())
            store.setValue(u"Main/Install Directory"_s, installDirectory);
        store.endGroup();
        store.sync();
    }
    SettingsStore::useFile(settingsPath);
}

QString TestMiscDialog::writeFixture(const QString &name)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(exportedBookmarks()) < 0)
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestMiscDialog::fontModeListsInstalledFacesIgnoringCase()
{
    TfrmMisc dialog;
    dialog.setDialogMode(TfrmMisc::FontMode);
    QVERIFY(dialog.prepare());
    QCOMPARE(dialog.windowTitle(), u"Font"_s);
    auto *cbName = control<QComboBox>(dialog, u"cbName"_s);
    QStringList faces;
    for (int i = 0; i < cbName->count(); ++i)
        faces << cbName->itemText(i);
    QVERIFY(!faces.isEmpty());
    // Every installed family, once, by its name alone (without the foundry some carry).
    QSet<QString> families;
    for (const QString &family : QFontDatabase::families())
        families << family.section(u" ["_s, 0, 0);
    QCOMPARE(QSet<QString>(faces.begin(), faces.end()), families);
    QCOMPARE(QSet<QString>(faces.begin(), faces.end()).size(), faces.size());
    QVERIFY(!faces.join(u'\n').contains(u'['));
    for (qsizetype i = 1; i < faces.size(); ++i)
        QVERIFY2(faces.at(i - 1).compare(faces.at(i), Qt::CaseInsensitive) <= 0, qPrintable(faces.at(i)));
    QVERIFY(!cbName->isEditable());

    auto *cbSize = control<QComboBox>(dialog, u"cbSize"_s);
    QStringList sizes;
    for (int i = 0; i < cbSize->count(); ++i)
        sizes << cbSize->itemText(i);
    QCOMPARE(sizes, (QStringList{u"7"_s, u"6"_s, u"5"_s, u"4"_s, u"3"_s, u"2"_s, u"1"_s}));
}

void TestMiscDialog::fontModeSelectsTheSampleFont_data()
{
    QTest::addColumn<bool>("installedFace");
    QTest::addColumn<bool>("upperCase");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("sizeItem");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");

    QTest::newRow("20 points is 7") << true << false << 20 << u"7"_s << true << false << false;
    QTest::newRow("8 points is 1") << true << false << 8 << u"1"_s << false << true << false;
    QTest::newRow("12 points is 3, face in other case") << true << true << 12 << u"3"_s << false << false << true;
    QTest::newRow("9 points has no item") << true << false << 9 << QString() << true << true << true;
    QTest::newRow("face not installed") << false << false << 14 << u"4"_s << false << false << false;
}

void TestMiscDialog::fontModeSelectsTheSampleFont()
{
    QFETCH(bool, installedFace);
    QFETCH(bool, upperCase);
    QFETCH(int, points);
    QFETCH(QString, sizeItem);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, underline);

    const QString installed = TfrmMisc::installedFaces().constLast();
    QString face = installedFace ? installed : u"No Such Face 123"_s;
    if (upperCase)
        face = face.toUpper();
    const TFontSpec given = fontOf(face, points, bold, italic, underline);

    TfrmMisc dialog;
    dialog.setDialogMode(TfrmMisc::FontMode);
    dialog.setSampleFont(given);
    QVERIFY(dialog.prepare());
    QCOMPARE(control<QComboBox>(dialog, u"cbName"_s)->currentText(), installedFace ? installed : QString());
    QCOMPARE(control<QComboBox>(dialog, u"cbSize"_s)->currentText(), sizeItem);
    QCOMPARE(control<QToolButton>(dialog, u"btnBold"_s)->isChecked(), bold);
    QCOMPARE(control<QToolButton>(dialog, u"btnItalic"_s)->isChecked(), italic);
    QCOMPARE(control<QToolButton>(dialog, u"btnUnderline"_s)->isChecked(), underline);
    // Showing changes nothing: the caller gets back what it gave, a 9 point size included.
    QCOMPARE(dialog.sampleFont(), given);
    const QFont shown = control<QLabel>(dialog, u"lblPreview"_s)->font();
    QCOMPARE(shown.pointSize(), points);
    QCOMPARE(shown.bold(), bold);
    QCOMPARE(shown.underline(), underline);
}

void TestMiscDialog::fontModeChoicesReachTheSample_data()
{
    QTest::addColumn<int>("sizeRow");
    QTest::addColumn<int>("points");
    for (int row = 0; row < 7; ++row)
        QTest::addRow("item %d", 7 - row) << row << 20 - 2 * row;
}

void TestMiscDialog::fontModeChoicesReachTheSample()
{
    QFETCH(int, sizeRow);
    QFETCH(int, points);

    TfrmMisc dialog;
    dialog.setDialogMode(TfrmMisc::FontMode);
    TFontSpec given = fontOf(u"Times New Roman"_s, 9, true);
    given.Color = 0x123456;
    dialog.setSampleFont(given);
    bool nameHadFocus = false;
    QTimer::singleShot(0, &dialog, [&dialog, &nameHadFocus, sizeRow] {
        auto *cbName = control<QComboBox>(dialog, u"cbName"_s);
        nameHadFocus = dialog.focusWidget() == cbName;
        cbName->setCurrentIndex(0);
        control<QComboBox>(dialog, u"cbSize"_s)->setCurrentIndex(sizeRow);
        QTest::mouseClick(control<QToolButton>(dialog, u"btnBold"_s), Qt::LeftButton);
        QTest::mouseClick(control<QToolButton>(dialog, u"btnItalic"_s), Qt::LeftButton);
        QTest::mouseClick(control<QToolButton>(dialog, u"btnUnderline"_s), Qt::LeftButton);
        QTest::mouseClick(control<QToolButton>(dialog, u"btnUnderline"_s), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>(dialog, u"btnOK"_s), Qt::LeftButton);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY(nameHadFocus);

    TFontSpec expected = fontOf(control<QComboBox>(dialog, u"cbName"_s)->itemText(0), points, false, true, false);
    expected.Color = 0x123456;
    QCOMPARE(dialog.sampleFont(), expected);
    const QFont shown = control<QLabel>(dialog, u"lblPreview"_s)->font();
    QCOMPARE(shown.family(), expected.Face);
    QCOMPARE(shown.pointSize(), points);
    QVERIFY(shown.italic() && !shown.bold() && !shown.underline());
}

void TestMiscDialog::colorButtonPicksTheSampleColor_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<TColor>("color");
    QTest::newRow("OK takes the picked colour") << u"bntOK"_s << TColor(0x1234FF);
    QTest::newRow("Cancel keeps the sample's") << u"btnCancel"_s << TColor(0x123456);
}

void TestMiscDialog::colorButtonPicksTheSampleColor()
{
    QFETCH(QString, button);
    QFETCH(TColor, color);

    TfrmMisc dialog;
    TFontSpec given = fontOf(u"Times New Roman"_s, 12);
    given.Color = 0x123456;
    dialog.setSampleFont(given);
    QVERIFY(dialog.prepare());
    dialog.show();
    // The test has no program folder with palettes; the picker reports that and goes on.
    if (!TfrmColor::paletteLoaded())
        Messages::setNextAnswer(Messages::Ok);
    TColor offered = -1;
    QTimer::singleShot(0, &dialog, [&offered, button] {
        auto *picker = qobject_cast<TfrmColor *>(QApplication::activeModalWidget());
        if (!picker)
            qFatal("the colour picker did not open");
        offered = picker->previewColor();
        control<QScrollBar>(*picker, u"hsbRed"_s)->setValue(255);
        QTest::mouseClick(control<QPushButton>(*picker, button), Qt::LeftButton);
    });
    QTest::mouseClick(control<QToolButton>(dialog, u"btnColor"_s), Qt::LeftButton);
    QCOMPARE(offered, TColor(0x123456));
    QCOMPARE(dialog.sampleFont().Color, color);
    QCOMPARE(control<QLabel>(dialog, u"lblPreview"_s)->palette().color(QPalette::WindowText),
             QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestMiscDialog::metaModeShowsAndReturnsTheTag_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");

    QTest::newRow("exact") << u"Keywords"_s << u"Keywords"_s;
    QTest::newRow("other case") << u"pics-label"_s << u"Pics-Label"_s;
    QTest::newRow("last") << u"REPLY-TO"_s << u"Reply-to"_s;
    // A name from a page made elsewhere stays as it is.
    QTest::newRow("not one of the five") << u"Robots"_s << u"Robots"_s;
    QTest::newRow("no name") << QString() << QString();
}

void TestMiscDialog::metaModeShowsAndReturnsTheTag()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);

    TfrmMisc dialog;
    dialog.setDialogMode(TfrmMisc::MetaMode);
    dialog.setMetaName(name);
    dialog.setMetaContent(u"walks, hills"_s);
    bool contentHadFocus = false;
    QTimer::singleShot(0, &dialog, [&dialog, &contentHadFocus] {
        contentHadFocus = dialog.focusWidget() == control<QLineEdit>(dialog, u"txtMetaContent"_s);
        // The content comes up selected, as in any edit box that takes the focus.
        QTest::keyClick(control<QLineEdit>(dialog, u"txtMetaContent"_s), Qt::Key_End);
        QTest::keyClicks(control<QLineEdit>(dialog, u"txtMetaContent"_s), u" and more"_s);
        QTest::mouseClick(control<QPushButton>(dialog, u"btnOK"_s), Qt::LeftButton);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY(contentHadFocus);
    QCOMPARE(dialog.windowTitle(), u"Meta Tag"_s);
    QCOMPARE(dialog.metaName(), shown);
    QCOMPARE(dialog.metaContent(), u"walks, hills and more"_s);
}

void TestMiscDialog::metaModeOkNeedsContent()
{
    TfrmMisc dialog;
    dialog.setDialogMode(TfrmMisc::MetaMode);
    dialog.setMetaName(u"Description"_s);
    QVERIFY(dialog.prepare());
    auto *ok = control<QPushButton>(dialog, u"btnOK"_s);
    auto *content = control<QLineEdit>(dialog, u"txtMetaContent"_s);
    QVERIFY(!ok->isEnabled());
    QTest::keyClick(content, Qt::Key_A);
    QVERIFY(ok->isEnabled());
    QTest::keyClick(content, Qt::Key_Backspace);
    QVERIFY(!ok->isEnabled());
}

void TestMiscDialog::bookmarkModeFindsTheFile_data()
{
    QTest::addColumn<bool>("fromFileLocation");
    QTest::addColumn<bool>("fromInstallDirectory");
    QTest::addColumn<bool>("pickedByUser");

    QTest::newRow("file location") << true << false << false;
    QTest::newRow("install directory cut at Communicator") << false << true << false;
    QTest::newRow("nothing found, user picks the file") << false << false << true;
}

void TestMiscDialog::bookmarkModeFindsTheFile()
{
    QFETCH(bool, fromFileLocation);
    QFETCH(bool, fromInstallDirectory);
    QFETCH(bool, pickedByUser);

    const QString fixture = writeFixture(u"bookmarks.html"_s);
    if (fromFileLocation)
        writeNavigatorSettings(fixture, u"jo"_s, {});
    if (fromInstallDirectory) {
        // The built path keeps the registry's separators, which are plain name characters here.
        writeFixture(u"Users\\jo\\bookmark.htm"_s);
        writeNavigatorSettings({}, u"jo"_s, m_dir.path() + u"/Communicator\\Program\\"_s);
    }
    if (pickedByUser) {
        writeNavigatorSettings({}, u"jo"_s, m_dir.path() + u"/Netscape"_s);
        Messages::setNextAnswer(Messages::Yes);
        FileDialogs::setNextFileName(fixture);
    }

    TfrmMisc dialog;
    dialog.setDialogMode(TfrmMisc::BookmarkMode);
    QVERIFY(dialog.prepare());
    QCOMPARE(dialog.windowTitle(), u"Netscape Bookmarks"_s);
    QCOMPARE(dialog.bookmarks(), exportedAddresses());
    QCOMPARE(dialog.selectedBookmark(), exportedAddresses().constFirst());
    QCOMPARE(Messages::shown(), pickedByUser ? QStringList{kQuestion} : QStringList());
    if (pickedByUser) {
        QCOMPARE(Messages::lastKind(), Messages::Kind::Information);
        QCOMPARE(Messages::lastButtons(), Messages::Yes | Messages::No);
        QCOMPARE(FileDialogs::lastFilter(), u"HTML Files|*.htm;*.html"_s);
    }
}

void TestMiscDialog::bookmarkModeGivingUpClosesWithCancel()
{
    // No: the placeholder entry, selected. Yes without a file: nothing added.
    for (const bool yes : {false, true}) {
        Messages::clearHistory();
        Messages::setNextAnswer(yes ? Messages::Yes : Messages::No);
        if (yes)
            FileDialogs::setNextFileName(QString());
        TfrmMisc dialog;
        dialog.setDialogMode(TfrmMisc::BookmarkMode);
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(Messages::shown(), QStringList{kQuestion});
        QCOMPARE(dialog.bookmarks(), yes ? QStringList() : QStringList{u"No Bookmarks found."_s});
        QCOMPARE(dialog.selectedBookmark(), yes ? QString() : u"No Bookmarks found."_s);
    }
}

void TestMiscDialog::doubleClickOnBookmarkAccepts()
{
    writeNavigatorSettings(writeFixture(u"bookmarks.html"_s), {}, {});
    TfrmMisc dialog;
    dialog.setDialogMode(TfrmMisc::BookmarkMode);
    QTimer::singleShot(0, &dialog, [&dialog] {
        auto *list = control<TListBoxHrz>(dialog, u"lstBookmarks"_s);
        const QPoint where = list->visualItemRect(list->item(2)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, where);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, where);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(dialog.selectedBookmark(), exportedAddresses().at(2));
}

void TestMiscDialog::everyModeShowsItsCaptionsWhole_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("font") << int(TfrmMisc::FontMode);
    QTest::newRow("bookmarks") << int(TfrmMisc::BookmarkMode);
    QTest::newRow("meta") << int(TfrmMisc::MetaMode);
}

void TestMiscDialog::everyModeShowsItsCaptionsWhole()
{
    QFETCH(int, mode);
    writeNavigatorSettings(writeFixture(u"bookmarks.html"_s), {}, {});
    TfrmMisc dialog;
    dialog.setDialogMode(quint8(mode));
    dialog.setSampleFont(fontOf(TfrmMisc::installedFaces().value(0), 14, true));
    dialog.setMetaName(u"Keywords"_s);
    dialog.setMetaContent(u"walks, hills"_s);
    QVERIFY(dialog.prepare());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QList<QWidget *> captioned;
    for (QLabel *label : dialog.findChildren<QLabel *>())
        captioned << label;
    for (QAbstractButton *button : dialog.findChildren<QAbstractButton *>())
        captioned << button;
    for (QWidget *widget : captioned) {
        // The font sample is a picture of the font, sized by the dialog, not a caption.
        if (!widget->isVisible() || widget->objectName() == u"lblPreview")
            continue;
        QVERIFY2(widget->width() >= widget->minimumSizeHint().width(), qPrintable(widget->objectName()));
        QVERIFY2(widget->height() >= widget->minimumSizeHint().height(), qPrintable(widget->objectName()));
    }

    // Set BRISKO_PANEL_PICTURES to a folder to look at the dialog.
    const QString pictures = qEnvironmentVariable("BRISKO_PANEL_PICTURES");
    if (!pictures.isEmpty())
        dialog.grab().save(pictures + u"/miscdialog-%1.png"_s.arg(mode));
}

QTEST_MAIN(TestMiscDialog)
#include "tst_miscdialog.moc"
