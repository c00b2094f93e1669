#include "Controls.h"

#include <unordered_map>

#include <algorithm>

#include "ActnList.h"
#include "Menus.h"
#include "Reader.h"

namespace ui {

void HandleWindowException(const std::exception& e);  // Forms.cpp: the application shows it

namespace {

// The control of each window this library made or wraps: looked up for every message, so kept in
// the process (a window property is a round trip to the window server under Wine).
std::unordered_map<HWND, TWinControl*>& ControlOfWindow() {
    static std::unordered_map<HWND, TWinControl*> controls;
    return controls;
}

TWinControl* ControlOf(HWND hwnd) {
    const auto& controls = ControlOfWindow();
    auto it = controls.find(hwnd);
    return it == controls.end() ? nullptr : it->second;
}
std::string lastWindowError;  // why the last window procedure gave up, for creation failures

TAlign ParseAlign(const Value& v) {
    static const struct {
        const char* name;
        TAlign align;
    } names[] = {{"alNone", TAlign::None}, {"alTop", TAlign::Top}, {"alBottom", TAlign::Bottom},
                 {"alLeft", TAlign::Left}, {"alRight", TAlign::Right}, {"alClient", TAlign::Client}};
    for (const auto& n : names) {
        if (EqualsIdent(v.AsIdent(), n.name)) return n.align;
    }
    throw Exception("Unknown alignment " + v.text);
}

// Properties of design-time tools and keyboard navigation, which this library does not model
// (windowed controls keep their TabOrder).
bool IsIgnoredProperty(const std::string& name) {
    static const char* const names[] = {"TabOrder", "TabStop", "Anchors", "ShowHint", "ParentShowHint",
                                        "Hint", "HelpContext", "Ctl3D", "ParentCtl3D", "ParentBiDiMode",
                                        "BiDiMode", "DragMode", "DragKind", "DragCursor", "Cursor",
                                        "PixelsPerInch", "TextHeight", "OldCreateOrder", "Scaled",
                                        "DesignSize", "ExplicitLeft", "ExplicitTop", "ExplicitWidth",
                                        "ExplicitHeight"};
    for (const char* n : names) {
        if (name == n) return true;
    }
    return false;
}

}  // namespace

// ---- TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
    if (action_) action_->RemoveClient(this);
    if (parent_) parent_->RemoveControl(this);
}

void TControl::SetAction(TAction* action) {
    if (action == action_) return;
    if (action_) {
        action_->RemoveClient(this);
        action_->RemoveFreeNotification(this);
    }
    action_ = action;
    if (!action_) return;
    action_->AddClient(this);
    action_->FreeNotification(this);
    ActionChange(*action_);
}

void TControl::ActionChange(const TAction& action) {
    SetCaption(action.Caption());
    SetEnabled(action.Enabled());
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    const bool resized = width != width_ || height != height_;
    const bool changed = resized || left != left_ || top != top_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (!changed) return;
    BoundsChanged();
    if (parent_ && align_ != TAlign::None) parent_->Realign();
    Invalidate();
    if (resized) Resized();
}

void TControl::SetAlign(TAlign align) {
    align_ = align;
    if (parent_) parent_->Realign();
}

void TControl::SetVisible(bool visible) {
    visible_ = visible;
    if (parent_) {
        parent_->Realign();
        parent_->Invalidate();
    }
}

void TControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Invalidate();
}

void TControl::SetCaption(const std::string& caption) {
    caption_ = caption;
    Invalidate();
}

void TControl::SetColor(TColor color) {
    color_ = color;
    parentColor_ = false;
    Invalidate();
}

void TControl::Invalidate() {}
void TControl::Repaint() { Invalidate(); }

void TControl::ParentFontChanged() {
    if (parentFont_ && parent_) {
        font_.Assign(parent_->Font());
        FontChanged();
    }
}

void TControl::ParentColorChanged() {
    if (parentColor_ && parent_) {
        color_ = parent_->Color();
        Invalidate();
    }
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (parentFont_) ParentFontChanged();
    if (parentColor_) ParentColorChanged();
}

void TControl::Notification(TComponent* component, Operation operation) {
    TComponent::Notification(component, operation);
    if (operation == Operation::Remove && component == popupMenu_) popupMenu_ = nullptr;
    if (operation == Operation::Remove && component == action_) action_ = nullptr;
}

bool TControl::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Left") {
        SetLeft(v.AsInt());
    } else if (name == "Top") {
        SetTop(v.AsInt());
    } else if (name == "Width") {
        SetWidth(v.AsInt());
    } else if (name == "Height") {
        SetHeight(v.AsInt());
    } else if (name == "ClientWidth") {
        SetClientSize(v.AsInt(), ClientHeight());
    } else if (name == "ClientHeight") {
        SetClientSize(ClientWidth(), v.AsInt());
    } else if (name == "Align") {
        SetAlign(ParseAlign(v));
    } else if (name == "Visible") {
        SetVisible(v.AsBool());
    } else if (name == "Enabled") {
        SetEnabled(v.AsBool());
    } else if (name == "Caption" || name == "Text") {
        SetCaption(v.AsText());
    } else if (name == "Color") {
        SetColor(ParseColor(v));
    } else if (name == "ParentColor") {
        parentColor_ = v.AsBool();
    } else if (name == "ParentFont") {
        parentFont_ = v.AsBool();
    } else if (name.compare(0, 5, "Font.") == 0) {
        parentFont_ = false;
        if (!font_.SetProperty(name.substr(5), v)) return false;
        FontChanged();
    } else if (name == "PopupMenu") {
        reader.Reference(v, [this](TComponent* c) {
            popupMenu_ = dynamic_cast<TPopupMenu*>(c);
            if (popupMenu_) popupMenu_->FreeNotification(this);
        });
    } else if (name == "OnClick") {
        OnClick = reader.Method<void(TComponent*)>(v);
    } else if (name == "OnDblClick") {
        OnDblClick = reader.Method<void(TComponent*)>(v);
    } else if (name == "OnResize") {
        OnResize = reader.Method<void(TComponent*)>(v);
    } else if (name == "OnMouseDown") {
        OnMouseDown = reader.Method<void(TComponent*, TMouseButton, TShiftState, int, int)>(v);
    } else if (name == "OnMouseUp") {
        OnMouseUp = reader.Method<void(TComponent*, TMouseButton, TShiftState, int, int)>(v);
    } else if (name == "OnMouseMove") {
        OnMouseMove = reader.Method<void(TComponent*, TShiftState, int, int)>(v);
    } else if (IsIgnoredProperty(name)) {
    } else {
        return TComponent::SetProperty(name, v, reader);
    }
    return true;
}

// ---- TGraphicControl

void TGraphicControl::Invalidate() {
    if (parent_ && parent_->HandleAllocated()) {
        RECT r = BoundsRect().Win();
        InvalidateRect(parent_->HandleOrNull(), &r, TRUE);
    }
}

void TGraphicControl::Repaint() {
    Invalidate();
    if (parent_ && parent_->HandleAllocated()) UpdateWindow(parent_->HandleOrNull());
}

void TGraphicControl::PaintTo(TCanvas& canvas) {
    canvas.Font.Assign(font_);
    canvas.Brush = TBrush{color_, TBrushStyle::Solid};
    canvas.Pen = TPen{};
    canvas_ = &canvas;
    try {
        Paint();
    } catch (...) {
        canvas_ = nullptr;
        throw;
    }
    canvas_ = nullptr;
}

// ---- window classes and procedures

LRESULT CALLBACK OwnWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = ControlOf(hwnd);
    if (!control && message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        control = static_cast<TWinControl*>(cs->lpCreateParams);
        if (control) {
            control->handle_ = hwnd;
            ControlOfWindow()[hwnd] = control;
        }
    }
    if (!control) {
        LRESULT result = 0;
        if (DispatchMenuMessage(message, wParam, lParam, result)) return result;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return control->Dispatch(message, wParam, lParam);
}

LRESULT CALLBACK WrappedWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = ControlOf(hwnd);
    if (!control) return DefWindowProcA(hwnd, message, wParam, lParam);
    return control->Dispatch(message, wParam, lParam);
}

const char* OwnWindowClass() {
    static const char name[] = "UiWindow";
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = OwnWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
        wc.lpszClassName = name;
        RegisterClassExA(&wc);
        registered = true;
    }
    return name;
}

// ---- TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    *alive_ = false;
    for (TControl* c : std::vector<TControl*>(controls_)) c->SetParent(nullptr);
    DestroyHandle();
}

void TWinControl::DestroyHandle() {
    if (handle_) {
        HWND h = handle_;
        DestroyWindow(h);  // WM_NCDESTROY clears handle_
        handle_ = nullptr;
    }
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
    return hwnd ? ControlOf(hwnd) : nullptr;
}

void TWinControl::AttachWindow(HWND hwnd, TWinControl* control) {
    if (hwnd) ControlOfWindow()[hwnd] = control;
}

void TWinControl::DetachWindow(HWND hwnd) { ControlOfWindow().erase(hwnd); }

HWND TWinControl::ParentHandle() { return parent_ ? parent_->Handle() : nullptr; }

HWND TWinControl::Handle() {
    if (handle_) return handle_;
    if (!IsTopLevel() && !parent_) throw Exception("Control '" + Name() + "' has no parent window");
    if (parentFont_ && parent_) font_.Assign(parent_->Font());
    CreateWnd();
    if (!handle_) {
        throw Exception("Cannot create the window of " + Name() + " (error " + std::to_string(GetLastError()) + ") " + lastWindowError);
    }
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
    InitWnd();
    for (TControl* c : std::vector<TControl*>(controls_)) {
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->Handle();
    }
    ChildrenCreated();
    Realign();
    return handle_;
}

void TWinControl::FillParams(CreateParams& p) {
    p.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (visible_) p.style |= WS_VISIBLE;
    if (!enabled_) p.style |= WS_DISABLED;
    p.caption = caption_;
    p.parent = ParentHandle();
}

void TWinControl::CreateWnd() {
    CreateParams p;
    FillParams(p);
    const bool own = p.className.empty();
    HWND hwnd = CreateWindowExA(p.exStyle, own ? OwnWindowClass() : p.className.c_str(), p.caption.c_str(),
                                p.style, left_, top_, width_, height_, p.parent, p.id,
                                GetModuleHandleA(nullptr), own ? this : nullptr);
    if (!hwnd) return;
    if (!own) {
        handle_ = hwnd;
        ControlOfWindow()[hwnd] = this;
        defaultProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WrappedWindowProc)));
    }
}

LRESULT TWinControl::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (defaultProc_) return CallWindowProcA(defaultProc_, handle_, message, wParam, lParam);
    return DefWindowProcA(handle_, message, wParam, lParam);
}

bool TWinControl::Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        if (lParam) {
            TWinControl* child = FromHandle(reinterpret_cast<HWND>(lParam));
            if (child && child->HandleCommand(HIWORD(wParam), LOWORD(wParam))) {
                result = 0;
                return true;
            }
            return false;
        }
        return DispatchMenuMessage(message, wParam, lParam, result);
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        TWinControl* child = FromHandle(header->hwndFrom);
        return child && child->HandleNotify(header, result);
    }
    case WM_VSCROLL:
    case WM_HSCROLL: {
        TWinControl* child = FromHandle(reinterpret_cast<HWND>(lParam));
        if (child && child->HandleScroll(message, wParam)) {
            result = 0;
            return true;
        }
        return false;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType == ODT_MENU) return DispatchMenuMessage(message, wParam, lParam, result);
        TWinControl* child = FromHandle(item->hwndItem);
        if (!child || !child->HandleDrawItem(item)) return false;
        result = TRUE;
        return true;
    }
    case WM_MEASUREITEM:
    case WM_INITMENUPOPUP:
        return DispatchMenuMessage(message, wParam, lParam, result);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        TWinControl* child = FromHandle(reinterpret_cast<HWND>(lParam));
        if (!child) return false;
        static GdiHandle<HBRUSH> brushes[2];
        static COLORREF colours[2] = {CLR_INVALID, CLR_INVALID};
        const COLORREF rgb = ColorToRGB(child->Color());
        const int slot = message == WM_CTLCOLORSTATIC ? 0 : 1;
        if (colours[slot] != rgb) {
            brushes[slot].Reset(CreateSolidBrush(rgb));
            colours[slot] = rgb;
        }
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, rgb);
        SetTextColor(dc, ColorToRGB(child->Font().Color));
        result = reinterpret_cast<LRESULT>(brushes[slot].Get());
        return true;
    }
    default:
        return false;
    }
}

LRESULT TWinControl::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        LRESULT result = 0;
        if (Reflect(message, wParam, lParam, result)) return result;
        if (message == WM_NCDESTROY) {
            HWND h = handle_;
            ControlOfWindow().erase(h);
            const WNDPROC proc = defaultProc_;
            handle_ = nullptr;
            defaultProc_ = nullptr;
            return proc ? CallWindowProcA(proc, h, message, wParam, lParam) : DefWindowProcA(h, message, wParam, lParam);
        }
        return WndProc(message, wParam, lParam);
    } catch (const std::exception& e) {
        lastWindowError = e.what();
        HandleWindowException(e);
        return 0;
    }
}

LRESULT TWinControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        if (!defaultProc_) return 1;
        break;
    case WM_PAINT:
        if (!defaultProc_ && wParam) {
            // Painting into a context the sender gives (a control that shows its parent behind it).
            TCanvas canvas(reinterpret_cast<HDC>(wParam));
            Paint(canvas);
            return 0;
        }
        if (!defaultProc_) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(handle_, &ps);
            if (DoubleBuffered) {
                TBitmap buffer;
                buffer.SetSize(std::max(1, ClientWidth()), std::max(1, ClientHeight()));
                Paint(buffer.Canvas());
                BitBlt(dc, 0, 0, buffer.Width(), buffer.Height(), buffer.Canvas().Handle(), 0, 0, SRCCOPY);
            } else {
                TCanvas canvas(dc);
                Paint(canvas);
            }
            EndPaint(handle_, &ps);
            return 0;
        }
        break;
    case WM_SIZE:
    case WM_MOVE: {
        const LRESULT r = DefaultProc(message, wParam, lParam);
        UpdateBounds();
        return r;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        return MouseButton(message, wParam, lParam);
    case WM_LBUTTONDBLCLK:
        if (clickEvents_) return MouseButton(message, wParam, lParam);
        break;
    case WM_MOUSEMOVE:
        if (OnMouseMove) {
            const LRESULT r = DefaultProc(message, wParam, lParam);
            OnMouseMove(this, static_cast<TShiftState>(wParam), static_cast<short>(LOWORD(lParam)),
                        static_cast<short>(HIWORD(lParam)));
            return r;
        }
        break;
    case WM_KILLFOCUS: {
        const LRESULT r = DefaultProc(message, wParam, lParam);
        const HWND next = reinterpret_cast<HWND>(wParam);
        if (next && handle_ && GetAncestor(next, GA_ROOT) == GetAncestor(handle_, GA_ROOT))
            SendMessageA(handle_, CM_EXIT, 0, 0);
        return r;
    }
    case WM_CAPTURECHANGED:
        // Whoever took the mouse away, the press that was held here makes no click any more.
        if (reinterpret_cast<HWND>(lParam) != handle_) clicked_ = false;
        break;
    case WM_SYSCHAR:
        // A key pressed with Alt, wherever the focus is: the form's control whose caption has it
        // as accelerator acts on it before the window's menu is searched.
        if ((HIWORD(lParam) & KF_ALTDOWN) && wParam > ' ' && wParam < 256) {
            TControl* root = this;
            while (root->Parent()) root = root->Parent();
            if (root->DialogChar(static_cast<char>(wParam))) return 0;
        }
        break;
    case WM_KEYDOWN:
    case WM_KEYUP: {
        const TKeyEvent& event = message == WM_KEYDOWN ? OnKeyDown : OnKeyUp;
        if (event) {
            WORD key = static_cast<WORD>(wParam);
            event(this, key, 0);
            if (key == 0) return 0;
        }
        break;
    }
    case WM_CHAR:
        if (OnKeyPress) {
            char key = static_cast<char>(wParam);
            OnKeyPress(this, key);
            if (key == 0) return 0;
            wParam = static_cast<unsigned char>(key);
        }
        break;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

LRESULT TWinControl::MouseButton(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    const TMouseButton button = message == WM_RBUTTONDOWN || message == WM_RBUTTONUP   ? TMouseButton::Right
                                : message == WM_MBUTTONDOWN || message == WM_MBUTTONUP ? TMouseButton::Middle
                                                                                       : TMouseButton::Left;
    TShiftState shift = static_cast<TShiftState>(wParam);
    if (message != WM_LBUTTONUP && message != WM_RBUTTONUP && message != WM_MBUTTONUP) {
        LRESULT r = 0;
        if (defaultProc_) r = DefaultProc(message, wParam, lParam);
        else if (clickEvents_) SetCapture(handle_);
        // The press of a double click is no start of a click: its release clicks nothing.
        if (clickEvents_ && message == WM_LBUTTONDOWN) clicked_ = true;
        if (message == WM_LBUTTONDBLCLK) {
            shift |= ssDouble;
            DblClick();
        }
        if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
        return r;
    }
    const bool click = clicked_ && message == WM_LBUTTONUP;
    if (message == WM_LBUTTONUP) clicked_ = false;
    const LRESULT r = DefaultProc(message, wParam, lParam);
    if (clickEvents_ && !defaultProc_ && GetCapture() == handle_ && !(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)))
        ReleaseCapture();
    if (click && x >= 0 && y >= 0 && x < ClientWidth() && y < ClientHeight()) {
        const std::shared_ptr<bool> alive = alive_;
        Click();
        if (!*alive) return r;
    }
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
    return r;
}

void TWinControl::UpdateBounds() {
    if (!handle_ || settingBounds_) return;
    RECT r;
    GetWindowRect(handle_, &r);
    if (!IsTopLevel()) {
        HWND p = GetParent(handle_);
        MapWindowPoints(HWND_DESKTOP, p, reinterpret_cast<POINT*>(&r), 2);
    }
    const bool resized = r.right - r.left != width_ || r.bottom - r.top != height_;
    left_ = r.left;
    top_ = r.top;
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
    if (resized) {
        BoundsChanged();
        Realign();
        Resized();
    }
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (handle_ && !IsZoomed(handle_)) {
        settingBounds_ = true;
        MoveWindow(handle_, left, top, width, height, TRUE);
        settingBounds_ = false;
    }
    const bool resized = width != width_ || height != height_;
    TControl::SetBounds(left, top, width, height);
    if (resized) Realign();
}

int TWinControl::ClientWidth() const {
    if (!handle_) return width_;
    RECT r;
    GetClientRect(handle_, &r);
    return r.right;
}

int TWinControl::ClientHeight() const {
    if (!handle_) return height_;
    RECT r;
    GetClientRect(handle_, &r);
    return r.bottom;
}

void TWinControl::SetVisible(bool visible) {
    if (handle_ && !IsTopLevel()) ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
    TControl::SetVisible(visible);
}

void TWinControl::SetEnabled(bool enabled) {
    TControl::SetEnabled(enabled);
    if (handle_) EnableWindow(handle_, enabled);
}

void TWinControl::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (handle_) SetWindowTextA(handle_, caption.c_str());
}

void TWinControl::SetColor(TColor color) {
    TControl::SetColor(color);
    for (TControl* c : controls_) c->ParentColorChanged();
}

void TWinControl::Invalidate() {
    if (!handle_) return;
    SendMessageA(handle_, CM_INVALIDATE, 0, 0);
    InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Repaint() {
    if (handle_) {
        InvalidateRect(handle_, nullptr, TRUE);
        UpdateWindow(handle_);
    }
}

void TWinControl::SetFocus() {
    if (Handle()) ::SetFocus(handle_);
}

int TWinControl::TabOrder() const {
    if (!parent_) return -1;
    const auto& list = parent_->tabList_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!parent_ || order < 0) return;
    auto& list = parent_->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin() + std::min<size_t>(static_cast<size_t>(order), list.size()), this);
}

void TWinControl::FontChanged() {
    if (handle_) {
        SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
    }
    for (TControl* c : controls_) c->ParentFontChanged();
}

void TWinControl::ParentFontChanged() { TControl::ParentFontChanged(); }

void TWinControl::ParentColorChanged() {
    TControl::ParentColorChanged();
    if (handle_) SendMessageA(handle_, CM_PARENTCOLORCHANGED, 0, 0);
}

bool TWinControl::DialogChar(char c) {
    for (TControl* control : std::vector<TControl*>(controls_)) {
        if (control->Visible() && control->Enabled() && control->DialogChar(c)) return true;
    }
    return false;
}

void TWinControl::Loaded() {
    TControl::Loaded();
    Realign();
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    if (auto* w = dynamic_cast<TWinControl*>(control)) tabList_.push_back(w);
    control->parent_ = this;
    if (handle_) {
        if (auto* w = dynamic_cast<TWinControl*>(control)) w->Handle();
    }
    Realign();
}

void TWinControl::RemoveControl(TControl* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
    control->parent_ = nullptr;
    if (auto* w = dynamic_cast<TWinControl*>(control)) w->DestroyHandle();
    Realign();
    Invalidate();
}

void TWinControl::ReadChild(TComponent* child) {
    if (auto* control = dynamic_cast<TControl*>(child)) control->SetParent(this);
}

void TWinControl::Realign() {
    // While a description is read, sizes arrive before alignments; lay out once it is complete.
    if (realigning_ || Loading()) return;
    realigning_ = true;
    TRect rect = AdjustClientRect();
    const TAlign order[] = {TAlign::Top, TAlign::Bottom, TAlign::Left, TAlign::Right, TAlign::Client};
    for (TAlign a : order) {
        for (TControl* c : controls_) {
            if (!c->Visible() || c->Align() != a) continue;
            int l = rect.Left, t = rect.Top, w = rect.Width(), h = rect.Height();
            switch (a) {
            case TAlign::Top:
                h = c->Height();
                rect.Top += h;
                break;
            case TAlign::Bottom:
                h = c->Height();
                t = rect.Bottom - h;
                rect.Bottom -= h;
                break;
            case TAlign::Left:
                w = c->Width();
                rect.Left += w;
                break;
            case TAlign::Right:
                w = c->Width();
                l = rect.Right - w;
                rect.Right -= w;
                break;
            default:
                break;
            }
            c->SetBounds(l, t, std::max(0, w), std::max(0, h));
        }
    }
    realigning_ = false;
}

void TWinControl::Paint(TCanvas& canvas) {
    canvas.Brush.Color = color_;
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.FillRect(ClientRect());
    PaintGraphicChildren(canvas);
}

void TWinControl::PaintGraphicChildren(TCanvas& canvas) {
    for (TControl* c : controls_) {
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (!g || !g->Visible()) continue;
        HDC dc = canvas.Handle();
        const int saved = SaveDC(dc);
        POINT old;
        OffsetViewportOrgEx(dc, g->Left(), g->Top(), &old);
        IntersectClipRect(dc, 0, 0, g->Width(), g->Height());
        TCanvas inner(dc);
        g->PaintTo(inner);
        inner.SetHandle(nullptr);
        RestoreDC(dc, saved);
    }
}

void TWinControl::PaintTo(TCanvas& canvas) { Paint(canvas); }

bool TWinControl::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "DoubleBuffered") {
        SetDoubleBuffered(v.AsBool());
    } else if (name == "TabOrder") {
        SetTabOrder(v.AsInt());
    } else if (name == "OnKeyDown") {
        OnKeyDown = reader.Method<void(TComponent*, WORD&, TShiftState)>(v);
    } else if (name == "OnKeyUp") {
        OnKeyUp = reader.Method<void(TComponent*, WORD&, TShiftState)>(v);
    } else if (name == "OnKeyPress") {
        OnKeyPress = reader.Method<void(TComponent*, char&)>(v);
    } else {
        return TControl::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace ui
