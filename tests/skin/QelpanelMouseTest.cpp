// The panel-like skinned controls (the form frame, the image panel, the group box, the check and
// radio groups) and the bordered edits as the mouse and the keyboard reach their windows: presses,
// releases, double clicks, moves and typed keys posted to a shown form raise the events the
// controls publish.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Forms.h"
#include "Qeledit.h"
#include "Qelform.h"
#include "Qelgroupbox.h"
#include "Qelimagepanel.h"
#include "Qelmemo.h"
#include "Qelradiogroup.h"
#include "Qelregister.h"

namespace {

struct Event {
    std::string what;
    ui::TComponent* sender;
    int x = 0, y = 0;
    ui::TShiftState shift = 0;
    bool operator==(const Event& o) const {
        return what == o.what && sender == o.sender && x == o.x && y == o.y && shift == o.shift;
    }
};

std::ostream& operator<<(std::ostream& out, const Event& e) {
    return out << e.what << "(" << e.x << "," << e.y << " shift " << e.shift << ")";
}

class SurfaceForm : public ui::TForm {
public:
    SurfaceForm() : ui::TForm(nullptr) {
        skin::RegisterSkinClasses();
        Publish("Clicked", &SurfaceForm::Clicked);
        Publish("DblClicked", &SurfaceForm::DblClicked);
        Publish("MouseDown", &SurfaceForm::MouseDown);
        Publish("MouseUp", &SurfaceForm::MouseUp);
        Publish("MouseMoved", &SurfaceForm::MouseMoved);
        Publish("KeyUp", &SurfaceForm::KeyUp);
        Publish("KeyPress", &SurfaceForm::KeyPress);
        InitFromText(R"(object SurfaceForm: TForm
  Left = 40
  Top = 40
  Width = 560
  Height = 320
  object Frame1: TqelForm
    UIStyle = WinXP
    OnMouseDown = MouseDown
    OnClick = Clicked
    OnMouseUp = MouseUp
    object Image1: TqelImagePanel
      Left = 10
      Top = 40
      Width = 100
      Height = 80
      OnClick = Clicked
      OnDblClick = DblClicked
      OnMouseDown = MouseDown
      OnMouseMove = MouseMoved
      OnMouseUp = MouseUp
    end
    object Group1: TqelGroupBox
      Left = 120
      Top = 40
      Width = 120
      Height = 80
      OnClick = Clicked
      OnDblClick = DblClicked
      OnMouseDown = MouseDown
      OnMouseMove = MouseMoved
      OnMouseUp = MouseUp
    end
    object Checks1: TqelCheckGroup
      Left = 250
      Top = 40
      Width = 120
      Height = 80
      OnClick = Clicked
      Items.Strings = (
        'a')
    end
    object Radio1: TqelRadioGroup
      Left = 380
      Top = 40
      Width = 120
      Height = 80
      OnClick = Clicked
      Items.Strings = (
        'x')
    end
    object Edit1: TqelEdit
      Left = 10
      Top = 140
      Width = 100
      Height = 21
      OnKeyUp = KeyUp
      OnKeyPress = KeyPress
    end
    object Memo1: TqelMemo
      Left = 120
      Top = 140
      Width = 100
      Height = 60
      OnKeyUp = KeyUp
      OnKeyPress = KeyPress
    end
  end
end
)");
        // The groups publish no mouse-up event of their own; the control's inherited one still runs.
        for (const char* name : {"Checks1", "Radio1"})
            ui::FindAs<ui::TControl>(*this, name)->OnMouseUp = [this](ui::TComponent* s, ui::TMouseButton b,
                                                                      ui::TShiftState shift, int x, int y) {
                MouseUp(s, b, shift, x, y);
            };
        SetCursorPos(0, 0);  // away from the form: no move of the real mouse comes in between
        Show();
        ui::Application->ProcessMessages();
        events.clear();
    }
    ~SurfaceForm() override { Hide(); }

    void Clicked(ui::TComponent* s) { events.push_back({"click", s}); }
    void DblClicked(ui::TComponent* s) { events.push_back({"dblclick", s}); }
    void MouseDown(ui::TComponent* s, ui::TMouseButton b, ui::TShiftState shift, int x, int y) {
        events.push_back({b == ui::TMouseButton::Left ? "down" : "other down", s, x, y, shift & ui::ssDouble});
    }
    void MouseUp(ui::TComponent* s, ui::TMouseButton b, ui::TShiftState, int x, int y) {
        events.push_back({b == ui::TMouseButton::Left ? "up" : "other up", s, x, y});
    }
    void MouseMoved(ui::TComponent* s, ui::TShiftState, int x, int y) { events.push_back({"move", s, x, y}); }
    void KeyUp(ui::TComponent* s, WORD& key, ui::TShiftState) { events.push_back({"keyup", s, key}); }
    void KeyPress(ui::TComponent* s, char& key) {
        events.push_back({"keypress", s, key});
        if (key == 'a') key = 'b';  // typed a, the edit gets b
        if (key == 'x') key = 0;    // swallowed
    }

    void Post(ui::TWinControl* control, UINT message, WPARAM wParam, int x, int y) {
        PostMessageA(control->Handle(), message, wParam, MAKELPARAM(x, y));
    }
    void Run() { ui::Application->ProcessMessages(); }

    std::vector<Event> events;
};

// Each control, a point on its bare surface, and whether it publishes a double click, a mouse
// move and a mouse down of its own.
struct Surface {
    const char* name;
    int x, y;
    bool dblClick, move, down;
};
const Surface kSurfaces[] = {
    {"Frame1", 300, 200, false, false, true},
    {"Image1", 50, 40, true, true, true},
    {"Group1", 60, 60, true, true, true},
    {"Checks1", 110, 70, false, false, false},
    {"Radio1", 110, 70, false, false, false},
};

// What a press and release at the control's surface point raise: its mouse down where it has
// one, the click (the groups' own click has the group as its sender) and the mouse up.
std::vector<Event> ClickEvents(const Surface& s, ui::TWinControl* control) {
    std::vector<Event> events;
    if (s.down) events.push_back({"down", control, s.x, s.y});
    events.push_back({"click", control});
    events.push_back({"up", control, s.x, s.y});
    return events;
}

TEST(QelpanelMouseTest, PressAndReleaseOnTheSurfaceClick) {
    SurfaceForm form;
    for (const Surface& s : kSurfaces) {
        auto* control = ui::FindAs<ui::TWinControl>(form, s.name);
        form.events.clear();
        form.Post(control, WM_LBUTTONDOWN, MK_LBUTTON, s.x, s.y);
        form.Post(control, WM_LBUTTONUP, 0, s.x, s.y);
        form.Run();
        EXPECT_EQ(form.events, ClickEvents(s, control)) << s.name;
    }
}

TEST(QelpanelMouseTest, APressTakesTheMouseAndOnlyAReleaseOverTheControlClicks) {
    SurfaceForm form;
    for (const Surface& s : kSurfaces) {
        auto* control = ui::FindAs<ui::TWinControl>(form, s.name);
        form.events.clear();
        form.Post(control, WM_LBUTTONDOWN, MK_LBUTTON, s.x, s.y);
        form.Run();
        EXPECT_EQ(GetCapture(), control->Handle()) << s.name;
        // Let go outside: the release still comes here, and clicks nothing.
        form.Post(control, WM_LBUTTONUP, 0, control->Width() + 20, s.y);
        form.Run();
        EXPECT_EQ(GetCapture(), nullptr) << s.name;
        // A release without a press of its own clicks nothing either.
        form.Post(control, WM_LBUTTONUP, 0, s.x, s.y);
        form.Run();
        // Nor does one after the mouse was taken away while held.
        form.Post(control, WM_LBUTTONDOWN, MK_LBUTTON, s.x, s.y);
        form.Run();
        ReleaseCapture();
        form.Post(control, WM_LBUTTONUP, 0, s.x, s.y);
        form.Run();
        int clicks = 0, ups = 0;
        for (const Event& e : form.events) {
            clicks += e.what == "click";
            ups += e.what == "up";
        }
        EXPECT_EQ(clicks, 0) << s.name;
        EXPECT_EQ(ups, 3) << s.name;
    }
}

TEST(QelpanelMouseTest, ADoubleClickIsOneClickAndOneDoubleClick) {
    SurfaceForm form;
    for (const Surface& s : kSurfaces) {
        auto* control = ui::FindAs<ui::TWinControl>(form, s.name);
        form.events.clear();
        form.Post(control, WM_LBUTTONDOWN, MK_LBUTTON, s.x, s.y);
        form.Post(control, WM_LBUTTONUP, 0, s.x, s.y);
        form.Post(control, WM_LBUTTONDBLCLK, MK_LBUTTON, s.x, s.y);
        form.Post(control, WM_LBUTTONUP, 0, s.x, s.y);
        form.Run();
        std::vector<Event> expected = ClickEvents(s, control);
        if (s.dblClick) expected.push_back({"dblclick", control});
        if (s.down) expected.push_back({"down", control, s.x, s.y, ui::ssDouble});
        expected.push_back({"up", control, s.x, s.y});
        EXPECT_EQ(form.events, expected) << s.name;
    }
}

TEST(QelpanelMouseTest, MovesOverTheSurfaceAreReported) {
    SurfaceForm form;
    for (const Surface& s : kSurfaces) {
        auto* control = ui::FindAs<ui::TWinControl>(form, s.name);
        form.events.clear();
        form.Post(control, WM_MOUSEMOVE, 0, s.x, s.y);
        form.Post(control, WM_MOUSEMOVE, 0, s.x + 3, s.y - 2);
        form.Run();
        std::vector<Event> expected;
        if (s.move) expected = {{"move", control, s.x, s.y}, {"move", control, s.x + 3, s.y - 2}};
        EXPECT_EQ(form.events, expected) << s.name;
    }
}

TEST(QelpanelMouseTest, TypedKeysReachTheBorderedEdits) {
    SurfaceForm form;
    for (const char* name : {"Edit1", "Memo1"}) {
        auto* edit = ui::FindAs<ui::TCustomEdit>(form, name);
        edit->SetText("");
        form.events.clear();
        for (char c : std::string("axc")) PostMessageA(edit->Handle(), WM_CHAR, static_cast<WPARAM>(c), 1);
        PostMessageA(edit->Handle(), WM_KEYUP, VK_F5, 0xC0000001);
        form.Run();
        EXPECT_EQ(edit->Text(), "bc") << name;
        const std::vector<Event> expected = {
            {"keypress", edit, 'a'}, {"keypress", edit, 'x'}, {"keypress", edit, 'c'}, {"keyup", edit, VK_F5}};
        EXPECT_EQ(form.events, expected) << name;
    }
}

}  // namespace
