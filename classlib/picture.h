#pragma once
// Pictures as the layout carries them: a record naming the picture class, then that class's
// own data. A JPEG keeps its bytes and reads only its header when loaded; it is decoded to the
// size it is drawn at on its first draw, once.
#include "gdi_object.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace classlib {

class TGraphic {
public:
    virtual ~TGraphic() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Draws the graphic stretched over the rectangle.
    virtual void Draw(HDC dc, const RECT& rect) = 0;
};

class TJPEGImage : public TGraphic {
public:
    // Takes a copy of the JPEG bytes and reads the header; EJPEG when it cannot be read.
    explicit TJPEGImage(std::span<const std::uint8_t> jpeg);

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void Draw(HDC dc, const RECT& rect) override;
    int DecodeCount() const { return decodeCount_; }

private:
    std::vector<std::uint8_t> jpeg_;
    int width_ = 0, height_ = 0;
    TGdiObject<HBITMAP> decoded_; // the picture at the size it was first drawn
    SIZE decodedSize_{};
    int decodeCount_ = 0;
    bool decodeFailed_ = false; // reported once; later paints leave the control empty
};

class TPicture {
public:
    // Reads a picture record: a 1-byte class-name length, the class name, the class's data.
    void LoadData(std::span<const std::uint8_t> record);
    TGraphic* Graphic() const { return graphic_.get(); }

private:
    std::unique_ptr<TGraphic> graphic_;
};

} // namespace classlib
