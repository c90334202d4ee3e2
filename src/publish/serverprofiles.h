#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class SettingsStore;

// One server account, stored per user below "Profiles/<name>".
struct ServerProfile {
    QString name;
    QString userName;
    QString password;
    QString host;
    QString initialDir;
    QString port = QStringLiteral("21");
    QString trustedKey; // "SHA256:..." of a certificate or host key the user chose to trust
    QString keyFile;    // SFTP: the private key to sign in with
    QString keyPassphrase;
    bool clearTextAccepted = false; // the user agreed to send to this server unencrypted
    int connections = 4;            // used at once when publishing, 1 to 8
};

// Where SaveProfile put the password and passphrase.
enum class SecretPlace {
    SecretStore,
    SettingsFile, // no secret service answered: scrambled in the settings file, as profiles always were
};

// The stored password form: scrambled, then Base64.
QByteArray ScrambleText(const QByteArray &plain);
QByteArray UnscrambleText(const QByteArray &scrambled);
QByteArray EncodeBase64(const QByteArray &bytes);
QByteArray DecodeBase64(const QByteArray &text);

namespace ServerProfiles {
QStringList ReadProfileNames(const SettingsStore &store);
// Missing values read as their defaults; false when no such profile exists. A password kept in the settings
// file (profiles from before, or no secret store) is read from there, otherwise from the secret store.
bool LoadProfile(const SettingsStore &store, const QString &name, ServerProfile *profile);
// Writes the five values in their fixed order (then the trusted key, key file, clear-text consent and a number
// of connections other than 4); the password and the passphrase go into the secret store, or scrambled into
// the settings file when none answers. With an old name, the old profile goes first, so a rename moves every
// value.
SecretPlace SaveProfile(SettingsStore &store, const ServerProfile &profile, const QString &oldName = {});
void DeleteProfile(SettingsStore &store, const QString &name);
} // namespace ServerProfiles
