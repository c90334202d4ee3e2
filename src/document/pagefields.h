#pragma once

#include "pagemodel.h"

#include <QLatin1StringView>
#include <QStringView>

#include <array>

// The stored properties of the page and of its blocks, shared by the file's two
// readers and writers: the one through the generic tree and the one straight on the bytes.
namespace PageFields {

inline constexpr QStringView kPageClass = u"TPagelette";

enum class FieldType { String, Boolean, Integer, Byte, BlockType, BlockAlign, ListStyle };

// One stored property of a page item, with where it lives in the item.
struct ItemField
{
    QStringView name;
    QLatin1StringView bytes; // the name as the file has it
    FieldType type;
    void *(*ref)(TPageItem &);
};

// In the order of the files.
extern const std::array<ItemField, 38> kItemFields;

// The page's own scalar properties, in file order after Page and WebForm.
struct PageField
{
    QStringView name;
    QLatin1StringView bytes;
    bool isString;
    void *(*ref)(TPagelette &);
};

extern const std::array<PageField, 14> kPageFields;

// The name of an enumeration value. The model only holds values it read by name, so the index
// is in range; the first name stands in should it not be.
template<size_t N>
QStringView identName(const std::array<QStringView, N> &names, quint8 value)
{
    return value < N ? names[value] : names[0];
}

} // namespace PageFields
