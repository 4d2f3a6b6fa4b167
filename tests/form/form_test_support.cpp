#include "form_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <variant>

namespace form_test {

namespace fs = std::filesystem;

fs::path compiledLayout;
const fs::path sourceDir = VALKESTA_SOURCE_DIR;

Bytes ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot open " + path.string());
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

namespace {

std::string Utf8(std::u16string_view text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size())
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
            result += static_cast<char>(c);
        } else if (c < 0x800) {
            result += static_cast<char>(0xC0 | c >> 6);
            result += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            result += static_cast<char>(0xE0 | c >> 12);
            result += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            result += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            result += static_cast<char>(0xF0 | c >> 18);
            result += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            result += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            result += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return result;
}

} // namespace

std::string Render(const std::string& name, const classlib::form::Value& value) {
    struct Renderer {
        std::string operator()(std::int32_t number) const { return std::to_string(number); }
        std::string operator()(bool flag) const { return flag ? "True" : "False"; }
        std::string operator()(const classlib::form::Identifier& ident) const { return ident.name; }
        std::string operator()(const std::string& text) const { return "'" + text + "'"; }
        std::string operator()(const std::u16string& text) const { return "W'" + Utf8(text) + "'"; }
        std::string operator()(std::span<const std::uint8_t> bytes) const {
            return "binary(" + std::to_string(bytes.size()) + ")";
        }
        std::string operator()(const classlib::form::Set& set) const {
            std::string list;
            for (const auto& member : set.names)
                list += (list.empty() ? "" : ", ") + member;
            return "[" + list + "]";
        }
    };
    return name + " = " + std::visit(Renderer{}, value.data);
}

std::vector<std::string> Rendered(const classlib::form::Object& object) {
    std::vector<std::string> lines;
    for (const auto& property : object.properties)
        lines.push_back(Render(property.name, property.value));
    return lines;
}

std::vector<std::string> ChildNames(const classlib::form::Object& object) {
    std::vector<std::string> names;
    for (const auto& child : object.children)
        names.push_back(child.name);
    return names;
}

const classlib::form::Object& Child(const classlib::form::Object& parent, const std::string& name) {
    for (const auto& child : parent.children)
        if (child.name == name)
            return child;
    throw std::runtime_error(parent.name + " has no child " + name);
}

const classlib::form::Value& Property(const classlib::form::Object& object,
                                      const std::string& name) {
    for (const auto& property : object.properties)
        if (property.name == name)
            return property.value;
    throw std::runtime_error(object.name + " has no property " + name);
}

} // namespace form_test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::cerr << "usage: form_tests <compiled main window layout>\n";
        return 2;
    }
    form_test::compiledLayout = argv[1];
    return RUN_ALL_TESTS();
}
