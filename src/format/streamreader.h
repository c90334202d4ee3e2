#pragma once

#include "streamformat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtEndian>

#include <vector>

class QIODevice;

namespace Stream {

// Reads a component stream token by token, straight from its bytes, for readers that fill their
// own objects without building a tree. It makes every check of the stream's form and limits;
// what a property or value means is the caller's business.
class StreamReader
{
public:
    enum class Token : quint8 {
        Invalid,         // the stream is broken; errorString() says how, and every later call says so too
        Property,        // a property's name; its value comes next
        Integer,
        String,
        Ident,
        Boolean,
        BeginList,       // values up to an EndList
        BeginCollection, // BeginItem … EndList for each item, then an EndList
        BeginItem,       // the item's properties up to an EndList
        EndList,         // ends an item's properties, a list or a collection
        EndOfObject,     // the root's properties and its empty child list are read
    };

    explicit StreamReader(QByteArrayView bytes) : m_bytes(bytes) {}

    // The signature and the object header; after it next() walks the root's properties.
    bool readHeader();
    QByteArrayView className() const { return m_className; } // Windows-1252
    QByteArrayView objectName() const { return m_objectName; }

    Token next();

    // Reads past the rest of the list or collection whose Begin token next() returned last.
    bool skipContainer();
    // Reads everything up to the end of the object. A reader that found fault with the meaning
    // of a value calls it, so that a fault in the stream's form further on is the one reported,
    // as a reader that reads the whole stream first would report it.
    bool finish();

    // The current token's data.
    QByteArrayView name() const { return m_name; } // Property and Ident, Windows-1252
    qint32 integer() const { return m_integer; }
    bool boolean() const { return m_integer != 0; }
    QString text() const; // String

    bool hasError() const { return !m_error.isEmpty(); }
    QString errorString() const { return m_error; }

private:
    enum class Frame : quint8 { Properties, Value, List, Collection };
    struct Level
    {
        Frame frame;
        int depth; // nesting of the values read in this frame
    };

    Token readValue(int depth);
    Token endObject();
    Token raiseError(const QString &message);
    Token truncated();
    bool tooManyValues();

    // The helpers below run for every byte or value and are kept inline; each records the
    // error when it fails.
    qsizetype remaining() const { return m_bytes.size() - m_pos; }
    bool peekByte(quint8 &b)
    {
        if (remaining() < 1) {
            truncated();
            return false;
        }
        b = quint8(m_bytes[m_pos]);
        return true;
    }
    bool readByte(quint8 &b)
    {
        if (!peekByte(b))
            return false;
        ++m_pos;
        return true;
    }
    template<typename T>
    bool readLE(T &v)
    {
        if (remaining() < qsizetype(sizeof(T))) {
            truncated();
            return false;
        }
        v = qFromLittleEndian<T>(m_bytes.data() + m_pos);
        m_pos += sizeof(T);
        return true;
    }
    bool readBytes(qsizetype count, QByteArrayView &out)
    {
        if (count < 0 || count > remaining()) {
            truncated();
            return false;
        }
        out = m_bytes.sliced(m_pos, count);
        m_pos += count;
        return true;
    }
    bool readShortString(QByteArrayView &out)
    {
        quint8 length = 0;
        return readByte(length) && readBytes(length, out);
    }
    bool countValue() { return ++m_values <= StreamFormat::kMaxValues || tooManyValues(); }

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    qint64 m_values = 0;
    std::vector<Level> m_levels;
    bool m_done = false;
    QString m_error;

    QByteArrayView m_className;
    QByteArrayView m_objectName;
    QByteArrayView m_name;
    QByteArrayView m_textBytes;
    quint8 m_textTag = 0;
    qint32 m_integer = 0;
};

// The device's bytes up to the size limit; false with the reason for a larger file.
bool readAll(QIODevice &device, QByteArray &bytes, QString *error);

} // namespace Stream
