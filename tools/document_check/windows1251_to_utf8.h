#pragma once
// The catalogue's Windows-1251 titles as UTF-8, for messages and the generator script.
#include <string>
#include <string_view>

// Converts the repertoire the catalogue uses (ASCII, Cyrillic А-я, Ё, ё, №); throws
// std::invalid_argument for any other byte.
std::string Windows1251ToUtf8(std::string_view text);
