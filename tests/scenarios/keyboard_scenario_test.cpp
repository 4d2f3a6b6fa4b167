// The keyboard alone, typed into the foreground main window: Tab and Shift+Tab through each tab
// in tab order, Ctrl+Tab and Ctrl+Shift+Tab between the tabs, Enter and the space bar on a
// button, Alt with a letter, and Alt+F4.
#include "keyboard.h"
#include "valkesta_process.h"
#include "valkesta_windows.h"
#include "window_inspection.h"
#include "windows1251.h"
#include "written_documents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const DocumentButton Order953{u8"Приказ № 953"_w1251, u8"Приказ № 953.docx"_w1251, "DOC15.docx"};
const DocumentButton Order1109{u8"Приказ № 1109"_w1251, u8"Приказ № 1109.doc"_w1251, "DOC16.doc"};

// The controls that Tab visits on a sheet, from the tab strip round to it again.
std::vector<std::string> TabCycle(const ExpectedSheet& sheet) {
    std::vector<std::string> cycle{"tab strip"};
    for (const ExpectedButton& button : sheet.buttons)
        cycle.push_back(button.caption);
    return cycle;
}

// Types the keys and waits until the focus reaches the expected control; returns where the
// focus then stands.
std::string FocusAfter(HWND mainWindow, std::initializer_list<WORD> chord,
                       const std::string& expected) {
    Type(chord);
    WaitUntil([&] { return FocusedControl(mainWindow) == expected; });
    return FocusedControl(mainWindow);
}

// One full round with Tab (or Shift+Tab) from wherever the focus stands on the sheet in front.
void ExpectTabRound(HWND mainWindow, const ExpectedSheet& sheet, bool backwards) {
    SCOPED_TRACE(std::string(sheet.tabCaption) + (backwards ? ", Shift+Tab" : ", Tab"));
    std::vector<std::string> cycle = TabCycle(sheet);
    if (backwards)
        std::reverse(cycle.begin() + 1, cycle.end());
    const auto start = std::find(cycle.begin(), cycle.end(), FocusedControl(mainWindow));
    ASSERT_NE(start, cycle.end()) << "the focus is on " << FocusedControl(mainWindow);
    std::rotate(cycle.begin(), start, cycle.end());
    cycle.push_back(cycle.front());

    std::vector<std::string> visited{FocusedControl(mainWindow)};
    for (std::size_t step = 1; step < cycle.size(); ++step)
        visited.push_back(backwards ? FocusAfter(mainWindow, {VK_SHIFT, VK_TAB}, cycle[step])
                                    : FocusAfter(mainWindow, {VK_TAB}, cycle[step]));
    EXPECT_EQ(visited, cycle);
}

// Tabs forward until the button with that caption has the focus.
void FocusButton(HWND mainWindow, const std::string& caption) {
    for (std::size_t presses = 0; presses < 16 && FocusedControl(mainWindow) != caption;
         ++presses) {
        const std::string before = FocusedControl(mainWindow);
        Type({VK_TAB});
        WaitUntil([&] { return FocusedControl(mainWindow) != before; });
    }
    ASSERT_EQ(FocusedControl(mainWindow), caption);
}

// Ctrl+Tab or Ctrl+Shift+Tab brings that tab to the front, and the focus stays on a control
// that can be seen.
void ExpectTabSwitch(HWND mainWindow, std::initializer_list<WORD> chord, int tab) {
    const ExpectedSheet& sheet = ExpectedSheets()[tab];
    SCOPED_TRACE(std::string("to ") + sheet.tabCaption);
    Type(chord);
    EXPECT_TRUE(WaitUntil([&] { return FrontTab(mainWindow) == tab; }));
    for (std::size_t other = 0; other < ExpectedSheets().size(); ++other)
        EXPECT_EQ(SheetShown(mainWindow, ExpectedSheets()[other]), static_cast<int>(other) == tab);
    const std::string focus = FocusedControl(mainWindow);
    const std::vector<std::string> reachable = TabCycle(sheet);
    EXPECT_NE(std::find(reachable.begin(), reachable.end(), focus), reachable.end())
        << "the focus is on " << focus;
}

TEST(KeyboardScenario, TabOrderTabSwitchingAndKeysThatPressButtons) {
    RemoveDocumentFolder();
    ShellRequestLog shellLog;
    ValkestaProcess valkesta(VALKESTA_EXE);
    const HWND mainWindow = WaitForMainWindow(valkesta);
    ASSERT_NE(mainWindow, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == mainWindow; }))
        << "typed keys reach only the foreground window";
    ASSERT_TRUE(WaitUntil([&] { return FocusedControl(mainWindow) == "tab strip"; }));
    const ExpectedSheet& orders = ExpectedSheets()[0];
    const ExpectedSheet& orders2 = ExpectedSheets()[SecondTab];

    ExpectTabRound(mainWindow, orders2, false);
    ExpectTabRound(mainWindow, orders2, true);

    // Switching away while a button of the sheet has the focus.
    ASSERT_NO_FATAL_FAILURE(FocusButton(mainWindow, orders2.buttons[2].caption));
    ExpectTabSwitch(mainWindow, {VK_CONTROL, VK_TAB}, 0);
    ExpectTabRound(mainWindow, orders, false);
    ExpectTabRound(mainWindow, orders, true);
    ExpectTabSwitch(mainWindow, {VK_CONTROL, VK_TAB}, SecondTab);
    ExpectTabSwitch(mainWindow, {VK_CONTROL, VK_SHIFT, VK_TAB}, 0);
    ExpectTabSwitch(mainWindow, {VK_CONTROL, VK_SHIFT, VK_TAB}, SecondTab);

    ASSERT_NO_FATAL_FAILURE(FocusButton(mainWindow, Order953.caption));
    Type({VK_RETURN});
    EXPECT_TRUE(WaitForWrittenDocument(Order953)) << "Enter presses the focused button";
    ASSERT_NO_FATAL_FAILURE(FocusButton(mainWindow, Order1109.caption));
    Type({VK_SPACE});
    EXPECT_TRUE(WaitForWrittenDocument(Order1109)) << "the space bar presses the focused button";

    // No caption has an accelerator: Alt with the keys of the captions' first letters (Latin,
    // or П, У, К and Т on a Russian keyboard) presses nothing and selects no tab.
    for (const WORD letter : {'G', 'E', 'R', 'N', 'P', 'K', 'T'}) {
        SCOPED_TRACE(std::string("Alt+") + static_cast<char>(letter));
        const std::string before = FocusedControl(mainWindow);
        Type({VK_MENU, letter});
        // Keys are handled in order: once Tab has moved the focus, Alt+letter is done with.
        Type({VK_TAB});
        EXPECT_TRUE(WaitUntil([&] { return FocusedControl(mainWindow) != before; }));
        EXPECT_EQ(FrontTab(mainWindow), SecondTab);
    }
    std::vector<std::string> expectedFiles{Order953.fileName, Order1109.fileName};
    std::sort(expectedFiles.begin(), expectedFiles.end());
    EXPECT_EQ(FilesInDocumentFolder(), expectedFiles);
    EXPECT_EQ(SortedByPath(shellLog.Requests()), SortedByPath(OpenRequests({Order953, Order1109})));

    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == mainWindow; }));
    Type({VK_MENU, VK_F4});
    EXPECT_EQ(valkesta.WaitForExit(), DWORD{0});
}

} // namespace
