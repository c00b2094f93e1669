#include "Qelform.h"

#include <commctrl.h>

#include "Qelmainmenu.h"
#include "Qelpublic.h"
#include "Qeltitlebar.h"
#include "Reader.h"

namespace skin {

namespace {

constexpr int kEdge = 5;  // pixels at the form's edges that resize it

}  // namespace

TqelForm::TqelForm(ui::TComponent* owner) : ui::TCustomPanel(owner) {
    BevelOuter = ui::TBevelCut::None;
    BevelInner = ui::TBevelCut::None;
    BorderWidth = 0;
    form_ = dynamic_cast<ui::TCustomForm*>(owner);
    if (!form_) return;
    titleBar_ = new TqelTitleBar(this);
    titleBar_->SetParent(this);
    titleBar_->SetCaption(form_->Caption());
    savedBorderStyle_ = form_->BorderStyle;
    SetUIStyle(TqelUIStyle::DeepBlue);
    // The frame draws the caption and border the form no longer has.
    form_->BorderStyle = ui::TBorderStyle::None;
}

TqelForm::~TqelForm() { Unhook(); }

void TqelForm::InitWnd() {
    ui::TCustomPanel::InitWnd();
    if (!form_ || hooked_ || !form_->HandleAllocated()) return;
    // A subclass, not a replaced procedure: it comes off in any order of destruction.
    if (SetWindowSubclass(form_->Handle(), &TqelForm::FormProc, 1, reinterpret_cast<DWORD_PTR>(this)))
        hooked_ = form_->Handle();
    AlignSelf();
}

void TqelForm::Unhook() {
    if (!hooked_) return;
    RemoveWindowSubclass(hooked_, &TqelForm::FormProc, 1);
    hooked_ = nullptr;
}

LRESULT CALLBACK TqelForm::FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR self) {
    auto* frame = reinterpret_cast<TqelForm*>(self);
    LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    switch (message) {
    case WM_ACTIVATE:
        if (frame->titleBar_) frame->titleBar_->SetFormActive(LOWORD(wParam) != 0);
        break;
    case WM_SIZE:
        frame->AlignSelf();
        frame->PaintFormBorder();
        if (frame->titleBar_) frame->titleBar_->OnFormReSize();
        break;
    case WM_ERASEBKGND:
        frame->PaintFormBorder();
        break;
    case WM_NCHITTEST:
        result = frame->HitTest(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), result);
        break;
    case WM_NCDESTROY:
        // The window goes first: the frame no longer has anything to take off.
        frame->Unhook();
        break;
    default:
        break;
    }
    return result;
}

LRESULT TqelForm::HitTest(int screenX, int screenY, LRESULT fallback) const {
    if (!form_ || !form_->HandleAllocated() || savedBorderStyle_ != ui::TBorderStyle::Sizeable ||
        form_->WindowState == ui::TWindowState::Maximized || IsZoomed(form_->Handle()))
        return fallback;
    POINT p{screenX, screenY};
    ScreenToClient(form_->Handle(), &p);
    const int w = form_->Width(), h = form_->Height(), x = p.x, y = p.y;
    if (x < kEdge && y < kEdge) return HTTOPLEFT;
    if (x > w - kEdge && y < kEdge) return HTTOPRIGHT;
    if (x > w - kEdge && y > h - kEdge) return HTBOTTOMRIGHT;
    if (x < kEdge && y > h - kEdge) return HTBOTTOMLEFT;
    if (x < kEdge) return HTLEFT;
    if (y < kEdge) return HTTOP;
    if (x > w - kEdge) return HTRIGHT;
    if (y > h - kEdge) return HTBOTTOM;
    return fallback;
}

void TqelForm::AlignSelf() {
    if (!form_) return;
    SetBounds(borderWidth_, 0, form_->ClientWidth() - 2 * borderWidth_, form_->ClientHeight() - borderWidth_);
}

void TqelForm::PaintFormBorder() {
    if (!form_ || !form_->HandleAllocated()) return;
    HDC dc = GetDC(form_->Handle());
    {
        ui::TCanvas canvas(dc);
        const int w = form_->ClientWidth(), h = form_->ClientHeight(), b = borderWidth_;
        canvas.Pen.Color = borderColor_;
        canvas.Pen.Width = 1;
        canvas.Brush.Color = borderColor_;
        canvas.Brush.Style = ui::TBrushStyle::Solid;
        canvas.FillRect({0, 0, b, h});
        canvas.FillRect({0, h - b, w, h});
        canvas.FillRect({w - b, 0, w, h});
        canvas.MoveTo(0, 0);
        canvas.LineTo(w, 0);
    }
    ReleaseDC(form_->Handle(), dc);
}

void TqelForm::Paint(ui::TCanvas& canvas) {
    const ui::TRect r = ClientRect();
    const char* tile = uiStyle_ == TqelUIStyle::MacOS     ? "MACOS_FORM_BACKGROUND"
                       : uiStyle_ == TqelUIStyle::Protein ? "PROTEIN_FORM_BACKGROUND"
                                                          : nullptr;
    ui::TBitmap picture;
    if (tile) LoadSkinBitmap(picture, tile);
    if (!picture.Empty()) {
        ui::GdiHandle<HBRUSH> brush(CreatePatternBrush(picture.Handle()));
        const RECT area = r.Win();
        FillRect(canvas.Handle(), &area, brush.Get());
    } else {
        canvas.Brush.Style = ui::TBrushStyle::Solid;
        canvas.Brush.Color = color_;
        canvas.FillRect(r);
    }
    PaintGraphicChildren(canvas);
}

void TqelForm::SetUIStyle(TqelUIStyle style) {
    uiStyle_ = style;
    if (style == TqelUIStyle::Custom) return;
    borderColor_ = GetThemeColor(style, 2);
    borderWidth_ = GetThemeInt(style, 4);
    SetColor(GetThemeColor(style, 3));
    if (titleBar_) titleBar_->SetUIStyle(style);
    if (auto* menu = dynamic_cast<TqelMainMenu*>(menu_); menu && menu->UIStyle() != TqelUIStyle::Custom)
        menu->SetUIStyle(style);
    SubContainerApplyUIStyle(*this, style);
    ContainerApplyUIStyle(*this, style);
    AlignSelf();
    Invalidate();
    PaintFormBorder();
}

void TqelForm::SetBorderColor(ui::TColor color) {
    borderColor_ = color;
    AlignSelf();
    PaintFormBorder();
}

void TqelForm::SetFrameBorderWidth(int width) {
    borderWidth_ = width;
    AlignSelf();
    PaintFormBorder();
}

void TqelForm::SetMenu(ui::TMainMenu* menu) {
    menu_ = menu;
    if (menu_) menu_->FreeNotification(this);
}

void TqelForm::SetFrameWidth(int width) {
    SetBounds(left_, top_, width, height_);
    if (form_) form_->SetClientSize(width + 2 * borderWidth_, form_->ClientHeight());
}

void TqelForm::SetFrameHeight(int height) {
    SetBounds(left_, top_, width_, height);
    if (form_) form_->SetClientSize(form_->ClientWidth(), height + borderWidth_);
}

void TqelForm::SetFormPanel(ui::TCustomPanel* panel) {
    if (panel == this) {
        TqelTitleBar::ErrorDialog("Sorry, you can't select the Form assign to FormPanel property");
        return;
    }
    formPanel_ = panel;
    if (!panel) return;
    panel->FreeNotification(this);
    panel->SetAlign(ui::TAlign::Client);
    if (dynamic_cast<ui::TPanel*>(panel)) {
        panel->BevelOuter = ui::TBevelCut::None;
        panel->BevelInner = ui::TBevelCut::None;
        panel->BorderWidth = 0;
        panel->SetCaption("");
    }
}

void TqelForm::Notification(ui::TComponent* component, ui::Operation operation) {
    ui::TCustomPanel::Notification(component, operation);
    if (operation != ui::Operation::Remove) return;
    if (component == menu_) menu_ = nullptr;
    if (component == titleBar_) titleBar_ = nullptr;
    if (component == formPanel_) formPanel_ = nullptr;
}

bool TqelForm::SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) {
    if (name == "UIStyle") {
        SetUIStyle(ParseUIStyle(v.AsIdent()));
    } else if (name == "Menu") {
        reader.Reference(v, [this](ui::TComponent* c) { SetMenu(dynamic_cast<ui::TMainMenu*>(c)); });
    } else if (name == "Width" && form_) {
        SetFrameWidth(v.AsInt());
    } else if (name == "Height" && form_) {
        SetFrameHeight(v.AsInt());
    } else if (name == "FormPanel") {
        reader.Reference(v, [this](ui::TComponent* c) { SetFormPanel(dynamic_cast<ui::TCustomPanel*>(c)); });
    } else if (name == "BorderColor") {
        SetBorderColor(ui::ParseColor(v));
    } else if (name == "BorderWidth") {
        SetFrameBorderWidth(v.AsInt());
    } else if (name == "Caption" && titleBar_) {
        titleBar_->SetCaption(v.AsText());
        if (form_) form_->SetCaption(v.AsText());
    } else {
        return ui::TCustomPanel::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace skin
