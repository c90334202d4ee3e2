#include "document/pagefile.h"
#include "document/pagemodel.h"
#include "platform/settingsstore.h"
#include "publish/publishtarget.h"
#include "publish/serverprofiles.h"
#include "publish/uploadstate.h"
#include "testservers.h"

#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

// brisko-publish run as a user runs it, from a program folder of its own.
class TestPublishCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void sendsPageThenReportsItUnchanged();
    void checkNamesWhatIsMissingAndSendsNothing();
    void checkWarnsOfTheBuiltInFormAddressWithoutFailing();
    void badInputExitsWithTwo_data();
    void badInputExitsWithTwo();
    void failedLoginExitsWithOne();
    void sendsWithStoredProfile();
    void keyFileSignsInBySsh();
    void refusesFilesOutsideUploadFolder();
    void stateFolderProblemsAreReported_data();
    void stateFolderProblemsAreReported();

private:
    int run(const QStringList &args, const QString &password = TestServer::password());
    QString url(int port) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_program, m_project, m_remote;
    QByteArray m_out, m_err;
    QStringList m_html;
};

void TestPublishCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString prog = m_dir->filePath(QStringLiteral("Brisko/"));
    QDir().mkpath(prog);
    m_program = prog + QStringLiteral("brisko-publish");
    QVERIFY(QFile::copy(QStringLiteral(BRISKO_PROGRAM_DIR "/brisko-publish"), m_program));
    QFile::setPermissions(m_program, QFile::permissions(m_program) | QFile::ExeOwner);
    m_remote = m_dir->filePath(QStringLiteral("remote"));
    QDir().mkpath(m_remote + QStringLiteral("/www"));

    TPagelette page;
    page.AddDefaultBlocks();
    for (int i = 0; i < page.Page.Count(); ++i) {
        TPageItem &item = *page.Page.Items(i);
        if (item.BlockType == btPageProperties)
            item.PagePropertiesBlock.Background = QStringLiteral("back.gif");
        if (item.BlockType == btImage)
            item.ImageBlock.FileName = QStringLiteral("photo.jpg");
    }
    m_project = prog + QStringLiteral("BriskoFiles/Walking Club.mbe");
    writeFile(m_project, DocumentBytes(page));
    writeFile(prog + QStringLiteral("Upload/backgrounds/back.gif"), QByteArray(1200, 'g'));
    writeFile(prog + QStringLiteral("Upload/images/photo.jpg"), QByteArray(90000, 'j'));
    m_html = QStringList{QStringLiteral("<HTML><BODY BACKGROUND=\"back.gif\">"), QStringLiteral("<IMG SRC=\"photo.jpg\">"),
                         QStringLiteral("<A HREF=\"http://example.org/\">x</A></BODY></HTML>")};
    writeFile(prog + QStringLiteral("Upload/WalkingClub.html"), m_html.join(QStringLiteral("\r\n")).toLatin1());
}

QString TestPublishCli::url(int port) const
{
    return QStringLiteral("ftp://%1@127.0.0.1:%2/www").arg(TestServer::user()).arg(port);
}

int TestPublishCli::run(const QStringList &args, const QString &password)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("BRISKO_PASSWORD"), password);
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir->filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir->filePath(QStringLiteral("config")));
    p.setProcessEnvironment(env);
    p.start(m_program, args);
    if (!p.waitForFinished(30000))
        return -1;
    m_out = p.readAllStandardOutput();
    m_err = p.readAllStandardError();
    return p.exitCode();
}

void TestPublishCli::sendsPageThenReportsItUnchanged()
{
    TestServer server(QStringLiteral("ftp"), m_remote);
    QVERIFY(server.isRunning());
    QCOMPARE(run({url(server.port()), m_project}), 0);
    QCOMPARE(m_out, QByteArray("sent back.gif (1200 bytes)\nsent photo.jpg (90000 bytes)\n"
                               "sent WalkingClub.html (") +
                        QByteArray::number(m_html.join(QStringLiteral("\r\n")).size()) +
                        " bytes)\n3 sent, 0 unchanged, 0 failed\n");
    QCOMPARE(QFileInfo(m_remote + QStringLiteral("/www/photo.jpg")).size(), 90000);
    // The server offers no TLS: said on one line, never silently.
    QCOMPARE(m_err, QByteArray("warning: this server does not encrypt the connection: your password and your files "
                               "can be read on the way\n"));
    QCOMPARE(run({url(server.port()), m_project}), 0);
    QCOMPARE(m_out, QByteArray("unchanged back.gif\nunchanged photo.jpg\nunchanged WalkingClub.html\n"
                               "0 sent, 3 unchanged, 0 failed\n"));
    QCOMPARE(run({QStringLiteral("--all"), url(server.port()), m_project}), 0);
    QVERIFY(m_out.endsWith("3 sent, 0 unchanged, 0 failed\n"));
}

void TestPublishCli::checkNamesWhatIsMissingAndSendsNothing()
{
    m_html << QStringLiteral("<IMG SRC=\"gone.gif\"><IMG SRC='images/extra.gif'>");
    writeFile(m_dir->filePath(QStringLiteral("Brisko/Upload/WalkingClub.html")),
              m_html.join(QStringLiteral("\r\n")).toLatin1());
    writeFile(m_dir->filePath(QStringLiteral("Brisko/Upload/images/extra.gif")), "x");
    QCOMPARE(run({QStringLiteral("--check"), url(TestServer::closedPort()), m_project}), 1);
    QCOMPARE(m_err, QByteArray("warning: gone.gif is missing on disk\nwarning: images/extra.gif is not in the upload "
                               "list\n"));
    QCOMPARE(m_out, QByteArray("would send back.gif\nwould send photo.jpg\nwould send WalkingClub.html\n"));
}

void TestPublishCli::checkWarnsOfTheBuiltInFormAddressWithoutFailing()
{
    m_html.insert(2, QStringLiteral("<FORM ACTION=\"http://forms.marlowen.example/cgi-bin/FormMail.pl\">"));
    writeFile(m_dir->filePath(QStringLiteral("Brisko/Upload/WalkingClub.html")),
              m_html.join(QStringLiteral("\r\n")).toLatin1());
    QCOMPARE(run({QStringLiteral("--check"), url(TestServer::closedPort()), m_project}), 0);
    QCOMPARE(m_err, QByteArray("warning: The form sends its answers to the built-in address, which cannot deliver "
                               "mail. Set your own form-to-mail script address in the form's Advanced Options.\n"));
    QCOMPARE(m_out, QByteArray("would send back.gif\nwould send photo.jpg\nwould send WalkingClub.html\n"));
}

void TestPublishCli::badInputExitsWithTwo_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no arguments") << QStringList{};
    QTest::newRow("no project") << QStringList{QStringLiteral("ftp://u@127.0.0.1/www")};
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--fast"), QStringLiteral("ftp://u@h/"),
                                                   QStringLiteral("p.mbe")};
    QTest::newRow("password in url") << QStringList{QStringLiteral("ftp://u:TopSecret1@h/"), QStringLiteral("PROJECT")};
    QTest::newRow("password in invalid url") << QStringList{QStringLiteral("ftp://u:TopSecret1@[bad/x"),
                                                            QStringLiteral("PROJECT")};
    QTest::newRow("password with slash in invalid url")
        << QStringList{QStringLiteral("ftp://u:Top/Secret1@h:99999999/"), QStringLiteral("PROJECT")};
    QTest::newRow("unreadable project") << QStringList{QStringLiteral("ftp://u@127.0.0.1/www"),
                                                       QStringLiteral("/nonexistent/x.mbe")};
    QTest::newRow("unknown profile") << QStringList{QStringLiteral("--profile"), QStringLiteral("Nope"),
                                                    QStringLiteral("PROJECT")};
}

void TestPublishCli::badInputExitsWithTwo()
{
    QFETCH(QStringList, args);
    args.replaceInStrings(QStringLiteral("PROJECT"), m_project);
    QCOMPARE(run(args), 2);
    QVERIFY(m_out.isEmpty());
    QVERIFY(!m_err.isEmpty());
    QVERIFY2(!m_err.contains("Secret1"), m_err.constData());
}

void TestPublishCli::failedLoginExitsWithOne()
{
    TestServer server(QStringLiteral("ftp"), m_remote);
    QCOMPARE(run({url(server.port()), m_project}, QStringLiteral("not-it")), 1);
    QVERIFY2(m_out.startsWith("failed back.gif: the server refused the user name or password\n"),
             m_out.constData());
    QVERIFY(m_out.endsWith("0 sent, 0 unchanged, 3 failed\n"));
    QVERIFY(!m_out.contains("not-it") && !m_err.contains("not-it"));
}

void TestPublishCli::sendsWithStoredProfile()
{
    TestServer server(QStringLiteral("ftp"), m_remote);
    SettingsStore store(m_dir->filePath(QStringLiteral("config/Marlowen Software/HTML Brisko4.ini")));
    ServerProfile p;
    p.name = QStringLiteral("Club");
    p.userName = TestServer::user();
    p.password = TestServer::password();
    p.host = QStringLiteral("127.0.0.1");
    p.port = QString::number(server.port());
    p.initialDir = QStringLiteral("www");
    QCOMPARE(ServerProfiles::SaveProfile(store, p), SecretPlace::SecretStore);
    QVERIFY(store.sync());
    QCOMPARE(store.readString(QStringLiteral("Profiles/Club"), QStringLiteral("Password")), QString());
    QProcess p2;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("BRISKO_PASSWORD"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir->filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir->filePath(QStringLiteral("config")));
    p2.setProcessEnvironment(env);
    p2.start(m_program, {QStringLiteral("--profile"), QStringLiteral("Club"), m_project});
    QVERIFY(p2.waitForFinished(30000));
    const QByteArray out = p2.readAllStandardOutput();
    QVERIFY2(out.endsWith("3 sent, 0 unchanged, 0 failed\n"), out.constData());
    QCOMPARE(p2.exitCode(), 0);
}

void TestPublishCli::keyFileSignsInBySsh()
{
    const QString key = m_dir->filePath(QStringLiteral("id"));
    QCOMPARE(QProcess::execute(QStringLiteral("ssh-keygen"),
                               {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("ed25519"), QStringLiteral("-N"),
                                QString(), QStringLiteral("-f"), key}),
             0);
    const QString knownHosts = m_dir->filePath(QStringLiteral("known_hosts"));
    TestServer server(QStringLiteral("sftp"), m_remote,
                      {QStringLiteral("--authorized-keys"), key + QStringLiteral(".pub"), QStringLiteral("--known-hosts"),
                       knownHosts});
    QVERIFY(server.isRunning());
    const QString target = QStringLiteral("sftp://%1@127.0.0.1:%2/www").arg(TestServer::user()).arg(server.port());
    QCOMPARE(run({QStringLiteral("--known-hosts"), knownHosts, QStringLiteral("--key"), key, target, m_project}), 0);
    QVERIFY2(m_out.endsWith("3 sent, 0 unchanged, 0 failed\n"), m_out.constData());
    QCOMPARE(run({QStringLiteral("--known-hosts"), knownHosts, QStringLiteral("--key"),
                  m_dir->filePath(QStringLiteral("missing")), target, m_project}),
             2);
}

void TestPublishCli::refusesFilesOutsideUploadFolder()
{
    // A project may name any file as a picture, and a picture may be a link to anywhere.
    writeFile(m_dir->filePath(QStringLiteral("id_ed25519")), "PRIVATE KEY");
    writeFile(m_dir->filePath(QStringLiteral("notes.txt")), "private notes");
    const QString back = m_dir->filePath(QStringLiteral("Brisko/Upload/backgrounds/back.gif"));
    QVERIFY(QFile::remove(back));
    QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("notes.txt")), back));
    QString error;
    const auto page = LoadDocument(m_project, &error);
    QVERIFY(page);
    for (int i = 0; i < page->Page.Count(); ++i) {
        if (page->Page.Items(i)->BlockType == btImage)
            page->Page.Items(i)->ImageBlock.FileName = QStringLiteral("../../../id_ed25519");
    }
    writeFile(m_project, DocumentBytes(*page));
    QCOMPARE(run({QStringLiteral("--check"), url(TestServer::closedPort()), m_project}), 1);
    QCOMPARE(m_out, QByteArray("would refuse back.gif\nwould refuse id_ed25519\nwould send WalkingClub.html\n"));
    TestServer server(QStringLiteral("ftp"), m_remote);
    QVERIFY(server.isRunning());
    QCOMPARE(run({url(server.port()), m_project}), 1);
    QVERIFY2(m_out.startsWith("refused back.gif: outside the Upload folder\n"
                              "refused id_ed25519: outside the Upload folder\nsent WalkingClub.html"),
             m_out.constData());
    QVERIFY(m_out.endsWith("1 sent, 0 unchanged, 2 failed\n"));
    QCOMPARE(QDir(m_remote + QStringLiteral("/www")).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("WalkingClub.html")});
}

void TestPublishCli::stateFolderProblemsAreReported_data()
{
    QTest::addColumn<bool>("locked");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("error");
    QTest::addColumn<QByteArray>("summary");
    QTest::newRow("another publish holds the lock")
        << true << 1 << QByteArray("brisko-publish: another publish to this server is running\n") << QByteArray();
    QTest::newRow("record cannot be written")
        << false << 0
        << QByteArray("warning: the record of what was sent could not be written (")
        << QByteArray("3 sent, 0 unchanged, 0 failed\n");
}

void TestPublishCli::stateFolderProblemsAreReported()
{
    QFETCH(bool, locked);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, error);
    QFETCH(QByteArray, summary);
    TestServer server(QStringLiteral("ftp"), m_remote);
    QVERIFY(server.isRunning());
    PublishTarget target;
    QString problem;
    QVERIFY(PublishTarget::fromUrl(url(server.port()), &target, &problem));
    const QString stateDir = m_dir->filePath(QStringLiteral("data/Marlowen Software/HTML Brisko4/publish"));
    QVERIFY(QDir().mkpath(stateDir));
    QLockFile other(UploadState::lockFileFor(stateDir, target.destinationKey()));
    if (locked)
        QVERIFY(other.tryLock(0));
    else // a folder where the record belongs: it cannot be replaced by a file
        QVERIFY(QDir().mkpath(UploadState::fileFor(stateDir, target.destinationKey())));
    QCOMPARE(run({url(server.port()), m_project}), exitCode);
    QVERIFY2(m_err.contains(error), m_err.constData()); // after the warning of a server without TLS
    QVERIFY2(m_out.endsWith(summary), m_out.constData());
    QCOMPARE(QFile::exists(m_remote + QStringLiteral("/www/WalkingClub.html")), !locked);
}

QTEST_GUILESS_MAIN(TestPublishCli)
#include "tst_publishcli.moc"
