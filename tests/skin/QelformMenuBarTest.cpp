// The form frame's menu bar: the skinned main menu's top-level items as flat buttons under the
// title bar, and the bar's drawing of hot and dropped-down buttons and of its background, painted
// into memory bitmaps and read at the buttons' edges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Forms.h"
#include "GdiObjects.h"
#include "Qelform.h"
#include "Qelmainmenu.h"
#include "Qelmenubar.h"
#include "Qelpublic.h"
#include "Qelregister.h"
#include "Qeltitlebar.h"

namespace {

using skin::TqelForm;
using skin::TqelMainMenu;
using skin::TqelUIStyle;

class MenuFramedForm : public ui::TForm {
public:
    explicit MenuFramedForm(ui::TComponent* owner) : ui::TForm(owner) {
        skin::RegisterSkinClasses();
        InitFromText(R"(object MenuFramedForm: TForm
  Left = 10
  Top = 10
  Width = 400
  Height = 300
  object qelMainMenu1: TqelMainMenu
    UIStyle = WinXP
    object File1: TMenuItem
      Caption = 'File'
      object Open1: TMenuItem
        Caption = 'Open'
      end
    end
    object Edit1: TMenuItem
      Caption = 'Edit'
    end
    object Help1: TMenuItem
      Caption = 'Help'
    end
  end
  object Frame1: TqelForm
    UIStyle = WinXP
    Menu = qelMainMenu1
  end
end
)");
        frame = ui::FindAs<TqelForm>(*this, "Frame1");
        menu = ui::FindAs<TqelMainMenu>(*this, "qelMainMenu1");
        Handle();
    }
    TqelForm* frame;
    TqelMainMenu* menu;
};

COLORREF Rgb(ui::TColor color) { return ui::ColorToRGB(color); }
COLORREF Theme(TqelUIStyle style, int index) { return Rgb(skin::GetThemeColor(style, index)); }

TEST(QelformMenuBarTest, MenuItemsBecomeFlatButtonsInTheirOrderUnderTheTitleBar) {
    MenuFramedForm form(nullptr);
    skin::TqelMenuBar* bar = form.frame->MenuBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->Flat);
    EXPECT_TRUE(bar->ShowCaptions);
    ASSERT_EQ(bar->ButtonCount(), 3);
    const char* captions[] = {"File", "Edit", "Help"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(bar->Button(i)->Caption(), captions[i]);
        EXPECT_EQ(bar->Button(i)->MenuItem(), form.menu->Items()->Item(i));
        EXPECT_EQ(bar->ButtonRect(i).Height(), 22) << i;
    }
    EXPECT_EQ(bar->Height(), 22);
    EXPECT_EQ(bar->Top(), form.frame->TitleBar()->Height());
    EXPECT_EQ(bar->Color(), form.frame->MenuBarColor());
    EXPECT_EQ(form.frame->MenuBarColor(), form.frame->Color());

    form.frame->SetMenuBarHeight(30);
    EXPECT_EQ(bar->Height(), 30);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(bar->ButtonRect(i).Height(), 30) << i;
    form.frame->SetMenuBarColor(ui::clRed);
    EXPECT_EQ(bar->Color(), ui::clRed);
}

TEST(QelformMenuBarTest, BarGoesWithTheMenu) {
    MenuFramedForm form(nullptr);
    form.frame->SetMenu(nullptr);
    EXPECT_EQ(form.frame->MenuBar(), nullptr);
    form.frame->SetMenu(form.menu);
    ASSERT_NE(form.frame->MenuBar(), nullptr);
    EXPECT_EQ(form.frame->MenuBar()->ButtonCount(), 3);
    delete form.menu;
    EXPECT_EQ(form.frame->MenuBar(), nullptr);
    EXPECT_EQ(form.frame->Menu(), nullptr);
}

// Draws one button of the bar into a white bitmap of the bar's size.
struct Drawn {
    ui::TBitmap bitmap;
    ui::TRect button;
    bool defaultDraw;
};

void DrawButton(skin::TqelMenuBar& bar, int index, ui::TCustomDrawState state, Drawn& out) {
    out.bitmap.SetSize(bar.Width(), bar.Height());
    out.button = bar.ButtonRect(index);
    out.defaultDraw = bar.DrawButton(bar.Button(index), state, out.bitmap.Canvas());
}

TEST(QelformMenuBarTest, HotAndDroppedDownButtonsAreFramedInTheMenuColours) {
    MenuFramedForm form(nullptr);
    skin::TqelMenuBar& bar = *form.frame->MenuBar();
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF frame = Theme(TqelUIStyle::WinXP, skin::theme::kMenuSelectedBorderColor),
                   fill = Theme(TqelUIStyle::WinXP, skin::theme::kMenuSelectedColor),
                   shadow = Theme(TqelUIStyle::WinXP, skin::theme::kMenuOpenStripColor);
    ASSERT_NE(frame, fill);

    Drawn plain;
    DrawButton(bar, 1, 0, plain);
    EXPECT_TRUE(plain.defaultDraw);
    EXPECT_EQ(plain.bitmap.Pixel(plain.button.Left + 1, plain.button.Top + 1), white);

    Drawn hot;
    DrawButton(bar, 1, ui::cdsHot, hot);
    const ui::TRect& h = hot.button;
    ASSERT_GT(h.Width(), 10);
    EXPECT_FALSE(hot.defaultDraw);
    EXPECT_EQ(hot.bitmap.Pixel(h.Left, h.Top), frame);
    EXPECT_EQ(hot.bitmap.Pixel(h.Right - 1, h.Bottom - 1), frame);
    EXPECT_EQ(hot.bitmap.Pixel(h.Left + 1, h.Top + 1), fill);
    EXPECT_EQ(hot.bitmap.Pixel(h.Right - 2, h.Bottom - 2), fill);
    EXPECT_EQ(hot.bitmap.Pixel(h.Left - 1, h.Top + 1), white);

    // Dropped down: the frame ends two pixels short and a two-pixel strip runs below its top.
    Drawn open;
    DrawButton(bar, 1, ui::cdsSelected | ui::cdsHot, open);
    const ui::TRect& o = open.button;
    EXPECT_FALSE(open.defaultDraw);
    EXPECT_EQ(open.bitmap.Pixel(o.Left, o.Top), frame);
    EXPECT_EQ(open.bitmap.Pixel(o.Right - 3, o.Top + 1), frame);
    EXPECT_EQ(open.bitmap.Pixel(o.Right - 4, o.Top + 1), fill);
    EXPECT_EQ(open.bitmap.Pixel(o.Right - 2, o.Top + 1), white);
    EXPECT_EQ(open.bitmap.Pixel(o.Right - 1, o.Top + 1), white);
    for (int y : {o.Top + 2, o.Top + 10, o.Bottom - 1}) {
        EXPECT_EQ(open.bitmap.Pixel(o.Right - 2, y), shadow) << y;
        EXPECT_EQ(open.bitmap.Pixel(o.Right - 1, y), shadow) << y;
    }
}

TEST(QelformMenuBarTest, TheSkinnedMenusStyleAndFontDecide) {
    MenuFramedForm form(nullptr);
    skin::TqelMenuBar& bar = *form.frame->MenuBar();
    form.menu->SetUIStyle(TqelUIStyle::DeepBlue);
    form.menu->SetUseSystemFont(false);
    form.menu->FontName = "Arial";
    form.menu->FontSize = 12;
    form.menu->FontColor = ui::clRed;
    form.frame->RepaintMenuBar();
    EXPECT_EQ(bar.Font().Name, "Arial");
    EXPECT_EQ(bar.Font().Size(), 12);

    Drawn hot;
    DrawButton(bar, 0, ui::cdsHot, hot);
    EXPECT_EQ(hot.bitmap.Pixel(hot.button.Left, hot.button.Top), Theme(TqelUIStyle::DeepBlue, skin::theme::kMenuSelectedBorderColor));
    EXPECT_EQ(hot.bitmap.Canvas().Font.Name, "Arial");
    EXPECT_EQ(hot.bitmap.Canvas().Font.Color, skin::GetThemeColor(TqelUIStyle::DeepBlue, skin::theme::kMenuSelectedFontColor));
    // A button left to the bar is drawn in the menu's font and colour.
    Drawn plain;
    DrawButton(bar, 0, 0, plain);
    EXPECT_EQ(plain.bitmap.Canvas().Font.Name, "Arial");
    EXPECT_EQ(plain.bitmap.Canvas().Font.Color, ui::clRed);
}

TEST(QelformMenuBarTest, MacOSDrawsItsPicturesOverTheBarAndUnderHotButtons) {
    MenuFramedForm form(nullptr);
    form.frame->SetUIStyle(TqelUIStyle::MacOS);
    ASSERT_EQ(form.menu->UIStyle(), TqelUIStyle::MacOS);
    skin::TqelMenuBar& bar = *form.frame->MenuBar();

    Drawn hot;
    DrawButton(bar, 2, ui::cdsHot, hot);
    const ui::TRect& r = hot.button;
    EXPECT_FALSE(hot.defaultDraw);
    ui::TBitmap select, expected;
    skin::LoadSkinBitmap(select, "MACOS_MENU_SELECT");
    ASSERT_FALSE(select.Empty());
    expected.SetSize(r.Width(), r.Height());
    expected.Canvas().StretchDraw({0, 0, r.Width(), r.Height()}, select);
    for (POINT p : {POINT{0, 0}, POINT{r.Width() - 1, r.Height() - 1}, POINT{1, r.Height() / 2}}) {
        EXPECT_EQ(hot.bitmap.Pixel(r.Left + p.x, r.Top + p.y), expected.Pixel(p.x, p.y)) << p.x << "," << p.y;
    }

    ui::TBitmap barPicture, background, stretched;
    skin::LoadSkinBitmap(barPicture, "MACOS_MENU_BAR");
    ASSERT_FALSE(barPicture.Empty());
    const ui::TRect area{0, 0, bar.Width(), bar.Height()};
    background.SetSize(area.Width(), area.Height());
    EXPECT_TRUE(bar.DrawBar(background.Canvas(), area));
    stretched.SetSize(area.Width(), area.Height());
    stretched.Canvas().StretchDraw(area, barPicture);
    for (int y = 0; y < area.Height(); y += 5) EXPECT_EQ(background.Pixel(7, y), stretched.Pixel(7, y)) << y;

    // Other styles leave the bar in its own colour.
    form.frame->SetUIStyle(TqelUIStyle::WinXP);
    form.frame->SetMenuBarColor(ui::clRed);
    background.SetSize(area.Width(), area.Height());
    bar.DrawBar(background.Canvas(), area);
    for (POINT p : {POINT{0, 0}, POINT{7, 3}, POINT{area.Width() - 1, area.Height() - 1}})
        EXPECT_EQ(background.Pixel(p.x, p.y), RGB(255, 0, 0)) << p.x << "," << p.y;
}

TEST(QelformMenuBarTest, DrawingTheBarHoldsNoGdiObjects) {
    MenuFramedForm form(nullptr);
    skin::TqelMenuBar& bar = *form.frame->MenuBar();
    Drawn d;
    const auto round = [&] {
        for (TqelUIStyle style : {TqelUIStyle::MacOS, TqelUIStyle::WinXP}) {
            form.frame->SetUIStyle(style);
            DrawButton(bar, 0, ui::cdsHot, d);
            DrawButton(bar, 1, ui::cdsSelected, d);
            bar.DrawBar(d.bitmap.Canvas(), {0, 0, bar.Width(), bar.Height()});
        }
    };
    round();
    const int before = GdiObjectCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 100; ++i) round();
    EXPECT_LE(GdiObjectCount(), before);
}

}  // namespace
