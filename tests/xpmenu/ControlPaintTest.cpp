// Hooked standard controls painted flat on a live form: normal, hot, focused, pressed and
// disabled, read back from the windows.
#include <gtest/gtest.h>

#include <memory>

#include "ControlSubClass.h"
#include "GdiCounter.h"
#include "XPColors.h"
#include "XPTestForm.h"

namespace {

using namespace xpmenu;
using ui::TColor;

class ControlPaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<XPTestForm>(nullptr);
        xp = form->xp;
        form->Show();
        SetCursorPos(0, 0);  // away from the form
        xp->SetActive(true);
        Pump();
        colours.SetSize(1, 1);
        xp->SetGlobalColor(colours.Canvas());
    }
    TControlSubClass* Hook(const char* name) { return xp->HookOf(form->Find<ui::TControl>(name)); }
    HWND Window(const char* name) { return form->Find<ui::TWinControl>(name)->Handle(); }
    COLORREF At(const char* name, int x, int y) {
        HWND w = Window(name);
        HDC dc = GetWindowDC(w);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(w, dc);
        return c;
    }
    SIZE Size(const char* name) {
        RECT r;
        GetWindowRect(Window(name), &r);
        return SIZE{r.right - r.left, r.bottom - r.top};
    }
    void Send(const char* name, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        SendMessageA(Window(name), message, wParam, lParam);
    }
    COLORREF Rgb(TColor c) { return ui::ColorToRGB(c); }
    ui::TCanvas& C() { return colours.Canvas(); }

    std::unique_ptr<XPTestForm> form;
    TXPMenu* xp = nullptr;
    ui::TBitmap colours;
};

TEST_F(ControlPaintTest, EditBorderFollowsFocus) {
    // The form gave its first field, Edit1, the focus when it was shown: the button takes it first.
    form->Find<ui::TButton>("Button1")->SetFocus();
    Send("Edit1", WM_PAINT);
    const TColor parent = form->Color();
    EXPECT_EQ(At("Edit1", 0, 0), Rgb(GetShadeColor(C(), parent, 60)));
    EXPECT_FALSE(form->Find<ui::TEdit>("Edit1")->Ctl3D());
    form->Find<ui::TEdit>("Edit1")->SetFocus();
    EXPECT_TRUE(Hook("Edit1")->Hot());
    EXPECT_EQ(At("Edit1", 0, 5), Rgb(NewColor(C(), xp->DrawSelectBorderColor, 60)));
    form->Find<ui::TButton>("Button1")->SetFocus();
    EXPECT_EQ(At("Edit1", 0, 5), Rgb(GetShadeColor(C(), parent, 60)));
}

TEST_F(ControlPaintTest, ComboButtonAreaByState) {
    const SIZE s = Size("Combo1");
    const int x = s.cx - 3, y = s.cy / 2;
    Send("Combo1", WM_PAINT);
    EXPECT_EQ(At("Combo1", x, y), Rgb(ui::clBtnFace));
    EXPECT_EQ(At("Combo1", 0, 0), Rgb(form->Color()));
    Send("Combo1", WM_MOUSEMOVE);  // the mouse enters
    EXPECT_TRUE(Hook("Combo1")->Hot());
    EXPECT_EQ(At("Combo1", x, y), Rgb(xp->DrawSelectColor));
    EXPECT_EQ(At("Combo1", 0, y), Rgb(xp->DrawSelectBorderColor));
    Send("Combo1", WM_MOUSELEAVE);
    EXPECT_EQ(At("Combo1", x, y), Rgb(ui::clBtnFace));
    form->Find<ui::TComboBox>("Combo1")->SetFocus();
    Send("Combo1", WM_MOUSELEAVE);  // focused, not hot
    EXPECT_EQ(At("Combo1", x, y), Rgb(xp->CheckAreaColor));
    EXPECT_EQ(At("Combo1", 0, y), Rgb(NewColor(C(), xp->DrawSelectBorderColor, 60)));
}

TEST_F(ControlPaintTest, CheckBoxBoxByState) {
    const int thumb = GetSystemMetrics(SM_CXHTHUMB);
    const SIZE s = Size("PanelCheck");
    const int top = 3 + (s.cy - 6 - thumb) / 2 + 2;  // the box after its 2-pixel inset
    const int left = 2;
    Send("PanelCheck", WM_PAINT);
    EXPECT_EQ(At("PanelCheck", left, top + 1), Rgb(ui::clBtnShadow));
    EXPECT_EQ(At("PanelCheck", left + 1, top + 1), Rgb(ui::clWindow));
    Send("PanelCheck", WM_MOUSEMOVE);
    EXPECT_EQ(At("PanelCheck", left, top + 1), Rgb(xp->DrawSelectBorderColor));
    EXPECT_EQ(At("PanelCheck", left + 1, top + 1), Rgb(xp->DrawSelectColor));
    Send("PanelCheck", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_TRUE(Hook("PanelCheck")->MousePressed());
    EXPECT_EQ(At("PanelCheck", left + 1, top + 1), Rgb(xp->CheckAreaSelectColor));
    Send("PanelCheck", WM_LBUTTONUP, 0, MAKELPARAM(300, 300));  // let go outside: no click
    EXPECT_FALSE(Hook("PanelCheck")->MousePressed());
    // A double click is a second press.
    Send("PanelCheck", WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_TRUE(Hook("PanelCheck")->MousePressed());
    Send("PanelCheck", WM_LBUTTONUP, 0, MAKELPARAM(300, 300));
}

TEST_F(ControlPaintTest, RadioDotIsHighlightOrDisabled) {
    const int thumb = GetSystemMetrics(SM_CXHTHUMB);
    const SIZE s = Size("Radio1");
    const int top = 4 + (s.cy - 8 - thumb) / 2;
    const int cx = (thumb - 1) / 2, cy = top + (thumb - 1) / 2;
    Send("Radio1", WM_PAINT);
    EXPECT_EQ(At("Radio1", cx, cy), Rgb(ui::clHighlight));
    form->Find<ui::TWinControl>("Radio1")->SetEnabled(false);
    EXPECT_EQ(At("Radio1", cx, cy), Rgb(xp->DrawDisabledColor));
    form->Find<ui::TWinControl>("Radio1")->SetEnabled(true);
}

TEST_F(ControlPaintTest, ButtonFaceAndShadingByState) {
    const SIZE s = Size("Button1");
    Send("Button1", WM_PAINT);
    EXPECT_EQ(At("Button1", 4, s.cy / 2), Rgb(xp->DrawIconBackColor));
    EXPECT_EQ(At("Button1", s.cx - 1, s.cy / 2), Rgb(GetShadeColor(C(), ui::clBtnShadow, 50)));
    Send("Button1", WM_MOUSEMOVE);
    const TColor hotBorder = NewColor(C(), xp->DrawSelectBorderColor, 60);
    EXPECT_EQ(At("Button1", 4, s.cy / 2), Rgb(NewColor(C(), ui::clBtnFace, 60)));
    Send("Button1", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    EXPECT_EQ(At("Button1", s.cx / 2, 0), Rgb(GetShadeColor(C(), hotBorder, 50)));  // pressed: shade at the top
    Send("Button1", WM_LBUTTONUP, 0, MAKELPARAM(300, 300));
    EXPECT_EQ(At("Button1", s.cx / 2, 0), Rgb(NewColor(C(), hotBorder, 30)));
    Send("Button1", WM_MOUSELEAVE);
    form->Find<ui::TWinControl>("Button1")->SetEnabled(false);
    // Disabled: no shading line, the frame pen all round.
    EXPECT_EQ(At("Button1", s.cx - 1, s.cy / 2), Rgb(NewColor(C(), ui::clBtnShadow, 30)));
    form->Find<ui::TWinControl>("Button1")->SetEnabled(true);
}

TEST_F(ControlPaintTest, SpeedButtonFaceAndSpaceBarRepeats) {
    const SIZE s = Size("Speed1");
    Send("Speed1", WM_PAINT);
    EXPECT_EQ(At("Speed1", 3, s.cy / 2), Rgb(xp->DrawIconBackColor));
    Send("Speed1", WM_MOUSEMOVE);
    EXPECT_EQ(At("Speed1", 3, s.cy / 2), Rgb(xp->DrawSelectColor));
    Send("Speed1", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(At("Speed1", 3, s.cy / 2), Rgb(xp->CheckAreaSelectColor));
    Send("Speed1", WM_LBUTTONUP, 0, MAKELPARAM(3, 3));

    TControlSubClass* hook = Hook("Speed1");
    const int before = hook->PaintCount();
    Send("Speed1", WM_KEYDOWN, VK_SPACE);
    Send("Speed1", WM_KEYDOWN, VK_SPACE, 1 << 30);  // auto-repeats
    Send("Speed1", WM_KEYDOWN, VK_SPACE, 1 << 30);
    EXPECT_TRUE(hook->KeyPressed());
    EXPECT_EQ(hook->PaintCount(), before + 1);
    Send("Speed1", WM_KEYUP, VK_SPACE);
    EXPECT_EQ(hook->PaintCount(), before + 2);
    EXPECT_FALSE(hook->KeyPressed());
    Send("Speed1", WM_KEYDOWN, 'A');
    EXPECT_EQ(hook->PaintCount(), before + 2);
}

TEST_F(ControlPaintTest, PanelAndGroupBoxFramesAreFlat) {
    ui::TWinControl* panel = form->Find<ui::TWinControl>("Panel1");
    panel->Repaint();
    const SIZE p = Size("Panel1");
    // Lowered: shade at the top and left, light at the bottom and right.
    EXPECT_EQ(At("Panel1", 0, p.cy / 2), Rgb(GetShadeColor(C(), panel->Color(), 60)));
    EXPECT_EQ(At("Panel1", p.cx - 1, p.cy / 2), Rgb(NewColor(C(), panel->Color(), 60)));

    ui::TWinControl* group = form->Find<ui::TWinControl>("Group1");
    group->Repaint();
    ui::TCanvas& c = C();
    c.Font.Assign(group->Font());
    const int h = c.TextHeight("Group") / 2;
    EXPECT_EQ(At("Group1", 3, h + 1), Rgb(NewColor(C(), group->Color(), 60)));   // the top line
    EXPECT_EQ(At("Group1", 3, h - 2), Rgb(form->Color()));                       // the parent above it
    const SIZE g = Size("Group1");
    EXPECT_EQ(At("Group1", g.cx - 1, g.cy / 2), Rgb(GetShadeColor(C(), group->Color(), 60)));
}

TEST_F(ControlPaintTest, RepeatedPaintsKeepTheGdiCountFlat) {
    auto paintAll = [this] {
        for (const char* name : {"Edit1", "Combo1", "PanelCheck", "Radio1", "Button1", "Speed1"}) {
            Send(name, WM_MOUSEMOVE);
            Send(name, WM_PAINT);
            Send(name, WM_MOUSELEAVE);
        }
        form->Find<ui::TWinControl>("Panel1")->Repaint();
        form->Find<ui::TWinControl>("Group1")->Repaint();
        form->Find<ui::TWinControl>("ToolBar1")->Repaint();
        form->Find<ui::TWinControl>("ControlBar1")->Repaint();
        ui::TBitmap b;
        b.SetSize(150, 22);
        for (const char* item : {"OpenItem", "SaveItem", "Line1", "ExitItem", "FileMenu", "BarItem"}) {
            auto* it = form->Find<ui::TMenuItem>(item);
            it->OnDrawItem(it, &b.Canvas(), ui::TRect{0, 0, 150, 21}, true);
            it->OnDrawItem(it, &b.Canvas(), ui::TRect{0, 0, 150, 21}, false);
        }
        Pump();
    };
    ASSERT_TRUE(gdicount::Install());
    paintAll();  // fonts and caches made once
    const long objects = gdicount::objects, contexts = gdicount::contexts;
    for (int i = 0; i < 30; ++i) paintAll();
    EXPECT_EQ(gdicount::objects, objects);
    EXPECT_EQ(gdicount::contexts, contexts);
    // The counter itself sees what is made: a pen left alive shows.
    HPEN leaked = CreatePen(PS_SOLID, 1, 0);
    EXPECT_EQ(gdicount::objects, objects + 1);
    DeleteObject(leaked);
}

}  // namespace
