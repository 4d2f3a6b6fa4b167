#pragma once
// Fonts as the layout describes them; the GDI font is made when first needed.
#include "gdi_object.h"

#include <string>

namespace classlib {

class TFont {
public:
    const std::string& Name() const { return name_; }
    int Height() const { return height_; }
    bool Bold() const { return bold_; }
    int Charset() const { return charset_; }
    COLORREF Color() const { return color_; }

    void SetName(std::string name);
    void SetHeight(int height);
    void SetBold(bool bold);
    void SetCharset(int charset);
    void SetColor(COLORREF color);

    HFONT Handle() const;

private:
    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    bool bold_ = false;
    int charset_ = DEFAULT_CHARSET;
    COLORREF color_ = GetSysColor(COLOR_WINDOWTEXT);
    mutable TGdiObject<HFONT> handle_;
};

} // namespace classlib
