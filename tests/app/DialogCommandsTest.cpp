// The commands that open a dialog (Add, Paste URL, Property, Options), driven in-process: the test
// fills the dialog's fields and presses its buttons from inside its modal loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "Clipbrd.h"
#include "CommandHarness.h"
#include "FakeRuns.h"
#include "ListRows.h"

namespace {

using command_harness::CommandHarness;

// A URL of `length` characters on the loopback host.
std::string UrlOf(size_t length) {
    const std::string head = "http://127.0.0.1/", tail = ".bin";
    return head + std::string(length - head.size() - tail.size(), 'u') + tail;
}

// Text put into a field through the edit's own window, which tells the dialog of the change.
void Enter(ui::TEdit* edit, const std::string& text) {
    SendMessageA(edit->HandleOrNull(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PressEnter(ui::TEdit* edit) {
    PostMessageA(edit->HandleOrNull(), WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(edit->HandleOrNull(), WM_KEYUP, VK_RETURN, 0xC0000001);
}

// What the add and properties dialog showed once Enter had been pressed on what was typed.
struct AfterEnter {
    bool open = false;  // still open: refused
    std::string url, name, user;
};

class DialogCommandsTest : public CommandHarness {
protected:
    void TearDown() override {
        runs.EndAll();
        CommandHarness::TearDown();
    }
    ItemHandle AddStopped(const std::string& url, const std::string& name) {
        EXPECT_TRUE(form->Manager()->AddItem(url.c_str(), dir.Dir().c_str(), name.c_str()));
        ItemHandle item = Items().back();
        form->Manager()->StopItem(item);
        runs.EndAll();
        Tick();
        return item;
    }
    // Runs `command`, types into the dialog it opens and presses Enter. When `refused`, the dialog
    // is to stay open: what it shows then is read, and it is cancelled.
    AfterEnter TypeAndPressEnter(const std::function<void()>& command, const std::string& url, const std::string& name,
                                 const std::string& user, bool refused) {
        AfterEnter seen;
        std::vector<std::function<void()>> steps = {[&] {
            Enter(frmInfo->EditURL, url);
            Enter(frmInfo->EditFileName, name);
            Enter(frmInfo->edUser, user);
            PressEnter(frmInfo->EditURL);
        }};
        if (refused) {
            steps.push_back([&] {
                seen.open = frmInfo->Modal();
                seen.url = frmInfo->EditURL->Text();
                seen.name = frmInfo->EditFileName->Text();
                seen.user = frmInfo->edUser->Text();
                PostMessageA(frmInfo->Button2->HandleOrNull(), BM_CLICK, 0, 0);
            });
        }
        WithDialog(steps, command);
        return seen;
    }
    // The one message a refusal gives, and the dialog still open with the fields as typed.
    void ExpectRefusedAsTyped(const AfterEnter& seen, const std::string& message, const std::string& url,
                              const std::string& name, const char* what) {
        ASSERT_EQ(messages.size(), 1u) << what;
        EXPECT_EQ(messages[0].text, message) << what;
        EXPECT_TRUE(seen.open) << what;
        EXPECT_EQ(seen.url, url) << what;
        EXPECT_EQ(seen.name, name) << what;
    }
    FakeRuns runs;
};

TEST_F(DialogCommandsTest, PasteUrlOpensTheAddDialogWithTheClipboardsUrl) {
    Make();
    struct Case {
        const char* what;
        std::function<void()> press;
        std::string clipboard, url;
    };
    const std::vector<Case> cases = {
        {"Edit > Paste URL", [&] { form->qelMainMenu1->Items()->Item(1)->Item(1)->Click(); },
         "  http://127.0.0.1/dir/clip.asf \r\n", "http://127.0.0.1/dir/clip.asf"},
        {"tool-bar Add", [&] { form->btnAdd->Click(); }, "http://127.0.0.1/song.mp3", "http://127.0.0.1/song.mp3"},
        {"popup Add", [&] { form->pupAdd->Click(); }, "ftp://127.0.0.1/a.bin", "ftp://127.0.0.1/a.bin"},
        {"several lines", [&] { form->btnAdd->Click(); }, "\thttp://127.0.0.1/one.bin\r\nhttp://127.0.0.1/two.bin",
         "http://127.0.0.1/one.bin"},
        {"Download > Add", [&] { form->qelMainMenu1->Items()->Item(2)->Item(0)->Click(); }, "", ""},
    };
    std::string name = "unchanged";
    for (const auto& c : cases) {
        ASSERT_TRUE(ui::SetClipboardText(c.clipboard));
        frmInfo->edUser->SetText("old user");
        std::string seenUrl, seenDest, seenName, seenUser, seenCaption;
        WithDialog({[&] {
                        seenCaption = frmInfo->Caption();
                        seenUrl = frmInfo->EditURL->Text();
                        seenDest = frmInfo->EditDest->Text();
                        seenName = frmInfo->EditFileName->Text();
                        seenUser = frmInfo->edUser->Text();
                        frmInfo->Button2->Click();
                    }},
                   c.press);
        EXPECT_EQ(seenCaption, "NewDownloading") << c.what;
        EXPECT_EQ(seenUrl, c.url) << c.what;
        EXPECT_EQ(seenDest, "C:\\MyDownloads") << c.what;
        EXPECT_EQ(seenUser, "") << c.what;
        // The dialog proposes the URL's file name; an empty URL leaves the last one.
        if (!c.url.empty()) name = c.url.substr(c.url.rfind('/') + 1);
        EXPECT_EQ(seenName, name) << c.what;
    }
    // Cancelled every time: nothing was added.
    EXPECT_TRUE(Items().empty());
}

TEST_F(DialogCommandsTest, AddCleansTheNameFoldsTheLoginAndQueuesTheItem) {
    Make();
    const std::string stored = dir.File("store");
    CreateDirectoryA(stored.c_str(), nullptr);
    ASSERT_TRUE(form->Manager()->SetDestPath(form->Settings().settingsPath, stored.c_str()));
    struct Case {
        std::string dest, name, user, password;
        std::string url, destFile;
    };
    const std::vector<Case> cases = {
        {stored, "a:b*c?.bin", " joe ", " pw ", "http://joe:pw@127.0.0.1/x/1.bin", stored + "\\abc.bin"},
        {stored + "\\", "plain.bin", "", "", "http://127.0.0.1/x/2.bin", stored + "\\plain.bin"},
    };
    int n = 0;
    for (const auto& c : cases) {
        ASSERT_TRUE(ui::SetClipboardText("http://127.0.0.1/x/" + std::to_string(++n) + ".bin"));
        std::string proposedDest;
        WithDialog({[&] {
                        proposedDest = frmInfo->EditDest->Text();
                        frmInfo->EditDest->SetText(c.dest);
                        frmInfo->EditFileName->SetText(c.name);
                        frmInfo->edUser->SetText(c.user);
                        frmInfo->edPass->SetText(c.password);
                        frmInfo->Button1->Click();
                    }},
                   [&] { form->btnAdd->Click(); });
        EXPECT_EQ(proposedDest, stored);
        ASSERT_EQ(Items().size(), static_cast<size_t>(n));
        const DownItemInfo info = InfoOf(Items().back());
        EXPECT_EQ(std::string(info.url), c.url);
        EXPECT_EQ(std::string(info.destFile), c.destFile);
    }
    // The row comes with the next poll.
    Tick();
    EXPECT_EQ(form->ListDown->ItemCount(), 2);
}

TEST_F(DialogCommandsTest, AddRefusesWhatTheEngineCannotHoldWithoutCuttingIt) {
    Make();
    const std::string stored = dir.File("store");
    CreateDirectoryA(stored.c_str(), nullptr);
    ASSERT_TRUE(form->Manager()->SetDestPath(form->Settings().settingsPath, stored.c_str()));
    const size_t room = 255 - (stored.size() + 1);  // for a file name in the engine's path field
    struct Case {
        const char* what;
        std::string url, user, name;
        std::string message;  // empty: added as typed
        std::string sent;     // the URL the item has
    };
    const std::vector<Case> cases = {
        {"829 characters", UrlOf(829), "", "a.bin", "", UrlOf(829)},
        {"1023, the most the engine holds", UrlOf(1023), "", "b.bin", "", UrlOf(1023)},
        {"1024", UrlOf(1024), "", "c.bin", "The URL is too long!", ""},
        {"3000", UrlOf(3000), "", "c.bin", "The URL is too long!", ""},
        {"a login that just fits", UrlOf(1014), "someuser", "d.bin", "",
         "http://someuser@" + UrlOf(1014).substr(7)},
        {"a login that makes it too long", UrlOf(1015), "someuser", "e.bin", "The URL is too long!", ""},
        {"a path of 255 characters", UrlOf(100), "", std::string(room - 4, 'n') + ".bin", "", UrlOf(100)},
        {"a path of 256 characters", UrlOf(101), "", std::string(room - 3, 'n') + ".bin", "The path is too long!", ""},
    };
    for (const auto& c : cases) {
        const size_t before = Items().size();
        messages.clear();
        const AfterEnter seen =
            TypeAndPressEnter([&] { form->btnAdd->Click(); }, c.url, c.name, c.user, !c.message.empty());
        if (c.message.empty()) {
            EXPECT_TRUE(messages.empty()) << c.what;
            ASSERT_EQ(Items().size(), before + 1) << c.what;
            const DownItemInfo info = InfoOf(Items().back());
            EXPECT_EQ(std::string(info.url), c.sent) << c.what;
            EXPECT_EQ(std::string(info.destFile), stored + "\\" + c.name) << c.what;
        } else {
            ExpectRefusedAsTyped(seen, c.message, c.url, c.name, c.what);
            EXPECT_EQ(seen.user, c.user) << c.what;
            EXPECT_EQ(Items().size(), before) << c.what;
        }
    }
}

TEST_F(DialogCommandsTest, PropertyRefusesWhatTheEngineCannotHoldWithoutCuttingIt) {
    Make();
    ItemHandle a = AddStopped("http://127.0.0.1/a.bin", "a.bin");
    form->ListDown->SetSelected(form->ListDown->Item(0));
    const size_t room = 255 - dir.Dir().size();
    struct Case {
        const char* what;
        std::string url, name;
        std::string message;  // empty: changed as typed
    };
    const std::vector<Case> cases = {
        {"829 characters", UrlOf(829), "a.bin", ""},
        {"1024", UrlOf(1024), "a.bin", "The URL is too long!"},
        {"a path of 255 characters", UrlOf(100), std::string(room - 4, 'n') + ".bin", ""},
        {"a path of 256 characters", UrlOf(101), std::string(room - 3, 'n') + ".bin", "The path is too long!"},
    };
    for (const auto& c : cases) {
        const DownItemInfo before = InfoOf(a);
        const std::string beforeUrl = before.url, beforeDest = before.destFile;
        messages.clear();
        const AfterEnter seen =
            TypeAndPressEnter([&] { form->pupProperty->Click(); }, c.url, c.name, "", !c.message.empty());
        const DownItemInfo after = InfoOf(a);
        if (c.message.empty()) {
            EXPECT_TRUE(messages.empty()) << c.what;
            EXPECT_EQ(std::string(after.url), c.url) << c.what;
            EXPECT_EQ(std::string(after.destFile), dir.File(c.name)) << c.what;
            EXPECT_EQ(form->ListDown->Item(0)->SubItem(4), c.url) << c.what;
        } else {
            ExpectRefusedAsTyped(seen, c.message, c.url, c.name, c.what);
            EXPECT_EQ(std::string(after.url), beforeUrl) << c.what;
            EXPECT_EQ(std::string(after.destFile), beforeDest) << c.what;
        }
    }
}

TEST_F(DialogCommandsTest, PropertyChangesUrlAndNameAndRenamesAClash) {
    Make();
    ItemHandle a = AddStopped("http://127.0.0.1/a.bin", "a.bin");
    AddStopped("http://127.0.0.1/b.bin", "b.bin");
    AddStopped("http://127.0.0.1/plain", "plain");
    form->ListDown->SetSelected(form->ListDown->Item(0));
    struct Case {
        const char* what;
        std::string url, name;
        std::string destName;  // what the item's file is called afterwards
    };
    const std::vector<Case> cases = {
        {"new URL and name", "http://127.0.0.1/new.bin", "new.bin", "new.bin"},
        {"forbidden characters", "http://127.0.0.1/new.bin", "n<e>w|2.bin", "new2.bin"},
        {"another item's file, other case", "http://127.0.0.1/new.bin", "B.BIN", "B1.BIN"},
        {"its own file again", "http://127.0.0.1/new.bin", "B1.BIN", "B1.BIN"},
        {"a clash without an extension", "http://127.0.0.1/new.bin", "plain", "plain1"},
    };
    for (const auto& c : cases) {
        std::string seenCaption, seenUrl, seenDest, seenName;
        const DownItemInfo before = InfoOf(a);
        const std::string beforeUrl = before.url, beforeDest = before.destFile;
        WithDialog({[&] {
                        seenCaption = frmInfo->Caption();
                        seenUrl = frmInfo->EditURL->Text();
                        seenDest = frmInfo->EditDest->Text();
                        seenName = frmInfo->EditFileName->Text();
                        frmInfo->EditURL->SetText(c.url);
                        frmInfo->EditFileName->SetText(c.name);
                        frmInfo->Button1->Click();
                    }},
                   [&] { form->pupProperty->Click(); });
        EXPECT_EQ(seenCaption, "Property") << c.what;
        EXPECT_EQ(seenUrl, beforeUrl) << c.what;
        EXPECT_EQ(seenDest + seenName, beforeDest) << c.what;
        const DownItemInfo after = InfoOf(a);
        EXPECT_EQ(std::string(after.url), c.url) << c.what;
        EXPECT_EQ(std::string(after.destFile), dir.File(c.destName)) << c.what;
        ui::TListItem* row = form->ListDown->Item(0);
        EXPECT_EQ(row->SubItem(0), c.destName) << c.what;
        EXPECT_EQ(row->SubItem(4), c.url) << c.what;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(DialogCommandsTest, PropertyRefusesAnItemThatStartedWhileTheDialogWasOpen) {
    Make();
    ItemHandle a = AddStopped("http://127.0.0.1/a.bin", "a.bin");
    Show(1);
    form->ListDown->SetSelected(form->ListDown->Item(0));
    WithDialog({[&] {
                    form->Manager()->StartItem(a);
                    frmInfo->EditURL->SetText("http://127.0.0.1/other.bin");
                    frmInfo->EditFileName->SetText("other.bin");
                    frmInfo->Button1->Click();
                }},
               [&] { form->pupProperty->Click(); });
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Pause the downloading first!");
    EXPECT_EQ(std::string(InfoOf(a).url), "http://127.0.0.1/a.bin");
    EXPECT_EQ(std::string(InfoOf(a).destFile), dir.File("a.bin"));
    EXPECT_EQ(form->ListDown->Item(0)->SubItem(4), "http://127.0.0.1/a.bin");

    // A name that cleans away to nothing is refused and the dialog stays open until cancelled.
    runs.EndAll();
    form->Manager()->StopItem(a);
    runs.EndAll();
    messages.clear();
    WithDialog({[&] {
                    frmInfo->EditFileName->SetText("?*:");
                    frmInfo->Button1->Click();
                },
                [&] { frmInfo->Button2->Click(); }},
               [&] { form->pupProperty->Click(); });
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Invalid input!");
    EXPECT_EQ(std::string(InfoOf(a).destFile), dir.File("a.bin"));
}

TEST_F(DialogCommandsTest, PropertyOfAStoppedItemWhoseRunStillEndsIsRefusedWithAWord) {
    Make();
    ASSERT_TRUE(form->Manager()->AddItem("http://127.0.0.1/a.bin", dir.Dir().c_str(), "a.bin"));
    ItemHandle a = Items().back();
    form->Manager()->StopItem(a);  // the run has not ended yet
    Tick();
    Show(1);
    form->ListDown->SetSelected(form->ListDown->Item(0));
    ASSERT_EQ(StateOf(a), DownStopped);
    // Property from the popup's command, a new URL typed, OK pressed.
    auto changeUrl = [&] {
        WithDialog({[&] {
                        frmInfo->EditURL->SetText("http://127.0.0.1/other.bin");
                        frmInfo->EditFileName->SetText("other.bin");
                        PostMessageA(frmInfo->Button1->HandleOrNull(), BM_CLICK, 0, 0);
                    }},
                   [&] { SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(form->pupProperty->Command(), 0), 0); });
    };
    changeUrl();
    ASSERT_EQ(messages.size(), 1u) << "the change was dropped without a word";
    EXPECT_EQ(messages[0].text, "Pause the downloading first!");
    EXPECT_EQ(std::string(InfoOf(a).url), "http://127.0.0.1/a.bin");
    EXPECT_EQ(std::string(InfoOf(a).destFile), dir.File("a.bin"));
    EXPECT_EQ(form->ListDown->Item(0)->SubItem(4), "http://127.0.0.1/a.bin");

    // Once the run has ended the change goes through.
    runs.EndAll();
    messages.clear();
    changeUrl();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(std::string(InfoOf(a).url), "http://127.0.0.1/other.bin");
    EXPECT_EQ(form->ListDown->Item(0)->SubItem(4), "http://127.0.0.1/other.bin");
}

TEST_F(DialogCommandsTest, PropertyOnFinishedAndDeletedRowsUpdatesTheirOwnUrlColumn) {
    Make();
    ASSERT_TRUE(form->Manager()->AddItem("http://127.0.0.1/d.bin", dir.Dir().c_str(), "d.bin"));
    ItemHandle done = Items().back();
    runs.runs.back()->sink->Succeeded();
    runs.EndAll();
    Tick();
    struct Case {
        int node;
        ui::TListView* TForm1::*list;
        const char* url;
    } cases[] = {{2, &TForm1::ListDowned, "http://127.0.0.1/e.bin"}, {3, &TForm1::ListDeleted, "http://127.0.0.1/f.bin"}};
    for (const auto& c : cases) {
        if (c.list == &TForm1::ListDeleted) {
            Show(2);
            form->ListDowned->SetSelected(form->ListDowned->Item(0));
            form->pupDelete->Click();
        }
        Show(c.node);
        ui::TListView* list = form->*c.list;
        list->SetSelected(list->Item(0));
        WithDialog({[&] {
                        frmInfo->EditURL->SetText(c.url);
                        frmInfo->Button1->Click();
                    }},
                   [&] { form->pupProperty->Click(); });
        EXPECT_EQ(std::string(InfoOf(done).url), c.url);
        EXPECT_EQ(Cells(list->Item(0)), (std::vector<std::string>{std::string(c.url).substr(17), "", c.url}));
    }
}

TEST_F(DialogCommandsTest, OptionsStoresEveryFieldOrNone) {
    Make();
    const std::string chosen = dir.File("chosen");
    const char* ini = form->Settings().settingsPath;
    // A bad field keeps the dialog open: nothing is stored.
    WithDialog({[&] {
                    ToolsDlg->Edit1->SetText(chosen);
                    ToolsDlg->CSpinEdit1->SetText("0");
                    ToolsDlg->CSpinEdit2->SetText("40");
                    ToolsDlg->OKBtn->Click();
                },
                [&] { ToolsDlg->CancelBtn->Click(); }},
               [&] { form->qelMainMenu1->Items()->Item(0)->Item(0)->Click(); });  // File > Property Tools
    EXPECT_NE(form->Manager()->GetTimeOut(ini), 40);
    char stored[256] = {};
    form->Manager()->GetDestPath(ini, stored);
    EXPECT_NE(std::string(stored), chosen);

    // Good fields, with a folder to create: all of them are stored and applied.
    answers = {IDOK};
    WithDialog({[&] {
                    ToolsDlg->Edit1->SetText(chosen);
                    ToolsDlg->CSpinEdit1->SetText("2");
                    ToolsDlg->CSpinEdit2->SetText("40");
                    ToolsDlg->EnableProxy->SetChecked(true);
                    ToolsDlg->edServer->SetText("10.1.2.3");
                    ToolsDlg->edPort->SetText("3128");
                    ToolsDlg->OKBtn->Click();
                }},
               [&] { form->qelMainMenu1->Items()->Item(0)->Item(0)->Click(); });
    EXPECT_EQ(form->Manager()->GetMaxThread(ini), 2);
    EXPECT_EQ(form->Manager()->GetTimeOut(ini), 40);
    form->Manager()->GetDestPath(ini, stored);
    EXPECT_EQ(std::string(stored), chosen);
    std::string server, port;
    bool enabled = false;
    form->GetProxy(server, port, enabled);
    EXPECT_EQ(server, "10.1.2.3");
    EXPECT_EQ(port, "3128");
    EXPECT_TRUE(enabled);
    // The new maximum holds in the engine at once: with two running, a third item waits.
    for (const char* name : {"1.bin", "2.bin", "3.bin"})
        form->Manager()->AddItem((std::string("http://127.0.0.1/") + name).c_str(), dir.Dir().c_str(), name);
    EXPECT_EQ(runs.runs.size(), 2u);
}

// The download list as the settings file holds it, read as a restart would read it.
struct SavedItem {
    std::string url, dest;
    int state;
    bool operator==(const SavedItem& o) const { return url == o.url && dest == o.dest && state == o.state; }
};
std::ostream& operator<<(std::ostream& out, const SavedItem& i) {
    return out << "{" << i.url << ", " << i.dest << ", " << i.state << "}";
}

std::vector<SavedItem> SavedList(const std::string& ini) {
    std::vector<SavedItem> items;
    const int count = static_cast<int>(GetPrivateProfileIntA("Down", "Count", -1, ini.c_str()));
    for (int i = 0; i < count; ++i) {
        const std::string section = std::to_string(i);
        char url[1024] = {}, dest[512] = {};
        GetPrivateProfileStringA(section.c_str(), "URL", "", url, sizeof url, ini.c_str());
        GetPrivateProfileStringA(section.c_str(), "DestFileName", "", dest, sizeof dest, ini.c_str());
        items.push_back({url, dest, static_cast<int>(GetPrivateProfileIntA(section.c_str(), "State", 0, ini.c_str()))});
    }
    return items;
}

TEST_F(DialogCommandsTest, EveryChangeToTheListIsOnDiskAtOnce) {
    Make();
    const std::string ini = form->Settings().settingsPath;
    const std::string a = "http://127.0.0.1/x/a.bin", b = "http://127.0.0.1/x/b.bin", c = "http://127.0.0.1/x/c.bin";
    auto add = [&](const std::string& url) {
        ASSERT_TRUE(ui::SetClipboardText(url));
        WithDialog({[&] {
                        frmInfo->EditDest->SetText(folder);
                        frmInfo->Button1->Click();
                    }},
                   [&] { form->btnAdd->Click(); });
    };
    auto item = [&](size_t i) { return Items().at(i); };
    auto select = [&](size_t i) { form->ListDown->SetSelected(FindRow(*form->ListDown, item(i))); };
    auto run = [&](size_t i) -> FakeRun& {
        const std::string dest = InfoOf(item(i)).destFile;
        for (auto& r : runs.runs)
            if (!r->ended && r->destFile == dest) return *r;
        ADD_FAILURE() << "no run of item " << i;
        return *runs.runs.back();
    };
    const std::string renamed = dir.File("renamed.bin");
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<SavedItem> saved;  // what the file holds right after, without closing
    } steps[] = {
        {"add", [&] { add(a); }, {{a, dir.File("a.bin"), DownDownloading}}},
        {"stop", [&] { Tick(); select(0); form->pupCancel->Click(); runs.End(run(0)); },
         {{a, dir.File("a.bin"), DownStopped}}},
        {"property", [&] {
             WithDialog({[&] {
                             frmInfo->EditFileName->SetText("renamed.bin");
                             frmInfo->Button1->Click();
                         }},
                        [&] { form->pupProperty->Click(); });
         },
         {{a, renamed, DownStopped}}},
        {"a second add", [&] { add(b); }, {{a, renamed, DownStopped}, {b, dir.File("b.bin"), DownDownloading}}},
        // The engine's own changes, seen by the poll: the run names its file for what it holds,
        // and finishes.
        {"renamed by its run and finished", [&] {
             FakeRun& r = run(1);
             r.sink->SetDestFile(dir.File("b.asf").c_str());
             r.sink->Succeeded();
             runs.End(r);
             Tick();
         },
         {{a, renamed, DownStopped}, {b, dir.File("b.asf"), DownFinished}}},
        {"failed", [&] {
             add(c);
             FakeRun& r = run(2);
             r.sink->Failed("CONNECT TO SERVER ERROR");
             runs.End(r);
             Tick();
         },
         {{a, renamed, DownStopped}, {b, dir.File("b.asf"), DownFinished}, {c, dir.File("c.bin"), DownFailed}}},
        {"delete", [&] { Tick(); select(0); form->pupDelete->Click(); },
         {{a, renamed, DownDeleted}, {b, dir.File("b.asf"), DownFinished}, {c, dir.File("c.bin"), DownFailed}}},
        {"clear all", [&] { form->pupClear->Click(); }, {}},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(SavedList(ini), step.saved) << step.what;
    }
    EXPECT_TRUE(messages.size() == 1 && messages[0].caption == "Warning") << "only Clear All asks";
}

}  // namespace
