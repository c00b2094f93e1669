#include "Qelsidechannelstrip.h"

namespace skin {

TqelSideChannelStrip::TqelSideChannelStrip(ui::TComponent* owner) : ui::TCustomPanel(owner) {
    BevelOuter = ui::TBevelCut::None;
    BevelInner = ui::TBevelCut::None;
    caption_.clear();
}

void TqelSideChannelStrip::SetAlignment(ui::TAlignment alignment) {
    alignment_ = alignment;
    Invalidate();
}

void TqelSideChannelStrip::SetFont(const ui::TFont& font) {
    parentFont_ = false;
    font_.Assign(font);
    FontChanged();
}

void TqelSideChannelStrip::Paint(ui::TCanvas& canvas) {
    const ui::TRect r = ClientRect();
    canvas.Brush.Style = ui::TBrushStyle::Solid;
    canvas.Brush.Color = color_;
    canvas.FillRect(r);
    if (!caption_.empty()) {
        UINT format = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
        format |= alignment_ == ui::TAlignment::Center         ? DT_CENTER
                  : alignment_ == ui::TAlignment::RightJustify ? DT_RIGHT
                                                               : DT_LEFT;
        canvas.Font.Assign(font_);
        canvas.Brush.Style = ui::TBrushStyle::Clear;
        canvas.TextRect(r, caption_, format);
        canvas.Brush.Style = ui::TBrushStyle::Solid;
    }
    PaintGraphicChildren(canvas);
}

LRESULT TqelSideChannelStrip::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        pressed_ = true;
        SetCapture(handle_);
        break;
    case WM_LBUTTONUP: {
        if (!pressed_) break;
        pressed_ = false;
        ReleaseCapture();
        const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
        if (x >= 0 && y >= 0 && x < width_ && y < height_ && enabled_ && OnClick) OnClick(this);
        return 0;
    }
    case WM_CAPTURECHANGED:
        pressed_ = false;
        break;
    default:
        break;
    }
    return ui::TCustomPanel::WndProc(message, wParam, lParam);
}

}  // namespace skin
