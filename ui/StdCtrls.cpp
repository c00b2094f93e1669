#include "StdCtrls.h"

#include <algorithm>

#include "Forms.h"
#include "Reader.h"

namespace ui {

// ---- TCustomLabel

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    width_ = 65;
    height_ = 17;
    parentColor_ = true;
}

void TCustomLabel::SetAutoSize(bool value) {
    autoSize_ = value;
    AdjustBounds();
}

void TCustomLabel::SetCaption(const std::string& caption) {
    TGraphicControl::SetCaption(caption);
    AdjustBounds();
}

void TCustomLabel::FontChanged() {
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::AdjustBounds() {
    if (!autoSize_ || Loading()) return;
    HDC screen = GetDC(nullptr);
    SIZE s{};
    {
        TCanvas canvas(screen);
        canvas.Font.Assign(font_);
        s = canvas.TextExtent(caption_.empty() ? std::string(" ") : caption_);
    }
    ReleaseDC(nullptr, screen);
    SetBounds(left_, top_, caption_.empty() ? 0 : s.cx, s.cy);
}

void TCustomLabel::Paint() {
    TCanvas& c = Canvas();
    const TRect r{0, 0, width_, height_};
    if (!Transparent) {
        c.Brush.Style = TBrushStyle::Solid;
        c.Brush.Color = color_;
        c.FillRect(r);
    }
    c.Brush.Style = TBrushStyle::Clear;
    UINT format = 0;
    format |= Alignment == TAlignment::Center ? DT_CENTER : Alignment == TAlignment::RightJustify ? DT_RIGHT : DT_LEFT;
    if (WordWrap) {
        format |= DT_WORDBREAK;
    } else {
        format |= DT_SINGLELINE;
        format |= Layout == TTextLayout::Center ? DT_VCENTER : Layout == TTextLayout::Bottom ? DT_BOTTOM : DT_TOP;
    }
    if (!ShowAccelChar) format |= DT_NOPREFIX;
    c.Font.Color = enabled_ ? font_.Color : clGrayText;
    c.TextRect(r, caption_, format);
}

bool TCustomLabel::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "AutoSize") {
        SetAutoSize(v.AsBool());
    } else if (name == "Alignment") {
        const std::string& a = v.AsIdent();
        Alignment = EqualsIdent(a, "taCenter") ? TAlignment::Center
                    : EqualsIdent(a, "taRightJustify") ? TAlignment::RightJustify : TAlignment::LeftJustify;
    } else if (name == "Layout") {
        const std::string& l = v.AsIdent();
        Layout = EqualsIdent(l, "tlCenter") ? TTextLayout::Center
                 : EqualsIdent(l, "tlBottom") ? TTextLayout::Bottom : TTextLayout::Top;
    } else if (name == "Transparent") {
        Transparent = v.AsBool();
    } else if (name == "WordWrap") {
        WordWrap = v.AsBool();
    } else if (name == "ShowAccelChar") {
        ShowAccelChar = v.AsBool();
    } else if (name == "FocusControl") {
    } else {
        return TGraphicControl::SetProperty(name, v, reader);
    }
    Invalidate();
    return true;
}

// ---- TButton

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    width_ = 75;
    height_ = 25;
}

void TButton::FillParams(CreateParams& p) {
    TWinControl::FillParams(p);
    p.className = "BUTTON";
    p.style |= WS_TABSTOP | (Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::Click() {
    if (ModalResult != mrNone) {
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(ModalResult);
    }
    if (OnClick) OnClick(this);
}

bool TButton::HandleCommand(WORD code, WORD) {
    if (code != BN_CLICKED) return false;
    Click();
    return true;
}

bool TButton::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Default") {
        Default = v.AsBool();
    } else if (name == "Cancel") {
        Cancel = v.AsBool();
    } else if (name == "ModalResult") {
        ModalResult = v.AsInt();
    } else {
        return TWinControl::SetProperty(name, v, reader);
    }
    return true;
}

// ---- TButtonControl, TCheckBox

TButtonControl::TButtonControl(TComponent* owner, DWORD buttonStyle) : TWinControl(owner), buttonStyle_(buttonStyle) {}

void TButtonControl::FillParams(CreateParams& p) {
    TWinControl::FillParams(p);
    p.className = "BUTTON";
    p.style |= WS_TABSTOP | buttonStyle_;
}

void TButtonControl::InitWnd() { SendMessageA(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0); }

bool TButtonControl::Checked() const {
    return handle_ ? SendMessageA(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED : checked_;
}

void TButtonControl::SetChecked(bool checked) {
    checked_ = checked;
    if (handle_) SendMessageA(handle_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TButtonControl::HandleCommand(WORD code, WORD) {
    if (code != BN_CLICKED) return false;
    checked_ = Checked();
    if (OnClick) OnClick(this);
    return true;
}

bool TButtonControl::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Checked") {
        SetChecked(v.AsBool());
        return true;
    }
    return TWinControl::SetProperty(name, v, reader);
}

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner, BS_AUTOCHECKBOX) {
    width_ = 97;
    height_ = 17;
}

bool TCheckBox::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "State") {
        SetChecked(EqualsIdent(v.AsIdent(), "cbChecked"));
        return true;
    }
    return TButtonControl::SetProperty(name, v, reader);
}

// ---- TGroupBox

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) {
    width_ = 185;
    height_ = 105;
}

void TGroupBox::FillParams(CreateParams& p) {
    TWinControl::FillParams(p);
    p.className = "BUTTON";
    p.style |= BS_GROUPBOX;
    // The dialog manager looks for the controls inside the box too (mnemonics, arrow keys).
    p.exStyle |= WS_EX_CONTROLPARENT;
}

LRESULT TGroupBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The button class draws only the frame and caption, and the parent clips its children, so the
    // inside is ours to fill; the frame and caption are then drawn over it.
    if (message == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(handle_, &r);
        GdiHandle<HBRUSH> brush(CreateSolidBrush(ColorToRGB(color_)));
        FillRect(reinterpret_cast<HDC>(wParam), &r, brush.Get());
        return 1;
    }
    // The button class knows nothing of the labels and other window-less controls in the box: they
    // are drawn after its frame and caption, into the same device context.
    if (message == WM_PRINTCLIENT) {
        const LRESULT r = TWinControl::WndProc(message, wParam, lParam);
        TCanvas canvas(reinterpret_cast<HDC>(wParam));
        PaintGraphicChildren(canvas);
        return r;
    }
    if (message == WM_PAINT && wParam == 0) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(handle_, &ps);
        SendMessageA(handle_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        EndPaint(handle_, &ps);
        return 0;
    }
    return TWinControl::WndProc(message, wParam, lParam);
}

// ---- glyph layout, TBitBtn

TButtonLayout ParseButtonLayout(const Value& v) {
    const std::string& s = v.AsIdent();
    if (EqualsIdent(s, "blGlyphLeft")) return TButtonLayout::GlyphLeft;
    if (EqualsIdent(s, "blGlyphRight")) return TButtonLayout::GlyphRight;
    if (EqualsIdent(s, "blGlyphTop")) return TButtonLayout::GlyphTop;
    if (EqualsIdent(s, "blGlyphBottom")) return TButtonLayout::GlyphBottom;
    throw Exception("Unknown button layout " + s);
}

TGlyphPlace PlaceGlyph(SIZE client, SIZE cell, SIZE caption, TButtonLayout layout, int spacing) {
    const int W = client.cx, H = client.cy, gw = cell.cx, gh = cell.cy, tw = caption.cx, th = caption.cy;
    TGlyphPlace p{};
    switch (layout) {
    case TButtonLayout::GlyphLeft: {
        const int x = (W - gw - spacing - tw) / 2, y = (H - gh) / 2;
        p.glyph = {x, y, x + gw, y + gh};
        p.text = {x + gw + spacing, 0, W, H};
        p.textFormat = DT_LEFT;
        break;
    }
    case TButtonLayout::GlyphRight: {
        const int e = (gw + spacing + tw + W) / 2, y = (H - gh) / 2;
        p.glyph = {e - gw, y, e, y + gh};
        p.text = {0, 0, e - gw - spacing, H};
        p.textFormat = DT_RIGHT;
        break;
    }
    case TButtonLayout::GlyphTop: {
        const int x = (W - gw) / 2, y = (H - th - gh - spacing) / 2;
        p.glyph = {x, y, x + gw, y + gh};
        p.text = {0, y + gh + spacing, W, y + gh + spacing + th};
        p.textFormat = DT_CENTER;
        break;
    }
    case TButtonLayout::GlyphBottom: {
        const int e = (th + gh + spacing + H) / 2, x = (W - gw) / 2;
        p.glyph = {x, e - gh, x + gw, e};
        p.text = {0, e - gh - spacing - th, W, e - gh - spacing};
        p.textFormat = DT_CENTER;
        break;
    }
    }
    return p;
}

void GlyphCell(const TBitmap& glyph, int numGlyphs, int index, TBitmap& cell) {
    const int count = std::max(1, numGlyphs);
    const int w = glyph.Width() / count;
    if (index < 0 || index >= count) index = 0;
    cell.SetSize(w, glyph.Height());
    cell.Transparent = glyph.Transparent;
    cell.TransparentMode = glyph.TransparentMode;
    cell.TransparentColor = glyph.TransparentColor;
    if (cell.Empty()) return;
    BitBlt(cell.CanvasHandle(), 0, 0, w, glyph.Height(), glyph.CanvasHandle(), index * w, 0, SRCCOPY);
}

namespace {

// A button's picture and caption, each where the layout puts them.
void DrawGlyphAndCaption(TCanvas& canvas, const TRect& client, const TBitmap& glyph, int numGlyphs, int cellIndex,
                         TButtonLayout layout, int spacing, const std::string& caption, const TFont& font,
                         bool enabled, int offset) {
    canvas.Font.Assign(font);
    const bool blank = caption.find_first_not_of(' ') == std::string::npos;
    const SIZE text = blank ? SIZE{0, 0} : canvas.TextExtent(caption);
    TBitmap cell;
    if (!glyph.Empty()) GlyphCell(glyph, numGlyphs, cellIndex, cell);
    const TGlyphPlace place = PlaceGlyph({client.Width(), client.Height()}, {cell.Width(), cell.Height()}, text,
                                         layout, blank || cell.Empty() ? 0 : spacing);
    if (!cell.Empty()) canvas.Draw(place.glyph.Left + offset, place.glyph.Top + offset, cell);
    if (blank) return;
    TRect r = place.text;
    r.Left += offset, r.Right += offset, r.Top += offset, r.Bottom += offset;
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.Font.Color = enabled ? font.Color : clGrayText;
    const UINT vertical = layout == TButtonLayout::GlyphTop || layout == TButtonLayout::GlyphBottom ? DT_TOP : DT_VCENTER;
    canvas.TextRect(r, caption, place.textFormat | vertical | DT_SINGLELINE);
    canvas.Brush.Style = TBrushStyle::Solid;
}

}  // namespace

bool TButtonGlyph::SetGlyphProperty(const std::string& name, const Value& v) {
    if (name == "Glyph") {
        if (!Glyph.LoadFromResourceName(v.AsText())) throw Exception("Bitmap resource " + v.text + " not found");
    } else if (name == "NumGlyphs") {
        NumGlyphs = v.AsInt();
    } else if (name == "Layout") {
        Layout = ParseButtonLayout(v);
    } else if (name == "Spacing") {
        Spacing = v.AsInt();
    } else if (name != "Margin") {
        return false;
    }
    return true;
}

void TBitBtn::FillParams(CreateParams& p) {
    TButton::FillParams(p);
    p.style = (p.style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

bool TBitBtn::HandleDrawItem(DRAWITEMSTRUCT* item) {
    const bool pushed = (item->itemState & ODS_SELECTED) != 0;
    RECT face = item->rcItem;
    DrawFrameControl(item->hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    TCanvas canvas(item->hDC);
    const TRect client{item->rcItem.left, item->rcItem.top, item->rcItem.right, item->rcItem.bottom};
    DrawGlyphAndCaption(canvas, client, Glyph, NumGlyphs, !enabled_ && NumGlyphs > 1 ? 1 : 0, Layout, Spacing,
                        caption_, font_, enabled_, pushed ? 1 : 0);
    if (item->itemState & ODS_FOCUS) {
        RECT focus = item->rcItem;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(item->hDC, &focus);
    }
    canvas.SetHandle(nullptr);
    return true;
}

bool TBitBtn::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (!SetGlyphProperty(name, v) && name != "Kind") return TButton::SetProperty(name, v, reader);
    Invalidate();
    return true;
}

// ---- TSpeedButton

TSpeedButton::TSpeedButton(TComponent* owner) : TWinControl(owner) {
    width_ = 23;
    height_ = 22;
}

bool TSpeedButton::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (SetGlyphProperty(name, v)) {
    } else if (name == "Flat") {
        Flat = v.AsBool();
    } else if (name == "Transparent") {
        Transparent = v.AsBool();
    } else if (name == "GroupIndex") {
        GroupIndex = v.AsInt();
    } else if (name == "AllowAllUp") {
        AllowAllUp = v.AsBool();
    } else if (name == "Down") {
        SetDown(v.AsBool());
    } else {
        return TWinControl::SetProperty(name, v, reader);
    }
    Invalidate();
    return true;
}

void TSpeedButton::SetDown(bool down) {
    down_ = down;
    Invalidate();
}

void TSpeedButton::Paint(TCanvas& canvas) {
    TRect r = ClientRect();
    if (Transparent && parent_) {
        PaintParentBehind(canvas);
    } else {
        canvas.Brush.Style = TBrushStyle::Solid;
        canvas.Brush.Color = color_;
        canvas.FillRect(r);
    }
    const bool sunk = down_ || pressed_;
    if (!Flat || sunk) {
        canvas.Pen.Color = sunk ? clBtnShadow : clBtnHighlight;
        canvas.MoveTo(0, r.Bottom - 1);
        canvas.LineTo(0, 0);
        canvas.LineTo(r.Right - 1, 0);
        canvas.Pen.Color = sunk ? clBtnHighlight : clBtnShadow;
        canvas.LineTo(r.Right - 1, r.Bottom - 1);
        canvas.LineTo(0, r.Bottom - 1);
    }
    int cell = 0;
    if (!enabled_ && NumGlyphs > 1) cell = 1;
    else if (pressed_ && NumGlyphs > 2) cell = 2;
    else if (down_ && NumGlyphs > 3) cell = 3;
    DrawGlyphAndCaption(canvas, r, Glyph, NumGlyphs, cell, Layout, Spacing, caption_, font_, enabled_, sunk ? 1 : 0);
}

// The parent paints its background (and the window-less controls on it) into the button's canvas,
// moved so that its own client corner lands where it is behind the button.
void TSpeedButton::PaintParentBehind(TCanvas& canvas) {
    HDC dc = canvas.Handle();
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, -left_, -top_, nullptr);
    TCanvas behind(dc);
    parent_->PaintTo(behind);
    behind.SetHandle(nullptr);
    RestoreDC(dc, saved);
}

LRESULT TSpeedButton::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        pressed_ = true;
        SetCapture(handle_);
        Invalidate();
        return 0;
    case WM_LBUTTONUP: {
        if (!pressed_) return 0;
        pressed_ = false;
        ReleaseCapture();
        Invalidate();
        const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (p.x >= 0 && p.y >= 0 && p.x < width_ && p.y < height_ && enabled_) {
            if (GroupIndex != 0) SetDown(AllowAllUp ? !down_ : true);
            if (OnClick) OnClick(this);
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        pressed_ = false;
        Invalidate();
        break;
    default:
        break;
    }
    return TWinControl::WndProc(message, wParam, lParam);
}

// ---- TCustomEdit

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    width_ = 121;
    height_ = 21;
    color_ = clWindow;
}

void TCustomEdit::FillParams(CreateParams& p) {
    TWinControl::FillParams(p);
    p.className = "EDIT";
    p.caption = text_;
    p.style |= WS_TABSTOP | ES_AUTOHSCROLL;
    p.style &= ~WS_CLIPCHILDREN;
    if (ReadOnly) p.style |= ES_READONLY;
    if (PasswordChar) p.style |= ES_PASSWORD;
    if (borderStyle_ != 0) {
        if (ctl3D_) p.exStyle |= WS_EX_CLIENTEDGE;
        else p.style |= WS_BORDER;
    }
}

void TCustomEdit::SetCtl3D(bool value) {
    ctl3D_ = value;
    FrameChanged();
}

void TCustomEdit::SetBorderStyle(int value) {
    borderStyle_ = value;
    FrameChanged();
}

void TCustomEdit::FrameChanged() {
    if (!handle_) return;
    LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER);
    LONG_PTR exStyle = GetWindowLongPtrA(handle_, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE);
    if (borderStyle_ != 0) {
        if (ctl3D_) exStyle |= WS_EX_CLIENTEDGE;
        else style |= WS_BORDER;
    }
    SetWindowLongPtrA(handle_, GWL_STYLE, style);
    SetWindowLongPtrA(handle_, GWL_EXSTYLE, exStyle);
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TCustomEdit::InitWnd() {
    if (PasswordChar) SendMessageA(handle_, EM_SETPASSWORDCHAR, static_cast<WPARAM>(PasswordChar), 0);
}

std::string TCustomEdit::Text() const {
    if (!handle_) return text_;
    const int n = GetWindowTextLengthA(handle_);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    GetWindowTextA(handle_, &s[0], n + 1);
    s.resize(static_cast<size_t>(n));
    return s;
}

void TCustomEdit::SetText(const std::string& text) {
    text_ = text;
    if (handle_) {
        SetWindowTextA(handle_, text.c_str());
    } else if (OnChange && !Loading()) {
        OnChange(this);
    }
}

bool TCustomEdit::HandleCommand(WORD code, WORD) {
    if (code != EN_CHANGE) return false;
    if (OnChange && !Loading()) OnChange(this);
    return true;
}

bool TCustomEdit::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Text") {
        SetText(v.AsText());
    } else if (name == "ReadOnly") {
        ReadOnly = v.AsBool();
        if (handle_) SendMessageA(handle_, EM_SETREADONLY, ReadOnly, 0);
    } else if (name == "PasswordChar") {
        PasswordChar = v.AsText().empty() ? 0 : v.text[0];
    } else if (name == "OnChange") {
        OnChange = reader.Method<void(TComponent*)>(v);
    } else if (name == "Ctl3D") {
        SetCtl3D(v.AsBool());
    } else if (name == "BorderStyle") {
        SetBorderStyle(EqualsIdent(v.AsIdent(), "bsNone") ? 0 : 1);
    } else if (name == "MaxLength" || name == "AutoSelect") {
    } else {
        return TWinControl::SetProperty(name, v, reader);
    }
    return true;
}

// ---- TMemo

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner) {
    width_ = 185;
    height_ = 89;
}

void TMemo::FillParams(CreateParams& p) {
    TCustomEdit::FillParams(p);
    p.style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (ScrollBars == TScrollStyle::Vertical || ScrollBars == TScrollStyle::Both) p.style |= WS_VSCROLL;
    if (ScrollBars == TScrollStyle::Horizontal || ScrollBars == TScrollStyle::Both) p.style |= WS_HSCROLL;
    else p.style &= ~ES_AUTOHSCROLL;
}

void TMemo::InitWnd() {
    TCustomEdit::InitWnd();
    SendMessageA(handle_, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
}

void TMemo::AddLine(const std::string& line) {
    const std::string added = line + "\r\n";
    if (!handle_) {
        text_ += added;
        return;
    }
    const int length = GetWindowTextLengthA(handle_);
    SendMessageA(handle_, EM_SETSEL, length, length);
    SendMessageA(handle_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(added.c_str()));
}

void TMemo::Clear() { SetText(""); }

int TMemo::LineCount() const {
    const std::string t = Text();
    int n = 0;
    for (size_t at = t.find("\r\n"); at != std::string::npos; at = t.find("\r\n", at + 2)) ++n;
    return n;
}

bool TMemo::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "ScrollBars") {
        const std::string& s = v.AsIdent();
        ScrollBars = EqualsIdent(s, "ssBoth") ? TScrollStyle::Both
                     : EqualsIdent(s, "ssVertical") ? TScrollStyle::Vertical
                     : EqualsIdent(s, "ssHorizontal") ? TScrollStyle::Horizontal : TScrollStyle::None;
        return true;
    }
    if (name == "Lines.Strings") {
        for (const Value& line : v.list) AddLine(line.AsText());
        return true;
    }
    if (name == "WordWrap") return true;
    return TCustomEdit::SetProperty(name, v, reader);
}

// ---- TScrollBar

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
    width_ = 121;
    height_ = 17;
}

void TScrollBar::FillParams(CreateParams& p) {
    TWinControl::FillParams(p);
    p.className = "SCROLLBAR";
    p.style |= Vertical ? SBS_VERT : SBS_HORZ;
    p.style &= ~WS_CLIPCHILDREN;
}

void TScrollBar::InitWnd() { Apply(); }

void TScrollBar::Apply() {
    if (!handle_) return;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_POS | SIF_PAGE | SIF_DISABLENOSCROLL;
    si.nMin = min_;
    si.nMax = max_;
    si.nPos = position_;
    SetScrollInfo(handle_, SB_CTL, &si, TRUE);
    EnableScrollBar(handle_, SB_CTL, enabled_ ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
}

void TScrollBar::SetParams(int position, int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    position_ = std::clamp(position, min_, max_);
    Apply();
}

void TScrollBar::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Apply();
}

void TScrollBar::Scroll(TScrollCode code, int trackPosition) {
    if (!enabled_) return;
    int p = position_;
    switch (code) {
    case TScrollCode::LineUp: p -= SmallChange; break;
    case TScrollCode::LineDown: p += SmallChange; break;
    case TScrollCode::PageUp: p -= LargeChange; break;
    case TScrollCode::PageDown: p += LargeChange; break;
    case TScrollCode::Position:
    case TScrollCode::Track: p = trackPosition; break;
    case TScrollCode::Top: p = min_; break;
    case TScrollCode::Bottom: p = max_; break;
    case TScrollCode::EndScroll: break;
    }
    p = std::clamp(p, min_, max_);
    if (OnScroll) OnScroll(this, code, p);
    SetPosition(p);
}

bool TScrollBar::HandleScroll(UINT, WPARAM wParam) {
    static const TScrollCode codes[] = {TScrollCode::LineUp, TScrollCode::LineDown, TScrollCode::PageUp,
                                        TScrollCode::PageDown, TScrollCode::Position, TScrollCode::Track,
                                        TScrollCode::Top, TScrollCode::Bottom, TScrollCode::EndScroll};
    const unsigned code = LOWORD(wParam);
    if (code > SB_ENDSCROLL) return false;
    int track = position_;
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(handle_, SB_CTL, &si);
        track = si.nTrackPos;
    }
    Scroll(codes[code], track);
    return true;
}

}  // namespace ui
