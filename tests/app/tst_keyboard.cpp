// The main window worked with the keyboard alone: every key event goes to the focused control.

#include "appfixture.h"

#include "document/pagemodel.h"

#include <QAccessible>
#include <QImage>
#include <QMenu>
#include <QScrollBar>

using namespace Qt::StringLiterals;

class TestKeyboard : public QObject
{
    Q_OBJECT

    static void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }
    // Tabs on (Ctrl+Tab out of a text box that takes Tab) until the control named name, or one
    // inside it, has the focus.
    static bool tabTo(QWidget *window, const char *name)
    {
        QWidget *target = child<QWidget>(window, name);
        for (int i = 0; i < 80 && target; ++i) {
            QWidget *focus = QApplication::focusWidget();
            if (focus && (focus == target || target->isAncestorOf(focus)))
                return true;
            press(Qt::Key_Tab);
            if (QApplication::focusWidget() == focus)
                press(Qt::Key_Tab, Qt::ControlModifier);
        }
        return false;
    }

private Q_SLOTS:
    void keyboardAloneBuildsReordersViewsAndSavesAPage()
    {
        AppFixture fixture;
        std::unique_ptr<TfrmMain> window = fixture.makeWindow();
        QWidget *w = window.get();
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        QVERIFY(picture.save(fixture.root() + u"walk.png"_s));
        const auto typeInto = [w](const char *name, const QString &text) {
            QVERIFY(tabTo(w, name));
            QTest::keyClicks(QApplication::focusWidget(), text);
        };
        const auto selectBlock = [w](int key, int times) {
            QVERIFY(tabTo(w, "lstBlocks"));
            for (int i = 0; i < times; ++i)
                press(key);
        };

        QVERIFY(tabTo(w, "lstPalette"));
        press(Qt::Key_Home);
        press(Qt::Key_Return); // a heading after the selected page details
        typeInto("txtHeading", u"Our Walks"_s);
        selectBlock(Qt::Key_End, 1);
        typeInto("txtText", u"Every Sunday."_s);
        selectBlock(Qt::Key_Up, 2);
        QVERIFY(tabTo(w, "btnImagePic"));
        FileDialogs::setNextFileName(fixture.root() + u"walk.png"_s);
        press(Qt::Key_Space);
        selectBlock(Qt::Key_Down, 1);
        typeInto("txtLinkAddress", u"http://club.example/"_s);
        typeInto("txtLinkText", u"Our club"_s);
        selectBlock(Qt::Key_Up, 0);
        press(Qt::Key_Up, Qt::ControlModifier); // the link above the picture
        auto *list = child<TBlockList>(w, "lstBlocks");
        QCOMPARE(rowTexts(list), QStringList({u"Page Details"_s, u"Heading"_s, u"Link"_s, u"Image"_s, u"Paragraph"_s}));
        QCOMPARE(QAccessible::queryAccessibleInterface(list)->child(2)->text(QAccessible::Name), u"Link, 3 of 5"_s);
        press(Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(window->blockMenu()->isVisible());
        window->blockMenu()->close();

        // View Page: the page takes the focus and scrolls with the keys.
        QVERIFY(tabTo(w, "btnPreview"));
        press(Qt::Key_Space);
        QVERIFY(child<QWidget>(w, "browser")->isAncestorOf(QApplication::focusWidget()));
        QScrollBar *bar = QApplication::focusWidget()->parentWidget()->findChild<QScrollBar *>();
        press(Qt::Key_End);
        QCOMPARE(bar->value(), bar->maximum());
        press(Qt::Key_Home);
        QCOMPARE(bar->value(), 0);

        FileDialogs::setNextFileName(fixture.folder() + u"BriskoFiles/Walks.mbe"_s);
        Messages::setNextAnswer(Messages::Ok);
        press(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(Messages::shown().size(), 1);
        QFile published(fixture.folder() + u"Upload/Walks.html"_s);
        QVERIFY(published.open(QIODevice::ReadOnly));
        const QString html = QString::fromLatin1(published.readAll());
        QList<qsizetype> at;
        for (const QString &part : {u"Our Walks"_s, u"http://club.example/"_s, u"walk.png"_s, u"Every Sunday."_s})
            at.append(html.indexOf(part));
        QVERIFY2(at.first() >= 0 && std::is_sorted(at.begin(), at.end()), qPrintable(html));
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
