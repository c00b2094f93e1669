// The shared drawing routines drawn into memory bitmaps. A coordinate bitmap (each pixel the
// colour RGB(x, y, 7)) shows where every drawn pixel came from.
#include <gtest/gtest.h>

#include <string>

#include "ExtCtrls.h"
#include "Forms.h"
#include "Qelpublic.h"

namespace {

constexpr COLORREF kBackground = RGB(1, 2, 3);

void MakeCoordinates(ui::TBitmap& bitmap, int w, int h) {
    bitmap.SetSize(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) bitmap.SetPixel(x, y, RGB(x, y, 7));
    }
}

void Clear(ui::TBitmap& target, int w, int h) {
    target.SetSize(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) target.SetPixel(x, y, kBackground);
    }
}

std::string Where(int x, int y) { return "(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

// Where SpitDraw takes a column (row) of a bitmap of size `b` drawn `n` wide (high), for the
// sizes where no stretch of more than one source pixel happens.
int Source(int i, int b, int n) {
    const int half = b / 2;
    if (i < half) return i;
    if (i >= n - (b - half)) return i - (n - b);
    return half;
}

TEST(QelpublicTest, SpitDrawKeepsEdgesAndRepeatsTheCentre) {
    ui::TBitmap skin;
    MakeCoordinates(skin, 74, 21);
    struct Case {
        ui::TRect rect;
    } cases[] = {
        {{5, 3, 105, 24}},  // wider: columns 0-36 and 37-73 at the ends, column 37 between
        {{0, 0, 80, 33}},   // wider and higher: row 10 repeated
        {{2, 2, 76, 23}},   // the bitmap's own size
    };
    for (const Case& c : cases) {
        ui::TBitmap target;
        Clear(target, 120, 40);
        skin::SpitDraw(skin, target.Canvas(), c.rect, false);
        const int W = c.rect.Width(), H = c.rect.Height();
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                const int sy = H >= 21 ? Source(y, 21, H) : y;
                ASSERT_EQ(target.Pixel(c.rect.Left + x, c.rect.Top + y), RGB(Source(x, 74, W), sy, 7)) << Where(x, y);
            }
        }
        EXPECT_EQ(target.Pixel(c.rect.Right, c.rect.Top), kBackground);
        EXPECT_EQ(target.Pixel(c.rect.Left, c.rect.Bottom), kBackground);
    }
}

TEST(QelpublicTest, SpitDrawIntoASmallerRectLetsLaterStepsWin) {
    ui::TBitmap skin;
    MakeCoordinates(skin, 74, 21);
    ui::TBitmap target;
    Clear(target, 60, 20);
    skin::SpitDraw(skin, target.Canvas(), {0, 0, 40, 11}, false);
    // Columns: the left 37 columns, then the bitmap's last three. Rows: the bottom 11 rows.
    for (int y = 0; y < 11; ++y) {
        for (int x = 0; x < 40; ++x) {
            const int sx = x < 37 ? x : 74 - 40 + x;
            ASSERT_EQ(target.Pixel(x, y), RGB(sx, y + 10, 7)) << Where(x, y);
        }
    }
    EXPECT_EQ(target.Pixel(40, 0), kBackground);
    EXPECT_EQ(target.Pixel(0, 11), kBackground);
}

TEST(QelpublicTest, SpitDrawTransparentLeavesTheCornerColourUnpainted) {
    ui::TBitmap skin;
    MakeCoordinates(skin, 74, 21);
    const COLORREF key = RGB(255, 0, 255);
    skin.SetPixel(0, 0, key);
    skin.SetPixel(73, 20, key);
    ui::TBitmap target;
    Clear(target, 120, 30);
    skin::SpitDraw(skin, target.Canvas(), {10, 5, 110, 26}, true);
    EXPECT_EQ(target.Pixel(10, 5), kBackground);
    EXPECT_EQ(target.Pixel(109, 25), kBackground);
    EXPECT_EQ(target.Pixel(11, 5), RGB(1, 0, 7));
    EXPECT_EQ(target.Pixel(60, 15), RGB(37, 10, 7));
}

TEST(QelpublicTest, EmptySizesDrawNothing) {
    ui::TBitmap skin, empty;
    MakeCoordinates(skin, 6, 17);
    ui::TBitmap narrow;
    MakeCoordinates(narrow, 2, 17);
    ui::TPicture nothing;
    const ui::TRect rects[] = {{0, 0, 0, 10}, {0, 0, 10, 0}, {5, 5, 2, 9}};
    ui::TBitmap target;
    Clear(target, 20, 20);
    for (const ui::TRect& r : rects) {
        skin::SpitDraw(skin, target.Canvas(), r, true);
        skin::SpitDraw(skin, target.Canvas(), r, false);
    }
    skin::SpitDraw(empty, target.Canvas(), {0, 0, 10, 10}, false);
    skin::SpitDrawHorizontal(empty, target.Canvas(), {0, 0, 10, 10}, false);
    skin::SpitDrawHorizontal(narrow, target.Canvas(), {0, 0, 10, 10}, false);
    skin::TileDraw(target.Canvas(), nothing, {0, 0, 10, 10});  // would never advance
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) ASSERT_EQ(target.Pixel(x, y), kBackground) << Where(x, y);
    }
}

TEST(QelpublicTest, SpitDrawHorizontalStretchesTheMiddleThird) {
    ui::TBitmap tab;
    MakeCoordinates(tab, 6, 17);
    ui::TBitmap target;
    Clear(target, 30, 20);
    skin::SpitDrawHorizontal(tab, target.Canvas(), {1, 1, 21, 18}, false);
    for (int y = 0; y < 17; ++y) {
        EXPECT_EQ(target.Pixel(1, 1 + y), RGB(0, y, 7));
        EXPECT_EQ(target.Pixel(2, 1 + y), RGB(1, y, 7));
        EXPECT_EQ(target.Pixel(19, 1 + y), RGB(4, y, 7));
        EXPECT_EQ(target.Pixel(20, 1 + y), RGB(5, y, 7));
        int previous = 2;
        for (int x = 3; x < 19; ++x) {
            const COLORREF c = target.Pixel(x, 1 + y);
            const int column = GetRValue(c);
            ASSERT_TRUE((column == 2 || column == 3) && column >= previous && GetGValue(c) == y) << Where(x, y);
            previous = column;
        }
        EXPECT_EQ(GetRValue(target.Pixel(3, 1 + y)), 2);
        EXPECT_EQ(GetRValue(target.Pixel(18, 1 + y)), 3);
    }
    EXPECT_EQ(target.Pixel(21, 5), kBackground);
}

TEST(QelpublicTest, TileDrawStartsAtTheCanvasOrigin) {
    ui::TPicture tile;
    MakeCoordinates(tile.Bitmap, 8, 8);
    ui::TBitmap target;
    Clear(target, 60, 60);
    skin::TileDraw(target.Canvas(), tile, {10, 10, 50, 50});
    // Six columns of six tiles from (0, 0): x and y below 48 are covered, the rest is not.
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 60; ++x) {
            const COLORREF want = x < 48 && y < 48 ? RGB(x % 8, y % 8, 7) : kBackground;
            ASSERT_EQ(target.Pixel(x, y), want) << Where(x, y);
        }
    }
}

TEST(QelpublicTest, InRectCountsTheEdges) {
    const ui::TRect r{10, 20, 30, 40};
    EXPECT_TRUE(skin::InRect(10, 20, r));
    EXPECT_TRUE(skin::InRect(30, 40, r));
    EXPECT_TRUE(skin::InRect(POINT{30, 25}, r));
    EXPECT_FALSE(skin::InRect(31, 25, r));
    EXPECT_FALSE(skin::InRect(POINT{15, 19}, r));
}

TEST(QelpublicTest, SetBitmapWindowKeepsTheOpaquePixels) {
    const char* rows[] = {
        "#..##.#",  // runs that end at a key pixel and one that ends with the row
        ".......",  // a row with nothing
        "#######",
        "..#....",
    };
    ui::TBitmap shape;
    shape.SetSize(7, 4);
    const COLORREF key = RGB(255, 0, 255);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 7; ++x) shape.SetPixel(x, y, rows[y][x] == '#' ? RGB(0, 0, 200) : key);
    }
    ui::TForm form(ui::Application);
    form.SetBounds(0, 0, 50, 50);
    HWND window = form.Handle();
    skin::SetBitmapWindow(window, shape, 0xFF00FF);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window, region), ERROR);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 9; ++x) {
            const bool opaque = y < 4 && x < 7 && rows[y][x] == '#';
            EXPECT_EQ(PtInRegion(region, x, y) != 0, opaque) << Where(x, y);
        }
    }
    DeleteObject(region);
}

TEST(QelpublicTest, DoTransPaintsTheParentUnderTheControl) {
    ui::TForm form(ui::Application);
    form.SetBounds(0, 0, 200, 200);
    ui::TPanel parent(&form);
    parent.SetParent(&form);
    parent.BevelOuter = ui::TBevelCut::None;
    parent.SetBounds(0, 0, 100, 100);
    parent.SetColor(ui::clRed);
    ui::TPanel child(&form);
    child.SetParent(&parent);
    child.SetBounds(20, 30, 40, 40);
    child.SetColor(ui::clLime);
    ui::TBitmap target;
    Clear(target, 40, 40);
    skin::DoTrans(target.Canvas(), child);
    // The parent's own face shows through, not the control's.
    EXPECT_EQ(target.Pixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(target.Pixel(39, 39), RGB(255, 0, 0));
}

TEST(QelpublicTest, MissingPicturesLoadEmpty) {
    ui::TBitmap picture;
    picture.SetSize(4, 4);
    EXPECT_NO_THROW(skin::LoadSkinBitmap(picture, ""));
    EXPECT_TRUE(picture.Empty());
    picture.SetSize(4, 4);
    EXPECT_NO_THROW(skin::LoadSkinBitmap(picture, "NO_SUCH_PICTURE"));
    EXPECT_TRUE(picture.Empty());
    skin::LoadSkinBitmap(picture, "DEEPBLUE_BUTTON_NORMAL");
    EXPECT_EQ(picture.Width(), 74);
}

TEST(QelpublicTest, PCharToStr) {
    EXPECT_EQ(skin::PCharToStr(nullptr), "");
    EXPECT_EQ(skin::PCharToStr(""), "");
    EXPECT_EQ(skin::PCharToStr("MENU_CHECKED"), "MENU_CHECKED");
}

}  // namespace
