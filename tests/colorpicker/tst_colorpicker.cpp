#include "findcontrol.h"
#include "platform/gui/messages.h"
#include "themes/gui/colorpicker.h"
#include "themes/gui/palettegrid.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QColor qcolor(TColor c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// Every position of the test's default palette tells itself apart by its red.
TColor webColour(int i)
{
    return RGBColor(i, 255 - i, (i * 7) % 256);
}

const QStringList kDecimal = {u"txtRed"_s, u"txtGreen"_s, u"txtBlue"_s};
const QStringList kHexadecimal = {u"txtHRed"_s, u"txtHGreen"_s, u"txtHBlue"_s};
const QStringList kBars = {u"hsbRed"_s, u"hsbGreen"_s, u"hsbBlue"_s};
const TColor kStart = RGBColor(200, 100, 50);

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

class TestColorPicker : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void tabVisitsTheControlsInOrderAndSkipsTheScrollBars();
    void captionsFitTheirControls();
    void gridPaintsSquaresOnA15PixelPitch();
    void clickPicksTheCellItLandsOn_data();
    void clickPicksTheCellItLandsOn();
    void pickerFrameOutlinesThePickedSquare();
    void failedDefaultLoadKeepsTheLastPalette();
    void startingColourReachesEveryControl_data();
    void startingColourReachesEveryControl();
    void decimalEditsTakeEveryValidKeystroke_data();
    void decimalEditsTakeEveryValidKeystroke();
    void hexadecimalEditsTakeTheirValueOnLeaving_data();
    void hexadecimalEditsTakeTheirValueOnLeaving();
    void scrollBarsDriveEditsAndSample_data();
    void scrollBarsDriveEditsAndSample();
    void paletteListSwitchesThePalette();
    void defaultPaletteIsChosenIgnoringCase_data();
    void defaultPaletteIsChosenIgnoringCase();
    void closingReturnsTheSampleColour_data();
    void closingReturnsTheSampleColour();

private:
    // A shown, active picker on the test's program folder, starting from start.
    std::unique_ptr<TfrmColor> openPicker(TColor start = kStart, const QString &folder = QString());
    // Checks that edits, scroll bars and sample all show colour.
    void verifyShows(const TfrmColor &picker, TColor colour);

    QTemporaryDir m_program;
    QTemporaryDir m_empty;
};

void TestColorPicker::initTestCase()
{
    QVERIFY(m_program.isValid() && m_empty.isValid());
    QVERIFY(QDir(m_program.path()).mkdir(u"Palettes"_s));
    QByteArray web = "Web Palette\r\n256\r\n";
    for (int i = 0; i < 256; ++i) {
        const TColor c = webColour(i);
        web += QByteArray::number(c & 0xFF) + ' ' + QByteArray::number((c >> 8) & 0xFF) + ' ' +
               QByteArray::number((c >> 16) & 0xFF) + "\r\n";
    }
    writeFile(m_program.filePath(u"Palettes/Web Palette.pal"_s), web);
    writeFile(m_program.filePath(u"Palettes/Grey.pal"_s), "Grey\r\n3\r\n10 10 10\r\n20 20 20\r\n30 30 30\r\n");
    writeFile(m_program.filePath(u"Palettes/Sea.PAL"_s), "0 0 128\n");
    Messages::setTestMode(true);
}

void TestColorPicker::init()
{
    Messages::clearHistory();
    QTest::failOnWarning(QRegularExpression(u"Messages:|Art:"_s));
    TfrmColor::resetPalette();
}

std::unique_ptr<TfrmColor> TestColorPicker::openPicker(TColor start, const QString &folder)
{
    auto picker = std::make_unique<TfrmColor>(nullptr, folder.isEmpty() ? m_program.path() : folder);
    picker->setPickedColor(start);
    picker->show();
    picker->activateWindow();
    if (!QTest::qWaitForWindowActive(picker.get()))
        qFatal("the picker did not become active");
    return picker;
}

void TestColorPicker::verifyShows(const TfrmColor &picker, TColor colour)
{
    for (int i = 0; i < 3; ++i) {
        const int value = (colour >> (8 * i)) & 0xFF;
        QCOMPARE(control<QScrollBar>(picker, kBars[i])->value(), value);
        QCOMPARE(control<QLineEdit>(picker, kDecimal[i])->text(), QString::number(value));
        QCOMPARE(control<QLineEdit>(picker, kHexadecimal[i])->text(),
                 u"%1"_s.arg(value, 2, 16, QLatin1Char('0')).toUpper());
    }
    QCOMPARE(picker.previewColor(), colour);
    QCOMPARE(control(picker, u"shpPreview"_s)->palette().color(QPalette::Window), qcolor(colour));
}

void TestColorPicker::tabVisitsTheControlsInOrderAndSkipsTheScrollBars()
{
    const auto picker = openPicker();
    QStringList visited;
    for (int i = 0; i < 10; ++i) {
        visited.append(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, (QStringList{u"bntOK"_s, u"cbPalette"_s, u"txtRed"_s, u"txtGreen"_s, u"txtBlue"_s, u"txtHRed"_s,
                                   u"txtHGreen"_s, u"txtHBlue"_s, u"btnCancel"_s, u"bntOK"_s}));
}

void TestColorPicker::captionsFitTheirControls()
{
    const auto picker = openPicker();
    QCOMPARE(picker->windowTitle(), u"Color Picker"_s);
    QCOMPARE(picker->minimumSize(), QSize(479, 294));
    QCOMPARE(picker->maximumSize(), QSize(479, 294));
    const QList<std::pair<QString, QString>> captions = {
        {u"lbl0"_s, u"&Palette Name"_s}, {u"lbl2"_s, u"RGB"_s}, {u"lbl3"_s, u"HEX"_s},
        {u"lbl4"_s, u"Sample"_s},        {u"bntOK"_s, u"OK"_s}, {u"btnCancel"_s, u"Cancel"_s}};
    for (const auto &[name, caption] : captions) {
        const QWidget *widget = control(*picker, name);
        const auto *label = qobject_cast<const QLabel *>(widget);
        QCOMPARE(label ? label->text() : static_cast<const QPushButton *>(widget)->text(), caption);
        const QSize needed =
            label ? label->sizeHint() : widget->fontMetrics().size(Qt::TextShowMnemonic, caption) + QSize(12, 4);
        QVERIFY2(needed.width() <= widget->width() && needed.height() <= widget->height(), qPrintable(name));
    }
}

void TestColorPicker::gridPaintsSquaresOnA15PixelPitch()
{
    const auto picker = openPicker();
    auto *grid = control<TPaletteGrid>(*picker, u"pbPalette"_s);
    QCOMPARE(grid->geometry(), QRect(6, 10, 242, 242));
    const QImage image = picker->grab().toImage().copy(grid->geometry());
    const QColor background = picker->palette().color(QPalette::Window);

    // Squares run from 15c + 2 to 15c + 14; the two pixels between them are left alone.
    const auto square = [](int p) { return p >= 2 && p < 240 && (p - 2) % 15 < 13 ? (p - 2) / 15 : -1; };
    for (int y = 2; y < 240; ++y) {
        for (int x = 2; x < 240; ++x) {
            const int row = square(y);
            const int column = square(x);
            const QColor want = row >= 0 && column >= 0 ? qcolor(webColour(row * 16 + column)) : background;
            if (image.pixelColor(x, y) != want)
                QFAIL(qPrintable(u"pixel %1,%2 is %3"_s.arg(x).arg(y).arg(image.pixelColor(x, y).name())));
        }
    }
    // A sunken edge, two pixels wide: dark at the top left, light at the bottom right.
    for (int p : {0, 1}) {
        QVERIFY(image.pixelColor(p, 120).lightness() < image.pixelColor(241 - p, 120).lightness());
        QVERIFY(image.pixelColor(120, p).lightness() < image.pixelColor(120, 241 - p).lightness());
    }
}

void TestColorPicker::clickPicksTheCellItLandsOn_data()
{
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");

    // QTest takes the point (0, 0) for the middle of the widget, so the outermost corner is left out.
    QTest::newRow("outer pixel of the sunken edge") << QPoint(0, 1) << 0 << 0;
    QTest::newRow("inner pixel of the sunken edge") << QPoint(1, 1) << 0 << 0;
    QTest::newRow("first pixel of the first square") << QPoint(2, 2) << 0 << 0;
    QTest::newRow("last pixel of the first square") << QPoint(14, 14) << 0 << 0;
    QTest::newRow("gap pixel right of a square") << QPoint(15, 8) << 0 << 0;
    QTest::newRow("gap pixel left of the next square") << QPoint(16, 8) << 0 << 0;
    QTest::newRow("first pixel of the second square") << QPoint(17, 8) << 0 << 0;
    QTest::newRow("second pixel of the second square") << QPoint(18, 8) << 0 << 1;
    QTest::newRow("first pixel of a square, by row") << QPoint(8, 17) << 0 << 0;
    QTest::newRow("second pixel of a square, by row") << QPoint(8, 18) << 1 << 0;
    QTest::newRow("middle of the grid") << QPoint(7 * 15 + 8, 9 * 15 + 8) << 9 << 7;
    QTest::newRow("last pixel of the last square") << QPoint(239, 239) << 15 << 15;
    QTest::newRow("edge beyond the last square") << QPoint(241, 241) << 15 << 15;
    QTest::newRow("edge beyond the last column") << QPoint(241, 2) << 0 << 15;
    QTest::newRow("edge below the last row") << QPoint(2, 240) << 15 << 0;
}

void TestColorPicker::clickPicksTheCellItLandsOn()
{
    QFETCH(QPoint, position);
    QFETCH(int, row);
    QFETCH(int, column);

    const auto picker = openPicker();
    auto *grid = control(*picker, u"pbPalette"_s);
    auto *frame = control(*picker, u"shpPicker"_s);
    QVERIFY(!frame->isVisible());
    QTest::mouseClick(grid, Qt::LeftButton, {}, position);
    verifyShows(*picker, webColour(row * 16 + column));
    QVERIFY(frame->isVisible());
    QCOMPARE(frame->geometry(), QRect(6 + 15 * column, 10 + 15 * row, 17, 17));
    QVERIFY(frame->testAttribute(Qt::WA_TransparentForMouseEvents));
}

void TestColorPicker::pickerFrameOutlinesThePickedSquare()
{
    const auto picker = openPicker();
    auto *grid = control(*picker, u"pbPalette"_s);
    QTest::mouseClick(grid, Qt::RightButton, {}, QPoint(50, 80));
    QVERIFY(!control(*picker, u"shpPicker"_s)->isVisible());
    QCOMPARE(picker->previewColor(), kStart);

    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(50, 80)); // row 5, column 3
    const QImage image = picker->grab().toImage().copy(6 + 45, 10 + 75, 17, 17);
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 17; ++x) {
            const bool ring = x < 2 || y < 2 || x > 14 || y > 14;
            const QColor want = ring ? QColor(Qt::red) : qcolor(webColour(5 * 16 + 3));
            QVERIFY2(image.pixelColor(x, y) == want, qPrintable(u"%1,%2"_s.arg(x).arg(y)));
        }
    }
}

void TestColorPicker::failedDefaultLoadKeepsTheLastPalette()
{
    // Before any palette has loaded, the grid shows nothing and ignores the mouse.
    Messages::setNextAnswer(Messages::Ok);
    auto picker = openPicker(kStart, m_empty.path());
    QCOMPARE(Messages::shown().size(), 1);
    QVERIFY(Messages::shown().constFirst().contains(u"Web Palette.pal"_s));
    QCOMPARE(Messages::lastKind(), Messages::Kind::Error);
    QCOMPARE(control<QComboBox>(*picker, u"cbPalette"_s)->count(), 0);
    auto *grid = control(*picker, u"pbPalette"_s);
    const QImage empty = picker->grab().toImage().copy(grid->geometry());
    const QColor background = picker->palette().color(QPalette::Window);
    for (int y = 0; y < empty.height(); ++y) {
        for (int x = 0; x < empty.width(); ++x)
            QVERIFY2(empty.pixelColor(x, y) == background, qPrintable(u"%1,%2"_s.arg(x).arg(y)));
    }
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(20, 20));
    QVERIFY(!control(*picker, u"shpPicker"_s)->isVisible());
    verifyShows(*picker, kStart);

    // Once one has loaded, a later picker whose load fails shows and picks from it.
    openPicker().reset();
    Messages::setNextAnswer(Messages::Ok);
    picker = openPicker(kStart, m_empty.path());
    QCOMPARE(Messages::shown().size(), 2);
    grid = control(*picker, u"pbPalette"_s);
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(2 * 15 + 8, 2 * 15 + 8));
    verifyShows(*picker, webColour(2 * 16 + 2));
    QCOMPARE(picker->grab().toImage().pixelColor(6 + 15 * 5 + 8, 10 + 15 * 2 + 8), qcolor(webColour(2 * 16 + 5)));
}

void TestColorPicker::startingColourReachesEveryControl_data()
{
    QTest::addColumn<TColor>("start");
    QTest::newRow("white leaves the controls as they are") << TColor(0xFFFFFF);
    QTest::newRow("black") << TColor(0);
    QTest::newRow("each component its own") << RGBColor(0x12, 0xAB, 0x0C);
    QTest::newRow("no colour chosen") << TColor(327680);
}

void TestColorPicker::startingColourReachesEveryControl()
{
    QFETCH(TColor, start);
    const auto picker = openPicker(start);
    verifyShows(*picker, start);
}

void TestColorPicker::decimalEditsTakeEveryValidKeystroke_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<bool>("replace"); // select the whole text before typing
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("value");

    QTest::newRow("3 0 0 stops at 30") << 0 << true << u"300"_s << 30;
    QTest::newRow("emptied edit takes the value back") << 0 << true << u"\b"_s << 200;
    QTest::newRow("backspacing digit by digit") << 0 << false << u"\b\b\b"_s << 2;
    QTest::newRow("letters, signs and blanks dropped") << 1 << true << u"1x- 2a"_s << 12;
    QTest::newRow("leading zeros go") << 1 << true << u"007"_s << 7;
    QTest::newRow("255 taken") << 2 << true << u"255"_s << 255;
    QTest::newRow("256 stops at 25") << 2 << true << u"256"_s << 25;
    QTest::newRow("999 stops at 99") << 2 << true << u"999"_s << 99;
}

void TestColorPicker::decimalEditsTakeEveryValidKeystroke()
{
    QFETCH(int, channel);
    QFETCH(bool, replace);
    QFETCH(QString, keys);
    QFETCH(int, value);

    const auto picker = openPicker();
    auto *edit = control<QLineEdit>(*picker, kDecimal[channel]);
    edit->setFocus();
    if (replace)
        edit->selectAll();
    else
        edit->end(false);
    QTest::keyClicks(edit, keys);
    const int shift = 8 * channel;
    verifyShows(*picker, (kStart & ~(0xFF << shift)) | (value << shift));
}

void TestColorPicker::hexadecimalEditsTakeTheirValueOnLeaving_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("typed"); // what the edit shows before it is left
    QTest::addColumn<QString>("leave"); // "tab", a control to click, "window" or "" to stay
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("value"); // green afterwards; it starts at 100 (64)

    QTest::newRow("two digits by Tab") << u"7f"_s << u"7F"_s << u"tab"_s << u"7F"_s << 0x7F;
    QTest::newRow("two letters by mouse") << u"aB"_s << u"AB"_s << u"txtRed"_s << u"AB"_s << 0xAB;
    QTest::newRow("scroll bar clicked") << u"3c"_s << u"3C"_s << u"hsbBlue"_s << u"3C"_s << 0x3C;
    QTest::newRow("other keys dropped") << u"g1 z-2"_s << u"12"_s << u"tab"_s << u"12"_s << 0x12;
    QTest::newRow("single digit put back") << u"7"_s << u"7"_s << u"tab"_s << u"64"_s << 100;
    QTest::newRow("emptied edit put back") << u"\b"_s << QString() << u"txtRed"_s << u"64"_s << 100;
    QTest::newRow("nothing taken while typing") << u"7f"_s << u"7F"_s << QString() << u"7F"_s << 100;
    QTest::newRow("another window taking the focus") << u"7"_s << u"7"_s << u"window"_s << u"7"_s << 100;
}

void TestColorPicker::hexadecimalEditsTakeTheirValueOnLeaving()
{
    QFETCH(QString, keys);
    QFETCH(QString, typed);
    QFETCH(QString, leave);
    QFETCH(QString, after);
    QFETCH(int, value);

    const auto picker = openPicker();
    auto *edit = control<QLineEdit>(*picker, u"txtHGreen"_s);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, keys);
    QCOMPARE(edit->text(), typed);
    QCOMPARE(picker->previewColor(), kStart);
    if (leave == u"tab") {
        QTest::keyClick(edit, Qt::Key_Tab);
    } else if (leave == u"window") {
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(edit, &out);
    } else if (!leave.isEmpty()) {
        QTest::mouseClick(control(*picker, leave), Qt::LeftButton);
    }
    if (!leave.isEmpty() && leave != u"window")
        QVERIFY(!edit->hasFocus());
    QCOMPARE(edit->text(), after);
    QCOMPARE(control<QScrollBar>(*picker, u"hsbGreen"_s)->value(), value);
    QCOMPARE(control<QLineEdit>(*picker, u"txtGreen"_s)->text(), QString::number(value));
    QCOMPARE((picker->previewColor() >> 8) & 0xFF, value);
    QCOMPARE(picker->previewColor() & 0xFF, 200);
}

void TestColorPicker::scrollBarsDriveEditsAndSample_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("value");

    QTest::newRow("red one step back") << 0 << int(QAbstractSlider::SliderSingleStepSub) << 199;
    QTest::newRow("green a page on") << 1 << int(QAbstractSlider::SliderPageStepAdd) << 105;
    QTest::newRow("blue to the start") << 2 << int(QAbstractSlider::SliderToMinimum) << 0;
    QTest::newRow("blue to the end") << 2 << int(QAbstractSlider::SliderToMaximum) << 255;
}

void TestColorPicker::scrollBarsDriveEditsAndSample()
{
    QFETCH(int, channel);
    QFETCH(int, action);
    QFETCH(int, value);

    const auto picker = openPicker();
    control<QScrollBar>(*picker, kBars[channel])->triggerAction(QAbstractSlider::SliderAction(action));
    const int shift = 8 * channel;
    verifyShows(*picker, (kStart & ~(0xFF << shift)) | (value << shift));
}

void TestColorPicker::paletteListSwitchesThePalette()
{
    const QString gone = m_program.filePath(u"Palettes/Gone.pal"_s);
    writeFile(gone, "1 1 1\n");
    QStringList expected;
    for (const QString &file : QDir(m_program.filePath(u"Palettes"_s)).entryList(QDir::Files, QDir::Unsorted))
        expected.append(file.chopped(4));
    const auto picker = openPicker();
    QVERIFY(QFile::remove(gone));
    auto *list = control<QComboBox>(*picker, u"cbPalette"_s);
    auto *grid = control(*picker, u"pbPalette"_s);
    auto *frame = control(*picker, u"shpPicker"_s);

    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names.append(list->itemText(i));
    QCOMPARE(names, expected);
    QCOMPARE(list->currentText(), u"Web Palette"_s);
    QVERIFY(!list->isEditable());

    const auto choose = [&](const QString &name) {
        QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(8, 8));
        QVERIFY(frame->isVisible());
        list->setCurrentIndex(list->findText(name));
    };
    choose(u"Grey"_s);
    QVERIFY(!frame->isVisible());
    QCOMPARE(TfrmColor::paletteTable()[2], RGBColor(30, 30, 30));
    QCOMPARE(TfrmColor::paletteTable()[3], TColor(0xFFFFFF));
    QCOMPARE(picker->grab().toImage().pixelColor(6 + 15 + 8, 10 + 8), QColor(20, 20, 20));
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(15 + 8, 8));
    verifyShows(*picker, RGBColor(20, 20, 20));

    // An extension in capitals is still a palette of its own name.
    choose(u"Sea"_s);
    QCOMPARE(TfrmColor::paletteTable()[0], RGBColor(0, 0, 128));
    QVERIFY(Messages::shown().isEmpty());

    Messages::setNextAnswer(Messages::Ok);
    choose(u"Gone"_s);
    QVERIFY(!frame->isVisible());
    QCOMPARE(Messages::shown().size(), 1);
    QVERIFY(Messages::shown().constFirst().contains(u"Gone.pal"_s));
    QCOMPARE(TfrmColor::paletteTable()[0], RGBColor(0, 0, 128));
    QCOMPARE(picker->grab().toImage().pixelColor(6 + 8, 10 + 8), QColor(0, 0, 128));
}

void TestColorPicker::defaultPaletteIsChosenIgnoringCase_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("selected");

    QTest::newRow("other case") << u"WEB palette.Pal"_s << u"WEB palette"_s;
    QTest::newRow("none") << u"Other.pal"_s << QString();
}

void TestColorPicker::defaultPaletteIsChosenIgnoringCase()
{
    QFETCH(QString, file);
    QFETCH(QString, selected);

    QTemporaryDir program;
    QVERIFY(QDir(program.path()).mkdir(u"Palettes"_s));
    writeFile(program.filePath(u"Palettes/"_s + file), "9 8 7\n");
    if (selected.isEmpty())
        Messages::setNextAnswer(Messages::Ok);
    const auto picker = openPicker(kStart, program.path());
    const auto *list = control<QComboBox>(*picker, u"cbPalette"_s);
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->currentText(), selected);
    QCOMPARE(list->currentIndex(), selected.isEmpty() ? -1 : 0);
    QCOMPARE(TfrmColor::paletteLoaded(), !selected.isEmpty());
    QCOMPARE(Messages::shown().size(), selected.isEmpty() ? 1 : 0);
}

void TestColorPicker::closingReturnsTheSampleColour_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("pendingHex"); // green "7F" typed and not yet left
    QTest::addColumn<int>("result");
    QTest::addColumn<TColor>("picked");

    const TColor sample = RGBColor(10, 100, 50);
    const TColor typed = RGBColor(10, 0x7F, 50);
    QTest::newRow("OK") << u"ok"_s << false << int(QDialog::Accepted) << sample;
    QTest::newRow("Cancel") << u"cancel"_s << false << int(QDialog::Rejected) << sample;
    QTest::newRow("Escape") << u"escape"_s << false << int(QDialog::Rejected) << sample;
    QTest::newRow("close box") << u"close"_s << false << int(QDialog::Rejected) << sample;
    QTest::newRow("OK clicked after typing") << u"ok"_s << true << int(QDialog::Accepted) << typed;
    QTest::newRow("Enter after typing takes the value") << u"enter"_s << true << int(QDialog::Accepted) << typed;
    QTest::newRow("Cancel clicked after typing") << u"cancel"_s << true << int(QDialog::Rejected) << typed;
    QTest::newRow("Escape after typing") << u"escape"_s << true << int(QDialog::Rejected) << sample;
}

void TestColorPicker::closingReturnsTheSampleColour()
{
    QFETCH(QString, how);
    QFETCH(bool, pendingHex);
    QFETCH(int, result);
    QFETCH(TColor, picked);

    const auto picker = openPicker();
    control<QLineEdit>(*picker, u"txtRed"_s)->setText(u"10"_s);
    QLineEdit *focus = control<QLineEdit>(*picker, u"txtBlue"_s);
    if (pendingHex) {
        focus = control<QLineEdit>(*picker, u"txtHGreen"_s);
        focus->setFocus();
        focus->selectAll();
        QTest::keyClicks(focus, u"7f"_s);
    }
    focus->setFocus();
    if (how == u"ok")
        QTest::mouseClick(control(*picker, u"bntOK"_s), Qt::LeftButton);
    else if (how == u"cancel")
        QTest::mouseClick(control(*picker, u"btnCancel"_s), Qt::LeftButton);
    else if (how == u"enter")
        QTest::keyClick(focus, Qt::Key_Return);
    else if (how == u"escape")
        QTest::keyClick(focus, Qt::Key_Escape);
    else
        picker->close();
    QVERIFY(!picker->isVisible());
    QCOMPARE(picker->result(), result);
    QCOMPARE(picker->PickedColor(), picked);
}

QTEST_MAIN(TestColorPicker)
#include "tst_colorpicker.moc"
