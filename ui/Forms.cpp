#include "Forms.h"

#include <commctrl.h>

#include "Menus.h"
#include "MessageBoxFit.h"
#include "Reader.h"
#include "TabWalk.h"

namespace ui {

TApplication* Application = nullptr;

namespace {
MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}
}  // namespace

void HandleWindowException(const std::exception& e) {
    if (Application) Application->ShowException(e);
    else ShowMessageBox(nullptr, e.what(), "Error", MB_OK | MB_ICONERROR);
}

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
    if (Hook()) return Hook()(text, caption, flags);
    return MessageBoxFittingCaption(owner, text, caption, flags);
}

void ShowMessage(const std::string& text) {
    HWND owner = GetActiveWindow();
    ShowMessageBox(owner, text, Application ? Application->Title() : std::string(), MB_OK);
}

void InitCommonControls() {
    static bool done = false;
    if (done) return;
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES;
    InitCommonControlsEx(&icc);
    done = true;
}

HWND MenuOwnerWindow() {
    HWND active = GetActiveWindow();
    if (active && TWinControl::FromHandle(active)) return active;
    return Application ? Application->Handle() : active;
}

TCustomForm* GetParentForm(TControl* control) {
    while (control && control->Parent()) control = control->Parent();
    return dynamic_cast<TCustomForm*>(control);
}

// ---- TCustomForm

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    visible_ = false;
    width_ = 320;
    height_ = 240;
    parentFont_ = false;
}

TCustomForm::~TCustomForm() {
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
        }
    }
    // The menu belongs to its component, not to the window that DestroyWindow would take it with.
    if (handle_ && menu_) ::SetMenu(handle_, nullptr);
    DestroyHandle();
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    menu_ = menu;
    if (menu_) menu_->FreeNotification(this);
    else if (handle_) ::SetMenu(handle_, nullptr);
    MenuChanged();
}

void TCustomForm::MenuChanged() {
    if (!handle_) return;
    if (menu_) ::SetMenu(handle_, menu_->Handle());
    DrawMenuBar(handle_);
}

void TCustomForm::InitWnd() {
    TWinControl::InitWnd();
    if (menu_) MenuChanged();
}

void TCustomForm::Notification(TComponent* component, Operation operation) {
    TWinControl::Notification(component, operation);
    if (operation == Operation::Remove && component == menu_) {
        menu_ = nullptr;
        if (handle_) ::SetMenu(handle_, nullptr);
    }
}

void TCustomForm::InitFromResource(const std::string& resourceName) {
    ReadComponentResource(this, resourceName);
    BindComponents();
    DoCreate();
}

void TCustomForm::InitFromText(const std::string& text) {
    ReadComponentText(this, text);
    BindComponents();
    DoCreate();
}

void TCustomForm::DoCreate() {
    HandleNeeded();
    if (OnCreate) OnCreate(this);
}

void TCustomForm::FillParams(CreateParams& p) {
    p.caption = caption_;
    p.parent = Application ? Application->Handle() : nullptr;  // owner: no taskbar button of its own
    switch (BorderStyle) {
    case TBorderStyle::None:
        p.style = WS_POPUP;
        break;
    case TBorderStyle::Dialog:
        p.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        p.exStyle = WS_EX_DLGMODALFRAME;
        break;
    case TBorderStyle::Single:
        p.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        break;
    case TBorderStyle::ToolWindow:
        p.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        p.exStyle = WS_EX_TOOLWINDOW;
        break;
    default:
        p.style = WS_OVERLAPPEDWINDOW;
        p.exStyle = WS_EX_APPWINDOW;
        break;
    }
    p.style |= WS_CLIPCHILDREN;
}

void TCustomForm::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    CreateParams p;
    FillParams(p);
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, p.style, FALSE, p.exStyle);
    SetBounds(left_, top_, r.right - r.left, r.bottom - r.top);
}

int TCustomForm::ClientWidth() const {
    if (!handle_ && clientWidth_ >= 0) return clientWidth_;
    return TWinControl::ClientWidth();
}

int TCustomForm::ClientHeight() const {
    if (!handle_ && clientHeight_ >= 0) return clientHeight_;
    return TWinControl::ClientHeight();
}

void TCustomForm::PlaceOnScreen() {
    if (Position == TPosition::Designed) return;
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (Position == TPosition::DesktopCenter) SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetBounds(work.left + (work.right - work.left - width_) / 2, work.top + (work.bottom - work.top - height_) / 2,
              width_, height_);
}

void TCustomForm::Show() {
    HandleNeeded();
    // Each showing starts at the first field, not where the last one was left.
    if (!IsWindowVisible(handle_)) lastFocus_ = nullptr;
    if (!shown_) {
        shown_ = true;
        PlaceOnScreen();
    }
    visible_ = true;
    // Before the window appears and its first field takes the focus (with its text selected): what
    // OnShow puts in the fields is what the user sees and types over.
    if (OnShow) OnShow(this);
    ShowWindow(handle_, WindowState == TWindowState::Maximized   ? SW_SHOWMAXIMIZED
                        : WindowState == TWindowState::Minimized ? SW_SHOWMINIMIZED
                                                                 : SW_SHOWNORMAL);
    UpdateWindow(handle_);
}

void TCustomForm::Hide() {
    visible_ = false;
    if (handle_) ShowWindow(handle_, SW_HIDE);
}

void TCustomForm::SetVisible(bool visible) {
    if (Loading()) {
        visible_ = visible;
        return;
    }
    if (visible) Show();
    else Hide();
}

int TCustomForm::ShowModal() {
    modalResult_ = 0;
    modal_ = true;
    HWND owner = Application && Application->MainForm() && Application->MainForm() != this
                     ? Application->MainForm()->HandleOrNull() : nullptr;
    if (owner) EnableWindow(owner, FALSE);
    Show();
    const HWND focus = GetFocus();
    if (!focus || !IsChild(handle_, focus)) RestoreFocus();
    MSG msg;
    while (modalResult_ == 0) {
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            if (modalResult_ == 0) modalResult_ = mrCancel;
            break;
        }
        if ((!Application || !Application->MessageHooked(msg)) && !TabKey(msg) && !IsDialogMessageA(handle_, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (owner) EnableWindow(owner, TRUE);
    Hide();
    if (owner) SetActiveWindow(owner);
    modal_ = false;
    return modalResult_;
}

namespace {
BOOL CALLBACK FindDefaultButton(HWND child, LPARAM found) {
    if (IsWindowVisible(child) && IsWindowEnabled(child) &&
        (SendMessageA(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)) {
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

void TCustomForm::RestoreFocus() {
    if (!handle_) return;
    const HWND last = lastFocus_;
    if (last && IsChild(handle_, last) && IsWindowVisible(last) && IsWindowEnabled(last)) {
        ::SetFocus(last);
        return;
    }
    const std::vector<HWND> stops = TabStops(*this);
    if (!stops.empty()) {
        FocusTabStop(stops.front());
        return;
    }
    HWND button = nullptr;
    EnumChildWindows(handle_, &FindDefaultButton, reinterpret_cast<LPARAM>(&button));
    if (button) ::SetFocus(button);
}

// An edit reached from the keyboard has its text selected, so that typing replaces it.
void TCustomForm::FocusTabStop(HWND stop) {
    ::SetFocus(stop);
    if (SendMessageA(stop, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(stop, EM_SETSEL, 0, -1);
}

bool TCustomForm::TabKey(MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || !handle_) return false;
    if (msg.hwnd != handle_ && !IsChild(handle_, msg.hwnd)) return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    // A control that takes Tab itself (a memo that types it, say) keeps it.
    const LRESULT code = SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) return false;
    if (const HWND next = NextTabStop(*this, msg.hwnd, GetKeyState(VK_SHIFT) >= 0)) FocusTabStop(next);
    return true;
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (modal_) {
        if (CloseQuery()) modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    const bool main = Application && Application->MainForm() == this;
    TCloseAction action = main ? TCloseAction::Free : TCloseAction::Hide;
    if (OnClose) OnClose(this, action);
    if (action == TCloseAction::None) return;
    if (main) {
        Hide();
        Application->Terminate();
    } else if (action == TCloseAction::Minimize) {
        ShowWindow(handle_, SW_MINIMIZE);
    } else {
        Hide();
    }
}

LRESULT TCustomForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(handle_, focus)) lastFocus_ = focus;
        } else if (!HIWORD(wParam)) {
            // The default handling focuses the form itself; a control of it takes the focus instead.
            const LRESULT r = TWinControl::WndProc(message, wParam, lParam);
            RestoreFocus();
            return r;
        }
        break;
    case WM_GETMINMAXINFO: {
        const LRESULT r = TWinControl::WndProc(message, wParam, lParam);
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (Constraints.MinWidth > 0) info->ptMinTrackSize.x = Constraints.MinWidth;
        if (Constraints.MinHeight > 0) info->ptMinTrackSize.y = Constraints.MinHeight;
        if (Constraints.MaxWidth > 0) info->ptMaxTrackSize.x = info->ptMaxSize.x = Constraints.MaxWidth;
        if (Constraints.MaxHeight > 0) info->ptMaxTrackSize.y = info->ptMaxSize.y = Constraints.MaxHeight;
        return r;
    }
    case WM_SIZE:
        // The state follows the window, whoever sized it (the system's buttons, the task bar,
        // ShowWindow); a hidden window being laid out keeps the state it is to be shown in.
        if (wParam == SIZE_MAXIMIZED) {
            WindowState = TWindowState::Maximized;
        } else if (wParam == SIZE_MINIMIZED) {
            WindowState = TWindowState::Minimized;
        } else if (wParam == SIZE_RESTORED && IsWindowVisible(handle_)) {
            WindowState = TWindowState::Normal;
        }
        break;
    case WM_COMMAND:
        // Enter and Esc of dialogs.
        if (lParam == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            return 0;
        }
        break;
    default:
        break;
    }
    return TWinControl::WndProc(message, wParam, lParam);
}

bool TCustomForm::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Position") {
        const std::string& s = v.AsIdent();
        Position = EqualsIdent(s, "poDesktopCenter")  ? TPosition::DesktopCenter
                   : EqualsIdent(s, "poScreenCenter") ? TPosition::ScreenCenter
                   : EqualsIdent(s, "poMainFormCenter") ? TPosition::MainFormCenter : TPosition::Designed;
    } else if (name == "WindowState") {
        const std::string& s = v.AsIdent();
        WindowState = EqualsIdent(s, "wsMaximized")   ? TWindowState::Maximized
                      : EqualsIdent(s, "wsMinimized") ? TWindowState::Minimized : TWindowState::Normal;
    } else if (name == "BorderStyle") {
        const std::string& s = v.AsIdent();
        BorderStyle = EqualsIdent(s, "bsDialog")         ? TBorderStyle::Dialog
                      : EqualsIdent(s, "bsNone")         ? TBorderStyle::None
                      : EqualsIdent(s, "bsSingle")       ? TBorderStyle::Single
                      : EqualsIdent(s, "bsToolWindow")   ? TBorderStyle::ToolWindow : TBorderStyle::Sizeable;
        if (clientWidth_ >= 0) SetClientSize(clientWidth_, clientHeight_);
    } else if (name == "AutoSize") {
        AutoSize = v.AsBool();
    } else if (name == "OnCreate") {
        OnCreate = reader.Method<void(TComponent*)>(v);
    } else if (name == "OnShow") {
        OnShow = reader.Method<void(TComponent*)>(v);
    } else if (name == "OnDestroy") {
        OnDestroy = reader.Method<void(TComponent*)>(v);
    } else if (name == "OnClose") {
        OnClose = reader.Method<void(TComponent*, TCloseAction&)>(v);
    } else if (name == "OnCloseQuery") {
        OnCloseQuery = reader.Method<void(TComponent*, bool&)>(v);
    } else if (name == "Menu") {
        reader.Reference(v, [this](TComponent* c) { SetMenu(dynamic_cast<TMainMenu*>(c)); });
    } else if (name == "BorderIcons" || name == "FormStyle" || name == "Icon" || name == "KeyPreview") {
    } else {
        return TWinControl::SetProperty(name, v, reader);
    }
    return true;
}

// ---- TApplication

namespace {
LRESULT CALLBACK ApplicationWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    try {
        if (DispatchMenuMessage(message, wParam, lParam, result)) return result;
    } catch (const std::exception& e) {
        HandleWindowException(e);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
}  // namespace

TApplication::TApplication() : TComponent(nullptr) {
    Application = this;
    // The title starts as the program's file name without its extension.
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name = path;
    name = name.substr(name.find_last_of("\\/") + 1);
    title_ = name.substr(0, name.find_last_of('.'));
    InitCommonControls();
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ApplicationWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    wc.lpszClassName = "UiApplication";
    RegisterClassExA(&wc);
    handle_ = CreateWindowExA(0, "UiApplication", "", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU, 0, 0,
                              0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TApplication::~TApplication() {
    // Forms first, while the window that owns them still exists.
    while (ComponentCount() > 0) delete Component(ComponentCount() - 1);
    if (handle_) DestroyWindow(handle_);
    if (Application == this) Application = nullptr;
}

void TApplication::SetTitle(const std::string& title) {
    title_ = title;
    if (handle_) SetWindowTextA(handle_, title.c_str());
}

void TApplication::Notification(TComponent* component, Operation operation) {
    TComponent::Notification(component, operation);
    if (operation == Operation::Remove && component == mainForm_) mainForm_ = nullptr;
}

void TApplication::Run() {
    if (terminated_) return;
    if (mainForm_) mainForm_->Show();
    MSG msg;
    while (!terminated_) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) break;
        if (MessageHooked(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            break;
        }
        if (MessageHooked(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool TApplication::MessageHooked(MSG& msg) {
    if (!OnMessage) return false;
    bool handled = false;
    OnMessage(msg, handled);
    return handled;
}

void TApplication::Terminate() {
    terminated_ = true;
    PostQuitMessage(0);
}

void TApplication::ShowException(const std::exception& e) {
    std::string text = e.what();
    if (!text.empty() && text.back() != '.') text += '.';
    ShowMessageBox(mainForm_ ? mainForm_->HandleOrNull() : nullptr, text, title_, MB_OK | MB_ICONSTOP);
}

}  // namespace ui
