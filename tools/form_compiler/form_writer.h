#pragma once
// Writes a binary layout (format in classlib/form_values.h) piece by piece, in stream order.
// A value that the format cannot hold raises std::invalid_argument.
#include "form_values.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace form_compiler {

class FormWriter {
public:
    FormWriter(); // starts with the signature

    void BeginObject(std::string_view className, std::string_view name);
    void EndList(); // after an object's properties, and after its children
    void PropertyName(std::string_view name);

    void Integer(std::int32_t value);
    void Identifier(std::string_view name);
    void Boolean(bool value);
    void Text(std::u16string_view text); // ASCII when it fits a short string, else wide
    void Binary(std::span<const std::uint8_t> bytes);
    void Set(std::span<const std::string> names);

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    void Tag(classlib::form::ValueTag tag);
    void ShortString(std::string_view text);
    void UInt(std::uint32_t value, int size);
    void Length32(std::size_t length);

    std::vector<std::uint8_t> bytes_;
};

} // namespace form_compiler
