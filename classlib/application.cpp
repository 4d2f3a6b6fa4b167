#include "application.h"

#include "error_text.h"

#include <vector>

namespace classlib {

namespace {

std::string TitleFromExecutable() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string title(path, length);
    title.erase(0, title.rfind('\\') + 1);
    title.erase(std::min(title.find('.'), title.size()));
    if (title.size() > 1)
        CharLowerBuffA(title.data() + 1, static_cast<DWORD>(title.size() - 1));
    return title;
}

// While a modal box is open every other window of the program is disabled; afterwards they
// are enabled again and the window that was active is active again.
class TOtherWindowsDisabled {
public:
    TOtherWindowsDisabled() : active_(GetActiveWindow()) {
        EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this));
        for (HWND window : disabled_)
            EnableWindow(window, FALSE);
    }
    ~TOtherWindowsDisabled() {
        for (auto window = disabled_.rbegin(); window != disabled_.rend(); ++window)
            EnableWindow(*window, TRUE);
        if (active_ && IsWindow(active_))
            SetActiveWindow(active_);
    }
    TOtherWindowsDisabled(const TOtherWindowsDisabled&) = delete;
    TOtherWindowsDisabled& operator=(const TOtherWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM self) {
        if (IsWindowVisible(window) && IsWindowEnabled(window))
            reinterpret_cast<TOtherWindowsDisabled*>(self)->disabled_.push_back(window);
        return TRUE;
    }

    HWND active_;
    std::vector<HWND> disabled_;
};

constexpr char ApplicationWindowClass[] = "TApplication";

TApplication applicationObject;

} // namespace

TApplication* const Application = &applicationObject;

TApplication::TApplication()
    : TComponent(nullptr), title_(TitleFromExecutable()),
      icon_(LoadIconA(GetModuleHandleA(nullptr), "MAINICON")) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = icon_;
    windowClass.lpszClassName = ApplicationWindowClass;
    RegisterClassExA(&windowClass);
    // A window without size: it is only the program's button on the taskbar.
    handle_ = CreateWindowExA(0, ApplicationWindowClass, title_.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2,
                              0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TApplication::~TApplication() {
    if (handle_)
        DestroyWindow(handle_); // and with it the forms it owns
}

void TApplication::Run() {
    if (!mainForm_)
        return;
    ShowMainForm();
    while (!terminated_) {
        try {
            MSG message;
            if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
                terminated_ = true;
                break;
            }
            if (!PreTranslateMessage(message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        } catch (...) {
            HandleException(this);
        }
    }
}

void TApplication::ShowMainForm() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const int state =
        (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWNORMAL;
    ShowWindow(handle_, SW_SHOWNOACTIVATE);
    switch (state) {
    case SW_SHOWMAXIMIZED:
        mainForm_->Show(SW_SHOWMAXIMIZED);
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        mainForm_->Show(SW_SHOWNORMAL);
        Minimize();
        break;
    default:
        mainForm_->Show(SW_SHOWNORMAL);
    }
}

bool TApplication::PreTranslateMessage(MSG& message) {
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
        // Keys a container handles before the dialog manager sees them (Ctrl+Tab).
        for (HWND window = GetFocus(); window; window = GetAncestor(window, GA_PARENT)) {
            if (TWinControl* control = TWinControl::FromHandle(window);
                control && control->DialogKey(static_cast<WORD>(message.wParam)))
                return true;
            if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD))
                break;
        }
    }
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    return root && dynamic_cast<TForm*>(TWinControl::FromHandle(root)) &&
           IsDialogMessageA(root, &message);
}

void TApplication::Terminate() {
    PostQuitMessage(0);
}

void TApplication::Minimize() {
    // Only the taskbar button stays; the main form comes back with Restore.
    ShowWindow(handle_, SW_MINIMIZE);
    if (mainForm_)
        ShowWindow(mainForm_->Handle(), SW_HIDE);
}

void TApplication::Restore() {
    ShowWindow(handle_, SW_RESTORE);
    if (mainForm_) {
        ShowWindow(mainForm_->Handle(), SW_SHOW);
        SetActiveWindow(mainForm_->Handle());
    }
}

void TApplication::HandleException(TComponent*) noexcept {
    try {
        throw;
    } catch (const EAbort&) {
    } catch (const Exception& exception) {
        ShowException(exception);
    } catch (...) {
        ShowException(Exception(""));
    }
}

void TApplication::ShowException(const Exception& exception) noexcept {
    const std::string text = ErrorBoxText(exception.Message());
    const TOtherWindowsDisabled disabled;
    MessageBoxA(handle_, text.c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

LRESULT CALLBACK TApplication::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return Application->WndProc(window, message, wParam, lParam);
    } catch (...) {
        Application->HandleException(Application);
        return 0;
    }
}

LRESULT TApplication::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TForm* const mainForm = mainForm_;
    switch (message) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_RESTORE && IsIconic(window)) {
            Restore();
            return 0;
        }
        break;
    case WM_ACTIVATE:
        // The taskbar button activates us: pass activation on to the main form.
        if (LOWORD(wParam) != WA_INACTIVE && mainForm && IsWindowVisible(mainForm->Handle()) &&
            IsWindowEnabled(mainForm->Handle())) {
            SetActiveWindow(mainForm->Handle());
            return 0;
        }
        break;
    case WM_CLOSE:
        if (mainForm)
            PostMessageA(mainForm->Handle(), WM_CLOSE, 0, 0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void HandleDispatchException(TComponent* sender) noexcept {
    Application->HandleException(sender);
}

} // namespace classlib
