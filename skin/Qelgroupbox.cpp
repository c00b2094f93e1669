#include "Qelgroupbox.h"

#include <cstdlib>

#include "Reader.h"

namespace skin {

TqelCustomGroupBox::TqelCustomGroupBox(ui::TComponent* owner) : TqelCustomPanel(owner) {
    BevelOuter = ui::TBevelCut::None;
    caption_ = " ";
    width_ = 185;
    height_ = 105;
    const TqelUIStyle style = GetQELFormStyle(owner);
    borderColor_ = GetThemeColor(style, theme::kBorderColor);
    font_.Color = GetThemeColor(style, theme::kGroupFontColor);
    SetTransparent(true);
}

void TqelCustomGroupBox::SetBorderColor(ui::TColor color) {
    borderColor_ = color;
    Invalidate();
}

void TqelCustomGroupBox::SetCaption(const std::string& caption) {
    groupCaption_ = caption;
    Invalidate();
}

void TqelCustomGroupBox::SetEnabled(bool enabled) {
    TqelCustomPanel::SetEnabled(enabled);
    for (TControl* child : controls_) child->SetEnabled(enabled);
    Invalidate();
}

ui::TRect TqelCustomGroupBox::GetClient() const {
    const ui::TRect r = ClientRect();
    return {r.Left + 3, r.Top + std::abs(font_.Height), r.Right - 2, r.Bottom - 2};
}

void TqelCustomGroupBox::FollowContainerStyle(TqelUIStyle style) {
    SetBorderColor(GetThemeColor(style, theme::kBorderColor));
    font_.Color = GetThemeColor(style, theme::kGroupFontColor);
    font_.Changed();
    SetColor(GetThemeColor(style, theme::kPanelColor));
}

void TqelCustomGroupBox::Paint(ui::TCanvas& canvas) {
    const int h = std::abs(font_.Height);
    TqelCustomPanel::Paint(canvas);
    canvas.Font.Assign(font_);
    ui::TRect r = ClientRect();
    r.Top += h / 2 + 1;
    canvas.Pen.Color = borderColor_;
    const int gapEnd = r.Left + 6 + canvas.TextWidth(groupCaption_);
    const POINT line[] = {{r.Left + 2, r.Top},       {r.Left, r.Top},          {r.Left, r.Bottom - 1},
                          {r.Right - 1, r.Bottom - 1}, {r.Right - 1, r.Top}, {gapEnd, r.Top}};
    canvas.Polyline(line, 6);
    if (!enabled_) canvas.Font.Color = 0x808080;
    canvas.Brush.Style = ui::TBrushStyle::Clear;
    canvas.TextOut(5, 0, groupCaption_);
    canvas.Brush.Style = ui::TBrushStyle::Solid;
}

bool TqelCustomGroupBox::SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) {
    if (name == "BorderColor") {
        SetBorderColor(ui::ParseColor(v));
    } else if (name == "Caption") {
        SetCaption(v.AsText());
    } else {
        return TqelCustomPanel::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace skin
