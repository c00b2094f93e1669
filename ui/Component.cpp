#include "Component.h"

#include <algorithm>

namespace ui {

bool EqualsIdent(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

int Value::AsInt() const {
    if (kind != Int) throw Exception("Integer value expected");
    return static_cast<int>(number);
}

bool Value::AsBool() const {
    if (kind == Ident) {
        if (EqualsIdent(text, "True")) return true;
        if (EqualsIdent(text, "False")) return false;
    }
    throw Exception("Boolean value expected, got '" + text + "'");
}

const std::string& Value::AsText() const {
    if (kind != Str && kind != Ident) throw Exception("Text value expected");
    return text;
}

const std::string& Value::AsIdent() const {
    if (kind != Ident) throw Exception("Identifier expected");
    return text;
}

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_) owner_->Insert(this);
}

TComponent::~TComponent() {
    destroying_ = true;
    // Owned components go last to first, as they were created the other way round.
    while (!components_.empty()) {
        TComponent* last = components_.back();
        delete last;  // its destructor removes it from this list
    }
    for (TComponent* listener : std::vector<TComponent*>(listeners_)) {
        // A listener may free another one while it hears of this; that one has left the list.
        if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) continue;
        listener->Notification(this, Operation::Remove);
        auto& back = listener->listeners_;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
    }
    if (owner_) owner_->Remove(this);
}

void TComponent::SetName(const std::string& name) { name_ = name; }

TComponent* TComponent::FindComponent(const std::string& name) const {
    for (TComponent* c : components_) {
        if (!name.empty() && EqualsIdent(c->name_, name)) return c;
    }
    return nullptr;
}

void TComponent::FreeNotification(TComponent* listener) {
    if (!listener || listener == this) return;
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) {
        listeners_.push_back(listener);
        listener->listeners_.push_back(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
    auto& back = listener->listeners_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::Notification(TComponent* component, Operation operation) {
    if (operation == Operation::Remove && component != this &&
        std::find(listeners_.begin(), listeners_.end(), component) != listeners_.end()) {
        RemoveFreeNotification(component);
    }
    for (TComponent* c : std::vector<TComponent*>(components_)) c->Notification(component, operation);
}

bool TComponent::SetProperty(const std::string& name, const Value& value, Reader&) {
    if (name == "Name") {
        SetName(value.AsText());
        return true;
    }
    if (name == "Tag") {
        Tag = value.AsInt();
        return true;
    }
    return false;
}

const std::any* TComponent::FindMethod(const std::string& name) const {
    auto it = methods_.find(name);
    return it == methods_.end() ? nullptr : &it->second;
}

void TComponent::Insert(TComponent* component) {
    components_.push_back(component);
    Notification(component, Operation::Insert);
}

void TComponent::Remove(TComponent* component) {
    components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
    Notification(component, Operation::Remove);
}

}  // namespace ui
