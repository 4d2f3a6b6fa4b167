#pragma once
// Controls and windowed controls. Every window of the class library, our own classes and the
// standard controls alike, runs through one window procedure that catches every exception at
// the callback boundary and hands it to the application.
#include "components.h"
#include "graphics.h"

#include <windows.h>

#include <string>
#include <vector>

namespace classlib {

class TWinControl;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner) : TComponent(owner) {}

    TWinControl* Parent() const { return parent_; }
    void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    virtual void SetBounds(int left, int top, int width, int height);

    const std::string& Caption() const { return caption_; } // ANSI code page text
    virtual void SetCaption(std::string caption);

    TFont& Font() { return font_; }
    bool ParentFont() const { return parentFont_; }
    // The font the control draws with: its own, or its parent's when ParentFont is set.
    const TFont& EffectiveFont() const;

    int TabOrder() const { return tabOrder_; }
    bool Visible() const { return visible_; }

    void SetProperty(std::string_view name, const form::Value& value,
                     TPropertyContext& context) override;
    // Multiplies every position and size by multiplier / divisor.
    virtual void ChangeScale(int multiplier, int divisor);

private:
    friend class TWinControl; // a parent going away lets go of its children
    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::string caption_;
    TFont font_;
    bool parentFont_ = true;
    int tabOrder_ = -1;
    bool visible_ = true;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner) : TControl(owner) {}
    ~TWinControl() override;

    // The control's window, made (with its parent's and its children's) when there is none yet.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    static TWinControl* FromHandle(HWND window);

    const std::vector<TControl*>& Controls() const { return controls_; }
    void InsertControl(TControl* control) { controls_.push_back(control); }
    void RemoveControl(TControl* control);
    std::vector<TControl*> ControlsInTabOrder() const;

    void SetBounds(int left, int top, int width, int height) override;
    void SetCaption(std::string caption) override;

    // Where the keyboard focus goes when this control is the one to receive it.
    virtual HWND FocusTarget();
    // A key pressed while the focus is on this control or inside it, offered before the
    // dialog manager sees it; true when the control has handled it.
    virtual bool DialogKey(WORD /*key*/) { return false; }
    void ChangeScale(int multiplier, int divisor) override;

protected:
    struct TCreateParams {
        std::string windowClass;
        bool systemClass = false; // a standard control: subclassed instead of registered
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
        DWORD exStyle = 0;
        int x = 0, y = 0, width = 0, height = 0;
        HWND parent = nullptr;
    };
    virtual void CreateParams(TCreateParams& params);
    // Runs after the window exists, before the children's windows are made.
    virtual void CreateWnd() {}
    virtual void CreateChildHandles();

    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);
    // A notification that the control's own window sent to its parent (BN_CLICKED, ...).
    virtual void Command(WORD /*notification*/) {}

private:
    void CreateHandle();
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM);
    void Attach(HWND window);
    void Detach();

    HWND handle_ = nullptr;
    WNDPROC systemProc_ = nullptr;
    std::vector<TControl*> controls_;
};

// Called by the window procedure with the exception of the message that failed; the
// application reports it, and the message loop goes on.
void HandleDispatchException(TComponent* sender) noexcept;

} // namespace classlib
