#pragma once
// The binary layout format that the form compiler writes and the form reader reads: one
// definition for both sides. Portable: no Windows header.
//
// Stream:     Signature, then one object (the form), then nothing more.
// Object:     class name (short string, never empty), object name (short string),
//             properties until a 0 byte, children (objects) until a 0 byte.
// Property:   name (short string, never empty; dotted for nested values: "Font.Height"),
//             one ValueTag byte, then the payload that tag gives.
// Short string: 1 length byte (0 to 255), then that many ASCII bytes.
//
// Everything wider than a byte is little-endian.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace classlib::form {

inline constexpr std::string_view Signature = "TPF0";

// Ends the property list and the child list of an object: a short string of length 0, which
// no property name and no class name can be.
inline constexpr std::uint8_t EndMarker = 0;

inline constexpr std::size_t MaxShortStringLength = 255;

enum class ValueTag : std::uint8_t {
    Int8 = 1,       // 1 byte, signed
    Int16 = 2,      // 2 bytes, signed
    Int32 = 3,      // 4 bytes, signed
    Identifier = 4, // short string, never empty: clBtnFace, TabSheet2, Button1Click
    False = 5,      // no payload
    True = 6,       // no payload
    String = 7,     // short string: ASCII text such as a font name
    WideString = 8, // 4-byte count of UTF-16 code units, then the units: any other text
    Binary = 9,     // 4-byte byte count, then the bytes
    Set = 10,       // identifiers as short strings, ended by a short string of length 0
};

} // namespace classlib::form
