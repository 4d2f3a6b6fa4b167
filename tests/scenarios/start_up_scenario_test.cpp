// Start-up and the main window as a user's tools see it from outside: the working folder, the
// window's place, frame and owner, every control with its caption, the tab in front, the focus,
// and the end of the program when the window is closed.
#include "main_window_place.h"
#include "open_document_harness.h"
#include "valkesta_process.h"
#include "valkesta_windows.h"
#include "window_inspection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// One control as "class "caption" left,top widthxheight" and whatever differs from a visible,
// enabled control (a tab stop; a button that is no plain push button).
std::string DescribeControl(HWND control) {
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    std::string description =
        ClassOf(control) + " \"" + TextOf(control) + "\" " + Describe(PlaceOf(control));
    if (style & WS_TABSTOP)
        description += " tabstop";
    if (!(style & WS_VISIBLE))
        description += " hidden";
    if (style & WS_DISABLED)
        description += " disabled";
    // A plain push button, not the default one.
    if (ClassOf(control) == ButtonClass && (style & BS_TYPEMASK) != BS_PUSHBUTTON)
        description += " button type " + std::to_string(style & BS_TYPEMASK);
    return description;
}

// A sheet's children, sorted: the cover picture and the buttons. (The order in which Tab visits
// the buttons is the keyboard scenario's.)
std::vector<std::string> ExpectedChildren(const ExpectedSheet& sheet) {
    std::vector<std::string> children{std::string(ImageClass) + " \"\" " + Describe(ImagePlace)};
    for (const ExpectedButton& button : sheet.buttons)
        children.push_back(std::string(ButtonClass) + " \"" + button.caption + "\" " +
                           Describe(button.place) + " tabstop");
    std::sort(children.begin(), children.end());
    return children;
}

std::vector<std::string> ChildrenDescribed(HWND parent) {
    std::vector<std::string> children;
    for (HWND child : ChildrenOf(parent))
        children.push_back(DescribeControl(child));
    std::sort(children.begin(), children.end());
    return children;
}

void ExpectFrame(HWND mainWindow) {
    const LONG style = GetWindowLongA(mainWindow, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "the frame must not resize";
    ExpectNormalPlace(mainWindow);
}

void ExpectOwnedByApplicationWindow(HWND mainWindow, DWORD processId) {
    const HWND owner = GetWindow(mainWindow, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(ClassOf(owner), ApplicationWindowClass);
    EXPECT_EQ(TextOf(owner), "Valkesta") << "the application title, from Valkesta.exe";
    DWORD ownerProcess = 0;
    GetWindowThreadProcessId(owner, &ownerProcess);
    EXPECT_EQ(ownerProcess, processId);
}

void ExpectControlTree(HWND mainWindow, HANDLE process) {
    const HWND pageControl = PageControlOf(mainWindow);
    ASSERT_NE(pageControl, nullptr);
    EXPECT_EQ(ChildrenDescribed(mainWindow),
              std::vector<std::string>{std::string(PageControlClass) + " \"\" " +
                                       Describe(PageControlPlace)});

    const HWND strip = TabStripOf(mainWindow);
    ASSERT_NE(strip, nullptr);
    std::vector<std::string> pageControlClasses;
    for (HWND child : ChildrenOf(pageControl))
        pageControlClasses.push_back(ClassOf(child));
    std::sort(pageControlClasses.begin(), pageControlClasses.end());
    EXPECT_EQ(pageControlClasses,
              (std::vector<std::string>{TabStripClass, TabSheetClass, TabSheetClass}));
    EXPECT_TRUE(GetWindowLongA(strip, GWL_STYLE) & WS_TABSTOP);

    std::vector<std::string> tabCaptions;
    for (const ExpectedSheet& sheet : ExpectedSheets())
        tabCaptions.push_back(sheet.tabCaption);
    EXPECT_EQ(TabCaptions(process, strip), tabCaptions);
    EXPECT_EQ(FrontTab(mainWindow), SecondTab);

    // Both sheets fill the strip's display area; only the front one shows.
    RECT displayArea = TabDisplayArea(process, strip);
    MapWindowPoints(strip, pageControl, reinterpret_cast<POINT*>(&displayArea), 2);
    for (std::size_t index = 0; index < ExpectedSheets().size(); ++index) {
        const ExpectedSheet& sheet = ExpectedSheets()[index];
        SCOPED_TRACE(sheet.tabCaption);
        const HWND sheetWindow = SheetHolding(mainWindow, sheet.buttons.front().caption);
        ASSERT_NE(sheetWindow, nullptr);
        EXPECT_EQ(ClassOf(sheetWindow), TabSheetClass);
        EXPECT_EQ(GetParent(sheetWindow), pageControl);
        EXPECT_EQ(Describe(PlaceOf(sheetWindow)), Describe(displayArea));
        EXPECT_EQ(SheetShown(mainWindow, sheet), index == SecondTab);
        EXPECT_EQ(ChildrenDescribed(sheetWindow), ExpectedChildren(sheet));
    }
}

TEST(StartUpScenario, OpensTheLaidOutWindowAndEndsWithCodeZeroWhenClosed) {
    RemoveDocumentFolder();
    ValkestaProcess valkesta(VALKESTA_EXE);
    const HWND mainWindow = WaitForMainWindow(valkesta);
    ASSERT_NE(mainWindow, nullptr) << "no visible main window";
    EXPECT_EQ(FindWindowA(MainWindowClass, MainWindowCaption), mainWindow);
    EXPECT_TRUE(DocumentFolderExists()) << "start-up makes c:\\Nemtora before showing the window";

    ExpectFrame(mainWindow);
    ExpectOwnedByApplicationWindow(mainWindow, valkesta.Id());
    ExpectControlTree(mainWindow, valkesta.Handle());

    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == mainWindow; }));
    EXPECT_TRUE(WaitUntil([&] { return FocusedControl(mainWindow) == "tab strip"; }))
        << "the focus is on " << FocusedControl(mainWindow);

    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(valkesta.WaitForExit(), DWORD{0});
    EXPECT_TRUE(DocumentFolderExists()) << "the folder stays after the program";
    EXPECT_TRUE(FilesInDocumentFolder().empty());
}

} // namespace
