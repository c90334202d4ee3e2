// The palette, the block list and the bin of the main window, driven through their events.

#include "appfixture.h"

#include "art/art.h"
#include "app/blockeditor.h"
#include "document/pagefile.h"
#include "document/pagemodel.h"
#include "project/pagedocument.h"
#include "platform/gui/help.h"

#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>

using namespace Qt::StringLiterals;
using BlockDrag::Origin;
using BlockDrag::Payload;

class TestBlocks : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppFixture> m_fixture;
    std::unique_ptr<TfrmMain> m_window;
    TBlockList *m_list = nullptr;

    QStringList documentTypes() const
    {
        QStringList names;
        const TPagelette &doc = m_window->document();
        for (int i = 0; i < doc.Page.Count(); ++i)
            names.append(BlockTypeNames[doc.Page.Items(i)->BlockType].toString());
        return names;
    }
    void clickRow(int row) { QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, rowPoint(m_list, row)); }
    bool dropFromPalette(int paletteRow, int row)
    {
        return dragAndDrop(m_list->viewport(), rowPoint(m_list, row), Payload{Origin::Palette, paletteRow});
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
        // Every message a test expects is checked and cleared by the test itself.
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'|')));
        m_window.reset();
        m_fixture.reset();
    }

    void newPageShowsItsFourBlocks()
    {
        const QStringList expected{u"Page Details"_s, u"Image"_s, u"Link"_s, u"Paragraph"_s};
        QCOMPARE(rowTexts(m_list), expected);
        QCOMPARE(documentTypes(), expected);
        QCOMPARE(m_list->currentRow(), 0);
        QCOMPARE(rowTexts(child<QListWidget>(m_window.get(), "lstPalette")),
                 (QStringList{u"Heading"_s, u"Image"_s, u"Link"_s, u"Paragraph"_s, u"Bullet List"_s, u"Line"_s,
                              u"Forms"_s}));
        QCOMPARE(m_list->visualItemRect(m_list->item(1)).height(), TBlockList::kRowHeight);
        QVERIFY(!m_window->modified());
    }

    void paletteDropInsertsBlock_data()
    {
        QTest::addColumn<int>("paletteRow");
        QTest::addColumn<int>("dropRow");
        QTest::addColumn<int>("expectedIndex");
        QTest::newRow("onto page details: right after it") << 0 << 0 << 1;
        QTest::newRow("mid-list: before that row") << 5 << 2 << 2;
        QTest::newRow("below the last row: appended") << 1 << -1 << 4;
    }
    void paletteDropInsertsBlock()
    {
        QFETCH(int, paletteRow);
        QFETCH(int, dropRow);
        QFETCH(int, expectedIndex);
        QVERIFY(dropFromPalette(paletteRow, dropRow));
        QCOMPARE(m_window->document().Page.Count(), 5);
        QCOMPARE(m_window->document().Page.Items(expectedIndex)->BlockType, paletteRow + 1);
        QCOMPARE(rowTexts(m_list), documentTypes());
        QCOMPARE(m_list->currentRow(), expectedIndex);
        QCOMPARE(m_window->blockEditor()->currentBlockIndex(), expectedIndex);
        QVERIFY(m_window->modified());
    }

    void secondFormsBlockIsRefused()
    {
        Messages::setNextAnswer(Messages::Ok);
        QVERIFY(dropFromPalette(6, -1));
        QVERIFY(dropFromPalette(6, 1));
        QCOMPARE(Messages::shown(), QStringList{u"Sorry, only one E-mail form per page is allowed."_s});
        QCOMPARE(documentTypes().count(u"Forms"_s), 1);
        Messages::clearHistory();
    }

    void draggingABlock_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("dropRow");
        QTest::addColumn<QStringList>("expected");
        const QString d = u"Page Details"_s, i = u"Image"_s, l = u"Link"_s, p = u"Paragraph"_s;
        QTest::newRow("down: taken out and put back at 3") << 1 << 3 << QStringList{d, l, p, i};
        QTest::newRow("up") << 3 << 1 << QStringList{d, p, i, l};
        QTest::newRow("onto page details: nothing moves") << 2 << 0 << QStringList{d, i, l, p};
        QTest::newRow("onto itself: nothing moves") << 2 << 2 << QStringList{d, i, l, p};
        QTest::newRow("below the last row: nothing moves") << 1 << -1 << QStringList{d, i, l, p};
    }
    void draggingABlock()
    {
        QFETCH(int, from);
        QFETCH(int, dropRow);
        QFETCH(QStringList, expected);
        QVERIFY(dragAndDrop(m_list->viewport(), rowPoint(m_list, dropRow), Payload{Origin::Blocks, from}));
        QCOMPARE(documentTypes(), expected);
        QCOMPARE(rowTexts(m_list), expected);
    }

    // The edits in the open panel of the dragged block travel with it.
    void movingTheSelectedBlockKeepsItsPanelEdits()
    {
        clickRow(3);
        auto *memo = child<QPlainTextEdit>(m_window.get(), "txtText");
        memo->setPlainText(u"Typed just now"_s);
        QVERIFY(dragAndDrop(m_list->viewport(), rowPoint(m_list, 1), Payload{Origin::Blocks, 3}));
        QCOMPARE(m_window->document().Page.Items(1)->BlockType, quint8(btText));
        QCOMPARE(m_window->document().Page.Items(1)->TextBlock.Text, u"Typed just now"_s);
        QCOMPARE(memo->toPlainText(), u"Typed just now"_s);
    }

    void insertionMarkerFollowsTheHoveredRow_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("visible");
        QTest::newRow("page details") << 0 << false;
        QTest::newRow("second row") << 1 << true;
        QTest::newRow("last row") << 3 << true;
        QTest::newRow("below the last row") << -1 << false;
    }
    void insertionMarkerFollowsTheHoveredRow()
    {
        QFETCH(int, row);
        QFETCH(bool, visible);
        auto *marker = child<QWidget>(m_window.get(), "shp");
        std::unique_ptr<QMimeData> data(BlockDrag::makeMimeData({Origin::Palette, 0}));
        QDragEnterEvent enter(rowPoint(m_list, row), Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(m_list->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QCOMPARE(marker->isVisible(), visible);
        if (visible) {
            const QRect rowRect = m_list->visualItemRect(m_list->item(row));
            const int rowTop = m_list->viewport()->mapTo(marker->parentWidget(), rowRect.topLeft()).y();
            QCOMPARE(marker->geometry(), QRect(marker->x(), rowTop + 10, 5, 10));
            QVERIFY(marker->geometry().right() < m_list->geometry().left());
        }
        QDragLeaveEvent leave;
        QApplication::sendEvent(m_list->viewport(), &leave);
        QVERIFY(!marker->isVisible());
    }

    void foreignDragsAreRefused()
    {
        QMimeData text;
        text.setText(u"http://example.org/\tExample"_s); // a row of the link list, say
        QVERIFY(!dragAndDrop(m_list->viewport(), rowPoint(m_list, 1), &text));
        QVERIFY(!dragAndDrop(child<QWidget>(m_window.get(), "imgTrash"), {16, 16}, Payload{Origin::Palette, 0}));
        QCOMPARE(m_list->count(), 4);
    }

    // A right-click acts on the row under the mouse: it is selected, with the open panel stored.
    void rightClickSelectsTheRowTheMenuActsOn()
    {
        clickRow(3);
        child<QPlainTextEdit>(m_window.get(), "txtText")->setPlainText(u"Typed just now"_s);
        QTest::mouseClick(m_list->viewport(), Qt::RightButton, {}, rowPoint(m_list, 2));
        QCOMPARE(m_list->currentRow(), 2);
        QCOMPARE(m_window->document().Page.Items(3)->TextBlock.Text, u"Typed just now"_s);
        Messages::setNextAnswer(Messages::Yes);
        m_window->findChild<QAction *>(u"mnuDelete"_s)->trigger();
        Messages::clearHistory();
        QCOMPARE(documentTypes(), (QStringList{u"Page Details"_s, u"Image"_s, u"Paragraph"_s}));
    }

    // A page longer than the list: a drag resting at an edge scrolls, and below the last row
    // there is always room to drop a new last block.
    void longPageTakesBlocksAtItsEnd()
    {
        TPagelette page;
        page.AddDefaultBlocks();
        while (page.Page.Count() < 64)
            page.InsertNewBlock(page.Page.Count(), btText);
        const QString path = m_fixture->folder() + u"BriskoFiles/Long.mbe";
        QString error;
        QVERIFY2(WriteDocument(path, page, &error), qPrintable(error));
        m_window->loadDocument(path);
        QScrollBar *bar = m_list->verticalScrollBar();
        QCOMPARE(bar->value(), 0);
        m_list->setAutoScrollInterval(0);

        std::unique_ptr<QMimeData> data(BlockDrag::makeMimeData(Payload{Origin::Palette, 0}));
        QWidget *viewport = m_list->viewport();
        const auto hover = [&](const QPoint &pos) {
            QDragMoveEvent move(pos, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(viewport, &move);
        };
        const QPoint bottom(viewport->width() / 2, viewport->height() - 4);
        QDragEnterEvent enter(bottom, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        hover(QPoint(viewport->width() / 2, 2));
        QCOMPARE(bar->value(), 0);
        hover(bottom);
        QTRY_COMPARE(bar->value(), bar->maximum());
        const QRect last = m_list->visualItemRect(m_list->item(m_list->count() - 1));
        QVERIFY(last.bottom() + TBlockList::kDropRoom < viewport->height());
        QCOMPARE(m_list->dropPosition(bottom), m_list->count());
        hover(QPoint(viewport->width() / 2, viewport->height() / 2));
        const int resting = bar->value();
        QCoreApplication::processEvents();
        QCOMPARE(bar->value(), resting);

        QDropEvent drop(QPointF(bottom), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        hover(bottom);
        QApplication::sendEvent(viewport, &drop);
        QCoreApplication::processEvents();
        QCOMPARE(m_window->document().Page.Count(), 65);
        QCOMPARE(m_window->document().Page.Items(64)->BlockType, quint8(btHeading));
        QCOMPARE(m_list->currentRow(), 64);
        // The next drag rests at the top edge: the list scrolls back up.
        const QPoint top(viewport->width() / 2, 2);
        QDragEnterEvent again(top, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &again);
        QTRY_COMPARE(bar->value(), 0);
        QDragLeaveEvent leave;
        QApplication::sendEvent(viewport, &leave);
    }

    void deleteAsksAndRemovesTheSelectedBlock_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("rowsLeft");
        QTest::addColumn<QString>("message");
        const QString question = u"Do you want to delete the selected Pagelette item?"_s;
        QTest::newRow("yes") << 2 << int(Messages::Yes) << 3 << question;
        QTest::newRow("no") << 2 << int(Messages::No) << 4 << question;
        QTest::newRow("page details") << 0 << int(Messages::Ok) << 4 << u"The Page Settings Block cannot be deleted."_s;
    }
    void deleteAsksAndRemovesTheSelectedBlock()
    {
        QFETCH(int, row);
        QFETCH(int, answer);
        QFETCH(int, rowsLeft);
        QFETCH(QString, message);
        clickRow(row);
        Messages::setNextAnswer(answer);
        QTest::keyClick(m_list, Qt::Key_Delete);
        QCOMPARE(Messages::shown(), QStringList{message});
        QCOMPARE(m_list->count(), rowsLeft);
        QCOMPARE(rowTexts(m_list), documentTypes());
        if (rowsLeft == 3) {
            QCOMPARE(m_list->currentRow(), row - 1);
            QCOMPARE(m_window->blockEditor()->currentBlockIndex(), row - 1);
        }
        Messages::clearHistory();
    }

    void binShowsWhetherBlocksWereDeleted()
    {
        auto *bin = child<QLabel>(m_window.get(), "imgTrash");
        QCOMPARE(m_window->trashState(), 15);
        QCOMPARE(bin->pixmap().toImage(), Art::trash(false).toImage());
        for (int row = 3; row >= 1; --row) {
            Messages::setNextAnswer(Messages::Yes);
            QVERIFY(dragAndDrop(bin, {16, 16}, Payload{Origin::Blocks, row}));
            QCOMPARE(m_window->trashState(), row == 1 ? 0 : 1);
            QCOMPARE(bin->pixmap().toImage(), Art::trash(row != 1).toImage());
        }
        QCOMPARE(rowTexts(m_list), QStringList{u"Page Details"_s});
        QVERIFY(!m_window->blockEditor()->alignBarVisible());
        Messages::clearHistory();
    }

    void deletingTheFormsBlockEmptiesTheForm()
    {
        QVERIFY(dropFromPalette(6, -1));
        PageDocument &page = m_window->pageDocument();
        const TPagelette &doc = page.page();
        page.addField(TFormElement{fkText, u"Your Name"_s, {}, {}, {}});
        editBlock(*m_window, 4, [](TBlockEdit &edit) { edit.Form.Email = u"me@site.example"_s; });
        page.setFormOptions(TFormOptions{.Border = true, .FormTitle = {}});
        Messages::setNextAnswer(Messages::Yes);
        m_window->deleteBlock(4);
        QCOMPARE(doc.WebForm.Count(), 0);
        QVERIFY(doc.Email.isEmpty());
        QVERIFY(!doc.Border);
        QVERIFY(dropFromPalette(6, -1)); // a new form may be added again
        QCOMPARE(documentTypes().count(u"Forms"_s), 1);
        Messages::clearHistory();
    }

    void f1ShowsTheTopicOfTheFocusedList_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("topic");
        QTest::newRow("block list") << u"lstBlocks"_s << 54;
        QTest::newRow("palette") << u"lstPalette"_s << 55;
    }
    void f1ShowsTheTopicOfTheFocusedList()
    {
        QFETCH(QString, name);
        QFETCH(int, topic);
        auto *list = m_window->findChild<QWidget *>(name);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_F1);
        QCOMPARE(Help::lastTopic(), topic);
        Help::quit();
    }

    void menuOffersDeleteOnlyFromTheBlockList_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("deleteVisible");
        QTest::newRow("block list") << u"lstBlocks"_s << true;
        QTest::newRow("Create Page button") << u"btnCreate"_s << false;
    }
    void menuOffersDeleteOnlyFromTheBlockList()
    {
        QFETCH(QString, source);
        QFETCH(bool, deleteVisible);
        auto *widget = m_window->findChild<QWidget *>(source);
        m_window->showBlockMenu(widget, widget->mapToGlobal(QPoint(5, 5)));
        QMenu *menu = m_window->blockMenu();
        QTRY_VERIFY(menu->isVisible());
        auto *deleteItem = m_window->findChild<QAction *>(u"mnuDelete"_s);
        QCOMPARE(deleteItem->isVisible(), deleteVisible);
        QCOMPARE(menu->findChild<QAction *>(u"N1"_s)->isVisible(), deleteVisible);
        menu->close();
        QVERIFY(deleteItem->isVisible()); // Del goes on working in the list
    }
};

QTEST_MAIN(TestBlocks)
#include "tst_blocks.moc"
