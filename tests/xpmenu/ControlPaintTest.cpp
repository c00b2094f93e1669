// Hooked standard controls painted flat on a live form: normal, hot, focused, pressed and
// disabled, read back from the windows.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

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
    // Held down, a button that does not latch keeps the hot face and is shaded as pressed.
    Send("Speed1", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(At("Speed1", 3, s.cy / 2), Rgb(xp->DrawSelectColor));
    EXPECT_EQ(At("Speed1", s.cx / 2, 0), Rgb(GetShadeColor(C(), xp->DrawSelectBorderColor, 50)));
    Send("Speed1", WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_FALSE(form->Find<ui::TSpeedButton>("Speed1")->Down());

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

constexpr COLORREF kBlack = RGB(0, 0, 0), kBlue = RGB(0, 0, 255);

TEST_F(ControlPaintTest, SpeedButtonAtRestLatchedAndPressed) {
    auto* button = form->Find<ui::TSpeedButton>("Speed1");
    const SIZE s = Size("Speed1");
    // At rest a button that is not flat shows its frame on the top and left, shading on the right.
    Send("Speed1", WM_PAINT);
    EXPECT_EQ(At("Speed1", 0, s.cy / 2), Rgb(NewColor(C(), ui::clBtnShadow, 30)));
    EXPECT_EQ(At("Speed1", s.cx / 2, 0), Rgb(NewColor(C(), ui::clBtnShadow, 30)));
    EXPECT_EQ(At("Speed1", s.cx - 1, s.cy / 2), Rgb(GetShadeColor(C(), ui::clBtnShadow, 50)));
    EXPECT_EQ(At("Speed1", 3, s.cy / 2), Rgb(xp->DrawIconBackColor));

    // A click latches a button of a group: it is drawn down, hot and then at rest.
    button->GroupIndex = 1;
    Send("Speed1", WM_MOUSEMOVE);
    Send("Speed1", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    Send("Speed1", WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    ASSERT_TRUE(button->Down());
    const TColor downBorder = xp->DrawSelectBorderColor;
    EXPECT_EQ(At("Speed1", 3, s.cy / 2), Rgb(xp->CheckAreaSelectColor));
    EXPECT_EQ(At("Speed1", s.cx / 2, 0), Rgb(GetShadeColor(C(), downBorder, 50)));  // shaded as pressed
    EXPECT_EQ(At("Speed1", 0, s.cy / 2), Rgb(GetShadeColor(C(), downBorder, 50)));
    Send("Speed1", WM_MOUSELEAVE);
    EXPECT_EQ(At("Speed1", 3, s.cy / 2), Rgb(xp->CheckAreaColor));
    EXPECT_EQ(At("Speed1", s.cx - 1, s.cy / 2), Rgb(NewColor(C(), downBorder, 30)));
    EXPECT_EQ(At("Speed1", s.cx / 2, 0), Rgb(GetShadeColor(C(), downBorder, 50)));

    // Flat, at rest and not down: no frame, the face all over.
    button->GroupIndex = 0;
    button->SetDown(false);
    button->Flat = true;
    Send("Speed1", WM_PAINT);
    EXPECT_EQ(At("Speed1", 0, s.cy / 2), Rgb(xp->DrawIconBackColor));
    EXPECT_EQ(At("Speed1", s.cx - 1, s.cy / 2), Rgb(xp->DrawIconBackColor));
}

// A transparent button shows its parent behind it: flat and neither hot nor down it draws no frame
// at all; hot, its frame is drawn and what shows through takes on a tint of the selection colour.
TEST_F(ControlPaintTest, TransparentSpeedButtonShowsItsParentThrough) {
    auto* button = form->Find<ui::TSpeedButton>("Speed1");
    const TColor behind = RGB(0x40, 0x80, 0xC0);
    form->SetColor(behind);
    button->Transparent = true;
    const SIZE s = Size("Speed1");
    HDC screen = GetDC(nullptr);
    const int tintPercent = GetDeviceCaps(screen, BITSPIXEL) <= 16 ? 40 : 20;
    ReleaseDC(nullptr, screen);
    const COLORREF tinted = Rgb(behind) & Rgb(NewColor(C(), xp->DrawSelectColor, tintPercent));
    const COLORREF restFrame = Rgb(NewColor(C(), ui::clBtnShadow, 30));
    const COLORREF hotFrame = Rgb(NewColor(C(), xp->DrawSelectBorderColor, 30));
    const COLORREF restShade = Rgb(GetShadeColor(C(), ui::clBtnShadow, 50));
    const COLORREF hotShade = Rgb(GetShadeColor(C(), xp->DrawSelectBorderColor, 50));
    struct Case {
        const char* what;
        bool flat, hot;
        COLORREF left, bottom, inside;  // the frame's left and bottom edges (the shading), the face
    } cases[] = {
        {"flat at rest: no frame", true, false, Rgb(behind), Rgb(behind), Rgb(behind)},
        {"flat and hot", true, true, hotFrame, hotFrame, tinted},
        {"raised at rest", false, false, restFrame, restShade, Rgb(behind)},
        {"raised and hot", false, true, hotFrame, hotShade, tinted},
    };
    for (const auto& c : cases) {
        button->Flat = c.flat;
        if (c.hot) Send("Speed1", WM_MOUSEMOVE);
        button->Repaint();
        EXPECT_EQ(At("Speed1", 0, s.cy / 2), c.left) << c.what;
        EXPECT_EQ(At("Speed1", s.cx / 2, s.cy - 1), c.bottom) << c.what;
        EXPECT_EQ(At("Speed1", 4, s.cy / 2), c.inside) << c.what;
        Send("Speed1", WM_MOUSELEAVE);
    }
}

TEST_F(ControlPaintTest, SpeedButtonShowsItsGlyphCellBesideItsCaption) {
    auto* button = form->Find<ui::TSpeedButton>("Speed1");
    button->SetBounds(8, 210, 70, 30);
    MakeGlyph(button->Glyph, {kBlack, kBlue});
    button->NumGlyphs = 2;
    button->SetCaption("Go");
    Pump();
    Send("Speed1", WM_PAINT);
    ui::TCanvas& c = C();
    c.Font.Assign(button->Font());
    const int tw = c.TextWidth("Go");
    // Glyph left of the caption, the pair centred, the glyph one row higher than centred; it is
    // drawn one row below its rectangle's top.
    const int gx = (70 - 8 - 4 - tw) / 2, gy = (30 - 8) / 2 - 1 + 1;
    EXPECT_EQ(At("Speed1", gx + 3, gy + 3), Rgb(NewColor(C(), kBlack, xp->DimLevel)));  // the first cell, dimmed at rest
    EXPECT_EQ(At("Speed1", gx + 9, gy + 3), Rgb(xp->DrawIconBackColor));                 // the second cell is not shown
    const COLORREF ink = Rgb(button->Font().Color);
    int before = 0, caption = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 1; x < 69; ++x) {
            const COLORREF p = At("Speed1", x, y);
            if (p != ink) continue;
            (x < gx + 12 ? before : caption)++;
        }
    }
    EXPECT_EQ(before, 0);
    EXPECT_GT(caption, 0);
    // Disabled: the second cell, greyed.
    button->SetEnabled(false);
    Send("Speed1", WM_PAINT);
    EXPECT_EQ(At("Speed1", gx + 3, gy + 3), Rgb(NewColor(C(), GrayColor(C(), kBlue, xp->GrayLevel), 40)));
    button->SetEnabled(true);
}

// The class library's notifications: a change of the parent's colour repaints the flat look, an
// invalidation marks the control as being rebuilt until it paints, and leaving it ends hot.
TEST_F(ControlPaintTest, ParentColourInvalidationAndExitReachTheHook) {
    const SIZE s = Size("Speed1");
    Send("Speed1", WM_PAINT);
    HWND speed = Window("Speed1");
    HDC dc = GetWindowDC(speed);
    RECT all{0, 0, s.cx, s.cy};
    ui::GdiHandle<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
    FillRect(dc, &all, red.Get());
    ReleaseDC(speed, dc);
    ASSERT_EQ(At("Speed1", 3, s.cy / 2), RGB(255, 0, 0));
    form->SetColor(ui::TColor(0x00C0C0));
    EXPECT_EQ(At("Speed1", 3, s.cy / 2), Rgb(xp->DrawIconBackColor));

    TControlSubClass* hook = Hook("Speed1");
    Pump();
    ASSERT_FALSE(hook->Building());
    form->Find<ui::TWinControl>("Speed1")->Invalidate();
    EXPECT_TRUE(hook->Building());
    Pump();
    EXPECT_FALSE(hook->Building());

    Send("Speed1", WM_MOUSEMOVE);
    ASSERT_TRUE(hook->Hot());
    Send("Speed1", ui::CM_EXIT);
    EXPECT_FALSE(hook->Hot());
    EXPECT_EQ(At("Speed1", 3, s.cy / 2), Rgb(xp->DrawIconBackColor));
}

// Focus moving from one control of the form to another tells the first it was left; focus
// going to another window does not.
TEST_F(ControlPaintTest, FocusLeavingForAnotherControlOfTheFormIsAnExit) {
    struct Spy {
        static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
            if (m == ui::CM_EXIT) ++*reinterpret_cast<int*>(data);
            return DefSubclassProc(w, m, wp, lp);
        }
    };
    int exits = 0;
    HWND edit = Window("Edit1");
    ASSERT_TRUE(SetWindowSubclass(edit, Spy::Proc, 77, reinterpret_cast<DWORD_PTR>(&exits)));
    form->Find<ui::TEdit>("Edit1")->SetFocus();
    form->Find<ui::TButton>("Button1")->SetFocus();
    EXPECT_EQ(exits, 1);
    form->Find<ui::TEdit>("Edit1")->SetFocus();
    ui::TForm other(nullptr);
    other.Show();
    other.SetFocus();
    Pump();
    EXPECT_EQ(exits, 1);
    other.Hide();
    RemoveWindowSubclass(edit, Spy::Proc, 77);
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
