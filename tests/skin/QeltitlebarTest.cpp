// The skinned title bar placed by form descriptions, painted into memory bitmaps and checked
// against the style's title pictures; its buttons' actions on the form, its refusals and the
// rounded corners it gives a framed form.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "GdiObjects.h"
#include "Qelform.h"
#include "Qelpublic.h"
#include "Qelregister.h"
#include "Qeltitlebar.h"

namespace {

using skin::TqelTitleBar;
using skin::TqelTitleBarAlign;
using skin::TqelTitleBarBtnType;
using skin::TqelUIStyle;

class BarForm : public ui::TForm {
public:
    BarForm(ui::TComponent* owner, const std::string& text) : ui::TForm(owner) {
        skin::RegisterSkinClasses();
        InitFromText(text);
    }
};

constexpr const char* kPlainForm = R"(object BarForm: TForm
  Width = 400
  Height = 300
  object Bar1: TqelTitleBar
    Caption = 'Downloads'
    UIStyle = DeepBlue
  end
end
)";

constexpr const char* kFramedForm = R"(object BarForm: TForm
  Width = 400
  Height = 300
  object Frame1: TqelForm
    Align = alClient
    UIStyle = WinXP
    object Bar1: TqelTitleBar
      UIStyle = WinXP
    end
  end
end
)";

std::unique_ptr<ui::TBitmap> Painted(TqelTitleBar& bar) {
    auto bitmap = std::make_unique<ui::TBitmap>();
    bitmap->SetSize(bar.Width(), bar.Height());
    bar.PaintTo(bitmap->Canvas());
    return bitmap;
}

// The picture shows at (left, top) wherever it is not its own transparent colour.
void ExpectShown(const ui::TBitmap& shown, const ui::TBitmap& picture, int left, int top) {
    ASSERT_FALSE(picture.Empty());
    const COLORREF key = picture.Pixel(0, picture.Height() - 1);
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            if (picture.Pixel(x, y) == key) continue;
            ASSERT_EQ(shown.Pixel(left + x, top + y), picture.Pixel(x, y)) << left + x << "," << top + y;
        }
    }
}

class QeltitlebarTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog_ = TqelTitleBar::ErrorDialog;
        TqelTitleBar::ErrorDialog = [this](const std::string& text) { errors.push_back(text); };
    }
    void TearDown() override { TqelTitleBar::ErrorDialog = dialog_; }
    std::function<void(const std::string&)> dialog_;
    std::vector<std::string> errors;
};

TEST_F(QeltitlebarTest, DeepBlueBarSectionsAndButtons) {
    BarForm form(nullptr, kPlainForm);
    auto& bar = *ui::FindAs<TqelTitleBar>(form, "Bar1");
    ASSERT_EQ(bar.SectionCount(), 3);
    EXPECT_EQ(bar.Section(0).Width(), 97);
    EXPECT_EQ(bar.Section(1).Width(), 97);
    EXPECT_EQ(bar.Section(1).Align(), TqelTitleBarAlign::qelRight);
    EXPECT_TRUE(bar.Section(2).Stretch());
    EXPECT_EQ(bar.Height(), 32);
    const int b = bar.Width();
    ASSERT_GT(b, 300);

    const auto shown = Painted(bar);
    ui::TBitmap left, right, close, max, min, box;
    skin::LoadSkinBitmap(left, "DEEPBLUE_TITLE_LEFT");
    skin::LoadSkinBitmap(right, "DEEPBLUE_TITLE_RIGHT");
    // The sections: the left one from x 0, the right one ending one pixel short of the edge... as drawn.
    EXPECT_EQ(shown->Pixel(50, 20), left.Pixel(50, 20));
    EXPECT_EQ(shown->Pixel(b - 97 + 90, 25), right.Pixel(90, 25));
    // Buttons from right to left: close, maximise, minimise, each at Top 2; the control box at x 0.
    skin::LoadSkinBitmap(close, "DEEPBLUE_TITLEBTN_CLOSE_NORMAL");
    skin::LoadSkinBitmap(max, "DEEPBLUE_TITLEBTN_MAX_NORMAL");
    skin::LoadSkinBitmap(min, "DEEPBLUE_TITLEBTN_MIN_NORMAL");
    skin::LoadSkinBitmap(box, "DEEPBLUE_TITLEBTN_CTLBOX_NORMAL");
    int x = b + 1 - (close.Width() + 1);
    ExpectShown(*shown, close, x, 2);
    x -= max.Width() + 1;
    ExpectShown(*shown, max, x, 2);
    x -= min.Width() + 1;
    ExpectShown(*shown, min, x, 2);
    ExpectShown(*shown, box, 0, 2);
}

TEST_F(QeltitlebarTest, CaptionTooLongShowsItsFirstTwoCharacters) {
    BarForm form(nullptr, kPlainForm);
    auto& bar = *ui::FindAs<TqelTitleBar>(form, "Bar1");
    bar.SetCaption("Do...");
    const auto shortened = Painted(bar);
    bar.SetCaption("Downloads" + std::string(200, 'x'));
    const auto shown = Painted(bar);
    bar.SetCaption("Downloads");
    const auto whole = Painted(bar);
    bool differs = false;
    for (int y = 0; y < bar.Height(); ++y) {
        for (int x = 0; x < bar.Width(); ++x) {
            ASSERT_EQ(shown->Pixel(x, y), shortened->Pixel(x, y)) << x << "," << y;
            differs = differs || whole->Pixel(x, y) != shortened->Pixel(x, y);
        }
    }
    EXPECT_TRUE(differs);  // a caption that fits is drawn whole
}

TEST_F(QeltitlebarTest, AlignedSectionsAndRightSectionThatDoesNotFit) {
    BarForm form(nullptr, kPlainForm);
    auto& bar = *ui::FindAs<TqelTitleBar>(form, "Bar1");
    bar.ClearButtons();
    bar.ClearSections();
    bar.SetBounds(0, 0, 50, 10);
    ui::TBitmap red, blue;
    red.SetSize(30, 10);
    red.Canvas().Brush.Color = ui::clRed;
    red.Canvas().FillRect({0, 0, 30, 10});
    blue.SetSize(40, 10);
    blue.Canvas().Brush.Color = ui::clBlue;
    blue.Canvas().FillRect({0, 0, 40, 10});
    auto& l = bar.AddSection();
    l.SetPicture(&red);
    l.SetWidth(30);
    auto& r = bar.AddSection();
    r.SetPicture(&blue);
    r.SetWidth(40);
    r.SetAlign(TqelTitleBarAlign::qelRight);  // 50 - 29 < 40: skipped
    const auto shown = Painted(bar);
    EXPECT_EQ(shown->Pixel(0, 5), RGB(255, 0, 0));
    EXPECT_EQ(shown->Pixel(29, 5), RGB(255, 0, 0));
    EXPECT_NE(shown->Pixel(45, 5), RGB(0, 0, 255));
}

TEST_F(QeltitlebarTest, RefusedChangesKeepTheItem) {
    BarForm form(nullptr, kPlainForm);
    auto& bar = *ui::FindAs<TqelTitleBar>(form, "Bar1");
    bar.Section(0).SetAlign(TqelTitleBarAlign::qelClient);
    EXPECT_EQ(bar.Section(0).Align(), TqelTitleBarAlign::qelLeft);
    bar.Button(1).SetButtonType(TqelTitleBarBtnType::qelControlBox);
    EXPECT_EQ(bar.Button(1).ButtonType(), TqelTitleBarBtnType::qelClose);
    ui::TBitmap picture;
    picture.SetSize(4, 4);
    const int width = bar.Button(1).PicNormal().Width();
    bar.Button(1).SetPicNormal(picture);
    EXPECT_EQ(bar.Button(1).PicNormal().Width(), width);
    EXPECT_EQ(errors, (std::vector<std::string>{
                          "Sorry, only one section's Align property can be \"qelClient\"",
                          "Sorry, only one button's ButtonType property can be \"qelControlBox\"",
                          "Sorry, this button is not a \"qelCustom\" or \"qelControlBox\"(ButtonType property) button!"}));
}

TEST_F(QeltitlebarTest, DoubleClickMaximisesAndRestoresAndXpSwapsThePictures) {
    BarForm form(nullptr, kFramedForm);
    auto& bar = *ui::FindAs<TqelTitleBar>(form, "Bar1");
    EXPECT_EQ(bar.Height(), 29);
    auto& max = bar.Button(2);
    ASSERT_EQ(max.ButtonType(), TqelTitleBarBtnType::qelMax);
    ui::TBitmap restore, maximise;
    skin::LoadSkinBitmap(restore, "WINXP_TITLEBTN_RST_NORMAL");
    skin::LoadSkinBitmap(maximise, "WINXP_TITLEBTN_MAX_NORMAL");
    const auto same = [](ui::TBitmap& a, const ui::TBitmap& b) {
        if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x)
                if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
        return true;
    };
    ASSERT_FALSE(same(restore, maximise));
    EXPECT_TRUE(same(max.PicNormal(), maximise));
    bar.DblClick();
    EXPECT_EQ(form.WindowState, ui::TWindowState::Maximized);
    EXPECT_TRUE(same(max.PicNormal(), restore));
    bar.DblClick();
    EXPECT_EQ(form.WindowState, ui::TWindowState::Normal);
    EXPECT_TRUE(same(max.PicNormal(), maximise));
}

TEST_F(QeltitlebarTest, CloseButtonClosesTheForm) {
    BarForm form(nullptr, kPlainForm);
    auto& bar = *ui::FindAs<TqelTitleBar>(form, "Bar1");
    int closes = 0;
    form.OnCloseQuery = [&](ui::TComponent*, bool& canClose) {
        ++closes;
        canClose = false;
    };
    bar.Button(1).DoClick();  // close
    EXPECT_EQ(closes, 1);
    bar.Button(3).SetUIStyle(TqelUIStyle::DeepBlue);
    bar.Button(2).DoClick();  // maximise
    EXPECT_EQ(form.WindowState, ui::TWindowState::Maximized);
    EXPECT_EQ(closes, 1);
}

TEST_F(QeltitlebarTest, FramedFormGetsRoundTopCorners) {
    BarForm form(nullptr, kFramedForm);
    auto& bar = *ui::FindAs<TqelTitleBar>(form, "Bar1");
    ASSERT_TRUE(bar.InForm());
    EXPECT_EQ(bar.CornerRadius(), 13);
    bar.SetFormRoundCorner(13);
    RECT c;
    GetClientRect(form.Handle(), &c);
    ui::GdiHandle<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(form.Handle(), region.Get()), ERROR);
    EXPECT_FALSE(PtInRegion(region.Get(), c.left, c.top));
    EXPECT_FALSE(PtInRegion(region.Get(), c.right - 1, c.top));
    EXPECT_TRUE(PtInRegion(region.Get(), c.left, c.bottom - 1));
    EXPECT_TRUE(PtInRegion(region.Get(), c.right - 1, c.bottom - 1));
    EXPECT_TRUE(PtInRegion(region.Get(), c.right / 2, c.top));
}

TEST_F(QeltitlebarTest, PaintingHoldsNoGdiObjects) {
    BarForm form(nullptr, kPlainForm);
    auto& bar = *ui::FindAs<TqelTitleBar>(form, "Bar1");
    Painted(bar);
    const int before = GdiObjectCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 200; ++i) Painted(bar);
    EXPECT_LE(GdiObjectCount(), before + 2);
}

}  // namespace
