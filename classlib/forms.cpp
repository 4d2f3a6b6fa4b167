#include "forms.h"

#include "application.h"
#include "form_loader.h"
#include "property_values.h"
#include "streams.h"

namespace classlib {

namespace {

// The layout resource's type: RCDATA, by number.
constexpr char LayoutResourceType[] = "#10";

// Every control below the form, for a walk over the whole tree.
template <class F> void ForEachControl(TWinControl& parent, F&& visit) {
    for (TControl* control : parent.Controls()) {
        visit(*control);
        if (auto* container = dynamic_cast<TWinControl*>(control))
            ForEachControl(*container, visit);
    }
}

int ScreenPixelsPerInch() {
    return GetDeviceCaps(TScreenDC().Get(), LOGPIXELSY);
}

int TextHeightOf(const TFont& font) {
    const TScreenDC screen;
    const TSelectedObject selected(screen.Get(), font.Handle());
    SIZE size{};
    GetTextExtentPoint32A(screen.Get(), "0", 1, &size);
    return size.cy;
}

} // namespace

TForm::TForm(TComponent* owner, std::string_view className, const THandlerTable& handlers)
    : TWinControl(owner), className_(className) {
    TResourceStream layout(nullptr, className_, LayoutResourceType);
    const auto* bytes = static_cast<const std::uint8_t*>(layout.Memory());
    LoadForm(*this, form::ReadForm({bytes, static_cast<std::size_t>(layout.Size())}), handlers);
    ScaleToScreen();
    Handle();
}

void TForm::Show(int showCommand) {
    ShowWindow(Handle(), showCommand);
    UpdateWindow(Handle());
}

void TForm::SetProperty(std::string_view name, const form::Value& value,
                        TPropertyContext& context) {
    if (name == "ClientWidth")
        clientWidth_ = value.AsInt();
    else if (name == "ClientHeight")
        clientHeight_ = value.AsInt();
    else if (name == "BorderStyle")
        borderStyle_ = EnumValue(value, {"bsSingle", "bsSizeable"}) == 0
                           ? WS_CAPTION
                           : WS_CAPTION | WS_THICKFRAME;
    else if (name == "BorderIcons") {
        borderIcons_ = 0;
        for (const std::string& icon : value.AsSet()) {
            constexpr DWORD styles[] = {WS_SYSMENU, WS_MINIMIZEBOX, WS_MAXIMIZEBOX};
            borderIcons_ |= styles[EnumIndex(icon, {"biSystemMenu", "biMinimize", "biMaximize"})];
        }
    } else if (name == "Color") {
        // The form's window class paints the button face; no other colour is offered.
        if (ColorValue(value) != GetSysColor(COLOR_BTNFACE))
            throw EReadError("Invalid property value");
    } else if (name == "PixelsPerInch")
        pixelsPerInch_ = value.AsInt();
    else if (name == "TextHeight")
        textHeight_ = value.AsInt();
    else if (name == "OldCreateOrder")
        value.AsBool(); // creation order only matters to an OnCreate handler, which forms lack
    else
        TWinControl::SetProperty(name, value, context);
}

// The layout's numbers are pixels at its PixelsPerInch: on another screen the fonts follow the
// screen, and the layout follows the fonts when their text height changes.
void TForm::ScaleToScreen() {
    const int screen = ScreenPixelsPerInch();
    if (screen == pixelsPerInch_)
        return;
    const auto scaleFont = [&](TFont& font) {
        font.SetHeight(MulDiv(font.Height(), screen, pixelsPerInch_));
    };
    scaleFont(Font());
    ForEachControl(*this, [&](TControl& control) {
        if (!control.ParentFont())
            scaleFont(control.Font());
    });
    const int textHeight = TextHeightOf(Font());
    if (textHeight != textHeight_) {
        clientWidth_ = MulDiv(clientWidth_, textHeight, textHeight_);
        clientHeight_ = MulDiv(clientHeight_, textHeight, textHeight_);
        for (TControl* control : Controls())
            control->ChangeScale(textHeight, textHeight_);
    }
}

void TForm::CreateParams(TCreateParams& params) {
    params.windowClass = className_;
    params.style = WS_CLIPCHILDREN | borderStyle_ | borderIcons_;
    params.exStyle = WS_EX_CONTROLPARENT;
    RECT outer{0, 0, clientWidth_, clientHeight_};
    AdjustWindowRectEx(&outer, params.style, FALSE, params.exStyle);
    params.x = Left();
    params.y = Top();
    params.width = outer.right - outer.left;
    params.height = outer.bottom - outer.top;
    params.parent = Application->Handle(); // the owner: the form stays off the taskbar
}

void TForm::CreateWnd() {
    // The form has no icon of its own and shows the application's.
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Application->Icon()));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Application->Icon()));
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        if (Application->MainForm() == this) {
            ShowWindow(Handle(), SW_HIDE);
            Application->Terminate();
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE && Application->MainForm() == this) {
            Application->Minimize();
            return 0;
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(Handle(), focus))
                focusedControl_ = focus;
        } else {
            // First activation: the first control in tab order; later, where the focus was.
            const HWND target =
                focusedControl_ && IsWindow(focusedControl_) && IsWindowVisible(focusedControl_)
                    ? focusedControl_
                    : FocusTarget();
            if (target)
                SetFocus(target);
        }
        return 0;
    }
    return TWinControl::WndProc(message, wParam, lParam);
}

} // namespace classlib
