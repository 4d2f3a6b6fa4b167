#include "valkesta_windows.h"

#include "window_inspection.h"
#include "windows1251.h"

#include <commctrl.h>

namespace {

constexpr RECT Place(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

} // namespace

const std::vector<ExpectedSheet>& ExpectedSheets() {
    // The tab order is not the grid's: rows are 40 pixels apart, columns stand at 8 and 184.
    static const std::vector<ExpectedSheet> sheets = {
        {u8"Приказы"_w1251,
         {
             {u8"Указ № 229"_w1251, Place(8, 16, 169, 25)},
             {u8"Постановление № 30"_w1251, Place(8, 56, 169, 25)},
             {u8"Постановление № 1128"_w1251, Place(8, 96, 169, 25)},
             {u8"Приказ № 4"_w1251, Place(8, 136, 169, 25)},
             {u8"Приказ № 146"_w1251, Place(184, 56, 161, 25)},
             {u8"Приказ № 28"_w1251, Place(8, 176, 169, 25)},
             {u8"Приказ № 39"_w1251, Place(8, 216, 169, 25)},
             {u8"Приказ № 97"_w1251, Place(184, 16, 161, 25)},
             {u8"Приказ № 44"_w1251, Place(8, 256, 169, 25)},
             {u8"Приказ № 153"_w1251, Place(184, 96, 161, 25)},
             {u8"Приказ № 241"_w1251, Place(184, 136, 161, 25)},
             {u8"Приказ № 273"_w1251, Place(184, 176, 161, 25)},
             {u8"Приказ № 562"_w1251, Place(184, 216, 161, 25)},
             {u8"Приказ № 665"_w1251, Place(184, 256, 161, 25)},
         }},
        {u8"Приказы 2"_w1251,
         {
             {u8"Приказ № 953"_w1251, Place(8, 16, 249, 25)},
             {u8"Приказ № 1109"_w1251, Place(8, 56, 249, 25)},
             {u8"Приказ № 1125"_w1251, Place(8, 96, 249, 25)},
             {u8"Предельные размеры снятия наличных денег"_w1251, Place(8, 176, 249, 25)},
             {u8"КГД-13-1-17 3579-И"_w1251, Place(8, 136, 249, 25)},
             {u8"Примеры форматов платежей ..."_w1251, Place(8, 216, 249, 25)},
             {u8"Таблица МРП, МЗП 2022-2023"_w1251, Place(8, 256, 249, 25)},
         }},
    };
    return sheets;
}

HWND WaitForWindow(const ValkestaProcess& process, std::string_view className) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND window : TopLevelWindows(process.Id(), className))
            if (IsWindowVisible(window))
                found = window;
        return found != nullptr;
    });
    return found;
}

HWND WaitForMainWindow(const ValkestaProcess& process) {
    const HWND window = WaitForWindow(process, MainWindowClass);
    return window && TextOf(window) == MainWindowCaption ? window : nullptr;
}

HWND FindDescendant(HWND root, std::string_view className, std::string_view text) {
    for (HWND child : ChildrenOf(root)) {
        if (lstrcmpiA(ClassOf(child).c_str(), std::string(className).c_str()) == 0 &&
            TextOf(child) == text)
            return child;
        if (HWND found = FindDescendant(child, className, text))
            return found;
    }
    return nullptr;
}

HWND PageControlOf(HWND mainWindow) {
    return FindWindowExA(mainWindow, nullptr, PageControlClass, nullptr);
}

HWND TabStripOf(HWND mainWindow) {
    return FindWindowExA(PageControlOf(mainWindow), nullptr, TabStripClass, nullptr);
}

HWND SheetHolding(HWND mainWindow, std::string_view buttonCaption) {
    const HWND button = FindDescendant(mainWindow, ButtonClass, buttonCaption);
    return button ? GetParent(button) : nullptr;
}

bool SheetShown(HWND mainWindow, const ExpectedSheet& sheet) {
    return IsWindowVisible(SheetHolding(mainWindow, sheet.buttons.front().caption)) != FALSE;
}

int FrontTab(HWND mainWindow) {
    return static_cast<int>(SendMessageA(TabStripOf(mainWindow), TCM_GETCURSEL, 0, 0));
}

std::string FocusedControl(HWND mainWindow) {
    const HWND focus = FocusOf(mainWindow);
    if (!focus)
        return "(no focus)";
    if (!IsWindowVisible(focus))
        return "(hidden) " + TextOf(focus);
    if (focus == TabStripOf(mainWindow))
        return "tab strip";
    return TextOf(focus);
}
