#include "Spin.h"

#include <commctrl.h>

#include <algorithm>

#include "Reader.h"
#include "SysUtils.h"

namespace ui {

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner) { text_ = "0"; }

TSpinEdit::~TSpinEdit() {
    // Still ours unless the parent window took it down already.
    if (buttons_ && FromHandle(buttons_) == this) {
        DetachWindow(buttons_);
        if (IsWindow(buttons_)) DestroyWindow(buttons_);
    }
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

namespace {
constexpr int kButtonsWidth = 16;
}  // namespace

void TSpinEdit::InitWnd() {
    TCustomEdit::InitWnd();
    // The buttons sit beside the edit, in the same parent, and report to this control.
    buttons_ = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | UDS_ARROWKEYS, 0, 0,
                               0, 0, GetParent(handle_), nullptr, GetModuleHandleA(nullptr), nullptr);
    if (buttons_) {
        SendMessageA(buttons_, UDM_SETRANGE32, static_cast<WPARAM>(-0x7FFFFFFF), 0x7FFFFFFF);
        AttachWindow(buttons_, this);
    }
    PlaceParts();
}

void TSpinEdit::SetBounds(int left, int top, int width, int height) {
    TCustomEdit::SetBounds(left, top, width, height);
    PlaceParts();
}

void TSpinEdit::PlaceParts() {
    if (!handle_ || !buttons_) return;
    // The edit gives up the right end of the control to the buttons, which go just above it in window
    // order so that neither paints over the other.
    const int editWidth = std::max(0, width_ - kButtonsWidth);
    settingBounds_ = true;  // the control's bounds stay those of edit and buttons together
    MoveWindow(handle_, left_, top_, editWidth, height_, TRUE);
    settingBounds_ = false;
    HWND above = GetWindow(handle_, GW_HWNDPREV);
    const UINT order = above == buttons_ ? SWP_NOZORDER : 0;
    SetWindowPos(buttons_, above ? above : HWND_TOP, left_ + editWidth, top_, std::min(width_, kButtonsWidth),
                 height_, SWP_NOACTIVATE | order);
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
