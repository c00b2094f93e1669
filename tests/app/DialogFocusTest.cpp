// The dialogs take what a user types the moment they open: the first field of their tab order has
// the focus, each time they are shown, so keys land there and Enter submits what was typed.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Clipbrd.h"
#include "CommandHarness.h"
#include "FakeRuns.h"

namespace {

using command_harness::CommandHarness;

// Keys go where the keyboard sends them: to the window that has the focus.
void Type(const std::string& text) {
    const HWND focus = GetFocus();
    for (char c : text) PostMessageA(focus, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void Press(WPARAM key) {
    const HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

// A click of the mouse on a button: it takes the focus and presses.
void ClickOn(ui::TButton* button) {
    const HWND h = button->HandleOrNull();
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

class DialogFocusTest : public CommandHarness {
protected:
    void TearDown() override {
        runs.EndAll();
        CommandHarness::TearDown();
    }
    std::string Stored() {
        const std::string stored = dir.File("store");
        CreateDirectoryA(stored.c_str(), nullptr);
        EXPECT_TRUE(form->Manager()->SetDestPath(form->Settings().settingsPath, stored.c_str()));
        return stored;
    }
    FakeRuns runs;
};

TEST_F(DialogFocusTest, TheAddDialogTakesTypedKeysInTheUrlFieldEachTimeItOpens) {
    Make();
    Stored();
    ASSERT_TRUE(ui::SetClipboardText("http://127.0.0.1/pasted.bin"));
    struct Case {
        const char* what;
        std::string typed;  // empty: the dialog is left with a click on Cancel
    } cases[] = {
        {"left with a click on Cancel", ""},
        {"typed over the pasted URL", "http://127.0.0.1/typed1.bin"},
        {"again, after OK was pressed", "http://127.0.0.1/typed2.bin"},
    };
    std::vector<std::string> added;
    for (const auto& c : cases) {
        HWND focus = nullptr;
        std::vector<std::function<void()>> steps = {[&] {
            focus = GetFocus();
            if (c.typed.empty()) ClickOn(frmInfo->Button2);
            else Type(c.typed);
        }};
        if (!c.typed.empty()) steps.push_back([] { Press(VK_RETURN); });
        WithDialog(steps, [&] { form->btnAdd->Click(); });
        EXPECT_EQ(focus, frmInfo->EditURL->HandleOrNull()) << c.what;
        EXPECT_FALSE(frmInfo->Modal()) << c.what;
        if (!c.typed.empty()) added.push_back(c.typed);
        std::vector<std::string> urls;
        for (ItemHandle item : Items()) urls.push_back(InfoOf(item).url);
        EXPECT_EQ(urls, added) << c.what;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(DialogFocusTest, ThePropertyDialogTakesTypedKeysInTheUrlField) {
    Make();
    const std::string stored = Stored();
    ASSERT_TRUE(form->Manager()->AddItem("http://127.0.0.1/old.bin", (stored + "\\").c_str(), "old.bin"));
    ItemHandle item = Items().back();
    form->Manager()->StopItem(item);
    runs.EndAll();
    Tick();
    form->ListDown->SetSelected(form->ListDown->Item(0));
    for (const char* url : {"http://127.0.0.1/new1.bin", "http://127.0.0.1/new2.bin"}) {
        HWND focus = nullptr;
        WithDialog({[&] {
                        focus = GetFocus();
                        Type(url);
                    },
                    [&] { Press(VK_RETURN); }},
                   [&] { form->pupProperty->Click(); });
        EXPECT_EQ(focus, frmInfo->EditURL->HandleOrNull()) << url;
        EXPECT_EQ(std::string(InfoOf(item).url), url);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(DialogFocusTest, TheOptionsDialogTakesTypedKeysInTheFolderFieldEachTimeItOpens) {
    Make();
    const char* ini = form->Settings().settingsPath;
    struct Case {
        const char* what;
        std::string typed;  // empty: the dialog is left with a click on Cancel
    } cases[] = {
        {"left with a click on Cancel", ""},
        {"a folder typed", "first"},
        {"again, after OK was pressed", "second"},
    };
    for (const auto& c : cases) {
        const std::string folder = c.typed.empty() ? "" : dir.File(c.typed);
        if (!folder.empty()) CreateDirectoryA(folder.c_str(), nullptr);
        HWND focus = nullptr;
        char before[256] = {};
        form->Manager()->GetDestPath(ini, before);
        std::vector<std::function<void()>> steps = {[&] {
            focus = GetFocus();
            if (c.typed.empty()) ClickOn(ToolsDlg->CancelBtn);
            else Type(folder);
        }};
        if (!c.typed.empty()) steps.push_back([] { Press(VK_RETURN); });
        WithDialog(steps, [&] { form->qelMainMenu1->Items()->Item(0)->Item(0)->Click(); });  // File > Property Tools
        EXPECT_EQ(focus, ToolsDlg->Edit1->HandleOrNull()) << c.what;
        EXPECT_FALSE(ToolsDlg->Modal()) << c.what;
        char stored[256] = {};
        form->Manager()->GetDestPath(ini, stored);
        EXPECT_EQ(std::string(stored), folder.empty() ? std::string(before) : folder) << c.what;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(DialogFocusTest, TheOptionsDialogPutsTheFocusOnTheFieldItRefuses) {
    Make();
    Stored();
    struct Case {
        const char* what;
        std::function<void()> fill;
        std::function<HWND()> field;
    } cases[] = {
        {"no folder", [] { ToolsDlg->Edit1->SetText(""); }, [] { return ToolsDlg->Edit1->HandleOrNull(); }},
        {"a maximum of 0", [] { ToolsDlg->CSpinEdit1->SetText("0"); },
         [] { return ToolsDlg->CSpinEdit1->HandleOrNull(); }},
        {"a time-out of 0", [] { ToolsDlg->CSpinEdit2->SetText("0"); },
         [] { return ToolsDlg->CSpinEdit2->HandleOrNull(); }},
        {"a proxy port of abc",
         [] {
             if (!ToolsDlg->EnableProxy->Checked()) SendMessageA(ToolsDlg->EnableProxy->HandleOrNull(), BM_CLICK, 0, 0);
             ToolsDlg->edPort->SetText("abc");
         },
         [] { return ToolsDlg->edPort->HandleOrNull(); }},
    };
    for (const auto& c : cases) {
        messages.clear();
        HWND focus = nullptr;
        WithDialog({[&] {
                        c.fill();
                        ClickOn(ToolsDlg->OKBtn);
                    },
                    [&] {
                        focus = GetFocus();
                        ClickOn(ToolsDlg->CancelBtn);
                    }},
                   [&] { form->qelMainMenu1->Items()->Item(0)->Item(0)->Click(); });  // File > Property Tools
        EXPECT_EQ(focus, c.field()) << c.what;
        ASSERT_EQ(messages.size(), 1u) << c.what;
        EXPECT_EQ(messages[0].text, "Invalid input!") << c.what;
        EXPECT_FALSE(ToolsDlg->Modal()) << c.what;
    }
}

}  // namespace
