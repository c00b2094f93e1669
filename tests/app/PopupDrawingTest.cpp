// The lists' popup menu as the window draws it: the side bar's size and colour ramp and the
// separators' two lines, drawn through the owner-draw messages into memory bitmaps.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "CommandHarness.h"

namespace {

using command_harness::CommandHarness;

class PopupDrawingTest : public CommandHarness {
protected:
    // Sends the drawing message for one item of the popup, as the menu would.
    void DrawItem(ui::TMenuItem* item, ui::TBitmap& target, RECT rect) {
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_MENU;
        draw.itemData = reinterpret_cast<ULONG_PTR>(item);
        draw.hDC = target.Canvas().Handle();
        draw.rcItem = rect;
        SendMessageA(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    }
    static void Fill(ui::TBitmap& bitmap, COLORREF rgb) {
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x) bitmap.SetPixel(x, y, rgb);
    }
};

// The bar's colour in row y of a bar h rows high: blue 0x9B, green and red 255 - i, where i
// starts at h / 255 on the bottom row and grows by one per row up to 255.
COLORREF BarColour(int h, int y) {
    const int i = std::min(255, h / 255 + (h - 1 - y));
    const int c = 255 - i;
    return RGB(c, c, 0x9B);
}

TEST_F(PopupDrawingTest, SideBarIsOneColumnAsTallAsTheItemsBesideIt) {
    Make();
    // The handler: ten proposed heights and 24 for the three separators.
    for (int proposed : {13, 19, 21}) {
        int width = 100, height = proposed;
        form->pupNNMeasureItem(form->pupNN, nullptr, width, height);
        EXPECT_EQ(width, 5);
        EXPECT_EQ(height, 10 * proposed + 24);
    }
    // Through the window's message, as the menu asks.
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemData = reinterpret_cast<ULONG_PTR>(form->pupNN);
    SendMessageA(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(measure.itemWidth, 5u);
    EXPECT_GT(measure.itemHeight, 24u);
    EXPECT_EQ((measure.itemHeight - 24) % 10, 0u);
    // The next item starts the second column.
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoA(form->PopupMenu1->Handle(), 1, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_MENUBREAK);
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
}

TEST_F(PopupDrawingTest, SideBarRampsFromPaleYellowToBlueWithTheNameRunningUp) {
    Make();
    struct Case {
        int width, height;
        COLORREF bottom, top;
    } cases[] = {
        {24, 100, RGB(255, 255, 0x9B), RGB(156, 156, 0x9B)},
        {24, 254, RGB(255, 255, 0x9B), RGB(2, 2, 0x9B)},
        {30, 300, RGB(254, 254, 0x9B), RGB(0, 0, 0x9B)},  // blue reached before the top
        {30, 600, RGB(253, 253, 0x9B), RGB(0, 0, 0x9B)},
    };
    for (const auto& c : cases) {
        ui::TBitmap bar;
        bar.SetSize(c.width + 10, c.height + 10);
        Fill(bar, RGB(1, 2, 3));
        DrawItem(form->pupNN, bar, RECT{0, 0, c.width, c.height});
        // The right-hand column is free of text: every row has its ramp colour.
        const int x = c.width - 1;
        EXPECT_EQ(bar.Pixel(x, c.height - 1), c.bottom) << c.height;
        EXPECT_EQ(bar.Pixel(x, 0), c.top) << c.height;
        for (int y : {0, 1, c.height / 3, c.height / 2, c.height - 2, c.height - 1})
            EXPECT_EQ(bar.Pixel(x, y), BarColour(c.height, y)) << c.height << " row " << y;
        // Nothing outside the item's rectangle.
        EXPECT_EQ(bar.Pixel(c.width + 2, c.height / 2), RGB(1, 2, 3));
        EXPECT_EQ(bar.Pixel(x, c.height + 2), RGB(1, 2, 3));
        // The name, in its colour, near the left edge and low in the bar.
        int text = 0, lowest = -1, highest = c.height + 10;
        for (int y = 0; y < c.height + 10; ++y)
            for (int px = 0; px < c.width + 10; ++px) {
                if (bar.Pixel(px, y) == RGB(0xFE, 0x0E, 0x00)) {
                    ++text;
                    lowest = std::max(lowest, y);
                    highest = std::min(highest, y);
                }
            }
        EXPECT_GT(text, 20) << c.height;
        EXPECT_LE(lowest, c.height - 3) << c.height;
        EXPECT_GT(lowest - highest, c.width) << c.height;  // upwards: taller than the bar is wide
    }
}

TEST_F(PopupDrawingTest, SeparatorsDrawABlackAndAWhiteLineBelowTheirTop) {
    Make();
    for (ui::TMenuItem* item : {form->MenuItem1, form->MenuItem2, form->N4}) {
        ui::TBitmap target;
        target.SetSize(60, 30);
        Fill(target, RGB(200, 10, 10));
        const RECT rect{5, 10, 50, 15};
        DrawItem(item, target, rect);
        for (int x : {5, 20, 49}) {
            EXPECT_EQ(target.Pixel(x, 12), RGB(0, 0, 0)) << item->Name() << " x " << x;
            EXPECT_EQ(target.Pixel(x, 13), RGB(255, 255, 255)) << item->Name() << " x " << x;
            // Nothing else is painted.
            for (int y : {10, 11, 14}) EXPECT_EQ(target.Pixel(x, y), RGB(200, 10, 10)) << item->Name() << " y " << y;
        }
        EXPECT_EQ(target.Pixel(4, 12), RGB(200, 10, 10));
        EXPECT_EQ(target.Pixel(50, 12), RGB(200, 10, 10));
    }
}

}  // namespace
