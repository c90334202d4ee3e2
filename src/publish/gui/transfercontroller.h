#pragma once

#include "publish/transferworker.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMutex>
#include <QObject>

class QThread;

// What a finished transfer did, and what it needs the user to decide.
struct TransferOutcome {
    QList<FileResult> results;
    QString untrustedFingerprint; // the key pin the user may trust
    QString certificateSha256;    // the whole certificate's SHA-256 in hex pairs, for TLS servers
    bool keyChanged = false;
    bool tlsRefused = false;
    bool keyRefused = false;
};

// The whole send's progress as a user reads it: "3.4 of 150 MB, 2 %", and the time left once the pace is
// known (after two seconds and a byte).
QString TransferSummary(qint64 doneBytes, qint64 totalBytes, qint64 elapsedMs);

// Owns the worker thread of one transfer at a time. Stopping asks the worker to stop, ends the thread's
// event loop and waits for it; the worker is deleted on the thread's finish, so nothing waits on a signal
// that is queued to the waiting thread.
class TransferController : public QObject
{
    Q_OBJECT
public:
    explicit TransferController(QObject *parent = nullptr);
    ~TransferController() override;

    // Starts a transfer; false while one runs.
    bool start(const TransferOptions &options);
    // Asks the running transfer to stop; it ends within a second and finished() follows.
    void stop();
    bool isRunning() const { return m_thread != nullptr; }
    const TransferOutcome &outcome() const { return m_outcome; }

Q_SIGNALS:
    // "Checking NAME" until a byte of it moves, then "Sending NAME"; with several connections, of the file that
    // moved last.
    void fileText(const QString &text);
    void summary(const QString &text, int permille);
    void fileFinished(const FileResult &result);
    void finished();

private:
    void threadFinished();
    void emitSummary();

    QThread *m_thread = nullptr;
    TransferWorker *m_worker = nullptr; // lives on m_thread; guarded by m_lock, cleared when it goes
    QMutex m_lock;
    TransferOutcome m_outcome;
    enum class Stage { Checking, Sending, Confirming };
    QHash<QString, Stage> m_stages; // the files on their way, one for each connection
    qint64 m_totalBytes = 0;
    qint64 m_finishedBytes = 0; // of the files already done
    qint64 m_doneBytes = 0;     // of the whole send, never going back
    QElapsedTimer m_started;
};
