// The main window's commands against a real manager whose items are driven through their sinks:
// the popup's enabling, delete, clear all, start and stop, down again, the clipboard, the shell
// commands and exit.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Clipbrd.h"
#include "CommandHarness.h"
#include "FakeRuns.h"
#include "ListRows.h"

namespace {

using command_harness::CommandHarness;

class CommandsTest : public CommandHarness {
protected:
    void TearDown() override {
        runs.EndAll();
        CommandHarness::TearDown();
    }
    // An item added through the manager, in the state asked for, with its row filed by a poll.
    ItemHandle AddIn(const std::string& name, int32_t state) {
        const std::string url = "http://127.0.0.1/" + name;
        EXPECT_TRUE(form->Manager()->AddItem(url.c_str(), dir.Dir().c_str(), name.c_str()));
        ItemHandle item = Items().back();
        FakeRun* run = RunOf(item);
        if (state != DownDownloading && run) {
            if (state == DownFinished) run->sink->Succeeded();
            else form->Manager()->StopItem(item);
            runs.End(*run);
            if (state == DownDeleted) EXPECT_TRUE(form->Manager()->RemoveItem(item));
        }
        Tick();
        EXPECT_EQ(StateOf(item), state) << name;
        return item;
    }
    FakeRun* RunOf(ItemHandle item) {
        const std::string dest = InfoOf(item).destFile;
        for (auto& run : runs.runs) {
            if (!run->ended && run->destFile == dest) return run.get();
        }
        return nullptr;
    }
    size_t LiveRuns() {
        size_t n = 0;
        for (auto& run : runs.runs) n += run->ended ? 0 : 1;
        return n;
    }

    FakeRuns runs;
};

// The enabled state of the popup's items, in menu order.
std::vector<bool> PopupState(const TForm1& f) {
    std::vector<bool> state;
    for (ui::TMenuItem* item : {f.pupAdd, f.pupDelete, f.pupClear, f.pupDown, f.pupDownAll, f.pupCancel, f.pupCancelAll,
                                f.pupDownAgain, f.pupOpen, f.pupProperty})
        state.push_back(item->Enabled());
    return state;
}

TEST_F(CommandsTest, RightClickEnablesThePopupFromTheItemsStateNow) {
    Make();
    ItemHandle running = AddIn("run.bin", DownDownloading);
    AddIn("stopped.bin", DownStopped);
    AddIn("done.bin", DownFinished);
    AddIn("gone.bin", DownDeleted);
    ASSERT_EQ(form->ListDown->ItemCount(), 2);
    struct Case {
        const char* what;
        int node;  // tree node shown
        ui::TListView* TForm1::*list;
        int row;   // -1: below the rows
        // add, delete, clear, down, down all, stop, stop all, down again, open, property
        std::vector<bool> enabled;
    } cases[] = {
        {"running", 1, &TForm1::ListDown, 0, {1, 0, 1, 0, 1, 1, 1, 0, 0, 0}},
        {"stopped", 1, &TForm1::ListDown, 1, {1, 1, 1, 1, 1, 0, 1, 0, 0, 1}},
        {"no row", 1, &TForm1::ListDown, -1, {1, 0, 1, 0, 1, 0, 1, 0, 0, 0}},
        {"finished under Downloaded", 2, &TForm1::ListDowned, 0, {1, 1, 1, 0, 0, 0, 0, 1, 1, 1}},
        {"finished under the root", 0, &TForm1::ListDowned, 0, {1, 1, 1, 0, 0, 0, 0, 1, 0, 1}},
        {"finished, no row", 2, &TForm1::ListDowned, -1, {1, 0, 1, 0, 0, 0, 0, 0, 0, 0}},
        {"deleted", 3, &TForm1::ListDeleted, 0, {1, 1, 1, 0, 0, 0, 0, 1, 0, 1}},
    };
    for (const auto& c : cases) {
        Show(c.node);
        const int before = popups;
        RightClick(form->*c.list, c.row);
        EXPECT_EQ(PopupState(*form), c.enabled) << c.what;
        EXPECT_EQ(popups, before + 1) << c.what;
    }

    // The same row once its item has stopped: the state is read at the click, not remembered.
    Show(1);
    form->Manager()->StopItem(running);
    RightClick(form->ListDown, 0);
    EXPECT_EQ(PopupState(*form), (std::vector<bool>{1, 1, 1, 1, 1, 0, 1, 0, 0, 1}));
    // Any other button: nothing enabled or disabled, no popup.
    form->pupDelete->SetEnabled(false);
    const int before = popups;
    form->ListDown->OnMouseDown(form->ListDown, ui::TMouseButton::Left, 0, 5, 5);
    EXPECT_FALSE(form->pupDelete->Enabled());
    EXPECT_EQ(popups, before);
}

TEST_F(CommandsTest, DeleteMovesTheRowToDeletedAndASecondDeleteFreesTheItem) {
    Make();
    ItemHandle stopped = AddIn("stopped.bin", DownStopped);
    ItemHandle done = AddIn("done.bin", DownFinished);
    ASSERT_EQ(form->ListDown->ItemCount(), 1);
    ASSERT_EQ(form->ListDowned->ItemCount(), 1);

    // The tool-bar button (enabled by the click that shows the row) on the downloading list.
    form->ListDownClick(form->ListDown);
    ASSERT_TRUE(form->btnDelete->Enabled());
    form->Memo1->AddLine("log");
    form->btnDelete->Click();
    EXPECT_EQ(form->ListDown->ItemCount(), 0);
    ASSERT_EQ(form->ListDeleted->ItemCount(), 1);
    ui::TListItem* moved = form->ListDeleted->Item(0);
    EXPECT_EQ(moved->Data(), stopped);
    EXPECT_EQ(moved->ImageIndex(), 5);
    EXPECT_EQ(Cells(moved), (std::vector<std::string>{"stopped.bin", "", "http://127.0.0.1/stopped.bin"}));
    EXPECT_EQ(StateOf(stopped), DownDeleted);
    EXPECT_EQ(form->Memo1->Text(), "");
    EXPECT_FALSE(form->btnDown->Enabled());
    EXPECT_FALSE(form->btnDelete->Enabled());

    // The main menu's item on the finished list: the URL comes from its own column.
    Show(2);
    form->ListDowned->SetSelected(form->ListDowned->Item(0));
    form->qelMainMenu1->Items()->Item(2)->Item(1)->Click();  // Download > Delete
    EXPECT_EQ(form->ListDowned->ItemCount(), 0);
    ASSERT_EQ(form->ListDeleted->ItemCount(), 2);
    EXPECT_EQ(Cells(form->ListDeleted->Item(1)), (std::vector<std::string>{"done.bin", "", "http://127.0.0.1/done.bin"}));

    // The Delete key on the deleted list: the row goes and the engine frees the item.
    Show(3);
    form->ListDeleted->SetSelected(form->ListDeleted->Item(0));
    SendMessageA(form->ListDeleted->Handle(), WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_EQ(form->ListDeleted->ItemCount(), 1);
    EXPECT_EQ(form->ListDeleted->Item(0)->Data(), done);
    EXPECT_EQ(Items(), (std::vector<ItemHandle>{done}));
    // Nothing selected: nothing happens.
    form->ListDeleted->SetSelected(nullptr);
    form->pupDelete->Click();
    EXPECT_EQ(form->ListDeleted->ItemCount(), 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(CommandsTest, DeleteOfADownloadingItemKeepsItsRow) {
    Make();
    ItemHandle item = AddIn("a.bin", DownStopped);
    // The popup was last opened while the item was stopped, so its Delete is still enabled.
    RightClick(form->ListDown, 0);
    ASSERT_TRUE(form->pupDelete->Enabled());
    form->qelMainMenu1->Items()->Item(2)->Item(3)->Click();  // Download > Begin
    ASSERT_EQ(StateOf(item), DownDownloading);

    struct Trigger {
        const char* what;
        std::function<void()> press;
    } triggers[] = {
        {"Delete key", [&] { SendMessageA(form->ListDown->Handle(), WM_KEYDOWN, VK_DELETE, 0); }},
        {"popup item", [&] { form->pupDelete->Click(); }},
        {"main menu", [&] { form->qelMainMenu1->Items()->Item(2)->Item(1)->Click(); }},
    };
    for (const auto& t : triggers) {
        messages.clear();
        form->ListDown->SetSelected(form->ListDown->Item(0));
        t.press();
        ASSERT_EQ(form->ListDown->ItemCount(), 1) << t.what;
        EXPECT_EQ(form->ListDown->Item(0)->Data(), item) << t.what;
        EXPECT_EQ(form->ListDeleted->ItemCount(), 0) << t.what;
        EXPECT_EQ(StateOf(item), DownDownloading) << t.what;
        ASSERT_EQ(messages.size(), 1u) << t.what;
        EXPECT_EQ(messages[0].text, "Pause the downloading first!");
    }
}

TEST_F(CommandsTest, ClearAllAndExitCheckEveryEngineItemBeforeReleasingAny) {
    Make();
    AddIn("a.bin", DownStopped);
    AddIn("b.bin", DownFinished);
    // Running, but not yet given a row by the poll.
    ASSERT_TRUE(form->Manager()->AddItem("http://127.0.0.1/c.bin", dir.Dir().c_str(), "c.bin"));
    ItemHandle running = Items().back();
    ASSERT_EQ(StateOf(running), DownDownloading);

    struct Trigger {
        const char* what;
        std::function<void()> press;
        bool asks;  // a warning first
    } triggers[] = {
        {"Clear All", [&] { form->pupClear->Click(); }, true},
        {"File > Exit", [&] { form->qelMainMenu1->Items()->Item(0)->Item(3)->Click(); }, false},
        {"tool-bar Exit", [&] { form->btnExit->Click(); }, false},
    };
    for (const auto& t : triggers) {
        messages.clear();
        t.press();
        ASSERT_EQ(messages.size(), t.asks ? 2u : 1u) << t.what;
        EXPECT_EQ(messages.back().text, "Pause the downloading first!") << t.what;
        EXPECT_NE(form->Manager(), nullptr) << t.what;
        EXPECT_EQ(Items().size(), 3u) << t.what;
        EXPECT_EQ(form->ListDown->ItemCount(), 1) << t.what;
        EXPECT_EQ(form->ListDowned->ItemCount(), 1) << t.what;
    }

    // The warning answered with Cancel changes nothing, even with nothing running.
    form->Manager()->StopItem(running);
    runs.EndAll();
    messages.clear();
    answers = {IDCANCEL};
    form->pupClear->Click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "You will delete all contain the downloading,downloaded and deleted downright!");
    EXPECT_EQ(messages[0].caption, "Warning");
    EXPECT_EQ(messages[0].flags, static_cast<UINT>(MB_ICONWARNING | MB_OKCANCEL));
    EXPECT_EQ(Items().size(), 3u);

    // OK: the lists, the log and the engine's list are emptied.
    form->Memo1->AddLine("log");
    form->pupClear->Click();
    EXPECT_EQ(form->ListDown->ItemCount() + form->ListDowned->ItemCount() + form->ListDeleted->ItemCount(), 0);
    EXPECT_EQ(form->Memo1->Text(), "");
    EXPECT_TRUE(Items().empty());
}

TEST_F(CommandsTest, BeginAndBeginAllNeverStartASecondRun) {
    Make();
    ItemHandle running = AddIn("run.bin", DownDownloading);
    ItemHandle stopped = AddIn("stopped.bin", DownStopped);
    ItemHandle other = AddIn("other.bin", DownStopped);
    ASSERT_EQ(LiveRuns(), 1u);

    // Begin on the running row, from every trigger.
    form->ListDown->SetSelected(form->ListDown->Item(0));
    form->btnDown->SetEnabled(true);
    for (const std::function<void()>& press : std::vector<std::function<void()>>{
             [&] { form->btnDown->Click(); }, [&] { form->pupDown->Click(); },
             [&] { form->qelMainMenu1->Items()->Item(2)->Item(3)->Click(); }}) {
        press();
        EXPECT_EQ(runs.runs.size(), 3u);
        EXPECT_EQ(LiveRuns(), 1u);
    }
    // Begin All: every other row starts; the running one keeps its one run.
    form->qelMainMenu1->Items()->Item(2)->Item(5)->Click();  // Download > Begin All
    EXPECT_EQ(LiveRuns(), 3u);
    for (ItemHandle item : {running, stopped, other}) {
        EXPECT_EQ(StateOf(item), DownDownloading);
        EXPECT_NE(RunOf(item), nullptr);
    }
    form->pupDownAll->Click();
    EXPECT_EQ(runs.runs.size(), 5u);  // three first runs and two restarts, nothing more

    // Stop All stops every row; Stop acts on ListDown's selected row whichever list is shown.
    form->qelMainMenu1->Items()->Item(2)->Item(6)->Click();  // Download > Stop All
    for (ItemHandle item : {running, stopped, other}) EXPECT_EQ(StateOf(item), DownStopped);
    runs.EndAll();
    form->pupDownAll->Click();
    Show(3);
    form->ListDown->SetSelected(form->ListDown->Item(1));
    form->pupCancel->Click();
    EXPECT_EQ(StateOf(stopped), DownStopped);
    EXPECT_EQ(StateOf(running), DownDownloading);
}

TEST_F(CommandsTest, DownAgainPutsARunningRowAtTheEndOfListDown) {
    Make();
    AddIn("first.bin", DownStopped);
    ItemHandle done = AddIn("done.bin", DownFinished);
    ItemHandle gone = AddIn("gone.bin", DownDeleted);
    struct Case {
        int node;
        ui::TListView* TForm1::*list;
        ItemHandle item;
        const char* name;
    } cases[] = {{2, &TForm1::ListDowned, done, "done.bin"}, {3, &TForm1::ListDeleted, gone, "gone.bin"}};
    for (const auto& c : cases) {
        Show(c.node);
        ui::TListView* list = form->*c.list;
        list->SetSelected(list->Item(0));
        const size_t before = runs.runs.size();
        form->pupDownAgain->Click();
        EXPECT_EQ(list->ItemCount(), 0) << c.name;
        ui::TListItem* row = form->ListDown->Item(form->ListDown->ItemCount() - 1);
        EXPECT_EQ(row->Data(), c.item);
        EXPECT_EQ(row->ImageIndex(), 1);
        EXPECT_EQ(row->Caption(), "");
        EXPECT_EQ(Cells(row), (std::vector<std::string>{c.name, "0", "0", "0%", std::string("http://127.0.0.1/") + c.name}));
        EXPECT_EQ(runs.runs.size(), before + 1) << c.name;
        EXPECT_EQ(StateOf(c.item), DownDownloading);
    }
    EXPECT_EQ(form->ListDown->ItemCount(), 3);

    // A deleted item whose stopped run still winds down cannot start yet: its row stays.
    ASSERT_TRUE(form->Manager()->AddItem("http://127.0.0.1/slow.bin", dir.Dir().c_str(), "slow.bin"));
    ItemHandle slow = Items().back();
    form->Manager()->StopItem(slow);
    ASSERT_TRUE(form->Manager()->RemoveItem(slow));
    Tick();
    Show(3);
    form->ListDeleted->SetSelected(form->ListDeleted->Item(0));
    form->pupDownAgain->Click();
    EXPECT_EQ(form->ListDeleted->ItemCount(), 1);
    EXPECT_EQ(form->ListDown->ItemCount(), 3);
    EXPECT_EQ(StateOf(slow), DownDeleted);
    FakeRun* winding = RunOf(slow);
    ASSERT_NE(winding, nullptr);
    runs.End(*winding);
    form->pupDownAgain->Click();
    EXPECT_EQ(form->ListDeleted->ItemCount(), 0);
    EXPECT_EQ(form->ListDown->ItemCount(), 4);
    EXPECT_EQ(StateOf(slow), DownDownloading);

    // Nothing selected in the shown list: nothing happens.
    Show(2);
    const size_t before = runs.runs.size();
    form->pupDownAgain->Click();
    EXPECT_EQ(runs.runs.size(), before);
    EXPECT_EQ(form->ListDown->ItemCount(), 4);
}

TEST_F(CommandsTest, DownAgainFilesTheRowWhereTheItemsStateAfterTheStartBelongs) {
    Make();
    struct Case {
        const char* what;
        int32_t from;         // DownFinished or DownDeleted
        bool failAtStart, refuseJobs;
        ui::TListView* TForm1::*rowIn;  // where the item's one row is afterwards
        int image;
        int32_t state;
    } cases[] = {
        {"finished, the run fails at once", DownFinished, true, false, &TForm1::ListDown, 4, DownFailed},
        {"deleted, the run fails at once", DownDeleted, true, false, &TForm1::ListDown, 4, DownFailed},
        {"finished, no job can be made", DownFinished, false, true, &TForm1::ListDowned, 2, DownFinished},
        {"deleted, no job can be made", DownDeleted, false, true, &TForm1::ListDeleted, 5, DownDeleted},
        {"finished, the run goes on", DownFinished, false, false, &TForm1::ListDown, 1, DownDownloading},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string name = "again" + std::to_string(++n) + ".bin";
        ItemHandle item = AddIn(name, c.from);
        ui::TListView* list = c.from == DownFinished ? form->ListDowned : form->ListDeleted;
        Show(c.from == DownFinished ? 2 : 3);
        RightClick(list, list->ItemCount() - 1);
        ASSERT_TRUE(form->pupDownAgain->Enabled()) << c.what;
        runs.failAtStart = c.failAtStart;
        runs.refuseJobs = c.refuseJobs;
        SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(form->pupDownAgain->Command(), 0), 0);
        runs.failAtStart = false;
        runs.refuseJobs = false;
        EXPECT_EQ(StateOf(item), c.state) << c.what;
        if (c.rowIn == &TForm1::ListDown) {
            ui::TListItem* row = FindRow(*form->ListDown, item);
            ASSERT_NE(row, nullptr) << c.what;
            EXPECT_EQ(Cells(row), (std::vector<std::string>{name, "0", "0", "0%", "http://127.0.0.1/" + name}))
                << c.what;
        }
        // At once and after the next poll alike: one row, filed by the item's state.
        for (int poll = 0; poll < 2; ++poll) {
            std::vector<ui::TListView*> holding;
            for (ui::TListView* in : {form->ListDown, form->ListDowned, form->ListDeleted}) {
                for (int i = 0; i < in->ItemCount(); ++i) {
                    if (in->Item(i)->Data() == item) holding.push_back(in);
                }
            }
            ASSERT_EQ(holding, std::vector<ui::TListView*>{form->*c.rowIn}) << c.what << ", poll " << poll;
            EXPECT_EQ(FindRow(*(form->*c.rowIn), item)->ImageIndex(), c.image) << c.what << ", poll " << poll;
            Tick();
        }
        if (RunOf(item)) runs.End(*RunOf(item));
    }
}

TEST_F(CommandsTest, TheDeleteKeyActsOnlyWhileThePopupsDeleteIsEnabled) {
    Make();
    AddIn("down.bin", DownStopped);
    AddIn("done.bin", DownFinished);
    AddIn("gone.bin", DownDeleted);
    struct Case {
        int node;
        ui::TListView* TForm1::*list;
    } cases[] = {{1, &TForm1::ListDown}, {2, &TForm1::ListDowned}, {3, &TForm1::ListDeleted}};
    for (const auto& c : cases) {
        Show(c.node);
        ui::TListView* list = form->*c.list;
        const int rows = list->ItemCount();
        ASSERT_GT(rows, 0);
        // A right-click below the rows disables the popup's Delete: the key does nothing.
        RightClick(list, -1);
        ASSERT_FALSE(form->pupDelete->Enabled());
        list->SetSelected(list->Item(0));
        const size_t items = Items().size();
        const int deleted = form->ListDeleted->ItemCount();
        SendMessageA(list->Handle(), WM_KEYDOWN, VK_DELETE, 0);
        EXPECT_EQ(list->ItemCount(), rows) << c.node;
        EXPECT_EQ(form->ListDeleted->ItemCount(), deleted) << c.node;
        EXPECT_EQ(Items().size(), items) << c.node;
        // A right-click on the row enables it again, and the key deletes.
        RightClick(list, 0);
        ASSERT_TRUE(form->pupDelete->Enabled());
        SendMessageA(list->Handle(), WM_KEYDOWN, VK_DELETE, 0);
        EXPECT_EQ(list->ItemCount(), rows - 1) << c.node;
        if (list == form->ListDeleted) {
            EXPECT_EQ(Items().size(), items - 1) << c.node;
        } else {
            EXPECT_EQ(form->ListDeleted->ItemCount(), deleted + 1) << c.node;
        }
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(CommandsTest, CopyUrlPutsTheSelectedRowsUrlOnTheClipboard) {
    Make();
    AddIn("down.bin", DownStopped);
    AddIn("done.bin", DownFinished);
    AddIn("gone.bin", DownDeleted);
    struct Case {
        int node;
        ui::TListView* TForm1::*list;
        const char* url;
    } cases[] = {{1, &TForm1::ListDown, "http://127.0.0.1/down.bin"},
                 {2, &TForm1::ListDowned, "http://127.0.0.1/done.bin"},
                 {0, &TForm1::ListDowned, "http://127.0.0.1/done.bin"},
                 {3, &TForm1::ListDeleted, "http://127.0.0.1/gone.bin"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(ui::SetClipboardText("before"));
        Show(c.node);
        (form->*c.list)->SetSelected((form->*c.list)->Item(0));
        form->qelMainMenu1->Items()->Item(1)->Item(0)->Click();  // Edit > Copy URL
        EXPECT_EQ(ui::ClipboardText(), c.url) << c.node;
    }
    // No selected row: the clipboard keeps what it had.
    form->ListDeleted->SetSelected(nullptr);
    ASSERT_TRUE(ui::SetClipboardText("kept"));
    form->CopyURL1Click(nullptr);
    EXPECT_EQ(ui::ClipboardText(), "kept");
}

TEST_F(CommandsTest, ShellCommandsAskTheShellForTheRightTarget) {
    Make();
    const std::string stored = dir.File("stored");
    CreateDirectoryA(stored.c_str(), nullptr);
    struct Case {
        const char* what;
        std::function<void()> press;
        std::string target;
    };
    const std::vector<Case> cases = {
        {"tool-bar Help", [&] { form->btnHelp->Click(); }, folder + "\\Ripplecast.chm"},
        {"Help > Help", [&] { form->qelMainMenu1->Items()->Item(3)->Item(0)->Click(); }, folder + "\\Ripplecast.chm"},
        {"tool-bar Home", [&] { form->btnHome->Click(); }, kHomePage},
        {"Help > Homepage", [&] { form->qelMainMenu1->Items()->Item(3)->Item(1)->Click(); }, kHomePage},
        {"tool-bar Dest, none stored", [&] { form->btnDest->Click(); }, folder + "\\Downloads"},
        {"File > Open Dest File Path, stored",
         [&] {
             form->Manager()->SetDestPath(form->Settings().settingsPath, stored.c_str());
             form->qelMainMenu1->Items()->Item(0)->Item(1)->Click();
         },
         stored},
    };
    for (const auto& c : cases) {
        shellCalls.clear();
        c.press();
        ASSERT_EQ(shellCalls.size(), 1u) << c.what;
        EXPECT_EQ(shellCalls[0].target, c.target) << c.what;
        EXPECT_EQ(shellCalls[0].owner, nullptr) << c.what;
    }
    // The default folder was made when none was stored.
    const DWORD attributes = GetFileAttributesA((folder + "\\Downloads").c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(CommandsTest, OpenDownloadedTriesTheRealMediaNameOnceWhenTheShellFails) {
    Make();
    AddIn("clip", DownFinished);
    Show(2);
    form->ListDowned->SetSelected(form->ListDowned->Item(0));
    const std::string path = dir.File("clip");
    struct Case {
        std::deque<INT_PTR> answers;
        std::vector<std::string> targets;
    } cases[] = {
        {{33}, {path}},
        {{32, 2}, {path, path + ".rm"}},
        {{2, 2}, {path, path + ".rm"}},  // a second failure is silent
    };
    for (const auto& c : cases) {
        shellCalls.clear();
        shellAnswers = c.answers;
        form->pupOpen->Click();
        ASSERT_EQ(shellCalls.size(), c.targets.size());
        for (size_t i = 0; i < c.targets.size(); ++i) {
            EXPECT_EQ(shellCalls[i].target, c.targets[i]);
            EXPECT_EQ(shellCalls[i].owner, form->HandleOrNull());
        }
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(CommandsTest, SelectingAFinishedOrDeletedRowClearsTheLogAndOffersDelete) {
    Make();
    AddIn("done.bin", DownFinished);
    AddIn("gone.bin", DownDeleted);
    for (auto [node, list] : {std::pair{2, form->ListDowned}, std::pair{3, form->ListDeleted}}) {
        Show(node);
        form->Memo1->AddLine("stale");
        form->pp_Chart->SetTotalCount(8);
        list->SetSelected(list->Item(0));
        EXPECT_EQ(form->Memo1->Text(), "") << node;
        EXPECT_TRUE(form->btnDelete->Enabled()) << node;
        EXPECT_EQ(form->pp_Chart->TotalCount(), 0) << node;
    }
}

}  // namespace
