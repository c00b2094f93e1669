// The rows of the main window's three lists: what each cell holds, which picture stands for which
// item state, and the one routine that adds a row.
#pragma once
#include <cstdint>
#include <string>

#include "ComCtrls.h"
#include "IFetchkeeper.h"

// ListDown shows an item's progress; ListDowned and ListDeleted only its name, size and URL.
enum class RowLayout { Progress, Plain };

// The cells (sub-items) of a row; the caption stays empty under the state picture.
constexpr int kNameCell = 0;
constexpr int kSizeCell = 1;
constexpr int kDownloadedCell = 2;  // progress rows only
constexpr int kPercentCell = 3;     // progress rows only
int UrlCell(RowLayout layout);

// The pictures of ImageList3.
constexpr int kDownloadingImage = 1;
constexpr int kFinishedImage = 2;
constexpr int kWaitingImage = 3;  // waiting and stopped
constexpr int kFailedImage = 4;
constexpr int kDeletedImage = 5;

// The picture of an item state; `keep` for a state that has none.
int StateImage(int32_t state, int keep);

// What a new row shows; a plain row has no downloaded and percent cells.
struct RowCells {
    std::string name, size, downloaded, percent, url;
};

// Adds the item's row at the end of `list`.
ui::TListItem* AddListRow(ui::TListView& list, RowLayout layout, ItemHandle item, int image, const RowCells& cells);

// The row of `item` in `list`, or null.
ui::TListItem* FindRow(const ui::TListView& list, ItemHandle item);
