#include "publish/publishtarget.h"
#include "publish/transferworker.h"
#include "testservers.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Short durations: the tests check that each limit is applied, not its everyday value.
TransferTimeouts shortTimeouts()
{
    TransferTimeouts t;
    t.connectMs = 3000;
    t.stallMs = 1500;
    t.replyMs = 1500;
    return t;
}

QByteArray pattern(int size, char seed)
{
    QByteArray data(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        data[i] = char(seed + i * 7 + i / 251);
    return data;
}

} // namespace

class TestTransfer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void hostTextChoosesProtocolAndPort_data();
    void hostTextChoosesProtocolAndPort();
    void sendsPageThenOnlyWhatChanged_data();
    void sendsPageThenOnlyWhatChanged();
    void faultsEndInHonestFailure_data();
    void faultsEndInHonestFailure();
    void unknownServerKeyRefusedUntilTrusted_data();
    void unknownServerKeyRefusedUntilTrusted();
    void stopEndsTransferQuickly();
    void awkwardNamesArriveIntactOrFailAlone_data();
    void awkwardNamesArriveIntactOrFailAlone();
    void oddServersNeverGetAFileReportedWrongly_data();
    void oddServersNeverGetAFileReportedWrongly();

private:
    QList<FileResult> send(const PublishTarget &target, const QStringList &files, bool sendAll = false,
                           const QString &trusted = {}, QString *untrusted = nullptr, qint64 *elapsedMs = nullptr);
    QStringList makePage();

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_local, m_remote, m_state, m_cert;
    int m_connections = 1;
};

void TestTransfer::init()
{
    m_connections = 1;
    m_dir = std::make_unique<QTemporaryDir>();
    m_local = m_dir->filePath(QStringLiteral("local"));
    m_remote = m_dir->filePath(QStringLiteral("remote"));
    m_state = m_dir->filePath(QStringLiteral("state"));
    QDir().mkpath(m_local);
    QDir().mkpath(m_remote + QStringLiteral("/public_html"));
    m_cert = m_dir->filePath(QStringLiteral("server.pem"));
}

QStringList TestTransfer::makePage()
{
    const QStringList files{m_local + QStringLiteral("/back.gif"), m_local + QStringLiteral("/photo.jpg"),
                            m_local + QStringLiteral("/WalkingClub.html")};
    writeFile(files[0], pattern(3000, 'a'));
    writeFile(files[1], pattern(700000, 'b'));
    writeFile(files[2], "<HTML>\r\n<BODY BACKGROUND=\"back.gif\"><IMG SRC=\"photo.jpg\"></BODY>\r\n</HTML>\r\n");
    return files;
}

QList<FileResult> TestTransfer::send(const PublishTarget &target, const QStringList &files, bool sendAll,
                                     const QString &trusted, QString *untrusted, qint64 *elapsedMs)
{
    TransferOptions o;
    o.target = target;
    o.files = files;
    o.sendAll = sendAll;
    o.stateDir = m_state;
    o.timeouts = shortTimeouts();
    o.trustedFingerprint = trusted;
    o.connections = m_connections;
    TransferWorker worker(o);
    QElapsedTimer timer;
    timer.start();
    worker.run();
    if (elapsedMs)
        *elapsedMs = timer.elapsed();
    if (untrusted)
        *untrusted = worker.untrustedFingerprint();
    for (const FileResult &r : worker.results())
        if (r.reason.contains(TestServer::password()))
            QTest::qFail("the password appears in a message", __FILE__, __LINE__);
    return worker.results();
}

// The files of a remote folder with their contents, hidden ones included.
static QMap<QString, QByteArray> remoteFiles(const QString &folder)
{
    QMap<QString, QByteArray> files;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names)
        files.insert(name, readFile(folder + QLatin1Char('/') + name));
    return files;
}

static QString statuses(const QList<FileResult> &results)
{
    QStringList s;
    for (const FileResult &r : results)
        s << (r.status == FileResult::Sent ? QStringLiteral("sent") : r.status == FileResult::Unchanged
                                                                          ? QStringLiteral("unchanged")
                                                                          : QStringLiteral("failed"));
    return s.join(QLatin1Char(' '));
}

void TestTransfer::hostTextChoosesProtocolAndPort_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("port");
    QTest::addColumn<int>("protocol");
    QTest::addColumn<int>("expectedPort");
    QTest::addColumn<QByteArray>("url");
    QTest::newRow("bare host") << "example.com" << "21" << int(PublishProtocol::Ftp) << 21
                               << QByteArray("ftp://example.com:21/www/a.gif");
    QTest::newRow("ftp scheme") << "FTP://example.com/" << "2121" << int(PublishProtocol::Ftp) << 2121
                                << QByteArray("ftp://example.com:2121/www/a.gif");
    QTest::newRow("explicit tls") << "ftpes://example.com" << "21" << int(PublishProtocol::FtpExplicit) << 21
                                  << QByteArray("ftp://example.com:21/www/a.gif");
    QTest::newRow("implicit tls") << "ftps://example.com" << "21" << int(PublishProtocol::FtpImplicit) << 990
                                  << QByteArray("ftps://example.com:990/www/a.gif");
    QTest::newRow("sftp default") << "sftp://example.com" << "21" << int(PublishProtocol::Sftp) << 22
                                  << QByteArray("sftp://example.com:22/~/www/a.gif");
    QTest::newRow("sftp own port") << "sftp://example.com" << "2222" << int(PublishProtocol::Sftp) << 2222
                                   << QByteArray("sftp://example.com:2222/~/www/a.gif");
    QTest::newRow("empty port") << "example.com" << "" << int(PublishProtocol::Ftp) << 21
                                << QByteArray("ftp://example.com:21/www/a.gif");
}

void TestTransfer::hostTextChoosesProtocolAndPort()
{
    QFETCH(QString, host);
    QFETCH(QString, port);
    QFETCH(int, protocol);
    QFETCH(int, expectedPort);
    QFETCH(QByteArray, url);
    const PublishTarget t = PublishTarget::fromProfile(host, port, QStringLiteral("u"), QStringLiteral("p"),
                                                       QStringLiteral("/www/"));
    QCOMPARE(int(t.protocol), protocol);
    QCOMPARE(t.port, expectedPort);
    QCOMPARE(t.fileUrl(QStringLiteral("a.gif")), url);
}

// One row per kind of server.
static void addProtocolRows()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("ftp") << "ftp";
    QTest::newRow("ftp with required tls") << "ftpes";
    QTest::newRow("ftp with implicit tls") << "ftps";
    QTest::newRow("sftp") << "sftp";
}

void TestTransfer::sendsPageThenOnlyWhatChanged_data()
{
    addProtocolRows();
}

void TestTransfer::sendsPageThenOnlyWhatChanged()
{
    QFETCH(QString, mode);
    const bool tls = mode == QLatin1String("ftpes") || mode == QLatin1String("ftps");
    QStringList extra;
    if (tls) {
        QVERIFY(TestServer::makeCertificate(m_cert));
        extra << QStringLiteral("--cert") << m_cert;
    }
    TestServer server(mode, m_remote, extra);
    QVERIFY(server.isRunning());
    const QStringList files = makePage();
    PublishTarget t = PublishTarget::fromProfile(mode + QStringLiteral("://127.0.0.1"), QString::number(server.port()),
                                                 TestServer::user(), TestServer::password(),
                                                 QStringLiteral("public_html"));
    // The self-signed certificate is trusted the way a user trusts it: by its fingerprint.
    QString trusted = server.fingerprint() == QLatin1String("-") ? QString() : server.fingerprint();
    if (tls) {
        QString offered;
        QCOMPARE(statuses(send(t, files, false, {}, &offered)), QStringLiteral("failed failed failed"));
        QVERIFY(offered.startsWith(QLatin1String("SHA256:")));
        trusted = offered;
    }

    QCOMPARE(statuses(send(t, files, false, trusted)), QStringLiteral("sent sent sent"));
    for (const QString &f : files)
        QCOMPARE(readFile(m_remote + QStringLiteral("/public_html/") + QFileInfo(f).fileName()), readFile(f));
    QCOMPARE(QDir(m_remote + QStringLiteral("/public_html")).entryList(QDir::Files | QDir::Hidden).size(), 3);

    QCOMPARE(statuses(send(t, files, false, trusted)), QStringLiteral("unchanged unchanged unchanged"));

    writeFile(files[1], pattern(650000, 'c'));
    QCOMPARE(statuses(send(t, files, false, trusted)), QStringLiteral("unchanged sent unchanged"));
    QCOMPARE(readFile(m_remote + QStringLiteral("/public_html/photo.jpg")), readFile(files[1]));

    // A file that vanished from the server goes up again although the record says it was sent.
    QVERIFY(QFile::remove(m_remote + QStringLiteral("/public_html/back.gif")));
    QCOMPARE(statuses(send(t, files, false, trusted)), QStringLiteral("sent unchanged unchanged"));

    QCOMPARE(statuses(send(t, files, true, trusted)), QStringLiteral("sent sent sent"));
}

void TestTransfer::faultsEndInHonestFailure_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason");
    QTest::newRow("wrong password") << "password" << "refused the user name or password";
    QTest::newRow("closed port") << "closed" << "could not connect";
    QTest::newRow("server freezes mid-file") << "freeze" << "did not answer within 2 s";
    QTest::newRow("server killed mid-file") << "die" << "connection to the server broke off";
    QTest::newRow("server stops reading a big file") << "freeze" << "no data moved for 2 s";
}

void TestTransfer::faultsEndInHonestFailure()
{
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    QStringList extra;
    if (fault == QLatin1String("freeze") || fault == QLatin1String("die"))
        extra << QStringLiteral("--fault") << fault << QStringLiteral("--after") << QStringLiteral("200000");
    // Bigger than the socket buffers, so that the frozen server stops the transfer mid-file.
    const bool bigFile = QTest::currentDataTag() == QByteArray("server stops reading a big file");
    if (bigFile)
        extra = QStringList{QStringLiteral("--fault"), QStringLiteral("freeze"), QStringLiteral("--after"),
                            QStringLiteral("200000")};
    TestServer server(QStringLiteral("ftp"), m_remote, extra);
    QVERIFY(server.isRunning());
    const QStringList files = makePage();
    if (bigFile)
        writeFile(files[1], pattern(24 << 20, 'd'));
    const int port = fault == QLatin1String("closed") ? TestServer::closedPort() : server.port();
    const QString password = fault == QLatin1String("password") ? QStringLiteral("wrong") : TestServer::password();
    const PublishTarget t = PublishTarget::fromProfile(QStringLiteral("127.0.0.1"), QString::number(port),
                                                       TestServer::user(), password, QStringLiteral("public_html"));
    qint64 elapsed = 0;
    const QList<FileResult> results = send(t, files, false, {}, nullptr, &elapsed);
    QVERIFY2(elapsed < 15000, qPrintable(QString::number(elapsed)));
    qInfo("%s detected in %lld ms: %s", qPrintable(fault), elapsed,
          qPrintable(results.value(1).reason));

    QCOMPARE(results.size(), files.size());
    for (const FileResult &r : results) {
        const QString remote = m_remote + QStringLiteral("/public_html/") + r.name;
        if (r.status == FileResult::Sent)
            QCOMPARE(readFile(remote), readFile(r.localPath));
        else if (QFile::exists(remote)) // never half a file under the final name
            QCOMPARE(readFile(remote), readFile(r.localPath));
    }
    // The big picture is where the faulty servers give up.
    QCOMPARE(results[1].status, FileResult::Failed);
    QCOMPARE(results[2].status, FileResult::Failed);
    QVERIFY2(results[1].reason.contains(reason), qPrintable(results[1].reason));
    QVERIFY(!results[2].reason.isEmpty());
}

void TestTransfer::unknownServerKeyRefusedUntilTrusted_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("sftp host key") << "sftp";
    QTest::newRow("tls certificate") << "ftpes";
}

void TestTransfer::unknownServerKeyRefusedUntilTrusted()
{
    QFETCH(QString, mode);
    QStringList extra;
    if (mode == QLatin1String("ftpes")) {
        // A shared host's certificate names another host: once the user trusts its key, the key decides.
        QVERIFY(TestServer::makeCertificate(m_cert, QStringLiteral("shared.example.net")));
        extra << QStringLiteral("--cert") << m_cert;
    }
    TestServer server(mode, m_remote, extra);
    QVERIFY(server.isRunning());
    const QStringList files = makePage().mid(0, 1);
    const PublishTarget t = PublishTarget::fromProfile(
        mode + QStringLiteral("://127.0.0.1"), QString::number(server.port()), TestServer::user(),
        TestServer::password(), QStringLiteral("public_html"));

    QString offered;
    QList<FileResult> results = send(t, files, false, {}, &offered);
    QCOMPARE(statuses(results), QStringLiteral("failed"));
    QVERIFY2(offered.startsWith(QLatin1String("SHA256:")), qPrintable(offered));
    QVERIFY2(results[0].reason.contains(offered), qPrintable(results[0].reason));
    if (mode == QLatin1String("sftp"))
        QCOMPARE(offered, server.fingerprint());
    QVERIFY(!QFile::exists(m_remote + QStringLiteral("/public_html/back.gif")));

    // A key other than the trusted one is refused with a warning, however well the certificate names the host.
    QString other = offered;
    other[10] = other[10] == QLatin1Char('A') ? QLatin1Char('B') : QLatin1Char('A');
    results = send(t, files, false, other);
    QCOMPARE(statuses(results), QStringLiteral("failed"));
    QVERIFY(results[0].failure == TransferFailure::CertificateChanged ||
            results[0].failure == TransferFailure::HostKeyChanged);
    QVERIFY2(results[0].reason.contains(QLatin1String("changed")), qPrintable(results[0].reason));

    results = send(t, files, false, offered);
    QVERIFY2(statuses(results) == QLatin1String("sent"), qPrintable(results[0].reason));
}

void TestTransfer::stopEndsTransferQuickly()
{
    // A server that stops reading: only Stop, long before the timeouts, ends the transfer.
    TestServer server(QStringLiteral("ftp"), m_remote,
                      {QStringLiteral("--fault"), QStringLiteral("freeze"), QStringLiteral("--after"),
                       QStringLiteral("100000")});
    QVERIFY(server.isRunning());
    TransferOptions o;
    o.target = PublishTarget::fromProfile(QStringLiteral("127.0.0.1"), QString::number(server.port()),
                                          TestServer::user(), TestServer::password(), QString());
    o.files = makePage();
    o.timeouts.stallMs = o.timeouts.replyMs = 60000;
    auto *worker = new TransferWorker(o);
    QThread thread;
    worker->moveToThread(&thread);
    connect(&thread, &QThread::started, worker, &TransferWorker::run);
    QSignalSpy finished(worker, &TransferWorker::finished);
    QSignalSpy started(worker, &TransferWorker::fileStarted);
    thread.start();
    QTRY_COMPARE_WITH_TIMEOUT(started.size(), 2, 10000);
    QElapsedTimer timer;
    timer.start();
    worker->stop();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 3000);
    QVERIFY2(timer.elapsed() < 1500, qPrintable(QString::number(timer.elapsed())));
    thread.quit();
    thread.wait();
    const QList<FileResult> results = worker->results();
    delete worker;
    QCOMPARE(statuses(results), QStringLiteral("sent failed failed"));
    QVERIFY(results[1].reason.contains(QLatin1String("stopped")));
    QVERIFY(!QFile::exists(m_remote + QStringLiteral("/photo.jpg")));
}

void TestTransfer::awkwardNamesArriveIntactOrFailAlone_data()
{
    addProtocolRows();
}

void TestTransfer::awkwardNamesArriveIntactOrFailAlone()
{
    QFETCH(QString, mode);
    QStringList extra;
    if (mode.startsWith(QLatin1String("ftp")) && mode != QLatin1String("ftp")) {
        QVERIFY(TestServer::makeCertificate(m_cert));
        extra << QStringLiteral("--cert") << m_cert;
    }
    // The live site, and what lies beside it: none of it may change.
    const QString site = m_remote + QStringLiteral("/public_html");
    writeFile(site + QStringLiteral("/index.html"), "the live page");
    writeFile(site + QStringLiteral("/moved.gif"), "a live picture");
    writeFile(m_remote + QStringLiteral("/private.txt"), "beside the site");
    writeFile(site + QStringLiteral("/.earlier.gif.brisko-part"), "left by a run that broke off");
    const QStringList good{QStringLiteral("\" \"moved.gif"),       QStringLiteral("q\"uo'te.gif"),
                           QStringLiteral("back\\slash.gif"),       QStringLiteral("index.html\" x.gif"),
                           QStringLiteral("pct%2d%1 DELE y.gif"),    QStringLiteral("R&D <b>.gif"),
                           QStringLiteral("semi;colon $(x) `y`.gif"), QStringLiteral("-dash *.gif"),
                           QStringLiteral("\u00fcml\u00e4ut \u20ac.gif"), QStringLiteral("trailing .gif"),
                           QStringLiteral("index.html")};
    const QStringList bad{QStringLiteral("tab\there.gif"), QStringLiteral("line\r\nbreak.gif")};
    QMap<QString, QByteArray> expected = remoteFiles(site);
    expected.remove(QStringLiteral(".earlier.gif.brisko-part"));
    QStringList files;
    for (const QString &name : good + bad) {
        files << m_local + QLatin1Char('/') + name;
        writeFile(files.last(), pattern(1000 + int(files.size()) * 37, char(files.size())));
        if (good.contains(name))
            expected.insert(name, readFile(files.last()));
    }
    TestServer server(mode, m_remote, extra);
    QVERIFY(server.isRunning());
    const PublishTarget t = PublishTarget::fromProfile(mode + QStringLiteral("://127.0.0.1"),
                                                       QString::number(server.port()), TestServer::user(),
                                                       TestServer::password(), QStringLiteral("public_html"));
    QString trusted = server.fingerprint() == QLatin1String("-") ? QString() : server.fingerprint();
    if (!extra.isEmpty())
        send(t, files.mid(0, 1), false, {}, &trusted);
    m_connections = 4; // each connection takes the next file; the results keep the order of the list

    const QList<FileResult> results = send(t, files, false, trusted);
    QCOMPARE(results.size(), files.size());
    for (const FileResult &r : results) {
        if (bad.contains(r.name)) {
            QCOMPARE(r.failure, TransferFailure::ControlCharacter);
        } else {
            QVERIFY2(r.status == FileResult::Sent, qPrintable(PublishResultLine(r)));
            // The line shows the name as it is, whatever it holds.
            QCOMPARE(PublishResultLine(r), QStringLiteral("sent ") + r.name + QStringLiteral(" (") +
                                               QString::number(r.size) + QStringLiteral(" bytes)"));
        }
    }
    QCOMPARE(remoteFiles(site), expected);
    QCOMPARE(QDir(m_remote).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList({QStringLiteral("private.txt"), QStringLiteral("public_html")}));
    QCOMPARE(readFile(m_remote + QStringLiteral("/private.txt")), QByteArray("beside the site"));
}

void TestTransfer::oddServersNeverGetAFileReportedWrongly_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("serverArgs");
    QTest::addColumn<QString>("expected");      // statuses of the three files
    QTest::addColumn<TransferFailure>("failure"); // of the failed files
    QTest::addColumn<QString>("reply");         // the server's words shown with the failure
    QTest::addColumn<int>("check");             // how the sent files were confirmed
    QTest::addColumn<int>("connections");
    const QString all = QStringLiteral("sent sent sent");
    const int size = FileResult::SizeChecked;
    QTest::newRow("no SIZE command") << "ftp" << QStringList{u"--without"_s, u"SIZE"_s} << all << TransferFailure::None
                                     << "" << size << 1;
    QTest::newRow("no SIZE nor MLST") << "ftp" << QStringList{u"--without"_s, u"SIZE"_s, u"--without"_s, u"MLST"_s} << all
                                      << TransferFailure::None << "" << int(FileResult::ReplyChecked) << 1;
    QTest::newRow("one login at a time") << "ftp" << QStringList{u"--max-logins"_s, u"1"_s} << all
                                         << TransferFailure::None << "" << size << 4;
    // The refused connection's file comes back after the others are done.
    QTest::newRow("one login, slow refusal")
        << "ftp" << QStringList{u"--max-logins"_s, u"1"_s, u"--slow-refusal"_s, u"300"_s} << all
        << TransferFailure::None << "" << size << 4;
    QTest::newRow("disk full") << "ftp" << QStringList{u"--fault"_s, u"full"_s, u"--after"_s, u"100000"_s}
                               << "sent failed failed" << TransferFailure::DiskFull << "452 Insufficient storage" << size << 1;
    QTest::newRow("writing refused") << "ftp" << QStringList{u"--fault"_s, u"readonly"_s} << "failed failed failed"
                                     << TransferFailure::WriteRefused << "550 " << size << 1;
    QTest::newRow("writing refused over sftp") << "sftp" << QStringList{u"--fault"_s, u"readonly"_s}
                                               << "failed failed failed" << TransferFailure::WriteRefused << ""
                                               << size << 1;
    QTest::newRow("size reported wrong") << "ftp" << QStringList{u"--fault"_s, u"size"_s} << "failed failed failed"
                                         << TransferFailure::SizeMismatch << "" << size << 1;
    QTest::newRow("file truncated") << "ftp" << QStringList{u"--fault"_s, u"truncate"_s} << "failed failed failed"
                                    << TransferFailure::SizeMismatch << "" << size << 1;
}

void TestTransfer::oddServersNeverGetAFileReportedWrongly()
{
    QFETCH(QString, mode);
    QFETCH(QStringList, serverArgs);
    QFETCH(QString, expected);
    QFETCH(TransferFailure, failure);
    QFETCH(QString, reply);
    QFETCH(int, check);
    QFETCH(int, connections);
    m_connections = connections;
    TestServer server(mode, m_remote, serverArgs);
    QVERIFY(server.isRunning());
    const QStringList files = makePage();
    const PublishTarget t = PublishTarget::fromProfile(mode + QStringLiteral("://127.0.0.1"),
                                                       QString::number(server.port()), TestServer::user(),
                                                       TestServer::password(), QString());
    qint64 elapsed = 0;
    const QList<FileResult> results = send(t, files, false, mode == u"sftp"_s ? server.fingerprint() : QString(),
                                           nullptr, &elapsed);
    qInfo("%s: %lld ms", QTest::currentDataTag(), elapsed);
    QCOMPARE(statuses(results), expected);
    for (const FileResult &r : results) {
        const QString line = PublishResultLine(r);
        QVERIFY2(!line.contains(QLatin1String("-1")), qPrintable(line));
        if (r.status == FileResult::Sent) {
            QCOMPARE(int(r.check), check);
            QCOMPARE(readFile(m_remote + QLatin1Char('/') + r.name), readFile(r.localPath));
        } else {
            QCOMPARE(r.failure, failure);
            QVERIFY2(reply.isEmpty() || r.serverReply.startsWith(reply), qPrintable(r.serverReply));
            // A file that failed never replaces what the site held.
            QVERIFY(!QFile::exists(m_remote + QLatin1Char('/') + r.name));
        }
    }
    // No temporary file stays behind where the server lets it go.
    for (const QString &name : QDir(m_remote).entryList(QDir::Files | QDir::Hidden))
        QVERIFY2(!name.endsWith(QLatin1String(".brisko-part")) || serverArgs.contains(QLatin1String("readonly")),
                 qPrintable(name));
}

QTEST_GUILESS_MAIN(TestTransfer)
#include "tst_transfer.moc"
