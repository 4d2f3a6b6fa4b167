#pragma once
// Reading another process's windows: classes, texts (the exact ANSI bytes), places, the focus,
// the tab strip's items and the error box.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

std::string ClassOf(HWND window);
std::string TextOf(HWND window);
// The outer rectangle in the parent's client area (on the screen for a top-level window).
RECT PlaceOf(HWND window);
SIZE ClientSizeOf(HWND window);
// Direct children, top of the z-order first.
std::vector<HWND> ChildrenOf(HWND parent);
// The process's top-level windows of that class.
std::vector<HWND> TopLevelWindows(DWORD processId, std::string_view className);
// The keyboard focus of the thread that owns the window.
HWND FocusOf(HWND window);

// The tab strip's item captions, read through memory lent in the strip's process.
std::vector<std::string> TabCaptions(HANDLE process, HWND tabStrip);
// Where the tab strip shows its pages, in its client area.
RECT TabDisplayArea(HANDLE process, HWND tabStrip);

// What a message box shows, once it is painted.
struct MessageBoxView {
    HWND owner;
    std::string caption;
    std::string text;
    bool iconIsStandardError; // an icon static showing the system's error icon
    std::vector<int> visibleButtonIds;
};
MessageBoxView ViewMessageBox(HWND box);

// Places and sizes compare as "left,top widthxheight" in failure messages.
std::string Describe(const RECT& rect);
