// The colour arithmetic, the bitmap helpers and the drawing colours at 8 and 32 bits per pixel.
#include <gtest/gtest.h>

#include <memory>

#include "XPColors.h"
#include "Xpmenu.h"

namespace {

using namespace xpmenu;
using ui::TColor;

constexpr TColor Rgb(int r, int g, int b) { return static_cast<TColor>(RGB(r, g, b)); }

// A canvas over an 8-bit palette bitmap, as on a 256-colour screen.
class PaletteCanvas {
public:
    PaletteCanvas() {
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colours[256];
        } info{};
        info.header.biSize = sizeof(info.header);
        info.header.biWidth = 8;
        info.header.biHeight = 8;
        info.header.biPlanes = 1;
        info.header.biBitCount = 8;
        for (int i = 0; i < 256; ++i) {
            // A 6 x 6 x 6 cube: many colours land on a neighbour.
            const int r = (i % 6) * 51, g = (i / 6 % 6) * 51, b = (i / 36 % 6) * 51;
            info.colours[i] = RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0};
        }
        void* bits = nullptr;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        canvas.SetHandle(dc_);
    }
    ~PaletteCanvas() {
        canvas.SetHandle(nullptr);
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    ui::TCanvas canvas;

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

TEST(XPColorsTest, ShadeColorMovesEachChannelAndClamps) {
    ui::TBitmap b;
    b.SetSize(1, 1);
    const struct {
        TColor in;
        int amount;
        TColor out;
    } cases[] = {
        {ui::clWhite, 10, Rgb(245, 247, 245)},
        {ui::clBlack, 10, Rgb(0, 0, 0)},        // G = -8 clamps to 0
        {Rgb(100, 100, 100), -40, Rgb(140, 142, 140)},
        {Rgb(250, 254, 250), -40, Rgb(255, 255, 255)},
        {Rgb(10, 1, 200), 30, Rgb(0, 0, 170)},  // G = 1 - 30 + 2 clamps
        {Rgb(12, 34, 56), 0, Rgb(12, 36, 56)},  // the green channel always gets +2
    };
    for (const auto& c : cases) EXPECT_EQ(GetShadeColor(b.Canvas(), c.in, c.amount), c.out) << std::hex << c.in;
}

TEST(XPColorsTest, NewColorRoundsHalvesToEvenAndCapsAtWhite) {
    ui::TBitmap b;
    b.SetSize(1, 1);
    const struct {
        TColor in;
        int percent;
        TColor out;
    } cases[] = {
        // (255 - 205) * 1 / 100 = 0.5 -> 0 (even); (255 - 105) * 1 / 100 = 1.5 -> 2 (even)
        {Rgb(205, 105, 55), 1, Rgb(205, 107, 57)},  // 55: 200 * 1 / 100 = 2 exactly
        // (255 - 5) * 50 / 100 = 125 exactly; (255 - 254) * 50 / 100 = 0.5 -> 0
        {Rgb(5, 254, 0), 50, Rgb(130, 254, 128)},   // 0: 127.5 -> 128 (even)
        {Rgb(1, 0, 3), 50, Rgb(128, 128, 129)},     // 127 exactly; 127.5 -> 128; 126 exactly
        {Rgb(0, 0, 0), 68, Rgb(173, 173, 173)},     // 173.4 -> 173
        {Rgb(12, 200, 99), 100, Rgb(255, 255, 255)},
        {Rgb(12, 200, 99), 150, Rgb(255, 255, 255)},  // capped at 100
        {Rgb(12, 200, 99), 0, Rgb(12, 200, 99)},
    };
    for (const auto& c : cases) EXPECT_EQ(NewColor(b.Canvas(), c.in, c.percent), c.out) << std::hex << c.in;
}

TEST(XPColorsTest, NewColorAnswersTheDevicesNearestColour) {
    PaletteCanvas palette;
    const TColor mixed = NewColor(palette.canvas, Rgb(0, 0, 0), 68);  // 173, 173, 173 before the device
    EXPECT_EQ(static_cast<COLORREF>(mixed), GetNearestColor(palette.canvas.Handle(), RGB(173, 173, 173)));
    EXPECT_NE(mixed, Rgb(173, 173, 173));
    EXPECT_EQ(NewColor(palette.canvas, Rgb(1, 2, 3), 150), NewColor(palette.canvas, Rgb(1, 2, 3), 100));
}

TEST(XPColorsTest, GrayColorIsTheMeanPlusLevelUpTo240) {
    ui::TBitmap b;
    b.SetSize(1, 1);
    const struct {
        TColor in;
        int level;
        int grey;
    } cases[] = {{Rgb(30, 60, 90), 10, 70}, {Rgb(1, 1, 2), 0, 1}, {Rgb(250, 250, 250), 10, 240},
                 {Rgb(230, 230, 230), 10, 240}, {Rgb(229, 229, 230), 10, 239}};
    for (const auto& c : cases) EXPECT_EQ(GrayColor(b.Canvas(), c.in, c.level), Rgb(c.grey, c.grey, c.grey));
}

TEST(XPColorsTest, SystemColoursAreResolvedBeforeTheArithmetic) {
    ui::TBitmap b;
    b.SetSize(1, 1);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const TColor shaded = GetShadeColor(b.Canvas(), ui::clBtnFace, 10);
    EXPECT_EQ(shaded, Rgb(std::max(0, GetRValue(face) - 10), std::max(0, GetGValue(face) - 8),
                          std::max(0, GetBValue(face) - 10)));
    EXPECT_EQ(NewColor(b.Canvas(), ui::clBtnFace, 0), static_cast<TColor>(face));
    EXPECT_EQ(GrayColor(b.Canvas(), ui::clHighlight, 0) & 0x80000000, 0);
}

TEST(XPColorsTest, BitmapHelpersConvertEveryPixel) {
    ui::TBitmap b;
    b.SetSize(3, 2);
    b.SetPixel(0, 0, RGB(30, 60, 90));
    b.SetPixel(1, 0, RGB(30, 60, 90));
    b.SetPixel(2, 0, RGB(0, 0, 0));
    GrayBitmap(b, 10);
    EXPECT_EQ(b.Pixel(0, 0), RGB(70, 70, 70));
    EXPECT_EQ(b.Pixel(1, 0), RGB(70, 70, 70));
    EXPECT_EQ(b.Pixel(2, 0), RGB(10, 10, 10));
    EXPECT_EQ(b.Pixel(0, 1), RGB(240, 240, 240));  // white was 255 + 10
    DimBitmap(b, 50);
    EXPECT_EQ(b.Pixel(2, 0), RGB(132, 132, 132));  // 10 + round(122.5) = 10 + 122
}

TEST(XPColorsTest, ShadowMarksEveryPixelUnlikeTheBottomLeftOne) {
    ui::TBitmap glyph;
    glyph.SetSize(3, 3);  // white background
    glyph.SetPixel(1, 0, RGB(0, 0, 0));
    glyph.SetPixel(2, 2, RGB(9, 9, 9));
    ui::TBitmap target;
    target.SetSize(10, 10);
    DrawBitmapShadow(glyph, target.Canvas(), 4, 5, Rgb(1, 2, 3));
    int marked = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) marked += target.Pixel(x, y) == RGB(1, 2, 3);
    EXPECT_EQ(marked, 2);
    EXPECT_EQ(target.Pixel(5, 5), RGB(1, 2, 3));
    EXPECT_EQ(target.Pixel(6, 7), RGB(1, 2, 3));
}

struct DrawingColours {
    TColor draw, iconBack, select, selectBorder, menuBar, disabled, separator, checked, checkArea, checkAreaSelect;
};

DrawingColours Read(const TXPMenu& m) {
    return {m.DrawColor, m.DrawIconBackColor, m.DrawSelectColor, m.DrawSelectBorderColor, m.DrawMenuBarColor,
            m.DrawDisabledColor, m.DrawSeparatorColor, m.DrawCheckedColor, m.CheckAreaColor, m.CheckAreaSelectColor};
}

void ExpectEqual(const DrawingColours& a, const DrawingColours& b) {
    EXPECT_EQ(a.draw, b.draw);
    EXPECT_EQ(a.iconBack, b.iconBack);
    EXPECT_EQ(a.select, b.select);
    EXPECT_EQ(a.selectBorder, b.selectBorder);
    EXPECT_EQ(a.menuBar, b.menuBar);
    EXPECT_EQ(a.disabled, b.disabled);
    EXPECT_EQ(a.separator, b.separator);
    EXPECT_EQ(a.checked, b.checked);
    EXPECT_EQ(a.checkArea, b.checkArea);
    EXPECT_EQ(a.checkAreaSelect, b.checkAreaSelect);
}

TEST(XPColorsTest, DrawingColoursAt32BitsFollowTheProperties) {
    TXPMenu menu(nullptr);
    menu.SetUseSystemColors(false);
    menu.Color = Rgb(1, 2, 3);
    menu.IconBackColor = Rgb(4, 5, 6);
    menu.SelectColor = Rgb(0, 0, 100);
    menu.SelectBorderColor = Rgb(7, 8, 9);
    menu.SetMenuBarColor(Rgb(10, 11, 12));
    menu.DisabledColor = Rgb(13, 14, 15);
    menu.SeparatorColor = Rgb(16, 17, 18);
    menu.CheckedColor = Rgb(19, 20, 21);
    ui::TBitmap b;
    b.SetSize(1, 1);
    menu.SetGlobalColor(b.Canvas());
    EXPECT_TRUE(menu.HighColor);
    ExpectEqual(Read(menu), {Rgb(1, 2, 3), Rgb(4, 5, 6), NewColor(b.Canvas(), Rgb(0, 0, 100), 68), Rgb(7, 8, 9),
                             Rgb(10, 11, 12), Rgb(13, 14, 15), Rgb(16, 17, 18), Rgb(19, 20, 21),
                             NewColor(b.Canvas(), Rgb(0, 0, 100), 80), NewColor(b.Canvas(), Rgb(0, 0, 100), 50)});
    EXPECT_EQ(menu.PopupBorderColor, GetShadeColor(b.Canvas(), ui::clBtnFace, 90));
    EXPECT_EQ(menu.PopupShadowColor, GetShadeColor(b.Canvas(), ui::clBtnFace, 76));
}

TEST(XPColorsTest, DrawingColoursAt8BitsUsePlainColours) {
    TXPMenu menu(nullptr);
    menu.SetUseSystemColors(false);
    menu.SelectColor = Rgb(0, 0, 100);
    PaletteCanvas palette;
    menu.SetGlobalColor(palette.canvas);
    EXPECT_FALSE(menu.HighColor);
    EXPECT_EQ(menu.DrawSelectColor, Rgb(0, 0, 100));
    EXPECT_EQ(menu.CheckAreaColor, ui::clWhite);
    EXPECT_EQ(menu.CheckAreaSelectColor, ui::clSilver);
    EXPECT_EQ(menu.PopupBorderColor, ui::clBtnShadow);
    EXPECT_EQ(menu.PopupShadowColor, ui::clBtnShadow);
}

TEST(XPColorsTest, SystemColoursReplaceThePropertiesAtEitherDepth) {
    TXPMenu menu(nullptr);  // UseSystemColors is on by default
    menu.Color = Rgb(1, 2, 3);
    ui::TBitmap b;
    b.SetSize(1, 1);
    menu.SetGlobalColor(b.Canvas());
    ui::TCanvas& c = b.Canvas();
    ExpectEqual(Read(menu), {NewColor(c, ui::clBtnFace, 86), NewColor(c, ui::clBtnFace, 16),
                             NewColor(c, ui::clHighlight, 68), ui::clHighlight, ui::clBtnFace,
                             NewColor(c, ui::clBtnShadow, 10), NewColor(c, ui::clBtnShadow, 25), ui::clHighlight,
                             NewColor(c, ui::clHighlight, 80), NewColor(c, ui::clHighlight, 50)});
    EXPECT_EQ(menu.DrawSelectFontColor, ui::clMenuText);

    PaletteCanvas palette;
    menu.SetGlobalColor(palette.canvas);
    // A 256-colour screen: white menus with a framed white selection.
    ExpectEqual(Read(menu), {ui::clWhite, ui::clBtnFace, ui::clWhite, ui::clHighlight, ui::clBtnFace,
                             ui::clBtnShadow, ui::clBtnShadow, ui::clHighlight, ui::clWhite, ui::clWhite});
}

TEST(XPColorsTest, TopMenuFontColourKeepsTheFontOnLightColours) {
    TXPMenu menu(nullptr);
    menu.Font().Color = Rgb(1, 1, 1);
    ui::TBitmap b;
    b.SetSize(1, 1);
    const struct {
        TColor back;
        bool font;
    } cases[] = {{Rgb(200, 0, 110), true}, {Rgb(0, 201, 0), true}, {Rgb(150, 200, 150), false},
                 {Rgb(20, 30, 40), false}};
    for (const auto& c : cases) {
        const TColor expected = c.font ? Rgb(1, 1, 1) : NewColor(b.Canvas(), c.back, 90);
        EXPECT_EQ(menu.TopMenuFontColor(b.Canvas(), c.back), expected) << std::hex << c.back;
    }
}

}  // namespace
