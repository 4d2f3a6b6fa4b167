#pragma once
// Reads a binary layout (see form_values.h) into a tree of objects and their property values.
// Portable: no Windows header. Every damaged input raises EReadError.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace classlib::form {

struct Identifier {
    std::string name;
    bool operator==(const Identifier&) const = default;
};

struct Set {
    std::vector<std::string> names;
    bool operator==(const Set&) const = default;
};

struct Value {
    // std::string holds ASCII text, std::u16string any other text. Binary data points into the
    // input of ReadForm, which must outlive the tree.
    std::variant<std::int32_t, bool, Identifier, std::string, std::u16string,
                 std::span<const std::uint8_t>, Set>
        data;

    // Each raises EReadError "Invalid property value" when the value is of another kind.
    std::int32_t AsInt() const;
    bool AsBool() const;
    const std::string& AsIdent() const;
    std::u16string AsText() const; // either kind of text
    std::span<const std::uint8_t> AsBinary() const;
    const std::vector<std::string>& AsSet() const;
};

struct Property {
    std::string name; // may be dotted: "Font.Height", "Picture.Data"
    Value value;
};

struct Object {
    std::string className, name;
    std::vector<Property> properties;
    std::vector<Object> children;
};

// The root object of the layout. A failure inside a property's value raises EReadError with
// PropertyErrorMessage; any other damage "Invalid stream format" or "Stream read error".
Object ReadForm(std::span<const std::uint8_t> data);

// "Error reading Image1.Picture.Data: JPEG error #53"; without a component, "Error reading
// Picture.Data: ...".
std::string PropertyErrorMessage(std::string_view component, std::string_view propertyPath,
                                 std::string_view firstMessage);

} // namespace classlib::form
