#include "comctrls.h"

#include "exceptions.h"
#include "property_values.h"

#include <commctrl.h>

namespace classlib {

namespace {

void InitTabControlClass() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TAB_CLASSES};
        return InitCommonControlsEx(&classes) != FALSE;
    }();
    if (!registered)
        throw Exception("Cannot load the tab control");
}

bool Contains(HWND ancestor, HWND window) {
    return window && (window == ancestor || IsChild(ancestor, window));
}

} // namespace

std::vector<TTabSheet*> TPageControl::Pages() const {
    std::vector<TTabSheet*> pages;
    for (TControl* control : Controls())
        if (auto* page = dynamic_cast<TTabSheet*>(control))
            pages.push_back(page);
    return pages;
}

int TPageControl::PageIndex(TTabSheet* page) const {
    const auto pages = Pages();
    for (std::size_t i = 0; i < pages.size(); ++i)
        if (pages[i] == page)
            return static_cast<int>(i);
    return -1;
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page == activePage_)
        return;
    TTabSheet* previous = activePage_;
    activePage_ = page;
    if (!HandleAllocated())
        return;
    const bool focusWasOnPage = previous && Contains(previous->Handle(), GetFocus());
    if (page)
        ShowWindow(page->Handle(), SW_SHOW);
    if (previous)
        ShowWindow(previous->Handle(), SW_HIDE);
    SendMessageA(tabStrip_, TCM_SETCURSEL, PageIndex(page), 0);
    // A focus left on the hidden sheet would leave the keyboard nowhere visible.
    if (focusWasOnPage)
        SetFocus(tabStrip_);
}

void TPageControl::SelectNextPage(bool forward) {
    const auto pages = Pages();
    if (pages.empty())
        return;
    const int count = static_cast<int>(pages.size());
    const int index = PageIndex(activePage_);
    SetActivePage(pages[(index + (forward ? 1 : count - 1)) % count]);
}

HWND TPageControl::FocusTarget() {
    return tabStrip_;
}

bool TPageControl::DialogKey(WORD key) {
    if (key != VK_TAB || GetKeyState(VK_CONTROL) >= 0)
        return false;
    SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
    return true;
}

void TPageControl::SetProperty(std::string_view name, const form::Value& value,
                               TPropertyContext& context) {
    if (name == "ActivePage") {
        const std::string pageName = value.AsIdent();
        context.AfterLoading([this, pageName, &context] {
            auto* page = dynamic_cast<TTabSheet*>(&context.Component(pageName));
            if (!page)
                throw EReadError("Invalid property value");
            SetActivePage(page);
        });
    } else if (name == "TabIndex") {
        const int index = value.AsInt();
        context.AfterLoading([this, index] {
            const auto pages = Pages();
            if (index < 0 || index >= static_cast<int>(pages.size()))
                throw EReadError("Invalid property value");
            SetActivePage(pages[index]);
        });
    } else
        TWinControl::SetProperty(name, value, context);
}

void TPageControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.windowClass = "Valkesta.PageControl";
    params.style |= WS_CLIPCHILDREN;
    params.exStyle |= WS_EX_CONTROLPARENT;
}

void TPageControl::CreateWnd() {
    InitTabControlClass();
    tabStrip_ = CreateWindowExA(
        0, WC_TABCONTROLA, "",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | TCS_TABS | TCS_SINGLELINE, 0, 0,
        Width(), Height(), Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!tabStrip_)
        throw Exception("Error creating window " + Name());
    SendMessageA(tabStrip_, WM_SETFONT, reinterpret_cast<WPARAM>(EffectiveFont().Handle()), FALSE);
    const auto pages = Pages();
    for (std::size_t i = 0; i < pages.size(); ++i) {
        std::string text = pages[i]->Caption();
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageA(tabStrip_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    // Each sheet fills the strip's display area.
    RECT display{0, 0, Width(), Height()};
    SendMessageA(tabStrip_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    for (TTabSheet* page : pages)
        page->SetBounds(display.left, display.top, display.right - display.left,
                        display.bottom - display.top);
    SendMessageA(tabStrip_, TCM_SETCURSEL, PageIndex(activePage_), 0);
}

void TPageControl::CreateChildHandles() {
    TWinControl::CreateChildHandles();
    SetWindowPos(tabStrip_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT TPageControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.hwndFrom == tabStrip_ && header.code == static_cast<UINT>(TCN_SELCHANGE)) {
            const auto pages = Pages();
            const auto index = SendMessageA(tabStrip_, TCM_GETCURSEL, 0, 0);
            if (index >= 0 && index < static_cast<LRESULT>(pages.size()))
                SetActivePage(pages[index]);
            return 0;
        }
    }
    return TWinControl::WndProc(message, wParam, lParam);
}

void TTabSheet::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.windowClass = "Valkesta.TabSheet";
    params.style |= WS_CLIPCHILDREN;
    params.exStyle |= WS_EX_CONTROLPARENT;
    auto* pageControl = dynamic_cast<TPageControl*>(Parent());
    if (!pageControl || pageControl->ActivePage() != this)
        params.style &= ~WS_VISIBLE;
}

} // namespace classlib
