// Skinned buttons and check boxes under the real mouse pointer: the system routes each move and
// release to the window under the pointer, or to the window holding the mouse capture. A press
// held while the pointer leaves, comes back and is released must not click.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Forms.h"
#include "Qelbutton.h"
#include "Qelregister.h"

namespace {

using skin::TqelButton;
using skin::TqelCheckBox;

class PointerForm : public ui::TForm {
public:
    PointerForm() : ui::TForm(nullptr) {
        skin::RegisterSkinClasses();
        Publish("Clicked", &PointerForm::Clicked);
        Publish("Moved", &PointerForm::Moved);
        InitFromText(R"(object PointerForm: TForm
  Left = 100
  Top = 100
  Width = 320
  Height = 220
  object Go1: TqelButton
    Left = 20
    Top = 20
    Width = 80
    Height = 27
    Caption = 'Go'
    UIStyle = DeepBlue
    OnClick = Clicked
    OnMouseMove = Moved
  end
  object Pic1: TqelImageButton
    Left = 150
    Top = 20
    Width = 60
    Height = 30
    OnMouseMove = Moved
  end
  object Keep1: TqelCheckBox
    Left = 20
    Top = 80
    Caption = 'Keep'
    UIStyle = DeepBlue
    OnClick = Clicked
    OnMouseMove = Moved
  end
end
)");
    }
    void Clicked(ui::TComponent* sender) { clicks.push_back(sender->Name()); }
    struct Move {
        std::string control;
        ui::TShiftState shift;
        int x, y;
    };
    void Moved(ui::TComponent* sender, ui::TShiftState shift, int x, int y) { moves.push_back({sender->Name(), shift, x, y}); }
    std::vector<std::string> clicks;
    std::vector<Move> moves;
};

// Lets the system deliver what the input queue holds, including what it makes of it (the
// leaving of a window is noticed on a timer).
void Pump() {
    const DWORD until = GetTickCount() + 60;
    do {
        ui::Application->ProcessMessages();
        Sleep(5);
    } while (static_cast<LONG>(until - GetTickCount()) > 0);
}

// Pumps until `state` holds: what the system makes of a move (a hover, a leave) comes when it
// comes, later on a loaded machine. False when it does not hold within 10 s.
template <class State>
bool PumpUntil(State state) {
    const DWORD start = GetTickCount();
    for (;;) {
        ui::Application->ProcessMessages();
        if (state()) return true;
        if (GetTickCount() - start > 10000) return false;
        Sleep(5);
    }
}

void Input(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.dx = dx;
    input.mi.dy = dy;
    ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
}

// A screen coordinate in the 0..65535 scale of absolute moves, rounded up so that the system's
// scaling back lands on it.
LONG Absolute(int pixel, int extent) { return static_cast<LONG>((pixel * 65536LL + extent - 1) / extent); }

class QelbuttonMouseTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.Show();
        SetForegroundWindow(form.Handle());
        MoveTo(Away());
    }
    void TearDown() override {
        if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) Input(MOUSEEVENTF_LEFTUP);
        Pump();
        form.Hide();
    }

    // A point of the control, in screen coordinates.
    POINT On(ui::TWinControl& control, int x = 5, int y = 5) {
        POINT p{x, y};
        ClientToScreen(control.Handle(), &p);
        return p;
    }
    // A point of the form that no control covers.
    POINT Away() { return On(form, 250, 150); }
    // Under Wine the display echoes each move back a little later, and an echo of an earlier
    // move can put the pointer back there: the move is sent again until the pointer stays.
    void MoveTo(POINT p) {
        const auto there = [p] {
            POINT now;
            return GetCursorPos(&now) && now.x == p.x && now.y == p.y;
        };
        for (int attempt = 0; attempt < 10; ++attempt) {
            Input(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, Absolute(p.x, GetSystemMetrics(SM_CXSCREEN)),
                  Absolute(p.y, GetSystemMetrics(SM_CYSCREEN)));
            Pump();
            if (!there()) continue;
            Pump();
            if (there()) return;
        }
        FAIL() << "the pointer does not stay at " << p.x << "," << p.y;
    }
    void Press() {
        Input(MOUSEEVENTF_LEFTDOWN);
        Pump();
    }
    void Release() {
        Input(MOUSEEVENTF_LEFTUP);
        Pump();
    }

    PointerForm form;
    TqelButton& go = *ui::FindAs<TqelButton>(form, "Go1");
    TqelCheckBox& keep = *ui::FindAs<TqelCheckBox>(form, "Keep1");
    skin::TqelImageButton& pic = *ui::FindAs<skin::TqelImageButton>(form, "Pic1");
};

TEST_F(QelbuttonMouseTest, PointerReachesTheButton) {
    MoveTo(On(go));
    EXPECT_TRUE(PumpUntil([&] { return go.Hover(); }));
    Press();
    EXPECT_TRUE(go.Pressed());
    Release();
    EXPECT_EQ(form.clicks, std::vector<std::string>{"Go1"});
}

TEST_F(QelbuttonMouseTest, LeavingWhileHeldLetsTheButtonUp) {
    MoveTo(On(go));
    Press();
    ASSERT_TRUE(go.Pressed());
    EXPECT_EQ(GetCapture(), go.Handle());
    MoveTo(Away());
    EXPECT_TRUE(PumpUntil([&] { return !go.Hover(); }));
    EXPECT_FALSE(go.Pressed());
    MoveTo(On(go, 10, 10));  // back in, still held: hovered, not pressed
    EXPECT_TRUE(PumpUntil([&] { return go.Hover(); }));
    EXPECT_FALSE(go.Pressed());
    Release();
    EXPECT_TRUE(form.clicks.empty());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(QelbuttonMouseTest, ReleaseOutsideDoesNothing) {
    MoveTo(On(go));
    Press();
    MoveTo(Away());
    Release();
    EXPECT_TRUE(form.clicks.empty());
    EXPECT_FALSE(go.Pressed());
    // A later release over the button, without a press of its own, is no click either.
    MoveTo(On(go));
    Release();
    EXPECT_TRUE(form.clicks.empty());
}

TEST_F(QelbuttonMouseTest, LostCaptureLetsTheButtonUp) {
    MoveTo(On(go));
    Press();
    ASSERT_TRUE(go.Pressed());
    SetCapture(form.Handle());  // another window takes the mouse (a menu, a drag)
    EXPECT_FALSE(go.Pressed());
    ReleaseCapture();
    Release();
    EXPECT_TRUE(form.clicks.empty());
    Press();  // a fresh press and release click as ever
    Release();
    EXPECT_EQ(form.clicks, std::vector<std::string>{"Go1"});
}

TEST_F(QelbuttonMouseTest, CheckBoxHeldWhileThePointerLeavesDoesNotToggle) {
    MoveTo(On(keep, 3, 3));
    Press();
    MoveTo(Away());
    MoveTo(On(keep, 4, 4));
    Release();
    EXPECT_FALSE(keep.Checked());
    EXPECT_TRUE(form.clicks.empty());
    Press();
    Release();
    EXPECT_TRUE(keep.Checked());
    EXPECT_EQ(form.clicks, std::vector<std::string>{"Keep1"});
}

// The published mouse-move event hears the pointer over each kind of skinned button, with the
// point in the control and the buttons held, while the control keeps its own hover look.
TEST_F(QelbuttonMouseTest, MovesOverTheControlsRaiseTheirMouseMoveEvent) {
    struct Case {
        skin::TqelCustomButton* control;
    } cases[] = {{&go}, {&pic}, {&keep}};
    for (const auto& c : cases) {
        const std::string name = c.control->Name();
        form.moves.clear();
        const auto heardAt = [&](int x, int y) {
            return PumpUntil([&] { return !form.moves.empty() && form.moves.back().x == x && form.moves.back().y == y; });
        };
        MoveTo(On(*c.control, 6, 7));
        ASSERT_TRUE(heardAt(6, 7)) << name;
        EXPECT_EQ(form.moves.back().control, name);
        EXPECT_EQ(form.moves.back().x, 6) << name;
        EXPECT_EQ(form.moves.back().y, 7) << name;
        EXPECT_EQ(form.moves.back().shift & MK_LBUTTON, 0u) << name;
        EXPECT_TRUE(PumpUntil([&] { return c.control->Hover(); })) << name;
        Press();
        MoveTo(On(*c.control, 9, 4));
        ASSERT_TRUE(heardAt(9, 4)) << name;
        EXPECT_EQ(form.moves.back().control, name);
        EXPECT_EQ(form.moves.back().x, 9) << name;
        EXPECT_EQ(form.moves.back().y, 4) << name;
        EXPECT_NE(form.moves.back().shift & MK_LBUTTON, 0u) << name;
        Release();
        MoveTo(Away());
    }
}

}  // namespace
