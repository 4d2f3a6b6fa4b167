#include "picture_work.h"

#include "measure.h"
#include "picture.h"

#include <psapi.h>

#include <cstdio>
#include <optional>
#include <vector>
#include <stdexcept>

#include <jpeglib.h>

namespace {

HBITMAP CreateTopDownDib(HDC dc, SIZE size, WORD bitsPerPixel, void*& bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        throw std::runtime_error("cannot make a bitmap");
    return bitmap;
}

[[noreturn]] void RaiseJpegError(j_common_ptr info) {
    throw std::runtime_error("libjpeg error " + std::to_string(info->err->msg_code));
}

void IgnoreJpegMessage(j_common_ptr) {}

class Decompressor {
public:
    explicit Decompressor(std::span<const std::uint8_t> jpeg) {
        info_.err = jpeg_std_error(&errors_);
        errors_.error_exit = RaiseJpegError;
        errors_.output_message = IgnoreJpegMessage;
        jpeg_create_decompress(&info_);
        jpeg_mem_src(&info_, jpeg.data(), jpeg.size());
        jpeg_read_header(&info_, TRUE);
    }
    ~Decompressor() { jpeg_destroy_decompress(&info_); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
    jpeg_decompress_struct& Info() { return info_; }

private:
    jpeg_error_mgr errors_{};
    jpeg_decompress_struct info_{};
};

// The whole picture decoded into a bitmap of the target's format (a 24-bit one would be
// converted whole by StretchBlt first), then stretched down. Of the stretch modes the cheaper
// one, which picks pixels rather than averaging them: the floor is as fast as it can be.
void DrawFromFullDecode(std::span<const std::uint8_t> jpeg, HDC target) {
    Decompressor decompressor(jpeg);
    jpeg_decompress_struct& info = decompressor.Info();
    info.out_color_space = JCS_EXT_BGRX; // the byte order of a 32-bit DIB
    jpeg_start_decompress(&info);
    const SIZE size{LONG(info.output_width), LONG(info.output_height)};
    void* bits = nullptr;
    const classlib::TGdiObject<HBITMAP> bitmap(CreateTopDownDib(target, size, 32, bits));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row =
            static_cast<JSAMPLE*>(bits) + std::size_t(info.output_scanline) * 4 * size.cx;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);

    const classlib::TMemoryDC memory(target);
    const classlib::TSelectedObject selected(memory.Get(), bitmap.Get());
    SetStretchBltMode(target, COLORONCOLOR);
    StretchBlt(target, 0, 0, ImageControlSize.cx, ImageControlSize.cy, memory.Get(), 0, 0, size.cx,
               size.cy, SRCCOPY);
}

constexpr RECT ControlRect{0, 0, ImageControlSize.cx, ImageControlSize.cy};

std::uint64_t PeakWorkingSetKb() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize / 1024;
}

} // namespace

PaintTarget::PaintTarget()
    : bitmap_(CreateTopDownDib(dc_.Get(), ImageControlSize, 32, bits_)),
      selected_(dc_.Get(), bitmap_.Get()) {
    if (!dc_.Get())
        throw std::runtime_error("cannot make a memory DC");
}

PaintTarget::Mean PaintTarget::MeanColour() const {
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits_);
    double red = 0, green = 0, blue = 0;
    const std::size_t count = std::size_t(ImageControlSize.cx) * ImageControlSize.cy;
    for (std::size_t i = 0; i < count; ++i) {
        red += pixels[i] >> 16 & 0xFF;
        green += pixels[i] >> 8 & 0xFF;
        blue += pixels[i] & 0xFF;
    }
    return {red / double(count), green / double(count), blue / double(count)};
}

std::string NameOf(PictureWay way) {
    return way == PictureWay::Ours ? "ours" : "full";
}

std::optional<PictureWay> PictureWayNamed(const std::string& name) {
    for (const PictureWay way : {PictureWay::Ours, PictureWay::FullDecode})
        if (NameOf(way) == name)
            return way;
    return std::nullopt;
}

double TimePictureWork(PictureWay way, std::span<const std::uint8_t> jpeg, PaintTarget& target) {
    if (way == PictureWay::FullDecode) {
        const Stopwatch watch;
        DrawFromFullDecode(jpeg, target.Dc());
        return watch.ElapsedMs();
    }
    // Reading the layout made the image and read its header; the first paint does the rest.
    classlib::TJPEGImage image(jpeg);
    const Stopwatch watch;
    image.Draw(target.Dc(), ControlRect);
    return watch.ElapsedMs();
}

std::uint64_t PictureWorkPeakGrowthKb(PictureWay way, std::span<const std::uint8_t> jpeg) {
    // Both ways hold the JPEG's bytes before they paint, as the layout reader leaves them.
    const std::vector<std::uint8_t> bytes(jpeg.begin(), jpeg.end());
    PaintTarget target;
    std::optional<classlib::TJPEGImage> image;
    if (way == PictureWay::Ours)
        image.emplace(bytes);
    const std::uint64_t before = PeakWorkingSetKb();
    if (image)
        image->Draw(target.Dc(), ControlRect);
    else
        DrawFromFullDecode(bytes, target.Dc());
    return PeakWorkingSetKb() - before;
}
