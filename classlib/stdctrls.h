#pragma once
// A push button on the standard BUTTON control.
#include "controls.h"
#include "property_values.h"

namespace classlib {

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner) : TWinControl(owner) {}

    TNotifyEvent OnClick;
    // Presses the button as a mouse click, Enter or the space bar does.
    void Click();

    void SetProperty(std::string_view name, const form::Value& value,
                     TPropertyContext& context) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Command(WORD notification) override;
};

} // namespace classlib
