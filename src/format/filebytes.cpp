#include "filebytes.h"

#include "streamformat.h"
#include "streamreader.h"

#include <QFile>

namespace Stream {

FileBytes::~FileBytes()
{
    if (m_map)
        m_file->unmap(m_map);
}

bool FileBytes::load(QFile &file, QString *error)
{
    const qint64 size = file.isSequential() ? 0 : file.size() - file.pos();
    if (size > StreamFormat::kMaxFileSize) {
        // Said without reading it, as reading it would end in the same words.
        if (error)
            *error = QStringLiteral("the file is too large");
        return false;
    }
    if (size > 0) {
        m_map = file.map(file.pos(), size);
        if (m_map) {
            m_file = &file;
            m_mapSize = size;
            return true;
        }
    }
    return readAll(file, m_copy, error);
}

QByteArrayView FileBytes::bytes() const
{
    if (m_map)
        return QByteArrayView(reinterpret_cast<const char *>(m_map), qsizetype(m_mapSize));
    return QByteArrayView(m_copy);
}

} // namespace Stream
