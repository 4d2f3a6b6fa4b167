// The class library's JPEG decoding on the program's cover picture: its size from the header,
// its decode to the image control's size against an independent reference, and damaged copies
// of it, which must end in EJPEG or a decode, silently and without harming the process.
#include "jpeg_image.h"
#include "reference_image.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>
#include <jerror.h>

namespace {

using classlib::DecodeJpegToSize;
using classlib::EJPEG;
using classlib::ReadJpegSize;
using Bytes = std::vector<std::uint8_t>;

constexpr int coverWidth = 1759;
constexpr int coverHeight = 2484;
constexpr int controlWidth = 137;
constexpr int controlHeight = 193;

Bytes Cover() {
    const HRSRC resource = FindResourceA(nullptr, "COVER", RT_RCDATA);
    if (resource == nullptr)
        throw std::runtime_error("the test's COVER resource is missing");
    const auto* data =
        static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, resource)));
    return Bytes(data, data + SizeofResource(nullptr, resource));
}

constexpr std::uint8_t sof0 = 0xC0, dht = 0xC4, sos = 0xDA;

// Offset of the first marker segment of `marker` before the image data that `accept` takes.
template <typename Accept>
std::size_t SegmentOffset(const Bytes& jpeg, std::uint8_t marker, Accept accept) {
    for (std::size_t at = 2; at + 4 <= jpeg.size() && jpeg[at] == 0xFF;
         at += 2 + (jpeg[at + 2] << 8 | jpeg[at + 3])) {
        if (jpeg[at + 1] == marker && accept(at))
            return at;
        if (jpeg[at + 1] == sos)
            break;
    }
    throw std::runtime_error("marker segment not found in the cover");
}

std::size_t SegmentOffset(const Bytes& jpeg, std::uint8_t marker) {
    return SegmentOffset(jpeg, marker, [](std::size_t) { return true; });
}

Bytes Prefix(const Bytes& jpeg, std::size_t size) {
    return Bytes(jpeg.begin(), jpeg.begin() + size);
}

template <typename Change> Bytes Changed(Bytes jpeg, Change change) {
    change(jpeg);
    return jpeg;
}

std::string JpegErrorMessage(int code) {
    return "JPEG error #" + std::to_string(code);
}

template <typename Call> void ExpectJpegError(Call call, int code) {
    try {
        call();
        ADD_FAILURE() << "no EJPEG raised";
    } catch (const EJPEG& error) {
        EXPECT_EQ(error.Message(), JpegErrorMessage(code));
    }
}

// What `work` prints on stderr.
template <typename Work> std::string StderrOf(Work work) {
    testing::internal::CaptureStderr();
    work();
    return testing::internal::GetCapturedStderr();
}

int Channel(std::uint32_t pixel, int channel) {
    return pixel >> (16 - 8 * channel) & 0xFF;
}

TEST(JpegImage, ReadsTheCoverSizeFromItsHeader) {
    const classlib::JpegSize size = ReadJpegSize(Cover());
    EXPECT_EQ(size.width, coverWidth);
    EXPECT_EQ(size.height, coverHeight);
}

struct Difference {
    double largest = 0;
    double mean = 0;
};

Difference Compare(const std::vector<std::uint32_t>& pixels,
                   const std::vector<std::array<double, 3>>& reference) {
    Difference difference;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        for (int channel = 0; channel < 3; ++channel) {
            const double d = std::abs(Channel(pixels[i], channel) - reference[i][channel]);
            difference.largest = std::max(difference.largest, d);
            difference.mean += d;
        }
    }
    difference.mean /= 3.0 * pixels.size();
    return difference;
}

// libjpeg decodes at the smallest n/8 that still covers the wanted size, and every pixel is
// the exact area average of that decode, rounded. Beyond 16/8 the averaging enlarges; the odd
// sizes of that case share no factor with the picture's and so need 64-bit averaging.
TEST(JpegImage, DecodesAtTheSmallestCoveringScaleAndAveragesItsArea) {
    struct Target {
        int width;
        int height;
        int scaleEighths;
    };
    const Target targets[] = {
        {controlWidth, controlHeight, 1}, {1, 1, 1},      {300, 100, 2}, {900, 1300, 5},
        {coverWidth, coverHeight, 8},     {3601, 199, 16}};
    const Bytes cover = Cover();
    for (const Target& target : targets) {
        SCOPED_TRACE(std::to_string(target.width) + "x" + std::to_string(target.height));
        const std::vector<std::uint32_t> pixels =
            DecodeJpegToSize(cover, target.width, target.height);
        ASSERT_EQ(pixels.size(), std::size_t(target.width) * target.height);
        EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(),
                                [](std::uint32_t pixel) { return pixel >> 24 == 0; }));
        const Difference difference =
            Compare(pixels, AreaAverage(DecodeScaled(cover, target.scaleEighths), target.width,
                                        target.height));
        EXPECT_LE(difference.largest, 0.5 + 1e-6);
    }
}

// Against the full-size picture the reduced decode is close but not exact: an 8x8 block is
// decoded as one pixel, and where a destination pixel's border cuts a block that holds a sharp
// gold edge, the block's part is taken as its average.
TEST(JpegImage, TheControlSizeDecodeIsCloseToTheAverageOfTheFullPicture) {
    const Bytes cover = Cover();
    const Difference difference =
        Compare(DecodeJpegToSize(cover, controlWidth, controlHeight),
                AreaAverage(DecodeScaled(cover, 8), controlWidth, controlHeight));
    EXPECT_LE(difference.mean, 1.5);
    EXPECT_LE(difference.largest, 48);
}

TEST(JpegImage, AnEmptySizeGivesNoPixelsAndAnImpossibleOneNoMemory) {
    const Bytes cover = Cover();
    EXPECT_TRUE(DecodeJpegToSize(cover, 0, controlHeight).empty());
    EXPECT_TRUE(DecodeJpegToSize(cover, controlWidth, 0).empty());
    EXPECT_TRUE(DecodeJpegToSize(cover, -1, -1).empty());
    EXPECT_THROW(DecodeJpegToSize(cover, 65536, 65536), std::bad_alloc);
}

// A damaged picture raises EJPEG with libjpeg's own message code; the process goes on and
// nothing is printed. The last case has a readable header and fails only once decoding starts,
// deep inside the library.
TEST(JpegImage, DamagedPicturesRaiseEJPEGWithTheLibraryCode) {
    struct Damage {
        const char* name;
        Bytes jpeg;
        int code;
        bool headerReadable;
    };
    const Bytes cover = Cover();
    const std::size_t frame = SegmentOffset(cover, sof0);
    const std::size_t dcTable = SegmentOffset(cover, dht, [&](std::size_t at) {
        return (cover[at + 4] >> 4) == 0; // table class 0: DC
    });
    const Damage damages[] = {
        {"empty", {}, JERR_INPUT_EMPTY, false},
        {"not a JPEG",
         {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13},
         JERR_NO_SOI,
         false},
        {"start of image, then junk",
         Changed(Prefix(cover, 64),
                 [](Bytes& jpeg) { std::fill(jpeg.begin() + 2, jpeg.end(), 0x55); }),
         JERR_NO_IMAGE, false},
        {"cut before the frame header", Prefix(cover, frame), JERR_NO_IMAGE, false},
        {"cut inside the frame header", Prefix(cover, frame + 6), JERR_BAD_LENGTH, false},
        {"zero width", Changed(cover, [&](Bytes& jpeg) { jpeg[frame + 7] = jpeg[frame + 8] = 0; }),
         JERR_EMPTY_IMAGE, false},
        {"12-bit samples", Changed(cover, [&](Bytes& jpeg) { jpeg[frame + 4] = 12; }),
         JERR_BAD_PRECISION, false},
        {"DC Huffman symbol out of range",
         Changed(cover, [&](Bytes& jpeg) { jpeg[dcTable + 5 + 16] = 0x20; }), JERR_BAD_HUFF_TABLE,
         true},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        const std::string printed = StderrOf([&] {
            if (damage.headerReadable)
                EXPECT_EQ(ReadJpegSize(damage.jpeg).width, coverWidth);
            else
                ExpectJpegError([&] { ReadJpegSize(damage.jpeg); }, damage.code);
            ExpectJpegError([&] { DecodeJpegToSize(damage.jpeg, controlWidth, controlHeight); },
                            damage.code);
        });
        EXPECT_EQ(printed, "");
    }
}

// A picture cut short inside its image data still decodes, silently: what is there shows, the
// rest is libjpeg's mid-grey fill. Missing only its end-of-image marker, it decodes whole.
TEST(JpegImage, ACutPictureDecodesWhatIsThereSilently) {
    const Bytes cover = Cover();
    const std::vector<std::uint32_t> whole = DecodeJpegToSize(cover, controlWidth, controlHeight);
    constexpr std::uint32_t fillGrey = 0x808080;
    ASSERT_NE(whole.back(), fillGrey);
    const std::size_t cuts[] = {SegmentOffset(cover, sos) + 200, cover.size() / 2,
                                cover.size() * 9 / 10, cover.size() - 2};
    for (const std::size_t cut : cuts) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        std::vector<std::uint32_t> pixels;
        EXPECT_EQ(StderrOf([&] {
                      pixels = DecodeJpegToSize(Prefix(cover, cut), controlWidth, controlHeight);
                  }),
                  "");
        if (cut == cover.size() - 2) {
            EXPECT_EQ(pixels, whole);
        } else {
            ASSERT_EQ(pixels.size(), whole.size());
            EXPECT_EQ(pixels.front(), whole.front());
            EXPECT_EQ(pixels.back(), fillGrey);
        }
    }
}

} // namespace
