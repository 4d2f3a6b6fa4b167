#pragma once
// Start-up and memory seen from outside, as the user sees them. A program is started; its first
// complete paint is over when the screen shows what it drew (the picture, or the empty window's
// colour) and the program is back in its message loop, its paint pass done. Then it is closed.
#include <cstdint>
#include <string>
#include <vector>

struct LaunchResult {
    double windowMs = 0;     // from process creation until its main window exists
    double firstPaintMs = 0; // ... until its first complete paint
    std::uint64_t peakWorkingSetKb = 0;
};

// The empty window program: its window filled with its colour.
LaunchResult LaunchEmptyWindow(const std::string& exe);

// Valkesta: the front tab's picture on the screen, pixel for pixel as decoded to the image
// control's size (`cover` is that decode, 0x00RRGGBB rows); then the other tab is brought to
// the front and its picture awaited too before the peak working set is read.
struct CoverPixels {
    int width;
    int height;
    std::vector<std::uint32_t> pixels;
};
LaunchResult LaunchValkesta(const std::string& exe, const CoverPixels& cover);
