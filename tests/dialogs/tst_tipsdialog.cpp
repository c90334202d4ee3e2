// The tip of the day: which lines it shows, and how it stores "Show at startup".

#include "dialogs/tipsdialog.h"
#include "platform/gui/messages.h"
#include "platform/settingsstore.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestTipsDialog : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString folder() const { return m_dir.path() + u'/'; }
    void writeTips(const QByteArray &bytes)
    {
        QFile file(folder() + u"Tips.txt");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QString storedSetting() const { return SettingsStore::instance().readString({}, u"TipDay"_s); }

private Q_SLOTS:
    void initTestCase()
    {
        SettingsStore::useFile(folder() + u"settings.ini");
        Messages::setTestMode(true);
    }

    void pickerNeverShowsTheLastLine_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("two lines: only the first") << QByteArray("First\r\nClosing line\r\n") << QStringList{u"First"_s};
        QTest::newRow("one line is shown") << QByteArray("Only") << QStringList{u"Only"_s};
        QTest::newRow("mixed breaks, Windows-1252")
            << QByteArray("Caf\xe9 tip\rSecond\nThird\r\nClosing") << QStringList{u"Café tip"_s, u"Second"_s, u"Third"_s};
    }
    void pickerNeverShowsTheLastLine()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, shown);
        writeTips(file);
        TfrmTips dialog(folder(), true);
        auto *next = dialog.findChild<QPushButton *>(u"btnNext"_s);
        QVERIFY(next->isEnabled());
        QSet<QString> seen;
        for (quint32 seed = 1; seed <= 40; ++seed) {
            dialog.setRandomGenerator(QRandomGenerator(seed));
            seen.insert(dialog.currentTip());
            QTest::mouseClick(next, Qt::LeftButton);
            seen.insert(dialog.currentTip());
        }
        QCOMPARE(QSet<QString>(shown.begin(), shown.end()), seen);
    }

    void missingOrEmptyFileSaysWhereItLooked_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::newRow("empty") << true;
        QTest::newRow("missing") << false;
    }
    void missingOrEmptyFileSaysWhereItLooked()
    {
        QFETCH(bool, exists);
        QFile::remove(folder() + u"Tips.txt");
        if (exists)
            writeTips({});
        TfrmTips dialog(folder(), true);
        QVERIFY(!dialog.findChild<QPushButton *>(u"btnNext"_s)->isEnabled());
        QCOMPARE(dialog.currentTip(),
                 u"Could not load tips file! Please make sure Tips.txt is in the application folder of "_s + folder()
                     + u'.');
    }

    void everyWayOfClosingStoresTheSetting_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("show");
        QTest::newRow("Escape, unchecked") << u"escape"_s << false;
        QTest::newRow("Close, checked") << u"close"_s << true;
        QTest::newRow("close box, unchecked") << u"box"_s << false;
    }
    void everyWayOfClosingStoresTheSetting()
    {
        QFETCH(QString, how);
        QFETCH(bool, show);
        writeTips("A tip\r\nClosing\r\n");
        SettingsStore::instance().writeString({}, u"TipDay"_s, show ? u"0"_s : u"1"_s);
        TfrmTips dialog(folder(), !show);
        QTimer::singleShot(0, &dialog, [&] {
            auto *check = dialog.findChild<QCheckBox *>(u"chkShow"_s);
            QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, check->height() / 2));
            if (how == u"escape")
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else if (how == u"close")
                QTest::mouseClick(dialog.findChild<QPushButton *>(u"btnClose"_s), Qt::LeftButton);
            else
                dialog.close();
        });
        dialog.exec();
        QCOMPARE(dialog.showTips(), show);
        QCOMPARE(storedSetting(), show ? u"1"_s : u"0"_s);
    }
};

QTEST_MAIN(TestTipsDialog)
#include "tst_tipsdialog.moc"
