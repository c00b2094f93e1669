// Controls: the window-less graphic controls and the windowed controls over Win32, with
// alignment inside their parent, fonts and colours taken from the parent, and the reflection of
// a parent's notifications back to the control they concern.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Component.h"
#include "Graphics.h"

namespace ui {

enum class TAlign { None, Top, Bottom, Left, Right, Client };
enum ModalResults { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };
enum class TMouseButton { Left, Right, Middle };
using TShiftState = unsigned;  // MK_ flags of the message
// Besides the MK_ flags: the press is the second one of a double click.
constexpr TShiftState ssDouble = 0x10000;
class TWinControl;
class TPopupMenu;
class TAction;

// The class library's own notifications to a control's window, for whoever follows the window's
// messages: its parent's colour changed, it is being invalidated, the focus left it for another
// control of the same form.
constexpr UINT CM_PARENTCOLORCHANGED = 0xB009;
constexpr UINT CM_EXIT = 0xB01B;
constexpr UINT CM_INVALIDATE = 0xB034;

using TMouseEvent = std::function<void(TComponent*, TMouseButton, TShiftState, int, int)>;
using TMouseMoveEvent = std::function<void(TComponent*, TShiftState, int, int)>;
using TKeyEvent = std::function<void(TComponent*, WORD&, TShiftState)>;
// The character typed; setting it to 0 swallows it.
using TKeyPressEvent = std::function<void(TComponent*, char&)>;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    virtual void SetBounds(int left, int top, int width, int height);
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual int ClientWidth() const { return width_; }
    virtual int ClientHeight() const { return height_; }
    virtual void SetClientSize(int width, int height) { SetBounds(left_, top_, width, height); }
    TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
    TRect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    const std::string& Caption() const { return caption_; }
    virtual void SetCaption(const std::string& caption);
    TColor Color() const { return color_; }
    virtual void SetColor(TColor color);
    TFont& Font() { return font_; }
    bool ParentFont() const { return parentFont_; }
    TPopupMenu* PopupMenu() const { return popupMenu_; }

    virtual void Invalidate();
    virtual void Repaint();
    // Draws the control into a canvas whose origin is the control's top-left corner.
    virtual void PaintTo(TCanvas& canvas) { (void)canvas; }

    TNotifyEvent OnClick, OnResize, OnDblClick;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    // What a click and a double click on the control do; the events by default.
    virtual void Click() {
        if (OnClick) OnClick(this);
    }
    virtual void DblClick() {
        if (OnDblClick) OnDblClick(this);
    }

    // The action the control is linked to: it follows the action's caption and enabled state.
    TAction* Action() const { return action_; }
    void SetAction(TAction* action);
    virtual void ActionChange(const TAction& action);
    // A key pressed with Alt: true when it was this control's accelerator and the control acted.
    virtual bool DialogChar(char c) { (void)c; return false; }

    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;
    void Notification(TComponent* component, Operation operation) override;
    void Loaded() override;

    // The parent's font or colour changed (ParentFont / ParentColor).
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();

protected:
    friend class TWinControl;
    virtual void BoundsChanged() {}
    virtual void FontChanged() { Invalidate(); }
    void Resized() {
        if (OnResize && !Loading()) OnResize(this);
    }

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = TAlign::None;
    bool visible_ = true, enabled_ = true;
    bool parentFont_ = true, parentColor_ = false;
    std::string caption_;
    TColor color_ = clBtnFace;
    TFont font_;
    TPopupMenu* popupMenu_ = nullptr;
    TAction* action_ = nullptr;
};

// A control without a window of its own: its parent paints it.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
    TCanvas& Canvas() { return *canvas_; }
    void Invalidate() override;
    void Repaint() override;
    void PaintTo(TCanvas& canvas) override;

protected:
    virtual void Paint() {}

private:
    TCanvas* canvas_ = nullptr;  // the canvas of the painting in progress
};

struct CreateParams {
    std::string className;  // empty: the library's own window class
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    std::string caption;
    HWND parent = nullptr;
    HMENU id = nullptr;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    HWND Handle();  // creates the window (and its parents') when needed
    HWND HandleOrNull() const { return handle_; }
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    static TWinControl* FromHandle(HWND hwnd);
    // Makes `control` the one FromHandle answers for a window it does not own (a part of it made
    // by the platform); `Detach` before the window goes.
    static void AttachWindow(HWND hwnd, TWinControl* control);
    static void DetachWindow(HWND hwnd);

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Control(int i) const { return controls_.at(i); }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);

    void SetBounds(int left, int top, int width, int height) override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void SetCaption(const std::string& caption) override;
    void SetColor(TColor color) override;
    void Invalidate() override;
    void Repaint() override;
    void SetFocus();
    // The control's place among its parent's windowed children in the order Tab walks them; a
    // new child comes last, and taking a place moves the others after it up by one.
    int TabOrder() const;
    void SetTabOrder(int order);
    // The windowed children in tab order.
    const std::vector<TWinControl*>& TabList() const { return tabList_; }
    bool DoubleBuffered = false;
    virtual void SetDoubleBuffered(bool value) { DoubleBuffered = value; }

    // Lays the aligned child controls out in the client area.
    virtual void Realign();
    // Client area left to aligned children (panels keep their bevels out of it).
    virtual TRect AdjustClientRect() const { return ClientRect(); }
    // Paints the background and the graphic children into canvas (origin at the client corner).
    void PaintTo(TCanvas& canvas) override;
    void ParentFontChanged() override;
    void ParentColorChanged() override;
    void Loaded() override;
    // Offers the accelerator to the visible and enabled children in turn.
    bool DialogChar(char c) override;

    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;

    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;
    void ReadChild(TComponent* child) override;

    // Reflected notifications from the parent window; true when handled (result in `result`).
    virtual bool HandleNotify(NMHDR* header, LRESULT& result) { (void)header, (void)result; return false; }
    virtual bool HandleCommand(WORD code, WORD id) { (void)code, (void)id; return false; }
    virtual bool HandleScroll(UINT message, WPARAM wParam) { (void)message, (void)wParam; return false; }
    // An owner-drawn control's item to draw (every kind but menu items, which go to the menus).
    virtual bool HandleDrawItem(DRAWITEMSTRUCT* item) { (void)item; return false; }

    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    virtual void FillParams(CreateParams& params);
    virtual void CreateWnd();
    // After the window exists: apply what was set before it did.
    virtual void InitWnd() {}
    // After the child windows exist.
    virtual void ChildrenCreated() {}
    virtual void DestroyHandle();
    virtual void Paint(TCanvas& canvas);  // background and graphic children
    void PaintGraphicChildren(TCanvas& canvas);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    void FontChanged() override;
    void UpdateBounds();  // window rectangle -> fields
    virtual bool IsTopLevel() const { return false; }
    HWND ParentHandle();

    HWND handle_ = nullptr;
    WNDPROC defaultProc_ = nullptr;  // the control class's own procedure, for wrapped controls
    // The control itself makes clicks and double clicks of the mouse (a panel, say; a system
    // control reports its own): a press takes the mouse, and a release over the control after a
    // press on it is a click.
    bool clickEvents_ = false;
    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    bool realigning_ = false;
    bool settingBounds_ = false;

private:
    LRESULT MouseButton(UINT message, WPARAM wParam, LPARAM lParam);
    bool clicked_ = false;  // the left button went down on the control and is still held
    // False once the control is destroyed: a click's handler may free the control it clicked.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    friend LRESULT CALLBACK OwnWindowProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK WrappedWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    static bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
};

// The owner-draw and command messages of menus reach the menu items through this.
bool DispatchMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
// Registers the library's window class once; answers its name.
const char* OwnWindowClass();

}  // namespace ui
