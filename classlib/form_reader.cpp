#include "form_reader.h"

#include "exceptions.h"
#include "form_values.h"

#include <algorithm>

namespace classlib::form {
namespace {

constexpr std::string_view ReadErrorMessage = "Stream read error";
constexpr std::string_view FormatErrorMessage = "Invalid stream format";
constexpr std::string_view ValueErrorMessage = "Invalid property value";

// Deeper than any real layout, shallow enough that recursion cannot exhaust the stack.
constexpr int MaxNestingDepth = 32;

[[noreturn]] void Fail(std::string_view message) {
    throw EReadError(std::string(message));
}

// Reads from the front of the input; every read is checked against the bytes left.
class Cursor {
public:
    explicit Cursor(std::span<const std::uint8_t> data) : rest_(data) {}

    bool AtEnd() const { return rest_.empty(); }
    std::size_t Remaining() const { return rest_.size(); }

    std::span<const std::uint8_t> Take(std::size_t count) {
        if (count > rest_.size())
            Fail(ReadErrorMessage);
        const auto taken = rest_.first(count);
        rest_ = rest_.subspan(count);
        return taken;
    }

    std::uint8_t Byte() { return Take(1)[0]; }

    std::uint8_t PeekByte() const {
        if (rest_.empty())
            Fail(ReadErrorMessage);
        return rest_[0];
    }

    std::uint32_t UInt(std::size_t size) {
        std::uint32_t value = 0;
        const auto bytes = Take(size);
        for (std::size_t i = 0; i < size; ++i)
            value |= std::uint32_t{bytes[i]} << (8 * i);
        return value;
    }

    std::string ShortString() {
        const auto bytes = Take(Byte());
        return {bytes.begin(), bytes.end()};
    }

private:
    std::span<const std::uint8_t> rest_;
};

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
}

std::string ReadIdentifier(Cursor& in) {
    auto name = in.ShortString();
    if (name.empty())
        Fail(ValueErrorMessage);
    return name;
}

std::u16string ReadWideString(Cursor& in) {
    const std::uint32_t count = in.UInt(4);
    // Checked before doubling: count * 2 can wrap where size_t has 32 bits.
    if (count > in.Remaining() / 2)
        Fail(ReadErrorMessage);
    const auto bytes = in.Take(std::size_t{count} * 2);
    std::u16string text(count, u'\0');
    for (std::size_t i = 0; i < count; ++i)
        text[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return text;
}

Set ReadSet(Cursor& in) {
    Set set;
    for (auto name = in.ShortString(); !name.empty(); name = in.ShortString())
        set.names.push_back(std::move(name));
    return set;
}

Value ReadValue(Cursor& in) {
    Value value;
    switch (static_cast<ValueTag>(in.Byte())) {
    case ValueTag::Int8:
        value.data = std::int32_t{static_cast<std::int8_t>(in.UInt(1))};
        break;
    case ValueTag::Int16:
        value.data = std::int32_t{static_cast<std::int16_t>(in.UInt(2))};
        break;
    case ValueTag::Int32:
        value.data = static_cast<std::int32_t>(in.UInt(4));
        break;
    case ValueTag::Identifier:
        value.data = Identifier{ReadIdentifier(in)};
        break;
    case ValueTag::False:
        value.data = false;
        break;
    case ValueTag::True:
        value.data = true;
        break;
    case ValueTag::String: {
        auto text = in.ShortString();
        if (!IsAscii(text))
            Fail(ValueErrorMessage);
        value.data = std::move(text);
        break;
    }
    case ValueTag::WideString:
        value.data = ReadWideString(in);
        break;
    case ValueTag::Binary:
        value.data = in.Take(in.UInt(4));
        break;
    case ValueTag::Set:
        value.data = ReadSet(in);
        break;
    default:
        Fail(ValueErrorMessage);
    }
    return value;
}

Object ReadObject(Cursor& in, int depth) {
    if (depth > MaxNestingDepth)
        Fail(FormatErrorMessage);
    Object object;
    object.className = in.ShortString();
    if (object.className.empty())
        Fail(FormatErrorMessage);
    object.name = in.ShortString();
    for (auto name = in.ShortString(); !name.empty(); name = in.ShortString()) {
        try {
            object.properties.push_back({name, ReadValue(in)});
        } catch (const EReadError& error) {
            throw EReadError(PropertyErrorMessage(object.name, name, error.Message()));
        }
    }
    while (in.PeekByte() != EndMarker)
        object.children.push_back(ReadObject(in, depth + 1));
    in.Byte();
    return object;
}

template <typename T> const T& Get(const Value& value) {
    if (const T* held = std::get_if<T>(&value.data))
        return *held;
    Fail(ValueErrorMessage);
}

} // namespace

std::int32_t Value::AsInt() const {
    return Get<std::int32_t>(*this);
}
bool Value::AsBool() const {
    return Get<bool>(*this);
}
const std::string& Value::AsIdent() const {
    return Get<Identifier>(*this).name;
}
std::span<const std::uint8_t> Value::AsBinary() const {
    return Get<std::span<const std::uint8_t>>(*this);
}
const std::vector<std::string>& Value::AsSet() const {
    return Get<Set>(*this).names;
}

std::u16string Value::AsText() const {
    if (const auto* ascii = std::get_if<std::string>(&data))
        return {ascii->begin(), ascii->end()};
    return Get<std::u16string>(*this);
}

Object ReadForm(std::span<const std::uint8_t> data) {
    Cursor in(data);
    const auto signature = in.Take(Signature.size());
    if (!std::equal(signature.begin(), signature.end(), Signature.begin()))
        Fail(FormatErrorMessage);
    Object root = ReadObject(in, 0);
    if (!in.AtEnd())
        Fail(FormatErrorMessage);
    return root;
}

std::string PropertyErrorMessage(std::string_view component, std::string_view propertyPath,
                                 std::string_view firstMessage) {
    std::string message = "Error reading ";
    message.append(component);
    if (!component.empty())
        message += '.';
    message.append(propertyPath);
    message += ": ";
    message.append(firstMessage);
    return message;
}

} // namespace classlib::form
