#include "streamwriter.h"

#include "platform/cp1252.h"

#include <QIODevice>
#include <QtEndian>

using StreamFormat::Tag;

namespace Stream {

namespace {

// A large file goes to its device in pieces of this size, through a buffer used again and again.
constexpr qsizetype kDevicePiece = 1024 * 1024;

} // namespace

StreamWriter::StreamWriter(qsizetype bytesHint)
{
    reserve(qMax<qsizetype>(bytesHint, 256));
}

StreamWriter::StreamWriter(QIODevice &device) : m_device(&device)
{
    reserve(kDevicePiece);
}

void StreamWriter::reserve(qsizetype capacity)
{
    m_capacity = capacity;
    m_out.resize(m_capacity);
    m_data = m_out.data();
}

void StreamWriter::makeRoom(qsizetype count)
{
    if (!m_device) {
        reserve(qMax(m_size + count, 2 * m_capacity));
        return;
    }
    flush();
    if (count > m_capacity)
        reserve(count);
}

void StreamWriter::flush()
{
    // After a failed write the rest is dropped: the file is lost anyway.
    if (m_size > 0 && !m_failed)
        m_failed = m_device->write(m_data, m_size) != m_size;
    m_size = 0;
}

QByteArray StreamWriter::take()
{
    m_out.resize(m_size);
    m_data = nullptr;
    m_size = m_capacity = 0;
    return std::move(m_out);
}

bool StreamWriter::finish()
{
    if (m_device)
        flush();
    return !m_failed;
}

void StreamWriter::writeShortString(QStringView text)
{
    // A character the code page lacks becomes '?', as Cp1252::encode has it.
    text = text.left(255);
    char *out = claim(1 + text.size());
    *out++ = char(text.size());
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        const int b = c < 0x80 ? int(c) : Cp1252::byteOf(c);
        *out++ = b < 0 ? '?' : char(b);
    }
}

void StreamWriter::writeHeader(QStringView className, QStringView objectName)
{
    const QByteArrayView signature = StreamFormat::kSignature;
    std::memcpy(claim(signature.size()), signature.data(), size_t(signature.size()));
    writeShortString(className);
    writeShortString(objectName);
}

void StreamWriter::writeInteger(qint32 value)
{
    if (value >= -128 && value <= 127) {
        char *out = claim(2);
        out[0] = char(Tag::Int8);
        out[1] = char(qint8(value));
    } else if (value >= -32768 && value <= 32767) {
        char *out = claim(3);
        out[0] = char(Tag::Int16);
        qToLittleEndian<qint16>(qint16(value), out + 1);
    } else {
        char *out = claim(5);
        out[0] = char(Tag::Int32);
        qToLittleEndian<qint32>(value, out + 1);
    }
}

void StreamWriter::writeIdent(QStringView name)
{
    put(tag(Tag::Ident));
    writeShortString(name);
}

// Encodes in place, one byte a character; on the first character the code page lacks, takes back
// what it wrote and returns false.
bool StreamWriter::writeCp1252(QStringView text)
{
    const qsizetype n = text.size();
    const bool isShort = n < 256;
    char *const start = claim((isShort ? 2 : 5) + n);
    char *out = start;
    if (isShort) {
        *out++ = char(Tag::String);
        *out++ = char(n);
    } else {
        *out++ = char(Tag::LString);
        qToLittleEndian<quint32>(quint32(n), out);
        out += 4;
    }
    const char16_t *in = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = in[i];
        if (c < 0x80) {
            out[i] = char(c);
            continue;
        }
        const int b = Cp1252::byteOf(c);
        if (b < 0) {
            m_size = start - m_data;
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
    // A UTF-8 reader drops a byte order mark at the start of the text, so such text goes as UTF-16.
    if (text.isValidUtf16() && !text.startsWith(QChar(0xFEFF))) {
        // Text the code page cannot hold keeps every character as UTF-8.
        const QByteArray bytes = text.toUtf8();
        char *out = claim(5 + bytes.size());
        out[0] = char(Tag::Utf8String);
        qToLittleEndian<quint32>(quint32(bytes.size()), out + 1);
        std::memcpy(out + 5, bytes.constData(), size_t(bytes.size()));
        return;
    }
    // UTF-8 has no form for a lone surrogate; UTF-16 keeps every code unit as it was read.
    char *out = claim(5 + 2 * text.size());
    out[0] = char(Tag::WString);
    qToLittleEndian<quint32>(quint32(text.size()), out + 1);
    qToLittleEndian<quint16>(text.utf16(), text.size(), out + 5);
}

} // namespace Stream
