// The form frame as far as the style table and the skinned menu need it: a panel on a form that
// carries the form's style and face colour and takes the form's skinned main menu. The frame's
// title bar, border painting and menu bar come with the frame's own painting.
#pragma once
#include "ExtCtrls.h"
#include "Menus.h"
#include "Qelthemes.h"

namespace skin {

class TqelForm : public ui::TCustomPanel {
public:
    explicit TqelForm(ui::TComponent* owner);

    TqelUIStyle UIStyle() const { return uiStyle_; }
    // Not Custom: the frame takes the style's face colour and passes the style to its children.
    void SetUIStyle(TqelUIStyle style);
    ui::TMainMenu* Menu() const { return menu_; }
    void SetMenu(ui::TMainMenu* menu);

    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;
    void Notification(ui::TComponent* component, ui::Operation operation) override;

private:
    TqelUIStyle uiStyle_ = TqelUIStyle::DeepBlue;
    ui::TMainMenu* menu_ = nullptr;
};

}  // namespace skin
