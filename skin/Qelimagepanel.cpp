#include "Qelimagepanel.h"

#include <algorithm>

#include "Qelpublic.h"
#include "Reader.h"

namespace skin {

TqelCustomPanel::TqelCustomPanel(ui::TComponent* owner) : ui::TCustomPanel(owner) {
    Picture.Bitmap.OnChange = [this] { PictureChanged(); };
    Invalidate();
}

void TqelCustomPanel::SetPicture(const ui::TBitmap& bitmap) {
    Picture.Bitmap.Assign(bitmap);  // its change event runs PictureChanged
    ClearPanel();
    Invalidate();
}

void TqelCustomPanel::SetDrawStyle(TqelDrawStyle style) {
    drawStyle_ = style;
    ClearPanel();
    Invalidate();
}

void TqelCustomPanel::SetAutoSize(bool value) {
    autoSize_ = value;
    if (!Picture.Bitmap.Empty()) ApplyAutoSize();
}

void TqelCustomPanel::SetTransparent(bool value) {
    transparent_ = value;
    if (!Picture.Bitmap.Empty()) ApplyTransparent();
    Invalidate();
}

void TqelCustomPanel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Invalidate();
}

void TqelCustomPanel::SetCaptionPosX(int value) {
    captionX_ = value;
    Invalidate();
}

void TqelCustomPanel::SetCaptionPosY(int value) {
    captionY_ = value;
    Invalidate();
}

void TqelCustomPanel::SetCaption(const std::string& caption) {
    ui::TCustomPanel::SetCaption(caption);
    RepaintText(textRect_);
    Invalidate();
}

void TqelCustomPanel::ClearPanel() {
    if (!HandleAllocated()) return;
    HDC dc = GetDC(handle_);
    ui::TCanvas canvas(dc);
    canvas.Brush.Color = color_;
    canvas.FillRect(ClientRect());
    ReleaseDC(handle_, dc);
}

void TqelCustomPanel::PictureChanged() {
    if (!Picture.Bitmap.Empty()) {
        if (autoSize_) ApplyAutoSize();
        ApplyTransparent();
    }
    ClearPanel();
    Invalidate();
}

void TqelCustomPanel::ApplyAutoSize() {
    if (!autoSize_) return;
    int width = width_, height = height_;
    if (align_ != ui::TAlign::Top && align_ != ui::TAlign::Bottom && align_ != ui::TAlign::Client)
        width = Picture.Bitmap.Width();
    if (align_ != ui::TAlign::Left && align_ != ui::TAlign::Right && align_ != ui::TAlign::Client)
        height = Picture.Bitmap.Height();
    SetBounds(left_, top_, width, height);
}

void TqelCustomPanel::ApplyTransparent() {
    if (Picture.Bitmap.Transparent != transparent_) Picture.Bitmap.Transparent = transparent_;
}

void TqelCustomPanel::BoundsChanged() {
    ui::TCustomPanel::BoundsChanged();
    Invalidate();
}

void TqelCustomPanel::UpdateUIStyle(TqelUIStyle style) { ContainerApplyUIStyle(*this, style); }

void TqelCustomPanel::Paint(ui::TCanvas& canvas) {
    ui::TBitmap buffer;
    buffer.SetSize(std::max(1, width_), std::max(1, height_));
    ui::TCanvas& c = buffer.Canvas();
    const ui::TRect client = ClientRect();
    if (transparent_) DoTrans(c, *this);
    if (!Picture.Bitmap.Empty()) {
        switch (drawStyle_) {
        case TqelDrawStyle::Stretch:
            c.StretchDraw(client, Picture.Bitmap);
            break;
        case TqelDrawStyle::Tile:
            TileDraw(c, Picture, client);
            break;
        case TqelDrawStyle::Normal:
            c.Draw(0, 0, Picture.Bitmap);
            break;
        }
    } else if (!transparent_) {
        c.Brush.Color = color_;
        c.FillRect(client);
    }
    c.Brush.Style = ui::TBrushStyle::Clear;
    const bool blank = caption_.find_first_not_of(' ') == std::string::npos;
    if (!blank) {
        c.Font.Assign(font_);
        if (captionX_ == -1 || captionY_ == -1) {
            const UINT side = alignment_ == TAlignment::LeftJustify    ? DT_LEFT
                              : alignment_ == TAlignment::RightJustify ? DT_RIGHT
                                                                       : DT_CENTER;
            c.TextRect(client, caption_, DT_VCENTER | DT_SINGLELINE | side);
            textRect_ = client;
        } else {
            c.TextOut(captionX_, captionY_, caption_);
            const SIZE size = c.TextExtent(caption_);
            textRect_ = {captionX_, captionY_, captionX_ + size.cx, captionY_ + size.cy};
        }
    }
    c.Brush.Style = ui::TBrushStyle::Solid;
    BitBlt(canvas.Handle(), 0, 0, buffer.Width(), buffer.Height(), c.Handle(), 0, 0, SRCCOPY);
    PaintGraphicChildren(canvas);
}

bool TqelCustomPanel::SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) {
    if (name == "Picture.Bitmap") {
        LoadSkinBitmap(Picture.Bitmap, v.AsText());
    } else if (name == "Transparent") {
        SetTransparent(v.AsBool());
    } else if (name == "AutoSize") {
        SetAutoSize(v.AsBool());
    } else if (name == "DrawStyle") {
        const std::string& s = v.AsIdent();
        SetDrawStyle(s == "qelStretch" ? TqelDrawStyle::Stretch
                     : s == "qelTile"  ? TqelDrawStyle::Tile
                                       : TqelDrawStyle::Normal);
    } else if (name == "Alignment") {
        const std::string& s = v.AsIdent();
        SetAlignment(s == "taLeftJustify"    ? TAlignment::LeftJustify
                     : s == "taRightJustify" ? TAlignment::RightJustify
                                             : TAlignment::Center);
    } else {
        return ui::TCustomPanel::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace skin
