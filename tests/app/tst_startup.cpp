// The program's start sequence and its general error report, under the program's own
// application object.

#include "appfixture.h"

#include "app/application.h"
#include "app/splash.h"
#include "app/startup.h"
#include "dialogs/tipsdialog.h"
#include "document/pagefile.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QTimer>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

constexpr int kAnHour = 3600 * 1000;

class Thrower : public QObject
{
protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::User)
            throw std::runtime_error("The disk is full.");
        return QObject::event(event);
    }
};

template<typename T>
T *topLevel()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<T *>(widget))
            return found;
    }
    return nullptr;
}

} // namespace

class TestStartUp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void errorsThatReachTheEventLoopAreReported()
    {
        Messages::setTestMode(true);
        Messages::clearHistory();
        Thrower thrower;
        Messages::setNextAnswer(Messages::Ok);
        Messages::setNextAnswer(Messages::Ok);
        QEvent sent(QEvent::User);
        QCoreApplication::sendEvent(&thrower, &sent);
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QCOMPARE(Messages::shown(), QStringList(2, u"The disk is full."_s));
    }

    void unreadableStartFileIsReportedOverTheShownWindow()
    {
        AppFixture fixture;
        const QString broken = fixture.folder() + u"BriskoFiles/Broken.mbe"_s;
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a page") > 0);
        file.close();
        Messages::setTestMode(false);
        std::unique_ptr<TfrmMain> window;
        QStringList boxes;
        QTimer answering; // answers each box as it comes up, noting where it belongs
        connect(&answering, &QTimer::timeout, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                const bool overWindow = window && window->isVisible() && box->parentWidget() == window.get();
                boxes << box->text() + (overWindow ? u" (over the window)"_s : u" (elsewhere)"_s);
                box->accept();
            }
        });
        answering.start();

        window = std::make_unique<TfrmMain>(fixture.folder(), QStringList{broken});
        QCOMPARE(boxes, QStringList()); // nothing over the splash while the main window is made
        QCOMPARE(window->document().Page.Count(), 4);
        window->show();
        QTRY_COMPARE(boxes, QStringList{kInvalidDocumentMessage + u" (over the window)"_s});
        Messages::setTestMode(true);
    }

    void splashStaysUntilItsTimeIsUp_data()
    {
        QTest::addColumn<bool>("withFile");
        QTest::addColumn<QString>("title");
        QTest::newRow("no file: the window's first caption") << false << u"Marlowen HTML Brisko 4.0 - Untitled"_s;
        QTest::newRow("a project") << true << u"Walking Club.mbe - Marlowen HTML Brisko 4.0"_s;
    }
    void splashStaysUntilItsTimeIsUp()
    {
        QFETCH(bool, withFile);
        QFETCH(QString, title);
        AppFixture fixture;
        bool splashFirst = false;
        bool timeUp = false;
        bool shownBeforeTimeUp = false;
        QString shownTitle;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *main = topLevel<TfrmMain>();
            auto *splash = topLevel<TSplashScreen>();
            if (main && !main->isVisible() && splash && splash->isVisible() && !timeUp) {
                splashFirst = true; // the window is made while the splash shows
                // The splash's time is up now, not an hour from now.
                timeUp = true;
                splash->findChild<QTimer *>(u"Timer"_s)->start(0);
            }
            if (!main || !main->isVisible() || !shownTitle.isEmpty())
                return;
            shownBeforeTimeUp = !timeUp;
            shownTitle = main->windowTitle();
            QVERIFY(!topLevel<TSplashScreen>());
            main->close();
        });
        poll.start(20);
        const QStringList arguments = withFile ? QStringList{fixture.sample()} : QStringList{};
        QCOMPARE(RunBrisko(*qApp, arguments, fixture.folder(), kAnHour), 0);
        QVERIFY(splashFirst);
        QVERIFY(!shownBeforeTimeUp);
        QCOMPARE(shownTitle, title);
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'|')));
    }

    // With the setting on, the tip opens over the visible main window, the splash gone, after
    // the question about a previous run's work; Escape with the box unchecked turns it off for
    // the next start.
    void tipOfTheDayOpensOverTheShownWindow()
    {
        AppFixture fixture;
        SettingsStore::instance().writeString({}, u"TipDay"_s, u"1"_s);
        const QString copy = fixture.leaveRecoveryCopy(u"brisko-1-0.recovery"_s);
        Messages::setNextAnswer(Messages::No);
        bool overShownWindow = false;
        QStringList askedBeforeTip{u"(no tip)"_s};
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *tips = qobject_cast<TfrmTips *>(QApplication::activeModalWidget());
            if (tips) {
                auto *main = topLevel<TfrmMain>();
                auto *splash = topLevel<TSplashScreen>();
                overShownWindow = main && main->isVisible() && tips->parentWidget() == main
                                  && !(splash && splash->isVisible());
                askedBeforeTip = Messages::shown();
                tips->findChild<QCheckBox *>(u"chkShow"_s)->setChecked(false);
                QTest::keyClick(tips, Qt::Key_Escape);
            } else if (auto *main = topLevel<TfrmMain>(); main && main->isVisible() && !topLevel<TSplashScreen>()) {
                main->close();
            }
        });
        poll.start(20);
        QCOMPARE(RunBrisko(*qApp, {}, fixture.folder(), 0), 0);
        QVERIFY(overShownWindow);
        QCOMPARE(askedBeforeTip,
                 QStringList{u"Brisko closed without saving your changes to Untitled. Restore them?"_s});
        QVERIFY(!QFile::exists(copy));
        Messages::clearHistory();
        QCOMPARE(SettingsStore::instance().readString({}, u"TipDay"_s), u"0"_s);
        QVERIFY(!fixture.makeWindow({}, false)->showTips());
    }
};

int main(int argc, char *argv[])
{
    TBriskoApplication app(argc, argv);
    TestStartUp test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
