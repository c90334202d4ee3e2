#pragma once

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QList>
#include <QString>

// The pictures of the documents a viewer shows. Within one load every file is read once, a
// failure included. Between loads up to cacheCount() pictures are kept; a kept picture is used
// only while its file keeps its time stamp and size, so a picture replaced under the same name
// shows anew.
class PictureStore
{
public:
    int cacheCount() const { return m_cacheCount; }
    void setCacheCount(int count);

    // A new document: forget what this load read, failures included.
    void beginLoad() { m_thisLoad.clear(); }

    // The picture at path; a null image when the file is missing or cannot be decoded.
    QImage picture(const QString &path);

    // How many files were decoded since the store was made.
    int decodeCount() const { return m_decodeCount; }

private:
    struct Kept
    {
        QString path;
        QDateTime modified;
        qint64 size = 0;
        QImage image;
    };

    QHash<QString, QImage> m_thisLoad;
    QList<Kept> m_kept; // most recently used first
    int m_cacheCount = 5;
    int m_decodeCount = 0;
};
