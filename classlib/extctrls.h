#pragma once
// An image control: draws its picture, stretched over the whole control when Stretch is set.
#include "controls.h"
#include "picture.h"

namespace classlib {

class TImage : public TWinControl {
public:
    explicit TImage(TComponent* owner) : TWinControl(owner) {}

    TPicture& Picture() { return picture_; }
    bool Stretch() const { return stretch_; }

    void SetProperty(std::string_view name, const form::Value& value,
                     TPropertyContext& context) override;

protected:
    void CreateParams(TCreateParams& params) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc);

    TPicture picture_;
    bool stretch_ = false;
};

} // namespace classlib
