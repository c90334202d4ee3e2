#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QFile;

namespace Stream {

// The bytes of an open file, for a reader that wants them all at once: mapped into memory where
// the system allows, so that a large file is neither copied nor given fresh memory, and read
// otherwise. The file must stay open while the bytes are in use.
class FileBytes
{
public:
    FileBytes() = default;
    ~FileBytes();
    FileBytes(const FileBytes &) = delete;
    FileBytes &operator=(const FileBytes &) = delete;

    // False, with the reason, for a file over the size limit of streams.
    bool load(QFile &file, QString *error);

    QByteArrayView bytes() const;

private:
    QFile *m_file = nullptr;
    uchar *m_map = nullptr;
    qint64 m_mapSize = 0;
    QByteArray m_copy;
};

} // namespace Stream
