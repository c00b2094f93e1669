// The image panel and the group box placed by a form description, painted into memory bitmaps:
// tiling, stretching, the colour fill, the parent showing through, the caption, the style pushed
// down to the children, and the group box's frame line with its caption gap.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Forms.h"
#include "GdiObjects.h"
#include "Qelform.h"
#include "Qelgroupbox.h"
#include "Qelimagepanel.h"
#include "Qelprogressbar.h"
#include "Qelregister.h"

namespace {

using skin::TqelDrawStyle;
using skin::TqelUIStyle;

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 128, 0), kBlue = RGB(0, 0, 255),
                   kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);

class PanelForm : public ui::TForm {
public:
    explicit PanelForm(ui::TComponent* owner) : ui::TForm(owner) {
        skin::RegisterSkinClasses();
        InitFromText(R"(object PanelForm: TForm
  Left = 0
  Top = 0
  Width = 400
  Height = 300
  object Frame1: TqelForm
    Left = 0
    Top = 0
    Width = 380
    Height = 260
    Color = clRed
    object Image1: TqelImagePanel
      Left = 10
      Top = 10
      Width = 40
      Height = 20
      Color = clGreen
      DrawStyle = qelTile
      Picture.Bitmap = 'MACOS_FORM_BACKGROUND'
      object Bar1: TqelProgressBar
        Left = 0
        Top = 0
        Width = 30
        Height = 12
        UIStyle = DeepBlue
      end
    end
    object Group1: TqelGroupBox
      Left = 100
      Top = 10
      Width = 185
      Height = 105
      Caption = ''
      object Bar2: TqelProgressBar
        Left = 10
        Top = 20
        Width = 30
        Height = 12
        UIStyle = DeepBlue
      end
    end
  end
end)");
        frame = ui::FindAs<skin::TqelForm>(*this, "Frame1");
        image = ui::FindAs<skin::TqelImagePanel>(*this, "Image1");
        group = ui::FindAs<skin::TqelGroupBox>(*this, "Group1");
    }
    static void Shoot(ui::TWinControl& control, ui::TBitmap& shot) {
        shot.SetSize(control.Width(), control.Height());
        control.PaintTo(shot.Canvas());
    }
    skin::TqelForm* frame = nullptr;
    skin::TqelImagePanel* image = nullptr;
    skin::TqelGroupBox* group = nullptr;
};

TEST(QelimagepanelTest, TilesFromTheCorner) {
    PanelForm form(ui::Application);
    ASSERT_EQ(form.image->Picture.Bitmap.Width(), 8);
    ui::TBitmap shot;
    PanelForm::Shoot(*form.image, shot);
    const ui::TBitmap& tile = form.image->Picture.Bitmap;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) ASSERT_EQ(shot.Pixel(x, y), tile.Pixel(x % 8, y % 8)) << x << "," << y;
    }
}

TEST(QelimagepanelTest, DrawStylesAndTheColourFill) {
    PanelForm form(ui::Application);
    skin::TqelImagePanel& image = *form.image;
    ui::TBitmap picture;
    picture.SetSize(2, 1);
    picture.SetPixel(0, 0, kRed);
    picture.SetPixel(1, 0, kBlue);
    image.SetPicture(picture);
    ui::TBitmap shot;
    image.SetDrawStyle(TqelDrawStyle::Stretch);
    PanelForm::Shoot(image, shot);
    EXPECT_EQ(shot.Pixel(0, 19), kRed);
    EXPECT_EQ(shot.Pixel(19, 0), kRed);
    EXPECT_EQ(shot.Pixel(20, 0), kBlue);
    EXPECT_EQ(shot.Pixel(39, 19), kBlue);
    image.SetDrawStyle(TqelDrawStyle::Normal);
    PanelForm::Shoot(image, shot);
    EXPECT_EQ(shot.Pixel(0, 0), kRed);
    EXPECT_EQ(shot.Pixel(1, 0), kBlue);
    EXPECT_NE(shot.Pixel(2, 0), kBlue);
    image.SetPicture(ui::TBitmap{});
    PanelForm::Shoot(image, shot);
    EXPECT_EQ(shot.Pixel(0, 0), kGreen);
    EXPECT_EQ(shot.Pixel(39, 19), kGreen);
}

TEST(QelimagepanelTest, TransparentWithoutPictureShowsTheParent) {
    PanelForm form(ui::Application);
    form.HandleNeeded();
    form.image->SetPicture(ui::TBitmap{});
    form.image->SetTransparent(true);
    ui::TBitmap shot;
    PanelForm::Shoot(*form.image, shot);
    EXPECT_EQ(shot.Pixel(0, 0), kRed);
    EXPECT_NE(shot.Pixel(20, 10), kGreen);
}

TEST(QelimagepanelTest, Caption) {
    PanelForm form(ui::Application);
    skin::TqelImagePanel& image = *form.image;
    image.SetPicture(ui::TBitmap{});
    image.Font().Color = ui::TColor(kBlack);
    image.Font().Changed();
    auto inked = [&](const ui::TRect& r) {
        ui::TBitmap shot;
        PanelForm::Shoot(image, shot);
        int count = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) count += shot.Pixel(x, y) == kBlack;
        return count;
    };
    image.SetCaption("   ");
    EXPECT_EQ(inked({0, 0, 40, 20}), 0);
    image.SetCaption("Ab");
    EXPECT_GT(inked({0, 0, 40, 20}), 0);
    EXPECT_EQ(image.TextRect().Right, 40);  // aligned: the client rect
    image.SetCaptionPosX(25);                // Y still -1: stays aligned
    EXPECT_GT(inked({0, 0, 25, 20}), 0);
    image.SetCaptionPosY(0);
    EXPECT_EQ(inked({0, 0, 25, 20}), 0);
    EXPECT_GT(inked({25, 0, 40, 20}), 0);
    EXPECT_EQ(image.TextRect().Left, 25);
}

TEST(QelimagepanelTest, AutoSizeFollowsThePictureWhereTheAlignmentAllows) {
    struct Case {
        ui::TAlign align;
        bool widthFollows, heightFollows;
    } cases[] = {{ui::TAlign::None, true, true},
                 {ui::TAlign::Client, false, false},
                 {ui::TAlign::Left, true, false},
                 {ui::TAlign::Top, false, true}};
    for (const Case& c : cases) {
        ui::TForm form(ui::Application);
        form.SetBounds(0, 0, 300, 300);
        skin::TqelImagePanel panel(&form);
        panel.SetParent(&form);
        panel.SetBounds(0, 0, 50, 60);
        panel.SetAlign(c.align);
        const int width = panel.Width(), height = panel.Height();
        panel.SetAutoSize(true);
        ui::TBitmap picture;
        picture.SetSize(17, 23);
        panel.SetPicture(picture);
        EXPECT_EQ(panel.Width(), c.widthFollows ? 17 : width) << int(c.align);
        EXPECT_EQ(panel.Height(), c.heightFollows ? 23 : height) << int(c.align);
    }
}

TEST(QelimagepanelTest, FrameStylePassesThroughPanelsAndGroupBoxes) {
    PanelForm form(ui::Application);
    auto* bar1 = ui::FindAs<skin::TqelProgressBar>(form, "Bar1");
    auto* bar2 = ui::FindAs<skin::TqelProgressBar>(form, "Bar2");
    form.frame->SetUIStyle(TqelUIStyle::WinXP);
    EXPECT_EQ(bar1->UIStyle(), TqelUIStyle::WinXP);
    EXPECT_EQ(bar2->UIStyle(), TqelUIStyle::WinXP);
    EXPECT_EQ(form.group->BorderColor(), ui::TColor(0x686868));
    EXPECT_EQ(form.group->Font().Color, ui::TColor(0xCF4602));
    EXPECT_EQ(form.group->Color(), ui::TColor(0xDEEBEF));
}

TEST(QelgroupboxTest, StartsFromTheFormsStyle) {
    ui::TForm plain(ui::Application);
    skin::TqelGroupBox box(&plain);
    EXPECT_EQ(box.Width(), 185);
    EXPECT_EQ(box.Height(), 105);
    EXPECT_EQ(box.Caption(), "qelGroupBox");
    EXPECT_TRUE(box.Transparent());
    EXPECT_EQ(box.BorderColor(), ui::TColor(0));
    const ui::TRect client = box.GetClient();
    EXPECT_EQ(client.Left, 3);
    EXPECT_EQ(client.Top, std::abs(box.Font().Height));
    EXPECT_EQ(client.Right, 183);
    EXPECT_EQ(client.Bottom, 103);
}

TEST(QelgroupboxTest, FrameLineLeavesAGapForTheCaption) {
    PanelForm form(ui::Application);
    skin::TqelGroupBox& box = *form.group;
    box.SetTransparent(false);
    box.SetColor(ui::TColor(kWhite));
    box.SetBorderColor(ui::TColor(kBlue));
    const int top = std::abs(box.Font().Height) / 2 + 1;
    ui::TBitmap shot;
    PanelForm::Shoot(box, shot);
    // Empty caption: the line stops at x 2 and starts again past x 6.
    EXPECT_EQ(shot.Pixel(0, top), kBlue);
    EXPECT_EQ(shot.Pixel(2, top), kBlue);
    for (int x = 3; x <= 6; ++x) EXPECT_EQ(shot.Pixel(x, top), kWhite) << x;
    EXPECT_EQ(shot.Pixel(7, top), kBlue);
    EXPECT_EQ(shot.Pixel(184, top), kBlue);
    EXPECT_EQ(shot.Pixel(0, 104), kBlue);
    EXPECT_EQ(shot.Pixel(184, 104), kBlue);
    EXPECT_EQ(shot.Pixel(184, 50), kBlue);
    EXPECT_EQ(shot.Pixel(0, top - 1), kWhite);

    box.SetCaption("Group");
    ui::TCanvas measure(shot.Canvas().Handle());
    measure.Font.Assign(box.Font());
    const int gapEnd = 6 + measure.TextWidth("Group");
    PanelForm::Shoot(box, shot);
    EXPECT_NE(shot.Pixel(gapEnd, top), kBlue);
    EXPECT_EQ(shot.Pixel(gapEnd + 1, top), kBlue);
}

TEST(QelgroupboxTest, EnablingReachesEveryChild) {
    PanelForm form(ui::Application);
    auto* bar2 = ui::FindAs<skin::TqelProgressBar>(form, "Bar2");
    form.group->SetEnabled(false);
    EXPECT_FALSE(bar2->Enabled());
    form.group->SetEnabled(true);
    EXPECT_TRUE(bar2->Enabled());
    bar2->SetEnabled(false);
    form.group->SetEnabled(true);
    EXPECT_TRUE(bar2->Enabled());
}

TEST(QelimagepanelTest, PaintingHoldsNoGdiObjects) {
    PanelForm form(ui::Application);
    form.HandleNeeded();
    form.group->SetCaption("Group");
    ui::TBitmap shot;
    PanelForm::Shoot(*form.group, shot);
    PanelForm::Shoot(*form.image, shot);
    const int before = GdiObjectCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 100; ++i) {
        PanelForm::Shoot(*form.group, shot);
        PanelForm::Shoot(*form.image, shot);
    }
    EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
