// The shadowed caption label drawn into a memory bitmap, and the small forms that show it.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "Mylabel.h"
#include "Plus.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;

constexpr COLORREF kBack = RGB(255, 0, 0), kFront = RGB(0, 0, 255), kBase = RGB(0, 160, 0);

Pixels Having(const ui::TBitmap& b, COLORREF c) {
    Pixels found;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Pixel(x, y) == c) found.insert({x, y});
    return found;
}

class ShadowLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        label = std::make_unique<TMyLabel>(nullptr);
        label->SetAutoSize(false);
        label->SetBounds(0, 0, 140, 24);
        label->SetColor(ui::clWhite);
        label->Font().Name = "MS Sans Serif";
        label->Font().Height = -13;
        label->Font().Color = kBase;
        label->SetCaption("Tarvexa Ripplecast");
    }
    ui::TBitmap& Render() {
        shot.SetSize(label->Width(), label->Height());
        label->PaintTo(shot.Canvas());
        return shot;
    }
    // The caption's own pixels, written once at (0, 0) in black on white.
    Pixels Glyphs() {
        ui::TBitmap ref;
        ref.SetSize(label->Width(), label->Height());
        ref.Canvas().Font.Assign(label->Font());
        ref.Canvas().Font.Color = ui::clBlack;
        ref.Canvas().Brush.Style = ui::TBrushStyle::Clear;
        ref.Canvas().TextOut(0, 0, label->Caption());
        return Having(ref, RGB(0, 0, 0));
    }

    std::unique_ptr<TMyLabel> label;
    ui::TBitmap shot;
};

TEST_F(ShadowLabelTest, FrontCaptionSitsTwoPixelsRightAndDown) {
    label->SetBkColor(kBack);
    label->SetPreColor(kFront);
    const Pixels glyphs = Glyphs();
    ASSERT_GT(glyphs.size(), 50u);
    Render();
    Pixels shifted;
    for (auto [x, y] : glyphs)
        if (x + 2 < label->Width() && y + 2 < label->Height()) shifted.insert({x + 2, y + 2});
    EXPECT_EQ(Having(shot, kFront), shifted);
    // The back caption shows wherever the front one does not cover it.
    Pixels back;
    for (const auto& p : glyphs)
        if (!shifted.count(p)) back.insert(p);
    EXPECT_EQ(Having(shot, kBack), back);
    // Left aligned at the top, the base caption lies exactly under the back one.
    EXPECT_TRUE(Having(shot, kBase).empty());
}

TEST_F(ShadowLabelTest, OtherAlignmentsShowTheBaseCaptionAsAThirdCopy) {
    label->SetBkColor(kBack);
    label->SetPreColor(kFront);
    for (ui::TAlignment a : {ui::TAlignment::Center, ui::TAlignment::RightJustify}) {
        label->Alignment = a;
        EXPECT_FALSE(Having(Render(), kBase).empty());
    }
}

TEST_F(ShadowLabelTest, ColoursStartBlack) {
    EXPECT_EQ(label->BKColor(), 0);
    EXPECT_EQ(label->PREColor(), 0);
    const Pixels glyphs = Glyphs();
    Pixels both = glyphs;
    for (auto [x, y] : glyphs)
        if (x + 2 < label->Width() && y + 2 < label->Height()) both.insert({x + 2, y + 2});
    EXPECT_EQ(Having(Render(), RGB(0, 0, 0)), both);
}

TEST_F(ShadowLabelTest, EveryAutoSizeAssignmentWidensByOne) {
    const int start = label->Width();
    label->SetAutoSize(false);
    label->SetAutoSize(false);
    EXPECT_EQ(label->Width(), start + 2);
    // Switching it on fits the caption, then still adds one.
    label->SetAutoSize(true);
    ui::TBitmap probe;
    probe.Canvas().Font.Assign(label->Font());
    EXPECT_EQ(label->Width(), probe.Canvas().TextWidth(label->Caption()) + 1);
}

TEST(AboutBoxTest, BuiltFromItsDescription) {
    TAboutBox box(ui::Application);
    EXPECT_EQ(box.Caption(), "About");
    EXPECT_EQ(box.BorderStyle, ui::TBorderStyle::Dialog);
    EXPECT_EQ(box.ClientWidth(), 298);
    EXPECT_EQ(box.ClientHeight(), 213);
    EXPECT_EQ(box.Panel1->BoundsRect().Left, 8);
    EXPECT_EQ(box.Panel1->Width(), 281);
    EXPECT_EQ(box.Panel1->Height(), 161);
    EXPECT_EQ(box.ProgramIcon->Width(), 49);
    EXPECT_TRUE(box.ProgramIcon->Stretch);
    EXPECT_NE(box.ProgramIcon->Picture.Icon, nullptr);
    EXPECT_EQ(box.MyLabel1->Caption(), "Tarvexa Ripplecast");
    EXPECT_EQ(box.MyLabel1->BKColor(), ui::clAqua);
    EXPECT_EQ(box.MyLabel1->PREColor(), ui::clActiveCaption);
    EXPECT_EQ(box.MyLabel1->Font().Height, -13);
    EXPECT_EQ(box.MyLabel1->Left(), 88);
    // 168 as streamed, and one more for the AutoSize assignment that follows it.
    EXPECT_EQ(box.MyLabel1->Width(), 169);
    EXPECT_EQ(box.Version->Caption(), "Version 3.2");
    EXPECT_EQ(box.OKButton->Caption(), "OK");
    EXPECT_TRUE(box.OKButton->Default);
    EXPECT_EQ(box.OKButton->ModalResult, ui::mrOk);
    EXPECT_EQ(box.OKButton->Left(), 111);
    EXPECT_EQ(box.OKButton->Top(), 180);
    // OK ends a modal showing with its result.
    box.OKButton->Click();
    EXPECT_EQ(box.ModalResult(), ui::mrOk);
}

TEST(SplashTest, ShowsItsPictureWithoutFrame) {
    TForm2 splash(ui::Application);
    EXPECT_EQ(splash.BorderStyle, ui::TBorderStyle::None);
    EXPECT_EQ(splash.ClientWidth(), 400);
    EXPECT_EQ(splash.ClientHeight(), 300);
    EXPECT_TRUE(splash.DoubleBuffered);  // set by its FormCreate
    EXPECT_EQ(splash.Image1->Width(), 400);
    EXPECT_EQ(splash.Image1->Height(), 300);
    EXPECT_EQ(splash.Image1->Picture.Bitmap.Width(), 400);
    ui::TBitmap shot;
    shot.SetSize(400, 300);
    splash.PaintTo(shot.Canvas());
    EXPECT_EQ(shot.Pixel(200, 150), splash.Image1->Picture.Bitmap.Pixel(200, 150));
    EXPECT_EQ(shot.Pixel(5, 295), splash.Image1->Picture.Bitmap.Pixel(5, 295));
}

}  // namespace
