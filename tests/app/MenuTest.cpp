// Menus built from a description: items, breaks, owner drawing through the window messages, and
// clicks by command.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Forms.h"
#include "ImgList.h"
#include "Menus.h"
#include "Reader.h"

namespace {

class MenuForm : public ui::TForm {
public:
    explicit MenuForm(ui::TComponent* owner) : ui::TForm(owner) {
        Publish("Clicked", &MenuForm::Clicked);
        Publish("Measure", &MenuForm::Measure);
        Publish("Draw", &MenuForm::Draw);
        InitFromText(R"(object MenuForm: TForm
  object Popup: TPopupMenu
    OwnerDraw = True
    object Bar: TMenuItem
      OnMeasureItem = Measure
      OnDrawItem = Draw
    end
    object First: TMenuItem
      Break = mbBreak
      Caption = 'First'
      OnClick = Clicked
    end
    object Line: TMenuItem
      Caption = '-'
    end
    object Off: TMenuItem
      Caption = 'Off'
      Enabled = False
      OnClick = Clicked
    end
  end
end)");
    }
    void Clicked(ui::TComponent* sender) { clicks.push_back(sender->Name()); }
    void Measure(ui::TComponent*, ui::TCanvas*, int& width, int& height) {
        proposedHeight = height;
        width = 5;
        height = 77;
    }
    void Draw(ui::TComponent*, ui::TCanvas* canvas, ui::TRect rect, bool selected) {
        drawn = rect;
        wasSelected = selected;
        canvas->Brush.Color = ui::clRed;
        canvas->FillRect(rect);
    }
    std::vector<std::string> clicks;
    int proposedHeight = -1;
    ui::TRect drawn;
    bool wasSelected = false;
};

TEST(MenuTest, OwnerDrawingReachesTheItemsHandlers) {
    MenuForm form(ui::Application);
    auto* popup = ui::FindAs<ui::TPopupMenu>(form, "Popup");
    auto* bar = ui::FindAs<ui::TMenuItem>(form, "Bar");
    HMENU menu = popup->Handle();
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
    GetMenuItemInfoA(menu, 1, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    EXPECT_TRUE(info.fType & MFT_MENUBREAK);
    GetMenuItemInfoA(menu, 3, TRUE, &info);
    EXPECT_TRUE(info.fState & MFS_GRAYED);

    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemData = reinterpret_cast<ULONG_PTR>(bar);
    SendMessageA(form.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(measure.itemWidth, 5u);
    EXPECT_EQ(measure.itemHeight, 77u);
    EXPECT_GT(form.proposedHeight, 0);

    ui::TBitmap target;
    target.SetSize(40, 40);
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemData = reinterpret_cast<ULONG_PTR>(bar);
    draw.itemState = ODS_SELECTED;
    draw.hDC = target.Canvas().Handle();
    draw.rcItem = RECT{2, 3, 12, 30};
    SendMessageA(form.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    EXPECT_EQ(form.drawn.Left, 2);
    EXPECT_EQ(form.drawn.Bottom, 30);
    EXPECT_TRUE(form.wasSelected);
    EXPECT_EQ(target.Pixel(5, 10), RGB(255, 0, 0));
    EXPECT_EQ(target.Pixel(20, 10), RGB(255, 255, 255));

    // Items without handlers get the library's own look: the separator draws a line in the middle.
    auto* line = ui::FindAs<ui::TMenuItem>(form, "Line");
    target.SetSize(40, 10);
    draw.itemData = reinterpret_cast<ULONG_PTR>(line);
    draw.itemState = 0;
    draw.hDC = target.Canvas().Handle();
    draw.rcItem = RECT{0, 0, 40, 10};
    SendMessageA(form.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    EXPECT_EQ(target.Pixel(20, 5), ui::ColorToRGB(ui::clBtnShadow));
    EXPECT_EQ(target.Pixel(20, 1), ui::ColorToRGB(ui::clMenu));
}

TEST(MenuTest, CommandsClickEnabledItemsOnly) {
    MenuForm form(ui::Application);
    auto* first = ui::FindAs<ui::TMenuItem>(form, "First");
    auto* off = ui::FindAs<ui::TMenuItem>(form, "Off");
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(first->Command(), 0), 0);
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(off->Command(), 0), 0);
    EXPECT_EQ(form.clicks, (std::vector<std::string>{"First"}));
    // A change of the items rebuilds the menu on its next use.
    off->SetEnabled(true);
    auto* popup = ui::FindAs<ui::TPopupMenu>(form, "Popup");
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    GetMenuItemInfoA(popup->Handle(), 3, TRUE, &info);
    EXPECT_FALSE(info.fState & MFS_GRAYED);
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(off->Command(), 0), 0);
    EXPECT_EQ(form.clicks, (std::vector<std::string>{"First", "Off"}));
}

}  // namespace
