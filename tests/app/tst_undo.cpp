// Undo and Redo in the running program: a real editing session undone back to the opened file,
// byte for byte, and done again; and the edit boxes' own text undo.

#include "appfixture.h"

#include "document/pagefile.h"
#include "html/pagehtml.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QUndoStack>

using namespace Qt::StringLiterals;
using BlockDrag::Origin;
using BlockDrag::Payload;

class TestUndo : public QObject
{
    Q_OBJECT

    std::unique_ptr<AppFixture> m_fixture;
    std::unique_ptr<TfrmMain> m_window;

    TBlockList *blocks() const { return child<TBlockList>(m_window.get(), "lstBlocks"); }
    QAction *item(const char *name) const { return child<QAction>(m_window.get(), name); }
    QByteArray pageBytes() const { return DocumentBytes(m_window->document()); }
    int steps() const { return m_window->pageDocument().undoStack().count(); }
    void clickRow(int row) { QTest::mouseClick(blocks()->viewport(), Qt::LeftButton, {}, rowPoint(blocks(), row)); }

private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppFixture>();
        m_window = m_fixture->makeWindow();
        m_window->loadDocument(m_fixture->sample());
    }
    void cleanup()
    {
        m_window.reset();
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'|')));
        m_fixture.reset();
    }

    void sessionUndoesBackToTheFileAndIsDoneAgain()
    {
        const auto fileBytes = [](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray opened = fileBytes(m_fixture->sample());
        // Every panel shows its block as it is: looking through the page records nothing.
        for (int row = blocks()->count() - 1; row >= 0; --row)
            clickRow(row);
        QCOMPARE(steps(), 0);
        QCOMPARE(pageBytes(), opened);
        QStringList named;
        const auto step = [&] { named.append(item("mnuUndo")->text()); };

        // Add a heading after the first heading, give it a text, move a heading, delete a paragraph.
        QVERIFY(dragAndDrop(blocks()->viewport(), rowPoint(blocks(), 2), Payload{Origin::Palette, 0}));
        step();
        auto *heading = child<QPlainTextEdit>(m_window.get(), "txtHeading");
        heading->setFocus();
        QTest::keyClicks(heading, u"Autumn walks"_s);
        clickRow(0);
        step();
        QVERIFY(dragAndDrop(blocks()->viewport(), rowPoint(blocks(), 3), Payload{Origin::Blocks, 1}));
        step();
        clickRow(2);
        Messages::setNextAnswer(Messages::Yes);
        QTest::keyClick(blocks(), Qt::Key_Delete);
        Messages::clearHistory();
        step();

        // View the page in another theme.
        m_window->viewPage();
        auto *themes = child<QListWidget>(m_window.get(), "lstThemes");
        const QString current = PageThemeName(m_window->document());
        QListWidgetItem *other = themes->item(themes->item(0)->text() == current ? 1 : 0);
        QTest::mouseClick(themes->viewport(), Qt::LeftButton, {}, themes->visualItemRect(other).center());
        step();
        QCOMPARE(named, (QStringList{u"&Undo Add Heading"_s, u"&Undo Edit Heading"_s, u"&Undo Move Heading"_s,
                                     u"&Undo Delete Paragraph"_s, u"&Undo Apply Theme "_s + other->text()}));
        const QByteArray edited = pageBytes();

        // Everything undone from View Page: the opened file again, saved byte for byte.
        for (int i = 0; i < 10 && item("mnuUndo")->isEnabled(); ++i)
            QTest::keyClick(themes, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(PageThemeName(m_window->document()), current);
        QCOMPARE(blocks()->count(), m_window->document().Page.Count());
        QCOMPARE(pageBytes(), opened);
        QCOMPARE(item("mnuRedo")->text(), u"&Redo Add Heading"_s);
        const QString resaved = m_fixture->folder() + u"BriskoFiles/Resaved.mbe"_s;
        FileDialogs::setNextFileName(resaved);
        Messages::setNextAnswer(Messages::Ok);
        QVERIFY(m_window->savePage());
        Messages::clearHistory();
        QCOMPARE(fileBytes(resaved), opened);

        // And done again, from the block list, with either key of Redo.
        m_window->showCreateView();
        for (int i = 0; i < 10 && item("mnuRedo")->isEnabled(); ++i)
            QTest::keyClick(blocks(), i % 2 ? Qt::Key_Y : Qt::Key_Z,
                            i % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(pageBytes(), edited);
    }

    // Typing not yet committed is undone in its box first; then Undo goes to the page.
    void editBoxKeepsItsTextUndoUntilCommitted()
    {
        QVERIFY(dragAndDrop(blocks()->viewport(), rowPoint(blocks(), -1), Payload{Origin::Palette, 3}));
        const int count = blocks()->count();
        clickRow(1);
        auto *heading = child<QPlainTextEdit>(m_window.get(), "txtHeading");
        const QString text = heading->toPlainText();
        heading->setFocus();
        QTest::keyClicks(heading, u" and more"_s);
        QTest::keyClick(heading, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(heading->toPlainText(), text);
        QCOMPARE(steps(), 1);
        QTest::keyClick(heading, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(blocks()->count(), count - 1);
        QCOMPARE(steps(), 1);
        QVERIFY(!item("mnuUndo")->isEnabled());
    }
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
