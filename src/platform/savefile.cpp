#include "savefile.h"

#include <QSaveFile>

bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *reason)
{
    return WriteFileAtomically(
        path, [&bytes](QIODevice &device) { return device.write(bytes) == bytes.size(); }, reason);
}

bool WriteFileAtomically(const QString &path, const std::function<bool(QIODevice &)> &write, QString *reason)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    // Check the writes and the flush ourselves: commit() can report success after a failed
    // flush of buffered data, and would then replace the old file with a cut-off one.
    if (!write(file) || !file.flush() || !file.commit()) {
        if (reason)
            *reason = file.error() != QFileDevice::NoError
                ? file.errorString()
                : QStringLiteral("not all of the data could be written (the disk may be full)");
        file.cancelWriting();
        return false;
    }
    return true;
}
