#include "Qelbutton.h"

#include <algorithm>
#include <cstdlib>

#include "ActnList.h"
#include "Forms.h"
#include "ImgList.h"
#include "Qelpublic.h"
#include "Reader.h"

namespace skin {

namespace {

constexpr UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr ui::TColor kShadowText = 0x808080;

HMODULE OwnModule() { return GetModuleHandleA(nullptr); }

bool Blank(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

// The picture through an image list of its own size, masked with its top-left pixel when asked.
void DrawThroughList(ui::TCanvas& canvas, const ui::TBitmap& picture, int x, int y, bool masked, bool enabled) {
    if (picture.Empty()) return;
    ui::TImageList list(nullptr);
    list.SetSize(picture.Width(), picture.Height());
    if (masked) {
        const COLORREF key = picture.Pixel(0, 0);
        list.AddMasked(picture, static_cast<ui::TColor>(key));
    } else {
        list.Add(picture);
    }
    list.Draw(canvas, x, y, 0, enabled);
}

// The accelerator of a caption: the character after a single '&'.
char Accelerator(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return caption[i + 1];
    }
    return 0;
}

bool IsPressKey(WORD key) { return key == VK_SPACE || key == VK_RETURN; }

}  // namespace

// ---- TqelCustomButton ----

TqelCustomButton::TqelCustomButton(ui::TComponent* owner) : ui::TWinControl(owner), resHandle_(OwnModule()) {
    ui::TControl::SetCaption("");
}

void TqelCustomButton::FillParams(ui::CreateParams& params) {
    ui::TWinControl::FillParams(params);
    if (tabStop_) params.style |= WS_TABSTOP;
}

void TqelCustomButton::FSetCaption(const std::string& caption) {
    caption_ = caption;
    CaptionChanged();
    Changed();
}

void TqelCustomButton::FSetAutoSize(bool value) {
    autoSize_ = value;
    AutoSizeChanged();
    Changed();
}

void TqelCustomButton::SetTransparent(bool value) {
    transparent_ = value;
    TransparentChanged();
    Changed();
}

void TqelCustomButton::SetTabStop(bool value) {
    tabStop_ = value;
    if (!HandleAllocated()) return;
    const LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
    SetWindowLongPtrA(handle_, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
}

void TqelCustomButton::SetEnabled(bool enabled) {
    ui::TWinControl::SetEnabled(enabled);
    EnableChanged();
    Changed();
}

void TqelCustomButton::SetUIStyle(TqelUIStyle style) {
    uiStyle_ = style;
    SetButtonPic(style);
    UIStyleChanged();
    Changed();
}

// A control in Custom keeps its own pictures whatever style its container takes.
void TqelCustomButton::FollowContainerStyle(TqelUIStyle style) {
    if (uiStyle_ != TqelUIStyle::Custom) SetUIStyle(style);
}

void TqelCustomButton::UIStyleChanged() {
    if (uiStyle_ == TqelUIStyle::Custom) FSetAutoSize(true);
}

HMODULE TqelCustomButton::GetResHandle() const { return resHandle_ == OwnModule() ? nullptr : resHandle_; }

void TqelCustomButton::SetResHandle(HMODULE module) { resHandle_ = module ? module : OwnModule(); }

void TqelCustomButton::SetPicNormal(const std::string& name) {
    picNormal_ = name;
    AutoSizeChanged();
    Changed();
}

void TqelCustomButton::SetPicMouseOn(const std::string& name) {
    picMouseOn_ = name;
    Changed();
}

void TqelCustomButton::SetPicMouseDown(const std::string& name) {
    picMouseDown_ = name;
    Changed();
}

void TqelCustomButton::AutoSizeChanged() {
    if (!autoSize_ || picNormal_.empty()) return;
    ui::TBitmap picture;
    LoadSkinBitmap(picture, picNormal_, resHandle_);
    if (picture.Empty()) picture.SetSize(74, 21);
    SetBounds(left_, top_, picture.Width(), picture.Height());
}

void TqelCustomButton::FontChanged() {
    ui::TWinControl::FontChanged();
    FontChangedHook();
}

bool TqelCustomButton::Focused() const { return handle_ && GetFocus() == handle_; }

void TqelCustomButton::PaintButtonNormal(ui::TBitmap& picture) { LoadSkinBitmap(picture, picNormal_, resHandle_); }
void TqelCustomButton::PaintButtonDisabled(ui::TBitmap& picture) { LoadSkinBitmap(picture, picNormal_, resHandle_); }
void TqelCustomButton::PaintButtonMouseOn(ui::TBitmap& picture) { LoadSkinBitmap(picture, picMouseOn_, resHandle_); }
void TqelCustomButton::PaintButtonMouseDown(ui::TBitmap& picture) {
    LoadSkinBitmap(picture, picMouseDown_, resHandle_);
}

void TqelCustomButton::Paint(ui::TCanvas& canvas) {
    const int width = std::max(1, Width()), height = std::max(1, Height());
    ui::TBitmap picture;
    try {
        if (!Enabled()) {
            PaintButtonDisabled(picture);
        } else if (pressed_) {
            PaintButtonMouseDown(picture);
        } else if (hover_) {
            PaintButtonMouseOn(picture);
        } else {
            PaintButtonNormal(picture);
        }
    } catch (...) {
        picture.SetSize(0, 0);
    }
    // A picture that could not be had paints as an empty 74 x 21 one.
    if (picture.Empty()) picture.SetSize(74, 21);

    ui::TBitmap buffer;
    buffer.SetSize(width, height);
    ui::TCanvas& target = buffer.Canvas();
    if (transparent_ && parent_) {
        DoTrans(target, *this);
    } else {
        target.Brush.Style = ui::TBrushStyle::Solid;
        target.Brush.Color = color_;
        target.FillRect({0, 0, width, height});
    }
    PaintPic(target, picture);
    if (Focused() && tabStop_) PaintFocus(target);
    target.Font.Assign(font_);
    if (!Blank(caption_)) PaintText(target, caption_);
    canvas.CopyRect({0, 0, width, height}, target, {0, 0, width, height});
}

void TqelCustomButton::PaintPic(ui::TCanvas& canvas, ui::TBitmap& picture) {
    DrawThroughList(canvas, picture, 0, 0, picTransparent_, Enabled());
}

void TqelCustomButton::PaintText(ui::TCanvas& canvas, const std::string& caption) {
    canvas.Brush.Style = ui::TBrushStyle::Clear;
    canvas.Font.Assign(font_);
    const ui::TRect r = ClientRect();
    const ui::TRect moved{r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
    if (!Enabled()) {
        canvas.Font.Color = ui::clWhite;
        canvas.TextRect(moved, caption, kCentred);
        canvas.Font.Color = kShadowText;
        canvas.TextRect(r, caption, kCentred);
    } else {
        canvas.TextRect(pressed_ ? moved : r, caption, kCentred);
    }
}

void TqelCustomButton::PaintFocus(ui::TCanvas& canvas) {
    canvas.Brush.Style = ui::TBrushStyle::Solid;
    const RECT r{2, 2, ClientWidth() - 2, ClientHeight() - 2};
    DrawFocusRect(canvas.Handle(), &r);
}

void TqelCustomButton::MouseDown(ui::TMouseButton button, int, int) {
    if (button != ui::TMouseButton::Left) return;
    pressed_ = true;
    Changed();
}

bool TqelCustomButton::Outside(int x, int y) const { return x < 0 || y < 0 || x > Width() || y > Height(); }

void TqelCustomButton::MouseMove(int x, int y) {
    if (Outside(x, y)) {
        hover_ = false;
        pressed_ = false;
        Changed();
    }
}

void TqelCustomButton::MouseUp(ui::TMouseButton button, int, int) {
    if (button != ui::TMouseButton::Left || !pressed_) return;
    pressed_ = false;
    Changed();
    DeliverClick();
}

void TqelCustomButton::MouseEnter() {
    hover_ = true;
    Changed();
    if (OnMouseEnter) OnMouseEnter(this);
}

void TqelCustomButton::MouseLeave() {
    hover_ = false;
    Changed();
    if (OnMouseExit) OnMouseExit(this);
}

void TqelCustomButton::KeyDown(WORD key) {
    if (!IsPressKey(key) || !Focused() || !Enabled()) return;
    pressed_ = true;
    Changed();
}

void TqelCustomButton::KeyUp(WORD key) {
    if (!IsPressKey(key) || !Focused() || !pressed_ || !Enabled()) return;
    pressed_ = false;
    Changed();
    DeliverClick();
}

bool TqelCustomButton::DialogChar(char c) {
    const char accel = Accelerator(caption_);
    if (!accel || CharUpperA(reinterpret_cast<LPSTR>(static_cast<uintptr_t>(static_cast<unsigned char>(c)))) !=
                      CharUpperA(reinterpret_cast<LPSTR>(static_cast<uintptr_t>(static_cast<unsigned char>(accel)))) ||
        !Enabled())
        return false;
    if (HandleAllocated()) SetFocus();
    DeliverClick();
    return true;
}

void TqelCustomButton::DeliverClick() {
    clickGuard_ = true;
    Click();
    clickGuard_ = false;
}

void TqelCustomButton::Click() {
    if (!clickGuard_ || !Enabled()) return;
    for (ui::TWinControl* p = parent_; p; p = p->Parent()) {
        if (auto* form = dynamic_cast<ui::TCustomForm*>(p)) {
            form->SetModalResult(ModalResult);
            break;
        }
    }
    // The control's own handler, when it has one, wins over the linked action.
    if (OnClick) {
        OnClick(this);
    } else if (action_) {
        action_->Execute();
    }
}

void TqelCustomButton::ReleaseOwnCapture() {
    releasingCapture_ = true;
    if (handle_ && GetCapture() == handle_) ReleaseCapture();
    releasingCapture_ = false;
}

LRESULT TqelCustomButton::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDBLCLK:
        // The second press of a double click is a press, as on a system button.
        if (OnDblClick) OnDblClick(this);
        return WndProc(WM_LBUTTONDOWN, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        // Held, the control sees the pointer leave and the release wherever it happens.
        if (message == WM_LBUTTONDOWN && handle_) SetCapture(handle_);
        MouseDown(message == WM_LBUTTONDOWN ? ui::TMouseButton::Left : ui::TMouseButton::Right, x, y);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (message == WM_LBUTTONUP) {
            // A release outside counts as leaving first, even without a move out before it.
            if (Outside(x, y)) MouseMove(x, y);
            ReleaseOwnCapture();
        }
        MouseUp(message == WM_LBUTTONUP ? ui::TMouseButton::Left : ui::TMouseButton::Right, x, y);
        if (OnMouseUp) {
            OnMouseUp(this, message == WM_LBUTTONUP ? ui::TMouseButton::Left : ui::TMouseButton::Right,
                      static_cast<ui::TShiftState>(wParam), x, y);
        }
        return 0;
    case WM_CAPTURECHANGED:
        // Another window took the mouse while the button was held (a menu, a dialog): it lets up.
        // Disabling takes the mouse too; a disabled control keeps its flags as they are.
        if (!releasingCapture_ && pressed_ && Enabled()) {
            pressed_ = false;
            Changed();
        }
        return 0;
    case WM_MOUSEMOVE:
        if (!hover_ && !Outside(x, y)) {
            // Windows reports entering through the first move; leaving comes as WM_MOUSELEAVE.
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
            TrackMouseEvent(&track);
            MouseEnter();
        }
        MouseMove(x, y);
        // The hover look is the button's own business; the published event still hears every move.
        if (OnMouseMove) OnMouseMove(this, static_cast<ui::TShiftState>(wParam), x, y);
        return 0;
    case WM_MOUSELEAVE:
        MouseLeave();
        return 0;
    case WM_KEYDOWN: {
        const LRESULT r = ui::TWinControl::WndProc(message, wParam, lParam);
        KeyDown(static_cast<WORD>(wParam));
        return r;
    }
    case WM_KEYUP: {
        const LRESULT r = ui::TWinControl::WndProc(message, wParam, lParam);
        KeyUp(static_cast<WORD>(wParam));
        return r;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        const LRESULT r = ui::TWinControl::WndProc(message, wParam, lParam);
        Changed();
        return r;
    }
    case WM_GETDLGCODE:
        return DLGC_BUTTON;
    default:
        break;
    }
    return ui::TWinControl::WndProc(message, wParam, lParam);
}

void TqelCustomButton::ReadAction(const ui::Value& v, ui::Reader& reader) {
    reader.Reference(v, [this](ui::TComponent* c) { SetAction(dynamic_cast<ui::TAction*>(c)); });
}

bool TqelCustomButton::SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) {
    if (name == "Caption") {
        FSetCaption(v.AsText());
    } else if (name == "AutoSize") {
        FSetAutoSize(v.AsBool());
    } else if (name == "Transparent") {
        SetTransparent(v.AsBool());
    } else if (name == "TabStop") {
        SetTabStop(v.AsBool());
    } else if (name == "UIStyle") {
        SetUIStyle(ParseUIStyle(v.AsIdent()));
    } else if (name == "ModalResult") {
        ModalResult = v.kind == ui::Value::Int ? v.AsInt() : 0;
        if (v.kind == ui::Value::Ident) {
            const std::string& id = v.AsIdent();
            ModalResult = id == "mrOk" ? ui::mrOk : id == "mrCancel" ? ui::mrCancel : id == "mrYes" ? ui::mrYes
                        : id == "mrNo" ? ui::mrNo : ui::mrNone;
        }
    } else if (name == "OnMouseEnter") {
        OnMouseEnter = reader.Method<void(ui::TComponent*)>(v);
    } else if (name == "OnMouseExit") {
        OnMouseExit = reader.Method<void(ui::TComponent*)>(v);
    } else {
        return ui::TWinControl::SetProperty(name, v, reader);
    }
    return true;
}

// ---- TqelButton ----

TqelButton::TqelButton(ui::TComponent* owner) : TqelCustomButton(owner) {
    SetBounds(left_, top_, 80, 27);
    SetUIStyle(GetQELFormStyle(owner));
}

void TqelButton::SetGlyph(const ui::TBitmap& glyph) {
    glyph_.Assign(glyph);
    Changed();
}

void TqelButton::SetLayout(TButtonLayout layout) {
    layout_ = layout;
    Changed();
}

void TqelButton::SetSpacing(int spacing) {
    spacing_ = spacing;
    Changed();
}

std::string TqelButton::GetPicNormal() const { return uiStyle_ == TqelUIStyle::Custom ? picNormal_ : ""; }
std::string TqelButton::GetPicMouseOn() const { return uiStyle_ == TqelUIStyle::Custom ? picMouseOn_ : ""; }
std::string TqelButton::GetPicMouseDown() const { return uiStyle_ == TqelUIStyle::Custom ? picMouseDown_ : ""; }

void TqelButton::SetPicNormal(const std::string& name) {
    SetUIStyle(TqelUIStyle::Custom);
    TqelCustomButton::SetPicNormal(name);
}

void TqelButton::SetPicMouseOn(const std::string& name) {
    SetUIStyle(TqelUIStyle::Custom);
    TqelCustomButton::SetPicMouseOn(name);
}

void TqelButton::SetPicMouseDown(const std::string& name) {
    SetUIStyle(TqelUIStyle::Custom);
    TqelCustomButton::SetPicMouseDown(name);
}

void TqelButton::SetButtonPic(TqelUIStyle style) {
    resHandle_ = OwnModule();
    if (style == TqelUIStyle::Custom) return;
    picNormal_ = GetThemeString(style, theme::kButtonNormal);
    picMouseOn_ = GetThemeString(style, theme::kButtonMouseOn);
    picMouseDown_ = GetThemeString(style, theme::kButtonMouseDown);
}

void TqelButton::UIStyleChanged() {
    TqelCustomButton::UIStyleChanged();
    if (uiStyle_ == TqelUIStyle::MacOS) SetBounds(left_, top_, width_, 23);
    SetTransparent(uiStyle_ == TqelUIStyle::BlueGlass);
}

void TqelButton::SetBounds(int left, int top, int width, int height) {
    // A MacOS button keeps the height of its pictures: any other height is refused.
    if (uiStyle_ == TqelUIStyle::MacOS && height != 23) height = height_;
    TqelCustomButton::SetBounds(left, top, width, height);
}

void TqelButton::PaintPic(ui::TCanvas& canvas, ui::TBitmap& picture) {
    if (uiStyle_ == TqelUIStyle::Custom) {
        TqelCustomButton::PaintPic(canvas, picture);
    } else {
        SpitDraw(picture, canvas, ClientRect(), picTransparent_);
    }
    PaintGlyph(canvas);
}

void TqelButton::PaintGlyph(ui::TCanvas& canvas) {
    if (glyph_.Empty()) return;
    canvas.Font.Assign(font_);
    const SIZE text = canvas.TextExtent(caption_);
    const int tw = text.cx, th = text.cy, gh = glyph_.Height(), w = Width(), h = Height(), s = spacing_;
    const bool twoFrames = glyph_.Width() == 2 * gh;
    const int gw = twoFrames ? gh : glyph_.Width();
    int gx = 0, gy = 0;
    switch (layout_) {
    case TButtonLayout::blGlyphLeft:
        gx = (w - (tw + gw + s)) / 2;
        gy = (h - gh) / 2;
        textOrigin_ = {gx + gw + s, (h - th) / 2};
        break;
    case TButtonLayout::blGlyphRight:
        gx = (w + tw + s - gw) / 2;
        gy = (h - gh) / 2;
        textOrigin_ = {gx - tw - s, (h - th) / 2};
        break;
    case TButtonLayout::blGlyphTop:
        gx = (w - gw) / 2;
        gy = (h - th - gh - s) / 2;
        textOrigin_ = {(w - tw) / 2, gy + gh + s};
        break;
    case TButtonLayout::blGlyphBottom:
        gx = (w - gw) / 2;
        gy = (h + th + s - gh) / 2;
        textOrigin_ = {(w - tw) / 2, gy - th - s};
        break;
    }
    if (pressed_) ++gx, ++gy;
    ui::TImageList list(nullptr);
    list.SetSize(gw, gh);
    list.AddMasked(glyph_, static_cast<ui::TColor>(glyph_.Pixel(0, 0)));
    if (twoFrames) {
        list.Draw(canvas, gx, gy, Enabled() ? 0 : 1, true);
    } else {
        list.Draw(canvas, gx, gy, 0, Enabled());
    }
}

void TqelButton::PaintText(ui::TCanvas& canvas, const std::string& caption) {
    if (glyph_.Empty()) {
        TqelCustomButton::PaintText(canvas, caption);
        return;
    }
    canvas.Brush.Style = ui::TBrushStyle::Clear;
    canvas.Font.Assign(font_);
    POINT origin = textOrigin_;
    if (Enabled() && pressed_) ++origin.x, ++origin.y;
    if (!Enabled()) {
        canvas.Font.Color = ui::clWhite;
        canvas.TextRect({origin.x + 1, origin.y + 1, Width(), Height()}, caption, DT_SINGLELINE);
        canvas.Font.Color = kShadowText;
    }
    canvas.TextRect({origin.x, origin.y, Width(), Height()}, caption, DT_SINGLELINE);
}

void TqelButton::PaintFocus(ui::TCanvas& canvas) {
    if (uiStyle_ != TqelUIStyle::MacOS && uiStyle_ != TqelUIStyle::BlueGlass) {
        TqelCustomButton::PaintFocus(canvas);
        return;
    }
    canvas.Pen.Color = 0xFF0000;
    canvas.Pen.Width = 1;
    canvas.Pen.Style = ui::TPenStyle::Solid;
    canvas.MoveTo(10, Height() - 5);
    canvas.LineTo(Width() - 10, Height() - 5);
}

bool TqelButton::SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) {
    if (name == "Layout") {
        const std::string& id = v.AsIdent();
        SetLayout(id == "blGlyphRight" ? TButtonLayout::blGlyphRight
                  : id == "blGlyphTop" ? TButtonLayout::blGlyphTop
                  : id == "blGlyphBottom" ? TButtonLayout::blGlyphBottom : TButtonLayout::blGlyphLeft);
    } else if (name == "Spacing") {
        SetSpacing(v.AsInt());
    } else if (name == "Glyph") {
        ui::TBitmap glyph;
        LoadSkinBitmap(glyph, v.AsText());
        SetGlyph(glyph);
    } else if (name == "PicNormalResName") {
        SetPicNormal(v.AsText());
    } else if (name == "PicMouseOnResName") {
        SetPicMouseOn(v.AsText());
    } else if (name == "PicMouseDownResName") {
        SetPicMouseDown(v.AsText());
    } else if (name == "Action") {
        ReadAction(v, reader);
    } else {
        return TqelCustomButton::SetProperty(name, v, reader);
    }
    return true;
}

// ---- TqelImageButton ----

TqelImageButton::TqelImageButton(ui::TComponent* owner) : TqelCustomButton(owner) {}

void TqelImageButton::SetPicNormalF(const ui::TBitmap& bitmap) {
    PicNormal.Bitmap.Assign(bitmap);
    AutoSizeChanged();
    Changed();
}
void TqelImageButton::SetPicMouseOnF(const ui::TBitmap& bitmap) {
    PicMouseOn.Bitmap.Assign(bitmap);
    AutoSizeChanged();
    Changed();
}
void TqelImageButton::SetPicMouseDownF(const ui::TBitmap& bitmap) {
    PicMouseDown.Bitmap.Assign(bitmap);
    AutoSizeChanged();
    Changed();
}
void TqelImageButton::SetPicDisabledF(const ui::TBitmap& bitmap) {
    PicDisabled.Bitmap.Assign(bitmap);
    AutoSizeChanged();
    Changed();
}

bool TqelImageButton::SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) {
    using Setter = void (TqelImageButton::*)(const ui::TBitmap&);
    static const struct {
        const char* name;
        Setter set;
    } pictures[] = {{"PicNormal", &TqelImageButton::SetPicNormalF},
                    {"PicMouseOn", &TqelImageButton::SetPicMouseOnF},
                    {"PicMouseDown", &TqelImageButton::SetPicMouseDownF},
                    {"PicDisabled", &TqelImageButton::SetPicDisabledF}};
    for (const auto& p : pictures) {
        if (name != p.name) continue;
        ui::TBitmap picture;
        LoadSkinBitmap(picture, v.AsText());
        (this->*p.set)(picture);
        return true;
    }
    if (name == "Action") {
        ReadAction(v, reader);
        return true;
    }
    return TqelCustomButton::SetProperty(name, v, reader);
}

void TqelImageButton::AutoSizeChanged() {
    if (!parent_) return;
    autoSize_ = true;
    if (!PicNormal.Bitmap.Empty()) SetBounds(left_, top_, PicNormal.Bitmap.Width(), PicNormal.Bitmap.Height());
}

void TqelImageButton::Fill(ui::TBitmap& picture, ui::TPicture& preferred) {
    if (!preferred.Bitmap.Empty()) {
        picture.Assign(preferred.Bitmap);
    } else if (!PicNormal.Bitmap.Empty()) {
        picture.Assign(PicNormal.Bitmap);
    }
}

void TqelImageButton::PaintButtonNormal(ui::TBitmap& picture) { Fill(picture, PicNormal); }
void TqelImageButton::PaintButtonMouseOn(ui::TBitmap& picture) { Fill(picture, PicMouseOn); }
void TqelImageButton::PaintButtonMouseDown(ui::TBitmap& picture) { Fill(picture, PicMouseDown); }
void TqelImageButton::PaintButtonDisabled(ui::TBitmap& picture) { Fill(picture, PicDisabled); }

void TqelImageButton::PaintPic(ui::TCanvas& canvas, ui::TBitmap& picture) { canvas.Draw(0, 0, picture); }

// ---- TqelCustomButtonEx ----

TqelCustomButtonEx::TqelCustomButtonEx(ui::TComponent* owner) : TqelCustomButton(owner) {
    parentColor_ = true;
    tabStop_ = true;
    uiStyle_ = owner ? GetQELFormStyle(owner) : TqelUIStyle::DeepBlue;
    SetBounds(left_, top_, 93, height_);
}

void TqelCustomButtonEx::SetChecked(bool checked) {
    checked_ = checked;
    CheckStateChanged();
    Changed();
}

void TqelCustomButtonEx::ReplaceControl() {
    if (fitting_) return;
    fitting_ = true;
    ui::TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas().Font.Assign(font_);
    const int textWidth = measure.Canvas().TextWidth(caption_);
    const int height = std::max(std::abs(font_.Height) + 2, GetPicHeight()) + 4;
    SetClientSize(GetPicWidth() + textWidth + 8, height);
    fitting_ = false;
}

void TqelCustomButtonEx::AutoSizeChanged() {
    if (autoSize_) ReplaceControl();
}
void TqelCustomButtonEx::CaptionChanged() { AutoSizeChanged(); }
void TqelCustomButtonEx::FontChangedHook() { AutoSizeChanged(); }

void TqelCustomButtonEx::SetBounds(int left, int top, int width, int height) {
    TqelCustomButton::SetBounds(left, top, width, height);
    if (autoSize_ && !fitting_) ReplaceControl();
}

void TqelCustomButtonEx::UIStyleChanged() {
    TqelCustomButton::UIStyleChanged();
    SetButtonPic(uiStyle_);
}

void TqelCustomButtonEx::PaintPic(ui::TCanvas& canvas, ui::TBitmap& picture) {
    DrawThroughList(canvas, picture, 1, (ClientHeight() - GetPicHeight()) / 2, picTransparent_, true);
}

void TqelCustomButtonEx::PaintText(ui::TCanvas& canvas, const std::string& caption) {
    canvas.Font.Assign(font_);
    const int y = (ClientHeight() - (std::abs(font_.Height) + 2)) / 2;
    if (!Enabled()) canvas.Font.Color = kShadowText;
    canvas.Brush.Style = ui::TBrushStyle::Clear;
    textRect_ = {GetPicWidth() + 4, y, Width(), Height()};
    canvas.TextRect(textRect_, caption, DT_SINGLELINE);
}

void TqelCustomButtonEx::PaintFocus(ui::TCanvas& canvas) {
    canvas.Brush.Style = ui::TBrushStyle::Solid;
    const RECT r{textRect_.Left - 1, textRect_.Top, textRect_.Right, textRect_.Bottom};
    DrawFocusRect(canvas.Handle(), &r);
}

void TqelCustomButtonEx::MouseUp(ui::TMouseButton button, int x, int y) {
    // Only a left release that completes a click toggles; the click then follows the toggle.
    const bool clicked = button == ui::TMouseButton::Left && pressed_;
    if (clicked) {
        if (HandleAllocated() && IsWindowVisible(handle_) && IsWindowEnabled(handle_)) SetFocus();
        DoClick();
    }
    TqelCustomButton::MouseUp(button, x, y);
}

void TqelCustomButtonEx::KeyUp(WORD key) {
    if (IsPressKey(key) && Focused() && Enabled() && pressed_) DoClick();
    TqelCustomButton::KeyUp(key);
}

bool TqelCustomButtonEx::DialogChar(char c) {
    if (!TqelCustomButton::DialogChar(c)) return false;
    DoClick();
    return true;
}

bool TqelCustomButtonEx::SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) {
    if (name == "Checked") {
        SetChecked(v.AsBool());
        return true;
    }
    return TqelCustomButton::SetProperty(name, v, reader);
}

// ---- TqelCheckBox ----

TqelCheckBox::TqelCheckBox(ui::TComponent* owner) : TqelCustomButtonEx(owner) {
    picTransparent_ = false;
    caption_ = "qelCheckBox";
    SetBounds(left_, top_, width_, 17);
    // The first style takes effect as a set style does: pictures, then the style's transparency.
    SetButtonPic(uiStyle_);
    UIStyleChanged();
}

void TqelCheckBox::SetPictures(TqelUIStyle style, const Entries& e) {
    resHandle_ = OwnModule();
    const bool enabled = Enabled();
    SetPicNormal(GetThemeString(style, checked_ ? (enabled ? e.checkedEnabled : e.checkedDisabled)
                                                : (enabled ? e.uncheckedEnabled : e.uncheckedDisabled)));
    SetPicMouseOn(GetThemeString(style, checked_ ? e.checkedOn : e.uncheckedOn));
    SetPicMouseDown(GetThemeString(style, checked_ ? e.checkedDown : e.uncheckedDown));
}

void TqelCheckBox::SetButtonPic(TqelUIStyle style) {
    using namespace theme;
    SetPictures(style, {kCheckBoxChecked, kCheckBoxDisabledChecked, kCheckBoxMouseOnChecked, kCheckBoxMouseDownChecked,
                        kCheckBoxUnchecked, kCheckBoxDisabledUnchecked, kCheckBoxMouseOnUnchecked,
                        kCheckBoxMouseDownUnchecked});
}

void TqelCheckBox::UIStyleChanged() {
    TqelCustomButtonEx::UIStyleChanged();
    if (uiStyle_ == TqelUIStyle::MacOS || uiStyle_ == TqelUIStyle::Protein) {
        SetTransparent(true);
    } else if (uiStyle_ != TqelUIStyle::Custom) {
        SetTransparent(false);
    }
}

int TqelCheckBox::GetPicWidth() {
    ui::TBitmap picture;
    LoadSkinBitmap(picture, GetThemeString(uiStyle_, theme::kCheckBoxUnchecked));
    return picture.Width();
}

int TqelCheckBox::GetPicHeight() {
    ui::TBitmap picture;
    LoadSkinBitmap(picture, GetThemeString(uiStyle_, theme::kCheckBoxUnchecked));
    return picture.Height();
}

// ---- TqelRadioButton ----

TqelRadioButton::TqelRadioButton(ui::TComponent* owner) : TqelCheckBox(owner) {
    picTransparent_ = true;
    caption_ = "qelRadioButton";
    SetButtonPic(uiStyle_);
}

void TqelRadioButton::SetButtonPic(TqelUIStyle style) {
    using namespace theme;
    SetPictures(style, {kRadioButtonChecked, kRadioButtonDisabledChecked, kRadioButtonMouseOnChecked,
                        kRadioButtonMouseDownChecked, kRadioButtonUnchecked, kRadioButtonDisabledUnchecked,
                        kRadioButtonMouseOnUnchecked, kRadioButtonMouseDownUnchecked});
    Changed();
}

void TqelRadioButton::CheckStateChanged() {
    if (checked_) UnCheckGroup();
    UpdateCheckState();
}

void TqelRadioButton::UnCheckGroup() {
    if (!parent_) return;
    for (int i = 0; i < parent_->ControlCount(); ++i) {
        auto* other = dynamic_cast<TqelRadioButton*>(parent_->Control(i));
        if (other && other != this && other->GroupIndex == GroupIndex) other->SetChecked(false);
    }
}

bool TqelRadioButton::SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) {
    if (name == "GroupIndex") {
        GroupIndex = v.AsInt();
        return true;
    }
    return TqelCheckBox::SetProperty(name, v, reader);
}

}  // namespace skin
