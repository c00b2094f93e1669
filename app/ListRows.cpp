#include "ListRows.h"

// The URL comes last, after the cells of its layout.
int UrlCell(RowLayout layout) { return layout == RowLayout::Progress ? kPercentCell + 1 : kSizeCell + 1; }

int StateImage(int32_t state, int keep) {
    switch (state) {
    case DownWaiting:
    case DownStopped:
        return kWaitingImage;
    case DownDownloading:
        return kDownloadingImage;
    case DownFinished:
        return kFinishedImage;
    case DownFailed:
        return kFailedImage;
    case DownDeleted:
        return kDeletedImage;
    default:
        return keep;
    }
}

ui::TListItem* AddListRow(ui::TListView& list, RowLayout layout, ItemHandle item, int image, const RowCells& cells) {
    ui::TListItem* row = list.AddItem();
    row->SetData(item);
    row->SetImageIndex(image);
    row->AddSubItem(cells.name);
    row->AddSubItem(cells.size);
    if (layout == RowLayout::Progress) {
        row->AddSubItem(cells.downloaded);
        row->AddSubItem(cells.percent);
    }
    row->AddSubItem(cells.url);
    return row;
}

ui::TListItem* FindRow(const ui::TListView& list, ItemHandle item) { return list.FindData(item); }
