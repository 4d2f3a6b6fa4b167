#pragma once
// An independent reference for the decoder under test: libjpeg's plain decode at a given scale
// and a straightforward floating-point area average over it.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

// A decoded picture. Each of its pixels stands for `pixelLength` x `pixelLength` pixels of the
// picture (8/n when decoded at n/8); the last row and column may reach past the picture's
// edge, since libjpeg decodes whole 8x8 blocks.
struct RgbImage {
    int width;
    int height;
    double pixelLength;
    int pictureWidth;
    int pictureHeight;
    std::vector<std::uint8_t> samples; // R, G, B per pixel, top-down rows
};

RgbImage DecodeScaled(std::span<const std::uint8_t> jpeg, int scaleEighths);

// Each destination pixel is the mean of the picture area it covers when the picture is
// stretched to width x height, partly covered pixels counting by the part covered.
std::vector<std::array<double, 3>> AreaAverage(const RgbImage& image, int width, int height);
