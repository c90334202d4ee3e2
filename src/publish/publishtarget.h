#pragma once

#include <QString>

// Where a page is published: one remote folder on one server account.
enum class PublishProtocol {
    Ftp,         // FTP, with TLS when the server offers it
    FtpExplicit, // FTP that must switch to TLS (AUTH TLS)
    FtpImplicit, // FTP over TLS from the first byte
    Sftp,
};

struct PublishTarget {
    PublishProtocol protocol = PublishProtocol::Ftp;
    QString host;
    int port = 21;
    QString user;
    QString password;
    QString folder; // relative to the login folder; empty for the login folder itself

    // The protocol comes from the host text's scheme; a port left at the default 21 follows the protocol.
    static PublishTarget fromProfile(const QString &hostText, const QString &port, const QString &user,
                                     const QString &password, const QString &folder);
    // "ftp://user@host:port/folder" and the other schemes; the password is never part of it.
    static bool fromUrl(const QString &url, PublishTarget *target, QString *error);

    bool isSecure() const { return protocol != PublishProtocol::Ftp; }
    // Identifies the destination for the record of what was sent: host, port, user and folder.
    QString destinationKey() const;
    // URL of a file in the remote folder; an empty name gives the folder itself.
    QByteArray fileUrl(const QString &name) const;
    QString displayName() const;
};
