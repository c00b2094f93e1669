// The main window: the download list in three list views (in progress, finished, deleted), the
// category tree that picks the visible list, and the selected item's log and block chart, all
// refreshed from the engine once a second.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ComCtrls.h"
#include "Forms.h"
#include "IFetchkeeper.h"
#include "ImgList.h"
#include "ListRows.h"
#include "Menus.h"
#include "Progresspanel.h"
#include "Qelmainmenu.h"
#include "StdCtrls.h"

class TfrmInfo;

// The category tree: the root shows the finished list; under it one node per list, in this order.
enum class TreeChild { Downloading = 0, Downloaded = 1, Deleted = 2 };

struct MainSettings {
    char settingsPath[kPathSize];   // the settings file every settings and list operation is given
    int32_t logPosition;            // bytes of the shown item's log already in Memo1
    ui::TListItem* lastShownRow;    // the ListDown row ShowItem showed last
};

class TForm1 : public ui::TForm {
public:
    explicit TForm1(ui::TComponent* owner);
    ~TForm1() override;

    // Components, as the form's description names them.
    ui::TCoolBar* CoolBar1;
    ui::TToolBar *ToolBar1, *ToolBar2;
    ui::TToolButton *btnDown, *btnCancel, *btnAdd, *btnDelete, *btnDest, *btnHelp, *btnHome, *btnExit;
    ui::TTreeView* TreeView1;
    ui::TSplitter *Splitter1, *Splitter2;
    ui::TPanel *Panel3, *Panel4;
    ui::TListView *ListDowned, *ListDown, *ListDeleted;
    ui::TPageControl* Page_Info;
    ui::TTabSheet *sht_Chart, *sht_Log;
    TProgressPanel* pp_Chart;
    ui::TMemo* Memo1;
    ui::TImageList *ImageList1, *ImageList2, *ImageList3, *ImageList4;
    ui::TPopupMenu* PopupMenu1;
    ui::TMenuItem *pupNN, *pupAdd, *pupDelete, *MenuItem1, *pupClear, *MenuItem2, *pupDown, *pupDownAll, *pupCancel,
        *pupCancelAll, *N4, *pupDownAgain, *pupOpen, *pupProperty;
    skin::TqelMainMenu* qelMainMenu1;
    ui::TTimer* Timer1;

    // Event handlers.
    void FormCreate(ui::TComponent* sender);
    void FormCloseQuery(ui::TComponent* sender, bool& canClose);
    void FormClose(ui::TComponent* sender, ui::TCloseAction& action);
    void Timer1Timer(ui::TComponent* sender);
    void ListDownClick(ui::TComponent* sender);
    void ListDownSelectItem(ui::TComponent* sender, ui::TListItem* item, bool selected);
    void pp_ChartResize(ui::TComponent* sender);
    void TreeView1Change(ui::TComponent* sender, ui::TTreeNode* node);
    void btnExitClick(ui::TComponent* sender);
    void btnDownClick(ui::TComponent* sender);
    void pupCancelClick(ui::TComponent* sender);
    void About1Click(ui::TComponent* sender);
    void btnAddClick(ui::TComponent* sender);
    void pupDownAllClick(ui::TComponent* sender);
    void pupCancelAllClick(ui::TComponent* sender);
    void pupDeleteClick(ui::TComponent* sender);
    void pupClearClick(ui::TComponent* sender);
    void pupDownAgainClick(ui::TComponent* sender);
    void pupOpenClick(ui::TComponent* sender);
    void pupPropertyClick(ui::TComponent* sender);
    void ListDownMouseDown(ui::TComponent* sender, ui::TMouseButton button, ui::TShiftState shift, int x, int y);
    void ListDownedMouseDown(ui::TComponent* sender, ui::TMouseButton button, ui::TShiftState shift, int x, int y);
    void ListDeletedMouseDown(ui::TComponent* sender, ui::TMouseButton button, ui::TShiftState shift, int x, int y);
    void ListDownKeyDown(ui::TComponent* sender, WORD& key, ui::TShiftState shift);
    void ListDownedKeyDown(ui::TComponent* sender, WORD& key, ui::TShiftState shift);
    void ListDeletedKeyDown(ui::TComponent* sender, WORD& key, ui::TShiftState shift);
    void ListDownedSelectItem(ui::TComponent* sender, ui::TListItem* item, bool selected);
    void CopyURL1Click(ui::TComponent* sender);
    void SelectAll1Click(ui::TComponent* sender);
    void OpenDestFilePath1Click(ui::TComponent* sender);
    void Tools1Click(ui::TComponent* sender);
    void btnHelpClick(ui::TComponent* sender);
    void btnHomeClick(ui::TComponent* sender);
    void pupNNMeasureItem(ui::TComponent* sender, ui::TCanvas* canvas, int& width, int& height);
    void pupNNDrawItem(ui::TComponent* sender, ui::TCanvas* canvas, ui::TRect rect, bool selected);
    void MenuItem1DrawItem(ui::TComponent* sender, ui::TCanvas* canvas, ui::TRect rect, bool selected);
    void MenuItem2DrawItem(ui::TComponent* sender, ui::TCanvas* canvas, ui::TRect rect, bool selected);
    void N4DrawItem(ui::TComponent* sender, ui::TCanvas* canvas, ui::TRect rect, bool selected);

    // Rows and the poll.
    void AddRow(ItemHandle item, const DownItemInfo& info);
    bool IsListed(ItemHandle item) const;
    void LoadLists();
    void AddMissingRows();
    void RefreshLists();
    void UpdateRow(ItemHandle item, const DownItemInfo& info);
    // Whether item is the shown one as the refresh found it (ShownItem): the refresh asks the list
    // once a tick, and the move of a finished row leaves nothing shown.
    bool IsShownItem(ItemHandle item) const;
    // The item of the selected ListDown row while ListDown is visible; null otherwise.
    ItemHandle ShownItem() const;
    void ShowProgress(const DownItemInfo& info);
    void ShowItem(ui::TListItem* row);

    // Writes the download list to the settings file now, so that a program killed a moment later
    // still finds it as it is; the poll calls it whenever an item's name, URL or state has moved
    // away from what was last written.
    void SaveList();

    // Settings readers, forwarded to the manager with the settings path.
    bool FileNameFromUrl(const char* url, char* out);
    // The URL with the login folded in, as the engine gives it: empty when it would not fit.
    std::string UrlWithLogin(const std::string& url, const std::string& user, const std::string& password);
    int32_t GetMaxThread();
    int32_t GetTimeOut();
    bool GetProxy(std::string& server, std::string& port, bool& enabled);

    // The list the tree shows.
    ui::TListView* VisibleList() const;

    // Where the lists' popup menu is shown; the menu's own popup unless another is put here.
    std::function<void(ui::TPopupMenu* menu, int x, int y)> PopupAt;

    IFetchkeeper* Manager() const { return manager_; }
    MainSettings& Settings() { return mainSettings_; }

protected:
    void BindComponents() override;

private:
    // Item state now, from the engine; 0 when the item is unknown.
    int32_t StateOf(ItemHandle item);
    // Asks the engine's items, not the rows: an item may run before its row exists.
    bool AnyItemDownloading();
    RowLayout LayoutOf(const ui::TListView* list) const;
    // The add and properties dialog under `caption`, handed what it asks this window for, with the
    // login fields empty; `sendsLogin` when the command folds the login into the URL.
    TfrmInfo& InfoDialog(const char* caption, bool sendsLogin);
    // The list where a row of an item in `state` belongs; null for a state that has no row.
    ui::TListView* ListFor(int32_t state) const;
    // The list a node of the category tree shows; null for no node.
    ui::TListView* ListOfNode(const ui::TTreeNode* node) const;
    void ShowPopup();
    void DrawSeparator(ui::TCanvas& canvas, const ui::TRect& rect);

    // A finished item's ListDown row, and what its row in ListDowned shows.
    struct FinishedRow {
        ui::TListItem* row;
        ItemHandle item;
        RowCells cells;
    };
    using FinishedRows = std::vector<FinishedRow>;
    // Moves the rows to ListDowned in one pass over ListDown, in the order given; ListDown is left
    // without a selected row.
    void MoveFinishedRows(const FinishedRows& finished);

    // What the saved list holds per item, in list order.
    struct SavedItem {
        std::string url, destFile;
        int32_t state;
        bool operator==(const SavedItem& other) const {
            return state == other.state && url == other.url && destFile == other.destFile;
        }
    };
    using ListImage = std::vector<SavedItem>;
    static SavedItem SavedItemOf(const DownItemInfo& info);
    ListImage ImageOfList();
    // Rows for `items`, in that order, added to the lists in one go; what the saved list holds of
    // them into `image` when one is given.
    void AddRows(const std::vector<ItemHandle>& items, ListImage* image);
    void SaveList(ListImage image);

    IFetchkeeper* manager_ = nullptr;
    MainSettings mainSettings_{};
    // The list as the last save wrote it; none when it is not known (a save that failed).
    std::optional<ListImage> savedList_;
    ItemHandle shownItem_ = nullptr;  // what the refresh found shown (IsShownItem)
};

extern TForm1* Form1;

// Registers the program's own component classes with the form reader.
void RegisterProgramClasses();

// The product's home page, opened by the home command.
extern const char kHomePage[];
