#include "streamwriter.h"

#include "platform/cp1252.h"
#include "streamformat.h"

#include <QtEndian>

using StreamFormat::Tag;

namespace Stream {

StreamWriter::StreamWriter(qsizetype bytesHint)
{
    m_out.reserve(qMax<qsizetype>(bytesHint, 256));
}

template<typename T>
void StreamWriter::writeLE(T value)
{
    char buffer[sizeof(T)];
    qToLittleEndian<T>(value, buffer);
    m_out.append(buffer, sizeof(T));
}

void StreamWriter::writeShortString(QStringView text)
{
    const QByteArray bytes = Cp1252::encode(text.left(255));
    m_out.append(char(bytes.size()));
    m_out.append(bytes);
}

void StreamWriter::writeHeader(QStringView className, QStringView objectName)
{
    m_out.append(StreamFormat::kSignature);
    writeShortString(className);
    writeShortString(objectName);
}

void StreamWriter::writeInteger(qint32 value)
{
    if (value >= -128 && value <= 127) {
        m_out.append(char(Tag::Int8));
        m_out.append(char(qint8(value)));
    } else if (value >= -32768 && value <= 32767) {
        m_out.append(char(Tag::Int16));
        writeLE<qint16>(qint16(value));
    } else {
        m_out.append(char(Tag::Int32));
        writeLE<qint32>(value);
    }
}

void StreamWriter::writeBoolean(bool value)
{
    m_out.append(char(value ? Tag::True : Tag::False));
}

void StreamWriter::writeIdent(QStringView name)
{
    m_out.append(char(Tag::Ident));
    writeShortString(name);
}

// Encodes in place, one byte a character; on the first character the code page lacks, takes back
// what it wrote and returns false.
bool StreamWriter::writeCp1252(QStringView text)
{
    const qsizetype start = m_out.size();
    const qsizetype n = text.size();
    const bool isShort = n < 256;
    const qsizetype header = isShort ? 2 : 5;
    m_out.resize(start + header + n);
    char *out = m_out.data() + start;
    out[0] = char(isShort ? Tag::String : Tag::LString);
    if (isShort)
        out[1] = char(n);
    else
        qToLittleEndian<quint32>(quint32(n), out + 1);
    out += header;
    const char16_t *in = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = in[i];
        if (c < 0x80) {
            out[i] = char(c);
            continue;
        }
        const int b = Cp1252::byteOf(c);
        if (b < 0) {
            m_out.truncate(start);
            return false;
        }
        out[i] = char(b);
    }
    return true;
}

void StreamWriter::writeText(QStringView text)
{
    if (writeCp1252(text))
        return;
    if (text.isValidUtf16()) {
        // Text the code page cannot hold keeps every character as UTF-8.
        const QByteArray bytes = text.toUtf8();
        m_out.append(char(Tag::Utf8String));
        writeLE<quint32>(quint32(bytes.size()));
        m_out.append(bytes);
        return;
    }
    // UTF-8 has no form for a lone surrogate; UTF-16 keeps every code unit as it was read.
    m_out.append(char(Tag::WString));
    writeLE<quint32>(quint32(text.size()));
    for (const QChar ch : text)
        writeLE<quint16>(ch.unicode());
}

void StreamWriter::beginList()
{
    m_out.append(char(Tag::List));
}

void StreamWriter::beginCollection()
{
    m_out.append(char(Tag::Collection));
}

void StreamWriter::beginItem()
{
    m_out.append(char(Tag::List));
}

void StreamWriter::endList()
{
    m_out.append(char(Tag::Null));
}

void StreamWriter::endObject()
{
    m_out.append(char(Tag::Null));
    m_out.append(char(Tag::Null));
}

} // namespace Stream
