#include "themesfile.h"

#include <QDir>
#include <QFile>
#include "platform/savefile.h"

using Stream::Property;
using Stream::PropertyList;
using Stream::Value;
using Stream::sameName;

namespace {

const QString kThemeClass = QStringLiteral("TWebTheme");

struct ThemeField
{
    QStringView name;
    bool isString;
    void *(*ref)(TThemeItem &);
};

#define TFIELD(NAME, IS_STRING) \
    ThemeField { u"" #NAME, IS_STRING, [](TThemeItem &t) -> void * { return &t.NAME; } }

// The order is the order of the file.
const ThemeField kThemeFields[] = {
    TFIELD(ThemeName, true), TFIELD(BGImage, true),   TFIELD(LeftMargin, true), TFIELD(BGColor, false),
    TFIELD(TextColor, false), TFIELD(LinkColor, false), TFIELD(ALinkColor, false), TFIELD(VLinkColor, false),
};

#undef TFIELD

QString wrongKind(const Property &property)
{
    return QStringLiteral("property %1 holds %2 of the wrong kind")
        .arg(property.name, Stream::kindName(property.value.kind));
}

bool themeFromProperties(const PropertyList &properties, TThemeItem &theme, QString *error)
{
    for (const Property &property : properties) {
        const ThemeField *field = nullptr;
        for (const ThemeField &candidate : kThemeFields) {
            if (sameName(candidate.name, property.name))
                field = &candidate;
        }
        if (!field) {
            *error = QStringLiteral("unknown property %1").arg(property.name);
            return false;
        }
        const auto wanted = field->isString ? Value::Kind::String : Value::Kind::Integer;
        if (property.value.kind != wanted) {
            *error = wrongKind(property);
            return false;
        }
        void *p = field->ref(theme);
        if (field->isString)
            *static_cast<QString *>(p) = property.value.text;
        else
            *static_cast<qint32 *>(p) = property.value.integer;
    }
    return true;
}

} // namespace

Stream::Object ThemesToStream(const TWebTheme &themes)
{
    Stream::Object object;
    object.className = kThemeClass;
    object.objectName = themes.Name;
    if (themes.Tag != 0)
        object.properties.push_back({QStringLiteral("Tag"), Value::fromInt(themes.Tag)});
    std::vector<PropertyList> items;
    for (int i = 0; i < themes.Items.Count(); ++i) {
        TThemeItem theme = *themes.Items.Items(i);
        PropertyList properties;
        for (const ThemeField &field : kThemeFields) {
            void *p = field.ref(theme);
            if (!field.isString)
                properties.push_back({field.name.toString(), Value::fromInt(*static_cast<qint32 *>(p))});
            else if (!static_cast<QString *>(p)->isEmpty())
                properties.push_back({field.name.toString(), Value::fromString(*static_cast<QString *>(p))});
        }
        items.push_back(std::move(properties));
    }
    object.properties.push_back({QStringLiteral("Items"), Value::fromItems(std::move(items))});
    return object;
}

bool ThemesFromStream(const Stream::Object &object, TWebTheme &result, QString *errorOut)
{
    QString ignored;
    QString *error = errorOut ? errorOut : &ignored;
    if (!sameName(object.className, kThemeClass)) {
        *error = QStringLiteral("Invalid type: the themes file holds a %1").arg(object.className);
        return false;
    }
    TWebTheme themes;
    themes.Name = object.objectName;
    for (const Property &property : object.properties) {
        if (sameName(property.name, u"Items")) {
            if (property.value.kind != Value::Kind::Collection) {
                *error = wrongKind(property);
                return false;
            }
            themes.Items.Clear();
            for (const PropertyList &properties : property.value.items) {
                if (!themeFromProperties(properties, themes.Items.Add(), error))
                    return false;
            }
        } else if (sameName(property.name, u"Tag")) {
            if (property.value.kind != Value::Kind::Integer) {
                *error = wrongKind(property);
                return false;
            }
            themes.Tag = property.value.integer;
        } else {
            *error = QStringLiteral("unknown property %1").arg(property.name);
            return false;
        }
    }
    result = themes;
    return true;
}

bool LoadThemes(const QString &path, TWebTheme &themes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    Stream::Object object;
    QString reason;
    if (!Stream::read(file, object, &reason) || !ThemesFromStream(object, themes, &reason)) {
        if (error)
            *error = QStringLiteral("%1 is not a valid themes file: %2").arg(QDir::toNativeSeparators(path), reason);
        return false;
    }
    return true;
}

bool SaveThemes(const QString &path, const TWebTheme &themes, QString *error)
{
    QString reason;
    if (WriteFileAtomically(path, Stream::write(ThemesToStream(themes)), &reason))
        return true;
    if (error)
        *error = QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), reason);
    return false;
}
