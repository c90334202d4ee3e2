#include "viewer/picturestore.h"

#include "codecs/picturedecoder.h"

#include <QFileInfo>

void PictureStore::setCacheCount(int count)
{
    m_cacheCount = qMax(0, count);
    while (m_kept.size() > m_cacheCount)
        m_kept.removeLast();
}

QImage PictureStore::picture(const QString &path)
{
    const auto known = m_thisLoad.constFind(path);
    if (known != m_thisLoad.constEnd())
        return known.value();

    const QFileInfo info(path);
    QImage image;
    bool found = false;
    if (info.isFile()) {
        for (qsizetype i = 0; i < m_kept.size(); ++i) {
            const Kept &kept = m_kept.at(i);
            if (kept.path == path && kept.modified == info.lastModified() && kept.size == info.size()) {
                image = kept.image;
                m_kept.move(i, 0);
                found = true;
                break;
            }
        }
        if (!found) {
            ++m_decodeCount;
            image = Codecs::decodePicture(path).image;
            m_kept.removeIf([&](const Kept &kept) { return kept.path == path; });
            if (!image.isNull() && m_cacheCount > 0) {
                m_kept.prepend({path, info.lastModified(), info.size(), image});
                setCacheCount(m_cacheCount);
            }
        }
    }
    m_thisLoad.insert(path, image);
    return image;
}
