#pragma once

#include "streamformat.h"

#include <QByteArray>
#include <QLatin1StringView>
#include <QString>

#include <cstring>

class QIODevice;

// Writes a component stream straight into its bytes: the header, then names and values in file
// order. It picks each value's tag the way our files have them; the caller decides what to write.
namespace Stream {

class StreamWriter
{
public:
    // Into memory, for take(). bytesHint: the expected size, to save growing the buffer step by
    // step; room reserved and never written costs address space only.
    explicit StreamWriter(qsizetype bytesHint = 0);
    // Onto the device, a piece at a time as the buffer fills; finish() writes the rest.
    explicit StreamWriter(QIODevice &device);

    void writeHeader(QStringView className, QStringView objectName);
    // A property name; Windows-1252, cut to 255 bytes.
    void writeName(QStringView name) { writeShortString(name); }
    // A property name known to be plain ASCII of at most 255 bytes.
    void writeName(QLatin1StringView name)
    {
        char *out = claim(1 + name.size());
        *out = char(name.size());
        std::memcpy(out + 1, name.data(), size_t(name.size()));
    }

    // The smallest of the integer tags that holds the value.
    void writeInteger(qint32 value);
    void writeBoolean(bool value) { put(tag(value ? StreamFormat::Tag::True : StreamFormat::Tag::False)); }
    void writeIdent(QStringView name);
    // A short string (0x06) or a long one (0x0C) in Windows-1252 when the code page holds the
    // text; UTF-8 (0x14) when it does not; UTF-16 (0x12) when the text is not valid Unicode.
    void writeText(QStringView text);

    void beginList() { put(tag(StreamFormat::Tag::List)); }
    void beginCollection() { put(tag(StreamFormat::Tag::Collection)); }
    void beginItem() { put(tag(StreamFormat::Tag::List)); }
    // Ends a property list, an item, a list or a collection.
    void endList() { put(tag(StreamFormat::Tag::Null)); }
    // Ends the root's property list and writes its empty child list.
    void endObject()
    {
        endList();
        endList();
    }

    // The bytes written into memory.
    QByteArray take();
    // Writes what the buffer still holds to the device; false when any write to it failed.
    bool finish();

private:
    static constexpr char tag(StreamFormat::Tag t) { return char(t); }

    // Room for count more bytes, at the end of what is written.
    char *claim(qsizetype count)
    {
        if (m_size + count > m_capacity)
            makeRoom(count);
        char *at = m_data + m_size;
        m_size += count;
        return at;
    }
    void put(char byte) { *claim(1) = byte; }
    void makeRoom(qsizetype count);
    void reserve(qsizetype capacity);
    void flush();
    void writeShortString(QStringView text);
    bool writeCp1252(QStringView text);

    // The buffer is kept at its full capacity and m_size marks how much of it is written.
    QIODevice *m_device = nullptr;
    bool m_failed = false;
    QByteArray m_out;
    char *m_data = nullptr;
    qsizetype m_size = 0;
    qsizetype m_capacity = 0;
};

} // namespace Stream
