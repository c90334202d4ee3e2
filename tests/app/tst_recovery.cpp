// Unsaved work survives a crash: a recovery copy is kept while the page has changes and offered
// back at the next start.

#include "appfixture.h"

#include "app/application.h"
#include "app/blockeditor.h"
#include "document/pagefile.h"
#include "project/pagedocument.h"
#include "project/recovery.h"

#include <QLockFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString kRestoreQuestion = u"Brisko closed without saving your changes to Untitled. Restore them?"_s;

// The program as a user runs it in folder: the paragraph gets an edit that is never committed
// nor saved. Says "ready" once the recovery copy is on disk, then waits to be killed.
int runChild(const QString &folder)
{
    auto window = std::make_unique<TfrmMain>(folder);
    window->show();
    window->recovery()->setInterval(10);
    window->offerRecovery();
    QTest::mouseClick(window->findChild<QListWidget *>(u"lstBlocks"_s)->viewport(), Qt::LeftButton, {},
                      rowPoint(window->findChild<TBlockList *>(u"lstBlocks"_s), 3));
    auto *memo = window->findChild<QPlainTextEdit *>(u"txtText"_s);
    memo->setFocus();
    QTest::keyClicks(memo, u"Typed before the crash"_s);
    const QString copy = window->recovery()->copyPath();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QFile::exists(copy)) {
            poll.stop();
            std::printf("ready\n");
            std::fflush(stdout);
        }
    });
    poll.start(10);
    return QCoreApplication::exec();
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppFixture> m_fixture;
    QString recoveryFolder() const { return m_fixture->root() + u"data/Brisko/Recovery/"; }
    QStringList leftInFolder() const { return QDir(recoveryFolder()).entryList(QDir::Files); }

private Q_SLOTS:
    void init() { m_fixture = std::make_unique<AppFixture>(); }
    void cleanup()
    {
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'|')));
        m_fixture.reset();
    }

    void editSurvivesAKill()
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_DATA_HOME"_s, m_fixture->root() + u"data");
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {u"--child"_s, m_fixture->folder(), m_fixture->root() + u"settings.ini"});
        while (!child.canReadLine() && child.waitForReadyRead(20000)) {
        }
        QCOMPARE(child.readLine().trimmed(), QByteArray("ready"));
        child.kill(); // SIGKILL: no clean-up of any kind
        QVERIFY(child.waitForFinished(10000));

        auto window = m_fixture->makeWindow();
        Messages::setNextAnswer(Messages::Yes);
        window->offerRecovery();
        QCOMPARE(Messages::shown(), QStringList{kRestoreQuestion});
        Messages::clearHistory();
        QCOMPARE(window->document().Page.Items(3)->TextBlock.Text, u"Typed before the crash"_s);
        QCOMPARE(window->documentName(), u"Untitled"_s);
        QVERIFY(window->modified());
        // The old copy is gone; this run keeps its own.
        QVERIFY(RecoveryKeeper::orphans(recoveryFolder()).empty());
        QString error;
        QVERIFY2(window->recovery()->check(&error), qPrintable(error));
        QVERIFY(QFile::exists(window->recovery()->copyPath()));
        Messages::setNextAnswer(Messages::No);
        QVERIFY(window->close());
        Messages::clearHistory();
        QVERIFY(!QFile::exists(window->recovery()->copyPath()));
    }

    // An unchanged page, or a commit that changes nothing, writes no copy; saving removes it.
    void onlyChangedContentIsKept()
    {
        auto window = m_fixture->makeWindow();
        window->offerRecovery();
        RecoveryKeeper *keeper = window->recovery();
        QVERIFY(keeper->check());
        QVERIFY(!QFile::exists(keeper->copyPath()));
        window->viewPage(); // commits the open panel, marking the page modified, but changes nothing
        QVERIFY(window->modified());
        QVERIFY(keeper->check());
        QVERIFY(!QFile::exists(keeper->copyPath()));

        editBlock(*window, 3, [](TBlockEdit &edit) { edit.Item.TextBlock.Text = u"Changed"_s; });
        QVERIFY(keeper->check());
        QVERIFY(QFile::exists(keeper->copyPath()));
        const QDateTime written = QFileInfo(keeper->copyPath()).lastModified();
        QFile::setPermissions(keeper->copyPath(), QFile::ReadOwner); // a rewrite would now show
        QVERIFY(keeper->check());
        QCOMPARE(QFileInfo(keeper->copyPath()).lastModified(), written);

        FileDialogs::setNextFileName(m_fixture->folder() + u"BriskoFiles/Kept.mbe");
        Messages::setNextAnswer(Messages::Ok);
        QVERIFY(window->savePage());
        Messages::clearHistory();
        QVERIFY(!QFile::exists(keeper->copyPath()));
    }

    // Copies of running programs are not offered; a damaged copy is reported and kept aside; No
    // removes a copy.
    void copiesOfOtherRuns_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<int>("answer");
        QTest::newRow("another program is running") << true << false << 0;
        QTest::newRow("damaged") << false << true << int(Messages::Yes);
        QTest::newRow("answered No") << false << false << int(Messages::No);
    }
    void copiesOfOtherRuns()
    {
        QFETCH(bool, running);
        QFETCH(bool, damaged);
        QFETCH(int, answer);
        QVERIFY(QDir().mkpath(recoveryFolder()));
        const QString copy = recoveryFolder() + u"brisko-1.recovery";
        QFile file(copy);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(damaged ? "Brisko recovery 1\nUntitled\nTPF0\x0aTPagel" : "Brisko recovery 1\nUntitled\n");
        if (!damaged) {
            TPagelette page;
            page.AddDefaultBlocks();
            file.write(DocumentBytes(page));
        }
        file.close();
        QLockFile otherRun(recoveryFolder() + u"brisko-1.lock");
        if (running)
            QVERIFY(otherRun.tryLock(0));

        auto window = m_fixture->makeWindow();
        if (answer)
            Messages::setNextAnswer(answer);
        if (damaged)
            Messages::setNextAnswer(Messages::Ok);
        window->offerRecovery();
        const QStringList shown = Messages::shown();
        Messages::clearHistory();
        if (running) {
            QVERIFY(shown.isEmpty());
            QVERIFY(QFile::exists(copy));
            return;
        }
        QCOMPARE(shown.value(0), kRestoreQuestion);
        QVERIFY(!QFile::exists(copy));
        QCOMPARE(window->document().Page.Count(), 4);
        QVERIFY(!window->modified());
        if (damaged) {
            QVERIFY(shown.value(1).startsWith(u"The recovered changes could not be read."));
            QVERIFY(QFile::exists(copy + u".damaged"));
        }
    }
};

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--child") == 0) {
        TBriskoApplication app(argc, argv);
        SettingsStore::useFile(QString::fromLocal8Bit(argv[3]));
        return runChild(QString::fromLocal8Bit(argv[2]));
    }
    TBriskoApplication app(argc, argv);
    TestRecovery test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
