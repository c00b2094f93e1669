// The skinned progress bar placed by a form description, painted into memory bitmaps and checked
// at the pixels of the frame, the filled part, the rest and the caption.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "Forms.h"
#include "GdiObjects.h"
#include "Qelprogressbar.h"
#include "Qelregister.h"

namespace {

using skin::TqelProgressBar;
using skin::TqelProgressBarOrientation;
using skin::TqelUIStyle;

constexpr COLORREF kFace = RGB(0xE8, 0xE8, 0xE8), kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0),
                   kBlue = RGB(0, 0, 255), kGreen = RGB(0, 128, 0), kWhite = RGB(255, 255, 255);

class BarForm : public ui::TForm {
public:
    explicit BarForm(ui::TComponent* owner) : ui::TForm(owner) {
        skin::RegisterSkinClasses();
        InitFromText(R"(object BarForm: TForm
  object Bar1: TqelProgressBar
    Left = 8
    Top = 8
    Width = 150
    Height = 12
    UIStyle = DeepBlue
    CaptionColor = clRed
    ShowCaption = False
    Max = 100
    Min = 0
    Position = 50
    Orientation = qelHorizontal
  end
end)");
        bar = ui::FindAs<TqelProgressBar>(*this, "Bar1");
    }
    void Paint(ui::TBitmap& target) {
        target.SetSize(bar->Width(), bar->Height());
        bar->PaintTo(target.Canvas());
    }
    TqelProgressBar* bar = nullptr;
};

// Custom style with the user's own look: a 10 x 2 picture (its top row red, its bottom row blue)
// and green for the unfilled part.
void UserLook(TqelProgressBar& bar) {
    bar.SetUIStyle(TqelUIStyle::Custom);
    ui::TBitmap picture;
    picture.SetSize(10, 2);
    for (int x = 0; x < 10; ++x) {
        picture.SetPixel(x, 0, kRed);
        picture.SetPixel(x, 1, kBlue);
    }
    bar.SetPicture(picture);
    bar.SetColor(kGreen);
}

TEST(QelprogressbarTest, DescriptionGivesTheStyleLook) {
    BarForm form(ui::Application);
    TqelProgressBar& bar = *form.bar;
    EXPECT_EQ(bar.Width(), 150);
    EXPECT_EQ(bar.Height(), 12);
    EXPECT_EQ(bar.Caption(), "50%");
    EXPECT_EQ(bar.Color(), ui::TColor(0xE8E8E8));
    EXPECT_EQ(bar.BorderColor(), ui::TColor(0));
    EXPECT_EQ(bar.Picture.Bitmap.Width(), 1);
    EXPECT_EQ(bar.Picture.Bitmap.Height(), 10);
}

TEST(QelprogressbarTest, HorizontalBarFillsItsShareFromTheLeft) {
    BarForm form(ui::Application);
    ui::TBitmap shot;
    form.Paint(shot);
    // 149 * 50 / 100 = 74: the picture over columns 1..73, the face colour from 74 on.
    const ui::TBitmap& picture = form.bar->Picture.Bitmap;
    for (int y = 1; y <= 10; ++y) {
        EXPECT_EQ(shot.Pixel(1, y), picture.Pixel(0, y - 1)) << y;
        EXPECT_EQ(shot.Pixel(73, y), picture.Pixel(0, y - 1)) << y;
        EXPECT_EQ(shot.Pixel(74, y), kFace) << y;
        EXPECT_EQ(shot.Pixel(148, y), kFace) << y;
    }
    for (int x : {0, 60, 149}) {
        EXPECT_EQ(shot.Pixel(x, 0), kBlack);
        EXPECT_EQ(shot.Pixel(x, 11), kBlack);
    }
    EXPECT_EQ(shot.Pixel(0, 5), kBlack);
    EXPECT_EQ(shot.Pixel(149, 5), kBlack);
}

TEST(QelprogressbarTest, CaptionIsCentredInItsColour) {
    BarForm form(ui::Application);
    form.bar->SetShowCaption(true);
    ui::TBitmap shot;
    form.Paint(shot);
    int left = 150, right = -1;
    for (int x = 0; x < 150; ++x) {
        for (int y = 0; y < 12; ++y) {
            if (shot.Pixel(x, y) == kRed) left = std::min(left, x), right = std::max(right, x);
        }
    }
    ASSERT_GE(right, 0) << "no caption drawn";
    // Centred within rounding and the glyphs' own side bearings.
    EXPECT_LE(std::abs((left + right + 1) - 150), 4) << left << ".." << right;
}

struct Range {
    int min, max, position;
    int width;  // of 149 pixels
    long long percent;
    const char* caption;
};

TEST(QelprogressbarTest, WidthAndPercentTable) {
    const Range cases[] = {
        {0, 100, 50, 74, 50, "50%"},
        {0, 100, 0, 0, 0, "0%"},               // at Min: nothing filled
        {0, 100, 100, 149, 100, "100%"},
        {0, 100, 150, 149, 150, "150%"},       // past Max: full, not clamped
        {0, 100, -20, 0, -20, "-20%"},         // below Min: empty, negative
        {10, 10, 10, 0, 0, "0%"},              // empty range
        {10, 10, 50, 0, 0, "0%"},
        {20, 10, 15, 0, 0, "0%"},              // Max below Min
        {-2000000000, 2000000000, 0, 74, 50, "50%"},  // a range beyond 32 bits
        {0, INT_MAX, INT_MAX / 4, 37, 24, "24%"},
        {0, 1, INT_MAX, 149, 214748364700LL, "214748364700%"},
    };
    BarForm form(ui::Application);
    TqelProgressBar& bar = *form.bar;
    for (const Range& c : cases) {
        bar.SetMin(INT_MIN);
        bar.SetMax(c.max);
        bar.SetMin(c.min);
        bar.SetPosition(c.position);
        SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " at " << c.position);
        EXPECT_EQ(bar.GetWidthFromPosition(149), c.width);
        EXPECT_EQ(bar.GetPercentFromPosition(), c.percent);
        EXPECT_EQ(bar.Caption(), c.caption);
    }
}

TEST(QelprogressbarTest, EmptyRangePaintsAnEmptyBar) {
    BarForm form(ui::Application);
    form.bar->SetMax(0);
    form.bar->SetPosition(0);
    ui::TBitmap shot;
    form.Paint(shot);
    EXPECT_EQ(form.bar->Caption(), "0%");
    for (int x = 1; x < 149; ++x) EXPECT_EQ(shot.Pixel(x, 5), kFace) << x;
}

TEST(QelprogressbarTest, OrientationTurnsTheBarAndKeepsItsThickness) {
    BarForm form(ui::Application);
    TqelProgressBar& bar = *form.bar;
    bar.SetHeight(20);
    EXPECT_EQ(bar.Height(), 12);
    bar.SetOrientation(TqelProgressBarOrientation::Vertical);
    EXPECT_EQ(bar.Width(), 12);
    EXPECT_EQ(bar.Height(), 150);
    EXPECT_EQ(bar.Picture.Bitmap.Width(), 10);  // the vertical strip of the style
    EXPECT_EQ(bar.Picture.Bitmap.Height(), 1);
    bar.SetWidth(30);
    EXPECT_EQ(bar.Width(), 12);
    bar.SetHeight(90);
    EXPECT_EQ(bar.Height(), 90);
}

TEST(QelprogressbarTest, VerticalBarFillsFromTheBottomUpsideDownWithoutGaps) {
    BarForm form(ui::Application);
    TqelProgressBar& bar = *form.bar;
    UserLook(bar);
    bar.SetOrientation(TqelProgressBarOrientation::Vertical);
    bar.SetShowCaption(true);
    ui::TBitmap shot;
    form.Paint(shot);
    // 149 * 50 / 100 = 74 rows filled: 75..148; the band 1..74 in the colour.
    EXPECT_EQ(shot.Pixel(5, 148), kRed);  // the picture's top row at the bottom
    EXPECT_EQ(shot.Pixel(5, 75), kBlue);
    EXPECT_EQ(shot.Pixel(5, 74), kGreen);
    EXPECT_EQ(shot.Pixel(5, 1), kGreen);
    for (int y = 1; y < 149; ++y) {
        const COLORREF c = shot.Pixel(5, y);
        EXPECT_TRUE(c == kRed || c == kBlue || c == kGreen) << y;
    }
    for (int y = 0; y < 150; y += 149) EXPECT_EQ(shot.Pixel(5, y), kBlack);
    EXPECT_FALSE(bar.ShowCaption());
    bar.SetShowCaption(true);
    form.Paint(shot);
    EXPECT_FALSE(bar.ShowCaption());
}

TEST(QelprogressbarTest, FullVerticalBarKeepsTheTopFrame) {
    BarForm form(ui::Application);
    form.bar->SetOrientation(TqelProgressBarOrientation::Vertical);
    form.bar->SetPosition(100);
    ui::TBitmap shot;
    form.Paint(shot);
    EXPECT_EQ(shot.Pixel(5, 0), kBlack);
    EXPECT_NE(shot.Pixel(5, 1), kFace);
    EXPECT_NE(shot.Pixel(5, 1), kWhite);
}

TEST(QelprogressbarTest, CustomKeepsTheUsersLook) {
    BarForm form(ui::Application);
    TqelProgressBar& bar = *form.bar;
    UserLook(bar);
    bar.SetBorderColor(kBlue);
    bar.SetOrientation(TqelProgressBarOrientation::Vertical);
    bar.SetOrientation(TqelProgressBarOrientation::Horizontal);
    bar.FollowContainerStyle(TqelUIStyle::WinXP);
    EXPECT_EQ(bar.UIStyle(), TqelUIStyle::Custom);
    EXPECT_EQ(bar.Color(), ui::TColor(kGreen));
    EXPECT_EQ(bar.BorderColor(), ui::TColor(kBlue));
    ASSERT_EQ(bar.Picture.Bitmap.Height(), 2);
    EXPECT_EQ(bar.Picture.Bitmap.Pixel(0, 0), kRed);
    bar.SetUIStyle(TqelUIStyle::WinXP);
    EXPECT_EQ(bar.Color(), ui::TColor(0xDEEBEF));
    EXPECT_EQ(bar.BorderColor(), ui::TColor(0x686868));
}

TEST(QelprogressbarTest, PaintingHoldsNoGdiObjects) {
    BarForm form(ui::Application);
    form.bar->SetShowCaption(true);
    ui::TBitmap shot;
    form.Paint(shot);
    const int before = GdiObjectCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 100; ++i) {
        form.bar->SetPosition(i);
        form.Paint(shot);
    }
    form.bar->SetOrientation(TqelProgressBarOrientation::Vertical);
    for (int i = 0; i < 100; ++i) {
        form.bar->SetPosition(i);
        form.Paint(shot);
    }
    EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
