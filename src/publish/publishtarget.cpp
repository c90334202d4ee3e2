#include "publishtarget.h"

#include <QUrl>

namespace {

struct Scheme {
    const char *prefix;
    PublishProtocol protocol;
    int defaultPort;
};

constexpr Scheme kSchemes[] = {
    {"ftp://", PublishProtocol::Ftp, 21},
    {"ftpes://", PublishProtocol::FtpExplicit, 21},
    {"ftps://", PublishProtocol::FtpImplicit, 990},
    {"sftp://", PublishProtocol::Sftp, 22},
};

const Scheme *schemeOf(const QString &text)
{
    for (const Scheme &s : kSchemes) {
        if (text.startsWith(QLatin1String(s.prefix), Qt::CaseInsensitive))
            return &s;
    }
    return nullptr;
}

QString cleanFolder(QString folder)
{
    folder = folder.trimmed();
    while (folder.startsWith(QLatin1Char('/')))
        folder.remove(0, 1);
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

// The address as typed, without the password a user may have put into it. A password may hold "/" or "@",
// so everything from the first ":" after the scheme to the last "@" goes; cutting too much is harmless here.
QString withoutPassword(const QString &url)
{
    const qsizetype authority = url.indexOf(QLatin1String("://"));
    const qsizetype colon = authority < 0 ? -1 : url.indexOf(QLatin1Char(':'), authority + 3);
    const qsizetype at = url.lastIndexOf(QLatin1Char('@'));
    return colon >= 0 && at > colon ? url.left(colon) + url.mid(at) : url;
}

} // namespace

PublishTarget PublishTarget::fromProfile(const QString &hostText, const QString &port, const QString &user,
                                         const QString &password, const QString &folder)
{
    PublishTarget t;
    QString host = hostText.trimmed();
    const Scheme *scheme = schemeOf(host);
    if (scheme) {
        t.protocol = scheme->protocol;
        host = host.mid(int(qstrlen(scheme->prefix)));
    }
    // A host typed with a path ("example.com/") keeps only the host.
    host = host.section(QLatin1Char('/'), 0, 0);
    t.host = host;
    bool ok = false;
    t.port = port.trimmed().toInt(&ok);
    if (!ok || t.port <= 0 || t.port > 65535)
        t.port = 21;
    if (t.port == 21 && scheme)
        t.port = scheme->defaultPort;
    t.user = user;
    t.password = password;
    t.folder = cleanFolder(folder);
    return t;
}

bool PublishTarget::fromUrl(const QString &url, PublishTarget *target, QString *error)
{
    const Scheme *scheme = schemeOf(url);
    const QUrl u(url, QUrl::StrictMode);
    if (!scheme || !u.isValid() || u.host().isEmpty()) {
        *error = QStringLiteral("not a server address: ") + withoutPassword(url);
        return false;
    }
    if (!u.password().isEmpty()) {
        *error = QStringLiteral("the address must not hold a password; use BRISKO_PASSWORD");
        return false;
    }
    PublishTarget t;
    t.protocol = scheme->protocol;
    t.host = u.host();
    t.port = u.port(scheme->defaultPort);
    t.user = u.userName();
    t.folder = cleanFolder(u.path());
    *target = t;
    return true;
}

QString PublishTarget::destinationKey() const
{
    return host.toLower() % QLatin1Char(':') % QString::number(port) % QLatin1Char(':') % user % QLatin1Char(':') %
           folder;
}

QByteArray PublishTarget::fileUrl(const QString &name) const
{
    const char *scheme = protocol == PublishProtocol::FtpImplicit ? "ftps" : protocol == PublishProtocol::Sftp ? "sftp"
                                                                                                                : "ftp";
    QByteArray url = QByteArray(scheme) + "://";
    url += QUrl::toAce(host).isEmpty() ? host.toUtf8() : QUrl::toAce(host);
    url += ':' + QByteArray::number(port) + '/';
    // SFTP paths are absolute unless they start from the home folder.
    if (protocol == PublishProtocol::Sftp)
        url += "~/";
    if (!folder.isEmpty())
        url += QUrl::toPercentEncoding(folder, "/") + '/';
    url += QUrl::toPercentEncoding(name);
    return url;
}

QString PublishTarget::displayName() const
{
    return QString::fromLatin1(fileUrl(QString()));
}
