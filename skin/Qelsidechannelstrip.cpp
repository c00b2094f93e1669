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

}  // namespace skin
