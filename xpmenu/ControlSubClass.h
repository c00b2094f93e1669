// TControlSubClass: the hook TXPMenu puts on a standard control. It sits in the control's window
// procedure chain, passes every message on, follows hot, focused and pressed state, and after the
// control has painted itself paints it flat in the menu component's colours.
#pragma once
#include <windows.h>

#include "Component.h"
#include "Graphics.h"
#include "StdCtrls.h"

namespace ui {
class TWinControl;
}

namespace xpmenu {

class TXPMenu;

class TControlSubClass : public ui::TComponent {
public:
    explicit TControlSubClass(TXPMenu* owner);
    // Takes itself out of the control's chain and gives an edit its frame back.
    ~TControlSubClass() override;

    void Install(ui::TWinControl* control, TXPMenu* menu);
    ui::TWinControl* Control() const { return control_; }
    bool Hot() const { return hot_; }
    bool MousePressed() const { return mousePressed_; }
    bool KeyPressed() const { return keyPressed_; }
    // The control is being rebuilt or invalidated: a destroy message is not its end.
    bool Building() const { return building_; }
    // How often the control was painted flat (tests count repaints).
    int PaintCount() const { return paintCount_; }

    // What the hook does with one message after the control has had it.
    LRESULT ControlSubClass(UINT message, WPARAM wParam, LPARAM lParam);
    void PaintControlXP();

    void Notification(ui::TComponent* component, ui::Operation operation) override;

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR id, DWORD_PTR data);
    void Uninstall(bool restoreLook);

    void PaintCombo(ui::TCanvas& canvas);
    void PaintEdit(ui::TCanvas& canvas);
    void PaintRichEdit();
    void PaintCheckBox(ui::TCanvas& canvas);
    void PaintRadio(ui::TCanvas& canvas);
    void PaintButton(ui::TCanvas& canvas);
    void PaintBitButn(ui::TCanvas& canvas);
    void PaintUpDownButton(ui::TCanvas& canvas);
    void PaintSpeedButton(ui::TCanvas& canvas);
    void TintThrough(ui::TCanvas& canvas, const ui::TRect& r);
    // A push button's face, frame and shading; answers its rectangle.
    ui::TRect PaintButtonFace(ui::TCanvas& canvas);
    // A glyph cell and a caption where the layout puts them.
    void PaintGlyphAndCaption(ui::TCanvas& canvas, const ui::TRect& r, ui::TBitmap& glyph, int numGlyphs, int cell,
                              ui::TButtonLayout layout, int spacing, int glyphLeftLift, bool checked, bool isDefault);
    void PaintPanel(ui::TCanvas& canvas);
    void PaintGroupBox(ui::TCanvas& canvas);
    ui::TColor ParentColor() const;
    // The square of a check box or radio button, cleared in the control's colour and inset by 2.
    ui::TRect MarkBox(ui::TCanvas& canvas, int inset, int shorter);

    ui::TWinControl* control_ = nullptr;
    bool building_ = false;
    bool hot_ = false;
    bool mousePressed_ = false;
    bool keyPressed_ = false;
    bool keyDownSeen_ = false;
    bool focused_ = false;
    bool tracking_ = false;  // mouse-leave tracking asked for
    bool painting_ = false;  // messages the painters send themselves are not painted again
    HWND window_ = nullptr;
    TXPMenu* menu_ = nullptr;
    bool savedCtl3D_ = true;
    int savedBorderStyle_ = 1;
    bool isEdit_ = false;
    UINT lastMessage_ = 0;
    int paintCount_ = 0;
};

}  // namespace xpmenu
