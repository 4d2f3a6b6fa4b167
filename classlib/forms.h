#pragma once
// Forms built from their layout resource, and the application object that owns them, runs
// the message loop and reports every failure in the error box.
#include "controls.h"
#include "exceptions.h"

#include <string_view>
#include <vector>

namespace classlib {

class TForm;
using TFormMethod = void (TForm::*)(TComponent* sender);
struct THandlerEntry {
    std::string_view name;
    TFormMethod method;
};
// The event handlers a form class offers to its layout, by name.
using THandlerTable = std::vector<THandlerEntry>;

class TForm : public TWinControl {
public:
    // Builds the form from the RCDATA resource named after its class (EResNotFound when there
    // is none; EReadError when the layout cannot be read) and makes its window, still hidden.
    TForm(TComponent* owner, std::string_view className, const THandlerTable& handlers);

    const std::string& ClassName() const { return className_; }
    void Show(int showCommand);

    void SetProperty(std::string_view name, const form::Value& value,
                     TPropertyContext& context) override;

    // Finds a component the layout created, of the class the form declares for it.
    template <class T> T* Find(std::string_view name) const {
        auto* component = dynamic_cast<T*>(FindComponent(name));
        if (!component)
            throw Exception("Component " + std::string(name) + " not found");
        return component;
    }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ScaleToScreen();

    std::string className_;
    DWORD borderStyle_ = WS_CAPTION | WS_THICKFRAME;
    DWORD borderIcons_ = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    int clientWidth_ = 0, clientHeight_ = 0;
    int pixelsPerInch_ = 96;
    int textHeight_ = 13;
    HWND focusedControl_ = nullptr; // restored when the form is activated again
};

} // namespace classlib
