#include "form_loader.h"

#include "comctrls.h"
#include "exceptions.h"
#include "extctrls.h"
#include "property_values.h"
#include "stdctrls.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace classlib {

namespace {

using TFactory = std::unique_ptr<TComponent> (*)(TComponent* owner);

template <class T> std::unique_ptr<TComponent> Make(TComponent* owner) {
    return std::make_unique<T>(owner);
}

// The component classes a layout may name.
constexpr struct {
    std::string_view name;
    TFactory make;
} RegisteredClasses[] = {
    {"TButton", &Make<TButton>},
    {"TImage", &Make<TImage>},
    {"TPageControl", &Make<TPageControl>},
    {"TTabSheet", &Make<TTabSheet>},
};

bool SameText(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

class TFormLoader final : public TPropertyContext {
public:
    TFormLoader(TForm& form, const THandlerTable& handlers) : form_(form), handlers_(handlers) {}

    void Load(const form::Object& layout) {
        if (!SameText(layout.className, form_.ClassName()))
            throw EReadError("Invalid stream format");
        form_.SetName(layout.name);
        ReadProperties(form_, layout);
        ReadChildren(form_, layout);
        for (const auto& [component, property, fixup] : fixups_)
            Guarded(*component, property, fixup);
    }

    TNotifyEvent Handler(std::string_view name) override {
        for (const THandlerEntry& entry : handlers_)
            if (SameText(entry.name, name))
                return [&form = form_, method = entry.method](TComponent* sender) {
                    (form.*method)(sender);
                };
        throw EReadError("Invalid property value");
    }

    void AfterLoading(std::function<void()> fixup) override {
        fixups_.push_back({current_, currentProperty_, std::move(fixup)});
    }

    TComponent& Component(std::string_view name) override {
        if (TComponent* component = form_.FindComponent(name))
            return *component;
        throw EReadError("Invalid property value");
    }

private:
    struct TFixup {
        TComponent* component;
        std::string property;
        std::function<void()> apply;
    };

    // Runs one step of setting a property, turning its failure into the layout's read error.
    template <class F> void Guarded(TComponent& component, std::string_view property, F&& step) {
        try {
            step();
        } catch (const Exception& error) {
            throw EReadError(
                form::PropertyErrorMessage(component.Name(), property, error.Message()));
        }
    }

    void ReadProperties(TComponent& component, const form::Object& object) {
        for (const form::Property& property : object.properties) {
            current_ = &component;
            currentProperty_ = property.name;
            Guarded(component, property.name,
                    [&] { component.SetProperty(property.name, property.value, *this); });
        }
    }

    void ReadChildren(TComponent& parent, const form::Object& object) {
        for (const form::Object& child : object.children) {
            TComponent& component = Create(child);
            if (auto* control = dynamic_cast<TControl*>(&component))
                control->SetParent(dynamic_cast<TWinControl*>(&parent));
            ReadProperties(component, child);
            ReadChildren(component, child);
        }
    }

    TComponent& Create(const form::Object& object) {
        const auto found =
            std::find_if(std::begin(RegisteredClasses), std::end(RegisteredClasses),
                         [&](const auto& entry) { return entry.name == object.className; });
        if (found == std::end(RegisteredClasses))
            throw EReadError("Class " + object.className + " not found");
        TComponent* component = form_.Adopt(found->make(&form_));
        component->SetName(object.name);
        return *component;
    }

    TForm& form_;
    const THandlerTable& handlers_;
    std::vector<TFixup> fixups_;
    TComponent* current_ = nullptr;
    std::string currentProperty_;
};

} // namespace

void LoadForm(TForm& form, const form::Object& layout, const THandlerTable& handlers) {
    TFormLoader(form, handlers).Load(layout);
}

} // namespace classlib
