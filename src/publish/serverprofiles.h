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
    int connections = 4; // used at once when publishing, 1 to 8
};

// The stored password form: scrambled, then Base64.
QByteArray ScrambleText(const QByteArray &plain);
QByteArray UnscrambleText(const QByteArray &scrambled);
QByteArray EncodeBase64(const QByteArray &bytes);
QByteArray DecodeBase64(const QByteArray &text);

namespace ServerProfiles {
QStringList ReadProfileNames(const SettingsStore &store);
// Missing values read as their defaults; false when no such profile exists.
bool LoadProfile(const SettingsStore &store, const QString &name, ServerProfile *profile);
// Writes the five values in their fixed order (then the trusted key); with an old name, the old profile
// goes first, so a rename moves every value.
void SaveProfile(SettingsStore &store, const ServerProfile &profile, const QString &oldName = {});
void DeleteProfile(SettingsStore &store, const QString &name);
} // namespace ServerProfiles
