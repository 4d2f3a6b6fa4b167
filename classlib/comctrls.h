#pragma once
// A page control: the standard tab control as its tab strip, and one tab sheet per tab. The
// sheets lie above the strip in window order, so the dialog manager's Tab cycle runs from the
// strip through the shown sheet's buttons and back.
#include "controls.h"

#include <vector>

namespace classlib {

class TTabSheet;

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* owner) : TWinControl(owner) {}

    TTabSheet* ActivePage() const { return activePage_; }
    void SetActivePage(TTabSheet* page);
    // Shows the next tab, or the previous one, wrapping around (Ctrl+Tab, Ctrl+Shift+Tab).
    void SelectNextPage(bool forward);
    HWND TabStrip() const { return tabStrip_; }

    HWND FocusTarget() override;
    bool DialogKey(WORD key) override;
    void SetProperty(std::string_view name, const form::Value& value,
                     TPropertyContext& context) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void CreateChildHandles() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<TTabSheet*> Pages() const;
    int PageIndex(TTabSheet* page) const;

    TTabSheet* activePage_ = nullptr;
    HWND tabStrip_ = nullptr; // a child window: destroyed with ours
};

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner) : TWinControl(owner) {}

protected:
    void CreateParams(TCreateParams& params) override;
};

} // namespace classlib
