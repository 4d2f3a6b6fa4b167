#pragma once
// Compile-time conversion of UTF-8 source text to Windows-1251 bytes, so that Cyrillic titles
// stay readable in the source while the program holds the single-byte text the ANSI file
// functions take. A character outside the repertoire the program uses stops the build.
#include <array>
#include <cstddef>

namespace windows1251_detail {

template <std::size_t N> struct Utf8Literal {
    char8_t text[N];
    consteval Utf8Literal(const char8_t (&source)[N]) {
        for (std::size_t i = 0; i < N; ++i)
            text[i] = source[i];
    }
};

consteval char ToWindows1251(char32_t c) {
    if (c < 0x80)
        return static_cast<char>(c);
    if (c >= U'А' && c <= U'я')
        return static_cast<char>(0xC0 + (c - U'А'));
    switch (c) {
    case U'Ё':
        return static_cast<char>(0xA8);
    case U'ё':
        return static_cast<char>(0xB8);
    case U'№':
        return static_cast<char>(0xB9);
    }
    throw "character without a Windows-1251 byte in this program's repertoire";
}

template <std::size_t N> consteval std::array<char, N> Convert(const Utf8Literal<N>& source) {
    std::array<char, N> out{};
    std::size_t length = 0;
    for (std::size_t i = 0; i + 1 < N;) {
        const auto lead = static_cast<char32_t>(source.text[i]);
        char32_t c = lead;
        std::size_t units = 1;
        if ((lead >> 5) == 0x6) {
            c = ((lead & 0x1F) << 6) | (source.text[i + 1] & 0x3F);
            units = 2;
        } else if ((lead >> 4) == 0xE) {
            c = ((lead & 0x0F) << 12) | ((source.text[i + 1] & 0x3F) << 6) |
                (source.text[i + 2] & 0x3F);
            units = 3;
        } else if (lead >= 0x80) {
            throw "unexpected UTF-8 sequence";
        }
        out[length++] = ToWindows1251(c);
        i += units;
    }
    return out;
}

template <Utf8Literal Text> struct Converted {
    static constexpr std::array<char, sizeof(Text.text)> bytes = Convert(Text);
};

} // namespace windows1251_detail

// u8"Приказ № 4"_w1251 is the NUL-terminated Windows-1251 text, in static storage.
template <windows1251_detail::Utf8Literal Text> consteval const char* operator""_w1251() {
    return windows1251_detail::Converted<Text>::bytes.data();
}
