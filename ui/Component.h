// Components: ownership, names, notification and the properties a form description sets.
#pragma once
#include <any>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace ui {

// The class library's exception: what the application object shows when nothing handles it.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// Identifiers of descriptions compare without regard to letter case.
bool EqualsIdent(const std::string& a, const std::string& b);

struct Value;
using PropertyList = std::vector<std::pair<std::string, Value>>;

// One property value of a form description.
struct Value {
    enum Kind { Int, Str, Ident, Set, List, Items } kind = Int;
    long long number = 0;
    std::string text;                 // Str and Ident
    std::vector<std::string> members; // Set
    std::vector<Value> list;          // List
    std::vector<PropertyList> items;  // Items: a collection, one property list per item

    int AsInt() const;
    bool AsBool() const;
    const std::string& AsText() const;   // Str or Ident
    const std::string& AsIdent() const;
};

class TComponent;
class Reader;
enum class Operation { Insert, Remove };
using TNotifyEvent = std::function<void(TComponent*)>;

class TComponent {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    virtual void SetName(const std::string& name);
    // A number the class library never looks at, for the program's own use.
    int Tag = 0;

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Component(int index) const { return components_.at(index); }
    TComponent* FindComponent(const std::string& name) const;

    // `listener` is told (Notification Remove) when this component is destroyed.
    void FreeNotification(TComponent* listener);
    void RemoveFreeNotification(TComponent* listener);
    // Insertion and removal of components; the default hands the news to every owned component.
    virtual void Notification(TComponent* component, Operation operation);

    bool Loading() const { return loading_; }
    void BeginLoading() { loading_ = true; }
    // After the whole description has been read, each component is told once.
    virtual void Loaded() { loading_ = false; }

    // Sets one described property; unknown names answer false (the reader reports them).
    virtual bool SetProperty(const std::string& name, const Value& value, Reader& reader);
    // A nested object of the description whose enclosing object is this one.
    virtual void ReadChild(TComponent* child) { (void)child; }

    // Event handlers that a description may name (the root form publishes its own).
    const std::any* FindMethod(const std::string& name) const;

protected:
    template <class C, class... A>
    void Publish(const std::string& name, void (C::*method)(A...)) {
        C* self = static_cast<C*>(this);
        methods_[name] = std::function<void(A...)>([self, method](A... args) { (self->*method)(args...); });
    }

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);

    TComponent* owner_ = nullptr;
    std::string name_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> listeners_;  // free notification, both ways
    std::map<std::string, std::any> methods_;
    bool loading_ = false;
    bool destroying_ = false;
};

// Looks a component up among its owner's components and checks its class.
template <class T>
T* FindAs(const TComponent& owner, const std::string& name) {
    T* found = dynamic_cast<T*>(owner.FindComponent(name));
    if (!found) throw Exception("Component " + name + " is missing or of the wrong class");
    return found;
}

}  // namespace ui
