#include "transferworker.h"

#include "uploadstate.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <curl/curl.h>

#include <sys/socket.h>
#include <unistd.h>

namespace {

// Failures after which the next file cannot go better: the connection or the login is gone.
bool isConnectionFailure(CURLcode code)
{
    switch (code) {
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_UPLOAD_FAILED:
    case CURLE_QUOTE_ERROR:
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_REMOTE_DISK_FULL:
    case CURLE_READ_ERROR:
    case CURLE_FILESIZE_EXCEEDED:
    case CURLE_REMOTE_FILE_EXISTS:
    case CURLE_FTP_COULDNT_RETR_FILE:
        return false;
    default:
        return code != CURLE_OK;
    }
}

// "SHA256:" and unpadded Base64, the form OpenSSH shows.
QString fingerprintOf(const QByteArray &keyBlob)
{
    QByteArray b64 = QCryptographicHash::hash(keyBlob, QCryptographicHash::Sha256).toBase64();
    while (b64.endsWith('='))
        b64.chop(1);
    return QStringLiteral("SHA256:") + QString::fromLatin1(b64);
}

// Reads one DER element at pos; returns its full length (header included) or -1.
qsizetype derElement(const QByteArray &der, qsizetype pos, qsizetype *contentStart)
{
    if (pos + 2 > der.size())
        return -1;
    qsizetype len = quint8(der[pos + 1]);
    qsizetype header = 2;
    if (len & 0x80) {
        const int n = len & 0x7f;
        if (n < 1 || n > 4 || pos + 2 + n > der.size())
            return -1;
        len = 0;
        for (int i = 0; i < n; ++i)
            len = (len << 8) | quint8(der[pos + 2 + i]);
        header += n;
    }
    if (pos + header + len > der.size())
        return -1;
    *contentStart = pos + header;
    return header + len;
}

// The SubjectPublicKeyInfo of a DER certificate: what a TLS pin is computed over.
QByteArray publicKeyInfo(const QByteArray &der)
{
    qsizetype content = 0;
    if (derElement(der, 0, &content) < 0)
        return {};
    qsizetype tbs = content;
    if (derElement(der, tbs, &content) < 0)
        return {};
    qsizetype pos = content;
    if (pos < der.size() && quint8(der[pos]) == 0xA0) { // explicit version
        qsizetype c = 0;
        pos += derElement(der, pos, &c);
    }
    // serial, signature algorithm, issuer, validity, subject
    for (int i = 0; i < 5; ++i) {
        qsizetype c = 0;
        const qsizetype n = derElement(der, pos, &c);
        if (n < 0)
            return {};
        pos += n;
    }
    qsizetype c = 0;
    const qsizetype n = derElement(der, pos, &c);
    return n < 0 ? QByteArray() : der.mid(pos, n);
}

size_t readFromFile(char *buffer, size_t size, size_t count, void *file)
{
    const qint64 n = static_cast<QFile *>(file)->read(buffer, qint64(size * count));
    return n < 0 ? CURL_READFUNC_ABORT : size_t(n);
}

size_t discard(char *, size_t size, size_t count, void *)
{
    return size * count;
}

struct CurlList {
    curl_slist *list = nullptr;
    ~CurlList() { curl_slist_free_all(list); }
    void append(const QString &s) { list = curl_slist_append(list, s.toUtf8().constData()); }
};

QString seconds(int ms)
{
    return QString::number((ms + 999) / 1000);
}

} // namespace

TransferWorker::TransferWorker(TransferOptions options, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
{
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    Q_UNUSED(initialised);
}

TransferWorker::~TransferWorker()
{
    if (m_curl)
        curl_easy_cleanup(m_curl);
}

QString TransferWorker::temporaryName(const QString &name)
{
    return QStringLiteral(".") + name + QStringLiteral(".brisko-part");
}

struct CurlCallbacks {
    static int progress(void *self, curl_off_t, curl_off_t dlnow, curl_off_t ultotal, curl_off_t ulnow);
    static curl_socket_t openSocket(void *self, curlsocktype, curl_sockaddr *address);
    static int closeSocket(void *self, curl_socket_t fd);
    static int hostKey(void *self, int type, const char *key, size_t length);
};

int CurlCallbacks::progress(void *self, curl_off_t, curl_off_t dlnow, curl_off_t ultotal, curl_off_t ulnow)
{
    auto *w = static_cast<TransferWorker *>(self);
    if (w->m_stop) {
        w->m_abort = TransferWorker::Abort::Stopped;
        w->shutDownSockets();
        return 1;
    }
    const curl_off_t moved = dlnow + ulnow;
    if (moved != w->m_moved) {
        w->m_moved = moved;
        w->m_idle.restart();
        if (ultotal > 0)
            Q_EMIT w->progress(ulnow, w->m_fileSize, w->m_doneBytes + ulnow, w->m_totalBytes);
        return 0;
    }
    // Once all bytes are handed over, the wait for the server's confirmation is libcurl's response timeout:
    // aborting here would make it wait for that answer once more before it gives up.
    const bool waitingForAnswer = ultotal > 0 && ulnow >= ultotal;
    if (!waitingForAnswer && w->m_idle.elapsed() > w->m_options.timeouts.stallMs) {
        w->m_abort = TransferWorker::Abort::Stalled;
        w->shutDownSockets();
        return 1;
    }
    return 0;
}

// After an abort libcurl still waits for the server's last answer on the control connection; a server that
// stopped answering would hold it there for another response timeout. Shut the sockets so that it cannot.
void TransferWorker::shutDownSockets()
{
    for (const int fd : std::as_const(m_sockets))
        ::shutdown(fd, SHUT_RDWR);
}

curl_socket_t CurlCallbacks::openSocket(void *self, curlsocktype, curl_sockaddr *a)
{
    const int fd = ::socket(a->family, a->socktype | SOCK_CLOEXEC, a->protocol);
    if (fd >= 0)
        static_cast<TransferWorker *>(self)->m_sockets.append(fd);
    return fd < 0 ? CURL_SOCKET_BAD : fd;
}

int CurlCallbacks::closeSocket(void *self, curl_socket_t fd)
{
    static_cast<TransferWorker *>(self)->m_sockets.removeAll(fd);
    return ::close(fd);
}

int CurlCallbacks::hostKey(void *self, int, const char *key, size_t length)
{
    auto *w = static_cast<TransferWorker *>(self);
    const QString fp = fingerprintOf(QByteArray(key, qsizetype(length)));
    if (!w->m_options.trustedFingerprint.isEmpty() && fp == w->m_options.trustedFingerprint)
        return CURLKHMATCH_OK;
    w->m_hostKeyChanged = !w->m_options.trustedFingerprint.isEmpty();
    w->m_untrustedFingerprint = fp;
    return CURLKHMATCH_MISMATCH;
}

void TransferWorker::prepare(bool forUpload)
{
    CURL *c = m_curl;
    curl_easy_reset(c);
    const PublishTarget &t = m_options.target;
    const TransferTimeouts &to = m_options.timeouts;
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_USERNAME, t.user.toUtf8().constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, t.password.toUtf8().constData());
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, long(to.connectMs));
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, long((to.replyMs + 999) / 1000));
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &CurlCallbacks::progress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &discard);
    curl_easy_setopt(c, CURLOPT_OPENSOCKETFUNCTION, &CurlCallbacks::openSocket);
    curl_easy_setopt(c, CURLOPT_OPENSOCKETDATA, this);
    curl_easy_setopt(c, CURLOPT_CLOSESOCKETFUNCTION, &CurlCallbacks::closeSocket);
    curl_easy_setopt(c, CURLOPT_CLOSESOCKETDATA, this);
    if (forUpload)
        curl_easy_setopt(c, CURLOPT_FTP_CREATE_MISSING_DIRS, long(CURLFTP_CREATE_DIR_RETRY));

    switch (t.protocol) {
    case PublishProtocol::Ftp:
        curl_easy_setopt(c, CURLOPT_USE_SSL, long(m_options.requireTls ? CURLUSESSL_ALL : CURLUSESSL_TRY));
        break;
    case PublishProtocol::FtpExplicit:
    case PublishProtocol::FtpImplicit:
        curl_easy_setopt(c, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
        break;
    case PublishProtocol::Sftp:
        if (!m_options.privateKeyFile.isEmpty()) {
            curl_easy_setopt(c, CURLOPT_SSH_PRIVATE_KEYFILE, QFile::encodeName(m_options.privateKeyFile).constData());
            curl_easy_setopt(c, CURLOPT_SSH_PUBLIC_KEYFILE, "");
            curl_easy_setopt(c, CURLOPT_KEYPASSWD, m_options.keyPassphrase.toUtf8().constData());
            curl_easy_setopt(c, CURLOPT_SSH_AUTH_TYPES, long(CURLSSH_AUTH_PUBLICKEY | CURLSSH_AUTH_PASSWORD));
        } else if (t.password.isEmpty()) {
            curl_easy_setopt(c, CURLOPT_SSH_AUTH_TYPES, long(CURLSSH_AUTH_AGENT));
        } else {
            curl_easy_setopt(c, CURLOPT_SSH_AUTH_TYPES, long(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
        }
        if (!m_options.knownHostsFile.isEmpty() && m_options.trustedFingerprint.isEmpty()) {
            curl_easy_setopt(c, CURLOPT_SSH_KNOWNHOSTS, QFile::encodeName(m_options.knownHostsFile).constData());
        } else {
            curl_easy_setopt(c, CURLOPT_SSH_HOSTKEYFUNCTION, &CurlCallbacks::hostKey);
            curl_easy_setopt(c, CURLOPT_SSH_HOSTKEYDATA, this);
        }
        break;
    }
    if (t.protocol != PublishProtocol::Sftp) {
        if (!m_options.caFile.isEmpty())
            curl_easy_setopt(c, CURLOPT_CAINFO, QFile::encodeName(m_options.caFile).constData());
        if (!m_options.trustedFingerprint.isEmpty()) {
            // A key the user chose to trust: the pin replaces the authorities, and is checked before the login.
            QByteArray pin = m_options.trustedFingerprint.mid(7).toLatin1();
            while (pin.size() % 4)
                pin += '=';
            curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 0L);
            curl_easy_setopt(c, CURLOPT_PINNEDPUBLICKEY, QByteArray("sha256//" + pin).constData());
        }
    }
    m_idle.restart();
    m_moved = -1;
    m_abort = Abort::None;
}

TransferWorker::Outcome TransferWorker::perform()
{
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(m_curl, CURLOPT_ERRORBUFFER, error);
    const CURLcode code = curl_easy_perform(m_curl);
    curl_easy_setopt(m_curl, CURLOPT_ERRORBUFFER, nullptr);
    Outcome o;
    o.ok = code == CURLE_OK;
    if (!o.ok) {
        if (code == CURLE_SSL_PINNEDPUBKEYNOTMATCH)
            m_hostKeyChanged = true;
        if (code == CURLE_USE_SSL_FAILED)
            m_tlsRefused = true;
        if (code == CURLE_LOGIN_DENIED && !m_options.privateKeyFile.isEmpty())
            m_keyRefused = true;
        o.connectionLost = isConnectionFailure(code);
        o.reason = describe(code, error);
    }
    return o;
}

QString TransferWorker::describe(int value, const char *detail) const
{
    const auto code = CURLcode(value);
    const PublishTarget &t = m_options.target;
    const TransferTimeouts &to = m_options.timeouts;
    switch (code) {
    case CURLE_ABORTED_BY_CALLBACK:
        switch (m_abort) {
        case Abort::Stopped:
            return QStringLiteral("stopped");
        case Abort::Stalled:
            return QStringLiteral("the transfer stalled: no data moved for %1 s").arg(seconds(to.stallMs));
        case Abort::NoAnswer:
            return QStringLiteral("the server did not confirm the file within %1 s").arg(seconds(to.replyMs));
        case Abort::None:
            break;
        }
        break;
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("the server %1 was not found").arg(t.host);
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("could not connect to %1 port %2").arg(t.host).arg(t.port);
    case CURLE_LOGIN_DENIED:
        if (t.protocol == PublishProtocol::Sftp && (!m_options.privateKeyFile.isEmpty() || t.password.isEmpty()))
            return m_options.privateKeyFile.isEmpty()
                       ? QStringLiteral("the server refused the keys of the SSH agent")
                       : QStringLiteral("the server refused the key %1, or its passphrase is wrong")
                             .arg(m_options.privateKeyFile);
        return QStringLiteral("the server refused the user name or password");
    case CURLE_OPERATION_TIMEDOUT:
        if (QByteArray(detail).contains("response"))
            return QStringLiteral("the server did not answer within %1 s").arg(seconds(to.replyMs));
        return QStringLiteral("the server did not answer in time (%1)").arg(QString::fromUtf8(detail));
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
        return QStringLiteral("the connection to the server broke off (%1)")
            .arg(QString::fromUtf8(*detail ? detail : curl_easy_strerror(code)));
    case CURLE_USE_SSL_FAILED:
        return QStringLiteral("the server does not offer TLS encryption");
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        if (t.protocol == PublishProtocol::Sftp) {
            if (m_hostKeyChanged)
                return QStringLiteral("WARNING: the server's host key has changed (now %1); refused, it may not be "
                                      "your server")
                    .arg(m_untrustedFingerprint);
            if (!m_untrustedFingerprint.isEmpty())
                return QStringLiteral("the server's host key is unknown (fingerprint %1)").arg(m_untrustedFingerprint);
            return QStringLiteral("the server's host key was refused by the known-hosts file");
        }
        if (code == CURLE_SSL_PINNEDPUBKEYNOTMATCH)
            return QStringLiteral("WARNING: the server's certificate key has changed; refused, it may not be your "
                                  "server");
        return m_untrustedFingerprint.isEmpty()
                   ? QStringLiteral("the server's certificate could not be verified")
                   : QStringLiteral("the server's certificate could not be verified (key fingerprint %1)")
                         .arg(m_untrustedFingerprint);
    default:
        break;
    }
    const QString text = QString::fromUtf8(*detail ? detail : curl_easy_strerror(code));
    return text;
}

QString TransferWorker::probeCertificateFingerprint()
{
    // Look at the certificate without logging in: the password never goes to a server we cannot verify.
    prepare(false);
    const QByteArray url = m_options.target.fileUrl(QString());
    curl_easy_setopt(m_curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(m_curl, CURLOPT_USERNAME, "");
    curl_easy_setopt(m_curl, CURLOPT_PASSWORD, "");
    curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(m_curl, CURLOPT_CERTINFO, 1L);
    curl_easy_setopt(m_curl, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(m_curl, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_perform(m_curl);
    curl_certinfo *info = nullptr;
    if (curl_easy_getinfo(m_curl, CURLINFO_CERTINFO, &info) != CURLE_OK || !info || info->num_of_certs < 1)
        return {};
    for (curl_slist *s = info->certinfo[0]; s; s = s->next) {
        const QByteArray line(s->data);
        if (!line.startsWith("Cert:"))
            continue;
        QByteArray pem = line.mid(5);
        pem.replace("-----BEGIN CERTIFICATE-----", "").replace("-----END CERTIFICATE-----", "");
        const QByteArray der = QByteArray::fromBase64(pem.simplified().replace(" ", ""));
        m_certificateSha256 = QString::fromLatin1(QCryptographicHash::hash(der, QCryptographicHash::Sha256).toHex(':').toUpper());
        const QByteArray spki = publicKeyInfo(der);
        return spki.isEmpty() ? QString() : fingerprintOf(spki);
    }
    return {};
}

bool TransferWorker::remoteSize(const QString &name, qint64 *size, Outcome *outcome)
{
    prepare(false);
    const QByteArray url = m_options.target.fileUrl(name);
    curl_easy_setopt(m_curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
    *outcome = perform();
    curl_off_t length = -1;
    if (!outcome->ok || curl_easy_getinfo(m_curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK)
        length = -1;
    *size = length;
    return outcome->ok;
}

void TransferWorker::removeRemote(const QString &name)
{
    prepare(false);
    const QByteArray url = m_options.target.fileUrl(QString());
    curl_easy_setopt(m_curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
    CurlList quote;
    const bool sftp = m_options.target.protocol == PublishProtocol::Sftp;
    const QString folder = m_options.target.folder.isEmpty() ? QString() : m_options.target.folder + QLatin1Char('/');
    quote.append(sftp ? QStringLiteral("rm \"%1%2\"").arg(folder, name) : QStringLiteral("DELE %1").arg(name));
    curl_easy_setopt(m_curl, CURLOPT_QUOTE, quote.list);
    perform();
}

TransferWorker::Outcome TransferWorker::upload(const QString &localPath, const QString &name, qint64 size)
{
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly))
        return {false, false, QStringLiteral("cannot read the local file: %1").arg(file.errorString())};
    const QString temp = temporaryName(name);
    const bool sftp = m_options.target.protocol == PublishProtocol::Sftp;
    const QString folder = m_options.target.folder.isEmpty() ? QString() : m_options.target.folder + QLatin1Char('/');

    prepare(true);
    const QByteArray url = m_options.target.fileUrl(temp);
    curl_easy_setopt(m_curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(m_curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(m_curl, CURLOPT_READFUNCTION, &readFromFile);
    curl_easy_setopt(m_curl, CURLOPT_READDATA, &file);
    curl_easy_setopt(m_curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(size));
    CurlList rename;
    if (sftp) {
        // SFTP renames do not replace an existing file; the old one goes first ("*": it may not exist).
        rename.append(QStringLiteral("*rm \"%1%2\"").arg(folder, name));
        rename.append(QStringLiteral("rename \"%1%2\" \"%1%3\"").arg(folder, temp, name));
    } else {
        rename.append(QStringLiteral("RNFR %1").arg(temp));
        rename.append(QStringLiteral("RNTO %1").arg(name));
    }
    curl_easy_setopt(m_curl, CURLOPT_POSTQUOTE, rename.list);
    Outcome o = perform();
    file.close();
    if (!o.ok) {
        if (!o.connectionLost)
            removeRemote(temp);
        return o;
    }
    qint64 remote = -1;
    Outcome check;
    if (!remoteSize(name, &remote, &check))
        return {false, check.connectionLost, QStringLiteral("could not confirm the file on the server: ") + check.reason};
    if (remote != size)
        return {false, false,
                QStringLiteral("the server holds %1 bytes instead of %2").arg(remote).arg(size)};
    return {true, false, {}};
}

void TransferWorker::run()
{
    m_curl = m_curl ? m_curl : curl_easy_init();
    m_results.clear();
    if (!m_curl) {
        for (const QString &path : std::as_const(m_options.files))
            m_results.append({path, QFileInfo(path).fileName(), FileResult::Failed, 0,
                              QStringLiteral("not sent: the network library could not start")});
        Q_EMIT finished();
        return;
    }
    UploadState state;
    const QString statePath = m_options.stateDir.isEmpty()
                                  ? QString()
                                  : UploadState::fileFor(m_options.stateDir, m_options.target.destinationKey());
    if (!statePath.isEmpty())
        state.load(statePath);

    m_totalBytes = 0;
    for (const QString &path : std::as_const(m_options.files))
        m_totalBytes += QFileInfo(path).size();
    m_doneBytes = 0;

    QString fatal;
    for (const QString &path : std::as_const(m_options.files)) {
        FileResult r;
        r.localPath = path;
        r.name = QFileInfo(path).fileName();
        const UploadState::Entry local = UploadState::digestOf(path);
        r.size = qMax<qint64>(local.size, 0);
        if (fatal.isEmpty() && m_stop)
            fatal = QStringLiteral("stopped");
        if (!fatal.isEmpty()) {
            r.reason = QStringLiteral("not sent: ") + fatal;
        } else if (local.size < 0) {
            r.reason = QStringLiteral("cannot read the local file");
        } else {
            Q_EMIT fileStarted(r.name, r.size);
            m_fileSize = r.size;
            bool unchanged = false;
            const UploadState::Entry known = state.entry(r.name);
            if (!m_options.sendAll && known.size == local.size && known.sha256 == local.sha256) {
                qint64 remote = -1;
                Outcome check;
                // A file removed or replaced on the server goes up again.
                unchanged = remoteSize(r.name, &remote, &check) && remote == local.size;
                if (!check.ok && check.connectionLost) {
                    fatal = check.reason;
                    r.reason = check.reason;
                }
            }
            if (unchanged) {
                r.status = FileResult::Unchanged;
            } else if (fatal.isEmpty()) {
                const Outcome o = upload(path, r.name, r.size);
                if (o.ok) {
                    r.status = FileResult::Sent;
                    state.set(r.name, local);
                } else {
                    r.reason = o.reason;
                    state.remove(r.name);
                    if (o.connectionLost)
                        fatal = o.reason;
                }
            }
        }
        if (r.status == FileResult::Failed && m_untrustedFingerprint.isEmpty() &&
            m_options.target.protocol != PublishProtocol::Sftp &&
            r.reason.startsWith(QLatin1String("the server's certificate could not be verified"))) {
            m_untrustedFingerprint = probeCertificateFingerprint();
            r.reason = describe(CURLE_PEER_FAILED_VERIFICATION, "");
            fatal = r.reason;
        }
        m_doneBytes += r.size;
        m_results.append(r);
        Q_EMIT fileFinished(r);
    }
    if (!statePath.isEmpty())
        state.save(statePath);
    curl_easy_cleanup(m_curl);
    m_curl = nullptr;
    Q_EMIT finished();
}
