#include "transfercontroller.h"

#include <QFileInfo>
#include <QLocale>
#include <QThread>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString number(double value)
{
    return QLocale().toString(value, 'f', value < 10 ? 1 : 0);
}

QString timeLeft(qint64 seconds)
{
    if (seconds < 60)
        return u"about %1 s left"_s.arg(qMax<qint64>(seconds, 1));
    if (seconds < 3600)
        return u"about %1 min %2 s left"_s.arg(seconds / 60).arg(seconds % 60);
    return u"about %1 h %2 min left"_s.arg(seconds / 3600).arg(seconds / 60 % 60);
}

} // namespace

QString TransferSummary(qint64 doneBytes, qint64 totalBytes, qint64 elapsedMs)
{
    const bool small = totalBytes < 1'000'000;
    const double unit = small ? 1000.0 : 1'000'000.0;
    const int percent = totalBytes > 0 ? int(doneBytes * 100 / totalBytes) : 0;
    QString text = u"%1 of %2 %3, %4 %"_s.arg(number(doneBytes / unit), number(totalBytes / unit),
                                               small ? u"KB"_s : u"MB"_s)
                       .arg(percent);
    if (doneBytes > 0 && doneBytes < totalBytes && elapsedMs >= 2000) {
        const double rest = double(totalBytes - doneBytes) * double(elapsedMs) / double(doneBytes) / 1000.0;
        text += u", "_s + timeLeft(qint64(std::ceil(rest)));
    }
    return text;
}

TransferController::TransferController(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<FileResult>();
}

TransferController::~TransferController()
{
    if (!m_thread)
        return;
    disconnect(m_thread, nullptr, this, nullptr);
    stop();
    m_thread->quit();
    m_thread->wait();
}

bool TransferController::start(const TransferOptions &options)
{
    if (m_thread)
        return false;
    m_outcome = {};
    m_thread = new QThread(this);
    m_worker = new TransferWorker(options);
    m_worker->moveToThread(m_thread);
    TransferWorker *worker = m_worker;
    connect(m_thread, &QThread::started, worker, &TransferWorker::run);
    // Runs on the worker's thread: the outcome is copied before the worker goes.
    connect(worker, &TransferWorker::finished, worker, [this, worker] {
        TransferOutcome o{worker->results(), worker->untrustedFingerprint(), worker->certificateSha256(),
                          worker->keyChanged(), worker->tlsRefused(), worker->keyRefused()};
        QMutexLocker locker(&m_lock);
        m_outcome = std::move(o);
        m_thread->quit();
    }, Qt::DirectConnection);
    connect(worker, &QObject::destroyed, this, [this] {
        QMutexLocker locker(&m_lock);
        m_worker = nullptr;
    }, Qt::DirectConnection);
    connect(m_thread, &QThread::finished, worker, &QObject::deleteLater);
    connect(m_thread, &QThread::finished, this, &TransferController::threadFinished);

    // Several connections send several files at once: each text tells of the file that just moved on.
    connect(worker, &TransferWorker::fileStarted, this, [this](const QString &name, qint64) {
        m_stages.insert(name, Stage::Checking);
        Q_EMIT fileText(u"Checking %1"_s.arg(name));
    });
    connect(worker, &TransferWorker::progress, this,
            [this](const QString &name, qint64 fileBytes, qint64 fileSize, qint64 doneBytes, qint64) {
                const auto stage = m_stages.find(name);
                if (stage != m_stages.end() && fileBytes > 0 && *stage == Stage::Checking) {
                    *stage = Stage::Sending;
                    Q_EMIT fileText(u"Sending %1"_s.arg(name));
                }
                // The last bytes can wait in the system's buffers: only the server's answer makes the file sent.
                if (stage != m_stages.end() && fileSize > 0 && fileBytes >= fileSize && *stage == Stage::Sending) {
                    *stage = Stage::Confirming;
                    Q_EMIT fileText(u"Sending %1: waiting for the server to confirm it"_s.arg(name));
                }
                m_doneBytes = qMax(m_doneBytes, doneBytes);
                emitSummary();
            });
    connect(worker, &TransferWorker::fileFinished, this, [this](const FileResult &r) {
        m_stages.remove(r.name);
        m_finishedBytes += r.size;
        m_doneBytes = qMax(m_doneBytes, m_finishedBytes);
        emitSummary();
        Q_EMIT fileFinished(r);
    });
    m_totalBytes = 0;
    m_finishedBytes = 0;
    m_doneBytes = 0;
    m_stages.clear();
    for (const QString &path : options.files)
        m_totalBytes += qMax<qint64>(QFileInfo(path).size(), 0);
    m_started.start();
    m_thread->start();
    return true;
}

void TransferController::emitSummary()
{
    const qint64 done = qMin(m_doneBytes, m_totalBytes);
    Q_EMIT summary(TransferSummary(done, m_totalBytes, m_started.elapsed()), m_totalBytes > 0 ? int(done * 1000 / m_totalBytes) : 0);
}

void TransferController::stop()
{
    QMutexLocker locker(&m_lock);
    if (m_worker)
        m_worker->stop();
}

void TransferController::threadFinished()
{
    m_thread->deleteLater();
    m_thread = nullptr;
    Q_EMIT finished();
}
