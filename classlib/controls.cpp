#include "controls.h"

#include "exceptions.h"
#include "property_values.h"

#include <algorithm>

namespace classlib {

namespace {

// The window property that leads from a window to its control object.
constexpr char ControlProperty[] = "Valkesta.Control";

void RegisterOwnClass(const std::string& name) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoExA(instance, name.c_str(), &existing))
        return;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA; // replaced per window in Attach
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name.c_str();
    if (!RegisterClassExA(&windowClass))
        throw Exception("Cannot register window class " + name);
}

} // namespace

// ---- TControl ----

void TControl::SetParent(TWinControl* parent) {
    if (parent_)
        parent_->RemoveControl(this);
    parent_ = parent;
    if (parent_)
        parent_->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void TControl::SetCaption(std::string caption) {
    caption_ = std::move(caption);
}

const TFont& TControl::EffectiveFont() const {
    return parentFont_ && parent_ ? parent_->EffectiveFont() : font_;
}

void TControl::ChangeScale(int multiplier, int divisor) {
    SetBounds(MulDiv(left_, multiplier, divisor), MulDiv(top_, multiplier, divisor),
              MulDiv(width_, multiplier, divisor), MulDiv(height_, multiplier, divisor));
}

void TControl::SetProperty(std::string_view name, const form::Value& value,
                           TPropertyContext& context) {
    if (name == "Left")
        SetBounds(value.AsInt(), top_, width_, height_);
    else if (name == "Top")
        SetBounds(left_, value.AsInt(), width_, height_);
    else if (name == "Width")
        SetBounds(left_, top_, value.AsInt(), height_);
    else if (name == "Height")
        SetBounds(left_, top_, width_, value.AsInt());
    else if (name == "Caption")
        SetCaption(AnsiText(value));
    else if (name == "TabOrder")
        tabOrder_ = value.AsInt();
    else if (name == "Visible")
        visible_ = value.AsBool();
    else if (name == "ParentFont")
        parentFont_ = value.AsBool();
    else if (name == "Font.Name")
        font_.SetName(AnsiText(value));
    else if (name == "Font.Height")
        font_.SetHeight(value.AsInt());
    else if (name == "Font.Charset")
        font_.SetCharset(EnumValue(value, {"ANSI_CHARSET", "DEFAULT_CHARSET"}) == 0
                             ? ANSI_CHARSET
                             : DEFAULT_CHARSET);
    else if (name == "Font.Color")
        font_.SetColor(ColorValue(value));
    else if (name == "Font.Style") {
        const auto& styles = value.AsSet();
        for (const std::string& style : styles)
            if (style != "fsBold")
                throw EReadError("Invalid property value");
        font_.SetBold(!styles.empty());
    } else
        TComponent::SetProperty(name, value, context);
}

// ---- TWinControl ----

TWinControl::~TWinControl() {
    if (handle_)
        DestroyWindow(handle_);
    // The children may outlive this control (their owner destroys them later).
    for (TControl* control : controls_)
        control->parent_ = nullptr;
    if (Parent())
        Parent()->RemoveControl(this);
}

void TWinControl::RemoveControl(TControl* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

TWinControl* TWinControl::FromHandle(HWND window) {
    return window ? static_cast<TWinControl*>(GetPropA(window, ControlProperty)) : nullptr;
}

HWND TWinControl::Handle() {
    if (!handle_)
        CreateHandle();
    return handle_;
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.windowClass = "Valkesta.WinControl";
    if (Visible())
        params.style |= WS_VISIBLE;
    params.x = Left();
    params.y = Top();
    params.width = Width();
    params.height = Height();
    if (Parent())
        params.parent = Parent()->Handle();
    else
        params.style &= ~(WS_CHILD | WS_VISIBLE); // a hidden top-level window
}

void TWinControl::CreateHandle() {
    TCreateParams params;
    CreateParams(params);
    if (!params.systemClass)
        RegisterOwnClass(params.windowClass);
    static int nextId = 0x100; // clear of IDOK/IDCANCEL, which the dialog manager sends itself
    const auto id = (params.style & WS_CHILD) ? reinterpret_cast<HMENU>(nextId++) : nullptr;
    const HWND window =
        CreateWindowExA(params.exStyle, params.windowClass.c_str(), Caption().c_str(), params.style,
                        params.x, params.y, params.width, params.height, params.parent, id,
                        GetModuleHandleA(nullptr), nullptr);
    if (!window)
        throw Exception("Error creating window " + Name());
    Attach(window);
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(EffectiveFont().Handle()), FALSE);
    CreateWnd();
    CreateChildHandles();
}

void TWinControl::CreateChildHandles() {
    // The dialog manager walks siblings in window order: put them in tab order.
    for (TControl* control : ControlsInTabOrder())
        if (auto* child = dynamic_cast<TWinControl*>(control))
            SetWindowPos(child->Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::Attach(HWND window) {
    handle_ = window;
    SetPropA(window, ControlProperty, this);
    // Our own classes have DefWindowProc as their class procedure, so both kinds of window
    // are subclassed alike.
    systemProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
}

void TWinControl::Detach() {
    RemovePropA(handle_, ControlProperty);
    handle_ = nullptr;
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    TWinControl* control = FromHandle(window);
    if (!control)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const LRESULT result = control->DefaultHandler(message, wParam, lParam);
        control->Detach();
        return result;
    }
    return control->Dispatch(message, wParam, lParam);
}

LRESULT TWinControl::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        return WndProc(message, wParam, lParam);
    } catch (...) {
        HandleDispatchException(this);
        return 0;
    }
}

LRESULT TWinControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && lParam != 0) {
        // Notifications of child controls go to the child's own object.
        if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
            child->Command(HIWORD(wParam));
            return 0;
        }
    }
    return DefaultHandler(message, wParam, lParam);
}

LRESULT TWinControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(systemProc_, handle_, message, wParam, lParam);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    if (handle_)
        MoveWindow(handle_, left, top, width, height, TRUE);
}

void TWinControl::SetCaption(std::string caption) {
    TControl::SetCaption(std::move(caption));
    if (handle_)
        SetWindowTextA(handle_, Caption().c_str());
}

void TWinControl::ChangeScale(int multiplier, int divisor) {
    TControl::ChangeScale(multiplier, divisor);
    for (TControl* control : controls_)
        control->ChangeScale(multiplier, divisor);
}

std::vector<TControl*> TWinControl::ControlsInTabOrder() const {
    // Controls that are no tab stops (TabOrder -1) go last.
    std::vector<TControl*> ordered = controls_;
    std::stable_sort(ordered.begin(), ordered.end(), [](TControl* a, TControl* b) {
        return static_cast<unsigned>(a->TabOrder()) < static_cast<unsigned>(b->TabOrder());
    });
    return ordered;
}

HWND TWinControl::FocusTarget() {
    if (handle_ && (GetWindowLongA(handle_, GWL_STYLE) & WS_TABSTOP))
        return handle_;
    for (TControl* control : ControlsInTabOrder())
        if (auto* child = dynamic_cast<TWinControl*>(control); child && child->Visible())
            if (HWND target = child->FocusTarget())
                return target;
    return nullptr;
}

} // namespace classlib
