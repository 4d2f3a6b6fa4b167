// The main window built from the real layout resource, inspected from inside the process:
// component tree, window placement, captions, fonts, tab order and the cover pictures.
#include "application.h"
#include "document_catalog.h"
#include "jpeg_image.h"
#include "main_window.h"
#include "open_document.h"
#include "picture.h"
#include "windows1251.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using classlib::Application;

namespace {

struct TPlacement {
    const char* button;
    int left, top, width, height, tabOrder;
};

// Every button's place on its sheet and its tab order.
constexpr TPlacement Placements[] = {
    {"Button1", 8, 16, 169, 25, 0},      {"Button5", 8, 56, 169, 25, 1},
    {"Button6", 8, 96, 169, 25, 2},      {"Button71", 8, 136, 169, 25, 3},
    {"Button4", 8, 176, 169, 25, 5},     {"Button7", 8, 216, 169, 25, 6},
    {"Button39", 8, 256, 169, 25, 8},    {"Button38", 184, 16, 161, 25, 7},
    {"Button2", 184, 56, 161, 25, 4},    {"Button10", 184, 96, 161, 25, 9},
    {"Button11", 184, 136, 161, 25, 10}, {"Button12", 184, 176, 161, 25, 11},
    {"Button13", 184, 216, 161, 25, 12}, {"Button15", 184, 256, 161, 25, 13},
    {"Button21", 8, 16, 249, 25, 0},     {"Button8", 8, 56, 249, 25, 1},
    {"Button9", 8, 96, 249, 25, 2},      {"Button3", 8, 136, 249, 25, 4},
    {"Button14", 8, 176, 249, 25, 3},    {"Button16", 8, 216, 249, 25, 5},
    {"Button17", 8, 256, 249, 25, 6},
};

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

RECT RectIn(HWND window, HWND parent) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LOGFONTA FontOf(HWND window) {
    LOGFONTA font{};
    const auto handle = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    EXPECT_NE(handle, nullptr);
    GetObjectA(handle, sizeof font, &font);
    return font;
}

std::string TextOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string NameOf(HWND window) {
    if (auto* control = classlib::TWinControl::FromHandle(window))
        return control->Name();
    return window == Form1->PageControl1->TabStrip() ? "tab strip" : "?";
}

// The dialog manager's Tab cycle, from the tab strip back to it.
std::vector<std::string> TabCycle(bool backwards = false) {
    std::vector<std::string> names;
    const HWND strip = Form1->PageControl1->TabStrip();
    HWND current = strip;
    do {
        current = GetNextDlgTabItem(Form1->Handle(), current, backwards);
        names.push_back(NameOf(current));
    } while (current != strip && names.size() < 30);
    return names;
}

class MainWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        RemoveDirectoryA(DocumentFolder);
        Application->CreateForm(Form1);
    }
};

TEST_F(MainWindowTest, IsBuiltHiddenAfterMakingTheDocumentFolder) {
    ASSERT_NE(Form1, nullptr);
    EXPECT_EQ(Application->MainForm(), Form1);
    EXPECT_FALSE(IsWindowVisible(Form1->Handle()));
    const DWORD attributes = GetFileAttributesA(DocumentFolder);
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(MainWindowTest, WindowHasItsPlaceSizeCaptionAndFrame) {
    const HWND window = Form1->Handle();
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    EXPECT_EQ(outer.left, 504);
    EXPECT_EQ(outer.top, 127);
    EXPECT_EQ(client.right, 582);
    EXPECT_EQ(client.bottom, 356);
    EXPECT_EQ(TextOf(window), "Valkesta");
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    // Owned by the application's window, which stands for the program on the taskbar.
    EXPECT_EQ(GetWindow(window, GW_OWNER), Application->Handle());
    EXPECT_EQ(TextOf(Application->Handle()), Application->Title());
}

TEST_F(MainWindowTest, ComponentTreeFollowsTheLayout) {
    ASSERT_EQ(Form1->Controls().size(), 1u);
    EXPECT_EQ(Form1->Controls()[0], Form1->PageControl1);
    const auto& pages = Form1->PageControl1->Controls();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0], Form1->TabSheet1);
    EXPECT_EQ(pages[1], Form1->TabSheet2);
    EXPECT_EQ(Form1->TabSheet1->Caption(), u8"Приказы"_w1251);
    EXPECT_EQ(Form1->TabSheet2->Caption(), u8"Приказы 2"_w1251);
    EXPECT_EQ(Form1->TabSheet1->Controls().size(), 15u);
    EXPECT_EQ(Form1->TabSheet2->Controls().size(), 8u);
    EXPECT_EQ(Form1->TabSheet1->Controls()[0], Form1->Image1);
    EXPECT_EQ(Form1->TabSheet2->Controls()[0], Form1->Image2);
    EXPECT_EQ(RectIn(Form1->PageControl1->Handle(), Form1->Handle()).left, 8);
    EXPECT_EQ(RectIn(Form1->PageControl1->Handle(), Form1->Handle()).top, 8);
    RECT pageControl;
    GetClientRect(Form1->PageControl1->Handle(), &pageControl);
    EXPECT_EQ(pageControl.right, 569);
    EXPECT_EQ(pageControl.bottom, 337);
    EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet2);
}

TEST_F(MainWindowTest, EveryButtonStandsWhereItsCatalogueRowSays) {
    for (const TPlacement& placement : Placements) {
        SCOPED_TRACE(placement.button);
        const TDocumentEntry& entry = CatalogEntryForButton(placement.button);
        auto* button = Form1->Find<classlib::TButton>(placement.button);
        ASSERT_NE(button->Parent(), nullptr);
        EXPECT_EQ(button->Parent()->Name(), entry.PageName);
        EXPECT_EQ(TextOf(button->Handle()), entry.Caption);
        EXPECT_EQ(button->TabOrder(), placement.tabOrder);
        const RECT rect = RectIn(button->Handle(), button->Parent()->Handle());
        EXPECT_EQ(rect.left, placement.left);
        EXPECT_EQ(rect.top, placement.top);
        EXPECT_EQ(rect.right - rect.left, placement.width);
        EXPECT_EQ(rect.bottom - rect.top, placement.height);
        EXPECT_TRUE(button->OnClick);
    }
    for (classlib::TImage* image : {Form1->Image1, Form1->Image2}) {
        const RECT rect = RectIn(image->Handle(), image->Parent()->Handle());
        EXPECT_EQ(rect.left, 400);
        EXPECT_EQ(rect.top, 8);
        EXPECT_EQ(rect.right - rect.left, 137);
        EXPECT_EQ(rect.bottom - rect.top, 193);
    }
}

TEST_F(MainWindowTest, TabCaptionsAreBoldAndButtonCaptionsRegular) {
    const LOGFONTA strip = FontOf(Form1->PageControl1->TabStrip());
    EXPECT_STREQ(strip.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(strip.lfHeight, -11);
    EXPECT_EQ(strip.lfWeight, FW_BOLD);
    for (const TDocumentEntry& entry : DocumentCatalog) {
        SCOPED_TRACE(entry.ButtonName);
        const LOGFONTA font = FontOf(Form1->Find<classlib::TButton>(entry.ButtonName)->Handle());
        EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
        EXPECT_EQ(font.lfHeight, -11);
        EXPECT_EQ(font.lfWeight, FW_NORMAL);
        EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
    }
}

TEST_F(MainWindowTest, TabCyclesThroughTheFrontSheetInTabOrder) {
    Form1->PageControl1->SetActivePage(Form1->TabSheet2);
    EXPECT_EQ(TabCycle(),
              (std::vector<std::string>{"Button21", "Button8", "Button9", "Button14", "Button3",
                                        "Button16", "Button17", "tab strip"}));
    EXPECT_EQ(TabCycle(true),
              (std::vector<std::string>{"Button17", "Button16", "Button3", "Button14", "Button9",
                                        "Button8", "Button21", "tab strip"}));
    Form1->PageControl1->SetActivePage(Form1->TabSheet1);
    EXPECT_EQ(TabCycle(), (std::vector<std::string>{"Button1", "Button5", "Button6", "Button71",
                                                    "Button2", "Button4", "Button7", "Button38",
                                                    "Button39", "Button10", "Button11", "Button12",
                                                    "Button13", "Button15", "tab strip"}));
    Form1->PageControl1->SetActivePage(Form1->TabSheet2);
}

std::vector<std::uint8_t> CoverJpeg() {
    std::ifstream file(COVER_JPEG, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// What the image control shows, read back from its window as 0x00RRGGBB pixels.
std::vector<std::uint32_t> Shown(HWND window, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HDC windowDc = GetDC(window);
    const classlib::TGdiObject<HBITMAP> bitmap(
        CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
        const classlib::TMemoryDC memory(windowDc);
        const classlib::TSelectedObject selected(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
    }
    ReleaseDC(window, windowDc);
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    return {pixels, pixels + width * height};
}

TEST(JpegPicture, ADecodeThatFailsIsReportedOnceNotOnEveryPaint) {
    // A DC Huffman table with a symbol out of range: the header reads, the decode fails.
    std::vector<std::uint8_t> jpeg = CoverJpeg();
    const std::uint8_t huffmanTable[] = {0xFF, 0xC4};
    const auto table =
        std::search(jpeg.begin(), jpeg.end(), std::begin(huffmanTable), std::end(huffmanTable));
    ASSERT_NE(table, jpeg.end());
    table[5 + 16] = 0x20;
    classlib::TJPEGImage picture(jpeg);
    const classlib::TScreenDC screen;
    const classlib::TMemoryDC memory(screen.Get());
    const classlib::TGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), 137, 193));
    const classlib::TSelectedObject selected(memory.Get(), bitmap.Get());
    const RECT control{0, 0, 137, 193};
    EXPECT_THROW(picture.Draw(memory.Get(), control), classlib::EJPEG);
    EXPECT_NO_THROW(picture.Draw(memory.Get(), control));
    EXPECT_EQ(picture.DecodeCount(), 0);
}

int DecodeCount(classlib::TImage* image) {
    auto* jpeg = dynamic_cast<classlib::TJPEGImage*>(image->Picture().Graphic());
    return jpeg ? jpeg->DecodeCount() : -1;
}

TEST_F(MainWindowTest, EachCoverIsDecodedOnceOnItsFirstPaintAndFillsItsControl) {
    EXPECT_EQ(DecodeCount(Form1->Image1), 0);
    EXPECT_EQ(DecodeCount(Form1->Image2), 0);
    Form1->Show(SW_SHOWNORMAL);
    PumpMessages();
    EXPECT_EQ(DecodeCount(Form1->Image2), 1);
    EXPECT_EQ(DecodeCount(Form1->Image1), 0) << "the hidden tab's picture waits for its tab";

    const auto expected = classlib::DecodeJpegToSize(CoverJpeg(), 137, 193);
    EXPECT_EQ(Shown(Form1->Image2->Handle(), 137, 193), expected);
    for (int i = 0; i < 5; ++i) {
        Form1->PageControl1->SelectNextPage(true);
        PumpMessages();
        InvalidateRect(Form1->Handle(), nullptr, TRUE);
        UpdateWindow(Form1->Handle());
        PumpMessages();
    }
    EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet1);
    EXPECT_EQ(Shown(Form1->Image1->Handle(), 137, 193), expected);
    EXPECT_EQ(DecodeCount(Form1->Image1), 1);
    EXPECT_EQ(DecodeCount(Form1->Image2), 1);
    ShowWindow(Form1->Handle(), SW_HIDE);
}

} // namespace
