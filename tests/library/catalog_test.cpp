// The catalogue's invariants: which button opens which document, under which file name.
#include "document_catalog.h"
#include "open_document.h"
#include "windows1251.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <stdexcept>
#include <string>

namespace {

std::string Extension(const TDocumentEntry& entry) {
    return entry.StoredFormat == TDocumentFormat::dfOpenXml ? ".docx" : ".doc";
}

// The file name without the extension of its row's format.
std::string Title(const TDocumentEntry& entry) {
    const std::string fileName = entry.FileName;
    const std::string extension = Extension(entry);
    return fileName.ends_with(extension) ? fileName.substr(0, fileName.size() - extension.size())
                                         : "";
}

bool IsAllowedTextByte(unsigned char byte) {
    return byte >= 0xC0 || (byte >= '0' && byte <= '9') || byte == ' ' || byte == '-' ||
           byte == ',' || byte == '.' || byte == 0xB9 || byte == 0xB8;
}

// Every byte is one the titles may use, and every numero sign stands between two spaces.
void ExpectTitleText(const std::string& text, const char* what) {
    SCOPED_TRACE(what);
    ASSERT_FALSE(text.empty());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        EXPECT_TRUE(IsAllowedTextByte(byte)) << "byte 0x" << std::hex << int(byte) << " at " << i;
        if (byte == 0xB9) {
            EXPECT_TRUE(i > 0 && i + 1 < text.size() && text[i - 1] == ' ' && text[i + 1] == ' ')
                << "numero sign at " << i;
        }
    }
}

TEST(DocumentCatalogTest, HasFourteenRowsOnTheFirstTabAndSevenOnTheSecond) {
    ASSERT_EQ(DocumentCatalog.size(), 21u);
    const auto onFirstTab = [](const TDocumentEntry& entry) {
        return std::string(entry.PageName) == "TabSheet1";
    };
    const auto onSecondTab = [](const TDocumentEntry& entry) {
        return std::string(entry.PageName) == "TabSheet2";
    };
    // Rows stand by tab: the first tab's fourteen, then the second's seven.
    EXPECT_TRUE(std::all_of(DocumentCatalog.begin(), DocumentCatalog.begin() + 14, onFirstTab));
    EXPECT_TRUE(std::all_of(DocumentCatalog.begin() + 14, DocumentCatalog.end(), onSecondTab));
}

TEST(DocumentCatalogTest, ButtonResourceAndFileNamesAreUnique) {
    std::set<std::string> buttons, resources, files;
    for (const TDocumentEntry& entry : DocumentCatalog) {
        buttons.insert(entry.ButtonName);
        resources.insert(entry.ResourceName);
        files.insert(entry.FileName);
    }
    EXPECT_EQ(buttons.size(), DocumentCatalog.size());
    EXPECT_EQ(resources.size(), DocumentCatalog.size());
    EXPECT_EQ(files.size(), DocumentCatalog.size());
}

TEST(DocumentCatalogTest, ResourceNamesAreExactlyDoc1ToDoc21) {
    std::set<std::string> expected;
    for (int number = 1; number <= 21; ++number)
        expected.insert("DOC" + std::to_string(number));
    std::set<std::string> actual;
    for (const TDocumentEntry& entry : DocumentCatalog)
        actual.insert(entry.ResourceName);
    EXPECT_EQ(actual, expected);
}

TEST(DocumentCatalogTest, ExtensionFollowsTheStoredFormat) {
    int openXml = 0, word97 = 0;
    for (const TDocumentEntry& entry : DocumentCatalog) {
        const std::string fileName = entry.FileName;
        const bool docx = fileName.ends_with(".docx");
        const bool doc = fileName.ends_with(".doc");
        EXPECT_EQ(docx, entry.StoredFormat == TDocumentFormat::dfOpenXml) << entry.ButtonName;
        EXPECT_EQ(doc, entry.StoredFormat == TDocumentFormat::dfWord97) << entry.ButtonName;
        openXml += docx;
        word97 += doc;
    }
    EXPECT_EQ(openXml, 17);
    EXPECT_EQ(word97, 4);
}

TEST(DocumentCatalogTest, TitlesAndCaptionsUseOnlyTheAllowedCharacters) {
    int rowsWithYo = 0;
    for (const TDocumentEntry& entry : DocumentCatalog) {
        SCOPED_TRACE(entry.ButtonName);
        ExpectTitleText(Title(entry), "file name");
        ExpectTitleText(entry.Caption, "caption");
        EXPECT_EQ(std::strchr(entry.Caption, '\xB8'), nullptr);
        rowsWithYo += std::strchr(entry.FileName, '\xB8') != nullptr;
    }
    EXPECT_EQ(rowsWithYo, 1);
    EXPECT_NE(std::strchr(CatalogEntryForButton("Button16").FileName, '\xB8'), nullptr);
}

TEST(DocumentCatalogTest, CaptionIsTheTitleExceptOnTwoShortenedButtons) {
    int equal = 0;
    for (const TDocumentEntry& entry : DocumentCatalog)
        equal += Title(entry) == entry.Caption;
    EXPECT_EQ(equal, 19);

    const TDocumentEntry& button14 = CatalogEntryForButton("Button14");
    EXPECT_STREQ(button14.Caption, u8"Предельные размеры снятия наличных денег"_w1251);
    EXPECT_EQ(Title(button14), std::string(button14.Caption) + u8" с банковских счетов"_w1251);

    const TDocumentEntry& button16 = CatalogEntryForButton("Button16");
    EXPECT_STREQ(button16.Caption, u8"Примеры форматов платежей ..."_w1251);
    std::string shortened = button16.Caption;
    ASSERT_TRUE(shortened.ends_with(" ..."));
    shortened.resize(shortened.size() - 3);
    EXPECT_EQ(Title(button16), shortened + u8"и расчёты единого платежа"_w1251);
    EXPECT_STREQ(button16.FileName,
                 u8"Примеры форматов платежей и расчёты единого платежа.docx"_w1251);
}

TEST(DocumentCatalogTest, LongestFullPathHas76Bytes) {
    std::size_t longest = 0;
    for (const TDocumentEntry& entry : DocumentCatalog)
        longest = std::max(longest, std::strlen(DocumentFolder) + 1 + std::strlen(entry.FileName));
    EXPECT_EQ(longest, 76u);
}

// Resource numbers follow the on-screen order, not the button numbers nor the rows.
TEST(DocumentCatalogTest, ButtonsOpenTheirOwnResources) {
    const struct {
        const char* button;
        const char* resource;
        const char* fileName;
    } cases[] = {
        {"Button2", "DOC9", u8"Приказ № 146.docx"_w1251},
        {"Button71", "DOC4", u8"Приказ № 4.docx"_w1251},
        {"Button39", "DOC7", u8"Приказ № 44.doc"_w1251},
        {"Button14", "DOC19",
         u8"Предельные размеры снятия наличных денег с банковских счетов.docx"_w1251},
    };
    for (const auto& expected : cases) {
        const TDocumentEntry& entry = CatalogEntryForButton(expected.button);
        EXPECT_STREQ(entry.ResourceName, expected.resource) << expected.button;
        EXPECT_STREQ(entry.FileName, expected.fileName) << expected.button;
    }
    EXPECT_THROW(CatalogEntryForButton("Button18"), std::out_of_range);
}

} // namespace
