#include "serverprofiles.h"

#include "credentials.h"

#include "platform/cp1252.h"
#include "platform/settingsstore.h"

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

QString key(const QString &name)
{
    return QStringLiteral("Profiles/") + name;
}

// The secret store's entry of a profile's secret value.
QString secretKey(const QString &name, const QString &value)
{
    return key(name) + QLatin1Char('/') + value;
}

QString readSecret(const SettingsStore &store, const QString &name, const QString &value)
{
    const QString scrambled = store.readString(key(name), value);
    if (!scrambled.isEmpty())
        return Cp1252::decode(UnscrambleText(DecodeBase64(scrambled.toLatin1())));
    QString secret;
    Credentials::read(secretKey(name, value), &secret);
    return secret;
}

// The stored value: empty when the secret store took the secret.
QString storeSecret(const QString &name, const QString &value, const QString &secret, bool *inFile)
{
    if (secret.isEmpty()) {
        Credentials::remove(secretKey(name, value));
        return {};
    }
    if (Credentials::write(secretKey(name, value), secret) == Credentials::Result::Ok)
        return {};
    *inFile = true;
    return QString::fromLatin1(EncodeBase64(ScrambleText(Cp1252::encode(secret))));
}

void removeSecrets(const QString &name)
{
    for (const QString &value : {QStringLiteral("Password"), QStringLiteral("KeyPassphrase")})
        Credentials::remove(secretKey(name, value));
}

int sextet(char c)
{
    for (int i = 0; i < 64; ++i) {
        if (kAlphabet[i] == c)
            return i;
    }
    return -1; // all six bits set, as the stored form was always read
}

// The key after a scrambled byte. Unsigned throughout: the product passes the range of int.
quint16 nextKey(quint16 key, quint8 scrambled)
{
    return quint16((quint32(key) + scrambled) * 0xA2EDu + 0x578Cu);
}

} // namespace

QByteArray ScrambleText(const QByteArray &plain)
{
    QByteArray out(plain.size(), Qt::Uninitialized);
    quint16 k = 0x4F1F;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const auto o = quint8(quint8(plain[i]) ^ (k >> 8));
        out[i] = char(o);
        k = nextKey(k, o);
    }
    return out;
}

QByteArray UnscrambleText(const QByteArray &scrambled)
{
    QByteArray out(scrambled.size(), Qt::Uninitialized);
    quint16 k = 0x4F1F;
    for (qsizetype i = 0; i < scrambled.size(); ++i) {
        const auto in = quint8(scrambled[i]);
        out[i] = char(in ^ (k >> 8));
        k = nextKey(k, in);
    }
    return out;
}

QByteArray EncodeBase64(const QByteArray &bytes)
{
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); i += 3) {
        quint32 group = quint32(quint8(bytes[i])) << 16;
        if (i + 1 < bytes.size())
            group |= quint32(quint8(bytes[i + 1])) << 8;
        if (i + 2 < bytes.size())
            group |= quint8(bytes[i + 2]);
        for (int s = 18; s >= 0; s -= 6)
            out += kAlphabet[(group >> s) & 63];
    }
    if (bytes.size() % 3 == 2)
        out[out.size() - 1] = '=';
    else if (bytes.size() % 3 == 1)
        out.replace(out.size() - 2, 2, "==");
    return out;
}

QByteArray DecodeBase64(const QByteArray &text)
{
    QByteArray out;
    for (qsizetype i = 0; i + 3 < text.size(); i += 4) {
        quint32 group = 0;
        for (int j = 0; j < 4; ++j)
            group = (group << 6) | (quint32(sextet(text[i + j])) & 63);
        const int count = text[i + 3] != '=' ? 3 : text[i + 2] != '=' ? 2 : 1;
        for (int j = 0; j < count; ++j)
            out += char(group >> (16 - 8 * j));
    }
    return out;
}

namespace ServerProfiles {

QStringList ReadProfileNames(const SettingsStore &store)
{
    return store.subKeys(QStringLiteral("Profiles"));
}

bool LoadProfile(const SettingsStore &store, const QString &name, ServerProfile *profile)
{
    if (!ReadProfileNames(store).contains(name))
        return false;
    const QString k = key(name);
    ServerProfile p;
    p.name = name;
    p.userName = store.readString(k, QStringLiteral("Username"));
    p.password = readSecret(store, name, QStringLiteral("Password"));
    p.host = store.readString(k, QStringLiteral("Host"));
    p.initialDir = store.readString(k, QStringLiteral("InitialDir"));
    p.port = store.readString(k, QStringLiteral("Port"), QStringLiteral("21"));
    p.trustedKey = store.readString(k, QStringLiteral("TrustedKey"));
    p.keyFile = store.readString(k, QStringLiteral("KeyFile"));
    if (!p.keyFile.isEmpty())
        p.keyPassphrase = readSecret(store, name, QStringLiteral("KeyPassphrase"));
    p.clearTextAccepted = store.readString(k, QStringLiteral("ClearTextAccepted")) == QLatin1String("1");
    p.connections = qBound(1, store.readString(k, QStringLiteral("Connections"), QStringLiteral("4")).toInt(), 8);
    *profile = p;
    return true;
}

SecretPlace SaveProfile(SettingsStore &store, const ServerProfile &profile, const QString &oldName)
{
    if (!oldName.isEmpty()) {
        store.deleteSubKey(key(oldName));
        removeSecrets(oldName);
    }
    const QString k = key(profile.name);
    bool inFile = false;
    store.writeString(k, QStringLiteral("Username"), profile.userName);
    store.writeString(k, QStringLiteral("Password"),
                      storeSecret(profile.name, QStringLiteral("Password"), profile.password, &inFile));
    store.writeString(k, QStringLiteral("Host"), profile.host);
    store.writeString(k, QStringLiteral("InitialDir"), profile.initialDir);
    store.writeString(k, QStringLiteral("Port"), profile.port);
    if (!profile.trustedKey.isEmpty())
        store.writeString(k, QStringLiteral("TrustedKey"), profile.trustedKey);
    if (!profile.keyFile.isEmpty()) {
        store.writeString(k, QStringLiteral("KeyFile"), profile.keyFile);
        const QString passphrase =
            storeSecret(profile.name, QStringLiteral("KeyPassphrase"), profile.keyPassphrase, &inFile);
        if (!passphrase.isEmpty())
            store.writeString(k, QStringLiteral("KeyPassphrase"), passphrase);
    }
    if (profile.clearTextAccepted)
        store.writeString(k, QStringLiteral("ClearTextAccepted"), QStringLiteral("1"));
    if (profile.connections != ServerProfile().connections)
        store.writeString(k, QStringLiteral("Connections"), QString::number(profile.connections));
    return inFile ? SecretPlace::SettingsFile : SecretPlace::SecretStore;
}

void DeleteProfile(SettingsStore &store, const QString &name)
{
    store.deleteSubKey(key(name));
    removeSecrets(name);
}

} // namespace ServerProfiles
