#include "window_inspection.h"

#include "valkesta_process.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <stdexcept>

namespace {

// Memory lent inside another process, for messages whose argument points to a structure.
class LentMemory {
public:
    LentMemory(HANDLE process, std::size_t size)
        : process_(process), address_(VirtualAllocEx(process, nullptr, size,
                                                     MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
        if (!address_)
            throw std::runtime_error("cannot lend memory in the program's process");
    }
    ~LentMemory() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }
    LentMemory(const LentMemory&) = delete;
    LentMemory& operator=(const LentMemory&) = delete;

    char* At(std::size_t offset) const { return static_cast<char*>(address_) + offset; }
    void Write(std::size_t offset, const void* data, std::size_t size) {
        if (!WriteProcessMemory(process_, At(offset), data, size, nullptr))
            throw std::runtime_error("cannot write the program's memory");
    }
    void Read(std::size_t offset, void* data, std::size_t size) const {
        if (!ReadProcessMemory(process_, At(offset), data, size, nullptr))
            throw std::runtime_error("cannot read the program's memory");
    }

private:
    HANDLE process_;
    void* address_;
};

struct ReleaseScreenDC {
    void operator()(HDC dc) const { ReleaseDC(nullptr, dc); }
};
struct DeleteMemoryDC {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using ScreenDC = std::unique_ptr<std::remove_pointer_t<HDC>, ReleaseScreenDC>;
using MemoryDC = std::unique_ptr<std::remove_pointer_t<HDC>, DeleteMemoryDC>;
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, DeleteGdiObject>;
using Brush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, DeleteGdiObject>;

// The pixels (0xRRGGBB) of a square drawn by draw(dc) into a 32-bit bitmap, row by row.
template <class Draw> std::vector<std::uint32_t> Pixels(int size, Draw draw) {
    const ScreenDC screen(GetDC(nullptr));
    const MemoryDC memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const Bitmap bitmap(CreateDIBSection(screen.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap)
        throw std::runtime_error("cannot make a bitmap to compare icons");
    const HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
    draw(memory.get(), screen.get());
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(first, first + size * size);
    for (std::uint32_t& pixel : pixels)
        pixel &= 0xFFFFFF; // whatever the fourth byte holds
    SelectObject(memory.get(), previous);
    return pixels;
}

// Whether the icon static shows the system's error icon: its pixels on the screen against the
// icon drawn here on the background that the static shows around it.
bool ShowsStandardErrorIcon(HWND iconStatic) {
    const int size = GetSystemMetrics(SM_CXICON);
    RECT place;
    GetWindowRect(iconStatic, &place);
    const auto shown = Pixels(size, [&](HDC memory, HDC screen) {
        BitBlt(memory, 0, 0, size, size, screen, place.left, place.top, SRCCOPY);
    });
    // The error icon's corner is transparent, so it holds the static's background.
    const std::uint32_t background = shown.front();
    const auto expected = Pixels(size, [&](HDC memory, HDC) {
        const Brush brush(CreateSolidBrush(
            RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF)));
        const RECT whole{0, 0, size, size};
        FillRect(memory, &whole, brush.get());
        DrawIconEx(memory, 0, 0, LoadIconA(nullptr, IDI_ERROR), size, size, 0, nullptr, DI_NORMAL);
    });
    // An icon that drew nothing would make any empty static match.
    const bool iconDrawn = std::any_of(expected.begin(), expected.end(),
                                       [&](std::uint32_t pixel) { return pixel != background; });
    return iconDrawn && shown == expected;
}

struct TopLevelSearch {
    DWORD processId;
    std::string_view className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevelWindow(HWND window, LPARAM argument) {
    auto& search = *reinterpret_cast<TopLevelSearch*>(argument);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && ClassOf(window) == search.className)
        search.found.push_back(window);
    return TRUE;
}

} // namespace

std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

RECT PlaceOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    if (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE ClientSizeOf(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

std::vector<HWND> TopLevelWindows(DWORD processId, std::string_view className) {
    TopLevelSearch search{processId, className, {}};
    EnumWindows(&CollectTopLevelWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

std::vector<std::string> TabCaptions(HANDLE process, HWND tabStrip) {
    constexpr std::size_t textSize = 256;
    LentMemory memory(process, sizeof(TCITEMA) + textSize);
    std::vector<std::string> captions;
    const auto count = SendMessageA(tabStrip, TCM_GETITEMCOUNT, 0, 0);
    for (int index = 0; index < count; ++index) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = memory.At(sizeof item);
        item.cchTextMax = textSize;
        memory.Write(0, &item, sizeof item);
        const char nothing = 0;
        memory.Write(sizeof item, &nothing, 1);
        if (!SendMessageA(tabStrip, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(memory.At(0))))
            throw std::runtime_error("the tab strip gives no item " + std::to_string(index));
        // The strip may point pszText at its own copy instead of filling ours.
        memory.Read(0, &item, sizeof item);
        char text[textSize] = {};
        ReadProcessMemory(process, item.pszText, text, textSize - 1, nullptr);
        captions.emplace_back(text);
    }
    return captions;
}

RECT TabDisplayArea(HANDLE process, HWND tabStrip) {
    RECT area{};
    GetClientRect(tabStrip, &area);
    LentMemory memory(process, sizeof area);
    memory.Write(0, &area, sizeof area);
    SendMessageA(tabStrip, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(memory.At(0)));
    memory.Read(0, &area, sizeof area);
    return area;
}

MessageBoxView ViewMessageBox(HWND box) {
    // A message box's text is the static with id 0xFFFF and its icon the static 0x440.
    constexpr int textId = 0xFFFF, iconId = 0x440;
    MessageBoxView view{GetWindow(box, GW_OWNER), TextOf(box), {}, false, {}};
    char text[1024] = {};
    GetDlgItemTextA(box, textId, text, sizeof text);
    view.text = text;
    const HWND icon = GetDlgItem(box, iconId);
    view.iconIsStandardError = icon && IsWindowVisible(icon) &&
                               (GetWindowLongA(icon, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                               // The box may be on the screen before it is painted.
                               WaitUntil([&] { return ShowsStandardErrorIcon(icon); });
    for (HWND child : ChildrenOf(box))
        if (lstrcmpiA(ClassOf(child).c_str(), "Button") == 0 && IsWindowVisible(child))
            view.visibleButtonIds.push_back(GetDlgCtrlID(child));
    return view;
}

std::string Describe(const RECT& rect) {
    return std::to_string(rect.left) + ',' + std::to_string(rect.top) + ' ' +
           std::to_string(rect.right - rect.left) + 'x' + std::to_string(rect.bottom - rect.top);
}
