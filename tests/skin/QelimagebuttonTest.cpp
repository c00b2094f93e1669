// The image button placed by a form description: it fits its normal picture and shows, per
// state, the picture given for that state or else the normal one, drawn as it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "Forms.h"
#include "Qelbutton.h"
#include "Qelpublic.h"
#include "Qelregister.h"

namespace {

using skin::TqelImageButton;

class ImageButtonForm : public ui::TForm {
public:
    ImageButtonForm() : ui::TForm(nullptr) {
        skin::RegisterSkinClasses();
        InitFromText(R"(object ImageButtonForm: TForm
  Width = 300
  Height = 200
  object Picture1: TqelImageButton
    Left = 10
    Top = 10
    Width = 200
    Height = 100
    Caption = ''
    PicNormal = 'DEEPBLUE_BUTTON_NORMAL'
    PicMouseOn = 'DEEPBLUE_BUTTON_MOUSEON'
    PicMouseDown = 'DEEPBLUE_BUTTON_MOUSEDOWN'
  end
end
)");
        button = ui::FindAs<TqelImageButton>(*this, "Picture1");
    }
    TqelImageButton* button;
};

void ExpectShows(TqelImageButton& button, const char* name) {
    SCOPED_TRACE(name);
    ui::TBitmap expected;
    skin::LoadSkinBitmap(expected, name);
    ASSERT_FALSE(expected.Empty());
    ui::TBitmap shown;
    shown.SetSize(button.Width(), button.Height());
    button.PaintTo(shown.Canvas());
    // The picture is drawn at the top-left corner as it is; a larger one is cut at the edges.
    const int w = std::min(shown.Width(), expected.Width()), h = std::min(shown.Height(), expected.Height());
    ASSERT_GT(w * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ASSERT_EQ(shown.Pixel(x, y), expected.Pixel(x, y)) << x << "," << y;
}

TEST(QelimagebuttonTest, FitsItsNormalPictureAndShowsOnePicturePerState) {
    ImageButtonForm form;
    TqelImageButton& button = *form.button;
    ui::TBitmap normal;
    skin::LoadSkinBitmap(normal, "DEEPBLUE_BUTTON_NORMAL");
    EXPECT_EQ(button.Width(), normal.Width());
    EXPECT_EQ(button.Height(), normal.Height());
    EXPECT_TRUE(button.AutoSize());

    HWND window = button.Handle();
    ExpectShows(button, "DEEPBLUE_BUTTON_NORMAL");
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ExpectShows(button, "DEEPBLUE_BUTTON_MOUSEON");
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ExpectShows(button, "DEEPBLUE_BUTTON_MOUSEDOWN");
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    // Disabled without a picture of its own: the normal one.
    button.SetEnabled(false);
    ExpectShows(button, "DEEPBLUE_BUTTON_NORMAL");
    ui::TBitmap disabled;
    skin::LoadSkinBitmap(disabled, "WINXP_BUTTON_NORMAL");
    button.SetPicDisabledF(disabled);
    ExpectShows(button, "WINXP_BUTTON_NORMAL");
}

}  // namespace
