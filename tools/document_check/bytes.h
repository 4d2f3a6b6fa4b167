#pragma once
// Bounds-checked little-endian reads over a document held in memory: every structure read from
// a document goes through these, so a damaged file ends in a FormatError, never a stray read.
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

// A document does not have the structure its format requires; what() says what is wrong.
class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using Bytes = std::span<const std::uint8_t>;

// The `length` bytes at `offset`; FormatError naming `what` when they run past the end.
inline Bytes Slice(Bytes bytes, std::uint64_t offset, std::uint64_t length,
                   const std::string& what) {
    if (offset > bytes.size() || length > bytes.size() - offset)
        throw FormatError(what + " lies beyond the end of the file");
    return bytes.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
}

template <typename Unsigned> Unsigned ReadLittleEndian(Bytes bytes, std::uint64_t offset) {
    const Bytes field = Slice(bytes, offset, sizeof(Unsigned), "a header field");
    Unsigned value = 0;
    for (std::size_t i = sizeof(Unsigned); i-- > 0;)
        value = static_cast<Unsigned>((value << 8) | field[i]);
    return value;
}

inline std::uint16_t ReadU16(Bytes bytes, std::uint64_t offset) {
    return ReadLittleEndian<std::uint16_t>(bytes, offset);
}
inline std::uint32_t ReadU32(Bytes bytes, std::uint64_t offset) {
    return ReadLittleEndian<std::uint32_t>(bytes, offset);
}
inline std::uint64_t ReadU64(Bytes bytes, std::uint64_t offset) {
    return ReadLittleEndian<std::uint64_t>(bytes, offset);
}
