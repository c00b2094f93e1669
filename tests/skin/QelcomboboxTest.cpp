// The flat combo box placed by a form description: its drop-down button drawn into a memory
// bitmap as big as the control and checked at the triangle and the button colour, enabled and
// disabled, in MacOS with its picture, and the colours the styles give or keep.
#include <gtest/gtest.h>

#include "Forms.h"
#include "GdiObjects.h"
#include "Qelcombobox.h"
#include "Qelregister.h"

namespace {

using skin::TqelComboBox;
using skin::TqelUIStyle;

constexpr COLORREF kButton = RGB(0xE8, 0xE8, 0xE8), kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255),
                   kGrey = RGB(0x80, 0x80, 0x80), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

class ComboForm : public ui::TForm {
public:
    explicit ComboForm(ui::TComponent* owner) : ui::TForm(owner) {
        skin::RegisterSkinClasses();
        InitFromText(R"(object ComboForm: TForm
  Width = 300
  Height = 200
  object Combo1: TqelComboBox
    Left = 8
    Top = 8
    Width = 120
    Height = 21
    UIStyle = DeepBlue
    Style = csDropDownList
    Items.Strings = (
      'One'
      'Two')
  end
end)");
        combo = ui::FindAs<TqelComboBox>(*this, "Combo1");
    }
    void DrawButton(ui::TBitmap& shot) {
        shot.SetSize(combo->Width(), combo->Height());
        shot.Canvas().Brush.Color = ui::TColor(kBlue);
        shot.Canvas().FillRect({0, 0, combo->Width(), combo->Height()});
        combo->DrawButton(shot.Canvas());
    }
    TqelComboBox* combo = nullptr;
};

// The button is x 102..119; the triangle's tip row at y 9 from x 106 to 112, its point at (109, 12).
TEST(QelcomboboxTest, ButtonBlockWithTheArrowPointingDown) {
    ComboForm form(ui::Application);
    ui::TBitmap shot;
    form.DrawButton(shot);
    EXPECT_EQ(shot.Pixel(101, 0), kBlue);  // left of the button: untouched
    for (auto [x, y] : {std::pair{102, 0}, {119, 20}, {105, 9}, {113, 9}, {109, 13}, {106, 10}})
        EXPECT_EQ(shot.Pixel(x, y), kButton) << x << "," << y;
    for (auto [x, y] : {std::pair{106, 9}, {112, 9}, {107, 10}, {111, 10}, {108, 11}, {110, 11}, {109, 12}})
        EXPECT_EQ(shot.Pixel(x, y), kBlack) << x << "," << y;
}

TEST(QelcomboboxTest, DisabledArrowIsGreyWithAWhiteCopyBelowRight) {
    ComboForm form(ui::Application);
    form.combo->SetEnabled(false);
    ui::TBitmap shot;
    form.DrawButton(shot);
    EXPECT_EQ(shot.Pixel(106, 9), kGrey);
    EXPECT_EQ(shot.Pixel(109, 12), kGrey);
    EXPECT_EQ(shot.Pixel(113, 10), kWhite);
    EXPECT_EQ(shot.Pixel(110, 13), kWhite);
    EXPECT_EQ(shot.Pixel(114, 10), kButton);
}

TEST(QelcomboboxTest, MacOSDrawsThePictureUnderTheArrow) {
    ComboForm form(ui::Application);
    form.combo->SetButtonColor(ui::TColor(kRed));
    form.combo->SetUIStyle(TqelUIStyle::MacOS);
    ui::TBitmap picture, shot;
    ASSERT_TRUE(picture.LoadFromResourceName("MACOS_COMBOBOX_BUTTON"));
    form.DrawButton(shot);
    EXPECT_EQ(shot.Pixel(102, 0), kBlue);  // above the picture, which starts 2 lower
    EXPECT_EQ(shot.Pixel(102, 2), picture.Pixel(0, 0));
    EXPECT_EQ(shot.Pixel(117, 18), picture.Pixel(15, 16));
    EXPECT_EQ(shot.Pixel(106, 9), RGB(0x7F, 0x7F, 0x7F));  // the arrow in MacOS's border colour
}

TEST(QelcomboboxTest, StyleSetsTheColoursAndCustomKeepsThem) {
    ComboForm form(ui::Application);
    TqelComboBox& combo = *form.combo;
    combo.SetButtonColor(ui::TColor(kRed));
    combo.SetArrowColor(ui::TColor(kRed));
    combo.SetBorderColor(ui::TColor(kRed));
    combo.SetUIStyle(TqelUIStyle::BlueGlass);
    EXPECT_EQ(combo.ButtonColor(), ui::TColor(0xE9D6D5));
    EXPECT_EQ(combo.ArrowColor(), ui::TColor(0));
    EXPECT_EQ(combo.BorderColor(), ui::TColor(0));
    combo.SetButtonColor(ui::TColor(kRed));
    combo.FollowContainerStyle(TqelUIStyle::Custom);
    EXPECT_EQ(combo.UIStyle(), TqelUIStyle::Custom);
    EXPECT_EQ(combo.ButtonColor(), ui::TColor(kRed));
    EXPECT_EQ(combo.BorderColor(), ui::TColor(0));
    combo.FollowContainerStyle(TqelUIStyle::MacOS);
    EXPECT_EQ(combo.BorderColor(), ui::TColor(0x7F7F7F));
}

TEST(QelcomboboxTest, WindowPaintingHoldsNoGdiObjects) {
    ComboForm form(ui::Application);
    form.HandleNeeded();
    HWND window = form.combo->Handle();
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    ui::TBitmap shot;
    form.DrawButton(shot);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const int before = GdiObjectCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 50; ++i) {
        form.combo->SetUIStyle(i % 2 ? TqelUIStyle::MacOS : TqelUIStyle::DeepBlue);
        form.DrawButton(shot);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    EXPECT_EQ(GdiObjectCount(), before);
    ShowWindow(form.Handle(), SW_HIDE);
}

}  // namespace
