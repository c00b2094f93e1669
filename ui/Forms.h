// Forms, the application object, and the plain message box.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "Controls.h"

namespace ui {

enum class TCloseAction { None, Hide, Free, Minimize };
enum class TPosition { Designed, ScreenCenter, DesktopCenter, MainFormCenter };
enum class TWindowState { Normal, Minimized, Maximized };
enum class TBorderStyle { Sizeable, Dialog, None, Single, ToolWindow };

using TCloseEvent = std::function<void(TComponent*, TCloseAction&)>;
using TCloseQueryEvent = std::function<void(TComponent*, bool&)>;

class TMainMenu;

// Limits of a form's outer size while the user sizes or maximises it; 0 is no limit.
struct TSizeConstraints {
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
};

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // The menu bar of the window.
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    // Puts the menu's current items on the window's bar again and redraws the bar.
    void MenuChanged();

    TPosition Position = TPosition::Designed;
    TWindowState WindowState = TWindowState::Normal;
    TBorderStyle BorderStyle = TBorderStyle::Sizeable;
    bool AutoSize = false;
    TSizeConstraints Constraints;

    void Show();
    void Hide();
    int ShowModal();
    void Close();
    bool CloseQuery();
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    bool Modal() const { return modal_; }
    // Tab and Shift+Tab pressed in the form: the focus goes to the next or previous control of its
    // tab order (every container in its turn, wrapping around). True when the key was taken; the
    // form's message loop offers it every message before the dialog manager sees it.
    bool TabKey(MSG& msg);

    void SetClientSize(int width, int height) override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    void SetVisible(bool visible) override;

    TNotifyEvent OnCreate, OnShow, OnDestroy;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Reads the form's description from the program's resources, lets the form look its
    // components up (BindComponents), creates the window and runs OnCreate.
    void InitFromResource(const std::string& resourceName);
    void InitFromText(const std::string& text);
    virtual void BindComponents() {}
    void FillParams(CreateParams& params) override;
    bool IsTopLevel() const override { return true; }
    void DoCreate();
    void InitWnd() override;
    void Notification(TComponent* component, Operation operation) override;

private:
    TMainMenu* menu_ = nullptr;
    void PlaceOnScreen();
    // Gives the focus back to the control that had it when the form was last left; on a form just
    // shown, to the first control of its tab order (an edit with its text selected, so that typing
    // replaces it), or else to the default button, as a dialog does: otherwise no control of a new
    // form has it, and keys typed at once and Enter and Esc reach nothing.
    void RestoreFocus();
    void FocusTabStop(HWND stop);
    HWND lastFocus_ = nullptr;
    int modalResult_ = 0;
    bool modal_ = false;
    bool shown_ = false;
    int clientWidth_ = -1, clientHeight_ = -1;
};

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

TCustomForm* GetParentForm(TControl* control);

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    void Initialize() {}
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);
    HWND Handle() const { return handle_; }
    TCustomForm* MainForm() const { return mainForm_; }

    // Creates a form owned by the application; the first becomes the main form.
    template <class T>
    void CreateForm(T*& reference) {
        T* form = new T(this);
        reference = form;
        if (!mainForm_) mainForm_ = form;
    }
    void Run();
    void ProcessMessages();
    void Terminate();
    bool Terminated() const { return terminated_; }
    void ShowException(const std::exception& e);
    // Every message the loops take from the queue passes here first; setting handled keeps it
    // from being dispatched.
    std::function<void(MSG&, bool&)> OnMessage;
    // True when OnMessage handled the message.
    bool MessageHooked(MSG& msg);
    void Notification(TComponent* component, Operation operation) override;

private:
    std::string title_;
    HWND handle_ = nullptr;
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
};

extern TApplication* Application;

// What every message box of the library goes through; tests put a recorder in its place.
using MessageBoxHook = std::function<int(const std::string& text, const std::string& caption, UINT flags)>;
void SetMessageBoxHook(MessageBoxHook hook);
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);
// A plain message box captioned with the application's title.
void ShowMessage(const std::string& text);

// Loads the common controls; the application object does it, tests may call it.
void InitCommonControls();

}  // namespace ui
