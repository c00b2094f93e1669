#include "Qelprogressbar.h"

#include <algorithm>
#include <string>

#include "Qelpublic.h"
#include "Reader.h"

namespace skin {

TqelProgressBar::TqelProgressBar(ui::TComponent* owner) : ui::TCustomPanel(owner) {
    BevelOuter = ui::TBevelCut::None;
    width_ = 150;
    height_ = kThickness;
    color_ = ui::clBtnFace;
    caption_ = "50%";
    SetUIStyle(GetQELFormStyle(owner));
}

void TqelProgressBar::SetMax(int value) {
    max_ = value;
    UpdateProgress();
}

void TqelProgressBar::SetMin(int value) {
    min_ = value;
    UpdateProgress();
}

void TqelProgressBar::SetPosition(int value) {
    position_ = value;
    UpdateProgress();
}

void TqelProgressBar::SetUIStyle(TqelUIStyle style) {
    uiStyle_ = style;
    UpdatePicture();
}

void TqelProgressBar::FollowContainerStyle(TqelUIStyle style) {
    if (uiStyle_ != TqelUIStyle::Custom) SetUIStyle(style);
}

void TqelProgressBar::SetOrientation(TqelProgressBarOrientation orientation) {
    orientation_ = orientation;
    UpdatePicture();
    UpdateBar(std::max(height_, width_));
}

void TqelProgressBar::SetBorderColor(ui::TColor color) {
    borderColor_ = color;
    Invalidate();
}

void TqelProgressBar::SetColor(ui::TColor color) { ui::TCustomPanel::SetColor(color); }

void TqelProgressBar::SetPicture(const ui::TBitmap& bitmap) {
    Picture.Bitmap.Assign(bitmap);
    Invalidate();
}

void TqelProgressBar::SetShowCaption(bool value) {
    showCaption_ = value;
    Invalidate();
}

void TqelProgressBar::SetCaptionColor(ui::TColor color) {
    captionColor_ = color;
    Invalidate();
}

void TqelProgressBar::UpdateBar(int length) {
    if (orientation_ == TqelProgressBarOrientation::Vertical) {
        SetBounds(left_, top_, kThickness, length);
    } else {
        SetBounds(left_, top_, length, kThickness);
    }
}

void TqelProgressBar::SetBounds(int left, int top, int width, int height) {
    // The bar keeps its thickness: a request for another one keeps the present value.
    if (orientation_ == TqelProgressBarOrientation::Horizontal) {
        if (height != kThickness) height = height_;
    } else if (width != kThickness) {
        width = width_;
    }
    ui::TCustomPanel::SetBounds(left, top, width, height);
}

void TqelProgressBar::UpdatePicture() {
    if (uiStyle_ != TqelUIStyle::Custom) {
        const bool vertical = orientation_ == TqelProgressBarOrientation::Vertical;
        LoadSkinBitmap(Picture.Bitmap, GetThemeString(uiStyle_, vertical ? theme::kProgressBarVertical : theme::kProgressBar));
        color_ = GetThemeColor(uiStyle_, theme::kPanelColor);
        borderColor_ = GetThemeColor(uiStyle_, theme::kBorderColor);
    }
    Invalidate();
}

void TqelProgressBar::UpdateProgress() {
    SetCaption(std::to_string(GetPercentFromPosition()) + "%");
    Invalidate();
}

int64_t TqelProgressBar::GetPercentFromPosition() const {
    if (max_ <= min_) return 0;
    return (int64_t{position_} - min_) * 100 / (int64_t{max_} - min_);
}

int TqelProgressBar::GetWidthFromPosition(int extent) const {
    if (min_ >= max_ || min_ >= position_) return 0;
    if (position_ > max_) return extent;
    return static_cast<int>(int64_t{extent} * (int64_t{position_} - min_) / (int64_t{max_} - min_));
}

void TqelProgressBar::PaintHorizontal(ui::TBitmap& bar) {
    int p = GetWidthFromPosition(bar.Width() - 1);
    if (p == 0) p = 1;
    if (!Picture.Bitmap.Empty()) {
        bar.SetSize(bar.Width(), Picture.Bitmap.Height() + 2);
        bar.Canvas().StretchDraw({1, 1, p, bar.Height() - 1}, Picture.Bitmap);
    }
    bar.Canvas().Brush.Color = color_;
    bar.Canvas().FillRect({p, 1, bar.Width() - 1, bar.Height() - 1});
}

void TqelProgressBar::PaintVertical(ui::TBitmap& bar) {
    int y = (bar.Height() - 1) - GetWidthFromPosition(bar.Height() - 1);
    if (y == 0) y = 1;
    if (!Picture.Bitmap.Empty()) {
        bar.SetSize(Picture.Bitmap.Width() + 2, bar.Height());
        // The bar fills from the bottom with the picture upside down: stretched upright into a
        // strip, then copied row by row in reverse over rows y .. height - 2.
        const int w = bar.Width() - 2, h = bar.Height() - 1 - y;
        if (w > 0 && h > 0) {
            ui::TBitmap strip;
            strip.SetSize(w, h);
            strip.Canvas().StretchDraw({0, 0, w, h}, Picture.Bitmap);
            for (int row = 0; row < h; ++row)
                BitBlt(bar.Canvas().Handle(), 1, bar.Height() - 2 - row, w, 1, strip.Canvas().Handle(), 0, row, SRCCOPY);
        }
    }
    bar.Canvas().Brush.Color = color_;
    bar.Canvas().FillRect({1, 1, bar.Width() - 1, y});
    showCaption_ = false;
}

void TqelProgressBar::Paint(ui::TCanvas& canvas) {
    ui::TBitmap bar;
    bar.SetSize(std::max(1, ClientWidth()), std::max(1, ClientHeight()));
    if (orientation_ == TqelProgressBarOrientation::Vertical) {
        PaintVertical(bar);
    } else {
        PaintHorizontal(bar);
    }
    ui::TCanvas& c = bar.Canvas();
    if (showCaption_) {
        c.Font.Assign(font_);
        c.Font.Color = captionColor_;
        c.Brush.Style = ui::TBrushStyle::Clear;
        const SIZE text = c.TextExtent(caption_);
        c.TextOut((bar.Width() - text.cx) / 2, (bar.Height() - text.cy) / 2, caption_);
        c.Brush.Style = ui::TBrushStyle::Solid;
    }
    c.Brush.Color = borderColor_;
    c.FrameRect(ClientRect());
    BitBlt(canvas.Handle(), 0, 0, bar.Width(), bar.Height(), c.Handle(), 0, 0, SRCCOPY);
}

bool TqelProgressBar::SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) {
    if (name == "Max") {
        SetMax(v.AsInt());
    } else if (name == "Min") {
        SetMin(v.AsInt());
    } else if (name == "Position") {
        SetPosition(v.AsInt());
    } else if (name == "UIStyle") {
        SetUIStyle(ParseUIStyle(v.AsIdent()));
    } else if (name == "Orientation") {
        SetOrientation(v.AsIdent() == "qelVertical" ? TqelProgressBarOrientation::Vertical
                                                    : TqelProgressBarOrientation::Horizontal);
    } else if (name == "BorderColor") {
        SetBorderColor(ui::ParseColor(v));
    } else if (name == "Color") {
        SetColor(ui::ParseColor(v));
    } else if (name == "CaptionColor") {
        SetCaptionColor(ui::ParseColor(v));
    } else if (name == "ShowCaption") {
        SetShowCaption(v.AsBool());
    } else if (name == "Picture.Bitmap") {
        LoadSkinBitmap(Picture.Bitmap, v.AsText());
        Invalidate();
    } else {
        return ui::TCustomPanel::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace skin
