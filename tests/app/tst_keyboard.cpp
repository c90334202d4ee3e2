// The main window worked with the keyboard alone: every key event goes to the focused control.

#include "appfixture.h"

#include "app/blockeditor.h"
#include "document/pagemodel.h"
#include "project/pagedocument.h"

#include <QAccessible>
#include <QImage>
#include <QMenu>
#include <QScrollBar>

using namespace Qt::StringLiterals;

class TestKeyboard : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppFixture> m_fixture;
    std::unique_ptr<TfrmMain> m_window;
    TBlockList *m_list = nullptr;

    static void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }
    static void type(const QString &text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    // Tabs on (Ctrl+Tab out of a text box that takes Tab itself) until the control named name,
    // or a control inside it, has the focus.
    bool tabTo(const char *name) const
    {
        QWidget *target = child<QWidget>(m_window.get(), name);
        for (int i = 0; i < 80 && target; ++i) {
            QWidget *focus = QApplication::focusWidget();
            if (focus && (focus == target || target->isAncestorOf(focus)))
                return true;
            press(Qt::Key_Tab);
            if (QApplication::focusWidget() == focus)
                press(Qt::Key_Tab, Qt::ControlModifier);
        }
        qWarning("Tab never reached %s", name);
        return false;
    }
    QStringList documentTypes() const
    {
        QStringList names;
        TPagelette &doc = m_window->document();
        for (int i = 0; i < doc.Page.Count(); ++i)
            names.append(BlockTypeNames[doc.Page.Items(i)->BlockType].toString());
        return names;
    }

private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppFixture>();
        m_window = m_fixture->makeWindow();
        m_list = child<TBlockList>(m_window.get(), "lstBlocks");
    }
    void cleanup()
    {
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'|')));
        m_window.reset();
        m_fixture.reset();
    }

    void keyboardAloneBuildsReordersViewsAndSavesAPage()
    {
        const QString picture = m_fixture->root() + u"walk.png"_s;
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        QVERIFY(image.save(picture));

        // A heading after the page details, from the palette.
        QVERIFY(tabTo("lstPalette"));
        press(Qt::Key_Home);
        press(Qt::Key_Return);
        QVERIFY(tabTo("txtHeading"));
        type(u"Our Walks"_s);
        // The paragraph's text.
        QVERIFY(tabTo("lstBlocks"));
        press(Qt::Key_End);
        QVERIFY(tabTo("txtText"));
        type(u"Every Sunday."_s);
        // A picture for the image block, chosen through its Browse button.
        QVERIFY(tabTo("lstBlocks"));
        press(Qt::Key_Up);
        press(Qt::Key_Up);
        QVERIFY(tabTo("btnImagePic"));
        FileDialogs::setNextFileName(picture);
        press(Qt::Key_Space);
        // The link.
        QVERIFY(tabTo("lstBlocks"));
        press(Qt::Key_Down);
        QVERIFY(tabTo("txtLinkAddress"));
        type(u"http://club.example/"_s);
        QVERIFY(tabTo("txtLinkText"));
        type(u"Our club"_s);
        // The link goes above the picture.
        QVERIFY(tabTo("lstBlocks"));
        press(Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(documentTypes(),
                 QStringList({u"Page Details"_s, u"Heading"_s, u"Link"_s, u"Image"_s, u"Paragraph"_s}));
        QCOMPARE(m_list->currentRow(), 2);
        QCOMPARE(QAccessible::queryAccessibleInterface(m_list)->child(2)->text(QAccessible::Name), u"Link, 3 of 5"_s);
        press(Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(m_window->blockMenu()->isVisible());
        m_window->blockMenu()->close();

        // View Page: the page takes the focus and scrolls with the keys.
        QVERIFY(tabTo("btnPreview"));
        press(Qt::Key_Space);
        auto *browser = child<QWidget>(m_window.get(), "browser");
        QVERIFY(browser->isVisible());
        QVERIFY(browser->isAncestorOf(QApplication::focusWidget()));
        QScrollBar *bar = QApplication::focusWidget()->parentWidget()->findChild<QScrollBar *>();
        QVERIFY(bar);
        press(Qt::Key_End);
        QCOMPARE(bar->value(), bar->maximum());
        press(Qt::Key_Home);
        QCOMPARE(bar->value(), 0);

        // Saved with Ctrl+S; the published page holds the blocks in their new order.
        FileDialogs::setNextFileName(m_fixture->folder() + u"BriskoFiles/Walks.mbe"_s);
        Messages::setNextAnswer(Messages::Ok);
        press(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(Messages::shown().size(), 1);
        Messages::clearHistory();
        QVERIFY(!m_window->modified());
        QFile published(m_fixture->folder() + u"Upload/Walks.html"_s);
        QVERIFY(published.open(QIODevice::ReadOnly));
        const QString html = QString::fromLatin1(published.readAll());
        const qsizetype heading = html.indexOf(u"Our Walks"_s);
        const qsizetype link = html.indexOf(u"http://club.example/"_s);
        const qsizetype img = html.indexOf(u"walk.png"_s);
        const qsizetype text = html.indexOf(u"Every Sunday."_s);
        QVERIFY(heading >= 0 && heading < link && link < img && img < text);
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
