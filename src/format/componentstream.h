#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

class QIODevice;

// A component stream read into a plain tree, and written back from one. The tree knows
// nothing of pages or themes: the page and theme files map their objects onto it.
namespace Stream {

struct Property;
using PropertyList = std::vector<Property>;

struct Value
{
    enum class Kind { Integer, String, Ident, Boolean, List, Collection };

    Kind kind = Kind::Integer;
    qint32 integer = 0;
    bool boolean = false;
    QString text;                    // String and Ident
    std::vector<Value> list;         // List: the values between 0x01 and 0x00
    std::vector<PropertyList> items; // Collection: each item's properties

    static Value fromInt(qint32 v);
    static Value fromBool(bool v);
    static Value fromString(const QString &v);
    static Value fromIdent(QStringView v);
    static Value fromList(std::vector<Value> values);
    static Value fromItems(std::vector<PropertyList> items);
};

struct Property
{
    QString name;
    Value value;
};

struct Object
{
    QString className;
    QString objectName;
    PropertyList properties;
};

// Reads one object from the stream's bytes. On failure returns false with a message that
// says what was wrong and where.
bool read(QByteArrayView bytes, Object &object, QString *error);

// Reads the whole device (up to the size limit) and parses it.
bool read(QIODevice &device, Object &object, QString *error);

// The stream's bytes for the object.
QByteArray write(const Object &object);

// Case-insensitive name comparison, as property and class names are matched.
bool sameName(QStringView a, QStringView b);

// Short name of a value kind for error messages.
QString kindName(Value::Kind kind);

} // namespace Stream
