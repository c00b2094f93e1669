// Actions: one command's caption, enabled and checked state and its execution, shared by the
// controls linked to it. A linked control takes the action's caption and enabled state whenever
// they change, and a click on it executes the action.
#pragma once
#include <string>
#include <vector>

#include "Component.h"

namespace ui {

class TControl;

class TAction : public TComponent {
public:
    explicit TAction(TComponent* owner) : TComponent(owner) {}
    ~TAction() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    // Raised with the action as sender.
    TNotifyEvent OnExecute;
    // False when there is nothing to run (no OnExecute, or the action is disabled).
    bool Execute();

    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;
    void Notification(TComponent* component, Operation operation) override;

private:
    friend class TControl;
    void AddClient(TControl* control);
    void RemoveClient(TControl* control);
    void Changed();

    std::string caption_;
    bool enabled_ = true, checked_ = false;
    std::vector<TControl*> clients_;
};

// A form description's holder of actions; the actions themselves belong to the form.
class TActionList : public TComponent {
public:
    explicit TActionList(TComponent* owner) : TComponent(owner) {}
};

}  // namespace ui
