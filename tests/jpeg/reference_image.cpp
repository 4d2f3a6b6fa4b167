#include "reference_image.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

#include <jpeglib.h>

namespace {

[[noreturn]] void Fail(j_common_ptr info) {
    throw std::runtime_error("reference decode failed: libjpeg error " +
                             std::to_string(info->err->msg_code));
}

// One destination pixel's extent on one axis, in picture pixels, and the image pixels under it.
struct Cover {
    double begin;
    double end;
    int first;
    int last;
};

Cover Covered(int dest, int destCount, int pictureLength, double pixelLength, int count) {
    const double begin = double(dest) * pictureLength / destCount;
    const double end = double(dest + 1) * pictureLength / destCount;
    return {begin, end, int(begin / pixelLength),
            std::min(count, int(std::ceil(end / pixelLength))) - 1};
}

double CoveredPart(int pixel, double pixelLength, const Cover& cover) {
    return std::min((pixel + 1) * pixelLength, cover.end) -
           std::max(pixel * pixelLength, cover.begin);
}

} // namespace

RgbImage DecodeScaled(std::span<const std::uint8_t> jpeg, int scaleEighths) {
    jpeg_error_mgr errors;
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&errors);
    errors.error_exit = Fail;
    jpeg_create_decompress(&info);
    struct Destroy {
        jpeg_decompress_struct& info;
        ~Destroy() { jpeg_destroy_decompress(&info); }
    } destroy{info};
    jpeg_mem_src(&info, jpeg.data(), jpeg.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    info.scale_num = scaleEighths;
    info.scale_denom = 8;
    jpeg_start_decompress(&info);
    RgbImage image{int(info.output_width), int(info.output_height), 8.0 / scaleEighths,
                   int(info.image_width),  int(info.image_height),  {}};
    image.samples.resize(std::size_t(image.width) * image.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &image.samples[std::size_t(info.output_scanline) * image.width * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return image;
}

std::vector<std::array<double, 3>> AreaAverage(const RgbImage& image, int width, int height) {
    std::vector<std::array<double, 3>> result(std::size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        const Cover rows = Covered(y, height, image.pictureHeight, image.pixelLength, image.height);
        for (int x = 0; x < width; ++x) {
            const Cover columns =
                Covered(x, width, image.pictureWidth, image.pixelLength, image.width);
            std::array<double, 3> sum{};
            double area = 0;
            for (int row = rows.first; row <= rows.last; ++row) {
                for (int column = columns.first; column <= columns.last; ++column) {
                    const double part = CoveredPart(row, image.pixelLength, rows) *
                                        CoveredPart(column, image.pixelLength, columns);
                    const std::uint8_t* rgb =
                        &image.samples[(std::size_t(row) * image.width + column) * 3];
                    for (int channel = 0; channel < 3; ++channel)
                        sum[channel] += part * rgb[channel];
                    area += part;
                }
            }
            for (int channel = 0; channel < 3; ++channel)
                result[std::size_t(y) * width + x][channel] = sum[channel] / area;
        }
    }
    return result;
}
