// The block chart drawn into a memory bitmap and read back pixel by pixel at the cells' places, and
// the chart in a window of its own, scrolled and resized through the window's messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "Forms.h"
#include "Progresspanel.h"
#include "Reader.h"

namespace {

constexpr COLORREF kDid = RGB(0, 0, 200), kTry = RGB(200, 0, 0);

void Fill(ui::TBitmap& b, COLORREF c) {
    b.SetSize(10, 11);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 10; ++x) b.SetPixel(x, y, c);
    b.SetPixel(0, 0, RGB(255, 0, 255));  // the transparent colour, replaced by the panel's
}

class BlockChartTest : public ::testing::Test {
protected:
    // 10 columns of 10 pixels beside the 19 spare ones, and 5 rows of 11 pixels.
    void SetUp() override { Make(119, 55); }
    void Make(int width, int height) {
        panel = std::make_unique<TProgressPanel>(nullptr);
        panel->SetBounds(0, 0, width, height);
        ui::TBitmap did, pending;
        Fill(did, kDid);
        Fill(pending, kTry);
        panel->SetDidBitmap(did);
        panel->SetTryBitmap(pending);
    }
    // What the panel shows, as painted into a bitmap.
    void Render() {
        shot.SetSize(panel->Width(), panel->Height());
        panel->PaintTo(shot.Canvas());
    }
    // The colour in the middle of the cell shown at (column, visible row).
    COLORREF At(int column, int row) { return shot.Pixel(column * 10 + 5, row * 11 + 5); }
    COLORREF Background() const { return ui::ColorToRGB(ui::clWindow); }

    std::unique_ptr<TProgressPanel> panel;
    ui::TBitmap shot;
};

TEST_F(BlockChartTest, CellsShowReceivedThenPendingThenBackground) {
    panel->SetTotalCount(30);
    panel->SetComedCount(12);
    Render();
    EXPECT_EQ(panel->Columns(), 10);
    EXPECT_EQ(panel->Rows(), 5);
    for (int cell = 0; cell < 50; ++cell) {
        const COLORREF expected = cell < 12 ? kDid : cell < 30 ? kTry : Background();
        EXPECT_EQ(At(cell % 10, cell / 10), expected) << cell;
    }
    // The picture's magenta corner took the panel's colour.
    EXPECT_EQ(shot.Pixel(0, 0), Background());
    EXPECT_EQ(shot.Pixel(10, 11), Background());
    EXPECT_FALSE(panel->ScrollBar().Enabled());
}

TEST_F(BlockChartTest, LoweringKeepsReceivedCellsUntilTheNextTotal) {
    panel->SetTotalCount(20);
    panel->SetComedCount(15);
    panel->SetComedCount(5);
    EXPECT_EQ(panel->ComedCount(), 5);
    Render();
    EXPECT_EQ(At(4, 1), kDid);  // cell 14 stays received
    panel->SetComedCount(8);    // growing again from 5 redraws nothing wrong
    Render();
    EXPECT_EQ(At(4, 1), kDid);
    EXPECT_EQ(At(5, 1), kTry);
    panel->SetTotalCount(20);
    Render();
    EXPECT_EQ(panel->ComedCount(), 0);
    EXPECT_EQ(At(0, 0), kTry);
    // A resize rebuilds from the counts: received up to ComedCount only.
    panel->SetComedCount(3);
    panel->SetComedCount(1);
    panel->ForResizeDo();
    Render();
    EXPECT_EQ(At(0, 0), kDid);
    EXPECT_EQ(At(1, 0), kTry);
}

TEST_F(BlockChartTest, ReceivedBeyondTheTotalAsFarAsTheGridReaches) {
    panel->SetTotalCount(5);
    panel->SetComedCount(20);
    Render();
    for (int cell = 0; cell < 50; ++cell) EXPECT_EQ(At(cell % 10, cell / 10), cell < 20 ? kDid : Background()) << cell;
    // One page of 50 cells is all there is: cells past it are not drawn.
    panel->SetComedCount(80);
    Render();
    EXPECT_EQ(At(9, 4), kDid);
}

TEST_F(BlockChartTest, ScrollingStopsWhereTheLastRowIsShown) {
    panel->SetTotalCount(123);
    panel->SetComedCount(100);
    EXPECT_EQ(panel->Pages(), 3);
    EXPECT_TRUE(panel->ScrollBar().Enabled());
    EXPECT_EQ(panel->ScrollBar().Max(), 12);
    EXPECT_EQ(panel->ScrollBar().SmallChange, 1);
    struct Case {
        int requested, position;
    } cases[] = {{3, 3}, {7, 7}, {8, 8}, {12, 8}, {0, 0}};
    for (const auto& c : cases) {
        panel->ScrollBar().Scroll(ui::TScrollCode::Track, c.requested);
        EXPECT_EQ(panel->ScrollPosition(), c.position) << c.requested;
    }
    panel->ScrollBar().Scroll(ui::TScrollCode::Track, 12);
    Render();
    // Rows 8 to 12: cells 80 to 122.
    EXPECT_EQ(At(0, 0), kDid);   // cell 80
    EXPECT_EQ(At(9, 1), kDid);   // cell 99, the last received
    EXPECT_EQ(At(0, 2), kTry);   // cell 100
    EXPECT_EQ(At(2, 4), kTry);   // cell 122
    EXPECT_EQ(At(3, 4), Background());
}

TEST_F(BlockChartTest, AGibibyteDownloadKeepsDrawingMemoryToOnePage) {
    const int32_t cells = 1 << 20;  // one cell per 1024 bytes of 1 GiB
    panel->SetTotalCount(cells);
    panel->SetComedCount(1000000);
    EXPECT_EQ(panel->SurfaceSize(), std::make_pair(100, 55));
    EXPECT_EQ(panel->Pages(), cells / 50 + 1);
    EXPECT_EQ(panel->ScrollBar().Max(), cells / 10);
    panel->ScrollBar().Scroll(ui::TScrollCode::Track, 99999);  // row 99999 holds cells 999990 to 999999
    Render();
    EXPECT_EQ(At(0, 0), kDid);
    EXPECT_EQ(At(9, 0), kDid);
    EXPECT_EQ(At(0, 1), kTry);  // cell 1000000
    panel->SetComedCount(1000005);  // new cells on the visible page are drawn at once
    Render();
    EXPECT_EQ(At(4, 1), kDid);
    EXPECT_EQ(At(5, 1), kTry);
    panel->ScrollBar().Scroll(ui::TScrollCode::Bottom, 0);
    Render();
    EXPECT_EQ(panel->ScrollPosition(), cells / 10 - 5 + 1);
    EXPECT_EQ(panel->SurfaceSize(), std::make_pair(100, 55));
}

TEST_F(BlockChartTest, EmptyAndTooSmallPanels) {
    panel->SetTotalCount(0);
    Render();
    for (int cell = 0; cell < 50; ++cell) EXPECT_EQ(At(cell % 10, cell / 10), Background());
    EXPECT_FALSE(panel->ScrollBar().Enabled());

    struct Size {
        int width, height;
    } small[] = {{28, 55}, {119, 10}};  // no column beside the 19 spare pixels; no row
    for (const auto& s : small) {
        Make(s.width, s.height);
        panel->SetComedCount(3);
        panel->SetTotalCount(10);
        EXPECT_EQ(panel->SurfaceSize(), std::make_pair(0, 0)) << s.width;
        // The layout stopped early, so the counts keep their values.
        EXPECT_EQ(panel->ComedCount(), 3);
    }
}

TEST_F(BlockChartTest, WithoutPicturesNothingIsLaidOut) {
    panel = std::make_unique<TProgressPanel>(nullptr);
    panel->SetBounds(0, 0, 119, 55);
    panel->SetTotalCount(10);
    EXPECT_EQ(panel->SurfaceSize(), std::make_pair(0, 0));
    EXPECT_EQ(panel->Color(), ui::clWindow);
    EXPECT_EQ(panel->BevelInner, ui::TBevelCut::Raised);
    EXPECT_EQ(panel->BevelOuter, ui::TBevelCut::Lowered);
    panel->SetName("pp_Chart");
    EXPECT_EQ(panel->Caption(), "");
}


// The chart as the main window holds it: a panel filling its parent, rebuilt from its OnResize.
class ChartForm : public ui::TForm {
public:
    ChartForm() : ui::TForm(nullptr) {
        ui::RegisterComponentClass<TProgressPanel>("TProgressPanel");
        Publish("ChartResize", &ChartForm::ChartResize);
        InitFromText(R"(object ChartForm: TForm
  BorderStyle = bsNone
  ClientWidth = 119
  ClientHeight = 55
  object Chart: TProgressPanel
    Align = alClient
    OnResize = ChartResize
  end
end)");
    }
    void ChartResize(ui::TComponent*) {
        if (Chart) Chart->ForResizeDo();
    }
    TProgressPanel* Chart = nullptr;

protected:
    void BindComponents() override { Chart = ui::FindAs<TProgressPanel>(*this, "Chart"); }
};

TEST_F(BlockChartTest, GrowingBringsTheScrollPositionBackIntoRange) {
    ChartForm form;
    TProgressPanel& chart = *form.Chart;
    ui::TBitmap did, pending;
    Fill(did, kDid);
    Fill(pending, kTry);
    chart.SetDidBitmap(did);
    chart.SetTryBitmap(pending);
    form.Show();
    chart.SetTotalCount(123);  // 13 rows of 10 cells
    chart.SetComedCount(123);
    ASSERT_EQ(chart.Rows(), 5);
    HWND bar = chart.ScrollBar().Handle();
    struct Case {
        int height;    // of the window's client area: 11 pixels a row
        int position;  // the first row shown afterwards
        bool scrolls;
    } cases[] = {
        {88, 5, true},    // 8 rows shown: from row 5 on they end with the grid's last row, 12
        {143, 0, false},  // all 13 rows fit
        {55, 0, true},
    };
    for (const auto& c : cases) {
        // The user scrolls to the bottom, then the window grows (or shrinks).
        SendMessageA(chart.Handle(), WM_VSCROLL, SB_BOTTOM, reinterpret_cast<LPARAM>(bar));
        RECT frame{0, 0, 119, c.height};
        AdjustWindowRectEx(&frame, GetWindowLongA(form.Handle(), GWL_STYLE), FALSE, GetWindowLongA(form.Handle(), GWL_EXSTYLE));
        SetWindowPos(form.Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_EQ(chart.Rows(), c.height / 11) << c.height;
        EXPECT_EQ(chart.ScrollPosition(), c.position) << c.height;
        EXPECT_EQ(chart.ScrollBar().Enabled(), c.scrolls) << c.height;
        if (c.scrolls) EXPECT_EQ(chart.ScrollBar().Position(), c.position) << c.height;
        shot.SetSize(chart.Width(), chart.Height());
        chart.PaintTo(shot.Canvas());
        // Every row from the first shown one is there, received, down to the last row of the grid.
        const int shownRows = std::min(c.height / 11, 13 - c.position);
        for (int row = 0; row < shownRows; ++row) {
            for (int column = 0; column < 10; ++column) {
                const bool cell = (c.position + row) * 10 + column < 123;
                EXPECT_EQ(At(column, row), cell ? kDid : Background())
                    << c.height << ": row " << row << ", column " << column;
            }
        }
        // And when the bar scrolls, the top is reached again.
        if (c.scrolls) {
            SendMessageA(chart.Handle(), WM_VSCROLL, SB_TOP, reinterpret_cast<LPARAM>(bar));
            EXPECT_EQ(chart.ScrollPosition(), 0) << c.height;
        }
    }
}

}  // namespace
