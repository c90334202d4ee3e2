#pragma once

#include <QHash>
#include <QString>

// SHA-256 through the system's crypto library, which libcurl loads anyway: several times faster than Qt's
// own, and a big picture is hashed while it is sent, so hashing must keep up with the network.
class Sha256
{
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256 &) = delete;
    Sha256 &operator=(const Sha256 &) = delete;
    void add(const char *data, qint64 size);
    QByteArray hexResult(); // ends the hash

private:
    void *m_context;
};

// What was sent to one destination and verified there: size and SHA-256 of each file, by remote name.
// Lets a later send skip the files that did not change.
class UploadState
{
public:
    struct Entry {
        qint64 size = -1;
        QByteArray sha256; // hex
    };

    // The file for a destination inside stateDir; the key is hashed, so no user text becomes a file name.
    static QString fileFor(const QString &stateDir, const QString &destinationKey);
    // The lock file that one publish to the destination holds while it runs.
    static QString lockFileFor(const QString &stateDir, const QString &destinationKey);

    bool load(const QString &path); // a missing file is an empty state
    bool save(const QString &path, QString *error = nullptr) const;

    Entry entry(const QString &name) const { return m_entries.value(name); }
    void set(const QString &name, const Entry &e) { m_entries.insert(name, e); }
    void remove(const QString &name) { m_entries.remove(name); }

    // Size and hex SHA-256 of a local file; size -1 when it cannot be read.
    static Entry digestOf(const QString &localPath);

private:
    QHash<QString, Entry> m_entries;
};
