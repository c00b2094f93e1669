// The bitmap button and the up-down control: as the class library shows them and as a click
// posted to their windows works them, then hooked by the XP look: the bitmap button painted flat
// with its glyph where its layout puts it, the up-down control left as the system draws it.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ControlSubClass.h"
#include "UpDown.h"
#include "XPColors.h"
#include "XPTestForm.h"

namespace {

using namespace xpmenu;
using ui::TButtonLayout;
using ui::TColor;

constexpr COLORREF kBlack = RGB(0, 0, 0), kBlue = RGB(0, 0, 255);

COLORREF At(HWND w, int x, int y) {
    HDC dc = GetWindowDC(w);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return c;
}

class BitBtnUpDownTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<XPTestForm>(nullptr);
        xp = form->xp;
        bit = new ui::TBitBtn(form.get());
        bit->SetParent(form.get());
        bit->SetBounds(220, 240, 90, 40);
        bit->SetCaption("Fetch");
        MakeGlyph(bit->Glyph, {kBlack, kBlue});
        bit->NumGlyphs = 2;
        bit->OnClick = [this](ui::TComponent*) { ++bitClicks; };
        upDown = new ui::TUpDown(form.get());
        upDown->SetParent(form.get());
        upDown->SetBounds(320, 240, 17, 30);
        upDown->SetRange(0, 10);
        upDown->OnClick = [this](ui::TComponent*) { ++upDownClicks; };
        form->Show();
        SetCursorPos(0, 0);  // away from the form
        Pump();
        colours.SetSize(1, 1);
    }
    void Click(ui::TWinControl* control, int x, int y) {
        // The mouse comes to the point first: the up-down control finds its arrow by the last move.
        PostMessageA(control->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        PostMessageA(control->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        PostMessageA(control->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        Pump();
    }
    ui::TCanvas& C() { return colours.Canvas(); }
    COLORREF Rgb(TColor c) { return ui::ColorToRGB(c); }

    std::unique_ptr<XPTestForm> form;
    TXPMenu* xp = nullptr;
    ui::TBitBtn* bit = nullptr;
    ui::TUpDown* upDown = nullptr;
    int bitClicks = 0, upDownClicks = 0;
    ui::TBitmap colours;
};

TEST_F(BitBtnUpDownTest, BitmapButtonShowsItsGlyphCellAndClicks) {
    RedrawWindow(bit->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ui::TCanvas& c = C();
    c.Font.Assign(bit->Font());
    const int tw = c.TextWidth("Fetch");
    const int gx = (90 - 8 - 4 - tw) / 2, gy = (40 - 8) / 2;
    EXPECT_EQ(At(bit->Handle(), gx + 3, gy + 3), kBlack);                      // the first cell
    EXPECT_EQ(At(bit->Handle(), gx + 9, gy + 3), Rgb(ui::clBtnFace));          // not the second
    EXPECT_EQ(At(bit->Handle(), gx - 3, gy + 3), Rgb(ui::clBtnFace));
    bit->SetEnabled(false);
    RedrawWindow(bit->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(At(bit->Handle(), gx + 3, gy + 3), kBlue);  // disabled: the second cell
    bit->SetEnabled(true);

    Click(bit, 10, 10);
    EXPECT_EQ(bitClicks, 1);
    Click(bit, 200, 10);  // let go outside
    EXPECT_EQ(bitClicks, 1);
}

TEST_F(BitBtnUpDownTest, UpDownStepsItsPositionOnAClick) {
    EXPECT_EQ(upDown->Position(), 0);
    Click(upDown, 8, 5);  // the upper arrow
    EXPECT_EQ(upDown->Position(), 1);
    EXPECT_EQ(upDownClicks, 1);
    Click(upDown, 8, 25);  // the lower arrow
    EXPECT_EQ(upDown->Position(), 0);
    EXPECT_EQ(upDownClicks, 2);
    Click(upDown, 8, 25);  // at the minimum already
    EXPECT_EQ(upDown->Position(), 0);
}

TEST_F(BitBtnUpDownTest, HookedByTheirOwnKindsOnly) {
    xp->SetActive(true);
    EXPECT_NE(xp->HookOf(bit), nullptr);
    EXPECT_NE(xp->HookOf(upDown), nullptr);
    // A bitmap button is a push button to the class library, yet only its own kind hooks it.
    xp->SetXPControls(kAllControls & ~Member(xcBitBtn));
    EXPECT_EQ(xp->HookOf(bit), nullptr);
    EXPECT_NE(xp->HookOf(form->Find<ui::TControl>("Button1")), nullptr);
    EXPECT_NE(xp->HookOf(upDown), nullptr);
    xp->SetXPControls(kAllControls & ~Member(xcButton));
    EXPECT_NE(xp->HookOf(bit), nullptr);
    EXPECT_EQ(xp->HookOf(upDown), nullptr);
}

TEST_F(BitBtnUpDownTest, HookedBitmapButtonIsFlatWithItsGlyphWhereTheLayoutPutsIt) {
    xp->SetActive(true);
    Pump();
    xp->SetGlobalColor(C());
    ui::TCanvas& c = C();
    c.Font.Assign(bit->Font());
    const int tw = c.TextWidth("Fetch"), th = c.TextHeight("Fetch");
    const int W = 90, H = 40, g = 8, sp = 4;
    struct Case {
        TButtonLayout layout;
        int gx, gy;  // the glyph's top-left corner
    } cases[] = {
        {TButtonLayout::GlyphLeft, (W - g - sp - tw) / 2, (H - g) / 2},
        {TButtonLayout::GlyphRight, (g + sp + tw + W) / 2 - g, (H - g) / 2},
        {TButtonLayout::GlyphTop, (W - g) / 2, (H - th - g - sp) / 2},
        {TButtonLayout::GlyphBottom, (W - g) / 2, (th + g + sp + H) / 2 - g},
    };
    const COLORREF glyph = Rgb(NewColor(C(), kBlack, xp->DimLevel));  // dimmed at rest
    for (const Case& k : cases) {
        bit->Layout = k.layout;
        SendMessageA(bit->Handle(), WM_PAINT, 0, 0);
        // The glyph is drawn one row below its rectangle's top.
        EXPECT_EQ(At(bit->Handle(), k.gx + 3, k.gy + 1 + 3), glyph) << int(k.layout);
        EXPECT_EQ(At(bit->Handle(), 4, 4), Rgb(xp->DrawIconBackColor)) << int(k.layout);  // the flat face
        EXPECT_EQ(At(bit->Handle(), W - 1, H / 2), Rgb(GetShadeColor(C(), ui::clBtnShadow, 50))) << int(k.layout);
        // The caption's ink lies away from the glyph.
        const COLORREF ink = Rgb(bit->Font().Color);
        int inked = 0;
        for (int y = 2; y < H - 2; ++y)
            for (int x = 2; x < W - 2; ++x) inked += At(bit->Handle(), x, y) == ink;
        EXPECT_GT(inked, 0) << int(k.layout);
    }
}

TEST_F(BitBtnUpDownTest, HookedUpDownKeepsTheSystemsLook) {
    auto shot = [this] {
        RECT r;
        GetWindowRect(upDown->Handle(), &r);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < r.bottom - r.top; ++y)
            for (int x = 0; x < r.right - r.left; ++x) pixels.push_back(At(upDown->Handle(), x, y));
        return pixels;
    };
    RedrawWindow(upDown->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const std::vector<COLORREF> plain = shot();
    xp->SetActive(true);
    ASSERT_NE(xp->HookOf(upDown), nullptr);
    SendMessageA(upDown->Handle(), WM_PAINT, 0, 0);
    EXPECT_EQ(shot(), plain);
}

}  // namespace
