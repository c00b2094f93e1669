#include "RadioButton.h"

#include "Reader.h"

namespace ui {

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
    width_ = 113;
    height_ = 17;
}

void TRadioButton::FillParams(CreateParams& p) {
    TWinControl::FillParams(p);
    p.className = "BUTTON";
    p.style |= WS_TABSTOP | BS_AUTORADIOBUTTON;
}

void TRadioButton::InitWnd() { SendMessageA(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0); }

bool TRadioButton::Checked() const {
    return handle_ ? SendMessageA(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED : checked_;
}

void TRadioButton::SetChecked(bool checked) {
    checked_ = checked;
    if (handle_) SendMessageA(handle_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TRadioButton::HandleCommand(WORD code, WORD) {
    if (code != BN_CLICKED) return false;
    checked_ = Checked();
    if (OnClick) OnClick(this);
    return true;
}

bool TRadioButton::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Checked") {
        SetChecked(v.AsBool());
        return true;
    }
    return TWinControl::SetProperty(name, v, reader);
}

}  // namespace ui
