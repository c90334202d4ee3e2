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
    QString recoveryFolder() const { return m_fixture->recoveryFolder(); }
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

    // Copies of running programs are not offered, also when a running program has the id of the
    // one that wrote the copy; a damaged copy is reported and kept aside; only No removes a copy.
    void copiesOfOtherRuns_data()
    {
        QTest::addColumn<QString>("lock"); // "held", "stale with this process's id" or none
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("kept");
        QTest::newRow("another program is running") << u"held"_s << false << 0 << true;
        QTest::newRow("its id now belongs to a running program") << u"stale"_s << false << int(Messages::No) << false;
        QTest::newRow("damaged") << QString() << true << int(Messages::Yes) << false;
        QTest::newRow("answered No") << QString() << false << int(Messages::No) << false;
        QTest::newRow("closed without an answer") << QString() << false << int(Messages::Cancel) << true;
    }
    void copiesOfOtherRuns()
    {
        QFETCH(QString, lock);
        QFETCH(bool, damaged);
        QFETCH(int, answer);
        QFETCH(bool, kept);
        const QString copy = m_fixture->leaveRecoveryCopy(u"brisko-1-0.recovery"_s, damaged);
        const QString lockPath = recoveryFolder() + u"brisko-1-0.lock";
        QLockFile otherRun(lockPath);
        if (lock == u"held") {
            QVERIFY(otherRun.tryLock(0));
        } else if (lock == u"stale") {
            // What a lock by process id says when that id is this running program's.
            QLockFile mine(recoveryFolder() + u"mine.lock");
            QVERIFY(mine.tryLock(0));
            QVERIFY(QFile::copy(mine.fileName(), lockPath));
        }

        auto window = m_fixture->makeWindow();
        if (answer)
            Messages::setNextAnswer(answer);
        if (damaged)
            Messages::setNextAnswer(Messages::Ok);
        window->offerRecovery();
        const QStringList shown = Messages::shown();
        Messages::clearHistory();
        QCOMPARE(shown.value(0), answer ? kRestoreQuestion : QString());
        QCOMPARE(QFile::exists(copy), kept);
        QCOMPARE(RecoveryKeeper::orphans(recoveryFolder()).size(), size_t(kept && lock.isEmpty()));
        QCOMPARE(window->document().Page.Count(), 4);
        QVERIFY(!window->modified());
        if (damaged) {
            QVERIFY(shown.value(1).startsWith(u"The recovered changes could not be read."));
            QVERIFY(QFile::exists(copy + u".damaged"));
        }
    }

    // The copies hold unpublished work: only their owner may read them, also in a folder that was
    // left open.
    void copiesAreTheOwnersAlone()
    {
        QVERIFY(QDir().mkpath(recoveryFolder()) && QFile::setPermissions(recoveryFolder(), QFile::Permissions(0x7755)));
        auto window = m_fixture->makeWindow();
        window->offerRecovery();
        editBlock(*window, 3, [](TBlockEdit &edit) { edit.Item.TextBlock.Text = u"Private"_s; });
        QVERIFY(window->recovery()->check());
        const QStringList paths{recoveryFolder(), window->recovery()->copyPath(),
                                window->recovery()->copyPath().replace(u".recovery"_s, u".lock"_s)};
        for (const QString &path : paths) // no bit for the group or others
            QVERIFY2(QFile::exists(path) && !(QFile::permissions(path) & 0x0077), qPrintable(path));
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
