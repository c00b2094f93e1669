// The skinned tab control placed by a form description: the row's heights per style, the tab
// widths, the active and inactive pictures, the client frame, the mouse hit test sent to the row's
// window, and the table of tab index changes with their events.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "Forms.h"
#include "GdiObjects.h"
#include "Qeltabcontrol.h"
#include "Qelregister.h"
#include "Qelthemes.h"

namespace {

using skin::TqelTabControl;
using skin::TqelUIStyle;

constexpr COLORREF kFace = RGB(0xE8, 0xE8, 0xE8), kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0);

class TabForm : public ui::TForm {
public:
    explicit TabForm(ui::TComponent* owner) : ui::TForm(owner) {
        skin::RegisterSkinClasses();
        Publish("TabActive", &TabForm::TabActive);
        InitFromText(R"(object TabForm: TForm
  Width = 400
  Height = 300
  object Tabs1: TqelTabControl
    Left = 8
    Top = 8
    Width = 300
    Height = 120
    UIStyle = DeepBlue
    Tabs.Strings = (
      'One'
      ''
      'Three')
    TabIndex = 0
    LeftMargin = 10
    OnTabActive = TabActive
  end
end)");
        tabs = ui::FindAs<TqelTabControl>(*this, "Tabs1");
        events.clear();
    }
    void TabActive(ui::TComponent* sender, int index) { events.push_back({sender, index}); }
    void PaintRow(ui::TBitmap& shot) {
        skin::TqelTabControlTopPanel& row = tabs->TopPanel();
        shot.SetSize(row.Width(), row.Height());
        row.PaintTo(shot.Canvas());
    }
    void Click(int x, int y) {
        SendMessage(tabs->TopPanel().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessage(tabs->TopPanel().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    TqelTabControl* tabs = nullptr;
    std::vector<std::pair<ui::TComponent*, int>> events;
};

TEST(QeltabcontrolTest, RowHeightFollowsTheStyle) {
    const std::pair<TqelUIStyle, int> heights[] = {{TqelUIStyle::MacOS, 34}, {TqelUIStyle::WinXP, 19},
                                                   {TqelUIStyle::DeepBlue, 22}, {TqelUIStyle::Protein, 22},
                                                   {TqelUIStyle::BlueGlass, 22}};
    TabForm form(ui::Application);
    for (auto [style, height] : heights) {
        form.tabs->SetUIStyle(style);
        EXPECT_EQ(form.tabs->TopPanel().Height(), height) << int(style);
    }
    EXPECT_EQ(form.tabs->Color(), ui::TColor(0xE7E7E7));
    form.tabs->SetUIStyle(TqelUIStyle::WinXP);
    EXPECT_EQ(form.tabs->Color(), ui::TColor(0xFFFFFF));
    EXPECT_EQ(form.tabs->BorderColor(), ui::TColor(0x686868));
    form.tabs->SetBorderColor(ui::TColor(kRed));
    form.tabs->SetUIStyle(TqelUIStyle::Custom);
    EXPECT_EQ(form.tabs->UIStyle(), TqelUIStyle::WinXP);
    EXPECT_EQ(form.tabs->BorderColor(), ui::TColor(kRed));
    EXPECT_EQ(form.tabs->Color(), ui::TColor(0xFFFFFF));
    EXPECT_EQ(form.tabs->TopPanel().Height(), 19);
}

// In every style the tab pictures and the line under them fill the row: the line ends on the row's
// last pixel, and a click on the lower part of a tab, posted to the row's window, still hits it.
TEST(QeltabcontrolTest, TabPicturesFillTheRowOfEveryStyle) {
    const TqelUIStyle styles[] = {TqelUIStyle::MacOS, TqelUIStyle::WinXP, TqelUIStyle::DeepBlue,
                                  TqelUIStyle::Protein, TqelUIStyle::BlueGlass};
    TabForm form(ui::Application);
    form.Show();
    skin::TqelTabControlTopPanel& row = form.tabs->TopPanel();
    for (TqelUIStyle style : styles) {
        form.tabs->SetUIStyle(style);
        const int height = row.Height();
        ui::TBitmap line;
        ASSERT_TRUE(line.LoadFromResourceName(skin::GetThemeString(style, skin::theme::kTabLine)));
        ui::TBitmap shot;
        form.PaintRow(shot);
        EXPECT_EQ(row.StripHeight() + line.Height(), height) << int(style);
        // Past the last tab only the line is drawn: its rows are the row's last ones.
        for (int y = 0; y < line.Height(); ++y)
            EXPECT_EQ(shot.Pixel(250, height - line.Height() + y), line.Pixel(2, y)) << int(style) << " " << y;

        const int strip = height - line.Height();
        auto click = [&](int y) {
            form.tabs->SetTabIndex(2);
            form.events.clear();
            PostMessageA(row.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, y));
            PostMessageA(row.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(15, y));
            ui::Application->ProcessMessages();
            return form.tabs->TabIndex();
        };
        EXPECT_EQ(click(strip - 1), 0) << int(style);  // the tab's lowest row
        EXPECT_EQ(form.events.size(), 1u) << int(style);
        EXPECT_EQ(click(strip), 2) << int(style);      // the line under it
        EXPECT_TRUE(form.events.empty()) << int(style);
    }
    form.Hide();
}

TEST(QeltabcontrolTest, TabWidthsAndPictures) {
    TabForm form(ui::Application);
    ui::TBitmap shot;
    form.PaintRow(shot);
    skin::TqelTabControlTopPanel& row = form.tabs->TopPanel();
    ui::TCanvas measure(shot.Canvas().Handle());
    measure.Font.Assign(form.tabs->Font());
    const int w0 = measure.TextWidth("One") + 20;
    EXPECT_EQ(row.TabWidth(0), w0);
    EXPECT_EQ(row.TabWidth(1), 80);  // empty caption
    EXPECT_EQ(row.TabWidth(2), measure.TextWidth("Three") + 20);
    EXPECT_EQ(row.TabWidth(3), 0);
    EXPECT_EQ(row.StripHeight(), 17);

    ui::TBitmap active, inactive;
    ASSERT_TRUE(active.LoadFromResourceName("DEEPBLUE_TAB_ACTIVE"));
    ASSERT_TRUE(inactive.LoadFromResourceName("DEEPBLUE_TAB_INACTIVE"));
    // Column 3 of a tab is the stretched middle of the picture; the active tab one pixel lower.
    const int x1 = 10 + w0;
    for (int y = 0; y < 17; ++y) {
        if (active.Pixel(2, y) != RGB(255, 0, 255)) {
            EXPECT_EQ(shot.Pixel(10 + 3, y + 1), active.Pixel(2, y)) << y;
        }
        if (inactive.Pixel(2, y) != RGB(255, 0, 255)) {
            EXPECT_EQ(shot.Pixel(x1 + 3, y), inactive.Pixel(2, y)) << y;
        }
    }
    // Left and right of the line the control's border colour.
    EXPECT_EQ(shot.Pixel(0, 17), kBlack);
    EXPECT_EQ(shot.Pixel(299, 17), kBlack);
}

TEST(QeltabcontrolTest, ClientAreaIsFilledAndFramed) {
    TabForm form(ui::Application);
    form.tabs->SetBorderColor(ui::TColor(kRed));
    ui::TBitmap shot;
    shot.SetSize(300, 120);
    form.tabs->PaintTo(shot.Canvas());
    EXPECT_EQ(shot.Pixel(0, 22), kRed);
    EXPECT_EQ(shot.Pixel(0, 119), kRed);
    EXPECT_EQ(shot.Pixel(150, 119), kRed);
    EXPECT_EQ(shot.Pixel(299, 119), kRed);
    EXPECT_EQ(shot.Pixel(299, 22), kRed);
    EXPECT_EQ(shot.Pixel(150, 60), kFace);
    EXPECT_EQ(shot.Pixel(1, 23), kFace);
}

TEST(QeltabcontrolTest, MouseHitTest) {
    TabForm form(ui::Application);
    form.HandleNeeded();
    ui::TBitmap shot;
    form.PaintRow(shot);
    skin::TqelTabControlTopPanel& row = form.tabs->TopPanel();
    const int x1 = 10 + row.TabWidth(0), x2 = x1 + 80, end = x2 + row.TabWidth(2);
    struct Case {
        int x, y;
        int index;     // after the click
        bool event;
    } cases[] = {
        {x1 + 40, 5, 1, true},   // the middle tab
        {x1 + 40, 5, 1, true},   // the active tab again: raised again
        {x1, 5, 1, false},       // on an edge between two tabs
        {x2 + 5, 17, 1, false},  // below the strip
        {x2 + 5, 0, 1, false},   // on its top row
        {end + 5, 5, 1, false},  // past the last tab
        {9, 5, 1, false},        // left of the first
        {x2 + 5, 16, 2, true},
        {11, 1, 0, true},
    };
    for (const Case& c : cases) {
        form.events.clear();
        form.Click(c.x, c.y);
        EXPECT_EQ(form.tabs->TabIndex(), c.index) << c.x << "," << c.y;
        EXPECT_EQ(form.events.size(), c.event ? 1u : 0u) << c.x << "," << c.y;
        if (c.event && !form.events.empty()) {
            EXPECT_EQ(form.events[0].first, form.tabs);
            EXPECT_EQ(form.events[0].second, c.index);
        }
    }
}

TEST(QeltabcontrolTest, EachPressOfADoubleClickHitsTheTab) {
    TabForm form(ui::Application);
    form.Show();
    ui::TBitmap shot;
    form.PaintRow(shot);
    const HWND row = form.tabs->TopPanel().Handle();
    const int x = 10 + form.tabs->TopPanel().TabWidth(0) + 40;  // the middle tab
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        PostMessageA(row, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, 5));
    ui::Application->ProcessMessages();
    EXPECT_EQ(form.tabs->TabIndex(), 1);
    EXPECT_EQ(form.events.size(), 2u);
    form.Hide();
}

TEST(QeltabcontrolTest, TabIndexChanges) {
    TabForm form(ui::Application);
    TqelTabControl& tabs = *form.tabs;
    struct Step {
        int set;
        int index;
        bool event;
    } steps[] = {{2, 2, true}, {3, 2, false}, {-2, 2, false}, {-1, -1, true}, {0, 0, true}};
    for (const Step& s : steps) {
        form.events.clear();
        tabs.SetTabIndex(s.set);
        EXPECT_EQ(tabs.TabIndex(), s.index) << s.set;
        EXPECT_EQ(form.events.size(), s.event ? 1u : 0u) << s.set;
    }
    tabs.SetTabIndex(2);
    tabs.SetTabs({"Only"});
    EXPECT_EQ(tabs.TabIndex(), 2);  // removing tabs leaves the index
    ui::TBitmap shot;
    form.PaintRow(shot);             // and draws no tab active
    ui::TBitmap inactive;
    ASSERT_TRUE(inactive.LoadFromResourceName("DEEPBLUE_TAB_INACTIVE"));
    EXPECT_EQ(shot.Pixel(13, 8), inactive.Pixel(2, 8));
    tabs.SetTabs({});
    form.events.clear();
    tabs.SetTabIndex(0);
    EXPECT_EQ(tabs.TabIndex(), -1);
    EXPECT_TRUE(form.events.empty());
}

TEST(QeltabcontrolTest, PaintingHoldsNoGdiObjects) {
    TabForm form(ui::Application);
    form.HandleNeeded();
    ui::TBitmap shot, whole;
    whole.SetSize(300, 120);
    form.PaintRow(shot);
    form.tabs->PaintTo(whole.Canvas());
    const int before = GdiObjectCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 100; ++i) {
        form.PaintRow(shot);
        form.tabs->PaintTo(whole.Canvas());
    }
    EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
