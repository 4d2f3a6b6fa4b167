#pragma once
// Ownership of components: an owner destroys what it owns, newest first.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace classlib {

namespace form {
struct Value;
}
class TPropertyContext;

class TComponent {
public:
    explicit TComponent(TComponent* owner) : owner_(owner) {}
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    TComponent* Owner() const { return owner_; }

    // Takes ownership of a component created with this one as its owner.
    template <class T> T* Adopt(std::unique_ptr<T> component) {
        T* raw = component.get();
        components_.push_back(std::move(component));
        return raw;
    }
    TComponent* FindComponent(std::string_view name) const;

    // The layout reader sets each stored property through this; a class handles its own
    // properties and passes the others to its base. An unknown property is a read error.
    virtual void SetProperty(std::string_view name, const form::Value& value,
                             TPropertyContext& context);

private:
    TComponent* owner_;
    std::string name_;
    std::vector<std::unique_ptr<TComponent>> components_;
};

} // namespace classlib
