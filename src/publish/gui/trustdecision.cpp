#include "trustdecision.h"

using namespace Qt::StringLiterals;

TrustDecision TrustDecision::after(const TransferOutcome &outcome, const ServerProfile &profile)
{
    const PublishProtocol protocol = PublishTarget::fromProfile(profile.host, profile.port, {}, {}, {}).protocol;
    const bool sftp = protocol == PublishProtocol::Sftp;
    // Only plain FTP may fall back to clear text; the other schemes demand encryption by their name.
    const bool tlsRefused = outcome.tlsRefused && protocol == PublishProtocol::Ftp;
    TrustDecision d;
    if (outcome.keyChanged) {
        d.kind = Kind::KeyChanged;
        d.text = u"The web server's key has changed since you chose to trust it. Nothing was sent: the server may "
                 u"not be yours. Ask your web host whether they changed it."_s;
        d.detail = outcome.results.isEmpty() ? QString() : outcome.results.first().reason;
    } else if (tlsRefused && !profile.trustedKey.isEmpty()) {
        d.kind = Kind::TlsDropped;
        d.text = u"The web server no longer offers an encrypted connection, although you chose to trust its key. "
                 u"Nothing was sent: someone may stand between you and your server."_s;
    } else if (tlsRefused) {
        d.kind = Kind::ClearText;
        d.text = u"This server does not encrypt the connection: your password and your files can be read on the "
                 u"way. Send anyway?"_s;
    } else if (!outcome.untrustedFingerprint.isEmpty()) {
        d.kind = Kind::TrustKey;
        const QString fingerprints =
            sftp ? u"SHA-256 fingerprint of its host key, as ssh-keygen -l shows it:\n%1"_s.arg(
                       outcome.untrustedFingerprint)
                 : u"SHA-256 fingerprint of its certificate, as web hosts, browsers and openssl x509 -fingerprint "
                   u"show it:\n%1\n\nSHA-256 of its public key, which this profile will trust:\n%2"_s.arg(
                       outcome.certificateSha256.isEmpty() ? u"(not available)"_s : outcome.certificateSha256,
                       outcome.untrustedFingerprint);
        d.text = u"The web server's identity could not be verified, so nothing was sent.\n\n%1\n\nCompare it with "
                 u"the fingerprint your web host gives you. Do you want to trust this key for the server profile "
                 u"\"%2\" and send the files?"_s.arg(fingerprints, profile.name);
    }
    return d;
}

bool TrustDecision::accept(const TransferOutcome &outcome, ServerProfile *profile) const
{
    switch (kind) {
    case Kind::TrustKey:
        profile->trustedKey = outcome.untrustedFingerprint;
        return true;
    case Kind::ClearText:
        profile->clearTextAccepted = true;
        return true;
    case Kind::None:
    case Kind::KeyChanged:
    case Kind::TlsDropped:
        break;
    }
    return false;
}
