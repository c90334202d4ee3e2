// The theme dialog: showing, adding, editing, deleting and reordering themes, and what it
// writes when it closes.

#include "diskfull.h"
#include "findcontrol.h"
#include "platform/gui/filedialogs.h"
#include "platform/gui/listboxhrz.h"
#include "platform/gui/messages.h"
#include "themes/gui/themedialog.h"
#include "themes/gui/themelist.h"
#include "themes/themesfile.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

const QString kDuplicate = u"There is already a Theme with this name."_s;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writePicture(const QString &path, Qt::GlobalColor colour)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    if (!image.save(path, "BMP"))
        qFatal("cannot write %s", qPrintable(path));
}

TThemeItem theme(const QString &name, const QString &picture, const QString &margin, TColor background)
{
    TThemeItem item;
    item.ThemeName = name;
    item.BGImage = picture;
    item.LeftMargin = margin;
    item.BGColor = background;
    return item;
}

QStringList names(const TWebTheme &themes)
{
    QStringList result;
    for (int i = 0; i < themes.Items.Count(); ++i)
        result.append(themes.Items.Items(i)->ThemeName);
    return result;
}

// Sends a whole drag of data onto the list's entry row (-1: below the last entry).
void dropOnRow(QListWidget *list, int row, const QMimeData *data)
{
    const QPoint pos = row >= 0 ? list->visualItemRect(list->item(row)).center()
                                : QPoint(list->viewport()->width() / 2, list->viewport()->height() - 4);
    QDragEnterEvent enter(pos, Qt::MoveAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(list->viewport(), &enter);
    QDropEvent drop(QPointF(pos), Qt::MoveAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(list->viewport(), &drop);
}

} // namespace

class TestThemeDialog : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    TWebTheme m_themes;

    QString folder() const { return m_dir->path() + u'/'; }
    QString backgrounds() const { return folder() + u"Upload/backgrounds/"_s; }
    QString outside() const { return folder() + u"pic.bmp"_s; }

    std::unique_ptr<TfrmTheme> open(const QString &selected = u"Blue"_s)
    {
        auto dialog = std::make_unique<TfrmTheme>(m_themes, folder());
        dialog->selectTheme(selected);
        dialog->show();
        if (!QTest::qWaitForWindowExposed(dialog.get()))
            qFatal("the theme dialog did not show");
        return dialog;
    }
    static TListBoxHrz *list(const TfrmTheme &dialog) { return control<TListBoxHrz>(dialog, u"lstEditThemes"_s); }
    static void click(const TfrmTheme &dialog, const QString &button)
    {
        QTest::mouseClick(control<QAbstractButton>(dialog, button), Qt::LeftButton);
    }
    static void clickRow(const TfrmTheme &dialog, int row)
    {
        QListWidget *themes = list(dialog);
        QTest::mouseClick(themes->viewport(), Qt::LeftButton, {}, themes->visualItemRect(themes->item(row)).center());
    }
    static QLineEdit *edit(const TfrmTheme &dialog, const QString &name) { return control<QLineEdit>(dialog, name); }
    // Shows theme row, then opens it in the edit panel.
    void startEditing(const TfrmTheme &dialog, int row)
    {
        clickRow(dialog, row);
        click(dialog, u"btnEdit"_s);
        QVERIFY(dialog.editing());
    }

private Q_SLOTS:
    void initTestCase() { Messages::setTestMode(true); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(backgrounds()) && QDir().mkpath(folder() + u"Palettes"_s));
        writeFile(folder() + u"Palettes/Web Palette.pal"_s, "0 0 0\r\n");
        writePicture(backgrounds() + u"sky.bmp"_s, Qt::cyan);
        writeFile(backgrounds() + u"broken.jpg"_s, "no picture in here");
        writePicture(outside(), Qt::red);
        m_themes.Items.Clear();
        m_themes.Items.Add() = theme(u"Default"_s, {}, u"0"_s, 0xFFFFFF);
        m_themes.Items.Add() = theme(u"Blue"_s, u"sky.bmp"_s, u"20"_s, 0xFF0000);
        m_themes.Items.Add() = theme(u"Hand"_s, u"gone.bmp"_s, u"wide"_s, 0x00FF00);
        m_themes.Items.Add() = theme(u"Broken"_s, u"broken.jpg"_s, u"30"_s, 0x0000FF);
        Messages::clearHistory();
        QTest::failOnWarning(QRegularExpression(u"Messages:|Art:"_s));
    }

    void cleanup()
    {
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'|')));
        QCOMPARE(Messages::pendingAnswers(), 0);
        FileDialogs::takeTestAnswer({}, {});
    }

    // In this system's fonts every caption has room in its control, in both panels.
    void captionsFitTheirControls()
    {
        const auto dialog = open(u"Broken"_s);
        click(*dialog, u"btnEdit"_s);
        for (const QWidget *widget : dialog->findChildren<QWidget *>()) {
            QSize needed;
            if (const auto *label = qobject_cast<const QLabel *>(widget); label && !label->text().isEmpty())
                needed = label->wordWrap() ? QSize(label->width(), label->heightForWidth(label->width()))
                                           : label->sizeHint();
            else if (const auto *tool = qobject_cast<const QToolButton *>(widget); tool && !tool->text().isEmpty())
                needed = tool->sizeHint();
            else if (const auto *push = qobject_cast<const QPushButton *>(widget))
                needed = push->fontMetrics().size(Qt::TextShowMnemonic, push->text()) + QSize(12, 4);
            if (needed.isValid())
                QVERIFY2(
                    needed.width() <= widget->width() && needed.height() <= widget->height(),
                    qPrintable(u"%1 needs %2x%3"_s.arg(widget->objectName()).arg(needed.width()).arg(needed.height())));
        }
    }

    // Each theme shows its own values, whatever the theme shown before it held.
    void browsingShowsTheStoredTheme_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("margin");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<bool>("shown");
        QTest::newRow("picture") << 1 << u"20"_s << u"sky.bmp"_s << true;
        QTest::newRow("no picture") << 0 << u"0"_s << QString() << false;
        QTest::newRow("picture missing from the folder") << 2 << u"wide"_s << QString() << false;
        QTest::newRow("picture that cannot be decoded") << 3 << u"30"_s << u"broken.jpg"_s << false;
    }
    void browsingShowsTheStoredTheme()
    {
        QFETCH(int, row);
        const auto dialog = open(u"Blue"_s);
        clickRow(*dialog, row);
        const TThemeItem &stored = *m_themes.Items.Items(row);
        QCOMPARE(edit(*dialog, u"txtDescription"_s)->text(), stored.ThemeName);
        QCOMPARE(edit(*dialog, u"txtBackground"_s)->text(), stored.BGImage);
        QTEST(edit(*dialog, u"txtLeftMargin"_s)->text(), "margin");
        QCOMPARE(control(*dialog, u"lblBGColor"_s)->palette().color(QPalette::Window).rgb() & 0xFFFFFF,
                 QColor(stored.BGColor & 0xFF, (stored.BGColor >> 8) & 0xFF, stored.BGColor >> 16).rgb() & 0xFFFFFF);
        QFETCH(QString, picture);
        auto *image = control<QLabel>(*dialog, u"imgBG"_s);
        QCOMPARE(image->toolTip(), picture.isEmpty() ? QString() : QDir::toNativeSeparators(backgrounds() + picture));
        QFETCH(bool, shown);
        QCOMPARE(!image->pixmap().isNull(), shown);
        QCOMPARE(control(*dialog, u"lblNoImage"_s)->isVisible(), !shown);
        QVERIFY(control(*dialog, u"btnEdit"_s)->isEnabled() && control(*dialog, u"btnRemove"_s)->isEnabled());
        // A click below the last entry keeps the theme chosen.
        QTest::mouseClick(list(*dialog)->viewport(), Qt::LeftButton, {},
                          QPoint(10, list(*dialog)->viewport()->height() - 4));
        QCOMPARE(dialog->selectedIndex(), row);
    }

    // Apply writes what the user changed and keeps the rest as the file holds it.
    void applyStoresOnlyWhatTheUserChanged_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("margin");
        QTest::newRow("rename keeps a missing picture and a margin that is no number")
            << 2 << u"rename"_s << u"gone.bmp"_s << u"wide"_s;
        QTest::newRow("typed digits replace the margin") << 2 << u"type 4x5"_s << u"gone.bmp"_s << u"45"_s;
        QTest::newRow("a step starts from 0, not the margin shown before") << 2 << u"up"_s << u"gone.bmp"_s << u"10"_s;
        QTest::newRow("a step stops at 0") << 0 << u"down"_s << QString() << u"0"_s;
        QTest::newRow("a margin above the range is stored as 500") << 1 << u"type 999"_s << u"sky.bmp"_s << u"500"_s;
        QTest::newRow("a step stops at 500") << 1 << u"type 495 up"_s << u"sky.bmp"_s << u"500"_s;
        QTest::newRow("Clear removes the picture") << 1 << u"clear"_s << QString() << u"20"_s;
        QTest::newRow("a picture name typed by hand is ignored") << 1 << u"name"_s << u"sky.bmp"_s << u"20"_s;
    }
    void applyStoresOnlyWhatTheUserChanged()
    {
        QFETCH(int, row);
        QFETCH(QString, action);
        const auto dialog = open(u"Blue"_s);
        startEditing(*dialog, row);
        QLineEdit *margin = edit(*dialog, u"txtLeftMargin"_s);
        if (action == u"rename") {
            edit(*dialog, u"txtDescription"_s)->setText(u"Renamed"_s);
        } else if (action.startsWith(u"type")) {
            margin->selectAll();
            QTest::keyClicks(margin, action.section(u' ', 1, 1));
            if (action.endsWith(u"up"))
                QTest::keyClick(margin, Qt::Key_Up);
        } else if (action == u"up" || action == u"down") {
            QTest::mouseClick(control<QToolButton>(*dialog, action == u"up" ? u"btnUp"_s : u"btnDown"_s),
                              Qt::LeftButton);
        } else if (action == u"clear") {
            click(*dialog, u"btnClear"_s);
        } else if (action == u"name") {
            QTest::keyClicks(edit(*dialog, u"txtBackground"_s), u"x.bmp"_s);
        }
        click(*dialog, u"btnApply"_s);
        QVERIFY(!dialog->editing());
        QVERIFY(dialog->changed());
        QTEST(m_themes.Items.Items(row)->BGImage, "picture");
        QTEST(m_themes.Items.Items(row)->LeftMargin, "margin");
    }

    // Names stay unique without regard to case, and the list always matches the themes.
    void nameRuleDecidesApply_data()
    {
        QTest::addColumn<bool>("adding");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QStringList>("after");
        const QStringList before = {u"Default"_s, u"Blue"_s, u"Hand"_s, u"Broken"_s};
        QTest::newRow("own name in other letter case") << false << u"Blue"_s << u"BLUE"_s << false << before;
        QTest::newRow("another theme's name") << false << u"Blue"_s << u"default"_s << false << before;
        QTest::newRow("own name kept") << false << u"Blue"_s << u"Blue"_s << true << before;
        QTest::newRow("new name") << false << u"Blue"_s << u"Navy"_s << true
                                  << QStringList{u"Default"_s, u"Navy"_s, u"Hand"_s, u"Broken"_s};
        QTest::newRow("add a duplicate with nothing selected") << true << QString() << u"hand"_s << false << before;
        QTest::newRow("add a new name") << true << u"Blue"_s << u"Navy"_s << true << (before + QStringList{u"Navy"_s});
    }
    void nameRuleDecidesApply()
    {
        QFETCH(bool, adding);
        QFETCH(QString, selected);
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        const auto dialog = open(selected);
        click(*dialog, adding ? u"btnAdd"_s : u"btnEdit"_s);
        QLineEdit *description = edit(*dialog, u"txtDescription"_s);
        description->setText(name);
        const int beeps = Messages::beepCount();
        if (!accepted)
            Messages::setNextAnswer(Messages::Ok);
        click(*dialog, u"btnApply"_s);

        QTEST(names(m_themes), "after");
        QCOMPARE(list(*dialog)->strings(), names(m_themes));
        QCOMPARE(dialog->editing(), !accepted);
        if (accepted) {
            QCOMPARE(dialog->windowTitle(), u"Page Themes "_s);
            QCOMPARE(list(*dialog)->item(dialog->selectedIndex())->text(), name);
            return;
        }
        QCOMPARE(Messages::shown(), QStringList{kDuplicate});
        QCOMPARE(Messages::beepCount(), beeps + 1);
        QCOMPARE(QApplication::focusWidget(), description);
        QCOMPARE(dialog->windowTitle(), adding ? u"Page Themes - Add"_s : u"Page Themes - Edit"_s);
        Messages::clearHistory();
    }

    // The picked picture ends up in the background folder; a different picture of its name there
    // is replaced, kept beside it, or left alone with the theme unchanged, as the user answers.
    void pickedPictureGoesIntoTheBackgroundFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("answer");   // to the question about a different picture; 0 for none
        QTest::addColumn<QString>("used"); // the theme's picture afterwards; empty when unchanged
        QTest::newRow("new name") << u"ready"_s << 0 << u"pic.bmp"_s;
        QTest::newRow("the same picture already there") << u"same picture"_s << 0 << u"pic.bmp"_s;
        QTest::newRow("another picture, replace") << u"other picture"_s << int(Messages::Yes) << u"pic.bmp"_s;
        QTest::newRow("another picture, keep both") << u"other picture"_s << int(Messages::No) << u"pic-2.bmp"_s;
        QTest::newRow("another picture, cancel") << u"other picture"_s << int(Messages::Cancel) << QString();
        QTest::newRow("folder missing") << u"missing"_s << 0 << u"pic.bmp"_s;
        QTest::newRow("folder cannot be made") << u"blocked"_s << int(Messages::Ok) << QString();
    }
    void pickedPictureGoesIntoTheBackgroundFolder()
    {
        QFETCH(QString, folder);
        QFETCH(int, answer);
        QFETCH(QString, used);
        if (folder == u"other picture" || folder == u"same picture")
            writePicture(backgrounds() + u"pic.bmp"_s, folder == u"same picture" ? Qt::red : Qt::blue);
        if (folder == u"missing" || folder == u"blocked")
            QVERIFY(QDir(backgrounds()).removeRecursively());
        if (folder == u"blocked")
            writeFile(backgrounds().chopped(1), "a file where the folder belongs");
        const QByteArray stored = readFile(backgrounds() + u"pic.bmp"_s);
        const auto dialog = open(u"Blue"_s);
        startEditing(*dialog, 1);
        FileDialogs::setNextFileName(outside());
        click(*dialog, u"btnBackground"_s);
        QCOMPARE(FileDialogs::lastFolder(), backgrounds());
        QCOMPARE(edit(*dialog, u"txtBackground"_s)->text(), u"pic.bmp"_s);
        const TThemeItem before = *m_themes.Items.Items(1);
        if (answer != 0)
            Messages::setNextAnswer(answer);
        click(*dialog, u"btnApply"_s);

        QCOMPARE(Messages::shown().size(), answer != 0 ? 1 : 0);
        const QString text = Messages::shown().value(0);
        QVERIFY(answer == 0 ||
                (text.contains(u"\"pic.bmp\""_s) && text.contains(QDir::toNativeSeparators(backgrounds()))));
        Messages::clearHistory();
        if (used.isEmpty()) {
            // Nothing changed: the panel stays open for another picture.
            QVERIFY(dialog->editing());
            QVERIFY(*m_themes.Items.Items(1) == before);
            QCOMPARE(readFile(backgrounds() + u"pic.bmp"_s), stored);
            return;
        }
        QCOMPARE(m_themes.Items.Items(1)->BGImage, used);
        QCOMPARE(readFile(backgrounds() + used), readFile(outside()));
        if (used != u"pic.bmp")
            QCOMPARE(readFile(backgrounds() + u"pic.bmp"_s), stored);
    }

    // Browse opens from its button, a double-click on the picture and a click on the note, and
    // only while the edit panel is open.
    void browseOpensFromEveryWayIn_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("editing");
        QTest::newRow("button") << u"btnBackground"_s << true;
        QTest::newRow("double-click on the picture") << u"imgBG"_s << true;
        QTest::newRow("click on the note") << u"lblNoImage"_s << true;
        QTest::newRow("click on the note while browsing") << u"lblNoImage"_s << false;
    }
    void browseOpensFromEveryWayIn()
    {
        QFETCH(QString, way);
        QFETCH(bool, editing);
        const int row = way == u"imgBG" ? 1 : 0;
        const auto dialog = open(u"Blue"_s);
        clickRow(*dialog, row);
        if (editing)
            click(*dialog, u"btnEdit"_s);
        FileDialogs::setNextFileName(outside());
        QWidget *target = control(*dialog, way);
        if (way == u"imgBG")
            QTest::mouseDClick(target, Qt::LeftButton, {}, QPoint(2, 2));
        else
            QTest::mouseClick(target, Qt::LeftButton);
        QCOMPARE(edit(*dialog, u"txtBackground"_s)->text(),
                 editing ? u"pic.bmp"_s : m_themes.Items.Items(row)->BGImage);
    }

    // A double-click on the swatch or a colour label picks that colour, only while editing.
    void colourDoubleClickGoesThroughThePicker_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("editing");
        QTest::addColumn<QString>("caption");
        QTest::newRow("swatch") << u"lblBGColor"_s << true
                                << u"Color Picker - Double-Click on the Background Color to change"_s;
        QTest::newRow("text") << u"lblTextColor"_s << true << u"Color Picker - Text Color"_s;
        QTest::newRow("visited link") << u"lblVLinkColor"_s << true << u"Color Picker - Visited Link Color"_s;
        QTest::newRow("swatch while browsing") << u"lblBGColor"_s << false << QString();
    }
    void colourDoubleClickGoesThroughThePicker()
    {
        QFETCH(QString, label);
        QFETCH(bool, editing);
        const auto dialog = open(u"Blue"_s);
        if (editing)
            click(*dialog, u"btnEdit"_s);
        QString caption;
        QTimer::singleShot(0, [&caption] {
            QWidget *picker = QApplication::activeModalWidget();
            if (!picker || picker->objectName() != u"TfrmColor")
                return;
            caption = picker->windowTitle();
            const QList<int> rgb = {10, 20, 30};
            const QStringList bars = {u"hsbRed"_s, u"hsbGreen"_s, u"hsbBlue"_s};
            for (int i = 0; i < 3; ++i)
                control<QScrollBar>(*picker, bars[i])->setValue(rgb[i]);
            QTest::mouseClick(control<QPushButton>(*picker, u"bntOK"_s), Qt::LeftButton);
        });
        QTest::mouseDClick(control(*dialog, label), Qt::LeftButton);
        QCoreApplication::processEvents();
        QTEST(caption, "caption");
        if (!editing)
            return;
        click(*dialog, u"btnApply"_s);
        const TThemeItem &blue = *m_themes.Items.Items(1);
        QCOMPARE(label == u"lblBGColor"     ? blue.BGColor
                 : label == u"lblTextColor" ? blue.TextColor
                                            : blue.VLinkColor,
                 RGBColor(10, 20, 30));
    }

    // Leaving the edit panel cuts the caption and shows the selected theme again.
    void leavingTheEditPanelDropsUnappliedEdits_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Add, then the Cancel button") << false;
        QTest::newRow("Edit by double-click, Escape, then the Cancel button") << true;
    }
    void leavingTheEditPanelDropsUnappliedEdits()
    {
        QFETCH(bool, escape);
        const auto dialog = open(u"Blue"_s);
        if (escape) {
            // A user's double-click: a click, then the press that makes it a double-click.
            clickRow(*dialog, 1);
            QListWidget *themes = list(*dialog);
            QTest::mouseDClick(themes->viewport(), Qt::LeftButton, {},
                               themes->visualItemRect(themes->item(1)).center());
        } else {
            click(*dialog, u"btnAdd"_s);
        }
        QCOMPARE(dialog->windowTitle(), escape ? u"Page Themes - Edit"_s : u"Page Themes - Add"_s);
        QVERIFY(!control(*dialog, u"btnOK"_s)->isEnabled() && !list(*dialog)->isEnabled());
        QTest::keyClicks(edit(*dialog, u"txtDescription"_s), u"Navy"_s);
        if (escape) {
            // Escape is the disabled Cancel: the panel and what was typed stay.
            const QString typed = edit(*dialog, u"txtDescription"_s)->text();
            QVERIFY(typed.contains(u"Navy"));
            QTest::keyClick(edit(*dialog, u"txtDescription"_s), Qt::Key_Escape);
            QVERIFY(dialog->isVisible() && dialog->editing());
            QCOMPARE(edit(*dialog, u"txtDescription"_s)->text(), typed);
        }
        click(*dialog, u"btnBack"_s);
        QVERIFY(dialog->isVisible() && !dialog->editing());
        QCOMPARE(dialog->windowTitle(), u"Page Themes "_s);
        QVERIFY(control(*dialog, u"btnOK"_s)->isEnabled() && list(*dialog)->isEnabled());
        QCOMPARE(edit(*dialog, u"txtDescription"_s)->text(), u"Blue"_s);
        QCOMPARE(m_themes.Items.Count(), 4);
    }

    // Closing writes the themes file after any change, by OK or Cancel, and only then.
    void closingWritesTheThemesWhenChanged_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("written");
        const QStringList all = {u"Default"_s, u"Blue"_s, u"Hand"_s, u"Broken"_s};
        QTest::newRow("nothing changed") << u"none"_s << QStringList();
        QTest::newRow("delete answered Yes") << u"delete yes"_s << QStringList{u"Default"_s, u"Hand"_s, u"Broken"_s};
        QTest::newRow("delete answered No") << u"delete no"_s << all;
        QTest::newRow("drop onto its own entry") << u"drop 1"_s << all;
        QTest::newRow("drop onto another entry")
            << u"drop 3"_s << QStringList{u"Default"_s, u"Hand"_s, u"Broken"_s, u"Blue"_s};
        QTest::newRow("drop below the last entry") << u"drop -1"_s << QStringList();
        QTest::newRow("drop from another list") << u"foreign 3"_s << QStringList();
    }
    void closingWritesTheThemesWhenChanged()
    {
        QFETCH(QString, action);
        QFETCH(QStringList, written);
        const auto dialog = open(u"Blue"_s);
        if (action.startsWith(u"delete")) {
            const int beeps = Messages::beepCount();
            Messages::setNextAnswer(action.endsWith(u"yes") ? Messages::Yes : Messages::No);
            click(*dialog, u"btnRemove"_s);
            QCOMPARE(Messages::beepCount(), beeps + 1);
            QCOMPARE(Messages::shown(), QStringList{u"Do you want to delete the selected Theme?"_s});
            Messages::clearHistory();
        } else {
            QListWidget other;
            const bool own = action.startsWith(u"drop");
            const std::unique_ptr<QMimeData> data(TThemeList::dragData(own ? list(*dialog) : &other));
            if (action != u"none")
                dropOnRow(list(*dialog), action.section(u' ', 1).toInt(), data.get());
        }
        QCOMPARE(list(*dialog)->strings(), names(m_themes));
        click(*dialog, u"btnCancel"_s);
        const QString file = folder() + u"Themes.dat"_s;
        QCOMPARE(QFile::exists(file), !written.isEmpty());
        if (written.isEmpty())
            return;
        TWebTheme saved;
        QVERIFY(LoadThemes(file, saved, nullptr));
        QCOMPARE(names(saved), written);
        QVERIFY(saved == m_themes);
    }

    void failedSaveIsReportedAndKeepsTheOldFile()
    {
        const QString file = folder() + u"Themes.dat"_s;
        QVERIFY(SaveThemes(file, m_themes, nullptr));
        const QByteArray old = readFile(file);
        const auto dialog = open(u"Blue"_s);
        Messages::setNextAnswer(Messages::Yes);
        click(*dialog, u"btnRemove"_s);
        Messages::setNextAnswer(Messages::Ok);
        {
            DiskFullGuard full(16);
            QVERIFY(full.active());
            click(*dialog, u"btnOK"_s);
        }
        QCOMPARE(Messages::shown().constLast(), u"The page themes could not be saved."_s);
        QVERIFY(Messages::lastDetail().contains(QDir::toNativeSeparators(file)));
        Messages::clearHistory();
        QCOMPARE(readFile(file), old);
    }
};

QTEST_MAIN(TestThemeDialog)
#include "tst_themedialog.moc"
