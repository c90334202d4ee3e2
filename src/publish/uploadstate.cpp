#include "uploadstate.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <openssl/evp.h>

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
        // A size that is no whole number a file can have (1e30, 1.5) drops the entry: it is sent again.
        e.size = o.value(QStringLiteral("size")).toInteger(-1);
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
    Sha256 h;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    qint64 total = 0;
    for (qint64 n; (n = f.read(buffer.data(), buffer.size())) > 0; total += n)
        h.add(buffer.constData(), n);
    if (f.error() != QFileDevice::NoError)
        return e;
    e.size = total;
    e.sha256 = h.hexResult();
    return e;
}

Sha256::Sha256()
    : m_context(EVP_MD_CTX_new())
{
    EVP_DigestInit_ex(static_cast<EVP_MD_CTX *>(m_context), EVP_sha256(), nullptr);
}

Sha256::~Sha256()
{
    EVP_MD_CTX_free(static_cast<EVP_MD_CTX *>(m_context));
}

void Sha256::add(const char *data, qint64 size)
{
    EVP_DigestUpdate(static_cast<EVP_MD_CTX *>(m_context), data, size_t(size));
}

QByteArray Sha256::hexResult()
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(static_cast<EVP_MD_CTX *>(m_context), digest, &length);
    return QByteArray(reinterpret_cast<const char *>(digest), int(length)).toHex();
}
