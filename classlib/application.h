#pragma once
// The application object: title and icon, its own window (which owns the main form and every
// error box, and stands for the program on the taskbar), the message loop and error reporting.
#include "exceptions.h"
#include "forms.h"

#include <memory>
#include <new>

namespace classlib {

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    HWND Handle() const { return handle_; }
    // The executable's file name without folder and extensions, lower case from the second
    // character.
    const std::string& Title() const { return title_; }
    HICON Icon() const { return icon_; }
    TForm* MainForm() const { return mainForm_; }

    // Nothing to prepare: no initialisation hook is registered.
    void Initialize() {}

    // Creates a form owned by the application; the reference is set before the form's
    // constructor runs and is null again when construction fails. The first form is the main
    // form.
    template <class TFormClass> void CreateForm(TFormClass*& reference);

    // Shows the main form in the state the program was started with, then runs the message
    // loop until Terminate.
    void Run();
    void Terminate();
    void Minimize();
    void Restore();

    // Reports the exception being handled; call it inside a catch block.
    void HandleException(TComponent* sender) noexcept;
    void ShowException(const Exception& exception) noexcept;

private:
    void ShowMainForm();
    bool PreTranslateMessage(MSG& message);
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::string title_;
    HICON icon_ = nullptr; // a shared resource icon: never destroyed
    HWND handle_ = nullptr;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
};

extern TApplication* const Application;

template <class TFormClass> void TApplication::CreateForm(TFormClass*& reference) {
    void* memory = ::operator new(sizeof(TFormClass));
    reference = static_cast<TFormClass*>(memory);
    TFormClass* form = nullptr;
    try {
        form = new (memory) TFormClass(this);
    } catch (...) {
        reference = nullptr;
        ::operator delete(memory);
        throw;
    }
    Adopt(std::unique_ptr<TComponent>(form));
    if (!mainForm_)
        mainForm_ = form;
}

} // namespace classlib
