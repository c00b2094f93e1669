// Tool bar buttons and control bar bands painted by the component into memory bitmaps.
#include <gtest/gtest.h>

#include <memory>

#include "XPColors.h"
#include "XPTestForm.h"

namespace {

using namespace xpmenu;
using ui::TColor;

class BarsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<XPTestForm>(nullptr);
        xp = form->xp;
        bar = form->Find<ui::TToolBar>("ToolBar1");
        xp->SetActive(true);
        shot.SetSize(bar->Width(), bar->Height());
        Paint(0x00FF00FF);
    }
    void Paint(COLORREF rgb) {
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x) shot.SetPixel(x, y, rgb);
    }
    bool Draw(const char* button, ui::TCustomDrawState state) {
        return bar->DrawButton(form->Find<ui::TToolButton>(button), state, shot.Canvas());
    }
    ui::TRect Bounds(const char* button) { return form->Find<ui::TToolButton>(button)->BoundsRect(); }
    COLORREF Rgb(TColor c) { return ui::ColorToRGB(c); }
    COLORREF BarColour() { return Rgb(NewColor(shot.Canvas(), bar->Color(), 16)); }

    std::unique_ptr<XPTestForm> form;
    TXPMenu* xp = nullptr;
    ui::TToolBar* bar = nullptr;
    ui::TBitmap shot;
};

TEST_F(BarsTest, ButtonStatesChooseFillAndFrame) {
    const ui::TRect r = Bounds("FirstButton");
    ASSERT_GT(r.Width(), 20);
    const struct {
        ui::TCustomDrawState state;
        bool framed;
        TColor (*fill)(const TXPMenu&);
    } cases[] = {
        {ui::cdsHot, true, [](const TXPMenu& m) { return m.DrawSelectColor; }},
        {ui::cdsHot | ui::cdsSelected, true, [](const TXPMenu& m) { return m.CheckAreaSelectColor; }},
        {ui::cdsChecked, true, [](const TXPMenu& m) { return m.CheckAreaColor; }},
        {ui::cdsIndeterminate, false, [](const TXPMenu& m) { return m.DrawSelectColor; }},
    };
    for (const auto& c : cases) {
        Paint(0x00FF00FF);
        EXPECT_FALSE(Draw("FirstButton", c.state));  // the bar's own drawing is skipped
        EXPECT_EQ(shot.Pixel(r.Left, r.Top), BarColour()) << c.state;  // the row above the fill
        EXPECT_EQ(shot.Pixel(r.Left + 2, r.Top + 3), Rgb(c.fill(*xp))) << c.state;
        const COLORREF edge = shot.Pixel(r.Left, r.Top + 5);
        EXPECT_EQ(edge == Rgb(xp->DrawSelectBorderColor), c.framed) << c.state;
    }
    Paint(0x00FF00FF);
    Draw("FirstButton", 0);
    EXPECT_EQ(shot.Pixel(r.Left + 2, r.Top + 3), BarColour());
}

TEST_F(BarsTest, TransparentBarKeepsItsBackgroundUnlessAStateFills) {
    bar->Transparent = true;
    const ui::TRect r = Bounds("FirstButton");
    Draw("FirstButton", 0);
    EXPECT_EQ(shot.Pixel(r.Left + 2, r.Top + 3), 0x00FF00FFu);
    Draw("FirstButton", ui::cdsHot);
    EXPECT_EQ(shot.Pixel(r.Left + 2, r.Top + 3), Rgb(xp->DrawSelectColor));
}

TEST_F(BarsTest, FirstButtonLooksAtNoButtonBeforeIt) {
    // There is no button -1: drawing the first must not ask for one.
    EXPECT_NO_THROW(Draw("FirstButton", ui::cdsHot));
}

TEST_F(BarsTest, SeparatorBeforeAButtonGetsItsLineByTag) {
    auto* sep = form->Find<ui::TToolButton>("Sep1");
    const ui::TRect s = sep->BoundsRect();
    const int x = s.Left + s.Width() / 2;
    const COLORREF line = Rgb(GetShadeColor(shot.Canvas(), bar->Color(), 30));
    Draw("CheckButton", 0);
    EXPECT_EQ(shot.Pixel(x, s.Top + 2), line);
    EXPECT_EQ(shot.Pixel(x, s.Bottom - 2), line);
    EXPECT_EQ(shot.Pixel(x, s.Top + 1), BarColour());
    EXPECT_EQ(shot.Pixel(x - 1, s.Top + 5), BarColour());
    sep->Tag = 0;
    Paint(0x00FF00FF);
    Draw("CheckButton", 0);
    EXPECT_EQ(shot.Pixel(x, s.Top + 5), BarColour());
}

TEST_F(BarsTest, DisabledCaptionIsDrawnOnceInTheDisabledColour) {
    auto* button = form->Find<ui::TToolButton>("FirstButton");
    button->SetEnabled(false);
    Draw("FirstButton", ui::cdsDisabled);
    const ui::TRect r = Bounds("FirstButton");
    // No caption in the font's colour and no emboss: only the disabled colour on the bar.
    const COLORREF emboss = Rgb(GetShadeColor(shot.Canvas(), NewColor(shot.Canvas(), bar->Color(), 16), 30));
    int disabled = 0, font = 0, embossed = 0;
    for (int y = r.Top; y < r.Bottom; ++y) {
        for (int x = r.Left; x < r.Right; ++x) {
            const COLORREF p = shot.Pixel(x, y);
            disabled += p == Rgb(xp->DrawDisabledColor);
            font += p == Rgb(xp->Font().Color);
            embossed += p == emboss;
        }
    }
    EXPECT_GT(disabled, 0);
    EXPECT_EQ(font, 0);
    EXPECT_EQ(embossed, 0);
}

TEST_F(BarsTest, ToolBarPaintsThroughTheHandlerOnScreen) {
    form->Show();
    Pump();
    bar->Repaint();
    Pump();
    // The window shows the flat look: the first button's face in the bar colour, no 3-D edge.
    HDC dc = GetDC(bar->Handle());
    ui::TCanvas probe(dc);
    const ui::TRect r = Bounds("FirstButton");
    const COLORREF face = GetPixel(dc, r.Left + 2, r.Top + 3);
    probe.SetHandle(nullptr);
    ReleaseDC(bar->Handle(), dc);
    EXPECT_EQ(face, Rgb(NewColor(shot.Canvas(), bar->Color(), 16)));
}

TEST_F(BarsTest, ControlBarBandGetsAFlatFillAndDottedGrip) {
    auto* cbar = form->Find<ui::TControlBar>("ControlBar1");
    ui::TBitmap band;
    band.SetSize(40, 30);
    ui::TRect rect{0, 0, 40, 30};
    unsigned options = ui::bpoGrabber | ui::bpoFrame;
    cbar->OnBandPaint(cbar, nullptr, &band.Canvas(), rect, options);
    EXPECT_EQ(options, 0u);
    ui::TCanvas& c = band.Canvas();
    EXPECT_EQ(band.Pixel(20, 15), Rgb(NewColor(c, cbar->Color(), 6)));
    int shade = 30;
    for (int y = 6; y <= 25; y += 2) {  // every even row from 5 to 25
        for (int x = 3; x < 6; ++x) EXPECT_EQ(band.Pixel(x, y), Rgb(GetShadeColor(c, cbar->Color(), shade))) << y;
        EXPECT_EQ(band.Pixel(6, y), Rgb(NewColor(c, cbar->Color(), 6)));
        EXPECT_EQ(band.Pixel(4, y + 1), Rgb(NewColor(c, cbar->Color(), 6)));
        shade += 7;
    }
    EXPECT_EQ(band.Pixel(4, 4), Rgb(NewColor(c, cbar->Color(), 6)));
    EXPECT_EQ(band.Pixel(4, 26), Rgb(NewColor(c, cbar->Color(), 6)));

    // A band under 10 pixels high has no grip.
    band.SetSize(40, 9);
    ui::TRect low{0, 0, 40, 9};
    cbar->OnBandPaint(cbar, nullptr, &band.Canvas(), low, options);
    for (int y = 0; y < 9; ++y) EXPECT_EQ(band.Pixel(4, y), Rgb(NewColor(c, cbar->Color(), 6))) << y;
}

TEST_F(BarsTest, ControlBarWithoutTheComponentDrawsItsOwnGrip) {
    auto* cbar = form->Find<ui::TControlBar>("ControlBar1");
    xp->SetActive(false);
    ui::TBitmap whole;
    whole.SetSize(cbar->Width(), cbar->Height());
    cbar->PaintTo(whole.Canvas());
    const ui::TRect band = cbar->BandRect(form->Find<ui::TControl>("BandPanel"));
    EXPECT_EQ(whole.Pixel(band.Left, band.Top + 5), GetSysColor(COLOR_BTNHIGHLIGHT));
}

}  // namespace
