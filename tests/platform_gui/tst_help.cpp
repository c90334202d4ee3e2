#include "platform/gui/help.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QWidget *helpWindow()
{
    for (QWidget *widget : QApplication::allWidgets()) {
        if (widget->objectName() == u"frmHelp" && widget->isVisible())
            return widget;
    }
    return nullptr;
}

QString helpText()
{
    QWidget *window = helpWindow();
    auto *browser = window ? window->findChild<QTextBrowser *>(u"txtHelp"_s) : nullptr;
    return browser ? browser->toPlainText() : QString();
}

// Right-clicks widget and returns the captions of the pop-up menu's items after choosing the
// item called itemName (or closing the menu when there is none).
QStringList chooseFromContextMenu(QWidget *widget, const QString &itemName)
{
    QStringList captions;
    QTimer::singleShot(0, widget, [&captions, itemName] {
        QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QAction *chosen = nullptr;
        for (QAction *action : menu->actions()) {
            captions << action->text();
            if (action->objectName() == itemName)
                chosen = action;
        }
        if (chosen)
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
        else
            menu->close();
    });
    QWidget *target = widget;
    if (auto *area = qobject_cast<QAbstractScrollArea *>(widget))
        target = area->viewport();
    const QPoint position(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, position, target->mapToGlobal(position));
    QApplication::sendEvent(target, &event);
    return captions;
}

} // namespace

class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

class TestHelp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void whatsThisMenuShowsTheTopic_data();
    void whatsThisMenuShowsTheTopic();
    void attachingAgainChangesTheTopicNotTheMenu();
    void f1ShowsTheTopicOfTheFocusedControl_data();
    void f1ShowsTheTopicOfTheFocusedControl();
    void missingTopicShowsANoHelpPage();
    void windowIsReusedAndFollowsLinks();
    void helpStaysUsableFromAModalDialog();
};

void TestHelp::cleanup()
{
    Help::quit();
    QVERIFY(!helpWindow());
}

void TestHelp::whatsThisMenuShowsTheTopic_data()
{
    QTest::addColumn<QString>("type");
    QTest::newRow("label") << u"label"_s;
    QTest::newRow("edit box") << u"edit"_s;
    QTest::newRow("list, a scroll area") << u"list"_s;
}

void TestHelp::whatsThisMenuShowsTheTopic()
{
    QFETCH(QString, type);

    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    QWidget *control = nullptr;
    if (type == u"label")
        control = new QLabel(u"Title:"_s);
    else if (type == u"edit")
        control = new QLineEdit;
    else
        control = new QListWidget;
    layout->addWidget(control);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    Help::attachWhatsThis(control, 10);
    QCOMPARE(Help::topicOf(control), 10);
    const QStringList captions = chooseFromContextMenu(control, u"mnuWhatsThis"_s);

    QCOMPARE(captions, QStringList{u"&What's This?"_s});
    QCOMPARE(Help::lastTopic(), 10);
    QTRY_VERIFY(helpWindow());
    QCOMPARE(helpWindow()->windowTitle(), u"Brisko Help"_s);
    QCOMPARE(Help::currentPage(), u"10.html"_s);
    QVERIFY2(helpText().contains(u"The title shown in the browser's title bar."_s), qPrintable(helpText()));
}

void TestHelp::attachingAgainChangesTheTopicNotTheMenu()
{
    QLabel label(u"Content"_s);
    label.show();
    QVERIFY(QTest::qWaitForWindowExposed(&label));
    Help::attachWhatsThis(&label, 14);
    Help::attachWhatsThis(&label, 11);
    QCOMPARE(Help::topicOf(&label), 11);

    QCOMPARE(chooseFromContextMenu(&label, u"mnuWhatsThis"_s), QStringList{u"&What's This?"_s});
    QCOMPARE(Help::lastTopic(), 11);
    // One right-click, one menu: a second connection would open another one now.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QVERIFY(!QApplication::activePopupWidget());
}

void TestHelp::f1ShowsTheTopicOfTheFocusedControl_data()
{
    QTest::addColumn<int>("panelTopic");
    QTest::addColumn<int>("editTopic");
    QTest::addColumn<int>("shownTopic");
    QTest::addColumn<int>("windowShortcuts");

    QTest::newRow("the control's own topic") << 0 << 26 << 26 << 0;
    QTest::newRow("inside a panel with a topic") << 12 << 0 << 12 << 0;
    QTest::newRow("the innermost topic wins") << 12 << 26 << 26 << 0;
    QTest::newRow("no topic: the window's F1") << 0 << 0 << 0 << 1;
}

void TestHelp::f1ShowsTheTopicOfTheFocusedControl()
{
    QFETCH(int, panelTopic);
    QFETCH(int, editTopic);
    QFETCH(int, shownTopic);
    QFETCH(int, windowShortcuts);

    // A window with its own F1 (the help contents), a panel, and an edit box in the panel.
    QWidget window;
    QAction contents(u"&Contents"_s);
    contents.setShortcut(Qt::Key_F1);
    window.addAction(&contents);
    int contentsShown = 0;
    connect(&contents, &QAction::triggered, this, [&contentsShown] { ++contentsShown; });
    auto *panel = new QWidget;
    auto *edit = new QLineEdit(panel);
    (new QVBoxLayout(panel))->addWidget(edit);
    auto *other = new QLineEdit;
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(panel);
    layout->addWidget(other);
    Help::attachF1(panel, panelTopic);
    Help::attachF1(edit, editTopic);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    const int before = Help::lastTopic();
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key_F1);
    QCOMPARE(contentsShown, windowShortcuts);
    if (shownTopic) {
        QCOMPARE(Help::lastTopic(), shownTopic);
        QTRY_VERIFY(helpWindow());
    } else {
        QCOMPARE(Help::lastTopic(), before);
        QVERIFY(!helpWindow());
    }
    // A control outside the panel only gets the window's F1.
    if (helpWindow())
        Help::quit();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QTest::keyClick(other, Qt::Key_F1);
    QCOMPARE(contentsShown, windowShortcuts + 1);
    QVERIFY(!helpWindow());
}

void TestHelp::missingTopicShowsANoHelpPage()
{
    Help::showTopic(nullptr, 0);
    QVERIFY(!helpWindow());

    Help::showTopic(nullptr, 999);
    QTRY_VERIFY(helpWindow());
    QCOMPARE(Help::lastTopic(), 999);
    QCOMPARE(helpText().trimmed(), u"No help is available for this item."_s);
}

void TestHelp::windowIsReusedAndFollowsLinks()
{
    Help::showTopic(nullptr, 11);
    QTRY_VERIFY(helpWindow());
    QWidget *window = helpWindow();
    auto *browser = window->findChild<QTextBrowser *>(u"txtHelp"_s);
    QVERIFY(browser);

    // A link to another topic stays in the window.
    Q_EMIT browser->anchorClicked(QUrl(u"10.html"_s));
    QCOMPARE(Help::currentPage(), u"10.html"_s);

    // A web link goes to the desktop and the page stays.
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(u"https"_s, &catcher, "open");
    Q_EMIT browser->anchorClicked(QUrl(u"https://www.example.org/links"_s));
    QDesktopServices::unsetUrlHandler(u"https"_s);
    QCOMPARE(catcher.urls, QList<QUrl>{QUrl(u"https://www.example.org/links"_s)});
    QCOMPARE(Help::currentPage(), u"10.html"_s);

    auto *contents = window->findChild<QPushButton *>(u"btnContents"_s);
    QVERIFY(contents);
    QCOMPARE(contents->text().remove(u'&'), u"Contents"_s);
    QTest::mouseClick(contents, Qt::LeftButton);
    QCOMPARE(Help::currentPage(), u"contents.html"_s);
    QVERIFY(helpText().startsWith(u"Contents"_s));

    Help::showContents(nullptr);
    Help::showTopic(nullptr, 10);
    QCOMPARE(helpWindow(), window);

    Help::quit();
    QVERIFY(!helpWindow());
    QVERIFY(Help::currentPage().isEmpty());
}

void TestHelp::helpStaysUsableFromAModalDialog()
{
    QDialog dialog;
    auto *edit = new QLineEdit(&dialog);
    Help::attachWhatsThis(edit, 10);
    bool ownedByDialog = false;
    QString pageAfterClick;
    QTimer::singleShot(0, &dialog, [&] {
        QTRY_VERIFY(dialog.isVisible());
        chooseFromContextMenu(edit, u"mnuWhatsThis"_s);
        QTRY_VERIFY(helpWindow());
        ownedByDialog = helpWindow()->parentWidget() == &dialog;
        // The modal dialog blocks every window that does not belong to it.
        auto *contents = helpWindow()->findChild<QPushButton *>(u"btnContents"_s);
        QTest::mouseClick(contents, Qt::LeftButton);
        pageAfterClick = Help::currentPage();
        dialog.accept();
    });
    dialog.exec();
    QVERIFY(ownedByDialog);
    QCOMPARE(pageAfterClick, u"contents.html"_s);

    // Outside the dialog help belongs to nobody again.
    Help::showTopic(nullptr, 11);
    QTRY_VERIFY(helpWindow());
    QVERIFY(!helpWindow()->parentWidget());
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
