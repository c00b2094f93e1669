// The menu drawing routines: hooking a whole item tree, the separator line, the MacOS pictures cut
// to their top rows, and the system menu font.
#include <gtest/gtest.h>

#include <set>

#include "Menus.h"
#include "Qelmenu.h"
#include "Qelpublic.h"

namespace {

TEST(QelmenuTest, SetItemEventReachesEverySubItem) {
    ui::TMenuItem root(nullptr), leaf(nullptr), branch(nullptr), deep(nullptr);
    root.Add(&branch);
    branch.Add(&deep);
    int draws = 0, measures = 0;
    const ui::TMenuDrawItemEvent draw = [&](ui::TComponent*, ui::TCanvas*, ui::TRect, bool) { ++draws; };
    const ui::TMenuMeasureItemEvent measure = [&](ui::TComponent*, ui::TCanvas*, int&, int&) { ++measures; };

    skin::Menu_SetItemEvent(&leaf, draw, measure);
    EXPECT_TRUE(leaf.OnDrawItem && leaf.OnMeasureItem);
    EXPECT_FALSE(root.OnDrawItem);

    skin::Menu_SetItemEvent(&root, draw, measure);
    ui::TBitmap surface;
    surface.SetSize(4, 4);
    int w = 0, h = 0;
    for (ui::TMenuItem* item : {&root, &branch, &deep}) {
        item->DoDrawItem(surface.Canvas(), {0, 0, 4, 4}, false);
        item->DoMeasureItem(surface.Canvas(), w, h);
    }
    EXPECT_EQ(draws, 3);
    EXPECT_EQ(measures, 3);
    branch.Remove(&deep);
    root.Remove(&branch);
}

TEST(QelmenuTest, LineItemRunsFromPastTheBar) {
    ui::TBitmap t;
    t.SetSize(150, 50);
    skin::Menu_DrawLineItem(t.Canvas(), {0, 40, 150, 45}, 0x0000FF, 26);
    EXPECT_EQ(t.Pixel(30, 42), RGB(255, 0, 0));
    EXPECT_EQ(t.Pixel(147, 42), RGB(255, 0, 0));
    EXPECT_EQ(t.Pixel(148, 42), RGB(255, 255, 255));
    EXPECT_EQ(t.Pixel(29, 42), RGB(255, 255, 255));
}

std::set<COLORREF> Rows(const ui::TBitmap& b, int from, int to) {
    std::set<COLORREF> colours;
    for (int y = from; y < to; ++y) colours.insert(b.Pixel(0, y));
    return colours;
}

// Every pixel of the drawn rect comes from the picture's top rows, none from the rows below.
void ExpectTopRowsOnly(void (*draw)(ui::TCanvas&, const ui::TRect&), const char* name, int rows, int height) {
    ui::TBitmap picture;
    skin::LoadSkinBitmap(picture, name);
    ASSERT_FALSE(picture.Empty());
    const std::set<COLORREF> top = Rows(picture, 0, rows);
    // The picture's lower edge has a colour of its own, so a pixel taken from below would show.
    ASSERT_FALSE(top.count(picture.Pixel(0, picture.Height() - 1)));
    ui::TBitmap t;
    t.SetSize(150, height);
    draw(t.Canvas(), {0, 0, 150, height});
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < 150; x += 37) {
            EXPECT_TRUE(top.count(t.Pixel(x, y))) << name << " row " << y;
        }
    }
}

TEST(QelmenuTest, MacOSPicturesAreCutToTheirTopRows) {
    ExpectTopRowsOnly(skin::Menu_DrawMacOSLineItem, "MACOS_MENU_BAR", 12, 5);
    ExpectTopRowsOnly(skin::Menu_DrawMacOSNonSelectedItem, "MACOS_MENU_BAR", 20, 20);
    ExpectTopRowsOnly(skin::Menu_DrawMacOSSelectedItem, "MACOS_MENU_SELECT", 20, 21);
}

TEST(QelmenuTest, SystemFontIsTheMenuFont) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = 340;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
    ui::TFont font;
    font.Name = "Courier";
    font.Height = -30;
    skin::Menu_GetSystemFont(font);
    EXPECT_EQ(font.Name, metrics.lfMenuFont.lfFaceName);
    EXPECT_EQ(font.Height, metrics.lfMenuFont.lfHeight);
    EXPECT_EQ(font.Color, ui::clMenuText);
}

}  // namespace
