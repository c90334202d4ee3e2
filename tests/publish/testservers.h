#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

// A test server process on 127.0.0.1 (see testserver.py), stopped when the object goes.
class TestServer
{
public:
    TestServer(const QString &mode, const QString &root, const QStringList &extra = {})
    {
        m_process.setProgram(QStringLiteral("/usr/bin/python3"));
        m_process.setArguments(QStringList{QStringLiteral(BRISKO_TEST_SERVER), mode, root, user(), password()} +
                               extra);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.start();
        while (m_process.state() != QProcess::NotRunning && !m_process.canReadLine())
            m_process.waitForReadyRead(10000);
        const QList<QByteArray> fields = m_process.readLine().trimmed().split(' ');
        m_port = fields.value(0).toInt();
        m_fingerprint = QString::fromLatin1(fields.value(1));
    }
    ~TestServer()
    {
        if (m_process.state() != QProcess::NotRunning) {
            ::kill(pid_t(m_process.processId()), SIGCONT);
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    static QString user() { return QStringLiteral("webuser"); }
    static QString password() { return QStringLiteral("s3cret-Pass"); }
    int port() const { return m_port; }
    QString fingerprint() const { return m_fingerprint; }
    bool isRunning() const { return m_port > 0; }

    // Writes a self-signed key and certificate for host into path, for the TLS servers.
    static bool makeCertificate(const QString &path, const QString &host = QStringLiteral("127.0.0.1"))
    {
        return QProcess::execute(QStringLiteral("/usr/bin/python3"),
                                 {QStringLiteral(BRISKO_TEST_SERVER), QStringLiteral("cert"), path, host})
               == 0;
    }

    // A port on which nothing listens.
    static int closedPort()
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        ::bind(fd, reinterpret_cast<sockaddr *>(&a), len);
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len);
        ::close(fd);
        return ntohs(a.sin_port);
    }

private:
    QProcess m_process;
    int m_port = 0;
    QString m_fingerprint;
};

// The files the tests send and find on the server.
inline void writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
