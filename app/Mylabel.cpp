#include "Mylabel.h"

TMyLabel::TMyLabel(ui::TComponent* owner) : ui::TCustomLabel(owner) {}

void TMyLabel::SetPreColor(ui::TColor color) {
    preColor_ = color;
    Repaint();
}

void TMyLabel::SetBkColor(ui::TColor color) {
    bkColor_ = color;
    Repaint();
}

void TMyLabel::SetAutoSize(bool value) {
    ui::TCustomLabel::SetAutoSize(value);
    SetWidth(Width() + 1);
}

void TMyLabel::Paint() {
    ui::TCustomLabel::Paint();  // leaves the brush clear: the captions below have no background
    ui::TCanvas& canvas = Canvas();
    canvas.Pen.Style = ui::TPenStyle::Clear;
    canvas.Brush.Style = ui::TBrushStyle::Clear;
    canvas.Font.Color = bkColor_;
    canvas.TextOut(0, 0, Caption());
    canvas.Font.Color = preColor_;
    canvas.TextOut(2, 2, Caption());
}

bool TMyLabel::SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) {
    if (name == "PREColor") {
        SetPreColor(ui::ParseColor(v));
        return true;
    }
    if (name == "BKColor") {
        SetBkColor(ui::ParseColor(v));
        return true;
    }
    return ui::TCustomLabel::SetProperty(name, v, reader);
}
