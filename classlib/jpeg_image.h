#pragma once
// JPEG pictures on libjpeg: the size from the header alone, and a decode straight to the size
// of the control that shows the picture. Portable: no Windows header.
#include <cstdint>
#include <span>
#include <vector>

#include "exceptions.h"

namespace classlib {

// Any failure of the decoder, carrying libjpeg's message code.
class EJPEG : public Exception {
public:
    explicit EJPEG(int messageCode);
};

struct JpegSize {
    int width;
    int height;
};

// Reads only the header. Raises EJPEG when it cannot be read.
JpegSize ReadJpegSize(std::span<const std::uint8_t> jpeg);

// Decodes the picture stretched to exactly width x height, each pixel the average of the picture
// area it covers. The result is top-down rows of 0x00RRGGBB pixels (a 32-bit BI_RGB DIB), empty
// for an empty size. Raises EJPEG when the picture cannot be decoded, std::bad_alloc when that
// many pixels cannot be held.
std::vector<std::uint32_t> DecodeJpegToSize(std::span<const std::uint8_t> jpeg, int width,
                                            int height);

} // namespace classlib
