#include "ControlSubClass.h"

#include <commctrl.h>

#include <algorithm>

#include "ComboBox.h"
#include "ExtCtrls.h"
#include "RadioButton.h"
#include "StdCtrls.h"
#include "UpDown.h"
#include "XPColors.h"
#include "XPHooks.h"
#include "Xpmenu.h"

namespace xpmenu {

using namespace ui;

namespace {

template <class T>
T* As(TWinControl* c) {
    return dynamic_cast<T*>(c);
}

// A canvas over the whole window of a control (its frame included), released whatever happens.
class WindowCanvas {
public:
    explicit WindowCanvas(HWND window) : window_(window), dc_(GetWindowDC(window)), canvas_(dc_) {}
    ~WindowCanvas() {
        canvas_.SetHandle(nullptr);
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowCanvas(const WindowCanvas&) = delete;
    WindowCanvas& operator=(const WindowCanvas&) = delete;
    TCanvas& Canvas() { return canvas_; }
    bool Valid() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
    TCanvas canvas_;
};

TRect WindowBounds(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return {0, 0, r.right - r.left, r.bottom - r.top};
}

void Fill(TCanvas& canvas, const TRect& r, TColor colour) {
    canvas.Brush = TBrush{colour, TBrushStyle::Solid};
    canvas.FillRect(r);
}

void Frame(TCanvas& canvas, const TRect& r, TColor colour) {
    canvas.Brush = TBrush{colour, TBrushStyle::Solid};
    canvas.FrameRect(r);
}

void Inset(TRect& r, int dx, int dy) {
    r.Left += dx;
    r.Right -= dx;
    r.Top += dy;
    r.Bottom -= dy;
}

// A frame `width` pixels wide: top and left in one colour, bottom and right in the other.
void Frame3D(TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight, int width) {
    for (int i = 0; i < width; ++i) {
        const int L = r.Left, T = r.Top, R = r.Right - 1, B = r.Bottom - 1;
        canvas.Pen = TPen{topLeft, TPenStyle::Solid, 1};
        canvas.MoveTo(L, B);
        canvas.LineTo(L, T);
        canvas.LineTo(R, T);
        canvas.Pen.Color = bottomRight;
        canvas.MoveTo(R, T);
        canvas.LineTo(R, B);
        canvas.LineTo(L - 1, B);
        Inset(r, 1, 1);
    }
}

}  // namespace

TControlSubClass::TControlSubClass(TXPMenu* owner) : TComponent(owner), menu_(owner) {}

TControlSubClass::~TControlSubClass() {
    try {
        Uninstall(true);
    } catch (...) {
    }
}

void TControlSubClass::Install(TWinControl* control, TXPMenu* menu) {
    control_ = control;
    menu_ = menu;
    control_->FreeNotification(this);
    if (auto* edit = As<TCustomEdit>(control_)) {
        isEdit_ = true;
        savedCtl3D_ = edit->Ctl3D();
        savedBorderStyle_ = edit->BorderStyle();
    }
    if (window_) return;  // already in the chain
    window_ = control_->Handle();
    SetWindowSubclass(window_, Proc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
}

void TControlSubClass::Uninstall(bool restoreLook) {
    if (window_ && IsWindow(window_)) RemoveWindowSubclass(window_, Proc, reinterpret_cast<UINT_PTR>(this));
    const bool live = window_ && IsWindow(window_);
    window_ = nullptr;
    if (!control_) return;
    if (restoreLook && live && isEdit_) {
        auto* edit = As<TCustomEdit>(control_);
        if (ClassNameOf(control_) == "TRichEdit") edit->SetBorderStyle(savedBorderStyle_);
        else edit->SetCtl3D(savedCtl3D_);
    }
    control_->RemoveFreeNotification(this);
    control_ = nullptr;
}

void TControlSubClass::Notification(TComponent* component, Operation operation) {
    TComponent::Notification(component, operation);
    if (operation == Operation::Remove && component == control_) {
        control_ = nullptr;
        if (window_ && IsWindow(window_)) RemoveWindowSubclass(window_, Proc, reinterpret_cast<UINT_PTR>(this));
        window_ = nullptr;
    }
}

LRESULT CALLBACK TControlSubClass::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data) {
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    try {
        reinterpret_cast<TControlSubClass*>(data)->ControlSubClass(message, wParam, lParam);
    } catch (...) {
        // A failing paint or restore never reaches the message loop.
    }
    return result;
}

LRESULT TControlSubClass::ControlSubClass(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY || (message == WM_DESTROY && !building_)) {
        Uninstall(false);
        delete this;
        return 0;
    }
    if (painting_) return 0;
    if (!menu_ || !menu_->Active()) {
        try {
            Uninstall(true);
            delete this;
        } catch (...) {
        }
        return 1;
    }
    lastMessage_ = message;
    switch (message) {
    case WM_SETFOCUS:
        hot_ = true;
        PaintControlXP();
        break;
    case WM_KILLFOCUS:
        hot_ = false;
        PaintControlXP();
        break;
    case WM_PAINT:
        building_ = false;
        PaintControlXP();
        break;
    case WM_NCPAINT:  // the frame is the system's again after a frame change
    case BM_SETSTATE:
    case WM_ENABLE:   // enabled state changed
    case WM_SETTEXT:  // text changed
    case CM_PARENTCOLORCHANGED:
        PaintControlXP();
        break;
    case EM_GETMODIFY:
    case WM_STYLECHANGED:  // the frame style changed
    case CM_INVALIDATE:
        building_ = true;
        break;
    case CM_EXIT:
        hot_ = false;
        PaintControlXP();
        break;
    case BM_GETCHECK:
    case BM_SETCHECK:
        hot_ = false;
        PaintControlXP();
        break;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            keyPressed_ = true;
            if (!keyDownSeen_) PaintControlXP();
            keyDownSeen_ = true;
        }
        break;
    case WM_KEYUP:
        if (wParam == VK_SPACE) {
            keyPressed_ = false;
            keyDownSeen_ = false;
            PaintControlXP();
        }
        break;
    case WM_LBUTTONDOWN:
        mousePressed_ = true;
        PaintControlXP();
        break;
    case WM_LBUTTONUP:
        mousePressed_ = false;
        PaintControlXP();
        break;
    case WM_LBUTTONDBLCLK:
        if (As<TButton>(control_) || As<TSpeedButton>(control_) || As<TCheckBox>(control_)) {
            SendMessageA(window_, WM_LBUTTONDOWN, wParam, lParam);
        }
        break;
    case WM_MOUSEMOVE:  // the mouse entered
        if (!tracking_) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
            tracking_ = TrackMouseEvent(&track) != FALSE;
            if (control_->Enabled()) {
                hot_ = true;
                PaintControlXP();
            }
        }
        break;
    case WM_MOUSELEAVE:
        tracking_ = false;
        if (control_->Enabled()) {
            hot_ = false;
            PaintControlXP();
        }
        break;
    default:
        break;
    }
    return 0;
}

TColor TControlSubClass::ParentColor() const {
    return control_->Parent() ? control_->Parent()->Color() : clBtnFace;
}

void TControlSubClass::PaintControlXP() {
    if (!control_ || !window_ || painting_) return;
    painting_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{painting_};
    HWND focus = GetFocus();
    focused_ = focus && (focus == window_ || IsChild(window_, focus));
    ++paintCount_;
    const std::string cls = ClassNameOf(control_);
    if (cls == "TRichEdit") {
        PaintRichEdit();
        return;
    }
    WindowCanvas wc(window_);
    if (!wc.Valid()) return;
    TCanvas& canvas = wc.Canvas();
    menu_->SetGlobalColor(canvas);
    if (As<TComboBox>(control_)) PaintCombo(canvas);
    if (As<TCustomEdit>(control_)) PaintEdit(canvas);
    if (As<TCheckBox>(control_)) PaintCheckBox(canvas);
    if (As<TRadioButton>(control_)) PaintRadio(canvas);
    if (As<TBitBtn>(control_)) PaintBitButn(canvas);
    else if (As<TButton>(control_)) PaintButton(canvas);
    if (As<TUpDown>(control_)) PaintUpDownButton(canvas);
    if (As<TSpeedButton>(control_) && control_->Visible()) PaintSpeedButton(canvas);
    if (As<TCustomPanel>(control_)) PaintPanel(canvas);
    if (As<TGroupBox>(control_)) PaintGroupBox(canvas);
}

void TControlSubClass::PaintCombo(TCanvas& canvas) {
    auto* combo = As<TComboBox>(control_);
    TRect r = WindowBounds(window_);
    TColor arrow = control_->Enabled() ? clBlack : clWhite;
    TColor border = hot_ ? menu_->DrawSelectBorderColor : control_->Color();
    TColor button = hot_ ? menu_->DrawSelectColor : clBtnFace;
    if (focused_ && !hot_) {
        border = NewColor(canvas, menu_->DrawSelectBorderColor, 60);
        button = menu_->CheckAreaColor;
    }
    const TColor parent = ParentColor();
    Frame(canvas, r, parent);
    Inset(r, 1, 1);
    canvas.Pen = TPen{parent, TPenStyle::Solid, 1};
    canvas.MoveTo(r.Left, r.Top);
    canvas.LineTo(r.Right, r.Top);
    Inset(r, 0, 1);
    if (hot_ || focused_) Inset(r, -1, -1);
    Frame(canvas, r, control_->Color());
    r.Bottom += 1;
    Frame(canvas, r, border);
    if (combo->DroppedDown()) {
        border = menu_->DrawSelectBorderColor;
        arrow = clWhite;
        button = menu_->CheckAreaSelectColor;
    }
    Inset(r, 1, 1);
    const int thumb = GetSystemMetrics(SM_CXHTHUMB);
    TRect area{r.Right - thumb - 1, r.Top, r.Right, r.Bottom};
    if (hot_ || focused_) area.Left -= 1;
    Fill(canvas, area, button);
    Fill(canvas, TRect{area.Left, area.Top, area.Left + 5, area.Bottom}, control_->Color());
    canvas.Pen = TPen{border, TPenStyle::Solid, 1};
    canvas.MoveTo(area.Left + 5, area.Top);
    canvas.LineTo(area.Left + 5, area.Bottom);
    canvas.Pen.Color = arrow;
    const int x = r.Right - 10;
    DrawArrow(canvas, x, r.Top + 10 - 1);
}

void TControlSubClass::PaintEdit(TCanvas& canvas) {
    auto* edit = As<TCustomEdit>(control_);
    if (edit->Ctl3D()) {
        building_ = true;
        edit->SetCtl3D(false);
    }
    const bool single = savedBorderStyle_ == 1;
    TColor border;
    if (hot_ || focused_) {
        border = NewColor(canvas, menu_->DrawSelectBorderColor, single ? 60 : 80);
    } else {
        border = single ? GetShadeColor(canvas, ParentColor(), 60) : ParentColor();
    }
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.Pen = TPen{border, TPenStyle::Solid, 1};
    canvas.Rectangle(WindowBounds(window_));
}

void TControlSubClass::PaintRichEdit() {
    auto* edit = As<TCustomEdit>(control_);
    TWinControl* parent = control_->Parent();
    if (!edit || !parent || !parent->HandleAllocated()) return;
    TRect r = control_->BoundsRect();
    Inset(r, -1, -1);
    const bool single = savedBorderStyle_ == 1;
    if (single && edit->BorderStyle() != 0) {
        building_ = true;
        edit->SetBorderStyle(0);
    }
    HWND window = parent->HandleOrNull();
    HDC dc = GetDC(window);
    if (!dc) return;
    {
        TCanvas canvas(dc);
        menu_->SetGlobalColor(canvas);
        const TColor colour = hot_ || focused_ ? NewColor(canvas, menu_->DrawSelectBorderColor, 60)
                              : single         ? GetShadeColor(canvas, ParentColor(), 60)
                                               : ParentColor();
        Frame3D(canvas, r, colour, colour, 1);
    }
    ReleaseDC(window, dc);
}

TRect TControlSubClass::MarkBox(TCanvas& canvas, int inset, int shorter) {
    TRect r = WindowBounds(window_);
    Inset(r, 0, inset);
    const int thumb = GetSystemMetrics(SM_CXHTHUMB);
    TRect box;
    box.Top = r.Top + (r.Height() - thumb) / 2;
    box.Bottom = box.Top + thumb - shorter;
    box.Left = r.Left;  // the caption is to the right of the box
    box.Right = r.Left + thumb - 1;
    Fill(canvas, box, control_->Color());
    Inset(box, 2, 2);
    return box;
}

void TControlSubClass::PaintCheckBox(TCanvas& canvas) {
    const LRESULT check = SendMessageA(window_, BM_GETCHECK, 0, 0);
    const bool grayed = check == BST_INDETERMINATE, checked = check == BST_CHECKED;
    const bool pressed = mousePressed_ || keyPressed_;
    TColor fill = hot_ || focused_ ? menu_->DrawSelectColor : clWindow;
    const TColor border = hot_ || focused_ ? menu_->DrawSelectBorderColor : clBtnShadow;
    if (pressed) fill = menu_->CheckAreaSelectColor;
    if (grayed) fill = clSilver;
    TRect box = MarkBox(canvas, 3, 0);
    canvas.Brush = TBrush{fill, TBrushStyle::Solid};
    canvas.Pen = TPen{border, TPenStyle::Solid, 1};
    canvas.Rectangle(box);
    if (checked || grayed) {
        canvas.Pen.Color = !control_->Enabled() ? menu_->DrawDisabledColor
                           : pressed           ? clWindow
                           : grayed            ? clGray
                                               : clHighlight;
        DrawCheckMark(canvas, box.Left, box.Bottom);
    }
}

void TControlSubClass::PaintRadio(TCanvas& canvas) {
    const bool checked = SendMessageA(window_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    const TColor fill = hot_ || focused_ ? menu_->DrawSelectColor : clWindow;
    const TColor border = hot_ ? menu_->DrawSelectBorderColor : clBtnShadow;
    TRect box = MarkBox(canvas, 4, 1);
    canvas.Brush = TBrush{fill, TBrushStyle::Solid};
    canvas.Pen = TPen{border, TPenStyle::Solid, 1};
    canvas.Ellipse(box);
    if (checked) {
        Inset(box, 2, 2);
        const TColor dot = control_->Enabled() ? clHighlight : menu_->DrawDisabledColor;
        canvas.Brush = TBrush{dot, TBrushStyle::Solid};
        canvas.Pen = TPen{dot, TPenStyle::Solid, 1};
        canvas.Ellipse(box);
    }
}

TRect TControlSubClass::PaintButtonFace(TCanvas& canvas) {
    TColor face = menu_->DrawIconBackColor, border = clBtnShadow;
    if (hot_ || keyPressed_) {
        face = NewColor(canvas, clBtnFace, 60);
        border = NewColor(canvas, menu_->DrawSelectBorderColor, 60);
    } else if (focused_) {
        border = NewColor(canvas, menu_->DrawSelectBorderColor, 60);
    }
    const TRect r = WindowBounds(window_);
    const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    Fill(canvas, r, ParentColor());
    canvas.Brush = TBrush{face, TBrushStyle::Solid};
    canvas.Pen = TPen{NewColor(canvas, border, 30), TPenStyle::Solid, 1};
    canvas.RoundRect(r, 4, 4);
    if (control_->Enabled()) {
        canvas.Pen.Color = GetShadeColor(canvas, border, 50);
        if ((mousePressed_ && hot_) || keyPressed_) {
            const POINT line[] = {{L, B - 2}, {L, T + 1}, {L + 1, T}, {R - 1, T}};
            canvas.Polyline(line, 4);
        } else {
            const POINT line[] = {{R - 1, T + 1}, {R - 1, B - 2}, {R - 2, B - 1}, {L, B - 1}};
            canvas.Polyline(line, 4);
        }
    }
    return r;
}

void TControlSubClass::PaintButton(TCanvas& canvas) {
    auto* button = As<TButton>(control_);
    const TRect r = PaintButtonFace(canvas);
    canvas.Font.Assign(control_->Font());
    TRect text = r;
    text.Left = (r.Width() - canvas.TextWidth(control_->Caption())) / 2;
    menu_->DrawTheText(control_, control_->Caption(), "", DT_LEFT | DT_SINGLELINE, control_->Font(), false, false,
                       button->Default, control_->Enabled(), false, text, canvas);
}

void TControlSubClass::PaintGlyphAndCaption(TCanvas& canvas, const TRect& r, TBitmap& glyph, int numGlyphs, int cell,
                                            TButtonLayout layout, int spacing, int glyphLeftLift, bool checked,
                                            bool isDefault) {
    const std::string& caption = control_->Caption();
    const bool blank = caption.find_first_not_of(' ') == std::string::npos;
    canvas.Font.Assign(control_->Font());
    const SIZE text = caption.empty() ? SIZE{0, 0} : canvas.TextExtent(caption);
    TBitmap picture;
    if (!glyph.Empty()) GlyphCell(glyph, numGlyphs, cell, picture);
    TGlyphPlace place = PlaceGlyph({r.Width(), r.Height()}, {picture.Width(), picture.Height()}, text, layout,
                                   blank ? 0 : spacing);
    if (layout == TButtonLayout::GlyphLeft) {
        place.glyph.Top -= glyphLeftLift;
        place.glyph.Bottom -= glyphLeftLift;
    }
    const bool enabled = control_->Enabled();
    if (!picture.Empty()) {
        menu_->DrawIcon(control_, canvas, &picture, place.glyph, hot_, focused_, enabled, checked, false, false);
    }
    if (caption.empty()) return;
    TRect textRect = place.text;
    if (layout == TButtonLayout::GlyphTop || layout == TButtonLayout::GlyphBottom) {
        // DrawTheText centres upright in the rectangle it gets: give it the caption's own line.
        textRect.Bottom = textRect.Top + text.cy;
    }
    menu_->DrawTheText(control_, caption, "", place.textFormat | DT_SINGLELINE, control_->Font(), false, false,
                       isDefault, enabled, false, textRect, canvas);
}

void TControlSubClass::PaintBitButn(TCanvas& canvas) {
    auto* button = As<TBitBtn>(control_);
    const TRect r = PaintButtonFace(canvas);
    PaintGlyphAndCaption(canvas, r, button->Glyph, button->NumGlyphs, 0, button->Layout, button->Spacing, 0, false,
                         button->Default);
}

// The up-down control keeps the look the system gives it.
void TControlSubClass::PaintUpDownButton(TCanvas&) {}

// What shows through a transparent button that is hot or down takes on the selection colour: a
// pale tint is ANDed over it (a stronger one where the device has few colours).
void TControlSubClass::TintThrough(TCanvas& canvas, const TRect& r) {
    TBitmap tint;
    tint.SetSize(r.Width(), r.Height());
    const int percent = CanvasBitsPerPixel(canvas) <= 16 ? 40 : 20;
    Fill(tint.Canvas(), TRect{0, 0, r.Width(), r.Height()}, NewColor(canvas, menu_->DrawSelectColor, percent));
    BitBlt(canvas.Handle(), r.Left, r.Top, r.Width(), r.Height(), tint.Canvas().Handle(), 0, 0, SRCAND);
}

void TControlSubClass::PaintSpeedButton(TCanvas& canvas) {
    auto* button = As<TSpeedButton>(control_);
    const bool enabled = control_->Enabled(), down = button->Down();
    TColor face = hot_ ? menu_->DrawSelectColor : menu_->DrawIconBackColor;
    TColor border = hot_ ? menu_->DrawSelectBorderColor : clBtnShadow;
    if (down) {
        face = hot_ ? menu_->CheckAreaSelectColor : menu_->CheckAreaColor;
        border = menu_->DrawSelectBorderColor;
    }
    if (!enabled) border = clBtnShadow;
    const TRect r = WindowBounds(window_);
    const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    const bool transparent = button->Transparent;
    if (transparent && (down || hot_)) TintThrough(canvas, r);
    // A transparent button keeps what its own painting put behind it (its parent's background).
    canvas.Brush = TBrush{face, transparent ? TBrushStyle::Clear : TBrushStyle::Solid};
    canvas.Pen = TPen{NewColor(canvas, border, 30), TPenStyle::Solid, 1};
    // A flat button at rest shows no frame: an opaque one draws it in its face colour, a
    // transparent one not at all.
    const bool flatAtRest = button->Flat && !down && !hot_;
    if (flatAtRest && !transparent) canvas.Pen.Color = face;
    if (!(flatAtRest && transparent)) canvas.Rectangle(r);
    if (enabled && !button->Flat) {
        canvas.Pen.Color = GetShadeColor(canvas, border, 50);
        if (mousePressed_ || keyPressed_ || down) {
            const POINT line[] = {{L, B - 1}, {L, T}, {R, T}};
            canvas.Polyline(line, 3);
        } else {
            const POINT line[] = {{R - 1, T}, {R - 1, B - 1}, {L, B - 1}};
            canvas.Polyline(line, 3);
        }
    }
    const int cells = button->NumGlyphs;
    int cell = 0;
    if (!enabled && cells > 1) cell = 1;
    if (mousePressed_ && cells > 2) cell = 2;
    if (down && cells > 3) cell = 3;
    PaintGlyphAndCaption(canvas, r, button->Glyph, cells, cell, button->Layout, button->Spacing, 1,
                         down || mousePressed_, false);
}

void TControlSubClass::PaintPanel(TCanvas& canvas) {
    if (lastMessage_ != WM_PAINT) return;
    auto* panel = As<TCustomPanel>(control_);
    const TColor shade = GetShadeColor(canvas, control_->Color(), 60);
    const TColor light = NewColor(canvas, control_->Color(), 60);
    TRect r = WindowBounds(window_);
    if (panel->BevelOuter != TBevelCut::None) {
        const bool lowered = panel->BevelOuter == TBevelCut::Lowered;
        Frame3D(canvas, r, lowered ? shade : light, lowered ? light : shade, panel->BevelWidth);
    }
    if (panel->BevelInner != TBevelCut::None) {
        Inset(r, panel->BorderWidth, panel->BorderWidth);
        const bool lowered = panel->BevelInner == TBevelCut::Lowered;
        Frame3D(canvas, r, lowered ? shade : light, lowered ? light : shade, panel->BevelWidth);
    }
}

void TControlSubClass::PaintGroupBox(TCanvas& canvas) {
    if (lastMessage_ != WM_PAINT) return;
    const TRect r = WindowBounds(window_);
    const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    canvas.Font.Assign(control_->Font());
    const std::string& caption = control_->Caption();
    const int th = canvas.TextHeight(caption.empty() ? " " : caption);
    const int tw = canvas.TextWidth(caption);
    const TColor colour = control_->Color();
    const TColor shade = GetShadeColor(canvas, colour, 60);
    const TColor light = NewColor(canvas, colour, 60);
    const int h = th / 2;
    // 1. The library's frame goes.
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.Pen = TPen{colour, TPenStyle::Solid, 1};
    canvas.Rectangle(TRect{L + 1, T + th, R - 1, B - 1});
    canvas.MoveTo(L + 1, T + h - 1);
    canvas.LineTo(L + 1, B);
    // 2. The flat frame.
    TRect frame{L, T + h - 1, R, B};
    Frame3D(canvas, frame, light, shade, 1);
    // 3. Above the frame's top line the parent shows.
    canvas.Pen.Color = ParentColor();
    Fill(canvas, TRect{L, T, R, T + h + 2}, ParentColor());
    // 4-6. The caption on the box's colour.
    const TRect text{L + 9, T, L + tw + 9, T + th};
    Fill(canvas, TRect{text.Left, T + h + 2, text.Right, T + 2 * h + 3}, colour);
    canvas.Pen.Color = colour;
    canvas.MoveTo(R - 2, T + h + 2);
    canvas.LineTo(R - 2, T + th);
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.Font.Color = control_->Font().Color;
    canvas.TextRect(text, caption, DT_LEFT | DT_SINGLELINE);
    // 7. The top line, broken by the caption.
    canvas.Pen.Color = light;
    canvas.MoveTo(L, T + h + 1);
    canvas.LineTo(text.Left, T + h + 1);
    canvas.MoveTo(text.Right, T + h + 1);
    canvas.LineTo(R - 1, T + h + 1);
}

}  // namespace xpmenu
