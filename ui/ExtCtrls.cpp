#include "ExtCtrls.h"

#include <map>

#include "Reader.h"

namespace ui {

TBevelCut ParseBevelCut(const Value& v) {
    const std::string& s = v.AsIdent();
    if (EqualsIdent(s, "bvNone")) return TBevelCut::None;
    if (EqualsIdent(s, "bvLowered")) return TBevelCut::Lowered;
    if (EqualsIdent(s, "bvRaised")) return TBevelCut::Raised;
    if (EqualsIdent(s, "bvSpace")) return TBevelCut::Space;
    throw Exception("Unknown bevel " + s);
}

static void Frame3D(TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight, int width) {
    for (int i = 0; i < width; ++i) {
        canvas.Pen.Color = topLeft;
        canvas.MoveTo(r.Left, r.Bottom - 1);
        canvas.LineTo(r.Left, r.Top);
        canvas.LineTo(r.Right - 1, r.Top);
        canvas.Pen.Color = bottomRight;
        canvas.LineTo(r.Right - 1, r.Bottom - 1);
        canvas.LineTo(r.Left - 1, r.Bottom - 1);
        r.Left++, r.Top++, r.Right--, r.Bottom--;
    }
}

void DrawBevel(TCanvas& canvas, TRect& rect, TBevelCut cut, int width) {
    switch (cut) {
    case TBevelCut::None:
        return;
    case TBevelCut::Raised:
        Frame3D(canvas, rect, clBtnHighlight, clBtnShadow, width);
        return;
    case TBevelCut::Lowered:
        Frame3D(canvas, rect, clBtnShadow, clBtnHighlight, width);
        return;
    case TBevelCut::Space:
        rect.Left += width, rect.Top += width, rect.Right -= width, rect.Bottom -= width;
        return;
    }
}

// ---- TCustomPanel

TCustomPanel::TCustomPanel(TComponent* owner) : TWinControl(owner) {
    width_ = 185;
    height_ = 41;
    clickEvents_ = true;
}

void TCustomPanel::FillParams(CreateParams& p) {
    TWinControl::FillParams(p);
    p.caption.clear();
    // The dialog manager looks for the controls inside a panel too (mnemonics, arrow keys).
    p.exStyle |= WS_EX_CONTROLPARENT;
}

TRect TCustomPanel::AdjustClientRect() const {
    TRect r = ClientRect();
    int inset = BorderWidth;
    if (BevelOuter != TBevelCut::None) inset += BevelWidth;
    if (BevelInner != TBevelCut::None) inset += BevelWidth;
    r.Left += inset, r.Top += inset, r.Right -= inset, r.Bottom -= inset;
    return r;
}

void TCustomPanel::DrawFrame(TCanvas& canvas) {
    TRect r = ClientRect();
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = color_;
    canvas.FillRect(r);
    DrawBevel(canvas, r, BevelOuter, BevelWidth);
    r.Left += BorderWidth, r.Top += BorderWidth, r.Right -= BorderWidth, r.Bottom -= BorderWidth;
    DrawBevel(canvas, r, BevelInner, BevelWidth);
    if (!caption_.empty()) {
        canvas.Font.Assign(font_);
        canvas.Brush.Style = TBrushStyle::Clear;
        canvas.TextRect(r, caption_, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        canvas.Brush.Style = TBrushStyle::Solid;
    }
}

void TCustomPanel::Paint(TCanvas& canvas) {
    DrawFrame(canvas);
    PaintGraphicChildren(canvas);
}

bool TCustomPanel::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "BevelInner") {
        BevelInner = ParseBevelCut(v);
    } else if (name == "BevelOuter") {
        BevelOuter = ParseBevelCut(v);
    } else if (name == "BevelWidth") {
        BevelWidth = v.AsInt();
    } else if (name == "BorderWidth") {
        BorderWidth = v.AsInt();
    } else if (name == "BorderStyle" || name == "FullRepaint" || name == "Alignment") {
    } else {
        return TWinControl::SetProperty(name, v, reader);
    }
    Realign();
    Invalidate();
    return true;
}

// ---- TSplitter

TSplitter::TSplitter(TComponent* owner) : TWinControl(owner) {
    align_ = TAlign::Left;
    width_ = 3;
    height_ = 100;
}

TControl* TSplitter::Target() const {
    if (!parent_) return nullptr;
    // The neighbour on the splitter's own side: the aligned control whose edge touches it.
    for (int i = 0; i < parent_->ControlCount(); ++i) {
        TControl* c = parent_->Control(i);
        if (c == this || !c->Visible() || c->Align() != align_) continue;
        switch (align_) {
        case TAlign::Left:
            if (c->Left() + c->Width() == left_) return c;
            break;
        case TAlign::Right:
            if (c->Left() == left_ + width_) return c;
            break;
        case TAlign::Top:
            if (c->Top() + c->Height() == top_) return c;
            break;
        case TAlign::Bottom:
            if (c->Top() == top_ + height_) return c;
            break;
        default:
            break;
        }
    }
    return nullptr;
}

int TSplitter::MoveBy(int delta) {
    TControl* target = Target();
    if (!target || delta == 0) return 0;
    const bool grows = align_ == TAlign::Left || align_ == TAlign::Top;
    const int size = Vertical() ? target->Width() : target->Height();
    int next = size + (grows ? delta : -delta);
    if (next < MinSize) next = MinSize;
    const int applied = grows ? next - size : size - next;
    if (Vertical()) target->SetWidth(next);
    else target->SetHeight(next);
    return applied;
}

LRESULT TSplitter::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR:
        SetCursor(LoadCursor(nullptr, Vertical() ? IDC_SIZEWE : IDC_SIZENS));
        return TRUE;
    case WM_LBUTTONDOWN: {
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(handle_, &p);
        dragFrom_ = Vertical() ? p.x : p.y;
        dragging_ = true;
        SetCapture(handle_);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (dragging_) {
            POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ClientToScreen(handle_, &p);
            const int at = Vertical() ? p.x : p.y;
            dragFrom_ += MoveBy(at - dragFrom_);
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (dragging_) {
            dragging_ = false;
            if (message == WM_LBUTTONUP) ReleaseCapture();
        }
        return 0;
    default:
        return TWinControl::WndProc(message, wParam, lParam);
    }
}

// ---- TImage

bool TImage::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Picture.Bitmap") {
        if (!Picture.Bitmap.LoadFromResourceName(v.AsText()))
            throw Exception("Bitmap resource " + v.text + " not found");
        if (AutoSize) SetBounds(left_, top_, Picture.Width(), Picture.Height());
    } else if (name == "Picture.Icon") {
        if (!Picture.LoadIcon(v.AsText(), 48)) throw Exception("Icon resource " + v.text + " not found");
    } else if (name == "Stretch") {
        Stretch = v.AsBool();
    } else if (name == "Center") {
        Center = v.AsBool();
    } else if (name == "AutoSize") {
        AutoSize = v.AsBool();
        if (AutoSize && Picture.Width() > 0) SetBounds(left_, top_, Picture.Width(), Picture.Height());
    } else if (name == "Transparent") {
    } else {
        return TGraphicControl::SetProperty(name, v, reader);
    }
    Invalidate();
    return true;
}

void TImage::Paint() {
    TCanvas& c = Canvas();
    const TRect all{0, 0, width_, height_};
    if (Picture.Icon) {
        if (Stretch) DrawIconEx(c.Handle(), 0, 0, Picture.Icon, width_, height_, 0, nullptr, DI_NORMAL);
        else DrawIconEx(c.Handle(), 0, 0, Picture.Icon, Picture.Width(), Picture.Height(), 0, nullptr, DI_NORMAL);
    } else if (!Picture.Bitmap.Empty()) {
        if (Stretch) {
            c.StretchDraw(all, Picture.Bitmap);
        } else if (Center) {
            c.Draw((width_ - Picture.Width()) / 2, (height_ - Picture.Height()) / 2, Picture.Bitmap);
        } else {
            c.Draw(0, 0, Picture.Bitmap);
        }
    }
}

// ---- TBevel

bool TBevel::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Shape" || name == "Style") return true;
    return TGraphicControl::SetProperty(name, v, reader);
}

void TBevel::Paint() {
    TRect r{0, 0, width_, height_};
    DrawBevel(Canvas(), r, TBevelCut::Lowered, 1);
    DrawBevel(Canvas(), r, TBevelCut::Raised, 1);
}

// ---- TTimer

namespace {
std::map<UINT_PTR, TTimer*>& Timers() {
    static std::map<UINT_PTR, TTimer*> timers;
    return timers;
}
}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) { Update(); }

TTimer::~TTimer() {
    enabled_ = false;
    Update();
}

void TTimer::SetInterval(int ms) {
    interval_ = ms;
    Update();
}

void TTimer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Update();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    Update();
}

void TTimer::Update() {
    if (id_) {
        KillTimer(nullptr, id_);
        Timers().erase(id_);
        id_ = 0;
    }
    if (enabled_ && interval_ > 0 && OnTimer) {
        id_ = SetTimer(nullptr, 0, static_cast<UINT>(interval_), &TTimer::Tick);
        if (id_) Timers()[id_] = this;
    }
}

void CALLBACK TTimer::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Timers().find(id);
    if (it == Timers().end()) return;
    TTimer* timer = it->second;
    try {
        if (timer->OnTimer) timer->OnTimer(timer);
    } catch (const std::exception& e) {
        void HandleWindowException(const std::exception&);
        HandleWindowException(e);
    }
}

bool TTimer::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Interval") {
        SetInterval(v.AsInt());
    } else if (name == "Enabled") {
        SetEnabled(v.AsBool());
    } else if (name == "OnTimer") {
        OnTimer = reader.Method<void(TComponent*)>(v);
        Update();
    } else if (name == "Left" || name == "Top") {
    } else {
        return TComponent::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace ui
