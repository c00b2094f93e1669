#include "Main.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "Clipbrd.h"
#include "Folders.h"
#include "Info.h"
#include "Interface.h"
#include "ItemRules.h"
#include "ListRows.h"
#include "Mylabel.h"
#include "Plus.h"
#include "ProgramTexts.h"
#include "Qelregister.h"
#include "Reader.h"
#include "RowText.h"
#include "SanitizeFileName.h"
#include "ShellApi.h"
#include "SysUtils.h"
#include "ToolsDlg.h"

TForm1* Form1 = nullptr;

const char kHomePage[] = "http://www.tarvexa.com/ripplecast/";

namespace {

// Past this many changed rows in one tick the list is redrawn once, after the tick.
constexpr size_t kRowsRedrawnOneByOne = 8;

// At most `size` - 1 characters, as the fixed buffers of the commands hold.
std::string Bounded(std::string text, size_t size) {
    if (text.size() > size - 1) text.resize(size - 1);
    return text;
}

// A destination that no other item holds, by the engine's own insert rule (compared as the engine
// compares them: as Windows names files, and a destination's resume record taken by it); empty when
// the renamed path no longer fits the engine's field.
std::string FreeDestination(IFetchkeeper& manager, ItemHandle self, const std::string& path) {
    auto taken = [&](const std::string& candidate) {
        for (ItemHandle other = manager.GetFirstItem(); other; other = manager.GetNextItem(other)) {
            if (other == self) continue;
            DownItemInfo info{};
            if (manager.GetItemInfo(other, &info) && info.destFile && DestinationsClash(info.destFile, candidate))
                return true;
        }
        return false;
    };
    return UniqueDestination(FileSystemName(path), taken, kPathSize);
}

// The name and URL a new row of the item shows.
RowCells ItemCells(const DownItemInfo& info) {
    RowCells cells;
    cells.name = FileNamePart(info.destFile);
    cells.url = info.url ? info.url : "";
    return cells;
}

// The name and URL of a row, for the row that takes its place in another list.
RowCells RowCellsOf(const ui::TListItem& row, RowLayout layout) {
    RowCells cells;
    cells.name = row.SubItem(kNameCell);
    cells.url = row.SubItem(UrlCell(layout));
    return cells;
}

}  // namespace

void RegisterProgramClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    ui::RegisterComponentClass<TMyLabel>("TMyLabel");
    ui::RegisterComponentClass<TProgressPanel>("TProgressPanel");
    skin::RegisterSkinClasses();
}

TForm1::TForm1(ui::TComponent* owner) : ui::TForm(owner) {
    RegisterProgramClasses();
    Publish("FormCreate", &TForm1::FormCreate);
    Publish("FormCloseQuery", &TForm1::FormCloseQuery);
    Publish("FormClose", &TForm1::FormClose);
    Publish("Timer1Timer", &TForm1::Timer1Timer);
    Publish("ListDownClick", &TForm1::ListDownClick);
    Publish("ListDownSelectItem", &TForm1::ListDownSelectItem);
    Publish("pp_ChartResize", &TForm1::pp_ChartResize);
    Publish("TreeView1Change", &TForm1::TreeView1Change);
    Publish("btnExitClick", &TForm1::btnExitClick);
    Publish("About1Click", &TForm1::About1Click);
    Publish("btnDownClick", &TForm1::btnDownClick);
    Publish("pupCancelClick", &TForm1::pupCancelClick);
    Publish("btnAddClick", &TForm1::btnAddClick);
    Publish("pupDownAllClick", &TForm1::pupDownAllClick);
    Publish("pupCancelAllClick", &TForm1::pupCancelAllClick);
    Publish("pupDeleteClick", &TForm1::pupDeleteClick);
    Publish("pupClearClick", &TForm1::pupClearClick);
    Publish("pupDownAgainClick", &TForm1::pupDownAgainClick);
    Publish("pupOpenClick", &TForm1::pupOpenClick);
    Publish("pupPropertyClick", &TForm1::pupPropertyClick);
    Publish("ListDownMouseDown", &TForm1::ListDownMouseDown);
    Publish("ListDownedMouseDown", &TForm1::ListDownedMouseDown);
    Publish("ListDeletedMouseDown", &TForm1::ListDeletedMouseDown);
    Publish("ListDownKeyDown", &TForm1::ListDownKeyDown);
    Publish("ListDownedKeyDown", &TForm1::ListDownedKeyDown);
    Publish("ListDeletedKeyDown", &TForm1::ListDeletedKeyDown);
    Publish("ListDownedSelectItem", &TForm1::ListDownedSelectItem);
    Publish("CopyURL1Click", &TForm1::CopyURL1Click);
    Publish("SelectAll1Click", &TForm1::SelectAll1Click);
    Publish("OpenDestFilePath1Click", &TForm1::OpenDestFilePath1Click);
    Publish("Tools1Click", &TForm1::Tools1Click);
    Publish("btnHelpClick", &TForm1::btnHelpClick);
    Publish("btnHomeClick", &TForm1::btnHomeClick);
    Publish("pupNNMeasureItem", &TForm1::pupNNMeasureItem);
    Publish("pupNNDrawItem", &TForm1::pupNNDrawItem);
    Publish("MenuItem1DrawItem", &TForm1::MenuItem1DrawItem);
    Publish("MenuItem2DrawItem", &TForm1::MenuItem2DrawItem);
    Publish("N4DrawItem", &TForm1::N4DrawItem);
    // The settings path first: FormCreate, run at the end of the reading, loads the list with it.
    std::string path = std::string(ProgramDirectory()) + "\\" + "config.ini";
    std::strncpy(mainSettings_.settingsPath, path.c_str(), sizeof mainSettings_.settingsPath - 1);
    mainSettings_.logPosition = 0;
    InitFromResource("TFORM1");
}

TForm1::~TForm1() {
    Timer1->SetEnabled(false);
    // The windows go while this form's handlers can still take their last notifications.
    DestroyHandle();
    // A window closed by other means than its close box still hands the engine back.
    if (manager_) {
        manager_->Release();
        manager_ = nullptr;
    }
}

void TForm1::BindComponents() {
    using ui::FindAs;
    CoolBar1 = FindAs<ui::TCoolBar>(*this, "CoolBar1");
    ToolBar1 = FindAs<ui::TToolBar>(*this, "ToolBar1");
    ToolBar2 = FindAs<ui::TToolBar>(*this, "ToolBar2");
    btnDown = FindAs<ui::TToolButton>(*this, "btnDown");
    btnCancel = FindAs<ui::TToolButton>(*this, "btnCancel");
    btnAdd = FindAs<ui::TToolButton>(*this, "btnAdd");
    btnDelete = FindAs<ui::TToolButton>(*this, "btnDelete");
    btnDest = FindAs<ui::TToolButton>(*this, "btnDest");
    btnHelp = FindAs<ui::TToolButton>(*this, "btnHelp");
    btnHome = FindAs<ui::TToolButton>(*this, "btnHome");
    btnExit = FindAs<ui::TToolButton>(*this, "btnExit");
    TreeView1 = FindAs<ui::TTreeView>(*this, "TreeView1");
    Splitter1 = FindAs<ui::TSplitter>(*this, "Splitter1");
    Splitter2 = FindAs<ui::TSplitter>(*this, "Splitter2");
    Panel3 = FindAs<ui::TPanel>(*this, "Panel3");
    Panel4 = FindAs<ui::TPanel>(*this, "Panel4");
    ListDowned = FindAs<ui::TListView>(*this, "ListDowned");
    ListDown = FindAs<ui::TListView>(*this, "ListDown");
    ListDeleted = FindAs<ui::TListView>(*this, "ListDeleted");
    Page_Info = FindAs<ui::TPageControl>(*this, "Page_Info");
    sht_Chart = FindAs<ui::TTabSheet>(*this, "sht_Chart");
    sht_Log = FindAs<ui::TTabSheet>(*this, "sht_Log");
    pp_Chart = FindAs<TProgressPanel>(*this, "pp_Chart");
    Memo1 = FindAs<ui::TMemo>(*this, "Memo1");
    ImageList1 = FindAs<ui::TImageList>(*this, "ImageList1");
    ImageList2 = FindAs<ui::TImageList>(*this, "ImageList2");
    ImageList3 = FindAs<ui::TImageList>(*this, "ImageList3");
    ImageList4 = FindAs<ui::TImageList>(*this, "ImageList4");
    PopupMenu1 = FindAs<ui::TPopupMenu>(*this, "PopupMenu1");
    pupNN = FindAs<ui::TMenuItem>(*this, "pupNN");
    pupAdd = FindAs<ui::TMenuItem>(*this, "pupAdd");
    pupDelete = FindAs<ui::TMenuItem>(*this, "pupDelete");
    MenuItem1 = FindAs<ui::TMenuItem>(*this, "MenuItem1");
    pupClear = FindAs<ui::TMenuItem>(*this, "pupClear");
    MenuItem2 = FindAs<ui::TMenuItem>(*this, "MenuItem2");
    pupDown = FindAs<ui::TMenuItem>(*this, "pupDown");
    pupDownAll = FindAs<ui::TMenuItem>(*this, "pupDownAll");
    pupCancel = FindAs<ui::TMenuItem>(*this, "pupCancel");
    pupCancelAll = FindAs<ui::TMenuItem>(*this, "pupCancelAll");
    N4 = FindAs<ui::TMenuItem>(*this, "N4");
    pupDownAgain = FindAs<ui::TMenuItem>(*this, "pupDownAgain");
    pupOpen = FindAs<ui::TMenuItem>(*this, "pupOpen");
    pupProperty = FindAs<ui::TMenuItem>(*this, "pupProperty");
    qelMainMenu1 = FindAs<skin::TqelMainMenu>(*this, "qelMainMenu1");
    Timer1 = FindAs<ui::TTimer>(*this, "Timer1");
}

void TForm1::FormCreate(ui::TComponent*) {
    TreeView1->SetSelected(TreeView1->Root(0)->Item(static_cast<int>(TreeChild::Downloading)));
    manager_ = NEW_FETCHKEEPER();
    if (!manager_) {
        // The start-up check proved the library a moment ago; a second failure still must not
        // leave a window without an engine behind it.
        ui::ShowMessage(kBrokenLibrary);
        Timer1->SetEnabled(false);
        if (ui::Application) ui::Application->Terminate();
        return;
    }
    const char* path = mainSettings_.settingsPath;
    manager_->SetMaxThread(manager_->GetMaxThread(path));
    manager_->SetTimeOut(path, manager_->GetTimeOut(path));
    char server[kUrlSize] = {}, port[kPortTextSize] = {};
    uint8_t enabled = 0;
    manager_->GetProxy(path, server, port, &enabled);
    manager_->SetProxy(path, server, port, enabled);
    ListDown->SetDoubleBuffered(true);
    Memo1->SetDoubleBuffered(true);
    LoadLists();
    mainSettings_.lastShownRow = nullptr;
}

void TForm1::FormCloseQuery(ui::TComponent*, bool& canClose) {
    if (!manager_) return;
    if (AnyItemDownloading()) {
        ui::ShowMessage(kPauseFirst);
        canClose = false;
    }
}

void TForm1::FormClose(ui::TComponent*, ui::TCloseAction&) {
    Timer1->SetEnabled(false);
    if (manager_) manager_->SaveProject(mainSettings_.settingsPath);
    mainSettings_.lastShownRow = nullptr;
    ListDown->Clear();
    ListDowned->Clear();
    ListDeleted->Clear();
    if (manager_) {
        manager_->Release();
        manager_ = nullptr;
    }
}

void TForm1::AddRow(ItemHandle item, const DownItemInfo& info) {
    ui::TListView* list = ListFor(info.state);
    if (!list) return;
    RowCells cells = ItemCells(info);
    // A waiting, running or stopped item's row starts at "0%" and becomes the selected row; a failed
    // item's row shows no percentage.
    const bool queued = list == ListDown && info.state != DownFailed;
    if (queued) cells.percent = "0%";
    ui::TListItem* row = AddListRow(*list, LayoutOf(list), item, StateImage(info.state, kWaitingImage), cells);
    if (queued) row->SetSelected(true);
}

bool TForm1::IsListed(ItemHandle item) const {
    return FindRow(*ListDown, item) || FindRow(*ListDowned, item) || FindRow(*ListDeleted, item);
}

void TForm1::LoadLists() {
    manager_->LoadProject(mainSettings_.settingsPath);
    std::vector<ItemHandle> items;
    for (ItemHandle item = manager_->GetFirstItem(); item; item = manager_->GetNextItem(item)) items.push_back(item);
    // The file holds what was just loaded (a run saved as going on reads back as stopped).
    ListImage image;
    AddRows(items, &image);
    savedList_ = std::move(image);
}

TForm1::SavedItem TForm1::SavedItemOf(const DownItemInfo& info) {
    return SavedItem{info.url ? info.url : "", info.destFile ? info.destFile : "", info.state};
}

TForm1::ListImage TForm1::ImageOfList() {
    ListImage image;
    for (ItemHandle item = manager_->GetFirstItem(); item; item = manager_->GetNextItem(item)) {
        DownItemInfo info{};
        if (manager_->GetItemInfo(item, &info)) image.push_back(SavedItemOf(info));
    }
    return image;
}

void TForm1::SaveList() {
    if (manager_) SaveList(ImageOfList());
}

void TForm1::SaveList(ListImage image) {
    // The image is taken before the save: an item that changes meanwhile differs from it at the
    // next poll and is saved again, never missed.
    if (manager_->SaveProject(mainSettings_.settingsPath)) savedList_ = std::move(image);
    else savedList_.reset();  // tried again at the next poll
}

void TForm1::AddMissingRows() {
    std::vector<ItemHandle> missing;
    for (ItemHandle item = manager_->GetFirstItem(); item; item = manager_->GetNextItem(item)) {
        if (!IsListed(item)) missing.push_back(item);
    }
    AddRows(missing, nullptr);
}

void TForm1::AddRows(const std::vector<ItemHandle>& items, ListImage* image) {
    if (items.empty()) return;
    // Many rows at once (a loaded list, a long playlist) are shown together, not one repaint each.
    const int rows = static_cast<int>(items.size());
    for (ui::TListView* list : {ListDown, ListDowned, ListDeleted}) list->BeginUpdate(rows);
    for (ItemHandle item : items) {
        DownItemInfo info{};
        if (!manager_->GetItemInfo(item, &info)) continue;
        if (image) image->push_back(SavedItemOf(info));
        AddRow(item, info);
    }
    for (ui::TListView* list : {ListDown, ListDowned, ListDeleted}) list->EndUpdate();
}

void TForm1::Timer1Timer(ui::TComponent*) {
    if (!manager_) return;
    AddMissingRows();
    RefreshLists();
}

void TForm1::RefreshLists() {
    bool shown = false;
    // Which item is shown is a question to the list window: asked once a tick, not once an item.
    shownItem_ = ShownItem();
    // The list as the engine holds it now, against what the file holds: an item that finished,
    // failed, started, was renamed by its run or found in a playlist is saved within the tick.
    ListImage image;
    FinishedRows finished;
    std::vector<std::pair<ItemHandle, DownItemInfo>> changed;
    for (ItemHandle item = manager_->GetFirstItem(); item; item = manager_->GetNextItem(item)) {
        DownItemInfo info{};
        if (!manager_->GetItemInfo(item, &info)) continue;
        image.push_back(SavedItemOf(info));
        if (manager_->TakeItemChanged(item)) {
            if (info.state == DownFinished) {
                // Moved with the others at the end of the tick; from here on, as after the move of
                // a single row, ListDown has no selected row and nothing is shown.
                if (ui::TListItem* row = FindRow(*ListDown, item)) {
                    finished.push_back({row, item, ItemCells(info)});
                    shownItem_ = nullptr;
                }
            } else {
                changed.emplace_back(item, info);
            }
        }
        if (IsShownItem(item)) {
            ShowProgress(info);
            shown = true;
        }
    }
    if (!shown) {
        Memo1->Clear();
        mainSettings_.logPosition = 0;
    }
    // Many changed rows (after Begin All on a long list every row changes at once) are redrawn
    // together once the tick is done, not row by row; a few are redrawn where they are.
    const bool many = changed.size() > kRowsRedrawnOneByOne;
    if (many) ListDown->BeginUpdate(0);
    for (const auto& [item, info] : changed) UpdateRow(item, info);
    if (many) ListDown->EndUpdate();
    MoveFinishedRows(finished);
    if (!savedList_ || *savedList_ != image) SaveList(std::move(image));
}

void TForm1::MoveFinishedRows(const FinishedRows& finished) {
    if (finished.empty()) return;
    std::vector<ui::TListItem*> rows;
    for (const FinishedRow& move : finished) {
        if (mainSettings_.lastShownRow == move.row) mainSettings_.lastShownRow = nullptr;
        rows.push_back(move.row);
    }
    ListDown->DeleteItems(rows);
    ListDown->SetSelected(nullptr);
    mainSettings_.logPosition = 0;
    ListDowned->BeginUpdate(static_cast<int>(finished.size()));
    for (const FinishedRow& move : finished) AddListRow(*ListDowned, RowLayout::Plain, move.item, kFinishedImage, move.cells);
    ListDowned->EndUpdate();
}

void TForm1::UpdateRow(ItemHandle item, const DownItemInfo& info) {
    ui::TListItem* row = FindRow(*ListDown, item);
    if (!row) return;
    if (info.state == DownFinished) {
        MoveFinishedRows({{row, item, ItemCells(info)}});
        return;
    }
    // Redrawn even while the list is hidden: the change has been taken, and a row left stale
    // would show (and enable the buttons of) a state the item no longer has.
    row->SetImageIndex(StateImage(info.state == DownDeleted ? 0 : info.state, row->ImageIndex()));
    row->SetSubItem(kSizeCell, SizeCell(info.totalSize));
    row->SetSubItem(kDownloadedCell, GroupDigits(std::to_string(info.downloaded)));
    std::string percent;
    if (PercentCell(info.totalSize, info.downloaded, percent)) row->SetSubItem(kPercentCell, percent);
    row->SetSubItem(kNameCell, info.destFile ? info.destFile : "");
}

bool TForm1::IsShownItem(ItemHandle item) const { return item && item == shownItem_; }

ItemHandle TForm1::ShownItem() const {
    if (!ListDown->Visible()) return nullptr;
    ui::TListItem* selected = ListDown->Selected();
    return selected ? selected->Data() : nullptr;
}

void TForm1::ShowProgress(const DownItemInfo& info) {
    if (!info.logText) {
        mainSettings_.logPosition = 0;
        Memo1->Clear();
    } else {
        uint32_t from = static_cast<uint32_t>(mainSettings_.logPosition);
        if (from > info.logLength) from = info.logLength;  // a log that was started again
        mainSettings_.logPosition = static_cast<int32_t>(info.logLength);
        if (info.logText[from] != '\0') {
            Memo1->AddLine(WithoutLastLineBreak(info.logText + from, info.logLength - from));
        }
    }
    if (info.totalSize == 0) return;
    const ChartCounts cells = ChartCells(info.totalSize, info.downloaded);
    if (cells.total != pp_Chart->TotalCount()) pp_Chart->SetTotalCount(cells.total);
    pp_Chart->SetComedCount(cells.comed);
}

void TForm1::ShowItem(ui::TListItem* row) {
    mainSettings_.lastShownRow = row;
    DownItemInfo info{};
    manager_->GetItemInfo(row->Data(), &info);
    const bool running = row->ImageIndex() == kDownloadingImage;
    btnCancel->SetEnabled(running);
    btnDown->SetEnabled(!running);
    btnDelete->SetEnabled(!running);
    Memo1->Clear();
    Memo1->AddLine(WithoutLastLineBreak(info.logText, info.logText ? info.logLength : 0));
    mainSettings_.logPosition = static_cast<int32_t>(info.logLength);
    if (info.totalSize == 0) {
        pp_Chart->SetTotalCount(0);
        return;
    }
    const ChartCounts cells = ChartCells(info.totalSize, info.downloaded);
    pp_Chart->SetTotalCount(cells.total);
    pp_Chart->SetComedCount(cells.comed);
}

void TForm1::ListDownClick(ui::TComponent*) {
    if (!manager_) return;
    ui::TListItem* selected = ListDown->Selected();
    if (selected && selected != mainSettings_.lastShownRow) ShowItem(selected);
}

void TForm1::ListDownSelectItem(ui::TComponent*, ui::TListItem*, bool) { mainSettings_.logPosition = 0; }

void TForm1::pp_ChartResize(ui::TComponent*) { pp_Chart->ForResizeDo(); }

void TForm1::TreeView1Change(ui::TComponent*, ui::TTreeNode* node) {
    btnDown->SetEnabled(false);
    btnCancel->SetEnabled(false);
    btnDelete->SetEnabled(false);
    if (!node) return;
    ui::TListView* shown = ListOfNode(node);
    for (ui::TListView* list : {ListDown, ListDowned, ListDeleted}) list->SetVisible(list == shown);
}

ui::TListView* TForm1::ListOfNode(const ui::TTreeNode* node) const {
    if (!node) return nullptr;
    if (!node->Parent()) return ListDowned;
    switch (static_cast<TreeChild>(node->Index())) {
    case TreeChild::Downloading:
        return ListDown;
    case TreeChild::Downloaded:
        return ListDowned;
    default:
        return ListDeleted;
    }
}

void TForm1::btnExitClick(ui::TComponent*) { Close(); }

void TForm1::btnDownClick(ui::TComponent*) {
    ui::TListItem* row = ListDown->Selected();
    if (!manager_ || !row) return;
    // A running item gets no second run beside the first.
    if (StateOf(row->Data()) != DownDownloading) manager_->StartItem(row->Data());
    SaveList();
    // The buttons follow what the item does now: a start the engine refused leaves it stopped.
    const bool running = StateOf(row->Data()) == DownDownloading;
    btnDown->SetEnabled(!running);
    btnDelete->SetEnabled(!running);
    btnCancel->SetEnabled(running);
}

void TForm1::pupCancelClick(ui::TComponent*) {
    ui::TListItem* row = ListDown->Selected();
    if (!manager_ || !row) return;
    manager_->StopItem(row->Data());
    SaveList();
}

void TForm1::About1Click(ui::TComponent*) {
    if (AboutBox) AboutBox->ShowModal();
}

bool TForm1::FileNameFromUrl(const char* url, char* out) { return manager_ && manager_->FileNameFromUrl(url, out); }

std::string TForm1::UrlWithLogin(const std::string& url, const std::string& user, const std::string& password) {
    if (!manager_) return std::string();
    char out[kUrlSize] = {};
    manager_->UrlWithLogin(url.c_str(), user.c_str(), password.c_str(), out);
    out[sizeof out - 1] = '\0';
    return out;
}

int32_t TForm1::GetMaxThread() { return manager_ ? manager_->GetMaxThread(mainSettings_.settingsPath) : 0; }

int32_t TForm1::GetTimeOut() { return manager_ ? manager_->GetTimeOut(mainSettings_.settingsPath) : 0; }

bool TForm1::GetProxy(std::string& server, std::string& port, bool& enabled) {
    if (!manager_) return false;
    char serverText[kUrlSize] = {}, portText[kPortTextSize] = {};
    uint8_t on = 0;
    const bool ok = manager_->GetProxy(mainSettings_.settingsPath, serverText, portText, &on);
    server = serverText;
    port = portText;
    enabled = on != 0;
    return ok;
}

// ---- commands

int32_t TForm1::StateOf(ItemHandle item) {
    DownItemInfo info{};
    return manager_ && manager_->GetItemInfo(item, &info) ? info.state : 0;
}

ui::TListView* TForm1::VisibleList() const {
    if (ListDown->Visible()) return ListDown;
    if (ListDowned->Visible()) return ListDowned;
    return ListDeleted;
}

RowLayout TForm1::LayoutOf(const ui::TListView* list) const {
    return list == ListDown ? RowLayout::Progress : RowLayout::Plain;
}

bool TForm1::AnyItemDownloading() {
    for (ItemHandle item = manager_->GetFirstItem(); item; item = manager_->GetNextItem(item)) {
        if (StateOf(item) == DownDownloading) return true;
    }
    return false;
}

TfrmInfo& TForm1::InfoDialog(const char* caption, bool sendsLogin) {
    frmInfo->SetCaption(caption);
    // The dialog proposes a file name for a typed URL as the engine would name it.
    frmInfo->FileNameFromUrl = [this](const char* url, char* out) { return FileNameFromUrl(url, out); };
    frmInfo->UrlWithLogin = nullptr;
    if (sendsLogin) {
        frmInfo->UrlWithLogin = [this](const std::string& url, const std::string& user, const std::string& password) {
            return UrlWithLogin(url, user, password);
        };
    }
    frmInfo->edUser->SetText("");
    frmInfo->edPass->SetText("");
    return *frmInfo;
}

void TForm1::btnAddClick(ui::TComponent*) {
    if (!manager_ || !frmInfo) return;
    TfrmInfo& dialog = InfoDialog("NewDownloading", true);
    dialog.EditURL->SetText("");
    // Pasted as the edit pastes, so a text of several lines gives its first.
    if (HWND edit = dialog.EditURL->Handle()) SendMessageA(edit, WM_PASTE, 0, 0);
    dialog.EditURL->SetText(ui::Trim(dialog.EditURL->Text()));
    char folder[kPathSize] = {};
    manager_->GetDestPath(mainSettings_.settingsPath, folder);
    folder[sizeof folder - 1] = '\0';
    dialog.EditDest->SetText(folder[0] ? folder : kDefaultDestFolder);
    // The dialog has refused what the engine cannot hold; what the engine refuses all the same (a
    // name it would have to rename past its field, say) is said, and the dialog comes back as it
    // was left.
    while (dialog.ShowModal() == ui::mrOk) {
        const std::string url = dialog.EditURL->Text();
        const std::string dir = WithBackslash(dialog.EditDest->Text());
        const std::string name = SanitizeFileName(dialog.EditFileName->Text());
        const std::string withLogin =
            UrlWithLogin(url, ui::Trim(dialog.edUser->Text()), ui::Trim(dialog.edPass->Text()));
        // A name cleaned away to nothing would make the folder itself the destination.
        if (IsUsableFileName(name) && !withLogin.empty() &&
            manager_->AddItem(withLogin.c_str(), dir.c_str(), name.c_str())) {
            SaveList();
            return;
        }
        ui::ShowMessage(kInvalidInput);
    }
}

void TForm1::pupDownAllClick(ui::TComponent*) {
    if (!manager_) return;
    for (int i = 0; i < ListDown->ItemCount(); ++i) {
        ItemHandle item = ListDown->Item(i)->Data();
        if (StateOf(item) != DownDownloading) manager_->StartItem(item);
    }
    SaveList();
}

void TForm1::pupCancelAllClick(ui::TComponent*) {
    if (!manager_) return;
    for (int i = 0; i < ListDown->ItemCount(); ++i) manager_->StopItem(ListDown->Item(i)->Data());
    SaveList();
}

void TForm1::pupDeleteClick(ui::TComponent*) {
    ui::TListView* list = VisibleList();
    ui::TListItem* row = list->Selected();
    if (!manager_ || !row) return;
    ItemHandle item = row->Data();
    const RowCells cells = RowCellsOf(*row, LayoutOf(list));
    // The engine keeps a downloading item (and one whose stopped run still winds down); the row
    // stays with it, so no row ever stands for an item in another state.
    if (!manager_->RemoveItem(item)) {
        if (StateOf(item) == DownDownloading) ui::ShowMessage(kPauseFirst);
        return;
    }
    SaveList();
    if (mainSettings_.lastShownRow == row) mainSettings_.lastShownRow = nullptr;
    row->Delete();
    if (list != ListDeleted) AddListRow(*ListDeleted, RowLayout::Plain, item, kDeletedImage, cells);
    Memo1->Clear();
    btnDown->SetEnabled(false);
    btnDelete->SetEnabled(false);
}

void TForm1::pupClearClick(ui::TComponent*) {
    if (!manager_) return;
    if (ui::ShowMessageBox(Handle(), "You will delete all contain the downloading,downloaded and deleted downright!",
                           kWarningCaption, MB_ICONWARNING | MB_OKCANCEL) != IDOK)
        return;
    if (AnyItemDownloading()) {
        ui::ShowMessage(kPauseFirst);
        return;
    }
    mainSettings_.lastShownRow = nullptr;
    ListDown->Clear();
    ListDowned->Clear();
    ListDeleted->Clear();
    Memo1->Clear();
    manager_->RemoveAll();
    SaveList();
}

void TForm1::pupDownAgainClick(ui::TComponent*) {
    if (!manager_) return;
    ui::TListView* from = nullptr;
    if (ListDowned->Visible() && ListDowned->Selected()) from = ListDowned;
    else if (ListDeleted->Visible() && ListDeleted->Selected()) from = ListDeleted;
    if (!from) return;
    ui::TListItem* row = from->Selected();
    ItemHandle item = row->Data();
    RowCells cells = RowCellsOf(*row, RowLayout::Plain);
    if (StateOf(item) != DownDownloading) manager_->StartItem(item);
    SaveList();
    // The row goes where the item's state after the start belongs: a start the engine refused (a
    // stopped run still winding down) leaves it, and a run that has failed already, or finished,
    // is filed as such.
    const int32_t state = StateOf(item);
    ui::TListView* to = ListFor(state);
    if (!to || to == from) return;
    if (to == ListDown) {
        cells.size = "0";
        cells.downloaded = "0";
        cells.percent = "0%";
    }
    AddListRow(*to, LayoutOf(to), item, StateImage(state, kDownloadingImage), cells);
    row->Delete();
}

ui::TListView* TForm1::ListFor(int32_t state) const {
    switch (state) {
    case DownWaiting:
    case DownDownloading:
    case DownStopped:
    case DownFailed:
        return ListDown;
    case DownFinished:
        return ListDowned;
    case DownDeleted:
        return ListDeleted;
    default:
        return nullptr;
    }
}

void TForm1::pupOpenClick(ui::TComponent*) {
    ui::TListItem* row = ListDowned->Selected();
    if (!manager_ || !row) return;
    char path[kPathSize] = {};
    manager_->GetItemDestFile(row->Data(), path);
    path[sizeof path - 1] = '\0';
    // A RealMedia stream may have been written under the stream's own extension.
    if (ui::ShellOpen(Handle(), path) <= 32) ui::ShellOpen(Handle(), std::string(path) + ".rm");
}

void TForm1::pupPropertyClick(ui::TComponent*) {
    ui::TListView* list = VisibleList();
    ui::TListItem* row = list->Selected();
    if (!manager_ || !frmInfo || !row) return;
    ItemHandle item = row->Data();
    DownItemInfo info{};
    if (!manager_->GetItemInfo(item, &info)) return;
    if (info.state == DownDownloading) {
        ui::ShowMessage(kPauseFirst);
        return;
    }
    char dir[kPathSize] = {}, name[kPathSize] = {};
    SplitPath(info.destFile ? info.destFile : "", dir, name);
    dir[sizeof dir - 1] = '\0';
    TfrmInfo& dialog = InfoDialog("Property", false);
    dialog.EditURL->SetText(info.url ? info.url : "");
    dialog.EditDest->SetText(dir);
    dialog.EditFileName->SetText(name);
    if (dialog.ShowModal() != ui::mrOk) return;

    // The timer kept running while the dialog was open: the item may have started since.
    if (StateOf(item) == DownDownloading) {
        ui::ShowMessage(kPauseFirst);
        return;
    }
    // Whole, as the dialog let them through: it refuses what the engine's fields cannot hold.
    const std::string url = dialog.EditURL->Text();
    const std::string newName = SanitizeFileName(dialog.EditFileName->Text());
    if (!IsUsableFileName(newName)) {
        ui::ShowMessage(kInvalidInput);
        return;
    }
    const std::string folder = WithBackslash(dialog.EditDest->Text());
    // Two items never write one file: a clash is renamed as the engine renames one on insertion.
    const std::string path = FreeDestination(*manager_, item, folder + newName);
    if (path.empty()) {
        ui::ShowMessage(kPathTooLong);
        return;
    }
    if (!manager_->SetItemUrl(item, url.c_str(), path.c_str())) {
        // The engine keeps the URL of an item whose run goes on: one the scheduler started after
        // the check above, or a stopped one still ending.
        const int32_t state = StateOf(item);
        ui::ShowMessage(state == DownDownloading || state == DownStopped ? kPauseFirst : kInvalidInput);
        return;
    }
    SaveList();
    // The row may have moved while the dialog was open (a finished item, say): look it up again.
    for (ui::TListView* in : {ListDown, ListDowned, ListDeleted}) {
        if (ui::TListItem* current = FindRow(*in, item)) {
            current->SetSubItem(kNameCell, FileNamePart(path.c_str()));
            current->SetSubItem(UrlCell(LayoutOf(in)), url);
            return;
        }
    }
}

void TForm1::ShowPopup() {
    POINT at{};
    GetCursorPos(&at);
    if (PopupAt) PopupAt(PopupMenu1, at.x, at.y);
    else PopupMenu1->Popup(at.x, at.y);
}

void TForm1::ListDownMouseDown(ui::TComponent*, ui::TMouseButton button, ui::TShiftState, int x, int y) {
    if (button != ui::TMouseButton::Right) return;
    for (ui::TMenuItem* item : {pupDelete, pupDown, pupCancel, pupProperty, pupOpen, pupDownAgain}) item->SetEnabled(false);
    pupDownAll->SetEnabled(true);
    pupCancelAll->SetEnabled(true);
    ui::TListItem* selected = ListDown->Selected();
    if (ListDown->ItemAt(x, y) && selected) {
        const bool running = StateOf(selected->Data()) == DownDownloading;
        pupCancel->SetEnabled(running);
        pupDelete->SetEnabled(!running);
        pupDown->SetEnabled(!running);
        pupProperty->SetEnabled(!running);
    }
    ShowPopup();
}

void TForm1::ListDownedMouseDown(ui::TComponent* sender, ui::TMouseButton button, ui::TShiftState, int x, int y) {
    if (button != ui::TMouseButton::Right) return;
    for (ui::TMenuItem* item :
         {pupDelete, pupDown, pupCancel, pupDownAll, pupCancelAll, pupDownAgain, pupProperty, pupOpen})
        item->SetEnabled(false);
    auto* list = sender == ListDeleted ? ListDeleted : ListDowned;
    if (list->ItemAt(x, y)) {
        pupDownAgain->SetEnabled(true);
        pupDelete->SetEnabled(true);
        pupProperty->SetEnabled(true);
        // Only under "Downloaded": the root shows the same list but does not offer opening.
        const ui::TTreeNode* node = TreeView1->Selected();
        if (list == ListDowned && node && node->Parent() &&
            static_cast<TreeChild>(node->Index()) == TreeChild::Downloaded)
            pupOpen->SetEnabled(true);
    }
    ShowPopup();
}

void TForm1::ListDeletedMouseDown(ui::TComponent*, ui::TMouseButton button, ui::TShiftState shift, int x, int y) {
    ListDownedMouseDown(ListDeleted, button, shift, x, y);
}

void TForm1::ListDownKeyDown(ui::TComponent*, WORD& key, ui::TShiftState) {
    // The key stands for the popup's Delete, and is refused while a right-click has disabled it.
    if (key == VK_DELETE && pupDelete->Enabled()) pupDeleteClick(pupDelete);
}

void TForm1::ListDownedKeyDown(ui::TComponent* sender, WORD& key, ui::TShiftState shift) {
    ListDownKeyDown(sender, key, shift);
}

void TForm1::ListDeletedKeyDown(ui::TComponent* sender, WORD& key, ui::TShiftState shift) {
    ListDownKeyDown(sender, key, shift);
}

void TForm1::ListDownedSelectItem(ui::TComponent*, ui::TListItem* item, bool) {
    if (!item || !item->Data()) return;
    Memo1->Clear();
    btnDelete->SetEnabled(true);
    pp_Chart->SetTotalCount(0);
}

void TForm1::CopyURL1Click(ui::TComponent*) {
    ui::TListView* list = VisibleList();
    ui::TListItem* row = list->Selected();
    const int cell = UrlCell(LayoutOf(list));
    if (row && row->SubItemCount() > cell) ui::SetClipboardText(row->SubItem(cell));
}

void TForm1::SelectAll1Click(ui::TComponent*) {
    if (ListDown->Visible()) ListDown->SelectAll();
    else if (ListDeleted->Visible()) ListDeleted->SelectAll();
    else ListDowned->SelectAll();
}

void TForm1::OpenDestFilePath1Click(ui::TComponent*) {
    char stored[kPathSize] = {};
    if (manager_) manager_->GetDestPath(mainSettings_.settingsPath, stored);
    stored[sizeof stored - 1] = '\0';
    ui::ShellOpen(nullptr, stored[0] ? std::string(stored) : ProgramDownloadFolder());
}

void TForm1::Tools1Click(ui::TComponent*) {
    if (!manager_ || !ToolsDlg) return;
    // The dialog shows the settings this window's manager keeps.
    ToolsDlg->Manager = manager_;
    ToolsDlg->SettingsPath = mainSettings_.settingsPath;
    if (ToolsDlg->ShowModal() != ui::mrOk) return;
    // Every field is checked before the first is applied, so the settings are never half saved.
    if (!ToolsDlg->ApplyTo(*manager_, mainSettings_.settingsPath)) ui::ShowMessage(kInvalidInput);
}

void TForm1::btnHelpClick(ui::TComponent*) {
    ui::ShellOpen(nullptr, Bounded(std::string(ProgramDirectory()) + "\\Ripplecast.chm", kPathSize));
}

void TForm1::btnHomeClick(ui::TComponent*) { ui::ShellOpen(nullptr, kHomePage); }

// ---- the popup's side bar and separators

void TForm1::pupNNMeasureItem(ui::TComponent*, ui::TCanvas*, int& width, int& height) {
    // As tall as the ordinary items and separators of the second column beside it.
    width = 5;
    height = (PopupMenu1->Items()->Count() - 4) * height + 24;
}

void TForm1::pupNNDrawItem(ui::TComponent*, ui::TCanvas* canvas, ui::TRect rect, bool) {
    const int h = rect.Height(), w = rect.Width();
    int i = h / 255;
    canvas->Brush.Style = ui::TBrushStyle::Solid;
    // From pale yellow at the bottom up toward blue.
    for (int y = h - 1; y >= 0; --y) {
        const int c = 255 - i;
        canvas->Brush.Color = 0x9B0000 + c * 0x101;
        canvas->FillRect(ui::TRect{0, y, w, y + 1});
        if (i < 255) ++i;
    }
    canvas->Brush.Style = ui::TBrushStyle::Clear;
    canvas->Font.SetSize(10);
    canvas->Font.Color = 0x000EFE;
    canvas->Font.Escapement = 900;  // the text runs upwards
    canvas->Font.Changed();
    canvas->TextOut(rect.Left + 1, rect.Bottom - 3, kProductName);
}

void TForm1::DrawSeparator(ui::TCanvas& canvas, const ui::TRect& rect) {
    canvas.Pen.Color = ui::clBlack;
    canvas.MoveTo(rect.Left, rect.Top + 2);
    canvas.LineTo(rect.Right, rect.Top + 2);
    canvas.Pen.Color = ui::clWhite;
    canvas.MoveTo(rect.Left, rect.Top + 3);
    canvas.LineTo(rect.Right, rect.Top + 3);
}

void TForm1::MenuItem1DrawItem(ui::TComponent*, ui::TCanvas* canvas, ui::TRect rect, bool) {
    DrawSeparator(*canvas, rect);
}

void TForm1::MenuItem2DrawItem(ui::TComponent*, ui::TCanvas* canvas, ui::TRect rect, bool) {
    DrawSeparator(*canvas, rect);
}

void TForm1::N4DrawItem(ui::TComponent*, ui::TCanvas* canvas, ui::TRect rect, bool) { DrawSeparator(*canvas, rect); }
