#include "UpDown.h"

#include <commctrl.h>

#include "Reader.h"

namespace ui {

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) {
    width_ = 17;
    height_ = 25;
}

void TUpDown::FillParams(CreateParams& p) {
    TWinControl::FillParams(p);
    p.className = UPDOWN_CLASSA;
    p.style |= UDS_ARROWKEYS | (Horizontal ? UDS_HORZ : 0);
    p.style &= ~WS_CLIPCHILDREN;
}

void TUpDown::InitWnd() {
    SendMessageA(handle_, UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    SetIncrement(increment_);
    SendMessageA(handle_, UDM_SETPOS32, 0, static_cast<LPARAM>(position_));
}

void TUpDown::SetRange(int min, int max) {
    min_ = min;
    max_ = max;
    if (handle_) SendMessageA(handle_, UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
}

void TUpDown::SetIncrement(int increment) {
    increment_ = increment;
    if (!handle_) return;
    UDACCEL accel{0, static_cast<UINT>(increment_ < 0 ? -increment_ : increment_)};
    SendMessageA(handle_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

int TUpDown::Position() const {
    return handle_ ? static_cast<int>(SendMessageA(handle_, UDM_GETPOS32, 0, 0)) : position_;
}

void TUpDown::SetPosition(int position) {
    position_ = position;
    if (handle_) SendMessageA(handle_, UDM_SETPOS32, 0, static_cast<LPARAM>(position_));
}

bool TUpDown::HandleScroll(UINT, WPARAM wParam) {
    // The control tells its parent of each step it has taken; the end of a press follows as its own code.
    if (LOWORD(wParam) != SB_THUMBPOSITION) return true;
    position_ = Position();
    Click();
    return true;
}

bool TUpDown::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Min") {
        SetRange(v.AsInt(), max_);
    } else if (name == "Max") {
        SetRange(min_, v.AsInt());
    } else if (name == "Position") {
        SetPosition(v.AsInt());
    } else if (name == "Increment") {
        SetIncrement(v.AsInt());
    } else if (name == "Orientation") {
        Horizontal = EqualsIdent(v.AsIdent(), "udHorizontal");
    } else {
        return TWinControl::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace ui
