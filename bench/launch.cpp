#include "launch.h"

#include "empty_window.h"
#include "measure.h"
#include "unique_handle.h"

#include <commctrl.h>
#include <psapi.h>

#include <stdexcept>

namespace {

// One screen pixel and the colour it must show.
struct PixelCheck {
    POINT at;
    COLORREF expected;
};

class ScreenPixels {
public:
    ScreenPixels() : dc_(GetDC(nullptr)) {
        if (!dc_)
            throw std::runtime_error("cannot read the screen");
    }
    ~ScreenPixels() { ReleaseDC(nullptr, dc_); }
    ScreenPixels(const ScreenPixels&) = delete;
    ScreenPixels& operator=(const ScreenPixels&) = delete;

    bool Show(const std::vector<PixelCheck>& checks) const {
        for (const PixelCheck& check : checks)
            if (GetPixel(dc_, check.at.x, check.at.y) != check.expected)
                return false;
        return true;
    }

private:
    HDC dc_;
};

// The corners and the middle of an area: all of them right means all of it was drawn.
std::vector<POINT> ProbePoints(SIZE area) {
    const LONG right = area.cx - 3, bottom = area.cy - 3;
    return {{2, 2}, {right, 2}, {area.cx / 2, area.cy / 2}, {2, bottom}, {right, bottom}};
}

// The client area of a window, in screen coordinates.
RECT ScreenClientRect(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

class LaunchedProgram {
public:
    explicit LaunchedProgram(const std::string& exe) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::string commandLine = '"' + exe + '"';
        sinceCreation_ = Stopwatch();
        if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process))
            throw std::runtime_error("cannot start " + exe);
        process_.reset(process.hProcess);
        const UniqueHandle thread(process.hThread);
        id_ = process.dwProcessId;
    }
    // A program that did not close when asked is ended, so that the next run starts alone.
    ~LaunchedProgram() {
        if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.get(), 1);
    }
    LaunchedProgram(const LaunchedProgram&) = delete;
    LaunchedProgram& operator=(const LaunchedProgram&) = delete;

    double ElapsedMs() const { return sinceCreation_.ElapsedMs(); }

    HWND WaitForWindow(const char* className) const {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                for (HWND window = nullptr;
                     (window = FindWindowExA(nullptr, window, className, nullptr)) != nullptr;) {
                    DWORD process = 0;
                    GetWindowThreadProcessId(window, &process);
                    if (process == id_)
                        return (found = window) != nullptr;
                }
                return false;
            },
            std::string("a window of class ") + className);
        return found;
    }

    std::uint64_t PeakWorkingSetKb() const {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        if (!GetProcessMemoryInfo(process_.get(), &counters, sizeof counters))
            throw std::runtime_error("cannot read the memory of a started program");
        return counters.PeakWorkingSetSize / 1024;
    }

    void Close(HWND window) const {
        PostMessageA(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.get(), 30000) != WAIT_OBJECT_0)
            throw std::runtime_error("a started program did not end when its window was closed");
    }

private:
    UniqueHandle process_;
    DWORD id_ = 0;
    Stopwatch sinceCreation_;
};

// A message sent to the window is answered once its thread is back in its message loop, that is
// when the paint that put the picture on the screen has run to its end.
void AwaitMessageLoop(HWND window) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer))
        throw std::runtime_error("a started program does not answer messages");
}

struct FoundWindow {
    const char* className;
    HWND window;
};

BOOL CALLBACK FindVisibleChild(HWND window, LPARAM found) {
    auto& wanted = *reinterpret_cast<FoundWindow*>(found);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, wanted.className) == 0 && IsWindowVisible(window)) {
        wanted.window = window;
        return FALSE;
    }
    return TRUE;
}

HWND VisibleChild(HWND parent, const char* className) {
    FoundWindow found{className, nullptr};
    EnumChildWindows(parent, FindVisibleChild, reinterpret_cast<LPARAM>(&found));
    return found.window;
}

std::vector<PixelCheck> CoverChecks(HWND image, const CoverPixels& cover) {
    const RECT area = ScreenClientRect(image);
    if (area.right - area.left != cover.width || area.bottom - area.top != cover.height)
        throw std::runtime_error("the image control is not the size the cover was decoded to");
    std::vector<PixelCheck> checks;
    for (const POINT at : ProbePoints({cover.width, cover.height})) {
        const std::uint32_t rgb = cover.pixels[std::size_t(at.y) * cover.width + at.x];
        checks.push_back({{area.left + at.x, area.top + at.y},
                          RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF)});
    }
    return checks;
}

// The image control in front, once the screen shows the cover in it.
HWND AwaitVisibleCover(HWND form, HWND previousImage, const ScreenPixels& screen,
                       const CoverPixels& cover) {
    HWND image = nullptr;
    WaitUntil(
        [&] {
            image = VisibleChild(form, "Valkesta.Image");
            return image && image != previousImage;
        },
        "the image control in front");
    const std::vector<PixelCheck> checks = CoverChecks(image, cover);
    WaitUntil([&] { return screen.Show(checks); }, "the cover picture on the screen");
    return image;
}

// A click on the first tab, as the tab control receives it from the mouse.
void ClickFirstTab(HWND form) {
    const HWND tabs = VisibleChild(form, WC_TABCONTROLA);
    if (!tabs)
        throw std::runtime_error("the main window has no tab control");
    const LPARAM onFirstTab = MAKELPARAM(12, 8);
    PostMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, onFirstTab);
    PostMessageA(tabs, WM_LBUTTONUP, 0, onFirstTab);
    WaitUntil([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == 0; }, "the first tab");
}

} // namespace

LaunchResult LaunchEmptyWindow(const std::string& exe) {
    const ScreenPixels screen;
    LaunchResult result;
    const LaunchedProgram program(exe);
    const HWND window = program.WaitForWindow(EmptyWindowClass);
    result.windowMs = program.ElapsedMs();
    const RECT client = ScreenClientRect(window);
    std::vector<PixelCheck> checks;
    for (const POINT at : ProbePoints(EmptyWindowClientSize))
        checks.push_back({{client.left + at.x, client.top + at.y}, EmptyWindowColor});
    WaitUntil([&] { return screen.Show(checks); }, "the empty window's colour on the screen");
    AwaitMessageLoop(window);
    result.firstPaintMs = program.ElapsedMs();
    result.peakWorkingSetKb = program.PeakWorkingSetKb();
    program.Close(window);
    return result;
}

LaunchResult LaunchValkesta(const std::string& exe, const CoverPixels& cover) {
    const ScreenPixels screen;
    LaunchResult result;
    const LaunchedProgram program(exe);
    const HWND form = program.WaitForWindow("TForm1");
    result.windowMs = program.ElapsedMs();
    const HWND frontImage = AwaitVisibleCover(form, nullptr, screen, cover);
    AwaitMessageLoop(form);
    result.firstPaintMs = program.ElapsedMs();
    ClickFirstTab(form);
    AwaitVisibleCover(form, frontImage, screen, cover);
    result.peakWorkingSetKb = program.PeakWorkingSetKb();
    program.Close(form);
    return result;
}
