// Check and radio groups placed by a form description: the column layout of their buttons, radio
// exclusivity and the item index, buttons made and freed as the strings change, the group's own
// click, and the style reaching the group and its buttons (Custom keeping what is there).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Forms.h"
#include "GdiObjects.h"
#include "Qelform.h"
#include "Qelradiogroup.h"
#include "Qelregister.h"
#include "WindowPixels.h"

namespace {

using skin::TqelUIStyle;

class GroupForm : public ui::TForm {
public:
    explicit GroupForm(ui::TComponent* owner) : ui::TForm(owner) {
        skin::RegisterSkinClasses();
        Publish("GroupClicked", &GroupForm::GroupClicked);
        InitFromText(R"(object GroupForm: TForm
  Left = 40
  Top = 40
  Width = 520
  Height = 300
  object Frame1: TqelForm
    Left = 0
    Top = 0
    Width = 500
    Height = 260
    UIStyle = WinXP
    object Radio1: TqelRadioGroup
      Left = 10
      Top = 40
      Width = 200
      Height = 121
      Font.Height = -11
      Columns = 2
      OnClick = GroupClicked
      Items.Strings = (
        'zero'
        'one'
        'two'
        'three'
        'four')
      ItemIndex = 1
    end
    object Checks1: TqelCheckGroup
      Left = 230
      Top = 40
      Width = 180
      Height = 150
      Font.Height = -11
      Items.Strings = (
        'a'
        'b'
        'c'
        'd')
    end
  end
end)");
    }
    skin::TqelRadioGroup* Radio() { return ui::FindAs<skin::TqelRadioGroup>(*this, "Radio1"); }
    skin::TqelCheckGroup* Checks() { return ui::FindAs<skin::TqelCheckGroup>(*this, "Checks1"); }
    skin::TqelForm* Frame() { return ui::FindAs<skin::TqelForm>(*this, "Frame1"); }
    void GroupClicked(ui::TComponent* sender) { senders.push_back(sender); }
    std::vector<ui::TComponent*> senders;
};

struct Place {
    int left, top;
};

std::vector<Place> Places(const skin::TqelCheckGroup& group) {
    std::vector<Place> places;
    for (int i = 0; i < group.ButtonCount(); ++i) places.push_back({group.Button(i)->Left(), group.Button(i)->Top()});
    return places;
}

bool operator==(const Place& a, const Place& b) { return a.left == b.left && a.top == b.top; }
std::ostream& operator<<(std::ostream& out, const Place& p) { return out << "(" << p.left << "," << p.top << ")"; }

// With an 11-pixel font the items' area starts 11 pixels down, the rows 8 below that, and ends
// 2 above the bottom: a group 121 high leaves 100 pixels for the rows.
TEST(QelradiogroupTest, ButtonsFillColumnsTopToBottom) {
    GroupForm form(ui::Application);
    skin::TqelRadioGroup* radio = form.Radio();
    ASSERT_EQ(radio->ButtonCount(), 5);
    // Three rows of 33 pixels; 100 mod 3 = 1 leaves nothing to centre; columns of (200 - 10) / 2.
    EXPECT_EQ(Places(*radio), (std::vector<Place>{{8, 19}, {8, 52}, {8, 85}, {103, 19}, {103, 52}}));
    struct Row {
        const char* what;
        int columns, topMargin, width, height;
        std::vector<Place> places;
    };
    const Row rows[] = {
        {"one column", 1, 8, 200, 121, {{8, 19}, {8, 39}, {8, 59}, {8, 79}, {8, 99}}},
        {"columns below 1 are ignored", 0, 8, 200, 121, {{8, 19}, {8, 39}, {8, 59}, {8, 79}, {8, 99}}},
        {"three columns, two rows", 3, 8, 200, 121, {{8, 19}, {8, 69}, {71, 19}, {71, 69}, {134, 19}}},
        {"more columns than items", 6, 8, 200, 121, {{8, 19}, {39, 19}, {70, 19}, {101, 19}, {132, 19}}},
        {"a larger margin", 2, 20, 200, 121, {{8, 31}, {8, 60}, {8, 89}, {103, 31}, {103, 60}}},
        {"negative margins are ignored", 2, -5, 200, 121, {{8, 31}, {8, 60}, {8, 89}, {103, 31}, {103, 60}}},
        {"a resize lays out again", 2, 20, 300, 161, {{8, 32}, {8, 74}, {8, 116}, {153, 32}, {153, 74}}},  // 128 mod 3 = 2: one pixel down
    };
    for (const Row& row : rows) {
        radio->SetColumns(row.columns);
        radio->SetTopMargin(row.topMargin);
        radio->SetBounds(radio->Left(), radio->Top(), row.width, row.height);
        EXPECT_EQ(Places(*radio), row.places) << row.what;
    }
    EXPECT_EQ(radio->Columns(), 2);
    EXPECT_EQ(radio->TopMargin(), 20);
}

TEST(QelradiogroupTest, OneRadioButtonAtMostIsChecked) {
    GroupForm form(ui::Application);
    skin::TqelRadioGroup* radio = form.Radio();
    EXPECT_EQ(radio->ItemIndex(), 1);  // set by the description after the strings
    const auto checked = [&] {
        std::vector<bool> states;
        for (int i = 0; i < radio->ButtonCount(); ++i) states.push_back(radio->GetChecked(i));
        return states;
    };
    struct Step {
        const char* what;
        int setIndex;     // SetItemIndex, or -9 for the check of a button below
        int checkButton;  // SetChecked(true) on it
        int index;
    };
    const Step steps[] = {
        {"index 3", 3, 0, 3},        {"index 0", 0, 0, 0},
        {"past the last ignored", 5, 0, 0}, {"below -1 ignored", -2, 0, 0},
        {"-1 clears all", -1, 0, -1}, {"checking a button", -9, 4, 4},
        {"checking another", -9, 2, 2},
    };
    for (const Step& step : steps) {
        if (step.setIndex != -9) radio->SetItemIndex(step.setIndex);
        else radio->SetChecked(step.checkButton, true);
        EXPECT_EQ(radio->ItemIndex(), step.index) << step.what;
        std::vector<bool> expected(5, false);
        if (step.index >= 0) expected[static_cast<size_t>(step.index)] = true;
        EXPECT_EQ(checked(), expected) << step.what;
    }
    // A click on a button checks it, clears the others and reaches the group's own handler.
    HWND button = radio->Button(0)->Handle();
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(radio->ItemIndex(), 0);
    EXPECT_FALSE(radio->GetChecked(2));
    EXPECT_EQ(form.senders, std::vector<ui::TComponent*>{radio});
    // A click on the group itself is the group's click as well.
    radio->ui::TControl::OnClick(radio);
    EXPECT_EQ(form.senders.size(), 2u);

    skin::TqelRadioGroup empty(&form);
    empty.SetItemIndex(-1);
    empty.SetItemIndex(0);
    EXPECT_EQ(empty.ItemIndex(), -1);
    EXPECT_EQ(empty.Caption(), "qelRadioGroup");
}

TEST(QelradiogroupTest, StringChangesMakeAndFreeButtons) {
    GroupForm form(ui::Application);
    skin::TqelCheckGroup* checks = form.Checks();
    EXPECT_EQ(checks->Caption(), "qelCheckGroup");
    checks->SetChecked(0, true);
    checks->SetChecked(1, true);
    checks->SetChecked(3, true);
    EXPECT_TRUE(checks->GetChecked(0) && checks->GetChecked(1) && checks->GetChecked(3));  // independent
    checks->SetItems({"first", "second"});
    ASSERT_EQ(checks->ButtonCount(), 2);
    EXPECT_EQ(checks->ControlCount(), 2);
    EXPECT_EQ(checks->Button(0)->Caption(), "first");
    EXPECT_EQ(checks->Button(1)->Caption(), "second");
    EXPECT_TRUE(checks->GetChecked(0));
    EXPECT_TRUE(checks->GetChecked(1));
    EXPECT_FALSE(checks->GetChecked(2));
    EXPECT_FALSE(checks->GetChecked(-1));
    checks->AddItem("third");
    ASSERT_EQ(checks->ButtonCount(), 3);
    EXPECT_FALSE(checks->GetChecked(2));
    EXPECT_EQ(checks->Button(2)->Parent(), checks);
    EXPECT_EQ(checks->Button(2)->UIStyle(), TqelUIStyle::WinXP);
    checks->DeleteItem(0);
    EXPECT_EQ(checks->Button(0)->Caption(), "second");
    EXPECT_EQ(checks->ButtonCount(), 2);
    try {
        checks->SetChecked(2, true);
        ADD_FAILURE() << "no error";
    } catch (const ui::Exception& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (2)");
    }
    checks->SetTransparent(true);
    EXPECT_TRUE(checks->Button(0)->Transparent());
    checks->AddItem("fourth");
    EXPECT_TRUE(checks->Button(2)->Transparent());
    checks->ClearItems();
    EXPECT_EQ(checks->ControlCount(), 0);
}

TEST(QelradiogroupTest, StyleReachesGroupAndButtonsAndCustomKeepsColours) {
    GroupForm form(ui::Application);
    skin::TqelRadioGroup* radio = form.Radio();
    // WinXP from the frame: border 7, font 9, face 8.
    EXPECT_EQ(radio->BorderColor(), ui::TColor(0x686868));
    EXPECT_EQ(radio->Font().Color, ui::TColor(0xCF4602));
    EXPECT_EQ(radio->Color(), ui::TColor(0xDEEBEF));
    EXPECT_EQ(radio->Button(0)->Color(), ui::TColor(0xDEEBEF));
    form.Frame()->SetUIStyle(TqelUIStyle::MacOS);
    EXPECT_EQ(radio->UIStyle(), TqelUIStyle::MacOS);
    EXPECT_EQ(radio->BorderColor(), ui::TColor(0x7F7F7F));
    EXPECT_EQ(radio->Color(), ui::TColor(0xE7E7E7));
    EXPECT_EQ(radio->Button(4)->UIStyle(), TqelUIStyle::MacOS);
    EXPECT_EQ(radio->Button(4)->Color(), ui::TColor(0xE7E7E7));
    EXPECT_EQ(form.Checks()->Button(0)->UIStyle(), TqelUIStyle::MacOS);

    radio->SetBorderColor(ui::TColor(0x0000FF));
    radio->SetColor(ui::TColor(0x00FFFF));
    radio->Button(1)->SetColor(ui::TColor(0x00FF00));
    radio->SetUIStyle(TqelUIStyle::Custom);
    EXPECT_EQ(radio->UIStyle(), TqelUIStyle::Custom);
    EXPECT_EQ(radio->BorderColor(), ui::TColor(0x0000FF));
    EXPECT_EQ(radio->Color(), ui::TColor(0x00FFFF));
    EXPECT_EQ(radio->Font().Color, ui::TColor(0x000000));  // MacOS's font colour, kept
    EXPECT_EQ(radio->Button(1)->Color(), ui::TColor(0x00FF00));
    EXPECT_EQ(radio->Button(1)->UIStyle(), TqelUIStyle::Custom);
}

TEST(QelradiogroupTest, ShownGroupDrawsItsFrameAndButtons) {
    GroupForm form(ui::Application);
    form.Radio()->SetBorderColor(ui::TColor(0x0000FF));
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    const auto redraw = [&] { RedrawAll(form.Handle()); };
    redraw();
    HWND group = form.Radio()->Handle();
    EXPECT_EQ(WindowPixel(group, 0, 60), RGB(255, 0, 0));     // left line
    EXPECT_EQ(WindowPixel(group, 199, 60), RGB(255, 0, 0));   // right line
    EXPECT_EQ(WindowPixel(group, 100, 120), RGB(255, 0, 0));  // bottom line
    // The button windows stand where the layout put them.
    for (int i = 0; i < 5; ++i) {
        RECT r{};
        GetWindowRect(form.Radio()->Button(i)->Handle(), &r);
        MapWindowPoints(nullptr, group, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, form.Radio()->Button(i)->Left()) << i;
        EXPECT_EQ(r.top, form.Radio()->Button(i)->Top()) << i;
        EXPECT_GT(r.right - r.left, 20) << i;
    }
    const int before = GdiObjectCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 30; ++i) redraw();
    EXPECT_EQ(GdiObjectCount(), before);
    ShowWindow(form.Handle(), SW_HIDE);
}

}  // namespace
