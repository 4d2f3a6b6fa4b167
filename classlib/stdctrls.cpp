#include "stdctrls.h"

namespace classlib {

void TButton::Click() {
    if (OnClick)
        OnClick(this);
}

void TButton::SetProperty(std::string_view name, const form::Value& value,
                          TPropertyContext& context) {
    if (name == "OnClick")
        OnClick = context.Handler(value.AsIdent());
    else
        TWinControl::SetProperty(name, value, context);
}

void TButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.windowClass = "BUTTON";
    params.systemClass = true;
    params.style |= WS_TABSTOP | BS_PUSHBUTTON;
}

void TButton::Command(WORD notification) {
    if (notification == BN_CLICKED)
        Click();
}

} // namespace classlib
