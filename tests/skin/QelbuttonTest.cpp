// Skinned push buttons, check boxes and radio buttons placed by a form description, painted into
// memory bitmaps and compared with the style pictures they must show; their mouse and keyboard
// behaviour driven through window messages.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ActnList.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "GdiObjects.h"
#include "Qelbutton.h"
#include "Qelform.h"
#include "Qelpublic.h"
#include "Qelregister.h"
#include "StdCtrls.h"

namespace {

using skin::TqelButton;
using skin::TqelCheckBox;
using skin::TqelRadioButton;
using skin::TqelUIStyle;

class ButtonForm : public ui::TForm {
public:
    explicit ButtonForm(ui::TComponent* owner) : ui::TForm(owner) {
        skin::RegisterSkinClasses();
        Publish("Clicked", &ButtonForm::Clicked);
        InitFromText(R"(object ButtonForm: TForm
  Left = 0
  Top = 0
  Width = 300
  Height = 200
  object Ok1: TqelButton
    Left = 8
    Top = 8
    Width = 80
    Height = 27
    Caption = ''
    UIStyle = DeepBlue
    ModalResult = 1
    OnClick = Clicked
  end
  object Check1: TqelCheckBox
    Left = 8
    Top = 40
    Caption = ' '
    UIStyle = DeepBlue
    OnClick = Clicked
  end
  object Radio1: TqelRadioButton
    Left = 8
    Top = 60
    Caption = ' '
    Checked = True
  end
  object Radio2: TqelRadioButton
    Left = 8
    Top = 80
    Caption = ' '
  end
  object Radio3: TqelRadioButton
    Left = 8
    Top = 100
    Caption = ' '
    GroupIndex = 1
    Checked = True
  end
  object Panel1: TPanel
    Left = 150
    Top = 0
    Width = 100
    Height = 100
    object Radio4: TqelRadioButton
      Left = 0
      Top = 0
      Caption = ' '
      Checked = True
    end
  end
  object Edit1: TEdit
    Left = 150
    Top = 120
  end
end
)");
    }
    void Clicked(ui::TComponent* sender) { events.push_back(sender->Name() + (Check1 && sender == Check1 && Check1->Checked() ? "+" : "")); }

    std::vector<std::string> events;
    TqelCheckBox* Check1 = nullptr;

protected:
    void BindComponents() override { Check1 = ui::FindAs<TqelCheckBox>(*this, "Check1"); }
};

template <class T>
T& Find(ButtonForm& form, const std::string& name) {
    return *ui::FindAs<T>(form, name);
}

// What the control shows, painted as a window would.
std::unique_ptr<ui::TBitmap> Painted(skin::TqelCustomButton& control) {
    auto bitmap = std::make_unique<ui::TBitmap>();
    bitmap->SetSize(control.Width(), control.Height());
    control.PaintTo(bitmap->Canvas());
    return bitmap;
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// What the window paints when asked to paint into a context of the sender's.
std::unique_ptr<ui::TBitmap> Shown(ui::TWinControl& control) {
    auto bitmap = std::make_unique<ui::TBitmap>();
    bitmap->SetSize(control.Width(), control.Height());
    SendMessageA(control.Handle(), WM_PAINT, reinterpret_cast<WPARAM>(bitmap->Canvas().Handle()), 0);
    return bitmap;
}

// The picture stands unstretched at the top-left corner of what is shown.
void ExpectAtCorner(const ui::TBitmap& shown, const ui::TBitmap& picture) {
    ASSERT_FALSE(picture.Empty());
    ASSERT_LE(picture.Width(), shown.Width());
    ASSERT_LE(picture.Height(), shown.Height());
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) ASSERT_EQ(shown.Pixel(x, y), picture.Pixel(x, y)) << x << "," << y;
}

bool SamePixels(const ui::TBitmap& a, const ui::TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
}

// A key pressed with Alt, as the system delivers it to the window with the focus.
void AltKey(ui::TWinControl& focused, char c) {
    PostMessageA(focused.Handle(), WM_SYSCHAR, static_cast<unsigned char>(c), 1 | (KF_ALTDOWN << 16));
    ui::Application->ProcessMessages();
}

class QelbuttonTest : public ::testing::Test {
protected:
    ButtonForm form{nullptr};
};

TEST_F(QelbuttonTest, ButtonStatePrecedence) {
    struct Case {
        bool enabled, pressed, hover;
        const char* picture;
    } cases[] = {
        {true, false, false, "DEEPBLUE_BUTTON_NORMAL"},   {true, false, true, "DEEPBLUE_BUTTON_MOUSEON"},
        {true, true, false, "DEEPBLUE_BUTTON_MOUSEDOWN"}, {true, true, true, "DEEPBLUE_BUTTON_MOUSEDOWN"},
        {false, true, true, "DEEPBLUE_BUTTON_NORMAL"},    {false, false, false, "DEEPBLUE_BUTTON_NORMAL"},
    };
    auto& button = Find<TqelButton>(form, "Ok1");
    HWND window = button.Handle();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picture);
        button.SetEnabled(true);
        SendMessageA(window, WM_MOUSEMOVE, 0, At(5, 5));  // enters: hover
        if (!c.hover) SendMessageA(window, WM_MOUSELEAVE, 0, 0);
        if (c.pressed) SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
        button.SetEnabled(c.enabled);
        ASSERT_EQ(button.Hover(), c.hover);
        ASSERT_EQ(button.Pressed(), c.pressed);

        ui::TBitmap picture, expected;
        skin::LoadSkinBitmap(picture, c.picture);
        ASSERT_FALSE(picture.Empty());
        expected.SetSize(80, 27);
        skin::SpitDraw(picture, expected.Canvas(), {0, 0, 80, 27}, false);
        const auto shown = Painted(button);
        for (int y = 0; y < 27; ++y)
            for (int x = 0; x < 80; ++x) ASSERT_EQ(shown->Pixel(x, y), expected.Pixel(x, y)) << x << "," << y;
        button.SetEnabled(true);
        SendMessageA(window, WM_MOUSEMOVE, 0, At(-1, -1));  // outside: neither hover nor pressed
    }
}

TEST_F(QelbuttonTest, ButtonClicksOnlyOnAReleaseInside) {
    auto& button = Find<TqelButton>(form, "Ok1");
    HWND window = button.Handle();
    struct Step {
        UINT message;
        int x, y;
        size_t clicks;
    } steps[] = {
        {WM_LBUTTONDOWN, 5, 5, 0}, {WM_LBUTTONUP, 5, 5, 1},    // a click
        {WM_LBUTTONDOWN, 5, 5, 1}, {WM_MOUSEMOVE, 90, 5, 1},   // leaves while pressed
        {WM_MOUSEMOVE, 5, 5, 1},   {WM_LBUTTONUP, 5, 5, 1},    // back in: no click
        {WM_RBUTTONDOWN, 5, 5, 1}, {WM_RBUTTONUP, 5, 5, 1},    // right button: nothing
        {WM_LBUTTONDOWN, 80, 27, 1}, {WM_MOUSEMOVE, 80, 27, 1}, {WM_LBUTTONUP, 80, 27, 2},  // edges count inside
    };
    for (const Step& s : steps) {
        SendMessageA(window, s.message, s.message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, At(s.x, s.y));
        EXPECT_EQ(form.events.size(), s.clicks) << s.message << " at " << s.x;
    }
    EXPECT_EQ(form.ModalResult(), 1);
    button.Click();  // from program code: nothing
    EXPECT_EQ(form.events.size(), 2u);
}

TEST_F(QelbuttonTest, KeysPressAndClickOnlyTheFocusedControl) {
    auto& button = Find<TqelButton>(form, "Ok1");
    auto& box = Find<TqelCheckBox>(form, "Check1");
    form.Show();
    button.SetFocus();
    ASSERT_TRUE(button.Focused());
    struct Step {
        skin::TqelCustomButton* control;
        UINT message;
        WORD key;
        bool pressed;
        size_t events;
    } steps[] = {
        {&button, WM_KEYDOWN, VK_SPACE, true, 0}, {&button, WM_KEYUP, VK_SPACE, false, 1},
        {&button, WM_KEYDOWN, VK_RETURN, true, 1}, {&button, WM_KEYUP, VK_RETURN, false, 2},
        {&button, WM_KEYDOWN, 'A', false, 2},      {&button, WM_KEYUP, 'A', false, 2},
        {&box, WM_KEYDOWN, VK_SPACE, false, 2},    {&box, WM_KEYUP, VK_SPACE, false, 2},  // not focused
    };
    for (const Step& s : steps) {
        SendMessageA(s.control->Handle(), s.message, s.key, 0);
        EXPECT_EQ(s.control->Pressed(), s.pressed) << s.message << " " << s.key;
        EXPECT_EQ(form.events.size(), s.events) << s.message << " " << s.key;
    }
    box.SetFocus();
    SendMessageA(box.Handle(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(box.Handle(), WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(form.events.back(), "Check1+");  // toggled, then clicked
    form.Hide();
}

TEST_F(QelbuttonTest, CheckBoxTogglesOnlyOnALeftClickThenRaisesOnClick) {
    auto& box = Find<TqelCheckBox>(form, "Check1");
    HWND window = box.Handle();
    SendMessageA(window, WM_RBUTTONDOWN, 0, At(3, 3));
    SendMessageA(window, WM_RBUTTONUP, 0, At(3, 3));
    EXPECT_FALSE(box.Checked());
    SendMessageA(window, WM_LBUTTONUP, 0, At(3, 3));  // a release without a press is no click
    EXPECT_FALSE(box.Checked());
    EXPECT_TRUE(form.events.empty());
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
    SendMessageA(window, WM_LBUTTONUP, 0, At(3, 3));
    EXPECT_TRUE(box.Checked());
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
    SendMessageA(window, WM_LBUTTONUP, 0, At(3, 3));
    EXPECT_FALSE(box.Checked());
    // The toggle comes first: the handler sees the new state.
    EXPECT_EQ(form.events, (std::vector<std::string>{"Check1+", "Check1"}));
}

TEST_F(QelbuttonTest, AcceleratorTogglesTheCheckBoxAfterItsClick) {
    auto& box = Find<TqelCheckBox>(form, "Check1");
    box.FSetCaption("&Mark");
    EXPECT_FALSE(box.DialogChar('x'));
    EXPECT_TRUE(box.DialogChar('m'));
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(form.events, (std::vector<std::string>{"Check1"}));  // raised before the toggle
    box.SetEnabled(false);
    EXPECT_FALSE(box.DialogChar('m'));
}

TEST_F(QelbuttonTest, RadioButtonsUncheckTheirGroupAmongSiblingsOnly) {
    auto& r1 = Find<TqelRadioButton>(form, "Radio1");
    auto& r2 = Find<TqelRadioButton>(form, "Radio2");
    auto& r3 = Find<TqelRadioButton>(form, "Radio3");
    auto& r4 = Find<TqelRadioButton>(form, "Radio4");
    ASSERT_TRUE(r1.Checked() && r3.Checked() && r4.Checked());
    HWND window = r2.Handle();
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
    SendMessageA(window, WM_LBUTTONUP, 0, At(3, 3));
    EXPECT_TRUE(r2.Checked());
    EXPECT_FALSE(r1.Checked());
    EXPECT_TRUE(r3.Checked());  // another group index
    EXPECT_TRUE(r4.Checked());  // another parent
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
    SendMessageA(window, WM_LBUTTONUP, 0, At(3, 3));
    EXPECT_TRUE(r2.Checked());  // clicking a checked one leaves it checked
}

TEST_F(QelbuttonTest, CheckAndRadioPicturesPerState) {
    struct Case {
        bool radio, checked, enabled, hover, pressed;
        const char* picture;
    } cases[] = {
        {false, true, true, false, false, "DEEPBLUE_CHECKBOX_CHECK"},
        {false, false, true, false, false, "DEEPBLUE_CHECKBOX_UNCHECK"},
        {false, true, false, false, false, "DEEPBLUE_CHECKBOX_DISABLE_CHECK"},
        {false, false, false, true, true, "DEEPBLUE_CHECKBOX_DISABLE_UNCHECK"},
        {true, true, true, false, false, "DEEPBLUE_RADIOBUTTON_CHECK"},
        {true, false, false, false, false, "DEEPBLUE_RADIOBUTTON_DISABLE_UNCHECK"},
        {true, true, false, false, false, "DEEPBLUE_RADIOBUTTON_DISABLE_CHECK"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picture);
        auto& box = c.radio ? Find<TqelRadioButton>(form, "Radio3") : Find<TqelCheckBox>(form, "Check1");
        box.SetChecked(c.checked);
        box.SetEnabled(c.enabled);
        ui::TBitmap picture;
        skin::LoadSkinBitmap(picture, c.picture);
        ASSERT_EQ(picture.Width(), 13);
        const auto shown = Painted(box);
        const int top = (box.ClientHeight() - 13) / 2;
        const COLORREF key = picture.Pixel(0, 0);
        for (int y = 0; y < 13; ++y) {
            for (int x = 0; x < 13; ++x) {
                // A radio button's picture is masked with its corner colour.
                if (c.radio && picture.Pixel(x, y) == key) continue;
                ASSERT_EQ(shown->Pixel(1 + x, top + y), picture.Pixel(x, y)) << x << "," << y;
            }
        }
        box.SetEnabled(true);
    }
}

TEST_F(QelbuttonTest, TwoFrameGlyphShowsItsHalfPerEnabledState) {
    auto& button = Find<TqelButton>(form, "Ok1");
    ui::TBitmap glyph;
    glyph.SetSize(16, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool inner = x % 8 >= 2 && x % 8 <= 5 && y >= 2 && y <= 5;
            glyph.SetPixel(x, y, !inner ? RGB(255, 0, 255) : x < 8 ? RGB(255, 0, 0) : RGB(0, 255, 0));
        }
    button.SetGlyph(glyph);
    // Glyph left of an empty caption: x = (80 - (0 + 8 + 4)) / 2, y = (27 - 8) / 2.
    const int gx = 34, gy = 9;
    auto shown = Painted(button);
    EXPECT_EQ(shown->Pixel(gx + 3, gy + 3), RGB(255, 0, 0));
    EXPECT_NE(shown->Pixel(gx, gy), RGB(255, 0, 255));  // the key colour is masked out
    button.SetEnabled(false);
    shown = Painted(button);
    EXPECT_EQ(shown->Pixel(gx + 3, gy + 3), RGB(0, 255, 0));
}

TEST_F(QelbuttonTest, StyleRules) {
    auto& button = Find<TqelButton>(form, "Ok1");
    EXPECT_EQ(button.GetPicNormal(), "");  // style names are never streamed
    button.SetUIStyle(TqelUIStyle::MacOS);
    button.SetHeight(40);
    EXPECT_EQ(button.Height(), 23);
    button.SetUIStyle(TqelUIStyle::BlueGlass);
    EXPECT_TRUE(button.Transparent());
    button.SetPicNormal("PROTEIN_BUTTON_NORMAL");
    EXPECT_EQ(button.UIStyle(), TqelUIStyle::Custom);
    EXPECT_EQ(button.GetPicNormal(), "PROTEIN_BUTTON_NORMAL");
    EXPECT_EQ(button.Width(), 74);  // Custom sizes itself to its picture
    EXPECT_EQ(button.Height(), 21);

    auto& box = Find<TqelCheckBox>(form, "Check1");
    box.SetUIStyle(TqelUIStyle::Protein);
    EXPECT_TRUE(box.Transparent());
    EXPECT_FALSE(box.PicTransparent());
    box.SetUIStyle(TqelUIStyle::WinXP);
    EXPECT_FALSE(box.Transparent());
    box.SetChecked(true);
    EXPECT_EQ(box.GetPicMouseOn(), "WINXP_CHECKBOX_MOUSEON_CHECK");
    box.FSetCaption("Wide caption");
    box.FSetAutoSize(true);
    ui::TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas().Font.Assign(box.Font());
    EXPECT_EQ(box.ClientWidth(), 13 + measure.Canvas().TextWidth("Wide caption") + 8);
    EXPECT_EQ(box.ClientHeight(), 13 + 4);
}

TEST_F(QelbuttonTest, AltAndTheAcceleratorPressTheButtonWhereverTheFocusIs) {
    auto& button = Find<TqelButton>(form, "Ok1");
    auto& box = Find<TqelCheckBox>(form, "Check1");
    button.FSetCaption("&Go");
    box.FSetCaption("&Keep");
    auto& edit = Find<ui::TEdit>(form, "Edit1");
    form.Show();
    edit.SetFocus();
    AltKey(edit, 'q');  // no control's accelerator
    EXPECT_TRUE(form.events.empty());
    AltKey(edit, 'g');
    EXPECT_EQ(form.events, (std::vector<std::string>{"Ok1"}));
    EXPECT_EQ(form.ModalResult(), 1);
    EXPECT_EQ(GetFocus(), button.Handle());
    AltKey(button, 'K');  // from the button that now has the focus; either case
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(form.events, (std::vector<std::string>{"Ok1", "Check1"}));
    EXPECT_EQ(GetFocus(), box.Handle());
    box.SetEnabled(false);
    edit.SetFocus();
    AltKey(edit, 'k');
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(form.events.size(), 2u);
    form.Hide();
}

TEST_F(QelbuttonTest, DoubleClickIsASecondPress) {
    auto& button = Find<TqelButton>(form, "Ok1");
    auto& box = Find<TqelCheckBox>(form, "Check1");
    int doubles = 0;
    box.OnDblClick = [&](ui::TComponent*) { ++doubles; };
    // What the system sends for a double click on a window whose class asks for double clicks.
    const UINT clicks[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP};
    for (UINT message : clicks) SendMessageA(button.Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, At(5, 5));
    EXPECT_EQ(form.events, (std::vector<std::string>{"Ok1", "Ok1"}));
    EXPECT_FALSE(button.Pressed());
    form.events.clear();
    for (UINT message : clicks) SendMessageA(box.Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, At(3, 3));
    EXPECT_FALSE(box.Checked());  // toggled twice
    EXPECT_EQ(form.events, (std::vector<std::string>{"Check1+", "Check1"}));
    EXPECT_EQ(doubles, 1);
}

TEST_F(QelbuttonTest, PicturesComeFromTheModuleResHandleNames) {
    const HMODULE other = LoadLibraryA("OtherPictures.dll");
    ASSERT_NE(other, nullptr) << "the test's picture module is missing";
    ui::TBitmap own, elsewhere;
    skin::LoadSkinBitmap(own, "DEEPBLUE_BUTTON_NORMAL");
    skin::LoadSkinBitmap(elsewhere, "DEEPBLUE_BUTTON_NORMAL", other);
    ASSERT_FALSE(elsewhere.Empty());
    ASSERT_FALSE(SamePixels(own, elsewhere));

    auto& button = Find<TqelButton>(form, "Ok1");
    button.SetPicNormal("DEEPBLUE_BUTTON_NORMAL");  // Custom: the button's own picture names
    EXPECT_EQ(button.GetResHandle(), nullptr);
    ExpectAtCorner(*Shown(button), own);
    button.SetResHandle(other);
    EXPECT_EQ(button.GetResHandle(), other);
    ExpectAtCorner(*Shown(button), elsewhere);
    button.FSetAutoSize(true);  // sized to the picture it shows
    EXPECT_EQ(button.Width(), elsewhere.Width());
    EXPECT_EQ(button.Height(), elsewhere.Height());
    button.SetResHandle(nullptr);  // the program's own module again
    EXPECT_EQ(button.GetResHandle(), nullptr);
    button.FSetAutoSize(true);
    EXPECT_EQ(button.Width(), own.Width());
    ExpectAtCorner(*Shown(button), own);
    button.SetResHandle(other);
    button.SetUIStyle(TqelUIStyle::WinXP);  // style pictures always come from the program
    EXPECT_EQ(button.GetResHandle(), nullptr);
    FreeLibrary(other);
}

class StyledForm : public ui::TForm {
public:
    StyledForm() : ui::TForm(nullptr) {
        skin::RegisterSkinClasses();
        InitFromText(R"(object StyledForm: TForm
  Width = 300
  Height = 200
  object Frame1: TqelForm
    object Own1: TqelButton
      Left = 8
      Top = 40
      PicNormalResName = 'PROTEIN_BUTTON_NORMAL'
      PicMouseDownResName = 'PROTEIN_BUTTON_MOUSEDOWN'
      Caption = ' '
    end
    object Styled1: TqelButton
      Left = 100
      Top = 40
      Caption = ' '
    end
    object OwnCheck1: TqelCheckBox
      Left = 8
      Top = 80
      UIStyle = Custom
    end
    object OwnRadio1: TqelRadioButton
      Left = 8
      Top = 100
      UIStyle = Custom
    end
    object Check1: TqelCheckBox
      Left = 8
      Top = 120
    end
  end
end
)");
    }
};

TEST(QelbuttonStyleTest, ContainerStyleLeavesCustomControlsAsTheyAre) {
    StyledForm form;
    auto& frame = *ui::FindAs<skin::TqelForm>(form, "Frame1");
    auto& own = *ui::FindAs<TqelButton>(form, "Own1");
    frame.SetUIStyle(TqelUIStyle::WinXP);
    EXPECT_EQ(own.UIStyle(), TqelUIStyle::Custom);
    EXPECT_EQ(own.GetPicNormal(), "PROTEIN_BUTTON_NORMAL");
    EXPECT_EQ(ui::FindAs<TqelCheckBox>(form, "OwnCheck1")->UIStyle(), TqelUIStyle::Custom);
    EXPECT_EQ(ui::FindAs<TqelRadioButton>(form, "OwnRadio1")->UIStyle(), TqelUIStyle::Custom);
    EXPECT_EQ(ui::FindAs<TqelCheckBox>(form, "Check1")->UIStyle(), TqelUIStyle::WinXP);
    auto& styled = *ui::FindAs<TqelButton>(form, "Styled1");
    EXPECT_EQ(styled.UIStyle(), TqelUIStyle::WinXP);

    // What the windows show: the Custom button its own pictures, the other the style's.
    ui::TBitmap normal, down, xp;
    skin::LoadSkinBitmap(normal, "PROTEIN_BUTTON_NORMAL");
    skin::LoadSkinBitmap(down, "PROTEIN_BUTTON_MOUSEDOWN");
    ExpectAtCorner(*Shown(own), normal);
    SendMessageA(own.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    ExpectAtCorner(*Shown(own), down);
    SendMessageA(own.Handle(), WM_LBUTTONUP, 0, At(5, 5));
    skin::LoadSkinBitmap(xp, "WINXP_BUTTON_NORMAL");
    ui::TBitmap expected;
    expected.SetSize(styled.Width(), styled.Height());
    skin::SpitDraw(xp, expected.Canvas(), styled.ClientRect(), false);
    EXPECT_TRUE(SamePixels(*Shown(styled), expected));
}

TEST(QelbuttonStyleTest, CheckAndRadioButtonsOnAMacOsOrProteinFormStartTransparent) {
    skin::RegisterSkinClasses();
    struct Case {
        TqelUIStyle style;
        bool transparent;
    } cases[] = {{TqelUIStyle::MacOS, true},    {TqelUIStyle::Protein, true},   {TqelUIStyle::WinXP, false},
                 {TqelUIStyle::DeepBlue, false}, {TqelUIStyle::BlueGlass, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.style));
        ui::TForm form(nullptr);
        form.SetBounds(0, 0, 300, 200);
        auto* frame = new skin::TqelForm(&form);
        frame->SetParent(&form);
        frame->SetUIStyle(c.style);
        auto* box = new TqelCheckBox(&form);
        auto* radio = new TqelRadioButton(&form);
        box->SetParent(frame);
        radio->SetParent(frame);
        // On the frame's tile grid: a tile brush lines up with the control's own origin.
        box->SetBounds(16, 40, 120, 17);
        radio->SetBounds(16, 64, 120, 17);
        EXPECT_TRUE(box->Transparent() == c.transparent);
        EXPECT_TRUE(radio->Transparent() == c.transparent);
        EXPECT_FALSE(box->PicTransparent());
        EXPECT_TRUE(radio->PicTransparent());
        // Right of the caption the box shows what the frame paints there, or its own colour.
        ui::TBitmap behind;
        behind.SetSize(frame->Width(), frame->Height());
        SendMessageA(frame->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(behind.Canvas().Handle()), 0);
        const auto shown = Shown(*box);
        const int x = box->Width() - 2;
        bool differs = false;
        for (int y = 0; y < box->Height(); ++y) {
            const COLORREF own = ui::ColorToRGB(box->Color()), parent = behind.Pixel(box->Left() + x, box->Top() + y);
            differs = differs || own != parent;
            ASSERT_EQ(shown->Pixel(x, y), c.transparent ? parent : own) << y;
        }
        if (c.transparent) {
            EXPECT_TRUE(differs) << "the frame's background looks like the box's colour";
        }
    }
}

class ActionForm : public ui::TForm {
public:
    ActionForm() : ui::TForm(nullptr) {
        skin::RegisterSkinClasses();
        Publish("Fetched", &ActionForm::Fetched);
        Publish("Clicked", &ActionForm::Clicked);
        InitFromText(R"(object ActionForm: TForm
  Width = 300
  Height = 200
  object Actions1: TActionList
    object Fetch1: TAction
      Caption = '&Fetch'
      OnExecute = Fetched
    end
  end
  object Go1: TqelButton
    Left = 8
    Top = 8
    Width = 80
    Height = 27
    Action = Fetch1
  end
  object Own1: TqelButton
    Left = 8
    Top = 40
    Width = 80
    Height = 27
    Action = Fetch1
    OnClick = Clicked
  end
  object Picture1: TqelImageButton
    Left = 8
    Top = 80
    Width = 40
    Height = 20
    Action = Fetch1
  end
end
)");
    }
    void Fetched(ui::TComponent* sender) { events.push_back("fetched by " + sender->Name()); }
    void Clicked(ui::TComponent* sender) { events.push_back("clicked " + sender->Name()); }
    void Click(const char* name) {
        HWND window = ui::FindAs<ui::TWinControl>(*this, name)->Handle();
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
        SendMessageA(window, WM_LBUTTONUP, 0, At(3, 3));
    }
    std::vector<std::string> events;
};

TEST(QelbuttonActionTest, LinkedButtonsFollowTheActionAndExecuteIt) {
    ActionForm form;
    auto& action = *ui::FindAs<ui::TAction>(form, "Fetch1");
    auto& go = *ui::FindAs<TqelButton>(form, "Go1");
    auto& picture = *ui::FindAs<skin::TqelImageButton>(form, "Picture1");
    EXPECT_EQ(go.Caption(), "&Fetch");
    EXPECT_EQ(picture.Caption(), "&Fetch");
    EXPECT_EQ(go.Action(), &action);
    form.Click("Go1");
    form.Click("Picture1");
    form.Click("Own1");  // its own handler wins
    EXPECT_EQ(form.events, (std::vector<std::string>{"fetched by Fetch1", "fetched by Fetch1", "clicked Own1"}));

    form.events.clear();
    form.Show();
    auto& own = *ui::FindAs<ui::TWinControl>(form, "Own1");
    own.SetFocus();
    AltKey(own, 'f');  // the action's caption is the accelerator of each; the first of them acts
    EXPECT_EQ(form.events, (std::vector<std::string>{"fetched by Fetch1"}));
    EXPECT_EQ(GetFocus(), go.Handle());
    form.Hide();

    form.events.clear();
    action.SetCaption("Stop");
    EXPECT_EQ(go.Caption(), "Stop");
    action.SetEnabled(false);
    EXPECT_FALSE(go.Enabled());
    EXPECT_FALSE(IsWindowEnabled(go.Handle()));
    form.Click("Go1");
    EXPECT_TRUE(form.events.empty());
    EXPECT_FALSE(action.Execute());
    action.SetEnabled(true);
    EXPECT_TRUE(go.Enabled());
    action.SetChecked(true);
    EXPECT_TRUE(action.Checked());
    EXPECT_TRUE(action.Execute());
    EXPECT_EQ(form.events, (std::vector<std::string>{"fetched by Fetch1"}));

    delete &action;  // the buttons let go of it
    EXPECT_EQ(go.Action(), nullptr);
    form.events.clear();
    form.Click("Go1");
    EXPECT_TRUE(form.events.empty());
}

TEST_F(QelbuttonTest, PaintingHoldsNoGdiObjects) {
    auto& button = Find<TqelButton>(form, "Ok1");
    auto& box = Find<TqelCheckBox>(form, "Check1");
    auto& radio = Find<TqelRadioButton>(form, "Radio1");
    button.FSetCaption("Go");
    box.FSetCaption("Mark");
    const auto paintAll = [&] {
        Painted(button);
        Painted(box);
        Painted(radio);
    };
    paintAll();
    const int before = GdiObjectCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 200; ++i) paintAll();
    EXPECT_LE(GdiObjectCount(), before + 2);
}

}  // namespace
