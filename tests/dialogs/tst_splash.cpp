#include "app/splash.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QLabel *picture(TSplashScreen &splash)
{
    return splash.findChild<QLabel *>(u"imgSplash"_s);
}
QLabel *link(TSplashScreen &splash)
{
    return splash.findChild<QLabel *>(u"lbl"_s);
}

// A point on the picture well away from the link label.
const QPoint kOnPicture(300, 60);

} // namespace

class TestSplash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startUpRefusesToCloseUntilItsTimerFires();
    void aboutBoxClosesOnAPictureClick();
    void showAboutRunsModallyUntilClosed();
    void borderlessCentredWithAnUnclippedLink_data();
    void borderlessCentredWithAnUnclippedLink();
};

void TestSplash::startUpRefusesToCloseUntilItsTimerFires()
{
    TSplashScreen splash(TSplashScreen::Mode::StartUp);
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    const auto *timer = splash.findChild<QTimer *>(u"Timer"_s);
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 2500);
    QVERIFY(splash.timerRunning());
    QVERIFY(!link(splash)->isVisible());
    QVERIFY(!picture(splash)->isEnabled());

    // Closing, Escape and a click on the picture all leave it standing.
    QVERIFY(!splash.close());
    QTest::keyClick(&splash, Qt::Key_Escape);
    QTest::mouseClick(picture(splash), Qt::LeftButton, {}, kOnPicture);
    QVERIFY(splash.isVisible());

    QTRY_VERIFY_WITH_TIMEOUT(!splash.timerRunning(), 5000);
    QVERIFY(!timer->isActive());
    QVERIFY(splash.close());
    QVERIFY(!splash.isVisible());
}

void TestSplash::aboutBoxClosesOnAPictureClick()
{
    TSplashScreen about(TSplashScreen::Mode::About);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QVERIFY(!about.timerRunning());
    QVERIFY(picture(about)->isEnabled());
    QVERIFY(link(about)->isVisible());
    QCOMPARE(link(about)->text(), u"http://www.marlowen.example/"_s);

    QTest::mouseClick(picture(about), Qt::LeftButton, {}, kOnPicture);
    QVERIFY(!about.isVisible());
}

void TestSplash::showAboutRunsModallyUntilClosed()
{
    bool sawBox = false;
    QTimer::singleShot(0, this, [&sawBox] {
        auto *about = qobject_cast<TSplashScreen *>(QApplication::activeModalWidget());
        if (!about)
            return;
        sawBox = about->isModal() && about->findChild<QLabel *>(u"lbl"_s)->isVisible();
        QTest::mouseClick(about->findChild<QLabel *>(u"imgSplash"_s), Qt::LeftButton, {}, kOnPicture);
    });
    TSplashScreen::showAbout(nullptr);
    QVERIFY(sawBox);
}

void TestSplash::borderlessCentredWithAnUnclippedLink_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("start-up") << int(TSplashScreen::Mode::StartUp);
    QTest::newRow("about") << int(TSplashScreen::Mode::About);
}

void TestSplash::borderlessCentredWithAnUnclippedLink()
{
    QFETCH(int, mode);
    TSplashScreen splash{TSplashScreen::Mode(mode)};
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(splash.size(), QSize(400, 320));
    QCOMPARE(picture(splash)->geometry(), QRect(0, 0, 400, 320));
    QVERIFY(!picture(splash)->pixmap().isNull());
    QCOMPARE(splash.geometry().center(), splash.screen()->geometry().center());

    // White 15-pixel text at the lower left, wholly inside the window, with a hand cursor.
    const QLabel *label = link(splash);
    QCOMPARE(label->font().pixelSize(), 15);
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));
    QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(label->width() >= label->sizeHint().width());
    QVERIFY(splash.rect().contains(label->geometry()));
    QVERIFY(label->geometry().left() < 40);
    QVERIFY(label->geometry().bottom() > 320 - 40);
    // Only the start-up window's timer runs from its creation.
    QCOMPARE(splash.timerRunning(), mode == int(TSplashScreen::Mode::StartUp));
}

QTEST_MAIN(TestSplash)
#include "tst_splash.moc"
