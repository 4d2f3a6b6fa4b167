// Builds of the program whose main window cannot be made: one without its layout, one whose
// cover picture is damaged. Each shows the error box before any window and ends after OK.
#include "open_document_harness.h"
#include "valkesta_process.h"
#include "valkesta_windows.h"
#include "window_inspection.h"

#include <jerror.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct BrokenBuild {
    const char* name;
    const char* path;
    const char* title;
    std::string text;
};

void PrintTo(const BrokenBuild& build, std::ostream* out) {
    *out << build.name;
}

class StartFailureScenario : public ::testing::TestWithParam<BrokenBuild> {};

TEST_P(StartFailureScenario, ShowsTheErrorBoxInsteadOfTheWindowAndEnds) {
    const BrokenBuild& build = GetParam();
    RemoveDocumentFolder();
    ValkestaProcess valkesta(build.path);

    bool mainWindowMade = false;
    HWND box = nullptr;
    WaitUntil([&] {
        mainWindowMade = mainWindowMade || !TopLevelWindows(valkesta.Id(), MainWindowClass).empty();
        const auto boxes = TopLevelWindows(valkesta.Id(), MessageBoxClass);
        box = boxes.empty() ? nullptr : boxes.front();
        return box && IsWindowVisible(box);
    });
    ASSERT_NE(box, nullptr) << "no error box";
    const auto applicationWindows = TopLevelWindows(valkesta.Id(), ApplicationWindowClass);
    ASSERT_EQ(applicationWindows.size(), 1u);
    EXPECT_EQ(TextOf(applicationWindows.front()), build.title);
    const MessageBoxView view = ViewMessageBox(box);
    EXPECT_EQ(view.owner, applicationWindows.front());
    EXPECT_EQ(view.caption, build.title);
    EXPECT_EQ(view.text, build.text);
    EXPECT_TRUE(view.iconIsStandardError);
    EXPECT_EQ(view.visibleButtonIds, std::vector<int>{IDOK});
    EXPECT_FALSE(mainWindowMade) << "a main window was made";
    EXPECT_FALSE(DocumentFolderExists()) << "the folder is made only once the layout is loaded";

    // The program ends once the box is closed, and its exit code tells the launcher that the
    // start failed.
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(valkesta.WaitForExit(), DWORD{1});
}

INSTANTIATE_TEST_SUITE_P(
    Builds, StartFailureScenario,
    ::testing::Values(BrokenBuild{"NoLayout", NO_LAYOUT_EXE, "Nolayout",
                                  "Resource TForm1 not found."},
                      // The cover's frame marker says "lossless", which libjpeg does not decode.
                      BrokenBuild{"DamagedCover", DAMAGED_COVER_EXE, "Damagedcover",
                                  "Error reading Image1.Picture.Data: JPEG error #" +
                                      std::to_string(JERR_SOF_UNSUPPORTED) + "."}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
