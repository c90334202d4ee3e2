#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// Building blocks of the component stream that project, template and themes files are made of.
namespace StreamFormat {

inline constexpr QByteArrayView kSignature = "TPF0";

enum class Tag : quint8 {
    Null = 0x00,       // ends a property list, an item and a collection
    List = 0x01,       // starts a collection item or a list of values
    Int8 = 0x02,
    Int16 = 0x03,
    Int32 = 0x04,
    Extended = 0x05,   // not used by our files
    String = 0x06,     // short string, Windows-1252
    Ident = 0x07,      // enumeration value by name
    False = 0x08,
    True = 0x09,
    Binary = 0x0A,     // not used by our files
    Set = 0x0B,        // not used by our files
    LString = 0x0C,    // 4-byte length, Windows-1252
    Nil = 0x0D,        // not used by our files
    Collection = 0x0E,
    WString = 0x12,    // 4-byte count of UTF-16LE characters
    Utf8String = 0x14, // 4-byte length, UTF-8; written for text Windows-1252 cannot hold
};

// Header flag bytes that older writers may put before the class name.
inline constexpr quint8 kPrefixMask = 0xF0;
inline constexpr quint8 kFlagChildPos = 0x02;

// Limits that keep a damaged or hostile file from exhausting memory or the stack.
inline constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;
inline constexpr int kMaxNesting = 32;
inline constexpr qint64 kMaxValues = 2 * 1024 * 1024;

} // namespace StreamFormat
