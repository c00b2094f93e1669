// The form frame: a panel that takes over its form's look. It carries the skinned title bar,
// fills the form's client area less a painted border on the left, right and bottom, carries the
// form's style and face colour, takes the form's skinned main menu, and follows the form's window
// (size, activation, edge hit tests) through a subclass it removes again when either goes away.
#pragma once
#include <windows.h>

#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "Qelthemes.h"

namespace skin {

class TqelTitleBar;

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

    TqelTitleBar* titleBar_ = nullptr;
    ui::TMainMenu* menu_ = nullptr;
    ui::TCustomPanel* formPanel_ = nullptr;
    ui::TCustomForm* form_ = nullptr;
    ui::TBorderStyle savedBorderStyle_ = ui::TBorderStyle::Sizeable;
    ui::TColor borderColor_ = ui::clBlack;
    int borderWidth_ = 0;
    TqelUIStyle uiStyle_ = TqelUIStyle::DeepBlue;
    HWND hooked_ = nullptr;  // the form window this frame's subclass sits on
};

}  // namespace skin
