#include "ActnList.h"

#include <algorithm>

#include "Controls.h"
#include "Reader.h"

namespace ui {

TAction::~TAction() {
    for (TControl* client : std::vector<TControl*>(clients_)) client->SetAction(nullptr);
}

void TAction::SetCaption(const std::string& caption) {
    caption_ = caption;
    Changed();
}

void TAction::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Changed();
}

void TAction::SetChecked(bool checked) {
    checked_ = checked;
    Changed();
}

bool TAction::Execute() {
    if (!enabled_ || !OnExecute) return false;
    OnExecute(this);
    return true;
}

void TAction::AddClient(TControl* control) {
    if (std::find(clients_.begin(), clients_.end(), control) == clients_.end()) clients_.push_back(control);
}

void TAction::RemoveClient(TControl* control) {
    clients_.erase(std::remove(clients_.begin(), clients_.end(), control), clients_.end());
}

void TAction::Changed() {
    for (TControl* client : std::vector<TControl*>(clients_)) client->ActionChange(*this);
}

void TAction::Notification(TComponent* component, Operation operation) {
    TComponent::Notification(component, operation);
    // A linked control that goes away: only its address is left to forget.
    if (operation == Operation::Remove) {
        clients_.erase(std::remove_if(clients_.begin(), clients_.end(),
                                      [component](TControl* c) { return static_cast<TComponent*>(c) == component; }),
                       clients_.end());
    }
}

bool TAction::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Caption") {
        SetCaption(v.AsText());
    } else if (name == "Enabled") {
        SetEnabled(v.AsBool());
    } else if (name == "Checked") {
        SetChecked(v.AsBool());
    } else if (name == "OnExecute") {
        OnExecute = reader.Method<void(TComponent*)>(v);
    } else if (name == "Category" || name == "Hint" || name == "ImageIndex" || name == "ShortCut") {
    } else {
        return TComponent::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace ui
