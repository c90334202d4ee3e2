// Project and template files read and written straight between the bytes and the page, without
// the generic tree: a page of 100,000 blocks holds two million values.
#include "pagefields.h"
#include "pagefile.h"

#include "format/componentstream.h"
#include "format/streamreader.h"
#include "format/streamwriter.h"
#include "platform/cp1252.h"

#include <QIODevice>

#include <cstring>

using PageFields::FieldType;
using PageFields::ItemField;
using Stream::StreamReader;
using Token = Stream::StreamReader::Token;

namespace {

// Names compared as Stream::sameName compares them: without regard to case. The names of the page
// are plain ASCII, and no Windows-1252 character outside ASCII folds onto an ASCII letter, so a
// byte-wise comparison that folds ASCII letters gives the same answer.
template<typename Char>
bool sameAsciiName(QByteArrayView bytes, const Char *wanted, qsizetype size)
{
    if (bytes.size() != size)
        return false;
    for (qsizetype i = 0; i < size; ++i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(wanted[i]);
        if (a == b)
            continue;
        const unsigned lower = b | 0x20u;
        if (lower < 'a' || lower > 'z' || (a | 0x20u) != lower)
            return false;
    }
    return true;
}

bool sameName(QByteArrayView bytes, QLatin1StringView name)
{
    // Files write the names as we do, so the exact comparison settles nearly every case.
    if (bytes.size() != name.size())
        return false;
    return std::memcmp(bytes.data(), name.data(), size_t(name.size())) == 0
        || sameAsciiName(bytes, name.data(), name.size());
}

bool sameName(QByteArrayView bytes, QStringView name)
{
    return sameAsciiName(bytes, name.utf16(), name.size());
}

Stream::Value::Kind kindOf(Token token)
{
    switch (token) {
    case Token::String:
        return Stream::Value::Kind::String;
    case Token::Ident:
        return Stream::Value::Kind::Ident;
    case Token::Boolean:
        return Stream::Value::Kind::Boolean;
    case Token::BeginList:
        return Stream::Value::Kind::List;
    case Token::BeginCollection:
        return Stream::Value::Kind::Collection;
    default:
        return Stream::Value::Kind::Integer;
    }
}

class PageReader
{
public:
    explicit PageReader(QByteArrayView bytes) : m_reader(bytes) {}

    bool read(TPagelette &page);
    QString errorString() const { return m_error; }

private:
    // The stream itself is broken.
    bool broken()
    {
        m_error = m_reader.errorString();
        return false;
    }

    // The stream is sound so far but does not hold a page. A broken stream further on is still
    // what gets reported, as the tree reader, which reads the whole stream first, reports it.
    bool fail(const QString &message)
    {
        m_error = m_reader.finish() ? message : m_reader.errorString();
        return false;
    }

    bool wrongKind(QByteArrayView name, Token token)
    {
        return fail(QStringLiteral("property %1 holds %2 of the wrong kind")
                        .arg(Cp1252::decode(name), Stream::kindName(kindOf(token))));
    }

    bool unknownProperty(QByteArrayView name)
    {
        return fail(QStringLiteral("unknown property %1").arg(Cp1252::decode(name)));
    }

    bool invalidValue(QByteArrayView name)
    {
        return fail(QStringLiteral("property %1 has an invalid value").arg(Cp1252::decode(name)));
    }

    bool readText(QByteArrayView name, QString &out);
    bool readBool(QByteArrayView name, bool &out);
    bool readInt(QByteArrayView name, qint32 &out);
    template<size_t N>
    bool readIdent(QByteArrayView name, const std::array<QStringView, N> &names, quint8 &out);
    bool readField(QByteArrayView name, const ItemField &field, TPageItem &item);
    bool readItem(TPageItem &item);
    bool readElement(TFormElement &element);

    StreamReader m_reader;
    QString m_error;
};

bool PageReader::readText(QByteArrayView name, QString &out)
{
    const Token token = m_reader.next();
    if (token == Token::String) {
        out = m_reader.text();
        return true;
    }
    return token == Token::Invalid ? broken() : wrongKind(name, token);
}

bool PageReader::readBool(QByteArrayView name, bool &out)
{
    const Token token = m_reader.next();
    if (token == Token::Boolean) {
        out = m_reader.boolean();
        return true;
    }
    if (token == Token::Ident && (sameName(m_reader.name(), u"True") || sameName(m_reader.name(), u"False"))) {
        out = sameName(m_reader.name(), u"True");
        return true;
    }
    return token == Token::Invalid ? broken() : wrongKind(name, token);
}

bool PageReader::readInt(QByteArrayView name, qint32 &out)
{
    const Token token = m_reader.next();
    if (token == Token::Integer) {
        out = m_reader.integer();
        return true;
    }
    return token == Token::Invalid ? broken() : wrongKind(name, token);
}

template<size_t N>
bool PageReader::readIdent(QByteArrayView name, const std::array<QStringView, N> &names, quint8 &out)
{
    const Token token = m_reader.next();
    if (token == Token::Invalid)
        return broken();
    if (token == Token::Ident) {
        for (size_t i = 0; i < N; ++i) {
            if (sameName(m_reader.name(), names[i])) {
                out = quint8(i);
                return true;
            }
        }
    }
    return invalidValue(name);
}

bool PageReader::readField(QByteArrayView name, const ItemField &field, TPageItem &item)
{
    void *p = field.ref(item);
    switch (field.type) {
    case FieldType::String:
        return readText(name, *static_cast<QString *>(p));
    case FieldType::Boolean:
        return readBool(name, *static_cast<bool *>(p));
    case FieldType::Integer:
        return readInt(name, *static_cast<qint32 *>(p));
    case FieldType::Byte: {
        qint32 v = 0;
        if (!readInt(name, v))
            return false;
        if (v < 0 || v > 255)
            return fail(QStringLiteral("property %1 is out of range").arg(Cp1252::decode(name)));
        *static_cast<quint8 *>(p) = quint8(v);
        return true;
    }
    case FieldType::BlockType:
        return readIdent(name, BlockTypeIdents, *static_cast<quint8 *>(p));
    case FieldType::BlockAlign:
        return readIdent(name, BlockAlignmentIdents, *static_cast<quint8 *>(p));
    case FieldType::ListStyle:
        return readIdent(name, ListStyleIdents, *static_cast<quint8 *>(p));
    }
    return false;
}

bool PageReader::readItem(TPageItem &item)
{
    const auto &fields = PageFields::kItemFields;
    // Files list the fields in table order, so the search starts after the field found last.
    size_t expected = 0;
    for (;;) {
        const Token token = m_reader.next();
        if (token == Token::EndList)
            return true;
        if (token != Token::Property)
            return broken();
        const QByteArrayView name = m_reader.name();
        size_t found = fields.size();
        for (size_t i = 0; i < fields.size(); ++i) {
            const size_t at = (expected + i) % fields.size();
            if (sameName(name, fields[at].bytes)) {
                found = at;
                break;
            }
        }
        if (found == fields.size())
            return unknownProperty(name);
        if (!readField(name, fields[found], item))
            return false;
        expected = found + 1;
    }
}

bool PageReader::readElement(TFormElement &element)
{
    for (;;) {
        Token token = m_reader.next();
        if (token == Token::EndList)
            return true;
        if (token != Token::Property)
            return broken();
        const QByteArrayView name = m_reader.name();
        bool ok = true;
        if (sameName(name, QLatin1StringView("FieldKind"))) {
            quint8 kind = 0;
            ok = readIdent(name, FieldKindIdents, kind);
            if (ok)
                element.FieldKind = TFieldKind(kind);
        } else if (sameName(name, QLatin1StringView("Name"))) {
            ok = readText(name, element.Name);
        } else if (sameName(name, QLatin1StringView("Text"))) {
            ok = readText(name, element.Text);
        } else if (sameName(name, QLatin1StringView("Value"))) {
            ok = readText(name, element.Value);
        } else if (sameName(name, QLatin1StringView("Strings.Strings"))) {
            token = m_reader.next();
            if (token != Token::BeginList)
                return token == Token::Invalid ? broken() : wrongKind(name, token);
            element.Strings.clear();
            for (;;) {
                token = m_reader.next();
                if (token == Token::EndList)
                    break;
                if (token == Token::Invalid)
                    return broken();
                if (token != Token::String)
                    return wrongKind(name, Token::BeginList);
                element.Strings.append(m_reader.text());
            }
        } else {
            return unknownProperty(name);
        }
        if (!ok)
            return false;
    }
}

bool PageReader::read(TPagelette &page)
{
    if (!m_reader.readHeader())
        return broken();
    if (!sameName(m_reader.className(), PageFields::kPageClass))
        return fail(QStringLiteral("the file holds a %1, not a page").arg(Cp1252::decode(m_reader.className())));
    for (;;) {
        Token token = m_reader.next();
        if (token == Token::EndOfObject)
            return true;
        if (token != Token::Property)
            return broken();
        const QByteArrayView name = m_reader.name();
        const bool isPage = sameName(name, QLatin1StringView("Page"));
        if (isPage || sameName(name, QLatin1StringView("WebForm"))) {
            token = m_reader.next();
            if (token != Token::BeginCollection)
                return token == Token::Invalid ? broken() : wrongKind(name, token);
            if (isPage)
                page.Page.Clear();
            else
                page.WebForm.Clear();
            for (;;) {
                token = m_reader.next();
                if (token == Token::EndList)
                    break;
                if (token != Token::BeginItem)
                    return broken();
                if (isPage ? !readItem(page.Page.Add()) : !readElement(page.WebForm.Add()))
                    return false;
            }
            continue;
        }
        if (sameName(name, QLatin1StringView("Tag"))) {
            if (!readInt(name, page.Tag))
                return false;
            continue;
        }
        const PageFields::PageField *field = nullptr;
        for (const PageFields::PageField &candidate : PageFields::kPageFields) {
            if (sameName(name, candidate.bytes))
                field = &candidate;
        }
        if (!field)
            return unknownProperty(name);
        void *p = field->ref(page);
        if (field->isString ? !readText(name, *static_cast<QString *>(p)) : !readBool(name, *static_cast<bool *>(p)))
            return false;
    }
}

void writeItem(Stream::StreamWriter &writer, const TPageItem &constItem)
{
    auto &item = const_cast<TPageItem &>(constItem); // the field table hands out mutable pointers
    writer.beginItem();
    for (const ItemField &field : PageFields::kItemFields) {
        const void *p = field.ref(item);
        switch (field.type) {
        case FieldType::String: {
            const auto &text = *static_cast<const QString *>(p);
            if (text.isEmpty())
                continue;
            writer.writeName(field.bytes);
            writer.writeText(text);
            break;
        }
        case FieldType::Boolean:
            writer.writeName(field.bytes);
            writer.writeBoolean(*static_cast<const bool *>(p));
            break;
        case FieldType::Integer:
            writer.writeName(field.bytes);
            writer.writeInteger(*static_cast<const qint32 *>(p));
            break;
        case FieldType::Byte:
            writer.writeName(field.bytes);
            writer.writeInteger(*static_cast<const quint8 *>(p));
            break;
        case FieldType::BlockType:
            writer.writeName(field.bytes);
            writer.writeIdent(PageFields::identName(BlockTypeIdents, *static_cast<const quint8 *>(p)));
            break;
        case FieldType::BlockAlign:
            writer.writeName(field.bytes);
            writer.writeIdent(PageFields::identName(BlockAlignmentIdents, *static_cast<const quint8 *>(p)));
            break;
        case FieldType::ListStyle:
            writer.writeName(field.bytes);
            writer.writeIdent(PageFields::identName(ListStyleIdents, *static_cast<const quint8 *>(p)));
            break;
        }
    }
    writer.endList();
}

void writeElement(Stream::StreamWriter &writer, const TFormElement &element)
{
    writer.beginItem();
    writer.writeName(QLatin1StringView("FieldKind"));
    writer.writeIdent(PageFields::identName(FieldKindIdents, element.FieldKind));
    if (!element.Name.isEmpty()) {
        writer.writeName(QLatin1StringView("Name"));
        writer.writeText(element.Name);
    }
    if (!element.Strings.isEmpty()) {
        writer.writeName(QLatin1StringView("Strings.Strings"));
        writer.beginList();
        for (const QString &line : element.Strings)
            writer.writeText(line);
        writer.endList();
    }
    if (!element.Text.isEmpty()) {
        writer.writeName(QLatin1StringView("Text"));
        writer.writeText(element.Text);
    }
    if (!element.Value.isEmpty()) {
        writer.writeName(QLatin1StringView("Value"));
        writer.writeText(element.Value);
    }
    writer.endList();
}

} // namespace

bool ReadDocument(QByteArrayView bytes, TPagelette &page, QString *error)
{
    PageReader reader(bytes);
    TPagelette result;
    if (!reader.read(result)) {
        if (error)
            *error = reader.errorString();
        return false;
    }
    page = std::move(result);
    return true;
}

bool ReadDocument(QIODevice &device, TPagelette &page, QString *error)
{
    QByteArray bytes;
    return Stream::readAll(device, bytes, error) && ReadDocument(QByteArrayView(bytes), page, error);
}

namespace {

void writePage(Stream::StreamWriter &writer, const TPagelette &constPage)
{
    auto &page = const_cast<TPagelette &>(constPage); // the field table hands out mutable pointers
    writer.writeHeader(PageFields::kPageClass, {});
    if (page.Tag != 0) {
        writer.writeName(QLatin1StringView("Tag"));
        writer.writeInteger(page.Tag);
    }
    writer.writeName(QLatin1StringView("Page"));
    writer.beginCollection();
    for (int i = 0; i < page.Page.Count(); ++i)
        writeItem(writer, *page.Page.Items(i));
    writer.endList();
    writer.writeName(QLatin1StringView("WebForm"));
    writer.beginCollection();
    for (int i = 0; i < page.WebForm.Count(); ++i)
        writeElement(writer, *page.WebForm.Items(i));
    writer.endList();
    for (const PageFields::PageField &field : PageFields::kPageFields) {
        void *p = field.ref(page);
        if (field.isString) {
            const auto &text = *static_cast<const QString *>(p);
            if (text.isEmpty())
                continue;
            writer.writeName(field.bytes);
            writer.writeText(text);
        } else {
            writer.writeName(field.bytes);
            writer.writeBoolean(*static_cast<const bool *>(p));
        }
    }
    writer.endObject();
}

} // namespace

QByteArray DocumentBytes(const TPagelette &page)
{
    // A block takes about 500 bytes; room to spare costs nothing until it is written.
    Stream::StreamWriter writer(4096 + qsizetype(page.Page.Count()) * 1024);
    writePage(writer, page);
    return writer.take();
}

bool WriteDocument(QIODevice &device, const TPagelette &page)
{
    Stream::StreamWriter writer(device);
    writePage(writer, page);
    return writer.finish();
}
