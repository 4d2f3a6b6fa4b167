#include "jpeg_image.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include <jpeglib.h>

namespace classlib {

EJPEG::EJPEG(int messageCode) : Exception("JPEG error #" + std::to_string(messageCode)) {}

namespace {

// libjpeg must not exit the process: a fatal error leaves its C frames as an exception, which
// they let through (they carry unwind tables, and what they allocate belongs to the
// decompressor, which its owner destroys).
[[noreturn]] void RaiseJpegError(j_common_ptr info) {
    throw EJPEG(info->err->msg_code);
}

// Warnings (a truncated or slightly corrupt picture) are not worth a word on a GUI program's
// stderr: libjpeg decodes what it can.
void IgnoreJpegMessage(j_common_ptr) {}

// One libjpeg decompressor over a JPEG in memory, destroyed on every path.
class Decompressor {
public:
    Decompressor() {
        info_.err = jpeg_std_error(&errors_);
        errors_.error_exit = RaiseJpegError;
        errors_.output_message = IgnoreJpegMessage;
        jpeg_create_decompress(&info_);
    }
    ~Decompressor() { jpeg_destroy_decompress(&info_); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    jpeg_decompress_struct& ReadHeader(std::span<const std::uint8_t> jpeg) {
        jpeg_mem_src(&info_, jpeg.data(), jpeg.size());
        jpeg_read_header(&info_, TRUE);
        return info_;
    }

private:
    jpeg_error_mgr errors_{};
    jpeg_decompress_struct info_{};
};

// libjpeg scales by n/8 for n = 1..16 while it decodes (inverse DCT of fewer or more
// coefficients): the smallest such output that still covers the wanted size leaves the least
// work for the resampling. Above 16/8 the resampling enlarges the rest of the way.
void ChooseSmallestCoveringScale(jpeg_decompress_struct& info, int width, int height) {
    info.scale_denom = 8;
    for (info.scale_num = 1; info.scale_num < 16; ++info.scale_num) {
        jpeg_calc_output_dimensions(&info);
        if (info.output_width >= JDIMENSION(width) && info.output_height >= JDIMENSION(height))
            return;
    }
    jpeg_calc_output_dimensions(&info);
}

// One axis of the area-averaging resampling. The decoded pixels are scaled image pixels, each
// 8/n image pixels long, and the last may reach past the image's edge (the image is coded in
// whole 8x8 blocks); the destination pixels share the image's length. In units of 1/(n x
// destCount) image pixel every length and every overlap is an exact integer.
class Axis {
public:
    Axis(std::uint64_t imageLength, std::uint64_t scaledCount, std::uint64_t scaleNum,
         std::uint64_t destCount)
        : scaledLength_(8 * destCount), destLength_(scaleNum * imageLength),
          scaledCount_(scaledCount), destCount_(destCount) {}

    std::uint64_t ScaledCount() const { return scaledCount_; }
    std::uint64_t DestCount() const { return destCount_; }
    // What every destination pixel's overlaps add up to.
    std::uint64_t DestLength() const { return destLength_; }

    std::uint64_t Overlap(std::uint64_t scaled, std::uint64_t dest) const {
        const std::uint64_t begin = std::max(scaled * scaledLength_, dest * destLength_);
        const std::uint64_t end = std::min((scaled + 1) * scaledLength_, (dest + 1) * destLength_);
        return end > begin ? end - begin : 0;
    }
    // The pixel on the other side under the first unit of this one.
    std::uint64_t FirstScaledOf(std::uint64_t dest) const {
        return dest * destLength_ / scaledLength_;
    }
    std::uint64_t FirstDestOf(std::uint64_t scaled) const {
        return scaled * scaledLength_ / destLength_;
    }
    bool EndsWithin(std::uint64_t dest, std::uint64_t scaled) const {
        return (dest + 1) * destLength_ <= (scaled + 1) * scaledLength_;
    }

private:
    std::uint64_t scaledLength_;
    std::uint64_t destLength_;
    std::uint64_t scaledCount_;
    std::uint64_t destCount_;
};

// Box-filter resampling of the decoded picture, fed one RGB row at a time: only one row of
// horizontal sums and the destination row being built are held.
class AreaResampler {
public:
    AreaResampler(const jpeg_decompress_struct& info, int width, int height, std::uint32_t* pixels)
        : across_(info.image_width, info.output_width, info.scale_num, width),
          down_(info.image_height, info.output_height, info.scale_num, height), pixels_(pixels),
          rowSums_(3 * std::size_t(width)), destRow_(rowSums_.size()) {}

    void AddScaledRow(const JSAMPLE* rgb) {
        SumAcross(rgb);
        for (std::uint64_t dest = down_.FirstDestOf(scaledRow_); dest < down_.DestCount(); ++dest) {
            const std::uint64_t weight = down_.Overlap(scaledRow_, dest);
            if (weight == 0)
                break;
            for (std::size_t i = 0; i < destRow_.size(); ++i)
                destRow_[i] += weight * rowSums_[i];
            if (!down_.EndsWithin(dest, scaledRow_))
                break;
            EmitDestRow(dest);
        }
        ++scaledRow_;
    }

private:
    void SumAcross(const JSAMPLE* rgb) {
        for (std::uint64_t dest = 0; dest < across_.DestCount(); ++dest) {
            std::uint64_t* sums = &rowSums_[3 * dest];
            std::fill_n(sums, 3, 0);
            for (std::uint64_t scaled = across_.FirstScaledOf(dest); scaled < across_.ScaledCount();
                 ++scaled) {
                const std::uint64_t weight = across_.Overlap(scaled, dest);
                if (weight == 0)
                    break;
                for (int channel = 0; channel < 3; ++channel)
                    sums[channel] += weight * rgb[3 * scaled + channel];
            }
        }
    }

    void EmitDestRow(std::uint64_t dest) {
        const std::uint64_t area = across_.DestLength() * down_.DestLength();
        auto average = [&](std::size_t i) {
            return std::uint32_t((destRow_[i] + area / 2) / area);
        };
        std::uint32_t* row = pixels_ + dest * across_.DestCount();
        for (std::uint64_t x = 0; x < across_.DestCount(); ++x)
            row[x] = average(3 * x) << 16 | average(3 * x + 1) << 8 | average(3 * x + 2);
        std::fill(destRow_.begin(), destRow_.end(), 0);
    }

    Axis across_;
    Axis down_;
    std::uint32_t* pixels_;
    std::uint64_t scaledRow_ = 0;
    std::vector<std::uint64_t> rowSums_;
    std::vector<std::uint64_t> destRow_;
};

} // namespace

JpegSize ReadJpegSize(std::span<const std::uint8_t> jpeg) {
    Decompressor decompressor;
    const jpeg_decompress_struct& info = decompressor.ReadHeader(jpeg);
    return {int(info.image_width), int(info.image_height)};
}

std::vector<std::uint32_t> DecodeJpegToSize(std::span<const std::uint8_t> jpeg, int width,
                                            int height) {
    if (width <= 0 || height <= 0)
        return {};
    Decompressor decompressor;
    jpeg_decompress_struct& info = decompressor.ReadHeader(jpeg);
    info.out_color_space = JCS_RGB;
    ChooseSmallestCoveringScale(info, width, height);
    jpeg_start_decompress(&info);

    std::vector<std::uint32_t> pixels(std::size_t(width) * std::size_t(height));
    AreaResampler resampler(info, width, height, pixels.data());
    std::vector<JSAMPLE> scanline(std::size_t(info.output_width) * 3);
    JSAMPROW rows[] = {scanline.data()};
    while (info.output_scanline < info.output_height) {
        jpeg_read_scanlines(&info, rows, 1);
        resampler.AddScaledRow(scanline.data());
    }
    jpeg_finish_decompress(&info);
    return pixels;
}

} // namespace classlib
