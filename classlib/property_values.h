#pragma once
// What the window classes take from a layout value beyond its plain kinds: captions in the
// ANSI code page, colours and enumerations. A value of the wrong kind is a read error.
#include "form_reader.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace classlib {

class TComponent;
using TNotifyEvent = std::function<void(TComponent* sender)>;

// What a component needs from the loader while its properties are set.
class TPropertyContext {
public:
    virtual ~TPropertyContext() = default;
    // The form's event handler of that name; an unknown name is a read error.
    virtual TNotifyEvent Handler(std::string_view name) = 0;
    // Runs once every component of the layout exists (references between components).
    virtual void AfterLoading(std::function<void()> fixup) = 0;
    // The component of that name in the form; an unknown name is a read error.
    virtual TComponent& Component(std::string_view name) = 0;
};

// A caption: Unicode in the layout, shown in the system's ANSI code page.
std::string AnsiText(const form::Value& value);
COLORREF ColorValue(const form::Value& value);
// The position of an enumeration's identifier among the names given, or a read error.
int EnumIndex(std::string_view name, std::initializer_list<std::string_view> names);
int EnumValue(const form::Value& value, std::initializer_list<std::string_view> names);

} // namespace classlib
