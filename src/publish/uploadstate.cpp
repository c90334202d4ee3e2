#include "uploadstate.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

QString destinationFile(const QString &stateDir, const QString &destinationKey, QLatin1StringView extension)
{
    const QByteArray id = QCryptographicHash::hash(destinationKey.toUtf8(), QCryptographicHash::Sha256).toHex();
    return QDir(stateDir).filePath(QString::fromLatin1(id.left(32)) + extension);
}

} // namespace

QString UploadState::fileFor(const QString &stateDir, const QString &destinationKey)
{
    return destinationFile(stateDir, destinationKey, QLatin1StringView(".json"));
}

QString UploadState::lockFileFor(const QString &stateDir, const QString &destinationKey)
{
    return destinationFile(stateDir, destinationKey, QLatin1StringView(".lock"));
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
        e.size = qint64(o.value(QStringLiteral("size")).toDouble(-1));
        e.sha256 = o.value(QStringLiteral("sha256")).toString().toLatin1();
        if (e.size >= 0 && e.sha256.size() == 64)
            m_entries.insert(it.key(), e);
    }
    return true;
}

bool UploadState::save(const QString &path, QString *error) const
{
    QJsonObject files;
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        files.insert(it.key(), QJsonObject{{QStringLiteral("size"), double(it->size)},
                                           {QStringLiteral("sha256"), QString::fromLatin1(it->sha256)}});
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(QJsonDocument(QJsonObject{{QStringLiteral("files"), files}}).toJson());
        if (f.commit())
            return true;
    }
    if (error)
        *error = f.errorString();
    return false;
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
