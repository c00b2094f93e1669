#include "Qelpinbutton.h"

namespace skin {

TqelPinButton::TqelPinButton(ui::TComponent* owner) : ui::TSpeedButton(owner) { Flat = true; }

void TqelPinButton::SetDown(bool down) {
    down_ = down;
    Invalidate();
}

void TqelPinButton::Paint(ui::TCanvas& canvas) {
    const ui::TRect r = ClientRect();
    canvas.Brush.Style = ui::TBrushStyle::Solid;
    canvas.Brush.Color = color_;
    canvas.FillRect(r);
    const bool sunk = down_ || pressed_;
    if (sunk || !Flat) {
        canvas.Pen.Color = sunk ? ui::clBtnShadow : ui::clBtnHighlight;
        canvas.MoveTo(0, r.Bottom - 1);
        canvas.LineTo(0, 0);
        canvas.LineTo(r.Right - 1, 0);
        canvas.Pen.Color = sunk ? ui::clBtnHighlight : ui::clBtnShadow;
        canvas.LineTo(r.Right - 1, r.Bottom - 1);
        canvas.LineTo(0, r.Bottom - 1);
    }
    if (!Glyph.Empty()) {
        const int offset = sunk ? 1 : 0;
        canvas.Draw((r.Width() - Glyph.Width()) / 2 + offset, (r.Height() - Glyph.Height()) / 2 + offset, Glyph);
    }
}

LRESULT TqelPinButton::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        pressed_ = true;
        SetCapture(handle_);
        Invalidate();
        return 0;
    case WM_LBUTTONUP: {
        if (!pressed_) return 0;
        pressed_ = false;
        ReleaseCapture();
        const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
        if (x >= 0 && y >= 0 && x < width_ && y < height_ && enabled_) {
            down_ = !down_;
            if (OnClick) OnClick(this);
        }
        Invalidate();
        return 0;
    }
    case WM_CAPTURECHANGED:
        pressed_ = false;
        Invalidate();
        break;
    default:
        break;
    }
    // Past the speed button's own mouse handling, which knows no down state.
    return ui::TWinControl::WndProc(message, wParam, lParam);
}

}  // namespace skin
