#pragma once
// The program's windows as the scenarios meet them: their classes, the main window's layout as
// the user should see it, and finding them in a running program.
#include "valkesta_process.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

inline constexpr char ApplicationWindowClass[] = "TApplication";
inline constexpr char MainWindowClass[] = "TForm1";
inline constexpr char MainWindowCaption[] = "Valkesta";
inline constexpr char PageControlClass[] = "Valkesta.PageControl";
inline constexpr char TabStripClass[] = "SysTabControl32";
inline constexpr char TabSheetClass[] = "Valkesta.TabSheet";
inline constexpr char ImageClass[] = "Valkesta.Image";
inline constexpr char ButtonClass[] = "Button";
inline constexpr char MessageBoxClass[] = "#32770";

struct ExpectedButton {
    const char* caption; // Windows-1251
    RECT place;          // in the tab sheet's client area
};

// One tab: its caption and its buttons in tab order.
struct ExpectedSheet {
    const char* tabCaption; // Windows-1251
    std::vector<ExpectedButton> buttons;
};

// "Приказы" and "Приказы 2", in the strip's order.
const std::vector<ExpectedSheet>& ExpectedSheets();
inline constexpr int SecondTab = 1; // "Приказы 2", in front at start

// The cover picture's place on each sheet.
inline constexpr RECT ImagePlace{400, 8, 400 + 137, 8 + 193};
// The page control's place in the main window's client area.
inline constexpr RECT PageControlPlace{8, 8, 8 + 569, 8 + 337};

// The first top-level window of that class that the process shows; null when none appears.
HWND WaitForWindow(const ValkestaProcess& process, std::string_view className);
// The visible main window, found by its class and caption; null when none appears.
HWND WaitForMainWindow(const ValkestaProcess& process);

// A window below root with that class and exact text; null when there is none.
HWND FindDescendant(HWND root, std::string_view className, std::string_view text);
HWND PageControlOf(HWND mainWindow);
HWND TabStripOf(HWND mainWindow);
// The tab sheet that holds the button with that caption.
HWND SheetHolding(HWND mainWindow, std::string_view buttonCaption);
// Whether the sheet with those buttons is shown.
bool SheetShown(HWND mainWindow, const ExpectedSheet& sheet);
// The index of the tab in front.
int FrontTab(HWND mainWindow);

// Where the focus stands, as the user follows it: "tab strip", a control's caption, or a mark
// that the focus is nowhere or on a hidden window.
std::string FocusedControl(HWND mainWindow);
