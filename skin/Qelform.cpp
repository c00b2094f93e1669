#include "Qelform.h"

#include <commctrl.h>

#include "Qelimagepanel.h"
#include "Qelmainmenu.h"
#include "Qelmenu.h"
#include "Qelmenubar.h"
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
    // Before anything of the form is touched: the frame that is there stays as it is.
    for (int i = 0; i < form_->ControlCount(); ++i) {
        if (dynamic_cast<TqelForm*>(form_->Control(i)))
            throw ui::Exception("Sorry, You can create only one TqelForm component in one form!");
    }
    form_->Constraints.MinHeight = 50;
    form_->Constraints.MinWidth = 125;
    savedBounds_ = {form_->Left(), form_->Top(), form_->Left() + form_->Width(), form_->Top() + form_->Height()};
    maximizePending_ = form_->WindowState == ui::TWindowState::Maximized;
    titleBar_ = new TqelTitleBar(this);
    titleBar_->SetParent(this);
    titleBar_->SetCaption(form_->Caption());
    menuBarColor_ = color_;
    menuBarHeight_ = 22;
    savedBorderStyle_ = form_->BorderStyle;
    SetUIStyle(TqelUIStyle::DeepBlue);
    const ui::TRect work = GetWorkAreaRect();
    form_->Constraints.MaxHeight = work.Height();
    form_->Constraints.MaxWidth = work.Width();
    // The frame draws the caption and border the form no longer has.
    form_->BorderStyle = ui::TBorderStyle::None;
    if (ui::Application && !ui::Application->OnMessage) {
        ui::Application->OnMessage = [this](MSG& msg, bool& handled) { OnApplicationMessage(msg, handled); };
        hooksApplication_ = true;
    }
}

TqelForm::~TqelForm() {
    if (hooksApplication_ && ui::Application) ui::Application->OnMessage = nullptr;
    Unhook();
}

LRESULT TqelForm::ProcessKeyPress(UINT message, WPARAM wParam, LPARAM) {
    return message == WM_KEYDOWN && menu_ && menu_->IsShortCut(wParam) ? 1 : 0;
}

void TqelForm::OnApplicationMessage(MSG& msg, bool& handled) {
    if (msg.message != WM_KEYDOWN) return;
    handled = ProcessKeyPress(msg.message, msg.wParam, msg.lParam) != 0;
}

void TqelForm::FormResized() {
    if (maximizePending_) {
        if (IsZoomed(form_->Handle())) {
            // Shared by every frame, never reset: the third maximised sizing settles the place.
            static int maximizedSizings = 0;
            if (maximizedSizings < 2) {
                ++maximizedSizings;
            } else {
                const ui::TRect work = GetWorkAreaRect();
                form_->WindowState = ui::TWindowState::Maximized;
                form_->SetBounds(work.Left, work.Top, form_->Width(), form_->Height());
            }
        } else {
            PlaceControl(*form_, savedBounds_);
            maximizePending_ = false;
        }
    }
    AlignSelf();
    PaintFormBorder();
    if (titleBar_) titleBar_->OnFormReSize();
}

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
    case WM_KEYDOWN:
        result = frame->ProcessKeyPress(message, wParam, lParam);
        break;
    case WM_SHOWWINDOW:
        // The frame's bar shows the menu; the window's own bar never does.
        if (frame->form_) frame->form_->SetMenu(nullptr);
        break;
    case WM_SIZE:
        frame->FormResized();
        break;
    case WM_ERASEBKGND:
    case WM_PAINT:
        // The form paints its own background in WM_PAINT, over what erasing drew.
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
    borderColor_ = GetThemeColor(style, theme::kFormBorderColor);
    borderWidth_ = GetThemeInt(style, theme::kFormBorderWidth);
    SetColor(GetThemeColor(style, theme::kFormColor));
    SetMenuBarColor(color_);
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
    if (!menu_) {
        DestroyMenuBar();
        return;
    }
    menu_->FreeNotification(this);
    CreateMenuBar();
    UpdateMenu();
}

void TqelForm::SetMenuBarColor(ui::TColor color) {
    menuBarColor_ = color;
    if (menuBar_) menuBar_->SetColor(color);
}

void TqelForm::SetMenuBarHeight(int height) {
    menuBarHeight_ = height;
    if (!menuBar_) return;
    menuBar_->ButtonHeight = height;
    menuBar_->SetBounds(menuBar_->Left(), menuBar_->Top(), menuBar_->Width(), height);
    // The buttons are remade at the new height.
    menuBar_->ShowMenu(menuBar_->Menu());
}

void TqelForm::CreateMenuBar() {
    if (menuBar_) return;
    menuBar_ = new TqelMenuBar(this);
    menuBar_->Flat = true;
    menuBar_->ShowCaptions = true;
    menuBar_->ButtonHeight = menuBarHeight_;
    menuBar_->SetAlign(ui::TAlign::Top);
    menuBar_->SetBounds(0, 0, width_, menuBarHeight_);
    menuBar_->SetColor(menuBarColor_);
    menuBar_->OnCustomDrawButton = [this](ui::TToolBar* bar, ui::TToolButton* button, ui::TCustomDrawState state,
                                          bool& defaultDraw) { DrawButton(bar, button, state, defaultDraw); };
    menuBar_->OnCustomDraw = [this](TqelMenuBar*, ui::TCanvas& canvas, const ui::TRect& rect, bool& defaultDraw) {
        DrawMenuBar(canvas, rect, defaultDraw);
    };
    // Top-aligned controls stack in their order: the title bar, the frame's first child, stays above.
    menuBar_->SetParent(this);
}

void TqelForm::DestroyMenuBar() {
    delete menuBar_;
    menuBar_ = nullptr;
    menu_ = nullptr;
}

void TqelForm::UpdateMenu() {
    if (!menuBar_) return;
    if (!menu_) {
        DestroyMenuBar();
        return;
    }
    menuBar_->ShowMenu(menu_);
    RepaintMenuBar();
}

void TqelForm::ApplyMenuFont(ui::TFont& font, bool withColor) const {
    const auto* menu = dynamic_cast<const TqelMainMenu*>(menu_);
    if (!menu) return;
    if (menu->UseSystemFont()) {
        Menu_GetSystemFont(font);
        return;
    }
    font.Name = menu->FontName;
    font.SetSize(menu->FontSize);
    font.Charset = menu->FontCharset;
    if (withColor) font.Color = menu->FontColor;
    font.Changed();
}

void TqelForm::RepaintMenuBar() {
    if (!menuBar_ || !menu_) return;
    if (dynamic_cast<TqelMainMenu*>(menu_)) {
        ui::TFont font;
        font.Assign(menuBar_->Font());
        ApplyMenuFont(font, false);
        menuBar_->Font().Assign(font);
        menuBar_->FontUpdated();
    }
    menuBar_->Invalidate();
}

TqelUIStyle TqelForm::MenuStyle() const {
    if (const auto* menu = dynamic_cast<const TqelMainMenu*>(menu_)) return menu->UIStyle();
    return uiStyle_;
}

void TqelForm::DrawButton(ui::TToolBar* bar, ui::TToolButton* button, ui::TCustomDrawState state,
                          bool& defaultDraw) {
    ui::TCanvas* canvas = bar ? bar->Canvas() : nullptr;
    if (!canvas || !button) return;
    const TqelUIStyle style = MenuStyle();
    ApplyMenuFont(canvas->Font, true);
    if (!(state & (ui::cdsHot | ui::cdsSelected))) {
        defaultDraw = true;
        return;
    }
    defaultDraw = false;
    const bool selected = (state & ui::cdsSelected) != 0;
    const UINT format = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
    ui::TRect r = button->BoundsRect();
    if (style == TqelUIStyle::MacOS) {
        ui::TBitmap face;
        face.SetSize(r.Width(), r.Height());
        const ui::TRect area{0, 0, r.Width(), r.Height()};
        ui::TBitmap picture;
        LoadSkinBitmap(picture, "MACOS_MENU_SELECT");
        if (!picture.Empty()) face.Canvas().StretchDraw(area, picture);
        ui::TCanvas& fc = face.Canvas();
        fc.Font.Assign(canvas->Font);
        fc.Font.Color = GetThemeColor(style, theme::kMenuSelectedFontColor);
        fc.Font.Changed();
        fc.Brush.Style = ui::TBrushStyle::Clear;
        fc.TextRect(area, button->Caption(), format);
        canvas->Draw(r.Left, r.Top, face);
        return;
    }
    if (selected) r.Right -= 2;
    canvas->Brush.Style = ui::TBrushStyle::Solid;
    canvas->Brush.Color = GetThemeColor(style, theme::kMenuSelectedColor);
    canvas->FillRect(r);
    canvas->Brush.Color = GetThemeColor(style, theme::kMenuSelectedBorderColor);
    canvas->FrameRect(r);
    if (selected) r.Left += 2;
    r.Top += 2;
    canvas->Font.Color = GetThemeColor(style, theme::kMenuSelectedFontColor);
    canvas->Font.Changed();
    canvas->Brush.Style = ui::TBrushStyle::Clear;
    canvas->TextRect(r, button->Caption(), format);
    if (selected) {
        // A two-pixel shadow along the right side of the dropped-down button.
        canvas->Pen.Color = GetThemeColor(style, theme::kMenuOpenStripColor);
        canvas->Pen.Width = 1;
        canvas->Rectangle({r.Right, r.Top, r.Right + 2, r.Bottom});
    }
}

void TqelForm::DrawMenuBar(ui::TCanvas& canvas, const ui::TRect& rect, bool&) {
    if (MenuStyle() != TqelUIStyle::MacOS) return;
    ui::TBitmap picture;
    LoadSkinBitmap(picture, "MACOS_MENU_BAR");
    if (!picture.Empty()) canvas.StretchDraw(rect, picture);
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
    const bool plain = dynamic_cast<ui::TPanel*>(panel) != nullptr;
    if (plain) {
        panel->BevelOuter = ui::TBevelCut::None;
        panel->BevelInner = ui::TBevelCut::None;
        panel->BorderWidth = 0;
    }
    if (plain || dynamic_cast<TqelImagePanel*>(panel)) panel->SetCaption("");
}

void TqelForm::Notification(ui::TComponent* component, ui::Operation operation) {
    ui::TCustomPanel::Notification(component, operation);
    if (operation != ui::Operation::Remove) return;
    if (component == menuBar_) menuBar_ = nullptr;
    if (component == menu_) DestroyMenuBar();
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
    } else if (name == "MenuBarColor") {
        SetMenuBarColor(ui::ParseColor(v));
    } else if (name == "MenuBarHeight") {
        SetMenuBarHeight(v.AsInt());
    } else if (name == "BorderColor") {
        SetBorderColor(ui::ParseColor(v));
    } else if (name == "BorderWidth") {
        SetFrameBorderWidth(v.AsInt());
    } else if (titleBar_ && (name == "TitleBarSections" || name == "TitleBarButtons" ||
                             name == "TitleBarDrawAppIcon" || name == "OnTitleBarCustomBtnsClick" ||
                             name == "OnTitleBarHelpBtnClick" || name.rfind("Font", 0) == 0)) {
        // The title bar's own properties, under the frame's names.
        const std::string own = name.rfind("Font", 0) == 0 ? name
                                : name.rfind("On", 0) == 0 ? "On" + name.substr(std::string("OnTitleBar").size())
                                                           : name.substr(std::string("TitleBar").size());
        return titleBar_->SetProperty(own, v, reader);
    } else if (name == "Caption" && titleBar_) {
        titleBar_->SetCaption(v.AsText());
        if (form_) form_->SetCaption(v.AsText());
    } else {
        return ui::TCustomPanel::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace skin
