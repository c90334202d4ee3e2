#include "transferfailure.h"

namespace {

QString seconds(int ms)
{
    return QString::number((ms + 999) / 1000);
}

} // namespace

QString describeFailure(TransferFailure failure, const FailureContext &c)
{
    // Names and server words are joined in, never used as a format: a "%1" in a name stays as it is.
    switch (failure) {
    case TransferFailure::None:
        return {};
    case TransferFailure::Stopped:
        return QStringLiteral("stopped");
    case TransferFailure::Stalled:
        return QStringLiteral("the transfer stalled: no data moved for %1 s").arg(seconds(c.stallMs));
    case TransferFailure::NoConfirmation:
        return QStringLiteral("the server did not confirm the file within %1 s").arg(seconds(c.replyMs));
    case TransferFailure::NoAnswer:
        return QStringLiteral("the server did not answer within %1 s").arg(seconds(c.replyMs));
    case TransferFailure::HostNotFound:
        return QStringLiteral("the server ") + c.host + QStringLiteral(" was not found");
    case TransferFailure::CouldNotConnect:
        return QStringLiteral("could not connect to ") + c.host + QStringLiteral(" port ") + QString::number(c.port);
    case TransferFailure::LoginRefused:
        return QStringLiteral("the server refused the user name or password");
    case TransferFailure::KeyRefused:
        return QStringLiteral("the server refused the key ") + c.keyFile +
               QStringLiteral(", or its passphrase is wrong");
    case TransferFailure::AgentRefused:
        return QStringLiteral("the server refused the keys of the SSH agent");
    case TransferFailure::NoTls:
        return QStringLiteral("the server does not offer TLS encryption");
    case TransferFailure::CertificateUnverified:
        return c.fingerprint.isEmpty() ? QStringLiteral("the server's certificate could not be verified")
                                       : QStringLiteral("the server's certificate could not be verified (key "
                                                        "fingerprint ") +
                                             c.fingerprint + QLatin1Char(')');
    case TransferFailure::CertificateChanged:
        return QStringLiteral("WARNING: the server's certificate key has changed; refused, it may not be your server");
    case TransferFailure::HostKeyUnknown:
        return QStringLiteral("the server's host key is unknown (fingerprint ") + c.fingerprint + QLatin1Char(')');
    case TransferFailure::HostKeyChanged:
        return QStringLiteral("WARNING: the server's host key has changed (now ") + c.fingerprint +
               QStringLiteral("); refused, it may not be your server");
    case TransferFailure::HostKeyRefused:
        return QStringLiteral("the server's host key was refused by the known-hosts file");
    case TransferFailure::ConnectionBroke:
        return QStringLiteral("the connection to the server broke off");
    case TransferFailure::DiskFull:
        return QStringLiteral("the server has no room left for ") + c.name;
    case TransferFailure::WriteRefused:
        return QStringLiteral("the server does not allow writing ") + c.name;
    case TransferFailure::ServerRefused:
        return QStringLiteral("the server refused to store ") + c.name;
    case TransferFailure::SizeMismatch:
        return QStringLiteral("the server holds %1 bytes instead of %2; the file was not put in place")
            .arg(c.remoteSize)
            .arg(c.localSize);
    case TransferFailure::NotConfirmed:
        return QStringLiteral("the server could not confirm the size of ") + c.name +
               QStringLiteral("; the file was not put in place");
    case TransferFailure::LocalUnreadable:
        return QStringLiteral("cannot read the local file");
    case TransferFailure::OutsideUpload:
        return QStringLiteral("outside the Upload folder");
    case TransferFailure::ControlCharacter:
        return QStringLiteral("the name holds a control character (such as a line break or tab), which file "
                              "servers do not accept; rename the file");
    case TransferFailure::AnotherPublish:
        return QStringLiteral("another publish to this server is running");
    case TransferFailure::NetworkLibrary:
        return QStringLiteral("the network library could not start");
    case TransferFailure::Other:
        break;
    }
    return c.detail.isEmpty() ? QStringLiteral("the transfer failed") : c.detail;
}

QString plainServerText(const QByteArray &text)
{
    QString s = QString::fromUtf8(text.left(400)).trimmed();
    for (QChar &ch : s) {
        if (ch.category() == QChar::Other_Control || ch.category() == QChar::Other_Format)
            ch = QLatin1Char(' ');
    }
    return s;
}
