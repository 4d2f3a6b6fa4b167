// libFuzzer target: any input either reads into a tree or raises EReadError with a message;
// nothing else may happen (the sanitizers catch the rest).
#include "exceptions.h"
#include "form_reader.h"

#include <cstdlib>

namespace {

volatile std::uint8_t touched;

// Every accessor on every value: the right kind returns, any other raises EReadError.
void TouchValues(const classlib::form::Object& object) {
    for (const auto& property : object.properties) {
        const auto& value = property.value;
        const auto tryAccess = [](auto access) {
            try {
                access();
            } catch (const classlib::EReadError&) {
            }
        };
        tryAccess([&] { (void)value.AsInt(); });
        tryAccess([&] { (void)value.AsBool(); });
        tryAccess([&] { (void)value.AsIdent().size(); });
        tryAccess([&] { (void)value.AsText().size(); });
        tryAccess([&] { (void)value.AsSet().size(); });
        tryAccess([&] {
            // Reading both ends lets the address sanitizer check the span's bounds.
            const auto bytes = value.AsBinary();
            if (!bytes.empty())
                touched = bytes.front() ^ bytes.back();
        });
    }
    for (const auto& child : object.children)
        TouchValues(child);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        TouchValues(classlib::form::ReadForm({data, size}));
    } catch (const classlib::EReadError& error) {
        if (error.Message().empty())
            std::abort();
    }
    return 0;
}
