#include "windows1251_to_utf8.h"

#include <stdexcept>

namespace {

char32_t CodePoint(unsigned char byte) {
    if (byte < 0x80)
        return byte;
    if (byte >= 0xC0)
        return U'А' + (byte - 0xC0);
    switch (byte) {
    case 0xA8:
        return U'Ё';
    case 0xB8:
        return U'ё';
    case 0xB9:
        return U'№';
    }
    throw std::invalid_argument("Windows-1251 byte " + std::to_string(byte) +
                                " is outside the catalogue's repertoire");
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string Windows1251ToUtf8(std::string_view text) {
    std::string out;
    for (const char byte : text)
        AppendUtf8(out, CodePoint(static_cast<unsigned char>(byte)));
    return out;
}
