// The skinned main menu streamed from a description with the main window's stored values, its
// items drawn into 150 x 21 memory bitmaps and checked at the pixels that matter.
#include <gtest/gtest.h>

#include <string>

#include "Forms.h"
#include "GdiObjects.h"
#include "ImgList.h"
#include "Qelform.h"
#include "Qelmainmenu.h"
#include "Qelregister.h"
#include "Reader.h"

namespace {

using skin::TqelMainMenu;
using skin::TqelUIStyle;

constexpr COLORREF kBar = RGB(0xD6, 0xD3, 0xCE), kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0),
                   kSelBorder = RGB(0x31, 0x69, 0xC6), kSelFill = RGB(0xC6, 0xD3, 0xEF),
                   kSeparator = RGB(0x84, 0x82, 0x84), kDisabled = RGB(0x80, 0x80, 0x80), kPicture = RGB(0, 160, 0);

class MenuForm : public ui::TForm {
public:
    explicit MenuForm(ui::TComponent* owner) : ui::TForm(owner) {
        skin::RegisterSkinClasses();
        Publish("OldDraw", &MenuForm::OldDraw);
        InitFromText(R"(object MenuForm: TForm
  object Pictures: TImageList
    Width = 16
    Height = 16
  end
  object qelMainMenu1: TqelMainMenu
    Images = Pictures
    OwnerDraw = True
    UIStyle = DeepBlue
    MenuItemHeight = 21
    SeparatorHeight = 5
    BarWidth = 26
    BarColor = $00CED3D6
    Color = clWhite
    SeparatorColor = $00848284
    SelectedBorderColor = $00C66931
    SelectedColor = $00EFD3C6
    SelectedFontColor = clBlack
    FontColor = clBlack
    BorderColor = clBlack
    FlatMenu = False
    FontName = 'MS Sans Serif'
    FontSize = 8
    FontCharset = DEFAULT_CHARSET
    UseSystemFont = True
    object File1: TMenuItem
      Caption = 'File'
      object Open1: TMenuItem
        Caption = 'Open'
        ImageIndex = 0
        OnDrawItem = OldDraw
      end
      object Line1: TMenuItem
        Caption = '-'
      end
      object Off1: TMenuItem
        Caption = 'Open'
        Enabled = False
      end
      object Mark1: TMenuItem
        Caption = 'Mark'
        Checked = True
      end
      object MarkPicture1: TMenuItem
        Caption = 'Mark'
        Checked = True
        ImageIndex = 0
      end
      object Main1: TMenuItem
        Caption = 'Main'
        Default = True
      end
      object Plain1: TMenuItem
        Caption = 'Main'
      end
      object Copy1: TMenuItem
        Caption = 'Copy'
        ShortCut = 16451
      end
      object Beyond1: TMenuItem
        Caption = 'Beyond'
        ImageIndex = 5
      end
      object Below1: TMenuItem
        Caption = 'Below'
        Checked = True
        ImageIndex = -2
      end
    end
  end
end)");
        menu = ui::FindAs<TqelMainMenu>(*this, "qelMainMenu1");
        pictures = ui::FindAs<ui::TImageList>(*this, "Pictures");
        ui::TBitmap picture;
        picture.SetSize(16, 16);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) picture.SetPixel(x, y, kPicture);
        }
        pictures->AddMasked(picture, ui::clFuchsia);
    }
    void OldDraw(ui::TComponent*, ui::TCanvas*, ui::TRect, bool) { ++oldDraws; }

    ui::TMenuItem* Item(const char* name) { return ui::FindAs<ui::TMenuItem>(*this, name); }
    // Draws one item into a fresh 150 x 21 bitmap, the way the menu's owner window does.
    void Draw(ui::TBitmap& target, const char* name, bool selected) {
        target.SetSize(150, 21);
        ui::TCanvas& canvas = target.Canvas();
        Item(name)->DoDrawItem(canvas, {0, 0, 150, 21}, selected);
    }

    TqelMainMenu* menu = nullptr;
    ui::TImageList* pictures = nullptr;
    int oldDraws = 0;
};

int CountColour(const ui::TBitmap& b, COLORREF c, int x0 = 0, int x1 = 150, int y0 = 0, int y1 = 21) {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) n += b.Pixel(x, y) == c;
    }
    return n;
}

TEST(QelmainmenuTest, StoredValuesWinOverTheStyle) {
    MenuForm form(ui::Application);
    TqelMainMenu& m = *form.menu;
    EXPECT_EQ(m.UIStyle(), TqelUIStyle::DeepBlue);
    EXPECT_EQ(m.MenuItemHeight(), 21);
    EXPECT_EQ(m.SeparatorHeight(), 5);
    EXPECT_EQ(m.BarWidth, 26);
    EXPECT_EQ(m.BarColor, 0xCED3D6);
    EXPECT_EQ(m.Color, 0xFFFFFF);
    EXPECT_EQ(m.SeparatorColor, 0x848284);
    EXPECT_EQ(m.SelectedBorderColor, 0xC66931);  // the WinXP pair, not DeepBlue's 0xA04A44
    EXPECT_EQ(m.SelectedColor, 0xEFD3C6);
    EXPECT_EQ(m.SelectedFontColor, 0);
    EXPECT_EQ(m.FontColor, 0);
    EXPECT_EQ(m.BorderColor, 0);
    EXPECT_FALSE(m.FlatMenu);
    EXPECT_EQ(m.FontName, "MS Sans Serif");
    EXPECT_EQ(m.FontSize, 8);
    EXPECT_EQ(m.FontCharset, DEFAULT_CHARSET);
    EXPECT_TRUE(m.UseSystemFont());
    EXPECT_TRUE(m.OwnerDraw());
    EXPECT_EQ(m.Images(), form.pictures);
}

TEST(QelmainmenuTest, LoadingHooksEveryItemAndReplacesTheirHandlers) {
    MenuForm form(ui::Application);
    for (const char* name : {"File1", "Open1", "Line1", "Below1"}) {
        EXPECT_TRUE(form.Item(name)->OnDrawItem) << name;
        EXPECT_TRUE(form.Item(name)->OnMeasureItem) << name;
    }
    ui::TBitmap target;
    form.Draw(target, "Open1", false);
    EXPECT_EQ(form.oldDraws, 0);
}

TEST(QelmainmenuTest, NormalItem) {
    MenuForm form(ui::Application);
    ui::TBitmap t;
    form.Draw(t, "Open1", false);
    EXPECT_EQ(t.Pixel(0, 0), kBar);
    EXPECT_EQ(t.Pixel(25, 20), kBar);
    EXPECT_EQ(t.Pixel(26, 0), kWhite);
    EXPECT_EQ(t.Pixel(149, 20), kWhite);
    EXPECT_EQ(t.Pixel(12, 11), kPicture);  // its image at (4, 3)
    EXPECT_EQ(t.Pixel(4, 3), kPicture);
    EXPECT_EQ(t.Pixel(3, 3), kBar);
    EXPECT_GT(CountColour(t, kBlack, 30, 150, 4, 21), 10);  // the caption
    EXPECT_EQ(CountColour(t, kBlack, 0, 30), 0);
}

TEST(QelmainmenuTest, SelectedItemIsFilledAndFramed) {
    MenuForm form(ui::Application);
    ui::TBitmap t;
    form.Draw(t, "Open1", true);
    EXPECT_EQ(t.Pixel(0, 0), kSelBorder);
    EXPECT_EQ(t.Pixel(149, 20), kSelBorder);
    EXPECT_EQ(t.Pixel(1, 1), kSelFill);
    EXPECT_EQ(t.Pixel(148, 19), kSelFill);
    EXPECT_EQ(t.Pixel(12, 11), kPicture);
    EXPECT_GT(CountColour(t, kBlack, 30, 150, 4, 21), 10);
}

TEST(QelmainmenuTest, DisabledItemUnderTheMouseKeepsTheNormalBackground) {
    MenuForm form(ui::Application);
    ui::TBitmap t;
    form.Draw(t, "Off1", true);
    EXPECT_EQ(t.Pixel(0, 0), kBar);
    EXPECT_EQ(t.Pixel(149, 20), kWhite);
    EXPECT_GT(CountColour(t, kDisabled), 10);
    EXPECT_EQ(CountColour(t, kBlack), 0);
}

TEST(QelmainmenuTest, CheckedItemWithoutImageShowsTheCheckMark) {
    MenuForm form(ui::Application);
    ui::TBitmap t;
    form.Draw(t, "Mark1", false);
    EXPECT_GT(CountColour(t, kBlack, 4, 20, 3, 19), 5);  // the mark, its white masked out
    EXPECT_EQ(t.Pixel(4, 3), kBar);
    EXPECT_EQ(t.Pixel(2, 1), kBar);  // no box
}

TEST(QelmainmenuTest, CheckedItemWithImageShowsItInABox) {
    MenuForm form(ui::Application);
    ui::TBitmap t;
    form.Draw(t, "MarkPicture1", false);
    EXPECT_EQ(t.Pixel(2, 1), kBlack);
    EXPECT_EQ(t.Pixel(20, 19), kBlack);
    EXPECT_EQ(t.Pixel(2, 19), kBlack);
    EXPECT_EQ(t.Pixel(3, 2), kSelFill);
    EXPECT_EQ(t.Pixel(19, 18), kPicture);
    EXPECT_EQ(CountColour(t, kPicture, 4, 20, 3, 19), 16 * 16);  // no check mark over the image
    EXPECT_EQ(t.Pixel(21, 10), kBar);
}

TEST(QelmainmenuTest, ImageIndexOutsideTheListDrawsNoImage) {
    MenuForm form(ui::Application);
    ui::TBitmap t;
    form.Draw(t, "Beyond1", false);
    EXPECT_EQ(CountColour(t, kPicture), 0);
    // Checked with an index below 0: the check mark, no box.
    form.Draw(t, "Below1", false);
    EXPECT_EQ(CountColour(t, kPicture), 0);
    EXPECT_EQ(t.Pixel(2, 1), kBar);
    EXPECT_GT(CountColour(t, kBlack, 4, 20, 3, 19), 5);
}

TEST(QelmainmenuTest, DefaultItemIsBold) {
    MenuForm form(ui::Application);
    ui::TBitmap bold, plain;
    form.Draw(bold, "Main1", false);
    form.Draw(plain, "Plain1", false);
    EXPECT_GT(CountColour(bold, kBlack), CountColour(plain, kBlack));
}

TEST(QelmainmenuTest, ShortcutTextStandsAtTheRight) {
    MenuForm form(ui::Application);
    ui::TBitmap t;
    form.Draw(t, "Copy1", false);
    EXPECT_GT(CountColour(t, kBlack, 90, 134, 4, 21), 5);
    EXPECT_EQ(CountColour(t, kBlack, 134, 150), 0);
}

TEST(QelmainmenuTest, SeparatorIsALineBelowItsTop) {
    MenuForm form(ui::Application);
    ui::TBitmap t;
    t.SetSize(150, 50);
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 150; ++x) t.SetPixel(x, y, RGB(1, 2, 3));
    }
    form.Item("Line1")->DoDrawItem(t.Canvas(), {0, 40, 150, 45}, true);
    EXPECT_EQ(t.Pixel(30, 42), kSeparator);
    EXPECT_EQ(t.Pixel(147, 42), kSeparator);
    EXPECT_EQ(t.Pixel(148, 42), kWhite);
    EXPECT_EQ(t.Pixel(29, 42), kWhite);
    EXPECT_EQ(t.Pixel(10, 42), kBar);
    EXPECT_EQ(t.Pixel(30, 41), kWhite);
    EXPECT_EQ(t.Pixel(30, 43), kWhite);
    EXPECT_EQ(t.Pixel(100, 44), kWhite);
    EXPECT_EQ(t.Pixel(100, 39), RGB(1, 2, 3));
    EXPECT_EQ(t.Pixel(100, 45), RGB(1, 2, 3));
}

TEST(QelmainmenuTest, MeasureGivesTheHeightsAndRoomForTheTexts) {
    MenuForm form(ui::Application);
    ui::TBitmap surface;
    surface.SetSize(10, 10);
    ui::TCanvas& canvas = surface.Canvas();
    int w = 0, h = 0;
    form.Item("Line1")->DoMeasureItem(canvas, w, h);
    EXPECT_EQ(h, 5);
    form.Item("Open1")->DoMeasureItem(canvas, w, h);
    EXPECT_EQ(h, 21);
    EXPECT_EQ(w, canvas.TextWidth("Open") + 26 + 40);
    form.Item("Copy1")->DoMeasureItem(canvas, w, h);
    EXPECT_EQ(w, canvas.TextWidth("Copy") + canvas.TextWidth("Ctrl+C") + 26 + 40);
}

TEST(QelmainmenuTest, NewMenuTakesTheStyleOfTheFormFrame) {
    ui::TForm plain(ui::Application);
    TqelMainMenu first(&plain);
    EXPECT_EQ(first.UIStyle(), TqelUIStyle::DeepBlue);
    EXPECT_EQ(first.SeparatorHeight(), 5);
    EXPECT_EQ(first.BarWidth, 26);
    EXPECT_EQ(first.SelectedColor, 0xA04A44);
    EXPECT_EQ(first.FontColor, 0);
    EXPECT_EQ(first.Images(), nullptr);

    ui::TForm framed(ui::Application);
    skin::TqelForm frame(&framed);
    frame.SetParent(&framed);
    frame.SetUIStyle(TqelUIStyle::WinXP);
    TqelMainMenu second(&framed);
    EXPECT_EQ(second.UIStyle(), TqelUIStyle::WinXP);
    EXPECT_EQ(second.SelectedColor, 0xEFD3C6);
    EXPECT_EQ(frame.Menu(), &second);
}

TEST(QelmainmenuTest, PlacedOnAFormItTakesTheWindowsOwnMenuBarAway) {
    skin::RegisterSkinClasses();
    ui::TForm form(ui::Application);
    ui::ReadComponentText(&form, R"(object NativeForm: TForm
  Width = 300
  Height = 200
  Menu = MainMenu1
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = 'File'
    end
  end
end
)");
    HWND window = form.Handle();
    ASSERT_NE(GetMenu(window), nullptr);
    RECT before;
    GetClientRect(window, &before);
    auto* menu = new TqelMainMenu(&form);
    EXPECT_EQ(form.Menu(), nullptr);
    EXPECT_EQ(GetMenu(window), nullptr);
    RECT after;
    GetClientRect(window, &after);
    EXPECT_GT(after.bottom, before.bottom);  // the bar's height went to the client area
    delete menu;
}

TEST(QelmainmenuTest, SettersFollowTheStyle) {
    ui::TForm plain(ui::Application);
    TqelMainMenu m(&plain);
    m.SetUIStyle(TqelUIStyle::MacOS);
    EXPECT_EQ(m.MenuItemHeight(), 20);
    EXPECT_EQ(m.SeparatorHeight(), 12);
    m.SetMenuItemHeight(30);
    m.SetSeparatorHeight(9);
    EXPECT_EQ(m.MenuItemHeight(), 20);
    EXPECT_EQ(m.SeparatorHeight(), 12);
    m.SetUIStyle(TqelUIStyle::Protein);
    m.SetMenuItemHeight(30);
    EXPECT_EQ(m.MenuItemHeight(), 30);
    m.SelectedColor = 0x123456;
    m.SetUIStyle(TqelUIStyle::Custom);
    EXPECT_EQ(m.MenuItemHeight(), 30);
    EXPECT_EQ(m.SelectedColor, 0x123456);
    EXPECT_EQ(m.UIStyle(), TqelUIStyle::Custom);
}

TEST(QelmainmenuTest, WithoutUserImagesTheCheckMarkStays) {
    MenuForm form(ui::Application);
    form.menu->SetImages(nullptr);
    EXPECT_EQ(form.menu->Images(), nullptr);
    EXPECT_NE(form.menu->ui::TMainMenu::Images(), nullptr);  // an image list stays in place
    ui::TBitmap t;
    form.Draw(t, "Open1", false);
    EXPECT_EQ(CountColour(t, kPicture), 0);
    form.Draw(t, "MarkPicture1", false);
    EXPECT_EQ(CountColour(t, kPicture), 0);
    EXPECT_EQ(t.Pixel(2, 1), kBar);
    EXPECT_GT(CountColour(t, kBlack, 4, 20, 3, 19), 5);
}

TEST(QelmainmenuTest, PaintingHoldsNoGdiObjects) {
    MenuForm form(ui::Application);
    ui::TBitmap t;
    t.SetSize(150, 21);
    auto paint = [&](int times) {
        for (int i = 0; i < times; ++i) {
            for (const char* name : {"Open1", "Line1", "MarkPicture1", "Mark1", "Main1", "Copy1"})
                form.Item(name)->DoDrawItem(t.Canvas(), {0, 0, 150, 21}, i % 2 == 0);
        }
    };
    paint(2);
    form.menu->SetUIStyle(TqelUIStyle::MacOS);  // bitmap backgrounds loaded per paint
    paint(2);
    const int before = GdiObjectCount();
    ASSERT_GT(before, 0);
    paint(100);
    form.menu->SetUIStyle(TqelUIStyle::DeepBlue);
    paint(100);
    EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
