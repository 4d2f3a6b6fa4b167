#include "graphics.h"

namespace classlib {

void TFont::SetName(std::string name) {
    name_ = std::move(name);
    handle_.Reset();
}

void TFont::SetHeight(int height) {
    height_ = height;
    handle_.Reset();
}

void TFont::SetBold(bool bold) {
    bold_ = bold;
    handle_.Reset();
}

void TFont::SetCharset(int charset) {
    charset_ = charset;
    handle_.Reset();
}

void TFont::SetColor(COLORREF color) {
    color_ = color;
}

HFONT TFont::Handle() const {
    if (!handle_)
        handle_.Reset(CreateFontA(height_, 0, 0, 0, bold_ ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                  FALSE, static_cast<BYTE>(charset_), OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                  name_.c_str()));
    return handle_.Get();
}

} // namespace classlib
