#include "Spin.h"

#include <commctrl.h>

#include <algorithm>

#include "Reader.h"
#include "SysUtils.h"

namespace ui {

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner) { text_ = "0"; }

TSpinEdit::~TSpinEdit() {
    // Still ours unless the parent window took it down already.
    if (buttons_ && IsWindow(buttons_) && GetPropA(buttons_, "ui.control") == this) DestroyWindow(buttons_);
}

int TSpinEdit::Clamp(int value) const {
    if (MinValue == MaxValue) return value;
    return std::clamp(value, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
}

int TSpinEdit::Value() const { return StrToInt(Text()); }

void TSpinEdit::SetValue(int value) { SetText(std::to_string(Clamp(value))); }

void TSpinEdit::Step(int direction) {
    int current = 0;
    try {
        current = Value();
    } catch (const EConvertError&) {
        current = MinValue;
    }
    SetValue(current + direction * Increment);
}

void TSpinEdit::InitWnd() {
    TCustomEdit::InitWnd();
    // The buttons sit beside the edit, in the same parent, and report to this control.
    buttons_ = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS, left_ + width_ - 16,
                               top_, 16, height_, GetParent(handle_), nullptr, GetModuleHandleA(nullptr), nullptr);
    if (buttons_) {
        SendMessageA(buttons_, UDM_SETRANGE32, static_cast<WPARAM>(-0x7FFFFFFF), 0x7FFFFFFF);
        SetPropA(buttons_, "ui.control", this);
    }
}

void TSpinEdit::SetBounds(int left, int top, int width, int height) {
    TCustomEdit::SetBounds(left, top, width, height);
    if (buttons_) MoveWindow(buttons_, left + width - 16, top, 16, height, TRUE);
}

bool TSpinEdit::HandleNotify(NMHDR* header, LRESULT& result) {
    if (header->hwndFrom != buttons_ || header->code != UDN_DELTAPOS) return false;
    const auto* nm = reinterpret_cast<NMUPDOWN*>(header);
    Step(nm->iDelta > 0 ? 1 : -1);
    result = TRUE;  // the value lives in the text, not in the buttons' position
    return true;
}

bool TSpinEdit::SetProperty(const std::string& name, const ui::Value& v, Reader& reader) {
    if (name == "MinValue") {
        MinValue = v.AsInt();
    } else if (name == "MaxValue") {
        MaxValue = v.AsInt();
    } else if (name == "Increment") {
        Increment = v.AsInt();
    } else if (name == "Value") {
        SetValue(v.AsInt());
    } else {
        return TCustomEdit::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace ui
