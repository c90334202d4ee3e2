#pragma once

#include <QString>

// Secrets (passwords, key passphrases) in the desktop's secret store: the Secret Service of GNOME Keyring or
// KWallet. Each call waits for the store's answer, at most a few seconds.
namespace Credentials {

enum class Result {
    Ok,
    NotFound,
    NoStore, // no secret service answers: the caller keeps the secret elsewhere
};

Result read(const QString &key, QString *secret);
Result write(const QString &key, const QString &secret);
Result remove(const QString &key);

} // namespace Credentials

// Whether an SSH private key file is protected by a passphrase (OpenSSH or PEM form); false when it cannot
// be read, so that the sign-in reports the problem.
bool KeyFileIsEncrypted(const QString &path);
