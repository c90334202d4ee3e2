#pragma once

#include "publishtarget.h"
#include "transferfailure.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QWaitCondition>

#include <atomic>

class UploadState;

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
    // Only files whose real path (links and ".." resolved) lies inside this folder are sent; empty sends any.
    QString uploadFolder;
    // Connections used at once (1 to 8): on a distant server each command waits for its answer, so several
    // connections send several files in the time of one.
    int connections = 1;
};

struct FileResult {
    enum Status { Sent, Unchanged, Failed };
    // How a sent file was confirmed: by the size the server reports, or, on a server that reports no sizes,
    // only by its completion reply after every byte went out.
    enum Check { SizeChecked, ReplyChecked };
    QString localPath;
    QString name;
    Status status = Failed;
    qint64 size = 0;
    QString reason; // the failure in words, made from `failure`
    TransferFailure failure = TransferFailure::None;
    QString serverReply; // the server's own answer to the failed step, as plain text
    Check check = SizeChecked;
};

// The line a user reads for one file: "sent NAME (N bytes)", "unchanged NAME", "refused NAME: ...",
// "failed NAME: ..." with the server's own answer on a second line. Names appear exactly as they are.
QString PublishResultLine(const FileResult &r);

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
    // The failure that ended the run before every file was tried (the server out of reach, the login
    // refused, ...), or None.
    TransferFailure endFailure() const { return m_endFailure; }
    // With requireTls: the server offered no TLS, so nothing was sent.
    bool tlsRefused() const { return m_endFailure == TransferFailure::NoTls; }
    // The SSH server refused the private key, or its passphrase did not open it.
    bool keyRefused() const { return m_endFailure == TransferFailure::KeyRefused; }
    // The SHA-256 of the whole certificate in hex pairs ("F4:88:..."), as web hosts and browsers show it;
    // set with untrustedFingerprint() for a TLS server.
    QString certificateSha256() const { return m_certificateSha256; }
    // AnotherPublish when nothing was tried because a publish to the same destination holds the lock.
    TransferFailure runFailure() const { return m_runFailure; }
    // Set when the record of sent files could not be written: the next send then sends every file again.
    QString stateError() const { return m_stateError; }

    static QString temporaryName(const QString &name);

public Q_SLOTS:
    void run();

Q_SIGNALS:
    void fileStarted(const QString &name, qint64 size);
    // With several connections the files' progress interleaves: name tells which one moved. doneBytes is the
    // whole run's.
    void progress(const QString &name, qint64 fileBytes, qint64 fileSize, qint64 doneBytes, qint64 totalBytes);
    void fileFinished(const FileResult &result);
    void finished();

private:
    enum class Abort { None, Stopped, Stalled, NoAnswer };
    struct Outcome {
        TransferFailure failure = TransferFailure::None;
        QString detail; // the network library's words
        QString reply;  // the server's last answer
        qint64 remoteSize = -1;
        FileResult::Check check = FileResult::SizeChecked;
        QByteArray sha256; // of the bytes sent, hex
        bool ok() const { return failure == TransferFailure::None; }
    };
    struct RemoteEntry {
        QString name;
        qint64 size = -1;
    };

    // The files of one run, shared by its connections.
    struct Batch {
        QMutex mutex;
        QList<int> queue; // indexes into the file list, not yet taken
        int taken = 0;    // files a connection is working on; a refused one may put its file back
        QWaitCondition changed; // a file was finished or put back
        QList<FileResult> results;
        QList<bool> done;
        qsizetype emitted = 0; // results are announced in list order
        UploadState *state = nullptr;
        Outcome fatal; // a failure that ends the run for every file not yet taken
        bool fatalShown = false;
    };

    void runLane();
    bool sendFile(int index, FileResult *result);
    bool stopping() const { return m_stop || m_root->m_stop; }
    void prepare(bool forUpload);
    int transfer();
    Outcome perform();
    void closeConnection();
    Outcome runCommands(const QStringList &commands); // in the remote folder, after changing into it
    Outcome upload(const QString &localPath, const QString &name, qint64 size);
    Outcome remoteSize(const QString &name);
    Outcome listFolder(QList<RemoteEntry> *entries, bool *withSizes);
    Outcome readFolder(); // fills m_listed, removes temporary files left by earlier runs
    void removeRemote(const QString &name);
    QString remotePath(const QString &name) const; // quoted for an SFTP command
    TransferFailure classify(int code, long response) const;
    void finish(FileResult *r, const Outcome &o) const;
    QString probeCertificateFingerprint();

    friend struct CurlCallbacks;
    void shutDownSockets();

    TransferOptions m_options;
    QList<FileResult> m_results;
    QString m_untrustedFingerprint;
    bool m_hostKeyChanged = false;
    QString m_certificateSha256;
    TransferFailure m_endFailure = TransferFailure::None;
    TransferFailure m_runFailure = TransferFailure::None;
    QString m_stateError;
    QByteArray m_replies; // what the server answered on the control connection during the running request
    QByteArray m_body;    // a listing being read
    QHash<QString, qint64> m_listed; // the remote folder at the start: name and size (-1 for unknown)
    bool m_listedSizes = false;      // the listing gave sizes, so a file missing from it is missing
    std::atomic_bool m_stop = false;
    void *m_curl = nullptr;
    void *m_multi = nullptr; // drives m_curl; holds the open connection between requests
    QList<int> m_sockets; // open sockets of the handle, to cut them on an abort
    // progress bookkeeping of the running request
    QElapsedTimer m_idle;
    long long m_moved = -1;
    Abort m_abort = Abort::None;
    qint64 m_fileSize = 0;
    QString m_fileName;
    qint64 m_laneSent = 0;              // bytes of the current file counted in m_sentBytes
    bool m_connected = false;           // a request of this connection succeeded
    TransferWorker *m_root = this;      // the worker of the run; another one for each further connection
    Batch *m_batch = nullptr;
    std::atomic<qint64> m_sentBytes = 0; // of the whole run, on the root
    qint64 m_totalBytes = 0;
};
