#pragma once

#include <QByteArray>
#include <QLatin1StringView>
#include <QString>

// Writes a component stream straight into its bytes: the header, then names and values in file
// order. It picks each value's tag the way our files have them; the caller decides what to write.
namespace Stream {

class StreamWriter
{
public:
    // bytesHint: the expected size, to save growing the buffer step by step.
    explicit StreamWriter(qsizetype bytesHint = 0);

    void writeHeader(QStringView className, QStringView objectName);
    // A property name; Windows-1252, cut to 255 bytes.
    void writeName(QStringView name) { writeShortString(name); }
    // A property name known to be plain ASCII of at most 255 bytes.
    void writeName(QLatin1StringView name)
    {
        m_out.append(char(name.size()));
        m_out.append(name.data(), name.size());
    }

    // The smallest of the integer tags that holds the value.
    void writeInteger(qint32 value);
    void writeBoolean(bool value);
    void writeIdent(QStringView name);
    // A short string (0x06) or a long one (0x0C) in Windows-1252 when the code page holds the
    // text; UTF-8 (0x14) when it does not; UTF-16 (0x12) when the text is not valid Unicode.
    void writeText(QStringView text);

    void beginList();
    void beginCollection();
    void beginItem();
    // Ends a property list, an item, a list or a collection.
    void endList();
    // Ends the root's property list and writes its empty child list.
    void endObject();

    QByteArray take() { return std::move(m_out); }

private:
    void writeShortString(QStringView text);
    template<typename T>
    void writeLE(T value);
    bool writeCp1252(QStringView text);

    QByteArray m_out;
};

} // namespace Stream
