// Edits, spin edits, check boxes, group boxes, buttons and scroll bars read from a description,
// with the text helpers and the clipboard.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Clipbrd.h"
#include "Forms.h"
#include "Reader.h"
#include "Spin.h"
#include "StdCtrls.h"
#include "SysUtils.h"

namespace {

class ControlsForm : public ui::TForm {
public:
    explicit ControlsForm(ui::TComponent* owner) : ui::TForm(owner) {
        Publish("Changed", &ControlsForm::Changed);
        Publish("Clicked", &ControlsForm::Clicked);
        InitFromText(R"(object ControlsForm: TForm
  ClientWidth = 300
  ClientHeight = 200
  object Url: TEdit
    Left = 8
    Top = 8
    Width = 200
    Text = 'first'
    OnChange = Changed
  end
  object Pass: TEdit
    Top = 40
    PasswordChar = '*'
  end
  object Spin: TSpinEdit
    Top = 70
    Width = 41
    MinValue = 3
    MaxValue = 3
    Value = 5
  end
  object Group: TGroupBox
    Top = 100
    Caption = 'Proxy Information'
    object Check: TCheckBox
      Left = 8
      Top = 16
      Caption = 'Proxy'
      Checked = True
      OnClick = Clicked
    end
  end
  object Ok: TButton
    Left = 200
    Top = 160
    Caption = 'OK'
    ModalResult = 1
    OnClick = Clicked
  end
end)");
    }
    void Changed(ui::TComponent* sender) { events.push_back("change " + sender->Name()); }
    void Clicked(ui::TComponent* sender) { events.push_back("click " + sender->Name()); }
    std::vector<std::string> events;
};

TEST(StdControlsTest, EditsReportChangesOfTheirText) {
    ControlsForm form(ui::Application);
    auto* url = ui::FindAs<ui::TEdit>(form, "Url");
    EXPECT_EQ(url->Text(), "first");
    EXPECT_TRUE(form.events.empty());  // loading is not a change
    url->SetText("http://h.example/a");
    EXPECT_EQ(url->Text(), "http://h.example/a");
    EXPECT_EQ(form.events, (std::vector<std::string>{"change Url"}));
    auto* pass = ui::FindAs<ui::TEdit>(form, "Pass");
    EXPECT_EQ(SendMessageA(pass->HandleOrNull(), EM_GETPASSWORDCHAR, 0, 0), '*');
}

TEST(StdControlsTest, SpinEditWithEqualLimitsTakesAnyInteger) {
    ControlsForm form(ui::Application);
    auto* spin = ui::FindAs<ui::TSpinEdit>(form, "Spin");
    EXPECT_EQ(spin->Value(), 5);
    struct Case {
        int set, expected;
    } cases[] = {{0, 0}, {-7, -7}, {1000, 1000}};
    for (const auto& c : cases) {
        spin->SetValue(c.set);
        EXPECT_EQ(spin->Value(), c.expected);
    }
    spin->Step(1);
    EXPECT_EQ(spin->Value(), 1001);
    spin->MinValue = 1;
    spin->MaxValue = 10;
    spin->SetValue(50);
    EXPECT_EQ(spin->Value(), 10);
    for (const char* bad : {"", "abc", "12x", "99999999999"}) {
        spin->SetText(bad);
        EXPECT_THROW(spin->Value(), ui::EConvertError) << bad;
    }
}

TEST(StdControlsTest, CheckBoxGroupAndButton) {
    ControlsForm form(ui::Application);
    auto* check = ui::FindAs<ui::TCheckBox>(form, "Check");
    auto* group = ui::FindAs<ui::TGroupBox>(form, "Group");
    EXPECT_EQ(check->Parent(), group);
    EXPECT_TRUE(check->Checked());
    // A click of the real control, which reports to the group box.
    SendMessageA(check->HandleOrNull(), BM_CLICK, 0, 0);
    EXPECT_FALSE(check->Checked());
    auto* ok = ui::FindAs<ui::TButton>(form, "Ok");
    SendMessageA(ok->HandleOrNull(), BM_CLICK, 0, 0);
    EXPECT_EQ(form.events, (std::vector<std::string>{"click Check", "click Ok"}));
    EXPECT_EQ(form.ModalResult(), ui::mrOk);
}

TEST(StdControlsTest, TrimAndStrToInt) {
    struct Case {
        const char *in, *out;
    } trims[] = {{"  a b  ", "a b"}, {"\t\r\nx\r\n", "x"}, {"", ""}, {"   ", ""}, {"y", "y"}};
    for (const auto& c : trims) EXPECT_EQ(ui::Trim(c.in), c.out) << c.in;
    EXPECT_EQ(ui::StrToInt(" 42 "), 42);
    EXPECT_EQ(ui::StrToInt("-3"), -3);
    try {
        ui::StrToInt("4x");
        ADD_FAILURE();
    } catch (const ui::EConvertError& e) {
        EXPECT_STREQ(e.what(), "'4x' is not a valid integer value");
    }
}

TEST(StdControlsTest, ClipboardTextRoundTrip) {
    ASSERT_TRUE(ui::SetClipboardText("http://127.0.0.1/clip.bin"));
    EXPECT_EQ(ui::ClipboardText(), "http://127.0.0.1/clip.bin");
    ASSERT_TRUE(ui::SetClipboardText(""));
    EXPECT_EQ(ui::ClipboardText(), "");
}

TEST(StdControlsTest, ClipboardWrittenIsOwnedByTheApplicationWindow) {
    ASSERT_NE(ui::Application, nullptr);
    ASSERT_TRUE(ui::SetClipboardText("http://127.0.0.1/owned.bin"));
    // Emptying the clipboard hands it to the window that opened it; with none, writing fails on Windows.
    EXPECT_EQ(GetClipboardOwner(), ui::Application->Handle());
    EXPECT_EQ(ui::ClipboardText(), "http://127.0.0.1/owned.bin");
}

}  // namespace
