#include "property_values.h"

#include "exceptions.h"

namespace classlib {

std::string AnsiText(const form::Value& value) {
    const std::u16string text = value.AsText();
    if (text.empty())
        return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, length, ansi.data(), size, nullptr, nullptr);
    return ansi;
}

COLORREF ColorValue(const form::Value& value) {
    const int index = EnumValue(value, {"clBtnFace", "clWindowText"});
    return GetSysColor(index == 0 ? COLOR_BTNFACE : COLOR_WINDOWTEXT);
}

int EnumValue(const form::Value& value, std::initializer_list<std::string_view> names) {
    return EnumIndex(value.AsIdent(), names);
}

int EnumIndex(std::string_view name, std::initializer_list<std::string_view> names) {
    int index = 0;
    for (std::string_view candidate : names) {
        if (candidate == name)
            return index;
        ++index;
    }
    throw EReadError("Invalid property value");
}

} // namespace classlib
