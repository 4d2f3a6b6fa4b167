#include "components.h"

#include "exceptions.h"

namespace classlib {

TComponent::~TComponent() {
    while (!components_.empty())
        components_.pop_back();
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    for (const auto& component : components_)
        if (component->Name() == name)
            return component.get();
    return nullptr;
}

void TComponent::SetProperty(std::string_view name, const form::Value&, TPropertyContext&) {
    throw EReadError("Property " + std::string(name) + " does not exist");
}

} // namespace classlib
