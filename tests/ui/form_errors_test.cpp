// How a layout that cannot be read stops the building of a form, and the text the error box
// makes of a message.
#include "application.h"
#include "error_text.h"
#include "jpeg_image.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// A form whose layout resource is named after the class given; it offers no handlers.
class TTestForm : public classlib::TForm {
public:
    explicit TTestForm(std::string_view className)
        : TForm(classlib::Application, className, Handlers()) {}

private:
    static const classlib::THandlerTable& Handlers() {
        static const classlib::THandlerTable none;
        return none;
    }
};

std::string BuildError(std::string_view className) {
    try {
        TTestForm form(className);
    } catch (const classlib::Exception& error) {
        return error.Message();
    }
    return "built without error";
}

std::string DamagedJpegError() {
    std::ifstream file(DAMAGED_JPEG, std::ios::binary);
    const std::vector<std::uint8_t> jpeg{std::istreambuf_iterator<char>(file),
                                         std::istreambuf_iterator<char>()};
    try {
        classlib::ReadJpegSize(jpeg);
    } catch (const classlib::EJPEG& error) {
        return error.Message();
    }
    return "read without error";
}

TEST(FormErrors, NameTheComponentThePropertyAndTheFirstMessage) {
    struct Case {
        std::string_view className;
        std::string message;
    };
    const Case cases[] = {
        {"TMissingLayout", "Resource TMissingLayout not found"},
        {"TUnknownHandler", "Error reading Button1.OnClick: Invalid property value"},
        {"TUnknownProperty", "Error reading Button1.Colour: Property Colour does not exist"},
        {"TUnknownClass", "Class TStringGrid not found"},
        {"TDamagedPicture", "Error reading Image1.Picture.Data: " + DamagedJpegError()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildError(c.className), c.message) << c.className;
    EXPECT_EQ(DamagedJpegError(), "JPEG error #32"); // libjpeg: JERR_EMPTY_IMAGE
}

BOOL CALLBACK CountWindow(HWND, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int ThreadWindowCount() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST(FormErrors, AFailedBuildLeavesNoWindowOrGdiObjectBehind) {
    const int windows = ThreadWindowCount();
    const DWORD gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    BuildError("TUnknownHandler");
    BuildError("TDamagedPicture");
    EXPECT_EQ(ThreadWindowCount(), windows);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiObjects);
}

TEST(ErrorBoxText, AddsOneFullStopAfterACharacterAboveIt) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"Stream write error", "Stream write error."},
        {"Ends in a full stop.", "Ends in a full stop."},
        {"Ends in a bracket)", "Ends in a bracket)"},
        {"Ends in a comma,", "Ends in a comma,"},
        {"Ends in a hyphen-", "Ends in a hyphen-"},
        {"Ends in a space ", "Ends in a space "},
        {"Ends in a digit 7", "Ends in a digit 7."},
        {"Ends in a slash/", "Ends in a slash/."},
        {"Ends in a colon:", "Ends in a colon:."},
        {"Ends in a question?", "Ends in a question?."},
        {"\xCA\xEE\xED\xE5\xF6", "\xCA\xEE\xED\xE5\xF6."}, // Cyrillic, above 0x7F
    };
    for (const auto& [message, text] : cases)
        EXPECT_EQ(classlib::ErrorBoxText(message), text) << message;
}

} // namespace
