#pragma once

#include "publishtarget.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QStringList>

#include <atomic>

struct TransferTimeouts {
    int connectMs = 20000; // reaching the server and logging in
    int stallMs = 30000;   // a transfer that moves no byte
    int replyMs = 30000;   // the server's answer to a command, also after the last byte of a file
};

struct TransferOptions {
    PublishTarget target;
    QStringList files; // local paths; each goes into the remote folder under its file name
    bool sendAll = false;
    QString stateDir; // where the record of verified files is kept; empty keeps none
    TransferTimeouts timeouts;
    QString caFile;             // extra certificate or authority file for TLS
    QString knownHostsFile;     // OpenSSH known-hosts file for SFTP
    QString trustedFingerprint; // "SHA256:..." of a server key the user chose to trust
    // SFTP sign-in by key: a private key file (its public half is derived from it) and its passphrase. With
    // neither a password nor a key file, the SSH agent is asked.
    QString privateKeyFile;
    QString keyPassphrase;
    // Plain FTP: refuse a server that does not offer TLS, so nothing travels in the clear unasked.
    bool requireTls = false;
};

struct FileResult {
    enum Status { Sent, Unchanged, Failed };
    QString localPath;
    QString name;
    Status status = Failed;
    qint64 size = 0;
    QString reason;
};

// Sends a list of files to one server. Lives on a worker thread: move it there, connect run() to the
// thread's start, and call stop() from any thread; the transfer ends within a second.
// A file counts as sent only when it was stored under a temporary name, renamed, and the server reports
// the local size for it.
class TransferWorker : public QObject
{
    Q_OBJECT
public:
    explicit TransferWorker(TransferOptions options, QObject *parent = nullptr);
    ~TransferWorker() override;

    void stop() { m_stop = true; }
    QList<FileResult> results() const { return m_results; }
    // Set when the server's certificate or host key could not be verified: the fingerprint the user may trust.
    QString untrustedFingerprint() const { return m_untrustedFingerprint; }
    // Set when the server showed a key other than the one the user trusted: refused, never to be offered
    // for trust in passing.
    bool keyChanged() const { return m_hostKeyChanged; }
    // With requireTls: the server offered no TLS, so nothing was sent.
    bool tlsRefused() const { return m_tlsRefused; }
    // The SSH server refused the private key, or its passphrase did not open it.
    bool keyRefused() const { return m_keyRefused; }
    // The SHA-256 of the whole certificate in hex pairs ("F4:88:..."), as web hosts and browsers show it;
    // set with untrustedFingerprint() for a TLS server.
    QString certificateSha256() const { return m_certificateSha256; }

    static QString temporaryName(const QString &name);

public Q_SLOTS:
    void run();

Q_SIGNALS:
    void fileStarted(const QString &name, qint64 size);
    void progress(qint64 fileBytes, qint64 fileSize, qint64 doneBytes, qint64 totalBytes);
    void fileFinished(const FileResult &result);
    void finished();

private:
    enum class Abort { None, Stopped, Stalled, NoAnswer };
    struct Outcome {
        bool ok = false;
        bool connectionLost = false; // no point in trying the next file
        QString reason;
    };

    void prepare(bool forUpload);
    Outcome perform();
    Outcome upload(const QString &localPath, const QString &name, qint64 size);
    bool remoteSize(const QString &name, qint64 *size, Outcome *outcome);
    void removeRemote(const QString &name);
    QString describe(int code, const char *detail) const;
    QString probeCertificateFingerprint();

    friend struct CurlCallbacks;
    void shutDownSockets();

    TransferOptions m_options;
    QList<FileResult> m_results;
    QString m_untrustedFingerprint;
    bool m_hostKeyChanged = false;
    bool m_tlsRefused = false;
    bool m_keyRefused = false;
    QString m_certificateSha256;
    std::atomic_bool m_stop = false;
    void *m_curl = nullptr;
    QList<int> m_sockets; // open sockets of the handle, to cut them on an abort
    // progress bookkeeping of the running request
    QElapsedTimer m_idle;
    long long m_moved = -1;
    Abort m_abort = Abort::None;
    qint64 m_fileSize = 0;
    qint64 m_doneBytes = 0;
    qint64 m_totalBytes = 0;
};
