#include "transferworker.h"

#include "uploadlist.h"
#include "uploadstate.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>

#include <algorithm>
#include <cctype>
#include <memory>
#include <thread>
#include <vector>

#include <curl/curl.h>

#include <sys/socket.h>
#include <unistd.h>

namespace {

// Failures after which the next file cannot go better: the server is out of reach, or not to be trusted.
// A temporary file left then is removed at the start of the next run.
bool endsRun(TransferFailure f)
{
    switch (f) {
    case TransferFailure::Stopped:
    case TransferFailure::Stalled:
    case TransferFailure::NoConfirmation:
    case TransferFailure::NoAnswer:
    case TransferFailure::HostNotFound:
    case TransferFailure::CouldNotConnect:
    case TransferFailure::LoginRefused:
    case TransferFailure::KeyRefused:
    case TransferFailure::AgentRefused:
    case TransferFailure::NoTls:
    case TransferFailure::CertificateUnverified:
    case TransferFailure::CertificateChanged:
    case TransferFailure::HostKeyUnknown:
    case TransferFailure::HostKeyChanged:
    case TransferFailure::HostKeyRefused:
    case TransferFailure::NetworkLibrary:
        return true;
    default:
        return false;
    }
}

bool hasControlCharacter(const QString &name)
{
    return std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

// A path argument of an SFTP quote command: double quotes, with backslash and quote escaped by a backslash.
QString sftpQuoted(const QString &path)
{
    QString q = path;
    q.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    q.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

bool isTemporaryName(const QString &name)
{
    return name.size() > 13 && name.startsWith(QLatin1Char('.')) && name.endsWith(QLatin1String(".brisko-part")) &&
           !hasControlCharacter(name);
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

// A file going up, hashed as it is read: one pass over the disk.
struct UploadSource {
    QFile file;
    Sha256 hash;
};

size_t readFromFile(char *buffer, size_t size, size_t count, void *source)
{
    auto *s = static_cast<UploadSource *>(source);
    const qint64 n = s->file.read(buffer, qint64(size * count));
    if (n < 0)
        return CURL_READFUNC_ABORT;
    s->hash.add(buffer, n);
    return size_t(n);
}

size_t collect(char *data, size_t size, size_t count, void *buffer)
{
    auto *b = static_cast<QByteArray *>(buffer);
    if (b->size() < (1 << 24)) // a listing or the answers to a few commands; more is not ours to keep
        b->append(data, qsizetype(size * count));
    return size * count;
}

// The last refusal of an FTP server in what it sent on the control connection: "452 No room".
QString lastRefusal(const QByteArray &replies)
{
    const QList<QByteArray> lines = replies.split('\n');
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        const QByteArray line = it->trimmed();
        if (line.size() >= 4 && (line[0] == '4' || line[0] == '5') && line[3] == ' ')
            return plainServerText(line);
    }
    return {};
}

// The size in a server's answer to SIZE ("213 1234"), or -1.
qint64 sizeReply(const QByteArray &replies)
{
    for (const QByteArray &line : replies.split('\n')) {
        if (line.startsWith("213 ")) {
            bool ok = false;
            const qint64 n = line.mid(4).trimmed().toLongLong(&ok);
            return ok && n >= 0 ? n : -1;
        }
    }
    return -1;
}

// The "size" fact of an MLST answer: " type=file;size=123;modify=...; name".
qint64 sizeFact(const QByteArray &facts)
{
    for (const QByteArray &fact : facts.split(';')) {
        if (fact.trimmed().toLower().startsWith("size=")) {
            bool ok = false;
            const qint64 n = fact.trimmed().mid(5).toLongLong(&ok);
            return ok && n >= 0 ? n : -1;
        }
    }
    return -1;
}

struct CurlList {
    curl_slist *list = nullptr;
    ~CurlList() { curl_slist_free_all(list); }
    void append(const QString &s) { list = curl_slist_append(list, s.toUtf8().constData()); }
};

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
    closeConnection();
}

void TransferWorker::closeConnection()
{
    if (m_multi)
        curl_multi_cleanup(static_cast<CURLM *>(m_multi));
    if (m_curl)
        curl_easy_cleanup(m_curl);
    m_multi = m_curl = nullptr;
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
    if (w->stopping()) {
        w->m_abort = TransferWorker::Abort::Stopped;
        w->shutDownSockets();
        return 1;
    }
    const curl_off_t moved = dlnow + ulnow;
    if (moved != w->m_moved) {
        w->m_moved = moved;
        w->m_idle.restart();
        if (ultotal > 0) {
            w->m_root->m_sentBytes += ulnow - w->m_laneSent;
            w->m_laneSent = ulnow;
            Q_EMIT w->m_root->progress(w->m_fileName, ulnow, w->m_fileSize, w->m_root->m_sentBytes, w->m_root->m_totalBytes);
        }
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
    m_body.clear();
    m_replies.clear();
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &m_body);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &collect);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &m_replies);
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
            // The pin decides alone: a self-signed or shared-hosting certificate names another host.
            curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 0L);
            curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 0L);
            curl_easy_setopt(c, CURLOPT_PINNEDPUBLICKEY, QByteArray("sha256//" + pin).constData());
        }
    }
    m_idle.restart();
    m_moved = -1;
    m_abort = Abort::None;
}

// Runs the prepared request. libcurl's own wait sleeps up to a second at times while an FTP data connection
// opens, which made every few files cost a second; polling in short steps keeps the request moving.
int TransferWorker::transfer()
{
    auto *multi = static_cast<CURLM *>(m_multi);
    if (!multi)
        m_multi = multi = curl_multi_init();
    if (!multi || curl_multi_add_handle(multi, m_curl) != CURLM_OK)
        return CURLE_FAILED_INIT;
    int running = 1;
    while (running > 0) {
        if (curl_multi_perform(multi, &running) != CURLM_OK)
            break;
        if (running > 0)
            curl_multi_poll(multi, nullptr, 0, 10, nullptr);
    }
    CURLcode result = CURLE_FAILED_INIT;
    int left = 0;
    while (CURLMsg *m = curl_multi_info_read(multi, &left)) {
        if (m->msg == CURLMSG_DONE && m->easy_handle == m_curl)
            result = m->data.result;
    }
    curl_multi_remove_handle(multi, m_curl);
    return result;
}

TransferWorker::Outcome TransferWorker::perform()
{
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(m_curl, CURLOPT_ERRORBUFFER, error);
    const auto code = CURLcode(transfer());
    curl_easy_setopt(m_curl, CURLOPT_ERRORBUFFER, nullptr);
    Outcome o;
    if (code == CURLE_OK) {
        m_connected = true;
        return o;
    }
    long response = 0;
    curl_easy_getinfo(m_curl, CURLINFO_RESPONSE_CODE, &response);
    if (code == CURLE_SSL_PINNEDPUBKEYNOTMATCH)
        m_hostKeyChanged = true;
    o.failure = classify(code, response);
    o.detail = QString::fromUtf8(*error ? error : curl_easy_strerror(code));
    o.reply = lastRefusal(m_replies);
    return o;
}

TransferFailure TransferWorker::classify(int value, long response) const
{
    const auto code = CURLcode(value);
    const bool sftp = m_options.target.protocol == PublishProtocol::Sftp;
    switch (code) {
    case CURLE_OK:
        return TransferFailure::None;
    case CURLE_ABORTED_BY_CALLBACK:
        switch (m_abort) {
        case Abort::Stopped:
            return TransferFailure::Stopped;
        case Abort::Stalled:
            return TransferFailure::Stalled;
        case Abort::NoAnswer:
            return TransferFailure::NoConfirmation;
        case Abort::None:
            break;
        }
        return TransferFailure::Other;
    case CURLE_COULDNT_RESOLVE_HOST:
        return TransferFailure::HostNotFound;
    case CURLE_COULDNT_CONNECT:
        return TransferFailure::CouldNotConnect;
    case CURLE_LOGIN_DENIED:
        if (sftp && !m_options.privateKeyFile.isEmpty())
            return TransferFailure::KeyRefused;
        if (sftp && m_options.target.password.isEmpty())
            return TransferFailure::AgentRefused;
        return TransferFailure::LoginRefused;
    case CURLE_OPERATION_TIMEDOUT:
        return TransferFailure::NoAnswer;
    case CURLE_USE_SSL_FAILED:
        return TransferFailure::NoTls;
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        return TransferFailure::CertificateChanged;
    case CURLE_PEER_FAILED_VERIFICATION:
        if (!sftp)
            return TransferFailure::CertificateUnverified;
        if (m_hostKeyChanged)
            return TransferFailure::HostKeyChanged;
        return m_untrustedFingerprint.isEmpty() ? TransferFailure::HostKeyRefused : TransferFailure::HostKeyUnknown;
    case CURLE_REMOTE_DISK_FULL:
        return TransferFailure::DiskFull;
    case CURLE_REMOTE_ACCESS_DENIED:
        return TransferFailure::WriteRefused;
    case CURLE_FAILED_INIT:
    case CURLE_OUT_OF_MEMORY:
        return TransferFailure::NetworkLibrary;
    default:
        break;
    }
    // The FTP reply codes say more than the library's summary of them.
    switch (response) {
    case 452:
    case 552:
        return TransferFailure::DiskFull;
    case 450:
    case 532:
    case 550:
    case 553:
        return TransferFailure::WriteRefused;
    default:
        break;
    }
    switch (code) {
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
    case CURLE_SSL_CONNECT_ERROR:
        return TransferFailure::ConnectionBroke;
    case CURLE_UPLOAD_FAILED:
    case CURLE_QUOTE_ERROR:
        return TransferFailure::ServerRefused;
    default:
        return TransferFailure::Other;
    }
}

// Fills in the result of a failure: its code, the server's words, and the sentence for the user.
void TransferWorker::finish(FileResult *r, const Outcome &o) const
{
    r->failure = o.failure;
    r->serverReply = o.reply;
    FailureContext c;
    c.name = r->name;
    c.host = m_options.target.host;
    c.port = m_options.target.port;
    c.stallMs = m_options.timeouts.stallMs;
    c.replyMs = m_options.timeouts.replyMs;
    c.fingerprint = m_untrustedFingerprint;
    c.keyFile = m_options.privateKeyFile;
    c.localSize = r->size;
    c.remoteSize = o.remoteSize;
    c.detail = o.detail;
    r->reason = describeFailure(o.failure, c);
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
    transfer();
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

TransferWorker::Outcome TransferWorker::runCommands(const QStringList &commands)
{
    // Sent after libcurl has changed into the folder, so that FTP names are relative to it.
    prepare(false);
    const QByteArray url = m_options.target.fileUrl(QString());
    curl_easy_setopt(m_curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
    CurlList list;
    for (const QString &c : commands)
        list.append(c);
    curl_easy_setopt(m_curl, CURLOPT_POSTQUOTE, list.list);
    return perform();
}

QString TransferWorker::remotePath(const QString &name) const
{
    const QString &folder = m_options.target.folder;
    return sftpQuoted(folder.isEmpty() ? name : folder + QLatin1Char('/') + name);
}

TransferWorker::Outcome TransferWorker::remoteSize(const QString &name)
{
    prepare(false);
    const QByteArray url = m_options.target.fileUrl(name);
    curl_easy_setopt(m_curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
    Outcome o = perform();
    curl_off_t length = -1;
    if (o.ok() && curl_easy_getinfo(m_curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK && length >= 0) {
        o.remoteSize = length;
        return o;
    }
    if (!o.ok() || m_options.target.protocol == PublishProtocol::Sftp)
        return o;
    // A server without SIZE: its MLST answer names the size too.
    const QString mlst = QStringLiteral("*MLST ") + name;
    o = runCommands({mlst});
    if (o.ok()) {
        for (const QByteArray &line : m_replies.split('\n')) {
            if (line.startsWith(' ')) // the facts line of the answer
                o.remoteSize = sizeFact(line.mid(1).split(' ').value(0));
        }
    }
    return o;
}

TransferWorker::Outcome TransferWorker::listFolder(QList<RemoteEntry> *entries, bool *withSizes)
{
    entries->clear();
    const bool sftp = m_options.target.protocol == PublishProtocol::Sftp;
    prepare(false);
    const QByteArray url = m_options.target.fileUrl(QString());
    curl_easy_setopt(m_curl, CURLOPT_URL, url.constData());
    // MLSD gives sizes and lists names starting with "." too, which a plain name list may leave out.
    if (!sftp)
        curl_easy_setopt(m_curl, CURLOPT_CUSTOMREQUEST, "MLSD");
    Outcome o = perform();
    *withSizes = true;
    if (!sftp && !o.ok() && !endsRun(o.failure)) {
        prepare(false);
        curl_easy_setopt(m_curl, CURLOPT_URL, url.constData());
        curl_easy_setopt(m_curl, CURLOPT_DIRLISTONLY, 1L);
        o = perform();
        *withSizes = false;
    }
    if (!o.ok())
        return o;
    // An SFTP listing line: mode, links, owner, group, size, three date fields, one space, the name.
    static const QRegularExpression longLine(
        QStringLiteral("^([-a-z])\\S*\\s+\\d+\\s+\\S+\\s+\\S+\\s+(\\d+)\\s+\\S+\\s+\\S+\\s+\\S+ (.+)$"));
    for (QByteArray line : m_body.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        RemoteEntry e;
        if (sftp) {
            const QRegularExpressionMatch m = longLine.match(QString::fromUtf8(line));
            if (!m.hasMatch())
                continue;
            e.name = m.captured(3);
            if (m.captured(1) == QLatin1String("-"))
                e.size = m.captured(2).toLongLong();
        } else if (*withSizes) {
            const qsizetype space = line.indexOf(' ');
            if (space < 0)
                continue;
            if (line.left(space).toLower().contains("type=file;"))
                e.size = sizeFact(line.left(space));
            e.name = QString::fromUtf8(line.mid(space + 1));
        } else {
            e.name = QString::fromUtf8(line);
        }
        if (!e.name.isEmpty())
            entries->append(e);
    }
    return o;
}

TransferWorker::Outcome TransferWorker::readFolder()
{
    QList<RemoteEntry> entries;
    bool withSizes = false;
    const Outcome listed = listFolder(&entries, &withSizes);
    m_listed.clear();
    m_listedSizes = listed.ok() && withSizes;
    if (!listed.ok()) // a folder that does not exist yet holds nothing
        return endsRun(listed.failure) ? listed : Outcome();
    for (const RemoteEntry &e : std::as_const(entries))
        m_listed.insert(e.name, e.size);
    QStringList commands;
    for (const RemoteEntry &e : std::as_const(entries)) {
        if (isTemporaryName(e.name))
            commands << (m_options.target.protocol == PublishProtocol::Sftp ? QStringLiteral("*rm ") + remotePath(e.name)
                                                                            : QStringLiteral("*DELE ") + e.name);
    }
    return commands.isEmpty() ? Outcome() : runCommands(commands);
}

void TransferWorker::removeRemote(const QString &name)
{
    runCommands({m_options.target.protocol == PublishProtocol::Sftp ? QStringLiteral("*rm ") + remotePath(name)
                                                                    : QStringLiteral("*DELE ") + name});
}

TransferWorker::Outcome TransferWorker::upload(const QString &localPath, const QString &name, qint64 size)
{
    UploadSource source;
    source.file.setFileName(localPath);
    if (!source.file.open(QIODevice::ReadOnly))
        return {TransferFailure::LocalUnreadable, source.file.errorString(), {}, -1, FileResult::SizeChecked, {}};
    const QString temp = temporaryName(name);
    const bool sftp = m_options.target.protocol == PublishProtocol::Sftp;

    prepare(true);
    const QByteArray url = m_options.target.fileUrl(temp);
    curl_easy_setopt(m_curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(m_curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(m_curl, CURLOPT_READFUNCTION, &readFromFile);
    curl_easy_setopt(m_curl, CURLOPT_READDATA, &source);
    curl_easy_setopt(m_curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(size));
    curl_easy_setopt(m_curl, CURLOPT_UPLOAD_BUFFERSIZE, 512L * 1024);
    // FTP: ask for the size on the same turn, with no new request ("*": a server without SIZE is no failure).
    CurlList after;
    if (!sftp) {
        after.append(QStringLiteral("*SIZE ") + temp);
        curl_easy_setopt(m_curl, CURLOPT_POSTQUOTE, after.list);
    }
    Outcome o = perform();
    const qint64 reported = sftp ? -1 : sizeReply(m_replies);
    curl_off_t sent = -1;
    curl_easy_getinfo(m_curl, CURLINFO_SIZE_UPLOAD_T, &sent);
    source.file.close();
    if (!o.ok()) {
        if (!endsRun(o.failure))
            removeRemote(temp);
        return o;
    }
    // The temporary file must hold every byte before it may replace the live one.
    Outcome check;
    check.remoteSize = reported;
    if (reported < 0)
        check = remoteSize(temp);
    if (check.ok() && check.remoteSize < 0) {
        if (sent != size)
            check.failure = TransferFailure::NotConfirmed;
        check.check = FileResult::ReplyChecked;
    } else if (check.ok() && check.remoteSize != size) {
        check.failure = TransferFailure::SizeMismatch;
    }
    if (!check.ok()) {
        if (!endsRun(check.failure))
            removeRemote(temp);
        return check;
    }
    // SFTP renames do not replace an existing file; the old one goes first ("*": it may not exist).
    const QStringList rename = sftp ? QStringList{QStringLiteral("*rm ") + remotePath(name),
                                                  QStringLiteral("rename ") + remotePath(temp) + QLatin1Char(' ') +
                                                      remotePath(name)}
                                    : QStringList{QStringLiteral("RNFR ") + temp, QStringLiteral("RNTO ") + name};
    Outcome renamed = runCommands(rename);
    if (!renamed.ok()) {
        if (!endsRun(renamed.failure))
            removeRemote(temp);
        return renamed;
    }
    renamed.check = check.check;
    renamed.sha256 = source.hash.hexResult();
    return renamed;
}

void TransferWorker::run()
{
    m_curl = m_curl ? m_curl : curl_easy_init();
    m_results.clear();
    m_runFailure = m_endFailure = TransferFailure::None;
    m_stateError.clear();
    auto failAll = [this](TransferFailure failure) {
        for (const QString &path : std::as_const(m_options.files)) {
            FileResult r;
            r.localPath = path;
            r.name = QFileInfo(path).fileName();
            finish(&r, {failure, {}, {}, -1, FileResult::SizeChecked, {}});
            m_results.append(r);
            Q_EMIT fileFinished(r);
        }
        Q_EMIT finished();
    };
    if (!m_curl)
        return failAll(TransferFailure::NetworkLibrary);

    // One publish per destination at a time: two would share the temporary names.
    std::unique_ptr<QLockFile> lock;
    const QString key = m_options.target.destinationKey();
    if (!m_options.stateDir.isEmpty()) {
        QDir().mkpath(m_options.stateDir);
        lock = std::make_unique<QLockFile>(UploadState::lockFileFor(m_options.stateDir, key));
        lock->setStaleLockTime(0); // only a lock whose process is gone is stale, however long a publish takes
        if (!lock->tryLock(0) && lock->error() == QLockFile::LockFailedError) {
            m_runFailure = TransferFailure::AnotherPublish;
            return failAll(m_runFailure);
        }
    }
    UploadState state;
    const QString statePath = m_options.stateDir.isEmpty() ? QString() : UploadState::fileFor(m_options.stateDir, key);
    if (!statePath.isEmpty())
        state.load(statePath);

    m_totalBytes = 0;
    for (const QString &path : std::as_const(m_options.files))
        m_totalBytes += QFileInfo(path).size();
    m_sentBytes = 0;

    Batch batch;
    batch.state = &state;
    batch.results.resize(m_options.files.size());
    batch.done.resize(m_options.files.size());
    for (int i = 0; i < m_options.files.size(); ++i)
        batch.queue.append(i);
    // One listing tells which files are there at which size, and shows temporary files of earlier runs that
    // broke off, which go first; it also finds a server out of reach.
    batch.fatal = readFolder();
    m_batch = &batch;

    // Further connections each take the next file from the queue; a server that refuses them leaves the work
    // to this one.
    const int extra = batch.fatal.ok() ? qBound(1, m_options.connections, 8) - 1 : 0;
    std::vector<std::unique_ptr<TransferWorker>> lanes;
    std::vector<std::thread> threads;
    for (int i = 0; i < qMin<qsizetype>(extra, m_options.files.size() - 1); ++i) {
        lanes.push_back(std::make_unique<TransferWorker>(m_options));
        TransferWorker *lane = lanes.back().get();
        lane->m_root = this;
        lane->m_batch = &batch;
        lane->m_listed = m_listed;
        lane->m_listedSizes = m_listedSizes;
        threads.emplace_back([lane] { lane->runLane(); });
    }
    runLane();
    for (std::thread &t : threads)
        t.join();
    for (const auto &lane : lanes) {
        m_hostKeyChanged = m_hostKeyChanged || lane->m_hostKeyChanged;
        if (m_untrustedFingerprint.isEmpty()) {
            m_untrustedFingerprint = lane->m_untrustedFingerprint;
            m_certificateSha256 = lane->m_certificateSha256;
        }
    }
    lanes.clear();
    m_batch = nullptr;
    m_results = batch.results;
    m_endFailure = batch.fatal.failure;

    if (!statePath.isEmpty() && !state.save(statePath, &m_stateError) && m_stateError.isEmpty())
        m_stateError = QStringLiteral("unknown error");
    closeConnection();
    Q_EMIT finished();
}

void TransferWorker::runLane()
{
    Batch &b = *m_batch;
    m_curl = m_curl ? m_curl : curl_easy_init();
    for (; m_curl;) {
        int index = -1;
        {
            QMutexLocker locker(&b.mutex);
            // An empty queue is not the end while another connection holds a file it may still give back.
            while (b.queue.isEmpty() && b.taken > 0)
                b.changed.wait(locker.mutex());
            if (b.queue.isEmpty())
                break;
            index = b.queue.takeFirst();
            ++b.taken;
        }
        FileResult r;
        const bool refused = !sendFile(index, &r);
        const QMutexLocker locker(&b.mutex);
        --b.taken;
        b.changed.wakeAll();
        if (refused) {
            // This extra connection was refused before it did anything: the file goes back for the others.
            m_root->m_sentBytes -= m_laneSent;
            m_laneSent = 0;
            b.queue.prepend(index);
            break;
        }
        m_root->m_sentBytes += r.size - m_laneSent;
        m_laneSent = 0;
        b.results[index] = r;
        b.done[index] = true;
        // Results are told in the order of the list, whichever connection finished first.
        while (b.emitted < b.done.size() && b.done[b.emitted])
            Q_EMIT m_root->fileFinished(b.results[b.emitted++]);
    }
    if (m_root != this)
        closeConnection();
}

// Sends or checks one file of the list. False when an extra connection failed before its first success.
bool TransferWorker::sendFile(int index, FileResult *result)
{
    Batch &b = *m_batch;
    const QString &path = m_options.files[index];
    FileResult &r = *result;
    r.localPath = path;
    r.name = QFileInfo(path).fileName();
    const QFileInfo info(path);
    UploadState::Entry local{info.isFile() && info.isReadable() ? info.size() : -1, {}};
    r.size = qMax<qint64>(local.size, 0);
    Outcome fatal;
    {
        const QMutexLocker locker(&b.mutex);
        if (b.fatal.ok() && stopping())
            b.fatal.failure = TransferFailure::Stopped;
        fatal = b.fatal;
    }
    Outcome o;
    if (!fatal.ok()) {
        if (fatal.failure == TransferFailure::CertificateUnverified && m_untrustedFingerprint.isEmpty())
            m_untrustedFingerprint = probeCertificateFingerprint();
        finish(&r, fatal);
        const QMutexLocker locker(&b.mutex);
        // the reason is given in full once, then the later files say "not sent"
        if (b.fatalShown)
            r.reason = QStringLiteral("not sent: ") + r.reason;
        b.fatalShown = true;
        return true;
    }
    if (!m_options.uploadFolder.isEmpty() && !LiesInside(path, m_options.uploadFolder)) {
        o.failure = TransferFailure::OutsideUpload;
    } else if (hasControlCharacter(r.name)) {
        o.failure = TransferFailure::ControlCharacter;
    } else if (local.size < 0) {
        o.failure = TransferFailure::LocalUnreadable;
    } else {
        Q_EMIT m_root->fileStarted(r.name, r.size);
        m_fileSize = r.size;
        m_fileName = r.name;
        UploadState::Entry known;
        {
            const QMutexLocker locker(&b.mutex);
            known = b.state->entry(r.name);
        }
        bool unchanged = false;
        // Only a file of the remembered size is hashed before the decision; any other is hashed as it goes up.
        if (!m_options.sendAll && known.size == local.size)
            local = UploadState::digestOf(path);
        if (!m_options.sendAll && known.size == local.size && known.sha256 == local.sha256) {
            // A file removed or replaced on the server goes up again.
            if (m_listedSizes) {
                unchanged = m_listed.value(r.name, -1) == local.size;
            } else {
                const Outcome check = remoteSize(r.name);
                unchanged = check.ok() && check.remoteSize == local.size;
                if (endsRun(check.failure))
                    o = check;
            }
        }
        if (unchanged) {
            r.status = FileResult::Unchanged;
        } else if (o.ok()) {
            o = upload(path, r.name, r.size);
            if (o.ok()) {
                r.status = FileResult::Sent;
                r.check = o.check;
            }
        }
        if (m_root != this && !m_connected && !o.ok())
            return false;
        const QMutexLocker locker(&b.mutex);
        if (r.status == FileResult::Sent)
            b.state->set(r.name, {r.size, o.sha256});
        else if (r.status == FileResult::Failed)
            b.state->remove(r.name);
    }
    if (!o.ok()) {
        if (o.failure == TransferFailure::CertificateUnverified && m_untrustedFingerprint.isEmpty())
            m_untrustedFingerprint = probeCertificateFingerprint();
        finish(&r, o);
        if (endsRun(o.failure)) {
            const QMutexLocker locker(&b.mutex);
            if (b.fatal.ok()) {
                b.fatal = o;
                b.fatalShown = true;
            }
        }
    }
    return true;
}

QString PublishResultLine(const FileResult &r)
{
    switch (r.status) {
    case FileResult::Sent:
        return QStringLiteral("sent ") + r.name + QStringLiteral(" (") + QString::number(r.size) +
               (r.check == FileResult::ReplyChecked
                    ? QStringLiteral(" bytes; the server reports no sizes, so only its confirmation was checked)")
                    : QStringLiteral(" bytes)"));
    case FileResult::Unchanged:
        return QStringLiteral("unchanged ") + r.name;
    case FileResult::Failed:
        break;
    }
    const QString line = (r.failure == TransferFailure::OutsideUpload ? QStringLiteral("refused ")
                                                                       : QStringLiteral("failed ")) +
                         r.name + QStringLiteral(": ") + r.reason;
    return r.serverReply.isEmpty() ? line : line + QStringLiteral("\n  the server said: ") + r.serverReply;
}
