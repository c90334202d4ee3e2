#pragma once

#include <QString>

// Why a file did not reach the server. Decisions are taken on these values; the words for the user are made
// from them only when a result is shown (describeFailure).
enum class TransferFailure {
    None,
    Stopped,
    Stalled,        // no byte moved for the stall time
    NoConfirmation, // all bytes sent, the server never confirmed them
    NoAnswer,       // the server did not answer a command in time
    HostNotFound,
    CouldNotConnect,
    LoginRefused,
    KeyRefused,   // SFTP: the server refused the private key, or its passphrase did not open it
    AgentRefused, // SFTP: the server refused every key the SSH agent offered
    NoTls,
    CertificateUnverified,
    CertificateChanged,
    HostKeyUnknown,
    HostKeyChanged,
    HostKeyRefused,
    ConnectionBroke,
    DiskFull,
    WriteRefused,
    ServerRefused, // any other refusal by the server
    SizeMismatch,  // the server holds another size than was sent
    NotConfirmed,  // the server's size could not be read
    LocalUnreadable,
    OutsideUpload, // the local file's real path lies outside the Upload folder
    ControlCharacter,
    AnotherPublish, // a publish to the same destination is running
    NetworkLibrary,
    Other,
};

// What describeFailure needs besides the code.
struct FailureContext
{
    QString name; // the file's name
    QString host;
    int port = 0;
    int stallMs = 0;
    int replyMs = 0;
    QString fingerprint; // the key the server showed, when that matters
    QString keyFile;     // the private key file signed in with
    qint64 localSize = 0;
    qint64 remoteSize = -1;
    QString detail; // the network library's own words, for failures without a sentence of their own
};

QString describeFailure(TransferFailure failure, const FailureContext &context);

// Text from a server, made safe to show on one line: control characters become spaces, and it is cut short.
QString plainServerText(const QByteArray &text);
