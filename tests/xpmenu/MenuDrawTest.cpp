// Menu items measured and drawn into memory bitmaps.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>

#include "XPColors.h"
#include "XPTestForm.h"

namespace {

using namespace xpmenu;
using ui::TColor;

constexpr int kWidth = 120, kHeight = 22;

class MenuDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<XPTestForm>(nullptr);
        xp = form->xp;
        xp->SetActive(true);
        shot.SetSize(kWidth, kHeight);
    }
    ui::TMenuItem* Item(const char* name) { return form->Find<ui::TMenuItem>(name); }
    // Draws as the menu does: the library hands the item rectangle without its last row.
    ui::TBitmap& Draw(ui::TMenuItem* item, bool selected) {
        shot.SetSize(kWidth, kHeight);
        xp->DrawItem(item, &shot.Canvas(), ui::TRect{0, 0, kWidth, kHeight - 1}, selected);
        return shot;
    }
    COLORREF Rgb(TColor c) { return ui::ColorToRGB(c); }
    int Count(COLORREF c) {
        int n = 0;
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x) n += shot.Pixel(x, y) == c;
        return n;
    }

    std::unique_ptr<XPTestForm> form;
    TXPMenu* xp = nullptr;
    ui::TBitmap shot;
};

TEST_F(MenuDrawTest, MeasuresSeparatorsCaptionsShortcutsAndBarItems) {
    ui::TCanvas& c = shot.Canvas();
    c.Font.Assign(xp->Font());
    const int amp = c.TextWidth("&");
    const int th = c.TextHeight("Save");
    const int textHeight = th + static_cast<int>(std::nearbyint(th * 0.75));
    const struct {
        const char* item;
        int inWidth, inHeight;
        int width, height;
    } cases[] = {
        {"Line1", 0, 30, 5 + 24, 4},  // a separator is 4 high whatever came in
        {"SaveItem", 0, 0, c.TextWidth("&Save") + 5 - amp + 24, std::max(textHeight, 6)},
        {"OpenItem", 0, 0, c.TextWidth("&Open...Ctrl+OWWW") + 5 - amp + 24, textHeight},
        {"SaveItem", 500, 90, 500, 90},  // only raised
        // Bar items: no icon column, 8 more on the NT family (Wine reports it).
        {"FileMenu", 0, 0, c.TextWidth("&File") + 5 - amp + 8, textHeight},
    };
    for (const auto& k : cases) {
        int w = k.inWidth, h = k.inHeight;
        xp->MeasureItem(Item(k.item), &c, w, h);
        EXPECT_EQ(w, k.width) << k.item;
        EXPECT_EQ(h, k.height) << k.item;
    }
    int w = 0, h = 0;
    xp->Font().Height = -40;
    xp->SetUseSystemColors(false);  // keep the big font
    xp->MeasureItem(Item("Line1"), &c, w, h);
    EXPECT_EQ(h, 4);
}

TEST_F(MenuDrawTest, MeasuringWaitsForActivation) {
    xp->SetActive(false);
    int w = 7, h = 8;
    xp->MeasureItem(Item("SaveItem"), &shot.Canvas(), w, h);
    EXPECT_EQ(w, 7);
    EXPECT_EQ(h, 8);
}

TEST_F(MenuDrawTest, PlainItemHasItsIconColumnAndSelectionFrame) {
    Draw(Item("OpenItem"), false);
    EXPECT_EQ(shot.Pixel(2, 2), Rgb(xp->DrawIconBackColor));
    EXPECT_EQ(shot.Pixel(kWidth - 2, 2), Rgb(xp->DrawColor));
    Draw(Item("OpenItem"), true);
    EXPECT_EQ(shot.Pixel(0, 0), Rgb(xp->DrawIconBackColor));  // the selection leaves the first row
    EXPECT_EQ(shot.Pixel(5, 1), Rgb(xp->DrawSelectBorderColor));
    EXPECT_EQ(shot.Pixel(0, 10), Rgb(xp->DrawSelectBorderColor));
    EXPECT_EQ(shot.Pixel(2, 3), Rgb(xp->DrawSelectColor));
    EXPECT_EQ(shot.Pixel(kWidth - 2, 3), Rgb(xp->DrawSelectColor));
    // A disabled item shows no selection.
    Draw(Item("ExitItem"), true);
    EXPECT_EQ(Count(Rgb(xp->DrawSelectColor)), 0);
}

TEST_F(MenuDrawTest, CheckedItemWithoutGlyphGetsABoxAndStrokes) {
    Draw(Item("SaveItem"), false);
    // 10 x 10 box centred in the icon column of the 22-pixel-high item.
    const int L = (24 - 10) / 2, T = (22 - 10) / 2, B = T + 10;
    EXPECT_EQ(shot.Pixel(L, T), Rgb(xp->DrawCheckedColor));
    EXPECT_EQ(shot.Pixel(L + 9, T + 9), Rgb(xp->DrawCheckedColor));
    EXPECT_EQ(shot.Pixel(L + 5, T + 1), Rgb(xp->CheckAreaColor));
    for (POINT p : {POINT{L + 1, T + 5}, POINT{L + 2, T + 5}, POINT{L + 2, T + 4}, POINT{L + 4, B - 3},
                    POINT{L + 4, B - 2}}) {
        EXPECT_EQ(shot.Pixel(p.x, p.y), RGB(0, 0, 0)) << p.x << "," << p.y;
    }
    Draw(Item("SaveItem"), true);
    EXPECT_EQ(shot.Pixel(L + 8, T + 1), Rgb(xp->CheckAreaSelectColor));
}

TEST_F(MenuDrawTest, SeparatorIsOneLineInTheMiddle) {
    Draw(Item("Line1"), false);
    const int y = 11;  // round(22 / 2)
    EXPECT_EQ(shot.Pixel(24 + 7, y), Rgb(xp->DrawSeparatorColor));
    EXPECT_EQ(shot.Pixel(kWidth - 1, y), Rgb(xp->DrawSeparatorColor));
    EXPECT_EQ(shot.Pixel(24 + 6, y), Rgb(xp->DrawColor));
    EXPECT_EQ(shot.Pixel(40, y - 1), Rgb(xp->DrawColor));
}

TEST_F(MenuDrawTest, GradientColumnsLightenFasterOverTheIconColumn) {
    xp->Gradient = true;
    Draw(Item("OpenItem"), false);
    ui::TCanvas& c = shot.Canvas();
    const TColor back = xp->DrawIconBackColor;
    const struct {
        int x, percent;
    } columns[] = {{0, 1}, {1, 4}, {2, 7}, {28, 1 + 3 * 28}, {29, 86}, {30, 87}, {39, 96}, {40, 96}, {kWidth - 1, 96}};
    for (const auto& col : columns) {
        EXPECT_EQ(shot.Pixel(col.x, 21), Rgb(NewColor(c, back, col.percent))) << col.x;
    }
}

TEST_F(MenuDrawTest, SelectedBarItemHasAShadowStrip) {
    Draw(Item("FileMenu"), true);
    ui::TCanvas& c = shot.Canvas();
    const TColor base = xp->DrawMenuBarColor;
    const int R = kWidth, B = kHeight;
    EXPECT_EQ(shot.Pixel(R - 8, 5), Rgb(xp->DrawSelectBorderColor));
    EXPECT_EQ(shot.Pixel(R - 9, 5), Rgb(xp->DrawSelectColor));
    const struct {
        int x, shade;
    } strip[] = {{R - 1, 10}, {R - 3, 30}, {R - 4, 60}, {R - 6, 100}, {R - 7, 100}};
    for (const auto& s : strip) {
        EXPECT_EQ(shot.Pixel(s.x, B - 1), Rgb(GetShadeColor(c, base, s.shade))) << s.x;
    }
    EXPECT_EQ(shot.Pixel(R - 1, 2), Rgb(base));  // the strip's light edge
    Draw(Item("FileMenu"), false);
    EXPECT_EQ(Count(Rgb(xp->DrawSelectColor)), 0);
    EXPECT_EQ(shot.Pixel(R - 1, B - 1), Rgb(xp->DrawMenuBarColor));
}

TEST_F(MenuDrawTest, DefaultItemIsEmbossed) {
    ui::TCanvas& c = shot.Canvas();
    auto* item = Item("BarItem");
    Draw(item, false);
    const COLORREF emboss = Rgb(GetShadeColor(c, xp->DrawColor, 30));
    EXPECT_GT(Count(emboss), 0);
    item->Default = false;
    Draw(item, false);
    EXPECT_EQ(Count(emboss), 0);
}

TEST_F(MenuDrawTest, GlyphIsDimmedOnACopyAndDoesNotFadeOverRepaints) {
    auto* item = Item("OpenItem");
    item->Bitmap.SetSize(16, 16);
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x) item->Bitmap.SetPixel(x, y, RGB(200, 0, 0));
    std::set<COLORREF> seen;
    for (int i = 0; i < 3; ++i) {
        Draw(item, false);
        EXPECT_EQ(item->Bitmap.Pixel(8, 8), RGB(200, 0, 0));
        // The glyph sits at x = (24 - 16) / 2 - 1 = 3, y = 3.
        seen.insert(shot.Pixel(3 + 8, 3 + 8));
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(*seen.begin(), Rgb(NewColor(shot.Canvas(), RGB(200, 0, 0), xp->DimLevel)));
    // Selected (hot): undimmed, moved up-left by one, with a shadow.
    Draw(item, true);
    EXPECT_EQ(shot.Pixel(2 + 4, 2 + 4), RGB(200, 0, 0));
    EXPECT_EQ(shot.Pixel(4 + 11, 4 + 11), Rgb(GetShadeColor(shot.Canvas(), xp->DrawSelectColor, 50)));
    // Disabled: grey, and still the bitmap is untouched.
    item->SetEnabled(false);
    Draw(item, false);
    const TColor grey = GrayColor(shot.Canvas(), RGB(200, 0, 0), xp->GrayLevel);
    EXPECT_EQ(shot.Pixel(3 + 8, 3 + 8), Rgb(NewColor(shot.Canvas(), grey, 40)));
    EXPECT_EQ(item->Bitmap.Pixel(8, 8), RGB(200, 0, 0));
}

TEST_F(MenuDrawTest, ShortcutIsDrawnAtTheRight) {
    Draw(Item("OpenItem"), false);
    int right = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = kWidth - 40; x < kWidth - 10; ++x) right += shot.Pixel(x, y) != Rgb(xp->DrawColor);
    EXPECT_GT(right, 0);
}

TEST_F(MenuDrawTest, InactiveComponentDrawsNothing) {
    xp->SetActive(false);
    shot.SetSize(kWidth, kHeight);
    xp->DrawItem(Item("OpenItem"), &shot.Canvas(), ui::TRect{0, 0, kWidth, kHeight - 1}, true);
    EXPECT_EQ(Count(RGB(255, 255, 255)), kWidth * kHeight);
}

}  // namespace
