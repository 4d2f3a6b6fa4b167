// A click whose document cannot be written, while another program holds its file open: the error
// box, its owner, caption, text, icon and button, the disabled main window behind it, and the
// window taking clicks again after OK. The executable's name gives the title of the application
// window and of the box, never the main window's caption.
#include "open_document_harness.h"
#include "valkesta_process.h"
#include "valkesta_windows.h"
#include "window_inspection.h"
#include "windows1251.h"
#include "written_documents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const DocumentButton Order146{u8"Приказ № 146"_w1251, u8"Приказ № 146.docx"_w1251, "DOC9.docx"};
const DocumentButton Decree229{u8"Указ № 229"_w1251, u8"Указ № 229.docx"_w1251, "DOC1.docx"};

struct NamedExecutable {
    const char* path;
    const char* title;
};

void PrintTo(const NamedExecutable& executable, std::ostream* out) {
    *out << executable.path;
}

class FailureBoxScenario : public ::testing::TestWithParam<NamedExecutable> {};

TEST_P(FailureBoxScenario, ReportsTheFileThatCannotBeCreatedAndGoesOn) {
    const NamedExecutable& executable = GetParam();
    RemoveDocumentFolder();
    ASSERT_TRUE(CreateDirectoryA("c:\\Nemtora", nullptr));
    const std::string usersCopy = "the user's own copy, still open in the word processor";
    WriteWholeFile(Order146.Path(), usersCopy);
    ShellRequestLog shellLog;
    const HeldFile held(Order146.Path());

    ValkestaProcess valkesta(executable.path);
    const HWND mainWindow = WaitForMainWindow(valkesta);
    ASSERT_NE(mainWindow, nullptr);
    const HWND applicationWindow = GetWindow(mainWindow, GW_OWNER);
    EXPECT_EQ(TextOf(applicationWindow), executable.title);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == mainWindow; }));

    // The button stands on the hidden tab; a click message reaches it all the same.
    const HWND button = FindDescendant(mainWindow, ButtonClass, Order146.caption);
    ASSERT_NE(button, nullptr);
    PostMessageA(button, BM_CLICK, 0, 0);
    const HWND box = WaitForWindow(valkesta, MessageBoxClass);
    ASSERT_NE(box, nullptr) << "no error box";
    const MessageBoxView view = ViewMessageBox(box);
    EXPECT_EQ(view.owner, applicationWindow);
    EXPECT_EQ(view.caption, executable.title);
    EXPECT_EQ(view.text, "Cannot create file " + Order146.Path() + ".");
    EXPECT_TRUE(view.iconIsStandardError);
    EXPECT_EQ(view.visibleButtonIds, std::vector<int>{IDOK});
    EXPECT_FALSE(IsWindowEnabled(mainWindow)) << "the box is modal";
    EXPECT_EQ(TextOf(mainWindow), MainWindowCaption);

    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(mainWindow) != FALSE; }));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == mainWindow; }))
        << "the window that was active is active again";
    EXPECT_EQ(ReadWholeFile(Order146.Path()), usersCopy);

    PostMessageA(FindDescendant(mainWindow, ButtonClass, Decree229.caption), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitForWrittenDocument(Decree229)) << "the next click starts afresh";
    EXPECT_EQ(shellLog.Requests(), OpenRequests({Decree229}));
    EXPECT_TRUE(TopLevelWindows(valkesta.Id(), MessageBoxClass).empty());

    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(valkesta.WaitForExit(), DWORD{0});
}

INSTANTIATE_TEST_SUITE_P(Titles, FailureBoxScenario,
                         ::testing::Values(NamedExecutable{VALKESTA_EXE, "Valkesta"},
                                           NamedExecutable{REPORT_TOOL_EXE, "Report"},
                                           NamedExecutable{LOWER_CASE_EXE, "report"}),
                         [](const auto& info) { return std::string(info.param.title); });

} // namespace
