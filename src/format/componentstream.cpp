#include "componentstream.h"

#include "platform/cp1252.h"
#include "streamreader.h"
#include "streamwriter.h"

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

using Token = StreamReader::Token;

bool readProperties(StreamReader &reader, PropertyList &properties);

// The value whose first token is token; the reader has checked its form, this only builds it.
bool readValue(StreamReader &reader, Token token, Value &value)
{
    switch (token) {
    case Token::Integer:
        value = Value::fromInt(reader.integer());
        return true;
    case Token::String:
        value = Value::fromString(reader.text());
        return true;
    case Token::Ident:
        value = Value::fromIdent(Cp1252::decode(reader.name()));
        return true;
    case Token::Boolean:
        value = Value::fromBool(reader.boolean());
        return true;
    case Token::BeginList:
        value = Value::fromList({});
        for (;;) {
            const Token next = reader.next();
            if (next == Token::EndList)
                return true;
            Value element;
            if (!readValue(reader, next, element))
                return false;
            value.list.push_back(std::move(element));
        }
    case Token::BeginCollection:
        value = Value::fromItems({});
        for (;;) {
            const Token next = reader.next();
            if (next == Token::EndList)
                return true;
            if (next != Token::BeginItem)
                return false;
            PropertyList item;
            if (!readProperties(reader, item))
                return false;
            value.items.push_back(std::move(item));
        }
    default:
        return false;
    }
}

bool readProperties(StreamReader &reader, PropertyList &properties)
{
    for (;;) {
        const Token token = reader.next();
        if (token == Token::EndList || token == Token::EndOfObject)
            return true;
        if (token != Token::Property)
            return false;
        Property property;
        property.name = Cp1252::decode(reader.name());
        if (!readValue(reader, reader.next(), property.value))
            return false;
        properties.push_back(std::move(property));
    }
}

void writeProperties(StreamWriter &writer, const PropertyList &properties);

void writeValue(StreamWriter &writer, const Value &value)
{
    switch (value.kind) {
    case Value::Kind::Integer:
        writer.writeInteger(value.integer);
        break;
    case Value::Kind::String:
        writer.writeText(value.text);
        break;
    case Value::Kind::Ident:
        writer.writeIdent(value.text);
        break;
    case Value::Kind::Boolean:
        writer.writeBoolean(value.boolean);
        break;
    case Value::Kind::List:
        writer.beginList();
        for (const Value &element : value.list)
            writeValue(writer, element);
        writer.endList();
        break;
    case Value::Kind::Collection:
        writer.beginCollection();
        for (const PropertyList &item : value.items) {
            writer.beginItem();
            writeProperties(writer, item);
            writer.endList();
        }
        writer.endList();
        break;
    }
}

void writeProperties(StreamWriter &writer, const PropertyList &properties)
{
    for (const Property &property : properties) {
        writer.writeName(property.name);
        writeValue(writer, property.value);
    }
}

} // namespace

bool read(QByteArrayView bytes, Object &object, QString *error)
{
    StreamReader reader(bytes);
    Object result;
    if (!reader.readHeader() || !readProperties(reader, result.properties)) {
        if (error)
            *error = reader.errorString();
        return false;
    }
    result.className = Cp1252::decode(reader.className());
    result.objectName = Cp1252::decode(reader.objectName());
    object = std::move(result);
    return true;
}

bool read(QIODevice &device, Object &object, QString *error)
{
    QByteArray bytes;
    return readAll(device, bytes, error) && read(QByteArrayView(bytes), object, error);
}

QByteArray write(const Object &object)
{
    StreamWriter writer;
    writer.writeHeader(object.className, object.objectName);
    writeProperties(writer, object.properties);
    writer.endObject();
    return writer.take();
}

} // namespace Stream
