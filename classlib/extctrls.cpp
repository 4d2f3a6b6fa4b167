#include "extctrls.h"

#include "property_values.h"

namespace classlib {

namespace {

// Begins and ends one WM_PAINT.
class TPaintScope {
public:
    explicit TPaintScope(HWND window) : window_(window) { BeginPaint(window_, &paint_); }
    ~TPaintScope() { EndPaint(window_, &paint_); }
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;
    HDC Dc() const { return paint_.hdc; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
};

} // namespace

void TImage::SetProperty(std::string_view name, const form::Value& value,
                         TPropertyContext& context) {
    if (name == "Picture.Data")
        picture_.LoadData(value.AsBinary());
    else if (name == "Stretch")
        stretch_ = value.AsBool();
    else
        TWinControl::SetProperty(name, value, context);
}

void TImage::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.windowClass = "Valkesta.Image";
}

LRESULT TImage::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // Paint covers the whole control
    case WM_PAINT: {
        const TPaintScope paint(Handle());
        Paint(paint.Dc());
        return 0;
    }
    }
    return TWinControl::WndProc(message, wParam, lParam);
}

void TImage::Paint(HDC dc) {
    RECT client;
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    TGraphic* graphic = picture_.Graphic();
    if (!graphic)
        return;
    const RECT target = stretch_ ? client : RECT{0, 0, graphic->Width(), graphic->Height()};
    graphic->Draw(dc, target);
}

} // namespace classlib
