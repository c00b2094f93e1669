// The main window built from its description, its rows, and its poll against a real manager whose
// items are driven through their sinks.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "EngineFactories.h"
#include "EngineSettings.h"
#include "ListRows.h"
#include "FakeRuns.h"
#include "Interface.h"
#include "Main.h"
#include "TempDir.h"

namespace {

struct Message {
    std::string text, caption;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string folder = dir.Dir();
        if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
        SetProgramDirectory(folder.c_str());
        BindEngineFactories(StaticManagerFactory(), nullptr);
        ui::SetMessageBoxHook([this](const std::string& text, const std::string& caption, UINT) {
            messages.push_back({text, caption});
            return IDOK;
        });
    }
    void TearDown() override {
        runs.EndAll();
        delete form;
        ui::SetMessageBoxHook(nullptr);
        BindEngineFactories(nullptr, nullptr);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    TForm1* Make() {
        form = new TForm1(ui::Application);
        return form;
    }
    static std::vector<std::string> Cells(const ui::TListItem* row) {
        std::vector<std::string> cells;
        for (int i = 0; i < row->SubItemCount(); ++i) cells.push_back(row->SubItem(i));
        return cells;
    }
    // The item's running job, played by the test.
    FakeRun& RunOf(ItemHandle item) {
        DownItemInfo info{};
        form->Manager()->GetItemInfo(item, &info);
        for (auto& run : runs.runs) {
            if (!run->ended && run->destFile == info.destFile) return *run;
        }
        ADD_FAILURE() << "no run for " << info.destFile;
        return *runs.runs.front();
    }
    ItemHandle OnlyItem() {
        ItemHandle first = form->Manager()->GetFirstItem();
        EXPECT_NE(first, nullptr);
        EXPECT_EQ(form->Manager()->GetNextItem(first), nullptr);
        return first;
    }

    TempDir dir;
    FakeRuns runs;
    TForm1* form = nullptr;
    std::vector<Message> messages;
};

DownItemInfo Info(const char* url, const char* dest, int32_t state, int32_t total = 0, int32_t downloaded = 0,
                  const char* log = nullptr) {
    return DownItemInfo{url, dest, state, total, downloaded, log, log ? static_cast<uint32_t>(strlen(log)) : 0u};
}

TEST_F(MainWindowTest, ComponentsComeFromTheDescription) {
    Make();
    EXPECT_EQ(form->Caption(), "Tarvexa Ripplecast");
    EXPECT_EQ(form->Width(), 812);
    EXPECT_EQ(form->Height(), 577);
    EXPECT_EQ(form->Font().Name, "MS Sans Serif");
    EXPECT_EQ(form->Font().Height, -11);
    EXPECT_EQ(form->CoolBar1->Height(), 75);
    EXPECT_EQ(form->TreeView1->Width(), 201);
    EXPECT_EQ(form->Splitter1->Width(), 3);
    EXPECT_EQ(form->Panel3->Height(), 185);
    EXPECT_EQ(form->Splitter2->Height(), 3);
    EXPECT_EQ(form->Page_Info->ActivePage(), form->sht_Log);
    EXPECT_EQ(form->sht_Chart->Caption(), "Download Chart");
    EXPECT_EQ(form->sht_Log->Caption(), "Download Log");
    EXPECT_EQ(form->Memo1->Color(), ui::clBtnFace);
    EXPECT_EQ(form->Timer1->Interval(), 1000);
    EXPECT_TRUE(form->Timer1->Enabled());
    EXPECT_EQ(form->ToolBar1->Menu(), form->qelMainMenu1);
    EXPECT_EQ(form->ToolBar2->Images(), form->ImageList1);
    EXPECT_EQ(form->ToolBar2->DisabledImages(), form->ImageList1);
    EXPECT_EQ(form->pp_Chart->TotalCount(), 0);
    EXPECT_EQ(std::string(form->Settings().settingsPath), dir.File("config.ini"));
    EXPECT_EQ(form->Settings().logPosition, 0);
    EXPECT_NE(form->Manager(), nullptr);
    EXPECT_TRUE(messages.empty());

    struct ImageListCase {
        ui::TImageList* list;
        int width, height, count;
    } lists[] = {{form->ImageList1, 22, 20, 8}, {form->ImageList2, 16, 16, 4}, {form->ImageList3, 16, 16, 6},
                 {form->ImageList4, 16, 16, 5}};
    for (const auto& c : lists) {
        EXPECT_EQ(c.list->Width(), c.width) << c.list->Name();
        EXPECT_EQ(c.list->Height(), c.height) << c.list->Name();
        EXPECT_EQ(c.list->Count(), c.count) << c.list->Name();
    }
}

TEST_F(MainWindowTest, ToolBarButtonsAndMenus) {
    Make();
    struct Button {
        const char* caption;
        int image;
        bool enabled;
    } expected[] = {{"Down", 0, false}, {"Stop", 1, false}, {"Add", 2, true},  {"Delete", 3, false}, {"", -1, true},
                    {"Dest", 4, true},  {"Help", 5, true},  {"Home", 6, true}, {"Exit", 7, true}};
    ASSERT_EQ(form->ToolBar2->ButtonCount(), 9);
    for (int i = 0; i < 9; ++i) {
        ui::TToolButton* b = form->ToolBar2->Button(i);
        EXPECT_EQ(b->Caption(), expected[i].caption) << i;
        EXPECT_EQ(b->ImageIndex(), expected[i].image) << i;
        EXPECT_EQ(b->Enabled(), expected[i].enabled) << i;
    }
    EXPECT_EQ(form->ToolBar2->Button(4)->Style, ui::TToolButtonStyle::Separator);
    EXPECT_EQ(form->ToolBar2->Button(4)->Width, 8);
    // The toolbar's own button states agree with the objects.
    HWND bar = form->ToolBar2->HandleOrNull();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 9);
    EXPECT_FALSE(SendMessageA(bar, TB_ISBUTTONENABLED, form->btnDown->Command(), 0));
    EXPECT_TRUE(SendMessageA(bar, TB_ISBUTTONENABLED, form->btnAdd->Command(), 0));

    // The menu shown through the first tool bar: one button per top-level item.
    const char* bar1[] = {"File", "Edit", "Download", "Help"};
    ASSERT_EQ(form->ToolBar1->ButtonCount(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(form->ToolBar1->Button(i)->Caption(), bar1[i]);
    ui::TMenuItem* items = form->qelMainMenu1->Items();
    ASSERT_EQ(items->Count(), 4);
    const std::vector<std::vector<std::string>> menus = {
        {"Property Tools", "Open Dest File Path", "-", "Exit"},
        {"Copy URL", "Paste URL", "-", "Select All"},
        {"Add", "Delete", "-", "Begin", "Stop", "Begin All", "Stop All"},
        {"Help", "Homepage", "-", "-", "About"}};
    for (int m = 0; m < 4; ++m) {
        ASSERT_EQ(items->Item(m)->Count(), static_cast<int>(menus[m].size()));
        for (int i = 0; i < items->Item(m)->Count(); ++i) EXPECT_EQ(items->Item(m)->Item(i)->Caption(), menus[m][i]);
    }
    EXPECT_EQ(form->qelMainMenu1->Images(), form->ImageList4);
    // The skinned DeepBlue menu with the window's own selection colours draws the drop-down lists.
    EXPECT_EQ(form->qelMainMenu1->UIStyle(), skin::TqelUIStyle::DeepBlue);
    EXPECT_EQ(form->qelMainMenu1->SelectedColor, 0xEFD3C6);
    EXPECT_EQ(form->qelMainMenu1->SeparatorHeight(), 5);
    ui::TBitmap exit;
    exit.SetSize(150, 21);
    items->Item(0)->Item(3)->DoDrawItem(exit.Canvas(), {0, 0, 150, 21}, false);
    EXPECT_EQ(exit.Pixel(0, 20), RGB(0xD6, 0xD3, 0xCE));
    EXPECT_EQ(exit.Pixel(149, 0), RGB(255, 255, 255));
    EXPECT_EQ(form->PopupMenu1->Items()->Count(), 14);
    EXPECT_EQ(form->PopupMenu1->Items()->Item(1)->Break(), ui::TMenuBreak::Break);
}

TEST_F(MainWindowTest, ListColumnsAndTree) {
    Make();
    struct Column {
        const char* caption;
        int width;
    };
    const std::vector<Column> down = {{"", 30}, {"FileName", 200}, {"Size", 70}, {"Completed", 70}, {"Percent", 50}, {"URL", 400}};
    const std::vector<Column> others = {{"", 30}, {"FileName", 250}, {"Size", 80}, {"URL", 400}};
    for (auto [list, expected] : {std::pair{form->ListDown, down}, {form->ListDowned, others}, {form->ListDeleted, others}}) {
        ASSERT_EQ(list->Columns().size(), expected.size()) << list->Name();
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(list->Columns()[i].Caption, expected[i].caption) << list->Name() << i;
            EXPECT_EQ(list->Columns()[i].Width, expected[i].width) << list->Name() << i;
            // The real control has the same widths.
            EXPECT_EQ(SendMessageA(list->HandleOrNull(), LVM_GETCOLUMNWIDTH, i, 0), expected[i].width);
        }
        EXPECT_EQ(list->Columns()[0].ImageIndex, 0);
        EXPECT_EQ(list->SmallImages(), form->ImageList3);
    }
    // FormCreate selected "Downloading", which shows ListDown alone.
    EXPECT_TRUE(form->ListDown->Visible());
    EXPECT_FALSE(form->ListDowned->Visible());
    EXPECT_FALSE(form->ListDeleted->Visible());
    ASSERT_EQ(form->TreeView1->NodeCount(), 4);
    const char* texts[] = {"Ripplecast", "Downloading", "Downloaded", "Deleted"};
    for (int i = 0; i < 4; ++i) {
        ui::TTreeNode* node = form->TreeView1->NodeAt(i);
        EXPECT_EQ(node->Text(), texts[i]);
        EXPECT_EQ(node->ImageIndex(), i);
        EXPECT_EQ(node->SelectedIndex(), i);
        EXPECT_EQ(node->Parent(), i == 0 ? nullptr : form->TreeView1->NodeAt(0));
    }
    EXPECT_EQ(form->TreeView1->Selected(), form->TreeView1->NodeAt(1));
    // The control's selection agrees.
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageA(form->TreeView1->HandleOrNull(), TVM_GETNEXTITEM, TVGN_CARET, 0)),
              form->TreeView1->NodeAt(1)->Handle());

    // Choosing a node shows its list and disables the three buttons.
    struct Case {
        int node;
        ui::TListView* shown;
    } cases[] = {{0, form->ListDowned}, {2, form->ListDowned}, {3, form->ListDeleted}, {1, form->ListDown}};
    for (const auto& c : cases) {
        form->btnDown->SetEnabled(true);
        form->TreeView1->SetSelected(form->TreeView1->NodeAt(c.node));
        for (ui::TListView* list : {form->ListDown, form->ListDowned, form->ListDeleted})
            EXPECT_EQ(list->Visible(), list == c.shown) << c.node << " " << list->Name();
        EXPECT_FALSE(form->btnDown->Enabled());
    }
}

TEST_F(MainWindowTest, AddRowFilesEachStateInItsList) {
    Make();
    struct Case {
        int32_t state;
        ui::TListView* TForm1::*list;  // null: no row at all
        int image;
        std::vector<std::string> cells;
        bool selected;
    } cases[] = {
        {DownWaiting, &TForm1::ListDown, 3, {"a.bin", "", "", "0%", "http://h.example/a.bin"}, true},
        {DownDownloading, &TForm1::ListDown, 1, {"a.bin", "", "", "0%", "http://h.example/a.bin"}, true},
        {DownStopped, &TForm1::ListDown, 3, {"a.bin", "", "", "0%", "http://h.example/a.bin"}, true},
        {DownFailed, &TForm1::ListDown, 4, {"a.bin", "", "", "", "http://h.example/a.bin"}, false},
        {DownFinished, &TForm1::ListDowned, 2, {"a.bin", "", "http://h.example/a.bin"}, false},
        {DownDeleted, &TForm1::ListDeleted, 5, {"a.bin", "", "http://h.example/a.bin"}, false},
        {DownStateNone, nullptr, 0, {}, false},
        {9, nullptr, 0, {}, false},
    };
    int handle = 0x100;
    for (const auto& c : cases) {
        form->ListDown->SetSelected(nullptr);
        const int before = form->ListDown->ItemCount() + form->ListDowned->ItemCount() + form->ListDeleted->ItemCount();
        ItemHandle item = reinterpret_cast<ItemHandle>(static_cast<intptr_t>(handle += 0x10));
        form->AddRow(item, Info("http://h.example/a.bin", "C:\\dl\\a.bin", c.state));
        const int after = form->ListDown->ItemCount() + form->ListDowned->ItemCount() + form->ListDeleted->ItemCount();
        if (!c.list) {
            EXPECT_EQ(after, before) << c.state;
            EXPECT_FALSE(form->IsListed(item));
            continue;
        }
        ui::TListView* list = form->*c.list;
        ui::TListItem* row = list->Item(list->ItemCount() - 1);
        EXPECT_EQ(row->Data(), item) << c.state;
        EXPECT_EQ(row->ImageIndex(), c.image) << c.state;
        EXPECT_EQ(row->Caption(), "");
        EXPECT_EQ(Cells(row), c.cells) << c.state;
        EXPECT_EQ(row->Selected(), c.selected) << c.state;
        EXPECT_TRUE(form->IsListed(item));
    }
}

TEST_F(MainWindowTest, UpdateRowRedrawsCells) {
    Make();
    struct Case {
        int32_t state, total, downloaded;
        int image;
        const char *size, *completed, *percent;
    } cases[] = {
        {DownDownloading, -1, 500, 1, "Unknown", "500", "Unknown"},
        {DownDownloading, 0, 0, 1, "0", "0", "0%"},  // percent keeps the new row's text
        {DownDownloading, 1000, 999, 1, "1,000", "999", "99%"},
        {DownWaiting, 1234567, 1234567, 3, "1,234,567", "1,234,567", "100%"},
        {DownStopped, 3000, 1, 3, "3,000", "1", "0%"},
        {DownFailed, 2048, 1024, 4, "2,048", "1,024", "50%"},
        {DownDeleted, 10, 5, 1, "10", "5", "50%"},  // an unknown image keeps the row's
    };
    int handle = 0x100;
    for (const auto& c : cases) {
        ItemHandle item = reinterpret_cast<ItemHandle>(static_cast<intptr_t>(handle += 0x10));
        form->AddRow(item, Info("http://h.example/f.bin", "C:\\dl\\f.bin", DownDownloading));
        form->UpdateRow(item, Info("http://h.example/f.bin", "C:\\dl\\f.bin", c.state, c.total, c.downloaded));
        ui::TListItem* row = form->ListDown->Item(form->ListDown->ItemCount() - 1);
        EXPECT_EQ(row->ImageIndex(), c.image) << c.total;
        EXPECT_EQ(Cells(row), (std::vector<std::string>{"C:\\dl\\f.bin", c.size, c.completed, c.percent,
                                                         "http://h.example/f.bin"}))
            << c.total;
    }
}

TEST_F(MainWindowTest, FinishedRowMovesToListDownedEvenWhileHidden) {
    Make();
    ItemHandle a = reinterpret_cast<ItemHandle>(0x1000), b = reinterpret_cast<ItemHandle>(0x2000);
    form->AddRow(a, Info("http://h.example/a.bin", "C:\\dl\\a.bin", DownDownloading));
    form->AddRow(b, Info("http://h.example/b.bin", "C:\\dl\\b.bin", DownDownloading));
    form->TreeView1->SetSelected(form->TreeView1->NodeAt(3));  // "Deleted": ListDown hidden
    form->Settings().logPosition = 77;
    form->UpdateRow(a, Info("http://h.example/a.bin", "C:\\dl\\a.bin", DownFinished, 10, 10));
    ASSERT_EQ(form->ListDown->ItemCount(), 1);
    EXPECT_EQ(form->ListDown->Item(0)->Data(), b);
    EXPECT_EQ(form->ListDown->Selected(), nullptr);
    EXPECT_EQ(form->Settings().logPosition, 0);
    ASSERT_EQ(form->ListDowned->ItemCount(), 1);
    EXPECT_EQ(form->ListDowned->Item(0)->Data(), a);
    EXPECT_EQ(form->ListDowned->Item(0)->ImageIndex(), 2);
    EXPECT_EQ(Cells(form->ListDowned->Item(0)), (std::vector<std::string>{"a.bin", "", "http://h.example/a.bin"}));

    // A hidden row is redrawn too, so a failed item never keeps the running image.
    form->UpdateRow(b, Info("http://h.example/b.bin", "C:\\dl\\b.bin", DownFailed, 10, 3));
    EXPECT_EQ(form->ListDown->Item(0)->ImageIndex(), 4);
    EXPECT_EQ(form->ListDown->Item(0)->SubItem(3), "30%");
    // Rows of the other lists are never redrawn.
    form->UpdateRow(a, Info("http://h.example/a.bin", "C:\\dl\\a.bin", DownFailed, 10, 3));
    EXPECT_EQ(form->ListDowned->Item(0)->ImageIndex(), 2);
}

TEST_F(MainWindowTest, OneTickMovesEveryFinishedRowAndRedrawsTheRest) {
    struct Case {
        const char* what;
        int items;
        std::vector<int> finished, progressed;
    } cases[] = {
        {"nothing finished", 6, {}, {1, 4}},
        {"the first", 6, {0}, {2}},
        {"the last, which is the selected one", 6, {5}, {0, 1}},
        {"more than the list deletes one by one", 24, {0, 1, 3, 4, 6, 7, 9, 12, 15, 16, 20, 23}, {2, 5, 22}},
        {"every item", 12, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        runs.EndAll();
        delete form;
        form = nullptr;
        runs.runs.clear();
        DeleteFileA(dir.File("config.ini").c_str());
        Make();
        form->Manager()->SetMaxThread(100);
        std::vector<ItemHandle> items;
        for (int i = 0; i < c.items; ++i) {
            const std::string name = "f" + std::to_string(i) + ".bin";
            ASSERT_TRUE(form->Manager()->AddItem(("http://127.0.0.1/" + name).c_str(), dir.Dir().c_str(), name.c_str()));
        }
        for (ItemHandle h = form->Manager()->GetFirstItem(); h; h = form->Manager()->GetNextItem(h)) items.push_back(h);
        form->Timer1Timer(form->Timer1);
        ASSERT_EQ(form->ListDown->ItemCount(), c.items);
        ASSERT_TRUE(form->ListDown->Item(c.items - 1)->Selected());
        form->Settings().logPosition = 5;

        for (int i : c.progressed) {
            FakeRun& run = RunOf(items[static_cast<size_t>(i)]);
            run.sink->SetTotalSize(4000);
            run.sink->SetDownloaded(1000 * (i % 4));
        }
        for (int i : c.finished) {
            FakeRun& run = RunOf(items[static_cast<size_t>(i)]);
            run.sink->SetTotalSize(3000);
            run.sink->SetDownloaded(3000);
            run.sink->Succeeded();
            runs.End(run);
        }
        form->Timer1Timer(form->Timer1);

        // What the rows show, by the rules of a single row's redraw and move.
        auto isIn = [](const std::vector<int>& set, int i) { return std::find(set.begin(), set.end(), i) != set.end(); };
        std::vector<std::vector<std::string>> down, downed;
        std::vector<ItemHandle> downItems, downedItems;
        for (int i = 0; i < c.items; ++i) {
            const std::string name = "f" + std::to_string(i) + ".bin", url = "http://127.0.0.1/" + name;
            if (isIn(c.finished, i)) {
                downed.push_back({name, "", url});
                downedItems.push_back(items[static_cast<size_t>(i)]);
            } else if (isIn(c.progressed, i)) {
                const std::string done = i % 4 ? std::to_string(i % 4) + ",000" : "0";
                down.push_back({dir.File(name), "4,000", done, std::to_string(25 * (i % 4)) + "%", url});
                downItems.push_back(items[static_cast<size_t>(i)]);
            } else {
                down.push_back({name, "", "", "0%", url});
                downItems.push_back(items[static_cast<size_t>(i)]);
            }
        }
        std::vector<std::vector<std::string>> downShown, downedShown;
        for (int i = 0; i < form->ListDown->ItemCount(); ++i) {
            EXPECT_EQ(form->ListDown->Item(i)->Data(), downItems.at(static_cast<size_t>(i))) << i;
            EXPECT_EQ(form->ListDown->Item(i)->ImageIndex(), kDownloadingImage) << i;
            downShown.push_back(Cells(form->ListDown->Item(i)));
            // The control shows the same row at the same place.
            char text[300] = {};
            LVITEMA cell{};
            cell.iSubItem = 1 + kNameCell;
            cell.pszText = text;
            cell.cchTextMax = sizeof text;
            SendMessageA(form->ListDown->HandleOrNull(), LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&cell));
            EXPECT_EQ(text, downShown.back()[kNameCell]) << i;
        }
        for (int i = 0; i < form->ListDowned->ItemCount(); ++i) {
            EXPECT_EQ(form->ListDowned->Item(i)->Data(), downedItems.at(static_cast<size_t>(i))) << i;
            EXPECT_EQ(form->ListDowned->Item(i)->ImageIndex(), kFinishedImage) << i;
            downedShown.push_back(Cells(form->ListDowned->Item(i)));
        }
        EXPECT_EQ(downShown, down);
        EXPECT_EQ(downedShown, downed);
        for (size_t i = 0; i < items.size(); ++i) EXPECT_TRUE(form->IsListed(items[i])) << i;
        if (c.finished.empty()) {
            // The selected row is still the shown one.
            EXPECT_TRUE(form->ListDown->Item(c.items - 1)->Selected());
        } else {
            // A move leaves no row selected and nothing shown.
            EXPECT_EQ(form->ListDown->Selected(), nullptr);
            EXPECT_EQ(form->Settings().logPosition, 0);
            EXPECT_EQ(form->Memo1->Text(), "");
        }
    }
}

TEST_F(MainWindowTest, BeginAllOnALongListStartsNoMoreRunsThanTheProcessHolds) {
    // A saved list of stopped items, longer than the runs the engine lets go at once.
    const int items = kRunsAtOnceMax + 40;
    {
        std::ofstream out(dir.File("config.ini"), std::ios::binary);
        out << "[Down]\r\nCount=" << items << "\r\n";
        for (int i = 0; i < items; ++i) {
            out << "[" << i << "]\r\nURL=http://127.0.0.1/f" << i << ".bin\r\nDestFileName=" << dir.File("f" + std::to_string(i) + ".bin")
                << "\r\nState=3\r\n";
        }
    }
    Make();
    ASSERT_EQ(form->ListDown->ItemCount(), items);
    auto live = [&] {
        int n = 0;
        for (auto& run : runs.runs) n += run->ended ? 0 : 1;
        return n;
    };
    auto states = [&] {
        std::map<int32_t, int> count;
        for (ItemHandle h = form->Manager()->GetFirstItem(); h; h = form->Manager()->GetNextItem(h)) {
            DownItemInfo info{};
            form->Manager()->GetItemInfo(h, &info);
            ++count[info.state];
        }
        return count;
    };
    form->pupDownAllClick(form->pupDownAll);
    EXPECT_EQ(live(), kRunsAtOnceMax);
    EXPECT_EQ(states(), (std::map<int32_t, int>{{DownDownloading, kRunsAtOnceMax}, {DownWaiting, 40}}));
    form->Timer1Timer(form->Timer1);

    // As runs end the waiting items start, never past the limit, each once, until all are finished.
    std::set<std::string> started;
    for (int round = 0; round < 10 * items && live() > 0; ++round) {
        EXPECT_LE(live(), kRunsAtOnceMax);
        for (auto& run : runs.runs) {
            if (run->ended) continue;
            EXPECT_TRUE(started.insert(run->destFile).second) << run->destFile << " ran twice";
            run->sink->Succeeded();
            runs.End(*run);
            break;
        }
        if (round % 50 == 0) form->Timer1Timer(form->Timer1);
    }
    for (auto& run : runs.runs) started.insert(run->destFile);
    EXPECT_EQ(static_cast<int>(started.size()), items);
    EXPECT_EQ(states(), (std::map<int32_t, int>{{DownFinished, items}}));
    form->Timer1Timer(form->Timer1);
    EXPECT_EQ(form->ListDown->ItemCount(), 0);
    EXPECT_EQ(form->ListDowned->ItemCount(), items);
}

TEST_F(MainWindowTest, ShowProgressAppendsTheLogFromItsPosition) {
    Make();
    const std::string log1 = "first\r\n", log2 = "first\r\nsecond\r\nthird\r\n";
    form->ShowProgress(Info("u", "C:\\d\\x", DownDownloading, 0, 0, log1.c_str()));
    EXPECT_EQ(form->Memo1->Text(), "first\r\n");
    EXPECT_EQ(form->Settings().logPosition, 7);
    form->ShowProgress(Info("u", "C:\\d\\x", DownDownloading, 0, 0, log2.c_str()));
    EXPECT_EQ(form->Memo1->Text(), "first\r\nsecond\r\nthird\r\n");
    EXPECT_EQ(form->Settings().logPosition, static_cast<int32_t>(log2.size()));
    // Nothing new: nothing added.
    form->ShowProgress(Info("u", "C:\\d\\x", DownDownloading, 0, 0, log2.c_str()));
    EXPECT_EQ(form->Memo1->LineCount(), 3);
    // No log: cleared, position back to 0.
    form->ShowProgress(Info("u", "C:\\d\\x", DownDownloading));
    EXPECT_EQ(form->Memo1->Text(), "");
    EXPECT_EQ(form->Settings().logPosition, 0);
    // A log shorter than its closing line break adds an empty line and reads nothing before it.
    form->ShowProgress(Info("u", "C:\\d\\x", DownDownloading, 0, 0, "x"));
    EXPECT_EQ(form->Memo1->Text(), "\r\n");
    EXPECT_EQ(form->Settings().logPosition, 1);
}

TEST_F(MainWindowTest, ShowProgressSetsTheChart) {
    Make();
    struct Case {
        int32_t total, downloaded, cells, comed;
    } cases[] = {
        {-1, 300, 1, 0},          // undetermined: one cell
        {1000, 1000, 1, 1},       // less than a block, complete
        {10240, 5000, 10, 4},
        {10240, 10240, 10, 10},
        {1025, 1025, 1, 1},
    };
    for (const auto& c : cases) {
        form->ShowProgress(Info("u", "C:\\d\\x", DownDownloading, c.total, c.downloaded));
        EXPECT_EQ(form->pp_Chart->TotalCount(), c.cells) << c.total;
        EXPECT_EQ(form->pp_Chart->ComedCount(), c.comed) << c.total;
    }
    // A size not yet reported leaves the chart alone.
    form->ShowProgress(Info("u", "C:\\d\\x", DownDownloading, 0, 0));
    EXPECT_EQ(form->pp_Chart->TotalCount(), 1);
}

TEST_F(MainWindowTest, PollFollowsAnItemDrivenThroughItsSink) {
    Make();
    ASSERT_TRUE(form->Manager()->AddItem("http://127.0.0.1/clip.bin", dir.Dir().c_str(), "clip.bin"));
    ItemHandle item = OnlyItem();
    form->Timer1Timer(form->Timer1);
    ASSERT_EQ(form->ListDown->ItemCount(), 1);
    ui::TListItem* row = form->ListDown->Item(0);
    EXPECT_EQ(row->Data(), item);
    EXPECT_EQ(row->ImageIndex(), 1);  // started at once: downloading
    EXPECT_TRUE(row->Selected());
    EXPECT_EQ(row->SubItem(0), "clip.bin");

    FakeRun& run = RunOf(item);
    run.sink->Log("Connecting......");
    run.sink->SetTotalSize(5000);
    run.sink->SetDownloaded(2500);
    form->Timer1Timer(form->Timer1);
    EXPECT_EQ(row->SubItem(1), "5,000");
    EXPECT_EQ(row->SubItem(2), "2,500");
    EXPECT_EQ(row->SubItem(3), "50%");
    EXPECT_EQ(row->SubItem(0), dir.File("clip.bin"));
    // The item's own first line, then the run's: each log line ends with a line break.
    EXPECT_EQ(form->Memo1->Text(), "Start downloading...\r\nConnecting......\r\n");
    EXPECT_EQ(form->pp_Chart->TotalCount(), 4);
    EXPECT_EQ(form->pp_Chart->ComedCount(), 2);

    run.sink->Log("Receiving data......");
    run.sink->SetDownloaded(5000);
    form->Timer1Timer(form->Timer1);
    EXPECT_EQ(form->Memo1->Text(), "Start downloading...\r\nConnecting......\r\nReceiving data......\r\n");
    EXPECT_EQ(form->pp_Chart->ComedCount(), 4);

    run.sink->Succeeded();
    runs.End(run);
    form->Timer1Timer(form->Timer1);
    EXPECT_EQ(form->ListDown->ItemCount(), 0);
    ASSERT_EQ(form->ListDowned->ItemCount(), 1);
    EXPECT_EQ(form->ListDowned->Item(0)->Data(), item);
    // Nothing shown any more: the memo is cleared.
    EXPECT_EQ(form->Memo1->Text(), "");
    EXPECT_EQ(form->Settings().logPosition, 0);
}

TEST_F(MainWindowTest, ClickShowsTheWholeLogAndSetsTheButtons) {
    Make();
    ASSERT_TRUE(form->Manager()->AddItem("http://127.0.0.1/a.bin", dir.Dir().c_str(), "a.bin"));
    ItemHandle item = OnlyItem();
    FakeRun& run = RunOf(item);
    run.sink->Log("one");
    run.sink->SetTotalSize(4096);
    run.sink->SetDownloaded(2048);
    form->Timer1Timer(form->Timer1);
    form->Memo1->AddLine("stale");
    form->ListDownClick(form->ListDown);
    EXPECT_EQ(form->Settings().lastShownRow, form->ListDown->Item(0));
    EXPECT_EQ(form->Memo1->Text(), "Start downloading...\r\none\r\n");
    EXPECT_TRUE(form->btnCancel->Enabled());
    EXPECT_FALSE(form->btnDown->Enabled());
    EXPECT_FALSE(form->btnDelete->Enabled());
    EXPECT_EQ(form->pp_Chart->TotalCount(), 4);
    EXPECT_EQ(form->pp_Chart->ComedCount(), 2);

    // A stopped item: the other buttons.
    form->Settings().lastShownRow = nullptr;
    form->ListDown->Item(0)->SetImageIndex(3);
    form->ListDownClick(form->ListDown);
    EXPECT_FALSE(form->btnCancel->Enabled());
    EXPECT_TRUE(form->btnDown->Enabled());
    EXPECT_TRUE(form->btnDelete->Enabled());
}

TEST_F(MainWindowTest, DownAndStopActOnTheSelectedRow) {
    Make();
    ASSERT_TRUE(form->Manager()->AddItem("http://127.0.0.1/a.bin", dir.Dir().c_str(), "a.bin"));
    ItemHandle item = OnlyItem();
    form->Manager()->StopItem(item);
    runs.EndAll();
    form->Timer1Timer(form->Timer1);
    form->ListDownClick(form->ListDown);
    ASSERT_TRUE(form->btnDown->Enabled());
    const size_t before = runs.runs.size();
    form->btnDown->Click();
    EXPECT_EQ(runs.runs.size(), before + 1);  // started again
    EXPECT_FALSE(form->btnDown->Enabled());
    EXPECT_FALSE(form->btnDelete->Enabled());
    EXPECT_TRUE(form->btnCancel->Enabled());
    form->btnCancel->Click();
    EXPECT_TRUE(runs.runs.back()->sink->IsStopped());
    // Without a selected row both do nothing.
    form->ListDown->SetSelected(nullptr);
    form->btnDown->SetEnabled(true);
    form->btnDown->Click();
    EXPECT_EQ(runs.runs.size(), before + 1);
}

TEST_F(MainWindowTest, StoredSettingsReachTheEngineAtCreation) {
    const std::string config = dir.File("config.ini");
    WritePrivateProfileStringA("MaxThread", "Default", "1", config.c_str());
    WritePrivateProfileStringA("TimeOut", "Default", "45", config.c_str());
    WritePrivateProfileStringA("Proxy", "server", "10.0.0.1", config.c_str());
    WritePrivateProfileStringA("Proxy", "port", "3128", config.c_str());
    WritePrivateProfileStringA("Proxy", "enable", "1", config.c_str());
    Make();
    EXPECT_EQ(form->GetMaxThread(), 1);
    EXPECT_EQ(form->GetTimeOut(), 45);
    std::string server, port;
    bool enabled = false;
    form->GetProxy(server, port, enabled);
    EXPECT_EQ(server, "10.0.0.1");
    EXPECT_EQ(port, "3128");
    EXPECT_TRUE(enabled);
    // One download at a time: the second item waits.
    ASSERT_TRUE(form->Manager()->AddItem("http://127.0.0.1/a.bin", dir.Dir().c_str(), "a.bin"));
    ASSERT_TRUE(form->Manager()->AddItem("http://127.0.0.1/b.bin", dir.Dir().c_str(), "b.bin"));
    EXPECT_EQ(runs.runs.size(), 1u);
    form->Timer1Timer(form->Timer1);
    ASSERT_EQ(form->ListDown->ItemCount(), 2);
    EXPECT_EQ(form->ListDown->Item(0)->ImageIndex(), 1);
    EXPECT_EQ(form->ListDown->Item(1)->ImageIndex(), 3);
    // Each new row became the selected one.
    EXPECT_TRUE(form->ListDown->Item(1)->Selected());
}

TEST_F(MainWindowTest, CloseIsRefusedWhileAnyEngineItemDownloads) {
    Make();
    ASSERT_TRUE(form->Manager()->AddItem("http://127.0.0.1/a.bin", dir.Dir().c_str(), "a.bin"));
    // No tick yet: the item runs without a row.
    ASSERT_EQ(form->ListDown->ItemCount(), 0);
    bool canClose = true;
    form->FormCloseQuery(form, canClose);
    EXPECT_FALSE(canClose);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Pause the downloading first!");

    FakeRun& run = RunOf(OnlyItem());
    run.sink->Succeeded();
    runs.End(run);
    canClose = true;
    form->FormCloseQuery(form, canClose);
    EXPECT_TRUE(canClose);
}

TEST_F(MainWindowTest, CloseSavesTheListAndReleasesTheManager) {
    Make();
    ASSERT_TRUE(form->Manager()->AddItem("http://127.0.0.1/a.bin", dir.Dir().c_str(), "a.bin"));
    form->Manager()->StopItem(OnlyItem());
    runs.EndAll();
    form->Timer1Timer(form->Timer1);
    ui::TCloseAction action = ui::TCloseAction::Free;
    form->FormClose(form, action);
    EXPECT_EQ(form->Manager(), nullptr);
    EXPECT_EQ(form->ListDown->ItemCount(), 0);
    form->Timer1Timer(form->Timer1);  // a late tick finds no manager and does nothing
    delete form;

    // A new window loads the saved list and selects the last row it files in ListDown.
    form = Make();
    ASSERT_EQ(form->ListDown->ItemCount(), 1);
    EXPECT_EQ(form->ListDown->Item(0)->SubItem(4), "http://127.0.0.1/a.bin");
    EXPECT_EQ(form->ListDown->Item(0)->ImageIndex(), 3);
    EXPECT_TRUE(form->ListDown->Item(0)->Selected());
}

TEST_F(MainWindowTest, NoManagerGivesOneMessageAndEndsTheProgram) {
    BindEngineFactories(NullManagerFactory(), nullptr);
    Make();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "The dll file is broken!");
    EXPECT_EQ(form->Manager(), nullptr);
    EXPECT_TRUE(ui::Application->Terminated());
    EXPECT_FALSE(form->Timer1->Enabled());
    form->Timer1Timer(form->Timer1);
    form->ListDownClick(form->ListDown);
    bool canClose = false;
    form->FormCloseQuery(form, canClose);
    ui::TCloseAction action = ui::TCloseAction::Free;
    form->FormClose(form, action);
    EXPECT_EQ(messages.size(), 1u);
}

}  // namespace
