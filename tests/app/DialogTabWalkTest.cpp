// Tab and Shift+Tab pressed on the keyboard walk every field and button of each dialog, into and
// out of the panel or group box that holds some of them, in the dialog's tab order, and wrap
// around at both ends: no field is left that the keyboard cannot reach.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "CommandHarness.h"
#include "FakeRuns.h"
#include "KeyInput.h"
#include "ModalBound.h"
#include "Plus.h"

namespace {

using command_harness::CommandHarness;
using command_harness::ModalSteps;

std::string NameOf(HWND window) {
    if (const ui::TWinControl* control = ui::TWinControl::FromHandle(window)) return control->Name();
    return window ? "a window of no control" : "nothing";
}

std::vector<std::string> Names(const std::vector<HWND>& windows) {
    std::vector<std::string> names;
    for (HWND w : windows) names.push_back(NameOf(w));
    return names;
}

// The walk a user expects from `first` around `ring` (which starts with it) and back to it.
std::vector<std::string> Lap(std::vector<std::string> ring, bool back) {
    if (back) std::reverse(ring.begin() + 1, ring.end());
    ring.push_back(ring.front());
    return ring;
}

// Steps for a dialog's modal loop: the focus is noted, then Tab (or Shift+Tab) pressed, `presses`
// times, and the focus noted once more at the end. A step runs only once the loop has taken every
// key before it, since the system times its steps out only when no input is waiting.
std::vector<std::function<void()>> WalkSteps(int presses, bool back, std::vector<HWND>& seen) {
    std::vector<std::function<void()>> steps;
    for (int i = 0; i < presses; ++i) {
        steps.push_back([&seen, back] {
            seen.push_back(GetFocus());
            PressTab(back);
        });
    }
    steps.push_back([&seen] { seen.push_back(GetFocus()); });
    return steps;
}

void Cancel(ui::TButton* button) {
    PostMessageA(button->HandleOrNull(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(button->HandleOrNull(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

class DialogTabWalkTest : public CommandHarness {
protected:
    void TearDown() override {
        runs.EndAll();
        CommandHarness::TearDown();
    }
    FakeRuns runs;
};

TEST_F(DialogTabWalkTest, TheAddAndPropertyDialogWalkEveryFieldBothWays) {
    Make();
    const std::string stored = dir.File("store");
    CreateDirectoryA(stored.c_str(), nullptr);
    ASSERT_TRUE(form->Manager()->AddItem("http://127.0.0.1/old.bin", (stored + "\\").c_str(), "old.bin"));
    form->Manager()->StopItem(Items().back());
    runs.EndAll();
    Tick();
    const std::vector<std::string> ring = {"EditURL", "EditDest", "EditFileName", "edUser", "edPass", "Button1", "Button2"};
    struct Case {
        const char* what;
        std::function<void()> open;
    } cases[] = {
        {"add", [&] { form->btnAdd->Click(); }},
        {"property", [&] {
             form->ListDown->SetSelected(form->ListDown->Item(0));
             form->pupProperty->Click();
         }},
    };
    for (const auto& c : cases) {
        for (bool back : {false, true}) {
            std::vector<HWND> seen;
            auto steps = WalkSteps(static_cast<int>(ring.size()), back, seen);
            steps.push_back([&] { Cancel(frmInfo->Button2); });
            WithDialog(steps, c.open);
            EXPECT_EQ(Names(seen), Lap(ring, back)) << c.what << (back ? ", Shift+Tab" : ", Tab");
        }
    }
    EXPECT_TRUE(messages.empty());
}

// What was typed after the keyboard walked past the buttons lands in the field it reached.
TEST_F(DialogTabWalkTest, AFieldReachedAgainFromTheButtonsTakesTypedText) {
    Make();
    std::string typedInto;
    std::vector<std::function<void()>> steps;
    for (int i = 0; i < 8; ++i) steps.push_back([] { PressTab(); });  // URL ... Cancel, URL, Dest
    steps.push_back([] { PressKey('Q'); });
    steps.push_back([&] {
        typedInto = NameOf(GetFocus());
        Cancel(frmInfo->Button2);
    });
    frmInfo->EditDest->SetText("");
    WithDialog(steps, [&] { form->btnAdd->Click(); });
    EXPECT_EQ(typedInto, "EditDest");
    EXPECT_EQ(frmInfo->EditDest->Text(), "q");
}

TEST_F(DialogTabWalkTest, TheOptionsDialogWalksIntoTheProxyGroupBothWays) {
    Make();
    const char* ini = form->Settings().settingsPath;
    const std::vector<std::string> fixed = {"Edit1", "CSpinEdit1", "OKBtn", "CancelBtn", "CSpinEdit2", "EnableProxy"};
    std::vector<std::string> withFields = fixed;
    withFields.insert(withFields.end(), {"edServer", "edPort"});
    struct Case {
        const char* what;
        bool proxyOn;  // the stored setting: the server and port fields are enabled with it
        std::vector<std::string> ring;
    } cases[] = {
        {"proxy off: its fields are disabled and skipped", false, fixed},
        {"proxy on", true, withFields},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(form->Manager()->SetProxy(ini, "127.0.0.1", "8080", c.proxyOn ? 1 : 0));
        for (bool back : {false, true}) {
            std::vector<HWND> seen;
            auto steps = WalkSteps(static_cast<int>(c.ring.size()), back, seen);
            steps.push_back([&] { Cancel(ToolsDlg->CancelBtn); });
            WithDialog(steps, [&] { form->qelMainMenu1->Items()->Item(0)->Item(0)->Click(); });  // File > Property Tools
            EXPECT_EQ(Names(seen), Lap(c.ring, back)) << c.what << (back ? ", Shift+Tab" : ", Tab");
        }
    }
}

// The tick box reached from the keyboard is ticked with the space bar, and the fields it enables
// join the walk at once.
TEST_F(DialogTabWalkTest, TheProxyBoxTickedFromTheKeyboardOpensItsFieldsToTheWalk) {
    Make();
    ASSERT_TRUE(form->Manager()->SetProxy(form->Settings().settingsPath, "127.0.0.1", "8080", 0));
    std::vector<HWND> seen;
    std::vector<std::function<void()>> steps;
    for (int i = 0; i < 5; ++i) steps.push_back([] { PressTab(); });  // Edit1 ... CSpinEdit2, EnableProxy
    steps.push_back([] { PressKey(VK_SPACE); });
    auto walk = WalkSteps(3, false, seen);
    steps.insert(steps.end(), walk.begin(), walk.end());
    steps.push_back([&] { Cancel(ToolsDlg->CancelBtn); });
    WithDialog(steps, [&] { form->qelMainMenu1->Items()->Item(0)->Item(0)->Click(); });
    EXPECT_EQ(Names(seen), (std::vector<std::string>{"EnableProxy", "edServer", "edPort", "Edit1"}));
    EXPECT_TRUE(ToolsDlg->EnableProxy->Checked());
}

// The about box has one control: the walk stays on it either way.
TEST_F(DialogTabWalkTest, TheAboutBoxKeepsTheFocusOnItsButton) {
    TAboutBox box(ui::Application);
    for (bool back : {false, true}) {
        std::vector<HWND> seen;
        auto steps = WalkSteps(2, back, seen);
        steps.push_back([&] { box.SetModalResult(ui::mrOk); });
        ModalSteps::Instance().Run(steps);
        EXPECT_EQ(ShowModalBounded(box), ui::mrOk);
        ModalSteps::Instance().Stop();
        EXPECT_EQ(Names(seen), (std::vector<std::string>{"OKButton", "OKButton", "OKButton"}));
    }
}

}  // namespace
