// Tab and Shift+Tab pressed on the keyboard in a form of skinned containers: the walk enters the
// image panel, the group box inside it and the check and radio groups each at its place in its
// parent's tab order (not in the order the controls were made), skips what is disabled or hidden,
// and wraps around at both ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "Forms.h"
#include "KeyInput.h"
#include "ModalBound.h"
#include "Qelbutton.h"
#include "Qelregister.h"

namespace {

class WalkForm : public ui::TForm {
public:
    WalkForm() : ui::TForm(nullptr) {
        skin::RegisterSkinClasses();
        InitFromText(R"(object WalkForm: TForm
  Left = 100
  Top = 100
  Width = 440
  Height = 340
  object Panel1: TqelImagePanel
    Left = 8
    Top = 8
    Width = 200
    Height = 170
    TabOrder = 1
    object PanelGo: TqelButton
      Left = 8
      Top = 8
      Caption = 'Go'
      TabStop = True
      TabOrder = 1
    end
    object PanelBox: TqelGroupBox
      Left = 8
      Top = 44
      Width = 180
      Height = 110
      Caption = 'Box'
      TabOrder = 0
      object BoxKeep: TqelCheckBox
        Left = 8
        Top = 20
        Caption = 'Keep'
      end
      object BoxOff: TqelCheckBox
        Left = 8
        Top = 44
        Caption = 'Off'
        Enabled = False
      end
      object BoxHidden: TqelCheckBox
        Left = 8
        Top = 68
        Caption = 'Hidden'
        Visible = False
      end
    end
  end
  object Radios: TqelRadioGroup
    Left = 220
    Top = 8
    Width = 190
    Height = 100
    TabOrder = 2
    Items.Strings = (
      'North'
      'South')
  end
  object Checks: TqelCheckGroup
    Left = 220
    Top = 120
    Width = 190
    Height = 100
    TabOrder = 3
    Items.Strings = (
      'Left'
      'Right')
  end
  object First: TqelButton
    Left = 8
    Top = 240
    Caption = 'First'
    TabStop = True
    TabOrder = 0
  end
  object Untabbed: TqelButton
    Left = 100
    Top = 240
    Caption = 'Untabbed'
  end
  object Plain: TEdit
    Left = 200
    Top = 240
  end
end
)");
    }
};

// A control's name, or the caption of a group's item button (which has none).
std::string Label(HWND window) {
    ui::TWinControl* control = ui::TWinControl::FromHandle(window);
    if (!control) return window ? "a window of no control" : "nothing";
    if (!control->Name().empty()) return control->Name();
    if (auto* button = dynamic_cast<skin::TqelCustomButton*>(control)) return button->Caption();
    return "a control without a name";
}

// Runs each step on a timer of the modal loop, which the system fires only once no input waits:
// a step sees what the keys of the step before it did.
class Steps {
public:
    static void Run(std::vector<std::function<void()>> steps) {
        pending() = std::move(steps);
        next() = 0;
        timer() = SetTimer(nullptr, 0, 20, &Steps::Tick);
    }
    static void Stop() { KillTimer(nullptr, timer()); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (next() < pending().size()) pending()[next()++]();
    }
    static std::vector<std::function<void()>>& pending() {
        static std::vector<std::function<void()>> steps;
        return steps;
    }
    static size_t& next() {
        static size_t i = 0;
        return i;
    }
    static UINT_PTR& timer() {
        static UINT_PTR t = 0;
        return t;
    }
};

TEST(ContainerTabWalkTest, TabAndShiftTabWalkEveryContainerInTabOrderAndWrap) {
    WalkForm form;
    const std::vector<std::string> ring = {"First", "BoxKeep", "PanelGo", "North", "South", "Left", "Right", "Plain"};
    for (bool back : {false, true}) {
        std::vector<std::string> seen;
        std::vector<std::function<void()>> steps;
        for (size_t i = 0; i < ring.size(); ++i) {
            steps.push_back([&seen, back] {
                seen.push_back(Label(GetFocus()));
                PressTab(back);
            });
        }
        steps.push_back([&] {
            seen.push_back(Label(GetFocus()));
            form.SetModalResult(ui::mrOk);
        });
        Steps::Run(steps);
        EXPECT_EQ(ShowModalBounded(form), ui::mrOk);
        Steps::Stop();
        std::vector<std::string> expected = ring;
        if (back) std::reverse(expected.begin() + 1, expected.end());
        expected.push_back(ring.front());
        EXPECT_EQ(seen, expected) << (back ? "Shift+Tab" : "Tab");
    }
}

// A disabled group box takes its children out of the walk; enabled again, they come back.
TEST(ContainerTabWalkTest, ADisabledGroupBoxLeavesTheWalk) {
    WalkForm form;
    ui::FindAs<ui::TWinControl>(form, "PanelBox")->SetEnabled(false);
    std::vector<std::string> seen;
    Steps::Run({[&] {
                    seen.push_back(Label(GetFocus()));
                    PressTab();
                },
                [&] {
                    seen.push_back(Label(GetFocus()));
                    form.SetModalResult(ui::mrOk);
                }});
    EXPECT_EQ(ShowModalBounded(form), ui::mrOk);
    Steps::Stop();
    EXPECT_EQ(seen, (std::vector<std::string>{"First", "PanelGo"}));
}

}  // namespace
