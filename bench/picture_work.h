#pragma once
// The picture work of an image control's first paint, done two ways into a bitmap of the
// control's size: ours (the class library's TJPEGImage, which decodes straight to that size and
// draws), and the straightforward one (libjpeg at full size, then StretchBlt down).
#include "gdi_object.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

inline constexpr SIZE ImageControlSize{137, 193};

// A memory DC holding a 32-bit bitmap of the control's size: what the paint draws into.
class PaintTarget {
public:
    PaintTarget();
    HDC Dc() const { return dc_.Get(); }
    // The drawn picture's mean red, green and blue.
    struct Mean {
        double red, green, blue;
    };
    Mean MeanColour() const;

private:
    classlib::TMemoryDC dc_{nullptr};
    void* bits_ = nullptr; // filled in as bitmap_ is made
    classlib::TGdiObject<HBITMAP> bitmap_;
    classlib::TSelectedObject selected_;
};

enum class PictureWay { Ours, FullDecode };
std::string NameOf(PictureWay way); // "ours", "full"
std::optional<PictureWay> PictureWayNamed(const std::string& name);

// The time of one first paint's picture work, in ms.
double TimePictureWork(PictureWay way, std::span<const std::uint8_t> jpeg, PaintTarget& target);

// How far the first picture work of a fresh process raises its peak working set, in KB: the
// memory one image control's first paint needs at most (decoder code touched for the first time
// included).
std::uint64_t PictureWorkPeakGrowthKb(PictureWay way, std::span<const std::uint8_t> jpeg);
