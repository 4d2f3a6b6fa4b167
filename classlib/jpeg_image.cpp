#include "jpeg_image.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <new>
#include <numeric>
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

// How the decoded pixels of one axis make up the destination pixels: for each destination
// pixel the first decoded pixel under it and how much of that one and of each following one it
// covers. A decoded pixel is 8/n image pixels long and the last may reach past the image's edge
// (the image is coded in whole 8x8 blocks); the destination pixels share the image's length.
// In units of 1/(n x destCount) image pixel, reduced by their common factor, every length and
// overlap is an exact integer.
class AxisWeights {
public:
    AxisWeights(std::uint32_t imageLength, std::uint32_t scaledCount, std::uint32_t scaleNum,
                int destCount) {
        std::uint64_t scaledLength = 8 * std::uint64_t(destCount);
        std::uint64_t destLength = std::uint64_t(scaleNum) * imageLength;
        const std::uint64_t common = std::gcd(scaledLength, destLength);
        scaledLength /= common;
        destLength_ = destLength / common;
        for (std::uint64_t dest = 0; dest < std::uint64_t(destCount); ++dest) {
            const std::uint64_t begin = dest * destLength_;
            const std::uint64_t end = begin + destLength_;
            std::uint64_t scaled = begin / scaledLength;
            firsts_.push_back(std::uint32_t(scaled));
            offsets_.push_back(weights_.size());
            for (; scaled < scaledCount && scaled * scaledLength < end; ++scaled) {
                weights_.push_back(std::uint32_t(std::min((scaled + 1) * scaledLength, end) -
                                                 std::max(scaled * scaledLength, begin)));
            }
        }
        offsets_.push_back(weights_.size());
    }

    std::size_t DestCount() const { return firsts_.size(); }
    // What the weights of every destination pixel add up to.
    std::uint64_t DestLength() const { return destLength_; }
    std::uint32_t First(std::size_t dest) const { return firsts_[dest]; }
    std::span<const std::uint32_t> Weights(std::size_t dest) const {
        return {weights_.data() + offsets_[dest], offsets_[dest + 1] - offsets_[dest]};
    }

private:
    std::uint64_t destLength_;
    std::vector<std::uint32_t> firsts_;
    std::vector<std::size_t> offsets_;
    std::vector<std::uint32_t> weights_;
};

// Box-filter resampling of the decoded picture, fed one RGB row at a time: besides the weights
// only one row of horizontal sums and the destination row being built are held.
class AreaResampler {
public:
    AreaResampler(const jpeg_decompress_struct& info, int width, int height, std::uint32_t* pixels)
        : across_(info.image_width, info.output_width, info.scale_num, width),
          down_(info.image_height, info.output_height, info.scale_num, height), pixels_(pixels),
          rowSums_(3 * std::size_t(width)), destRow_(rowSums_.size()) {}

    void AddScaledRow(const JSAMPLE* rgb) {
        SumAcross(rgb);
        // This row lies under the destination row being built and maybe under the next ones.
        for (; destY_ < down_.DestCount(); ++destY_) {
            const std::uint32_t first = down_.First(destY_);
            if (scaledRow_ < first)
                break;
            const std::uint32_t weight = down_.Weights(destY_)[scaledRow_ - first];
            for (std::size_t i = 0; i < destRow_.size(); ++i)
                destRow_[i] += std::uint64_t(weight) * rowSums_[i];
            if (scaledRow_ + 1 < first + down_.Weights(destY_).size())
                break;
            EmitDestRow();
        }
        ++scaledRow_;
    }

private:
    // Each sum is at most 255 x DestLength: well within 32 bits.
    void SumAcross(const JSAMPLE* rgb) {
        for (std::size_t x = 0; x < across_.DestCount(); ++x) {
            const JSAMPLE* pixel = rgb + 3 * std::size_t(across_.First(x));
            std::uint32_t red = 0, green = 0, blue = 0;
            for (const std::uint32_t weight : across_.Weights(x)) {
                red += weight * pixel[0];
                green += weight * pixel[1];
                blue += weight * pixel[2];
                pixel += 3;
            }
            rowSums_[3 * x] = red;
            rowSums_[3 * x + 1] = green;
            rowSums_[3 * x + 2] = blue;
        }
    }

    // Rounded to the nearest; in 32 bits where the numbers fit, which is far cheaper on this
    // 32-bit target (and always the case at a control's size).
    void EmitDestRow() {
        const std::uint64_t area = across_.DestLength() * down_.DestLength();
        const bool fitsIn32Bits = 256 * area <= UINT32_MAX;
        auto average = [&](std::size_t i) {
            const std::uint64_t numerator = destRow_[i] + area / 2;
            return fitsIn32Bits ? std::uint32_t(numerator) / std::uint32_t(area)
                                : std::uint32_t(numerator / area);
        };
        std::uint32_t* row = pixels_ + destY_ * across_.DestCount();
        for (std::size_t x = 0; x < across_.DestCount(); ++x)
            row[x] = average(3 * x) << 16 | average(3 * x + 1) << 8 | average(3 * x + 2);
        std::fill(destRow_.begin(), destRow_.end(), 0);
    }

    AxisWeights across_;
    AxisWeights down_;
    std::uint32_t* pixels_;
    std::uint32_t scaledRow_ = 0;
    std::size_t destY_ = 0;
    std::vector<std::uint32_t> rowSums_;
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
    // Too many pixels to hold; the count must not wrap around in 32 bits.
    const std::uint64_t pixelCount = std::uint64_t(width) * std::uint64_t(height);
    std::vector<std::uint32_t> pixels;
    if (pixelCount > pixels.max_size())
        throw std::bad_alloc();
    pixels.resize(std::size_t(pixelCount));

    Decompressor decompressor;
    jpeg_decompress_struct& info = decompressor.ReadHeader(jpeg);
    info.out_color_space = JCS_RGB;
    ChooseSmallestCoveringScale(info, width, height);
    jpeg_start_decompress(&info);

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
