// Passwords and key passphrases in a real secret store, and SSH keys against a server that refuses passwords.
// Runs inside with-keyring.sh: a session bus and a GNOME Keyring of the test's own.

#include "findcontrol.h"
#include "platform/gui/messages.h"
#include "platform/settingsstore.h"
#include "publish/credentials.h"
#include "publish/gui/uploadwizard.h"
#include "publish/serverprofiles.h"
#include "testservers.h"

#include <QInputDialog>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestCredentials : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    SettingsStore &store() { return SettingsStore::instance(); }
    QString stored(const QString &value) { return store().readString(u"Profiles/Home"_s, value, u"<none>"_s); }
    QString secret(const QString &profile, const QString &value)
    {
        QString s;
        return Credentials::read(u"Profiles/%1/%2"_s.arg(profile, value), &s) == Credentials::Result::Ok ? s
                                                                                                        : u"<none>"_s;
    }
    // A key pair made for this test; an empty passphrase leaves the key unprotected.
    QString makeKey(const QString &name, const QString &passphrase)
    {
        const QString path = m_dir->filePath(name);
        const int rc = QProcess::execute(u"ssh-keygen"_s, {u"-q"_s, u"-t"_s, u"ed25519"_s, u"-N"_s, passphrase,
                                                         u"-C"_s, name, u"-f"_s, path});
        return rc == 0 ? path : QString();
    }
    // Sends one page through the wizard to an SFTP server that knows only the given public keys.
    QList<FileResult> sendBySsh(const QStringList &publicKeys, ServerProfile profile)
    {
        QByteArray keys;
        for (const QString &k : publicKeys)
            keys += readFile(k + u".pub"_s);
        writeFile(m_dir->filePath(u"authorized"_s), keys);
        const QString remote = m_dir->filePath(u"remote"_s);
        QDir().mkpath(remote + u"/www"_s);
        TestServer server(u"sftp"_s, remote, {u"--authorized-keys"_s, m_dir->filePath(u"authorized"_s)});
        if (!server.isRunning())
            return {};
        profile.name = u"Home"_s;
        profile.userName = TestServer::user();
        profile.host = u"sftp://127.0.0.1"_s;
        profile.port = QString::number(server.port());
        profile.initialDir = u"www"_s;
        profile.trustedKey = server.fingerprint();
        ServerProfiles::SaveProfile(store(), profile);
        const QString page = m_dir->filePath(u"page.html"_s);
        writeFile(page, "<HTML></HTML>\r\n");
        TfrmUpload wizard;
        wizard.setUploadList({page});
        wizard.setStateFolder(m_dir->filePath(u"state"_s));
        wizard.show();
        QTest::mouseClick(control<QAbstractButton>(wizard, u"btnUpload"_s), Qt::LeftButton);
        QSignalSpy ended(&wizard, &TfrmUpload::transferEnded);
        QTest::mouseClick(control<QAbstractButton>(wizard, u"btnSend"_s), Qt::LeftButton);
        // A question may start the transfer again.
        while (wizard.isSending())
            if (!ended.wait(30000))
                return {};
        return wizard.results();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        Messages::setTestMode(true);
        QVERIFY2(Credentials::write(u"probe"_s, u"x"_s) == Credentials::Result::Ok,
                 "no secret store: run this test through with-keyring.sh");
    }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        SettingsStore::useFile(m_dir->filePath(u"settings.ini"_s));
        Messages::clearHistory();
    }
    void cleanup() { QCOMPARE(Messages::pendingAnswers(), 0); }

    void secretsLiveInTheStoreAndMoveWithTheProfile_data()
    {
        QTest::addColumn<QString>("scrambledBefore"); // the Password value a profile from before holds
        QTest::addColumn<QString>("keyFile");
        QTest::newRow("new profile") << QString() << QString();
        QTest::newRow("scrambled password from before") << QString::fromLatin1(EncodeBase64(ScrambleText("old-pw")))
                                                        << QString();
        QTest::newRow("key passphrase") << QString() << u"/keys/id_ed25519"_s;
    }
    void secretsLiveInTheStoreAndMoveWithTheProfile()
    {
        QFETCH(QString, scrambledBefore);
        QFETCH(QString, keyFile);
        store().writeString(u"Profiles/Home"_s, u"Password"_s, scrambledBefore);
        store().writeString(u"Profiles/Home"_s, u"KeyFile"_s, keyFile);
        ServerProfile p;
        QVERIFY(ServerProfiles::LoadProfile(store(), u"Home"_s, &p));
        QCOMPARE(p.password, scrambledBefore.isEmpty() ? QString() : u"old-pw"_s);

        // The next store moves the password into the secret store; the settings file keeps none.
        p.password = u"pw \u00e9\"\n"_s;
        p.keyPassphrase = u"phrase"_s;
        QCOMPARE(ServerProfiles::SaveProfile(store(), p), SecretPlace::SecretStore);
        QCOMPARE(stored(u"Password"_s), QString());
        QCOMPARE(stored(u"KeyPassphrase"_s), u"<none>"_s);
        ServerProfile back;
        QVERIFY(ServerProfiles::LoadProfile(store(), u"Home"_s, &back));
        QCOMPARE(back.password, p.password);
        QCOMPARE(back.keyPassphrase, keyFile.isEmpty() ? QString() : u"phrase"_s);

        // A renamed profile takes its secrets along; a deleted one leaves none behind.
        back.name = u"Away"_s;
        ServerProfiles::SaveProfile(store(), back, u"Home"_s);
        QCOMPARE(secret(u"Home"_s, u"Password"_s), u"<none>"_s);
        QCOMPARE(secret(u"Away"_s, u"Password"_s), p.password);
        ServerProfiles::DeleteProfile(store(), u"Away"_s);
        QCOMPARE(secret(u"Away"_s, u"Password"_s), u"<none>"_s);
        QCOMPARE(secret(u"Away"_s, u"KeyPassphrase"_s), u"<none>"_s);
    }

    void sshKeysSignInWherePasswordsAreRefused_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<TransferFailure>("failure");
        QTest::addColumn<QString>("words");
        QTest::newRow("key file") << u"file"_s << TransferFailure::None << QString();
        QTest::newRow("agent, no password and no key file") << u"agent"_s << TransferFailure::None << QString();
        QTest::newRow("refused key") << u"other"_s << TransferFailure::KeyRefused << u"refused the key"_s;
        QTest::newRow("agent with a refused key")
            << u"agent other"_s << TransferFailure::AgentRefused << u"refused the keys of the SSH agent"_s;
    }
    void sshKeysSignInWherePasswordsAreRefused()
    {
        QFETCH(QString, how);
        QFETCH(TransferFailure, failure);
        QFETCH(QString, words);
        const QString key = makeKey(u"id"_s, QString());
        const QString other = makeKey(u"other"_s, QString());
        QVERIFY(!key.isEmpty() && !other.isEmpty());
        ServerProfile p;
        p.password = TestServer::password(); // refused by the server, so only the key can sign in
        p.keyFile = how == u"other"_s ? other : key;
        QProcess agent;
        if (how.startsWith(u"agent"_s)) {
            const QString socket = m_dir->filePath(u"agent.sock"_s);
            agent.start(u"ssh-agent"_s, {u"-D"_s, u"-a"_s, socket});
            QTRY_VERIFY(QFile::exists(socket));
            QProcess add;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(u"SSH_AUTH_SOCK"_s, socket);
            add.setProcessEnvironment(env);
            add.start(u"ssh-add"_s, {u"-q"_s, how == u"agent"_s ? key : other});
            QVERIFY(add.waitForFinished(10000) && add.exitCode() == 0);
            qputenv("SSH_AUTH_SOCK", QFile::encodeName(socket));
            p.password.clear();
            p.keyFile.clear();
        }
        const QList<FileResult> results = sendBySsh({key}, p);
        agent.kill();
        agent.waitForFinished();
        qunsetenv("SSH_AUTH_SOCK");
        QCOMPARE(results.size(), 1);
        QCOMPARE(results.first().failure, failure);
        if (failure != TransferFailure::None) {
            QCOMPARE(results.first().status, FileResult::Failed);
            QVERIFY2(results.first().reason.contains(words), qPrintable(results.first().reason));
        } else {
            QCOMPARE(results.first().status, FileResult::Sent);
            QCOMPARE(readFile(m_dir->filePath(u"remote/www/page.html"_s)), QByteArray("<HTML></HTML>\r\n"));
        }
    }

    void keyPassphraseIsAskedOnceAndKeptInTheStore()
    {
        const QString key = makeKey(u"locked"_s, u"open sesame"_s);
        QVERIFY(KeyFileIsEncrypted(key));
        QVERIFY(!KeyFileIsEncrypted(makeKey(u"plain"_s, QString())));
        ServerProfile p;
        p.keyFile = key;
        p.keyPassphrase = u"kept but wrong"_s; // refused: forgotten, and asked for
        int asked = 0;
        // The question comes once the secret store has answered: look for it until it is there.
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&asked] {
            auto *dialog = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != u"dlgPassphrase"_s || !dialog->isVisible())
                return;
            ++asked;
            dialog->setTextValue(u"open sesame"_s);
            dialog->accept();
        });
        answer.start(10);
        QList<FileResult> results = sendBySsh({key}, p);
        QCOMPARE(asked, 1);
        QCOMPARE(results.value(0).status, FileResult::Sent);
        QCOMPARE(secret(u"Home"_s, u"KeyPassphrase"_s), u"open sesame"_s);
        QCOMPARE(stored(u"KeyPassphrase"_s), u"<none>"_s);
        // Kept: the next send asks nothing.
        ServerProfiles::LoadProfile(store(), u"Home"_s, &p);
        results = sendBySsh({key}, p);
        QCOMPARE(asked, 1);
        QCOMPARE(results.value(0).status, FileResult::Sent);
    }
};

QTEST_MAIN(TestCredentials)
#include "tst_credentials.moc"
