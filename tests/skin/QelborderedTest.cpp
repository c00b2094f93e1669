// The bordered controls (edit, memo, list view, tree view) placed by a form description and shown:
// their client area inside a band of two pixels, the one-pixel frame in the border colour read
// back from the window, the colour taken from the form's frame, and the style pushed down.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Forms.h"
#include "GdiObjects.h"
#include "Qeledit.h"
#include "Qelform.h"
#include "Qellistview.h"
#include "Qelmemo.h"
#include "Qelregister.h"
#include "WindowPixels.h"
#include "Qeltreeview.h"

namespace {

using skin::TqelUIStyle;

class BorderForm : public ui::TForm {
public:
    explicit BorderForm(ui::TComponent* owner) : ui::TForm(owner) {
        skin::RegisterSkinClasses();
        InitFromText(R"(object BorderForm: TForm
  Left = 40
  Top = 40
  Width = 500
  Height = 300
  object Frame1: TqelForm
    Left = 0
    Top = 0
    Width = 480
    Height = 260
    UIStyle = WinXP
    object Edit1: TqelEdit
      Left = 10
      Top = 50
      Width = 100
      Height = 21
      BorderColor = clRed
      Color = clWhite
    end
    object Memo1: TqelMemo
      Left = 120
      Top = 50
      Width = 100
      Height = 60
    end
    object List1: TqelListView
      Left = 230
      Top = 50
      Width = 100
      Height = 60
    end
    object Tree1: TqelTreeView
      Left = 340
      Top = 50
      Width = 100
      Height = 60
    end
  end
end)");
    }
    template <class T>
    T* Get(const char* name) { return ui::FindAs<T>(*this, name); }
    std::vector<ui::TWinControl*> All() {
        return {Get<skin::TqelEdit>("Edit1"), Get<skin::TqelMemo>("Memo1"), Get<skin::TqelListView>("List1"),
                Get<skin::TqelTreeView>("Tree1")};
    }
};

TEST(QelborderedTest, ColourComesFromTheFormFrame) {
    BorderForm form(ui::Application);
    EXPECT_EQ(form.Get<skin::TqelEdit>("Edit1")->BorderColor(), ui::TColor(0x0000FF));  // its own value
    EXPECT_EQ(form.Get<skin::TqelMemo>("Memo1")->BorderColor(), ui::TColor(0x686868));
    EXPECT_EQ(form.Get<skin::TqelTreeView>("Tree1")->BorderColor(), ui::TColor(0x686868));
    ui::TForm plain(ui::Application);
    skin::TqelEdit edit(&plain);
    EXPECT_EQ(edit.BorderColor(), ui::TColor(0));
}

TEST(QelborderedTest, FrameIsPaintedAroundTheClientBand) {
    BorderForm form(ui::Application);
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    for (ui::TWinControl* control : form.All()) {
        HWND window = control->Handle();
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, control->Width() - 4) << control->Name();
        EXPECT_EQ(client.bottom, control->Height() - 4) << control->Name();
        EXPECT_EQ(GetWindowLong(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0) << control->Name();
    }
    auto* edit = form.Get<skin::TqelEdit>("Edit1");
    auto* memo = form.Get<skin::TqelMemo>("Memo1");
    RedrawAll(form.Handle());
    EXPECT_EQ(WindowPixel(edit->Handle(), 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(WindowPixel(edit->Handle(), 99, 20), RGB(255, 0, 0));
    EXPECT_EQ(WindowPixel(edit->Handle(), 1, 1), RGB(255, 255, 255));
    EXPECT_EQ(WindowPixel(memo->Handle(), 0, 30), RGB(0x68, 0x68, 0x68));
    memo->SetBorderColor(ui::TColor(0x00FF00));
    UpdateWindow(memo->Handle());
    EXPECT_EQ(WindowPixel(memo->Handle(), 99, 30), RGB(0, 255, 0));
    ShowWindow(form.Handle(), SW_HIDE);
}

TEST(QelborderedTest, FrameStyleReachesEveryBorderColour) {
    BorderForm form(ui::Application);
    form.Get<skin::TqelForm>("Frame1")->SetUIStyle(TqelUIStyle::MacOS);
    EXPECT_EQ(form.Get<skin::TqelEdit>("Edit1")->BorderColor(), ui::TColor(0x7F7F7F));
    EXPECT_EQ(form.Get<skin::TqelListView>("List1")->BorderColor(), ui::TColor(0x7F7F7F));
}

TEST(QelborderedTest, PaintingHoldsNoGdiObjects) {
    BorderForm form(ui::Application);
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    const auto redraw = [&] { RedrawAll(form.Handle()); };
    redraw();
    const int before = GdiObjectCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 50; ++i) redraw();
    EXPECT_EQ(GdiObjectCount(), before);
    ShowWindow(form.Handle(), SW_HIDE);
}

}  // namespace
