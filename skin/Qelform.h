// The form frame: a panel that takes over its form's look. It carries the skinned title bar,
// fills the form's client area less a painted border on the left, right and bottom, carries the
// form's style and face colour, takes the form's skinned main menu, and follows the form's window
// (size, activation, edge hit tests) through a subclass it removes again when either goes away.
#pragma once
#include <windows.h>

#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "ComCtrls.h"
#include "Qelthemes.h"

namespace skin {

class TqelTitleBar;
class TqelMenuBar;

class TqelForm : public ui::TCustomPanel {
public:
    explicit TqelForm(ui::TComponent* owner);
    ~TqelForm() override;

    TqelUIStyle UIStyle() const { return uiStyle_; }
    // Not Custom: the style's border and face colours, the title bar and the children follow it.
    void SetUIStyle(TqelUIStyle style);
    ui::TMainMenu* Menu() const { return menu_; }
    void SetMenu(ui::TMainMenu* menu);
    ui::TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(ui::TColor color);
    int FrameBorderWidth() const { return borderWidth_; }
    void SetFrameBorderWidth(int width);
    // The frame's own size; the form's client area follows with the border around it.
    void SetFrameWidth(int width);
    void SetFrameHeight(int height);
    ui::TCustomPanel* FormPanel() const { return formPanel_; }
    // The panel that fills the frame's client area; the frame itself is refused.
    void SetFormPanel(ui::TCustomPanel* panel);
    // Null unless the frame's owner is a form.
    TqelTitleBar* TitleBar() const { return titleBar_; }

    // The flat bar under the title bar that shows the menu; null while no menu is attached.
    TqelMenuBar* MenuBar() const { return menuBar_; }
    ui::TColor MenuBarColor() const { return menuBarColor_; }
    void SetMenuBarColor(ui::TColor color);
    int MenuBarHeight() const { return menuBarHeight_; }
    // The bar and each of its buttons take the height.
    void SetMenuBarHeight(int height);
    void CreateMenuBar();
    // Frees the bar and detaches the menu.
    void DestroyMenuBar();
    // One button per top-level item of the menu, in the menu's order; no menu: no bar.
    void UpdateMenu();
    // The bar's font follows the skinned menu's font choice, then the bar repaints.
    void RepaintMenuBar();
    // The bar's drawing of a button that is hot or dropped down, in the menu's style.
    void DrawButton(ui::TToolBar* bar, ui::TToolButton* button, ui::TCustomDrawState state, bool& defaultDraw);
    // The bar's background: the MacOS bar picture, else the bar's own.
    void DrawMenuBar(ui::TCanvas& canvas, const ui::TRect& rect, bool& defaultDraw);

    // 1 when the attached menu takes the key of a WM_KEYDOWN as a shortcut (and runs its item), else 0.
    LRESULT ProcessKeyPress(UINT message, WPARAM wParam, LPARAM lParam);
    // The application's message hook while this frame holds it: key presses anywhere reach the menu.
    void OnApplicationMessage(MSG& msg, bool& handled);
    // The form was created maximised and has not yet been seen restored.
    bool MaximizePending() const { return maximizePending_; }

    // Fills the form's client area less the border.
    void AlignSelf();
    void PaintFormBorder();
    // What the form answers to a hit test at a screen point; `fallback` where no edge rule holds.
    LRESULT HitTest(int screenX, int screenY, LRESULT fallback) const;

    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;
    void Notification(ui::TComponent* component, ui::Operation operation) override;

protected:
    void Paint(ui::TCanvas& canvas) override;
    void InitWnd() override;

private:
    static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);
    void Unhook();
    void FormResized();
    // The menu's style when it is a skinned menu, else the frame's.
    TqelUIStyle MenuStyle() const;
    // The skinned menu's font choice on a font.
    void ApplyMenuFont(ui::TFont& font, bool withColor) const;

    TqelTitleBar* titleBar_ = nullptr;
    ui::TMainMenu* menu_ = nullptr;
    TqelMenuBar* menuBar_ = nullptr;
    ui::TColor menuBarColor_ = ui::clBtnFace;
    int menuBarHeight_ = 22;
    ui::TCustomPanel* formPanel_ = nullptr;
    ui::TCustomForm* form_ = nullptr;
    ui::TBorderStyle savedBorderStyle_ = ui::TBorderStyle::Sizeable;
    ui::TColor borderColor_ = ui::clBlack;
    int borderWidth_ = 0;
    TqelUIStyle uiStyle_ = TqelUIStyle::DeepBlue;
    bool hooksApplication_ = false;
    ui::TRect savedBounds_;
    bool maximizePending_ = false;
    HWND hooked_ = nullptr;  // the form window this frame's subclass sits on
};

}  // namespace skin
