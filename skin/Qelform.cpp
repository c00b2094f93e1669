#include "Qelform.h"

#include "Reader.h"

namespace skin {

TqelForm::TqelForm(ui::TComponent* owner) : ui::TCustomPanel(owner) {
    BevelOuter = ui::TBevelCut::None;
}

void TqelForm::SetUIStyle(TqelUIStyle style) {
    uiStyle_ = style;
    if (style == TqelUIStyle::Custom) return;
    SetColor(GetThemeColor(style, 3));
    SubContainerApplyUIStyle(*this, style);
    ContainerApplyUIStyle(*this, style);
}

void TqelForm::SetMenu(ui::TMainMenu* menu) {
    menu_ = menu;
    if (menu_) menu_->FreeNotification(this);
}

void TqelForm::Notification(ui::TComponent* component, ui::Operation operation) {
    ui::TCustomPanel::Notification(component, operation);
    if (operation == ui::Operation::Remove && component == menu_) menu_ = nullptr;
}

bool TqelForm::SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) {
    if (name == "UIStyle") {
        SetUIStyle(ParseUIStyle(v.AsIdent()));
    } else if (name == "Menu") {
        reader.Reference(v, [this](ui::TComponent* c) { SetMenu(dynamic_cast<ui::TMainMenu*>(c)); });
    } else {
        return ui::TCustomPanel::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace skin
