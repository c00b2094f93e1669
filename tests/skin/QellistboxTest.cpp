// The bordered list box and check list box placed by a form description and shown: their bands,
// the frame read back from the window, the colour taken from the form's frame, the check list
// box's border that no setting changes, and what clicks and keys do to its check boxes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Forms.h"
#include "GdiObjects.h"
#include "Qelchecklistbox.h"
#include "Qelform.h"
#include "Qellistbox.h"
#include "Qelregister.h"
#include "WindowPixels.h"

namespace {

using skin::TqelUIStyle;

class ListForm : public ui::TForm {
public:
    explicit ListForm(ui::TComponent* owner) : ui::TForm(owner) {
        skin::RegisterSkinClasses();
        Publish("ChecksClicked", &ListForm::ChecksClicked);
        Publish("ListClicked", &ListForm::ListClicked);
        InitFromText(R"(object ListForm: TForm
  Left = 40
  Top = 40
  Width = 400
  Height = 300
  object Frame1: TqelForm
    Left = 0
    Top = 0
    Width = 380
    Height = 260
    UIStyle = WinXP
    object List1: TqelListBox
      Left = 10
      Top = 50
      Width = 120
      Height = 90
      BorderColor = clRed
      Color = clWhite
      Items.Strings = (
        'first'
        'second')
      ItemIndex = 1
      OnClick = ListClicked
    end
    object Checks1: TqelCheckListBox
      Left = 150
      Top = 50
      Width = 150
      Height = 90
      Color = clWhite
      BorderStyle = bsSingle
      BorderWidth = 4
      OnClickCheck = ChecksClicked
      Items.Strings = (
        'alpha'
        'beta'
        'gamma')
    end
  end
end)");
    }
    skin::TqelListBox* List() { return ui::FindAs<skin::TqelListBox>(*this, "List1"); }
    skin::TqelCheckListBox* Checks() { return ui::FindAs<skin::TqelCheckListBox>(*this, "Checks1"); }
    void ChecksClicked(ui::TComponent*) { ++checkClicks; }
    void ListClicked(ui::TComponent*) { ++listClicks; }
    int checkClicks = 0, listClicks = 0;
};

RECT ItemRect(HWND list, int index) {
    RECT r{};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

TEST(QellistboxTest, DescriptionAndColours) {
    ListForm form(ui::Application);
    EXPECT_EQ(form.List()->Items(), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(form.List()->ItemIndex(), 1);
    EXPECT_EQ(form.List()->BorderColor(), ui::TColor(0x0000FF));
    EXPECT_EQ(form.Checks()->BorderColor(), ui::TColor(0x686868));
    EXPECT_TRUE(form.Checks()->Flat());
    ui::FindAs<skin::TqelForm>(form, "Frame1")->SetUIStyle(TqelUIStyle::MacOS);
    EXPECT_EQ(form.List()->BorderColor(), ui::TColor(0x7F7F7F));
    EXPECT_EQ(form.Checks()->BorderColor(), ui::TColor(0x7F7F7F));
    ui::TForm plain(ui::Application);
    skin::TqelCheckListBox loose(&plain);
    EXPECT_EQ(loose.BorderColor(), ui::TColor(0));
}

TEST(QellistboxTest, CheckListBorderCannotBeChanged) {
    ListForm form(ui::Application);
    skin::TqelCheckListBox* checks = form.Checks();
    HWND window = checks->Handle();
    struct Row {
        int style, width;
    };
    for (const Row& row : {Row{0, 0}, Row{1, 3}, Row{1, 0}, Row{0, 7}}) {
        checks->SetBorderStyle(row.style);
        checks->SetBorderWidth(row.width);
        EXPECT_EQ(checks->BorderStyle(), 1);
        EXPECT_EQ(checks->BorderWidth(), 1);
        EXPECT_EQ(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
        EXPECT_EQ(GetWindowLongPtrA(window, GWL_STYLE) & WS_BORDER, 0);
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, checks->Width() - 2) << row.style << " " << row.width;
        EXPECT_EQ(client.bottom, checks->Height() - 2) << row.style << " " << row.width;
    }
}

TEST(QellistboxTest, FrameIsPaintedAroundTheClientBand) {
    ListForm form(ui::Application);
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    HWND list = form.List()->Handle(), checks = form.Checks()->Handle();
    RECT client{};
    GetClientRect(list, &client);
    EXPECT_EQ(client.right, 120 - 4);
    EXPECT_EQ(client.bottom, 90 - 4);
    EXPECT_EQ(GetWindowLongPtrA(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    RedrawAll(form.Handle());
    EXPECT_EQ(WindowPixel(list, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(WindowPixel(list, 119, 89), RGB(255, 0, 0));
    EXPECT_EQ(WindowPixel(list, 1, 88), RGB(255, 255, 255));
    EXPECT_EQ(WindowPixel(checks, 0, 0), RGB(0x68, 0x68, 0x68));
    EXPECT_EQ(WindowPixel(checks, 149, 45), RGB(0x68, 0x68, 0x68));
    form.Checks()->SetBorderColor(ui::TColor(0x00FF00));
    UpdateWindow(checks);
    EXPECT_EQ(WindowPixel(checks, 75, 89), RGB(0, 255, 0));
    ShowWindow(form.Handle(), SW_HIDE);
}

// The check box of a string: white inside when clear, with dark pixels of the mark when checked.
int DarkPixelsInBox(HWND list, int index) {
    const RECT item = ItemRect(list, index);
    const int top = item.top + (item.bottom - item.top - ui::TCheckListBox::kCheckWidth) / 2;
    HDC dc = GetDC(list);
    int dark = 0;
    for (int y = top + 3; y < top + ui::TCheckListBox::kCheckWidth - 3; ++y)
        for (int x = ui::TCheckListBox::kCheckMargin + 3; x < ui::TCheckListBox::kCheckMargin + ui::TCheckListBox::kCheckWidth - 3; ++x)
            dark += GetRValue(GetPixel(dc, x, y)) < 0x80;
    ReleaseDC(list, dc);
    return dark;
}

TEST(QellistboxTest, CheckedStringsShowTheirMark) {
    ListForm form(ui::Application);
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    HWND list = form.Checks()->Handle();
    form.Checks()->SetChecked(1, true);
    RedrawAll(form.Handle());
    EXPECT_EQ(DarkPixelsInBox(list, 0), 0);
    EXPECT_GT(DarkPixelsInBox(list, 1), 4);
    EXPECT_EQ(DarkPixelsInBox(list, 2), 0);
    ShowWindow(form.Handle(), SW_HIDE);
}

void Click(HWND list, int x, int y) {
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

TEST(QellistboxTest, ClicksAndKeysToggleTheChecks) {
    ListForm form(ui::Application);
    skin::TqelCheckListBox* checks = form.Checks();
    HWND list = checks->Handle();
    const auto middle = [&](int i) {
        const RECT r = ItemRect(list, i);
        return static_cast<int>(r.top + r.bottom) / 2;
    };
    const int rowY = middle(0), row1Y = middle(1), row2Y = middle(2);
    const int below = ItemRect(list, 2).bottom + 10;
    const int inBox = ui::TCheckListBox::kCheckMargin + 5;
    const int onText = 60;
    struct Step {
        const char* what;
        int x, y;          // a click there, or a key when x < 0
        WPARAM key;
        std::vector<bool> checked;
        int clicks, index;
    };
    const Step steps[] = {
        {"box of the first string", inBox, rowY, 0, {true, false, false}, 1, 0},
        {"box of the first again", inBox, rowY, 0, {false, false, false}, 2, 0},
        {"text of the third selects only", onText, row2Y, 0, {false, false, false}, 2, 2},
        {"space toggles the selected", -1, 0, VK_SPACE, {false, false, true}, 3, 2},
        {"other keys leave it", -1, 0, 'Z', {false, false, true}, 3, 2},
        {"box of the second", inBox, row1Y, 0, {false, true, true}, 4, 1},
        {"below the last string", inBox, below, 0, {false, true, true}, 4, 1},
    };
    for (const Step& step : steps) {
        if (step.x >= 0) {
            Click(list, step.x, step.y);
        } else {
            SendMessageA(list, WM_KEYDOWN, step.key, 0);
            SendMessageA(list, WM_CHAR, step.key == VK_SPACE ? ' ' : 'z', 0);
            SendMessageA(list, WM_KEYUP, step.key, 0);
        }
        for (int i = 0; i < 3; ++i) EXPECT_EQ(checks->Checked(i), step.checked[static_cast<size_t>(i)]) << step.what << " " << i;
        EXPECT_EQ(form.checkClicks, step.clicks) << step.what;
        EXPECT_EQ(checks->ItemIndex(), step.index) << step.what;
    }
    // Set by the program: no event.
    checks->SetChecked(0, true);
    EXPECT_EQ(form.checkClicks, 4);
    // A disabled list takes no toggles.
    checks->SetEnabled(false);
    SendMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(checks->Checked(1));
    checks->SetEnabled(true);
}

TEST(QellistboxTest, AClickedStringIsSelectedAndReported) {
    ListForm form(ui::Application);
    HWND list = form.List()->Handle();
    const RECT first = ItemRect(list, 0);
    Click(list, 20, (first.top + first.bottom) / 2);
    EXPECT_EQ(form.List()->ItemIndex(), 0);
    EXPECT_EQ(form.listClicks, 1);
    form.List()->SetItemIndex(1);  // by the program: no event
    EXPECT_EQ(form.listClicks, 1);
    form.List()->SetItemIndex(7);
    EXPECT_EQ(form.List()->ItemIndex(), -1);
    form.List()->AddItem("third");
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
}

TEST(QellistboxTest, ChecksFollowTheirStrings) {
    ListForm form(ui::Application);
    skin::TqelCheckListBox* checks = form.Checks();
    checks->SetChecked(0, true);
    checks->SetChecked(2, true);
    checks->DeleteItem(1);
    EXPECT_EQ(checks->Items(), (std::vector<std::string>{"alpha", "gamma"}));
    EXPECT_TRUE(checks->Checked(0));
    EXPECT_TRUE(checks->Checked(1));
    EXPECT_FALSE(checks->Checked(2));
    EXPECT_FALSE(checks->Checked(-1));
    checks->AddItem("delta");
    EXPECT_FALSE(checks->Checked(2));
    EXPECT_EQ(SendMessageA(checks->Handle(), LB_GETCOUNT, 0, 0), 3);
    try {
        checks->SetChecked(3, true);
        ADD_FAILURE() << "no error";
    } catch (const ui::Exception& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (3)");
    }
    checks->Clear();
    EXPECT_FALSE(checks->Checked(0));
    EXPECT_EQ(SendMessageA(checks->Handle(), LB_GETCOUNT, 0, 0), 0);
}

TEST(QellistboxTest, PaintingHoldsNoGdiObjects) {
    ListForm form(ui::Application);
    form.Checks()->SetChecked(0, true);
    form.Checks()->SetItemIndex(1);
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    RedrawAll(form.Handle());
    const int before = GdiObjectCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 50; ++i) RedrawAll(form.Handle());
    EXPECT_EQ(GdiObjectCount(), before);
    ShowWindow(form.Handle(), SW_HIDE);
}

}  // namespace
