#include "componentstream.h"

#include "platform/cp1252.h"
#include "streamformat.h"

#include <QIODevice>
#include <QtEndian>

using StreamFormat::Tag;

namespace Stream {

Value Value::fromInt(qint32 v)
{
    Value value;
    value.kind = Kind::Integer;
    value.integer = v;
    return value;
}

Value Value::fromBool(bool v)
{
    Value value;
    value.kind = Kind::Boolean;
    value.boolean = v;
    return value;
}

Value Value::fromString(const QString &v)
{
    Value value;
    value.kind = Kind::String;
    value.text = v;
    return value;
}

Value Value::fromIdent(QStringView v)
{
    Value value;
    value.kind = Kind::Ident;
    value.text = v.toString();
    return value;
}

Value Value::fromList(std::vector<Value> values)
{
    Value value;
    value.kind = Kind::List;
    value.list = std::move(values);
    return value;
}

Value Value::fromItems(std::vector<PropertyList> items)
{
    Value value;
    value.kind = Kind::Collection;
    value.items = std::move(items);
    return value;
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString kindName(Value::Kind kind)
{
    switch (kind) {
    case Value::Kind::Integer:
        return QStringLiteral("an integer");
    case Value::Kind::String:
        return QStringLiteral("a string");
    case Value::Kind::Ident:
        return QStringLiteral("an identifier");
    case Value::Kind::Boolean:
        return QStringLiteral("a Boolean");
    case Value::Kind::List:
        return QStringLiteral("a list");
    case Value::Kind::Collection:
        return QStringLiteral("a collection");
    }
    return QString();
}

namespace {

class Reader
{
public:
    explicit Reader(QByteArrayView bytes) : m_bytes(bytes) {}

    bool readObject(Object &object)
    {
        if (!m_bytes.startsWith(StreamFormat::kSignature))
            return raiseError(QStringLiteral("the file does not start with the stream signature"));
        m_pos = StreamFormat::kSignature.size();

        quint8 first = 0;
        if (!peekByte(first))
            return false;
        if ((first & StreamFormat::kPrefixMask) == StreamFormat::kPrefixMask) {
            ++m_pos;
            if (first & StreamFormat::kFlagChildPos) {
                Value ignored;
                if (!readValue(ignored, 0) || ignored.kind != Value::Kind::Integer)
                    return raiseError(QStringLiteral("bad child position in the object header"));
            }
        }
        if (!readShortString(object.className) || !readShortString(object.objectName))
            return false;
        if (object.className.isEmpty())
            return raiseError(QStringLiteral("the object has no class name"));
        if (!readProperties(object.properties, 0))
            return false;
        quint8 children = 0;
        if (!readByte(children))
            return false;
        if (children != 0)
            return raiseError(QStringLiteral("unexpected child object at byte %1").arg(m_pos - 1));
        return true;
    }

    QString errorString() const { return m_error; }

private:
    bool raiseError(const QString &message)
    {
        if (m_error.isEmpty())
            m_error = message;
        return false;
    }

    bool truncated() { return raiseError(QStringLiteral("the file ends unexpectedly at byte %1").arg(m_pos)); }

    qsizetype remaining() const { return m_bytes.size() - m_pos; }

    bool peekByte(quint8 &b)
    {
        if (remaining() < 1)
            return truncated();
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
        if (remaining() < qsizetype(sizeof(T)))
            return truncated();
        v = qFromLittleEndian<T>(m_bytes.data() + m_pos);
        m_pos += sizeof(T);
        return true;
    }

    bool readBytes(qsizetype count, QByteArrayView &out)
    {
        if (count < 0 || count > remaining())
            return truncated();
        out = m_bytes.sliced(m_pos, count);
        m_pos += count;
        return true;
    }

    bool readShortString(QString &text)
    {
        quint8 length = 0;
        QByteArrayView bytes;
        if (!readByte(length) || !readBytes(length, bytes))
            return false;
        text = Cp1252::decode(bytes);
        return true;
    }

    bool countValue()
    {
        if (++m_values > StreamFormat::kMaxValues)
            return raiseError(QStringLiteral("the file holds too many values"));
        return true;
    }

    bool readProperties(PropertyList &properties, int depth)
    {
        for (;;) {
            quint8 length = 0;
            if (!peekByte(length))
                return false;
            if (length == 0) {
                ++m_pos;
                return true;
            }
            Property property;
            const qsizetype at = m_pos;
            if (!readShortString(property.name))
                return false;
            if (!readValue(property.value, depth))
                return raiseError(QStringLiteral("bad value of property %1 at byte %2").arg(property.name).arg(at));
            properties.push_back(std::move(property));
        }
    }

    bool readValue(Value &value, int depth)
    {
        if (depth > StreamFormat::kMaxNesting)
            return raiseError(QStringLiteral("values are nested too deeply"));
        if (!countValue())
            return false;
        const qsizetype at = m_pos;
        quint8 tagByte = 0;
        if (!readByte(tagByte))
            return false;
        switch (Tag(tagByte)) {
        case Tag::Int8: {
            qint8 v = 0;
            if (!readLE(v))
                return false;
            value = Value::fromInt(v);
            return true;
        }
        case Tag::Int16: {
            qint16 v = 0;
            if (!readLE(v))
                return false;
            value = Value::fromInt(v);
            return true;
        }
        case Tag::Int32: {
            qint32 v = 0;
            if (!readLE(v))
                return false;
            value = Value::fromInt(v);
            return true;
        }
        case Tag::String: {
            quint8 length = 0;
            QByteArrayView bytes;
            if (!readByte(length) || !readBytes(length, bytes))
                return false;
            value = Value::fromString(Cp1252::decode(bytes));
            return true;
        }
        case Tag::LString:
        case Tag::Utf8String: {
            quint32 length = 0;
            QByteArrayView bytes;
            if (!readLE(length) || !readBytes(qsizetype(length), bytes))
                return false;
            value = Value::fromString(Tag(tagByte) == Tag::LString ? Cp1252::decode(bytes)
                                                                   : QString::fromUtf8(bytes));
            return true;
        }
        case Tag::WString: {
            quint32 count = 0;
            QByteArrayView bytes;
            if (!readLE(count))
                return false;
            if (qint64(count) * 2 > remaining())
                return truncated();
            if (!readBytes(qsizetype(count) * 2, bytes))
                return false;
            QString text(qsizetype(count), Qt::Uninitialized);
            for (quint32 i = 0; i < count; ++i)
                text[qsizetype(i)] = QChar(qFromLittleEndian<quint16>(bytes.data() + 2 * i));
            value = Value::fromString(text);
            return true;
        }
        case Tag::Ident: {
            QString name;
            if (!readShortString(name))
                return false;
            value = Value::fromIdent(name);
            return true;
        }
        case Tag::False:
        case Tag::True:
            value = Value::fromBool(Tag(tagByte) == Tag::True);
            return true;
        case Tag::List: {
            value = Value::fromList({});
            for (;;) {
                quint8 next = 0;
                if (!peekByte(next))
                    return false;
                if (next == quint8(Tag::Null)) {
                    ++m_pos;
                    return true;
                }
                Value element;
                if (!readValue(element, depth + 1))
                    return false;
                value.list.push_back(std::move(element));
            }
        }
        case Tag::Collection: {
            value = Value::fromItems({});
            for (;;) {
                quint8 next = 0;
                if (!readByte(next))
                    return false;
                if (next == quint8(Tag::Null))
                    return true;
                // An item may be preceded by its index, which is read and ignored.
                if (next == quint8(Tag::Int8) || next == quint8(Tag::Int16) || next == quint8(Tag::Int32)) {
                    --m_pos;
                    Value ignored;
                    if (!readValue(ignored, depth + 1) || !readByte(next))
                        return false;
                }
                if (next != quint8(Tag::List))
                    return raiseError(QStringLiteral("bad collection item at byte %1").arg(m_pos - 1));
                if (!countValue())
                    return false;
                PropertyList item;
                if (!readProperties(item, depth + 1))
                    return false;
                value.items.push_back(std::move(item));
            }
        }
        default:
            return raiseError(QStringLiteral("unsupported value type 0x%1 at byte %2")
                                  .arg(tagByte, 2, 16, QLatin1Char('0'))
                                  .arg(at));
        }
    }

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    qint64 m_values = 0;
    QString m_error;
};

class Writer
{
public:
    QByteArray write(const Object &object)
    {
        m_out.append(StreamFormat::kSignature);
        writeShortString(object.className);
        writeShortString(object.objectName);
        writeProperties(object.properties);
        m_out.append(char(0));
        return m_out;
    }

private:
    void writeTag(Tag tag) { m_out.append(char(tag)); }

    void writeShortString(const QString &text)
    {
        const QByteArray bytes = Cp1252::encode(text).left(255);
        m_out.append(char(bytes.size()));
        m_out.append(bytes);
    }

    template<typename T>
    void writeLE(T v)
    {
        char buffer[sizeof(T)];
        qToLittleEndian<T>(v, buffer);
        m_out.append(buffer, sizeof(T));
    }

    void writeProperties(const PropertyList &properties)
    {
        for (const Property &property : properties) {
            writeShortString(property.name);
            writeValue(property.value);
        }
        m_out.append(char(0));
    }

    void writeText(const QString &text)
    {
        if (Cp1252::canEncode(text)) {
            const QByteArray bytes = Cp1252::encode(text);
            if (bytes.size() < 256) {
                writeTag(Tag::String);
                m_out.append(char(bytes.size()));
            } else {
                writeTag(Tag::LString);
                writeLE<quint32>(quint32(bytes.size()));
            }
            m_out.append(bytes);
        } else if (text.isValidUtf16()) {
            // Text the code page cannot hold keeps every character as UTF-8.
            const QByteArray bytes = text.toUtf8();
            writeTag(Tag::Utf8String);
            writeLE<quint32>(quint32(bytes.size()));
            m_out.append(bytes);
        } else {
            // UTF-8 has no form for a lone surrogate; UTF-16 keeps every code unit as it was read.
            writeTag(Tag::WString);
            writeLE<quint32>(quint32(text.size()));
            for (const QChar ch : text)
                writeLE<quint16>(ch.unicode());
        }
    }

    void writeValue(const Value &value)
    {
        switch (value.kind) {
        case Value::Kind::Integer:
            if (value.integer >= -128 && value.integer <= 127) {
                writeTag(Tag::Int8);
                writeLE<qint8>(qint8(value.integer));
            } else if (value.integer >= -32768 && value.integer <= 32767) {
                writeTag(Tag::Int16);
                writeLE<qint16>(qint16(value.integer));
            } else {
                writeTag(Tag::Int32);
                writeLE<qint32>(value.integer);
            }
            break;
        case Value::Kind::String:
            writeText(value.text);
            break;
        case Value::Kind::Ident:
            writeTag(Tag::Ident);
            writeShortString(value.text);
            break;
        case Value::Kind::Boolean:
            writeTag(value.boolean ? Tag::True : Tag::False);
            break;
        case Value::Kind::List:
            writeTag(Tag::List);
            for (const Value &element : value.list)
                writeValue(element);
            m_out.append(char(0));
            break;
        case Value::Kind::Collection:
            writeTag(Tag::Collection);
            for (const PropertyList &item : value.items) {
                writeTag(Tag::List);
                writeProperties(item);
            }
            m_out.append(char(0));
            break;
        }
    }

    QByteArray m_out;
};

} // namespace

bool read(QByteArrayView bytes, Object &object, QString *error)
{
    Reader reader(bytes);
    Object result;
    if (!reader.readObject(result)) {
        if (error)
            *error = reader.errorString();
        return false;
    }
    object = std::move(result);
    return true;
}

bool read(QIODevice &device, Object &object, QString *error)
{
    // Read in pieces: asking for the whole limit at once would allocate it for every file.
    QByteArray bytes;
    if (!device.isSequential())
        bytes.reserve(qsizetype(qMin(device.size() - device.pos(), StreamFormat::kMaxFileSize + 1)));
    while (bytes.size() <= StreamFormat::kMaxFileSize) {
        const QByteArray piece = device.read(64 * 1024);
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (bytes.size() > StreamFormat::kMaxFileSize) {
        if (error)
            *error = QStringLiteral("the file is too large");
        return false;
    }
    return read(QByteArrayView(bytes), object, error);
}

QByteArray write(const Object &object)
{
    return Writer().write(object);
}

} // namespace Stream
