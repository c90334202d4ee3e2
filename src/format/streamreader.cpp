#include "streamreader.h"

#include "platform/cp1252.h"

#include <QIODevice>

using StreamFormat::Tag;

namespace Stream {

StreamReader::Token StreamReader::raiseError(const QString &message)
{
    if (m_error.isEmpty())
        m_error = message;
    return Token::Invalid;
}

StreamReader::Token StreamReader::truncated()
{
    return raiseError(QStringLiteral("the file ends unexpectedly at byte %1").arg(m_pos));
}

bool StreamReader::tooManyValues()
{
    raiseError(QStringLiteral("the file holds too many values"));
    return false;
}

bool StreamReader::readHeader()
{
    if (!m_bytes.startsWith(StreamFormat::kSignature)) {
        raiseError(QStringLiteral("the file does not start with the stream signature"));
        return false;
    }
    m_pos = StreamFormat::kSignature.size();

    quint8 first = 0;
    if (!peekByte(first))
        return false;
    if ((first & StreamFormat::kPrefixMask) == StreamFormat::kPrefixMask) {
        ++m_pos;
        if (first & StreamFormat::kFlagChildPos) {
            // Any value may stand here as far as its form goes; only an integer makes sense.
            const Token position = readValue(0);
            if ((position == Token::BeginList || position == Token::BeginCollection) && !skipContainer())
                return false;
            if (position != Token::Integer) {
                raiseError(QStringLiteral("bad child position in the object header"));
                return false;
            }
        }
    }
    if (!readShortString(m_className) || !readShortString(m_objectName))
        return false;
    if (m_className.isEmpty()) {
        raiseError(QStringLiteral("the object has no class name"));
        return false;
    }
    m_levels.reserve(2 * StreamFormat::kMaxNesting + 4);
    m_levels.push_back({Frame::Properties, 0});
    return true;
}

StreamReader::Token StreamReader::endObject()
{
    quint8 children = 0;
    if (!readByte(children))
        return Token::Invalid;
    if (children != 0)
        return raiseError(QStringLiteral("unexpected child object at byte %1").arg(m_pos - 1));
    m_done = true;
    return Token::EndOfObject;
}

StreamReader::Token StreamReader::next()
{
    if (hasError())
        return Token::Invalid;
    if (m_levels.empty())
        return m_done ? Token::EndOfObject : raiseError(QStringLiteral("the object header was not read"));
    const Level level = m_levels.back();
    switch (level.frame) {
    case Frame::Properties: {
        quint8 length = 0;
        if (!peekByte(length))
            return Token::Invalid;
        if (length == 0) {
            ++m_pos;
            m_levels.pop_back();
            return m_levels.empty() ? endObject() : Token::EndList;
        }
        if (!readShortString(m_name))
            return Token::Invalid;
        m_levels.push_back({Frame::Value, level.depth});
        return Token::Property;
    }
    case Frame::Value:
        m_levels.pop_back();
        return readValue(level.depth);
    case Frame::List: {
        quint8 next = 0;
        if (!peekByte(next))
            return Token::Invalid;
        if (next == quint8(Tag::Null)) {
            ++m_pos;
            m_levels.pop_back();
            return Token::EndList;
        }
        return readValue(level.depth + 1);
    }
    case Frame::Collection: {
        quint8 next = 0;
        if (!readByte(next))
            return Token::Invalid;
        if (next == quint8(Tag::Null)) {
            m_levels.pop_back();
            return Token::EndList;
        }
        // An item may be preceded by its index, which is read and ignored.
        if (next == quint8(Tag::Int8) || next == quint8(Tag::Int16) || next == quint8(Tag::Int32)) {
            --m_pos;
            if (readValue(level.depth + 1) == Token::Invalid || !readByte(next))
                return Token::Invalid;
        }
        if (next != quint8(Tag::List))
            return raiseError(QStringLiteral("bad collection item at byte %1").arg(m_pos - 1));
        if (!countValue())
            return Token::Invalid;
        m_levels.push_back({Frame::Properties, level.depth + 1});
        return Token::BeginItem;
    }
    }
    return Token::Invalid;
}

StreamReader::Token StreamReader::readValue(int depth)
{
    if (depth > StreamFormat::kMaxNesting)
        return raiseError(QStringLiteral("values are nested too deeply"));
    if (!countValue())
        return Token::Invalid;
    const qsizetype at = m_pos;
    quint8 tagByte = 0;
    if (!readByte(tagByte))
        return Token::Invalid;
    switch (Tag(tagByte)) {
    case Tag::Int8: {
        qint8 v = 0;
        if (!readLE(v))
            return Token::Invalid;
        m_integer = v;
        return Token::Integer;
    }
    case Tag::Int16: {
        qint16 v = 0;
        if (!readLE(v))
            return Token::Invalid;
        m_integer = v;
        return Token::Integer;
    }
    case Tag::Int32:
        return readLE(m_integer) ? Token::Integer : Token::Invalid;
    case Tag::String: {
        quint8 length = 0;
        if (!readByte(length) || !readBytes(length, m_textBytes))
            return Token::Invalid;
        m_textTag = tagByte;
        return Token::String;
    }
    case Tag::LString:
    case Tag::Utf8String: {
        quint32 length = 0;
        if (!readLE(length) || !readBytes(qsizetype(length), m_textBytes))
            return Token::Invalid;
        m_textTag = tagByte;
        return Token::String;
    }
    case Tag::WString: {
        quint32 count = 0;
        if (!readLE(count))
            return Token::Invalid;
        if (qint64(count) * 2 > remaining())
            return truncated();
        if (!readBytes(qsizetype(count) * 2, m_textBytes))
            return Token::Invalid;
        m_textTag = tagByte;
        return Token::String;
    }
    case Tag::Ident:
        return readShortString(m_name) ? Token::Ident : Token::Invalid;
    case Tag::False:
    case Tag::True:
        m_integer = Tag(tagByte) == Tag::True;
        return Token::Boolean;
    case Tag::List:
        m_levels.push_back({Frame::List, depth});
        return Token::BeginList;
    case Tag::Collection:
        m_levels.push_back({Frame::Collection, depth});
        return Token::BeginCollection;
    default:
        return raiseError(QStringLiteral("unsupported value type 0x%1 at byte %2")
                              .arg(tagByte, 2, 16, QLatin1Char('0'))
                              .arg(at));
    }
}

QString StreamReader::text() const
{
    switch (Tag(m_textTag)) {
    case Tag::Utf8String:
        return QString::fromUtf8(m_textBytes);
    case Tag::WString: {
        const qsizetype count = m_textBytes.size() / 2;
        QString text(count, Qt::Uninitialized);
        qFromLittleEndian<quint16>(m_textBytes.data(), count, text.data());
        return text;
    }
    default:
        return Cp1252::decode(m_textBytes);
    }
}

bool StreamReader::skipContainer()
{
    const size_t level = m_levels.size();
    while (m_levels.size() >= level) {
        if (next() == Token::Invalid)
            return false;
    }
    return true;
}

bool StreamReader::finish()
{
    for (;;) {
        const Token token = next();
        if (token == Token::Invalid)
            return false;
        if (token == Token::EndOfObject)
            return true;
    }
}

bool readAll(QIODevice &device, QByteArray &bytes, QString *error)
{
    // Read in pieces straight into the buffer: asking for the whole limit at once would allocate
    // it for every file, and a buffer sized to the file is never copied on the way.
    constexpr qint64 kPiece = 1024 * 1024;
    bytes.clear();
    if (!device.isSequential())
        bytes.reserve(qsizetype(qMin(device.size() - device.pos(), StreamFormat::kMaxFileSize + 1) + kPiece));
    while (bytes.size() <= StreamFormat::kMaxFileSize) {
        const qsizetype at = bytes.size();
        bytes.resize(at + kPiece);
        const qint64 count = device.read(bytes.data() + at, kPiece);
        bytes.resize(at + qMax<qint64>(count, 0));
        if (count <= 0)
            break;
    }
    if (bytes.size() > StreamFormat::kMaxFileSize) {
        if (error)
            *error = QStringLiteral("the file is too large");
        return false;
    }
    return true;
}

} // namespace Stream
