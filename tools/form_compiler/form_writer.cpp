#include "form_writer.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace form_compiler {

using classlib::form::ValueTag;

namespace {

template <typename Narrow> bool Fits(std::int32_t value) {
    return value >= std::numeric_limits<Narrow>::min() &&
           value <= std::numeric_limits<Narrow>::max();
}

} // namespace

FormWriter::FormWriter() {
    bytes_.assign(classlib::form::Signature.begin(), classlib::form::Signature.end());
}

void FormWriter::BeginObject(std::string_view className, std::string_view name) {
    ShortString(className);
    ShortString(name);
}

void FormWriter::EndList() {
    bytes_.push_back(classlib::form::EndMarker);
}

void FormWriter::PropertyName(std::string_view name) {
    ShortString(name);
}

void FormWriter::Integer(std::int32_t value) {
    if (Fits<std::int8_t>(value)) {
        Tag(ValueTag::Int8);
        UInt(static_cast<std::uint32_t>(value), 1);
    } else if (Fits<std::int16_t>(value)) {
        Tag(ValueTag::Int16);
        UInt(static_cast<std::uint32_t>(value), 2);
    } else {
        Tag(ValueTag::Int32);
        UInt(static_cast<std::uint32_t>(value), 4);
    }
}

void FormWriter::Identifier(std::string_view name) {
    Tag(ValueTag::Identifier);
    ShortString(name);
}

void FormWriter::Boolean(bool value) {
    Tag(value ? ValueTag::True : ValueTag::False);
}

void FormWriter::Text(std::u16string_view text) {
    const bool ascii = std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
    if (ascii && text.size() <= classlib::form::MaxShortStringLength) {
        Tag(ValueTag::String);
        bytes_.push_back(static_cast<std::uint8_t>(text.size()));
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        return;
    }
    Tag(ValueTag::WideString);
    Length32(text.size());
    for (char16_t unit : text)
        UInt(unit, 2);
}

void FormWriter::Binary(std::span<const std::uint8_t> bytes) {
    Tag(ValueTag::Binary);
    Length32(bytes.size());
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void FormWriter::Set(std::span<const std::string> names) {
    Tag(ValueTag::Set);
    for (const auto& name : names)
        ShortString(name);
    bytes_.push_back(classlib::form::EndMarker);
}

void FormWriter::Tag(ValueTag tag) {
    bytes_.push_back(static_cast<std::uint8_t>(tag));
}

void FormWriter::ShortString(std::string_view text) {
    if (text.empty() || text.size() > classlib::form::MaxShortStringLength)
        throw std::invalid_argument("name '" + std::string(text) +
                                    "' is empty or longer than 255 characters");
    bytes_.push_back(static_cast<std::uint8_t>(text.size()));
    bytes_.insert(bytes_.end(), text.begin(), text.end());
}

void FormWriter::UInt(std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void FormWriter::Length32(std::size_t length) {
    if (length > std::numeric_limits<std::uint32_t>::max())
        throw std::invalid_argument("value longer than 4 GB");
    UInt(static_cast<std::uint32_t>(length), 4);
}

} // namespace form_compiler
