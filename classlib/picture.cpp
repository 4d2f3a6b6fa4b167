#include "picture.h"

#include "exceptions.h"
#include "jpeg_image.h"

#include <cstring>

namespace classlib {

namespace {

// The 4-byte little-endian length that leads a JPEG's data in a picture record.
std::span<const std::uint8_t> LengthPrefixed(std::span<const std::uint8_t> data) {
    if (data.size() < 4)
        throw EReadError("Stream read error");
    const std::uint32_t length =
        data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    if (length != data.size() - 4)
        throw EReadError("Stream read error");
    return data.subspan(4);
}

} // namespace

TJPEGImage::TJPEGImage(std::span<const std::uint8_t> jpeg) : jpeg_(jpeg.begin(), jpeg.end()) {
    const JpegSize size = ReadJpegSize(jpeg_);
    width_ = size.width;
    height_ = size.height;
}

void TJPEGImage::Draw(HDC dc, const RECT& rect) {
    const SIZE size{rect.right - rect.left, rect.bottom - rect.top};
    if (size.cx <= 0 || size.cy <= 0)
        return;
    if (decodeFailed_)
        return;
    if (!decoded_) {
        std::vector<std::uint32_t> pixels;
        try {
            pixels = DecodeJpegToSize(jpeg_, size.cx, size.cy);
        } catch (...) {
            // Every repaint would show the same error box again, without end.
            decodeFailed_ = true;
            throw;
        }
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = size.cx;
        info.bmiHeader.biHeight = -size.cy; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        TGdiObject<HBITMAP> bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap)
            throw Exception("Out of system resources");
        std::memcpy(bits, pixels.data(), pixels.size() * sizeof pixels[0]);
        decoded_ = std::move(bitmap);
        decodedSize_ = size;
        ++decodeCount_;
    }
    const TMemoryDC memory(dc);
    if (!memory.Get())
        throw Exception("Out of system resources");
    const TSelectedObject selected(memory.Get(), decoded_.Get());
    if (size.cx == decodedSize_.cx && size.cy == decodedSize_.cy)
        BitBlt(dc, rect.left, rect.top, size.cx, size.cy, memory.Get(), 0, 0, SRCCOPY);
    else
        StretchBlt(dc, rect.left, rect.top, size.cx, size.cy, memory.Get(), 0, 0, decodedSize_.cx,
                   decodedSize_.cy, SRCCOPY);
}

void TPicture::LoadData(std::span<const std::uint8_t> record) {
    if (record.empty())
        throw EReadError("Stream read error");
    const std::size_t nameLength = record[0];
    if (record.size() < 1 + nameLength)
        throw EReadError("Stream read error");
    const std::string className(record.begin() + 1, record.begin() + 1 + nameLength);
    const auto data = record.subspan(1 + nameLength);
    if (className.empty())
        graphic_.reset();
    else if (className == "TJPEGImage")
        graphic_ = std::make_unique<TJPEGImage>(LengthPrefixed(data));
    else
        throw EReadError("Unknown picture file extension (" + className + ")");
}

} // namespace classlib
