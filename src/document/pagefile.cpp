#include "pagefile.h"

#include "format/filebytes.h"
#include "pagefields.h"
#include "platform/savefile.h"
#include "platform/textutils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using PageFields::FieldType;
using PageFields::ItemField;
using PageFields::kItemFields;
using PageFields::kPageFields;
using PageFields::PageField;
using Stream::Property;
using Stream::PropertyList;
using Stream::Value;
using Stream::sameName;

const QString kInvalidDocumentMessage = QStringLiteral("The selected file is not a valid .MBE or .MBT document.");
const QString kUnableToCreateFileMessage = QStringLiteral("Unable to create file.");

namespace {

template<size_t N>
Value identValue(const std::array<QStringView, N> &names, quint8 value)
{
    return Value::fromIdent(PageFields::identName(names, value));
}

template<size_t N>
bool identFromValue(const std::array<QStringView, N> &names, const Value &value, quint8 &out)
{
    if (value.kind != Value::Kind::Ident)
        return false;
    for (size_t i = 0; i < N; ++i) {
        if (sameName(names[i], value.text)) {
            out = quint8(i);
            return true;
        }
    }
    return false;
}

PropertyList itemToProperties(const TPageItem &constItem)
{
    auto &item = const_cast<TPageItem &>(constItem); // the field table hands out mutable pointers
    PropertyList properties;
    properties.reserve(std::size(kItemFields));
    for (const ItemField &field : kItemFields) {
        void *p = field.ref(item);
        Value value;
        switch (field.type) {
        case FieldType::String: {
            const auto &text = *static_cast<QString *>(p);
            if (text.isEmpty())
                continue;
            value = Value::fromString(text);
            break;
        }
        case FieldType::Boolean:
            value = Value::fromBool(*static_cast<bool *>(p));
            break;
        case FieldType::Integer:
            value = Value::fromInt(*static_cast<qint32 *>(p));
            break;
        case FieldType::Byte:
            value = Value::fromInt(*static_cast<quint8 *>(p));
            break;
        case FieldType::BlockType:
            value = identValue(BlockTypeIdents, *static_cast<quint8 *>(p));
            break;
        case FieldType::BlockAlign:
            value = identValue(BlockAlignmentIdents, *static_cast<quint8 *>(p));
            break;
        case FieldType::ListStyle:
            value = identValue(ListStyleIdents, *static_cast<quint8 *>(p));
            break;
        }
        properties.push_back({field.name.toString(), std::move(value)});
    }
    return properties;
}

QString wrongKind(const Property &property)
{
    return QStringLiteral("property %1 holds %2 of the wrong kind")
        .arg(property.name, Stream::kindName(property.value.kind));
}

QString unknownProperty(const QString &name)
{
    return QStringLiteral("unknown property %1").arg(name);
}

bool readText(const Property &property, QString &out, QString *error)
{
    if (property.value.kind != Value::Kind::String) {
        *error = wrongKind(property);
        return false;
    }
    out = property.value.text;
    return true;
}

bool readBool(const Property &property, bool &out, QString *error)
{
    const Value &v = property.value;
    if (v.kind == Value::Kind::Boolean) {
        out = v.boolean;
        return true;
    }
    if (v.kind == Value::Kind::Ident && (sameName(v.text, u"True") || sameName(v.text, u"False"))) {
        out = sameName(v.text, u"True");
        return true;
    }
    *error = wrongKind(property);
    return false;
}

bool readInt(const Property &property, qint32 &out, QString *error)
{
    if (property.value.kind != Value::Kind::Integer) {
        *error = wrongKind(property);
        return false;
    }
    out = property.value.integer;
    return true;
}

bool itemFromProperties(const PropertyList &properties, TPageItem &item, QString *error)
{
    for (const Property &property : properties) {
        const ItemField *field = nullptr;
        for (const ItemField &candidate : kItemFields) {
            if (sameName(candidate.name, property.name)) {
                field = &candidate;
                break;
            }
        }
        if (!field) {
            *error = unknownProperty(property.name);
            return false;
        }
        void *p = field->ref(item);
        bool ok = true;
        switch (field->type) {
        case FieldType::String:
            ok = readText(property, *static_cast<QString *>(p), error);
            break;
        case FieldType::Boolean:
            ok = readBool(property, *static_cast<bool *>(p), error);
            break;
        case FieldType::Integer:
            ok = readInt(property, *static_cast<qint32 *>(p), error);
            break;
        case FieldType::Byte: {
            qint32 v = 0;
            ok = readInt(property, v, error);
            if (ok && (v < 0 || v > 255)) {
                *error = QStringLiteral("property %1 is out of range").arg(property.name);
                ok = false;
            }
            if (ok)
                *static_cast<quint8 *>(p) = quint8(v);
            break;
        }
        case FieldType::BlockType:
        case FieldType::BlockAlign:
        case FieldType::ListStyle: {
            auto &out = *static_cast<quint8 *>(p);
            ok = field->type == FieldType::BlockType    ? identFromValue(BlockTypeIdents, property.value, out)
                 : field->type == FieldType::BlockAlign ? identFromValue(BlockAlignmentIdents, property.value, out)
                                                        : identFromValue(ListStyleIdents, property.value, out);
            if (!ok)
                *error = QStringLiteral("property %1 has an invalid value").arg(property.name);
            break;
        }
        }
        if (!ok)
            return false;
    }
    return true;
}

PropertyList elementToProperties(const TFormElement &element)
{
    PropertyList properties;
    properties.push_back({QStringLiteral("FieldKind"), identValue(FieldKindIdents, element.FieldKind)});
    if (!element.Name.isEmpty())
        properties.push_back({QStringLiteral("Name"), Value::fromString(element.Name)});
    if (!element.Strings.isEmpty()) {
        std::vector<Value> lines;
        lines.reserve(size_t(element.Strings.size()));
        for (const QString &line : element.Strings)
            lines.push_back(Value::fromString(line));
        properties.push_back({QStringLiteral("Strings.Strings"), Value::fromList(std::move(lines))});
    }
    if (!element.Text.isEmpty())
        properties.push_back({QStringLiteral("Text"), Value::fromString(element.Text)});
    if (!element.Value.isEmpty())
        properties.push_back({QStringLiteral("Value"), Value::fromString(element.Value)});
    return properties;
}

bool elementFromProperties(const PropertyList &properties, TFormElement &element, QString *error)
{
    for (const Property &property : properties) {
        bool ok = true;
        if (sameName(property.name, u"FieldKind")) {
            quint8 kind = 0;
            ok = identFromValue(FieldKindIdents, property.value, kind);
            if (ok)
                element.FieldKind = TFieldKind(kind);
            else
                *error = QStringLiteral("property %1 has an invalid value").arg(property.name);
        } else if (sameName(property.name, u"Name")) {
            ok = readText(property, element.Name, error);
        } else if (sameName(property.name, u"Text")) {
            ok = readText(property, element.Text, error);
        } else if (sameName(property.name, u"Value")) {
            ok = readText(property, element.Value, error);
        } else if (sameName(property.name, u"Strings.Strings")) {
            if (property.value.kind != Value::Kind::List) {
                *error = wrongKind(property);
                return false;
            }
            element.Strings.clear();
            for (const Value &line : property.value.list) {
                if (line.kind != Value::Kind::String) {
                    *error = wrongKind(property);
                    return false;
                }
                element.Strings.append(line.text);
            }
        } else {
            *error = unknownProperty(property.name);
            return false;
        }
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

Stream::Object PageToStream(const TPagelette &constPage)
{
    auto &page = const_cast<TPagelette &>(constPage); // the field table hands out mutable pointers
    Stream::Object object;
    object.className = PageFields::kPageClass.toString();
    if (page.Tag != 0)
        object.properties.push_back({QStringLiteral("Tag"), Value::fromInt(page.Tag)});

    std::vector<PropertyList> items;
    items.reserve(size_t(page.Page.Count()));
    for (int i = 0; i < page.Page.Count(); ++i)
        items.push_back(itemToProperties(*page.Page.Items(i)));
    object.properties.push_back({QStringLiteral("Page"), Value::fromItems(std::move(items))});

    std::vector<PropertyList> fields;
    for (int i = 0; i < page.WebForm.Count(); ++i)
        fields.push_back(elementToProperties(*page.WebForm.Items(i)));
    object.properties.push_back({QStringLiteral("WebForm"), Value::fromItems(std::move(fields))});

    for (const PageField &field : kPageFields) {
        void *p = field.ref(page);
        if (field.isString) {
            const auto &text = *static_cast<QString *>(p);
            if (!text.isEmpty())
                object.properties.push_back({field.name.toString(), Value::fromString(text)});
        } else {
            object.properties.push_back({field.name.toString(), Value::fromBool(*static_cast<bool *>(p))});
        }
    }
    return object;
}

bool PageFromStream(const Stream::Object &object, TPagelette &result, QString *errorOut)
{
    QString ignored;
    QString *error = errorOut ? errorOut : &ignored;
    if (!sameName(object.className, PageFields::kPageClass)) {
        *error = QStringLiteral("the file holds a %1, not a page").arg(object.className);
        return false;
    }
    TPagelette page;
    for (const Property &property : object.properties) {
        bool ok = true;
        if (sameName(property.name, u"Page") || sameName(property.name, u"WebForm")) {
            if (property.value.kind != Value::Kind::Collection) {
                *error = wrongKind(property);
                return false;
            }
            if (sameName(property.name, u"Page")) {
                page.Page.Clear();
                for (const PropertyList &properties : property.value.items) {
                    if (!itemFromProperties(properties, page.Page.Add(), error))
                        return false;
                }
            } else {
                page.WebForm.Clear();
                for (const PropertyList &properties : property.value.items) {
                    if (!elementFromProperties(properties, page.WebForm.Add(), error))
                        return false;
                }
            }
            continue;
        }
        if (sameName(property.name, u"Tag")) {
            ok = readInt(property, page.Tag, error);
        } else {
            const PageField *field = nullptr;
            for (const PageField &candidate : kPageFields) {
                if (sameName(candidate.name, property.name))
                    field = &candidate;
            }
            if (!field) {
                *error = unknownProperty(property.name);
                return false;
            }
            void *p = field->ref(page);
            ok = field->isString ? readText(property, *static_cast<QString *>(p), error)
                                 : readBool(property, *static_cast<bool *>(p), error);
        }
        if (!ok)
            return false;
    }
    result = page;
    return true;
}

std::unique_ptr<TPagelette> LoadDocument(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return nullptr;
    }
    Stream::FileBytes bytes;
    auto page = std::make_unique<TPagelette>();
    if (!bytes.load(file, error) || !ReadDocument(bytes.bytes(), *page, error))
        return nullptr;
    return page;
}

bool WriteDocument(const QString &path, const TPagelette &page, QString *error)
{
    QString reason;
    const auto write = [&page](QIODevice &device) { return WriteDocument(device, page); };
    if (WriteFileAtomically(path, write, &reason))
        return true;
    if (error)
        *error = QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), reason);
    return false;
}

QString DocumentNameAfterLoad(const QString &path)
{
    const QString fileName = QFileInfo(path).fileName();
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : fileName.mid(dot);
    return extension == u".mbt" ? QStringLiteral("Untitled") : path;
}

QString TitleBarText(const QString &documentName, const QString &applicationTitle)
{
    const QString shown = documentName == u"Untitled" ? documentName : QFileInfo(documentName).fileName();
    return shown + u" - " + applicationTitle;
}

QString PageBaseName(const QString &path)
{
    return StripExtension(QFileInfo(path).fileName());
}

SavedPagePaths SavePagePaths(const QString &programFolder, const QString &projectPath)
{
    const QString base = PageBaseName(projectPath);
    SavedPagePaths paths;
    paths.previewPage = programFolder + u"BriskoFiles/" + base + u".html";
    paths.publishedName = RemoveSpaces(base) + u".html";
    paths.publishedPage = programFolder + u"Upload/" + paths.publishedName;
    return paths;
}

QString TemplatePreviewPath(const QString &programFolder, const QString &templatePath)
{
    return programFolder + u"Templates/" + PageBaseName(templatePath) + u".html";
}
