#include "uploadstate.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

QString UploadState::fileFor(const QString &stateDir, const QString &destinationKey)
{
    const QByteArray id = QCryptographicHash::hash(destinationKey.toUtf8(), QCryptographicHash::Sha256).toHex();
    return QDir(stateDir).filePath(QString::fromLatin1(id.left(32)) + QStringLiteral(".json"));
}

bool UploadState::load(const QString &path)
{
    m_entries.clear();
    QFile f(path);
    if (!f.exists())
        return true;
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QJsonObject files = QJsonDocument::fromJson(f.readAll()).object().value(QStringLiteral("files")).toObject();
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QJsonObject o = it.value().toObject();
        Entry e;
        // A size that is no whole number a file can have (1e30, 1.5) drops the entry: it is sent again.
        e.size = o.value(QStringLiteral("size")).toInteger(-1);
        e.sha256 = o.value(QStringLiteral("sha256")).toString().toLatin1();
        if (e.size >= 0 && e.sha256.size() == 64)
            m_entries.insert(it.key(), e);
    }
    return true;
}

bool UploadState::save(const QString &path) const
{
    QJsonObject files;
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        files.insert(it.key(), QJsonObject{{QStringLiteral("size"), double(it->size)},
                                           {QStringLiteral("sha256"), QString::fromLatin1(it->sha256)}});
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(QJsonDocument(QJsonObject{{QStringLiteral("files"), files}}).toJson());
    return f.commit();
}

UploadState::Entry UploadState::digestOf(const QString &localPath)
{
    Entry e;
    QFile f(localPath);
    if (!f.open(QIODevice::ReadOnly))
        return e;
    QCryptographicHash h(QCryptographicHash::Sha256);
    if (!h.addData(&f))
        return e;
    e.size = f.size();
    e.sha256 = h.result().toHex();
    return e;
}
