// The main window's layout as the build embeds it: compiled from resources/main_window.form by
// the form compiler, read back by the form reader.
#include "exceptions.h"
#include "form_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using classlib::form::Object;
using namespace form_test;

std::vector<std::string> Sorted(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

// The properties an object sets, in any order.
void ExpectProperties(const Object& object, std::vector<std::string> expected) {
    EXPECT_EQ(Sorted(Rendered(object)), Sorted(std::move(expected)))
        << "properties of " << object.name;
}

std::vector<std::string> Font(const std::string& style) {
    return {"Font.Charset = DEFAULT_CHARSET", "Font.Color = clWindowText", "Font.Height = -11",
            "Font.Name = 'MS Sans Serif'", "Font.Style = " + style};
}

std::vector<std::string> Joined(std::vector<std::string> lines,
                                const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

struct ButtonRow {
    std::string tab, name;
    int left, top, width, tabOrder;
    std::string caption;
};

// By tab, by column, from top to bottom.
const ButtonRow Buttons[] = {
    {"TabSheet1", "Button1", 8, 16, 169, 0, "Указ № 229"},
    {"TabSheet1", "Button5", 8, 56, 169, 1, "Постановление № 30"},
    {"TabSheet1", "Button6", 8, 96, 169, 2, "Постановление № 1128"},
    {"TabSheet1", "Button71", 8, 136, 169, 3, "Приказ № 4"},
    {"TabSheet1", "Button4", 8, 176, 169, 5, "Приказ № 28"},
    {"TabSheet1", "Button7", 8, 216, 169, 6, "Приказ № 39"},
    {"TabSheet1", "Button39", 8, 256, 169, 8, "Приказ № 44"},
    {"TabSheet1", "Button38", 184, 16, 161, 7, "Приказ № 97"},
    {"TabSheet1", "Button2", 184, 56, 161, 4, "Приказ № 146"},
    {"TabSheet1", "Button10", 184, 96, 161, 9, "Приказ № 153"},
    {"TabSheet1", "Button11", 184, 136, 161, 10, "Приказ № 241"},
    {"TabSheet1", "Button12", 184, 176, 161, 11, "Приказ № 273"},
    {"TabSheet1", "Button13", 184, 216, 161, 12, "Приказ № 562"},
    {"TabSheet1", "Button15", 184, 256, 161, 13, "Приказ № 665"},
    {"TabSheet2", "Button21", 8, 16, 249, 0, "Приказ № 953"},
    {"TabSheet2", "Button8", 8, 56, 249, 1, "Приказ № 1109"},
    {"TabSheet2", "Button9", 8, 96, 249, 2, "Приказ № 1125"},
    {"TabSheet2", "Button3", 8, 136, 249, 4, "КГД-13-1-17 3579-И"},
    {"TabSheet2", "Button14", 8, 176, 249, 3, "Предельные размеры снятия наличных денег"},
    {"TabSheet2", "Button16", 8, 216, 249, 5, "Примеры форматов платежей ..."},
    {"TabSheet2", "Button17", 8, 256, 249, 6, "Таблица МРП, МЗП 2022-2023"},
};

class MainWindowLayout : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        bytes_ = ReadFile(compiledLayout);
        form_ = new Object(classlib::form::ReadForm(bytes_));
    }
    static void TearDownTestSuite() { delete form_; }

    static const Object& Form() { return *form_; }
    static const Object& PageControl() { return Child(*form_, "PageControl1"); }
    static const Object& Tab(const std::string& name) { return Child(PageControl(), name); }

    static inline Bytes bytes_; // the binary values of form_ point into it
    static inline Object* form_ = nullptr;
};

TEST_F(MainWindowLayout, FormSettings) {
    EXPECT_EQ(Form().className, "TForm1");
    EXPECT_EQ(Form().name, "Form1");
    ExpectProperties(Form(),
                     Joined({"Left = 504", "Top = 127", "Caption = 'Valkesta'", "ClientWidth = 582",
                             "ClientHeight = 356", "BorderStyle = bsSingle",
                             "BorderIcons = [biSystemMenu, biMinimize]", "Color = clBtnFace",
                             "OldCreateOrder = False", "PixelsPerInch = 96", "TextHeight = 13"},
                            Font("[]")));
}

TEST_F(MainWindowLayout, PageControlAndTabSheets) {
    ASSERT_EQ(ChildNames(Form()), std::vector<std::string>{"PageControl1"});
    EXPECT_EQ(PageControl().className, "TPageControl");
    ExpectProperties(PageControl(), Joined({"Left = 8", "Top = 8", "Width = 569", "Height = 337",
                                            "ActivePage = TabSheet2", "ParentFont = False",
                                            "TabIndex = 1", "TabOrder = 0"},
                                           Font("[fsBold]")));

    ASSERT_EQ(ChildNames(PageControl()), (std::vector<std::string>{"TabSheet1", "TabSheet2"}));
    EXPECT_EQ(Tab("TabSheet1").className, "TTabSheet");
    EXPECT_EQ(Tab("TabSheet2").className, "TTabSheet");
    ExpectProperties(Tab("TabSheet1"),
                     Joined({"Caption = W'Приказы'", "ParentFont = False"}, Font("[]")));
    ExpectProperties(Tab("TabSheet2"), {"Caption = W'Приказы 2'"});
}

// Each tab holds its image first, then its buttons in tab order.
TEST_F(MainWindowLayout, TabChildrenInOrder) {
    for (const auto& [tab, image] : {std::pair{"TabSheet1", "Image1"}, {"TabSheet2", "Image2"}}) {
        std::vector<const ButtonRow*> rows;
        for (const ButtonRow& row : Buttons)
            if (row.tab == tab)
                rows.push_back(&row);
        std::sort(rows.begin(), rows.end(),
                  [](const ButtonRow* a, const ButtonRow* b) { return a->tabOrder < b->tabOrder; });
        std::vector<std::string> expected{image};
        for (const ButtonRow* row : rows)
            expected.push_back(row->name);
        EXPECT_EQ(ChildNames(Tab(tab)), expected) << tab;
    }
}

TEST_F(MainWindowLayout, EveryButton) {
    for (const ButtonRow& row : Buttons) {
        SCOPED_TRACE(row.name);
        const Object& button = Child(Tab(row.tab), row.name);
        EXPECT_EQ(button.className, "TButton");
        std::vector<std::string> expected{
            "Left = " + std::to_string(row.left),   "Top = " + std::to_string(row.top),
            "Width = " + std::to_string(row.width), "Height = 25",
            "Caption = W'" + row.caption + "'",     "TabOrder = " + std::to_string(row.tabOrder),
            "OnClick = " + row.name + "Click"};
        // The second tab takes the page control's bold font, so its buttons set the regular one.
        if (row.tab == "TabSheet2")
            expected = Joined(Joined(expected, Font("[]")), {"ParentFont = False"});
        ExpectProperties(button, expected);
    }
}

// Each image carries its own copy of the cover picture's record.
TEST_F(MainWindowLayout, ImagesCarryTheCoverPicture) {
    const Bytes cover = ReadFile(sourceDir / "resources/cover.jpg");
    Bytes record{10, 'T', 'J', 'P', 'E', 'G', 'I', 'm', 'a', 'g', 'e'};
    for (int i = 0; i < 4; ++i)
        record.push_back(static_cast<std::uint8_t>(cover.size() >> (8 * i)));
    record.insert(record.end(), cover.begin(), cover.end());

    const Object* images[] = {&Child(Tab("TabSheet1"), "Image1"),
                              &Child(Tab("TabSheet2"), "Image2")};
    for (const Object* image : images) {
        SCOPED_TRACE(image->name);
        EXPECT_EQ(image->className, "TImage");
        ExpectProperties(*image,
                         {"Left = 400", "Top = 8", "Width = 137", "Height = 193", "Stretch = True",
                          "Picture.Data = binary(" + std::to_string(record.size()) + ")"});
        const auto data = Property(*image, "Picture.Data").AsBinary();
        EXPECT_TRUE(std::equal(data.begin(), data.end(), record.begin(), record.end()));
    }
    EXPECT_NE(Property(*images[0], "Picture.Data").AsBinary().data(),
              Property(*images[1], "Picture.Data").AsBinary().data());
    ::testing::Test::RecordProperty("layout_bytes", std::to_string(bytes_.size()));
}

} // namespace
