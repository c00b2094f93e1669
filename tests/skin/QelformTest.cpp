// The form frame placed by form descriptions: where it sits inside its form, what the form
// answers to hit tests at its edges while the frame lives, and that the frame's hook comes off the
// form's window whichever of the two goes first.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "Qelbutton.h"
#include "Qelform.h"
#include "Qelregister.h"
#include "Qeltitlebar.h"

namespace {

using skin::TqelForm;
using skin::TqelUIStyle;

class FramedForm : public ui::TForm {
public:
    FramedForm(ui::TComponent* owner, const std::string& borderStyle) : ui::TForm(owner) {
        skin::RegisterSkinClasses();
        InitFromText("object FramedForm: TForm\n  Left = 10\n  Top = 10\n  Width = 400\n  Height = 300\n"
                     "  BorderStyle = " + borderStyle + R"(
  object Frame1: TqelForm
    UIStyle = WinXP
    BorderWidth = 3
    Caption = 'Downloads'
    FormPanel = Panel1
    object Panel1: TPanel
      Caption = 'Panel1'
    end
    object Ok1: TqelButton
      Left = 10
      Top = 40
    end
    object Check1: TqelCheckBox
      Left = 10
      Top = 80
    end
  end
end
)");
    }
};

TEST(QelformTest, FrameFillsTheClientAreaLessTheBorderAndPassesItsStyleOn) {
    FramedForm form(nullptr, "bsSizeable");
    auto& frame = *ui::FindAs<TqelForm>(form, "Frame1");
    EXPECT_EQ(form.BorderStyle, ui::TBorderStyle::None);
    EXPECT_EQ(frame.Left(), 3);
    EXPECT_EQ(frame.Top(), 0);
    EXPECT_EQ(frame.Width(), form.ClientWidth() - 6);
    EXPECT_EQ(frame.Height(), form.ClientHeight() - 3);
    ASSERT_NE(frame.TitleBar(), nullptr);
    EXPECT_EQ(frame.TitleBar()->UIStyle(), TqelUIStyle::WinXP);
    EXPECT_EQ(frame.TitleBar()->Caption(), "Downloads");
    EXPECT_EQ(frame.TitleBar()->Height(), 29);
    EXPECT_EQ(ui::FindAs<skin::TqelButton>(form, "Ok1")->UIStyle(), TqelUIStyle::WinXP);
    EXPECT_EQ(ui::FindAs<skin::TqelCheckBox>(form, "Check1")->UIStyle(), TqelUIStyle::WinXP);
    EXPECT_EQ(skin::GetQELFormStyle(&form), TqelUIStyle::WinXP);
}

TEST(QelformTest, FormPanelFillsTheFrameAndTheFrameItselfIsRefused) {
    FramedForm form(nullptr, "bsSizeable");
    auto& frame = *ui::FindAs<TqelForm>(form, "Frame1");
    auto* panel = ui::FindAs<ui::TPanel>(form, "Panel1");
    ASSERT_EQ(frame.FormPanel(), panel);
    EXPECT_EQ(panel->Align(), ui::TAlign::Client);
    EXPECT_EQ(panel->BevelOuter, ui::TBevelCut::None);
    EXPECT_EQ(panel->Caption(), "");
    std::vector<std::string> errors;
    const auto dialog = skin::TqelTitleBar::ErrorDialog;
    skin::TqelTitleBar::ErrorDialog = [&](const std::string& text) { errors.push_back(text); };
    frame.SetFormPanel(&frame);
    skin::TqelTitleBar::ErrorDialog = dialog;
    EXPECT_EQ(frame.FormPanel(), panel);
    EXPECT_EQ(errors, (std::vector<std::string>{"Sorry, you can't select the Form assign to FormPanel property"}));
    delete panel;
    EXPECT_EQ(frame.FormPanel(), nullptr);
}

TEST(QelformTest, FrameSizeSetsTheFormsClientSize) {
    FramedForm form(nullptr, "bsSizeable");
    auto& frame = *ui::FindAs<TqelForm>(form, "Frame1");
    frame.SetFrameBorderWidth(1);
    frame.SetFrameWidth(300);
    EXPECT_EQ(form.ClientWidth(), 302);
    frame.SetFrameHeight(200);
    EXPECT_EQ(form.ClientHeight(), 201);
    EXPECT_EQ(frame.Width(), 300);
    EXPECT_EQ(frame.Height(), 200);
}

POINT Screen(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

LRESULT AskHit(HWND window, int x, int y) {
    const POINT p = Screen(window, x, y);
    return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
}

TEST(QelformTest, SizeableFormAnswersEdgeHitTests) {
    FramedForm form(nullptr, "bsSizeable");
    HWND window = form.Handle();
    const int w = form.Width(), h = form.Height();
    struct Case {
        int x, y;
        LRESULT hit;
    } cases[] = {
        {1, 1, HTTOPLEFT},       {w - 2, 1, HTTOPRIGHT}, {w - 2, h - 2, HTBOTTOMRIGHT}, {1, h - 2, HTBOTTOMLEFT},
        {3, 100, HTLEFT},        {100, 3, HTTOP},        {w - 3, 100, HTRIGHT},         {100, h - 3, HTBOTTOM},
        {100, 100, HTCLIENT},
    };
    for (const Case& c : cases) EXPECT_EQ(AskHit(window, c.x, c.y), c.hit) << c.x << "," << c.y;
    form.WindowState = ui::TWindowState::Maximized;
    EXPECT_EQ(AskHit(window, 3, 100), HTCLIENT);
}

TEST(QelformTest, FormThatWasNotSizeableKeepsItsOwnAnswers) {
    FramedForm form(nullptr, "bsDialog");
    EXPECT_EQ(AskHit(form.Handle(), 3, 100), HTCLIENT);
}

TEST(QelformTest, HookComesOffWhenTheFrameGoesFirst) {
    FramedForm form(nullptr, "bsSizeable");
    HWND window = form.Handle();
    ASSERT_EQ(AskHit(window, 3, 100), HTLEFT);
    delete ui::FindAs<TqelForm>(form, "Frame1");
    EXPECT_EQ(AskHit(window, 3, 100), HTCLIENT);  // the form's own answer, and nothing freed is reached
    SendMessageA(window, WM_SIZE, 0, MAKELPARAM(300, 200));
    SendMessageA(window, WM_ACTIVATE, WA_ACTIVE, 0);
}

TEST(QelformTest, FormCanGoFirst) {
    auto form = std::make_unique<FramedForm>(nullptr, "bsSizeable");
    HWND window = form->Handle();
    ASSERT_EQ(AskHit(window, 3, 100), HTLEFT);
    ASSERT_TRUE(ui::Application && ui::Application->OnMessage);  // the frame takes the program's keys
    form.reset();  // the form's window and the frame go together
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(ui::Application->OnMessage) << "the program's messages would still reach the freed frame";
}

}  // namespace
