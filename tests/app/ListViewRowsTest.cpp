// The list view's rows against its control: a row found by its data, and many rows deleted at once
// (one by one in the control, or by filling it again) leave the same rows, texts and selection as
// deleting them one at a time would.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ComCtrls.h"
#include "Forms.h"

namespace {

void* DataOf(int i) { return reinterpret_cast<void*>(static_cast<intptr_t>(0x1000 + i)); }

std::string ControlText(HWND list, int row, int column) {
    char buffer[64] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

int ControlImage(HWND list, int row) {
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

class ListViewRowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new ui::TForm(nullptr);
        list = new ui::TListView(form);
        list->SetParent(form);
        for (const char* caption : {"", "Name", "Url"}) list->AddColumn({caption, 80, -1});
        form->HandleNeeded();
        list->HandleNeeded();
    }
    void TearDown() override { delete form; }

    // Rows named r0, r1, ... whose data is DataOf(i), or `data[i]` when given.
    void Fill(int rows, const std::vector<int>& data = {}) {
        for (int i = 0; i < rows; ++i) {
            ui::TListItem* row = list->AddItem();
            row->SetData(DataOf(data.empty() ? i : data[static_cast<size_t>(i)]));
            row->SetImageIndex(i % 5);
            row->AddSubItem("r" + std::to_string(i));
            row->AddSubItem("http://h.example/" + std::to_string(i));
        }
    }
    // The rows' names, and the control's, which must agree row by row.
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        HWND h = list->HandleOrNull();
        EXPECT_EQ(SendMessageA(h, LVM_GETITEMCOUNT, 0, 0), list->ItemCount());
        for (int i = 0; i < list->ItemCount(); ++i) {
            ui::TListItem* row = list->Item(i);
            EXPECT_EQ(row->Index(), i);
            EXPECT_EQ(ControlText(h, i, 1), row->SubItem(0)) << i;
            EXPECT_EQ(ControlText(h, i, 2), row->SubItem(1)) << i;
            EXPECT_EQ(ControlImage(h, i), row->ImageIndex()) << i;
            names.push_back(row->SubItem(0));
        }
        return names;
    }

    ui::TForm* form = nullptr;
    ui::TListView* list = nullptr;
};

TEST_F(ListViewRowsTest, DeletingManyRowsKeepsTheOthersInOrder) {
    struct Case {
        const char* what;
        int rows;
        std::vector<int> deleted;
        int selected;  // -1: none
    } cases[] = {
        {"none", 5, {}, 2},
        {"one in the middle", 5, {2}, 4},
        {"a few, given out of order", 12, {7, 1, 3}, 0},
        {"more than are deleted one by one", 30, {0, 2, 3, 5, 8, 9, 10, 13, 17, 20, 21, 29}, 11},
        {"the selected one among many", 30, {1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20}, 12},
        {"every row", 20, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        list->Clear();
        Fill(c.rows);
        if (c.selected >= 0) list->SetSelected(list->Item(c.selected));
        std::vector<ui::TListItem*> doomed;
        for (int i : c.deleted) doomed.push_back(list->Item(i));
        std::vector<std::string> expected;
        for (int i = 0; i < c.rows; ++i) {
            if (std::find(c.deleted.begin(), c.deleted.end(), i) == c.deleted.end()) expected.push_back("r" + std::to_string(i));
        }
        list->DeleteItems(doomed);
        EXPECT_EQ(Names(), expected);
        // Every row that stayed is found by its data; a deleted one no more.
        for (int i = 0; i < c.rows; ++i) {
            ui::TListItem* found = list->FindData(DataOf(i));
            const bool deleted = std::find(c.deleted.begin(), c.deleted.end(), i) != c.deleted.end();
            if (deleted) EXPECT_EQ(found, nullptr) << i;
            else ASSERT_NE(found, nullptr) << i;
            if (found) EXPECT_EQ(found->SubItem(0), "r" + std::to_string(i));
        }
        // The selection stays with its row, in the control too, unless that row went.
        const bool selectedGone =
            c.selected < 0 || std::find(c.deleted.begin(), c.deleted.end(), c.selected) != c.deleted.end();
        ui::TListItem* selected = list->Selected();
        if (selectedGone) {
            EXPECT_EQ(selected, nullptr);
        } else {
            ASSERT_NE(selected, nullptr);
            EXPECT_EQ(selected->SubItem(0), "r" + std::to_string(c.selected));
        }
        // Rows added afterwards land at the end, in the control as well.
        Fill(1);
        EXPECT_EQ(Names().back(), "r0");
    }
}

TEST_F(ListViewRowsTest, FindDataFollowsDataChangesAndSharedData) {
    // Rows 1 and 3 hold the same data: the first of them is found, then the other once it goes.
    Fill(5, {0, 1, 2, 1, 4});
    EXPECT_EQ(list->FindData(DataOf(1)), list->Item(1));
    list->Item(1)->Delete();
    EXPECT_EQ(list->FindData(DataOf(1)), list->Item(2));
    EXPECT_EQ(list->FindData(DataOf(1))->SubItem(0), "r3");
    // New data: found under it, not under the old.
    list->Item(0)->SetData(DataOf(9));
    EXPECT_EQ(list->FindData(DataOf(9)), list->Item(0));
    EXPECT_EQ(list->FindData(DataOf(0)), nullptr);
    list->Item(2)->Delete();
    EXPECT_EQ(list->FindData(DataOf(1)), nullptr);
    EXPECT_EQ(Names(), (std::vector<std::string>{"r0", "r2", "r4"}));
    list->Clear();
    EXPECT_EQ(list->FindData(DataOf(9)), nullptr);
}

}  // namespace
