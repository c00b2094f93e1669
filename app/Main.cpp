#include "Main.h"

#include <cstring>
#include <string>

#include "Interface.h"
#include "Mylabel.h"
#include "Plus.h"
#include "Reader.h"
#include "RowText.h"

TForm1* Form1 = nullptr;

namespace {

// State images of ImageList3, by item state.
int StateImage(int32_t state, int keep) {
    switch (state) {
    case DownWaiting:
    case DownStopped:
        return 3;
    case DownDownloading:
        return 1;
    case DownFinished:
        return 2;
    case DownFailed:
        return 4;
    case DownDeleted:
        return 5;
    default:
        return keep;
    }
}

ui::TListItem* FindRow(const ui::TListView& list, ItemHandle item) {
    for (int i = 0; i < list.ItemCount(); ++i) {
        if (list.Item(i)->Data() == item) return list.Item(i);
    }
    return nullptr;
}

}  // namespace

void RegisterProgramClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    ui::RegisterComponentClass<TMyLabel>("TMyLabel");
    ui::RegisterComponentClass<TProgressPanel>("TProgressPanel");
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
    qelMainMenu1 = FindAs<ui::TMainMenu>(*this, "qelMainMenu1");
    Timer1 = FindAs<ui::TTimer>(*this, "Timer1");
}

void TForm1::FormCreate(ui::TComponent*) {
    TreeView1->SetSelected(TreeView1->NodeAt(1));
    manager_ = NEW_FETCHKEEPER();
    if (!manager_) {
        // The start-up check proved the library a moment ago; a second failure still must not
        // leave a window without an engine behind it.
        ui::ShowMessage("The dll file is broken!");
        Timer1->SetEnabled(false);
        if (ui::Application) ui::Application->Terminate();
        return;
    }
    const char* path = mainSettings_.settingsPath;
    manager_->SetMaxThread(manager_->GetMaxThread(path));
    manager_->SetTimeOut(path, manager_->GetTimeOut(path));
    char server[1024] = {}, port[64] = {};
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
    // The engine's items, not the rows: an item may be running before its row exists.
    for (ItemHandle item = manager_->GetFirstItem(); item; item = manager_->GetNextItem(item)) {
        DownItemInfo info{};
        if (manager_->GetItemInfo(item, &info) && info.state == DownDownloading) {
            ui::ShowMessage("Pause the downloading first!");
            canClose = false;
            return;
        }
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
    const std::string name = FileNamePart(info.destFile);
    const std::string url = info.url ? info.url : "";
    ui::TListItem* row = nullptr;
    switch (info.state) {
    case DownWaiting:
    case DownDownloading:
    case DownStopped:
        row = ListDown->AddItem();
        row->SetData(item);
        row->SetImageIndex(StateImage(info.state, 3));
        for (const std::string& cell : {name, std::string(), std::string(), std::string("0%"), url}) row->AddSubItem(cell);
        row->SetSelected(true);
        break;
    case DownFailed:
        row = ListDown->AddItem();
        row->SetData(item);
        row->SetImageIndex(4);
        for (const std::string& cell : {name, std::string(), std::string(), std::string(), url}) row->AddSubItem(cell);
        break;
    case DownFinished:
    case DownDeleted: {
        ui::TListView* list = info.state == DownFinished ? ListDowned : ListDeleted;
        row = list->AddItem();
        row->SetData(item);
        row->SetImageIndex(StateImage(info.state, 2));
        for (const std::string& cell : {name, std::string(), url}) row->AddSubItem(cell);
        break;
    }
    default:
        break;
    }
}

bool TForm1::IsListed(ItemHandle item) const {
    return FindRow(*ListDown, item) || FindRow(*ListDowned, item) || FindRow(*ListDeleted, item);
}

void TForm1::LoadLists() {
    manager_->LoadProject(mainSettings_.settingsPath);
    for (ItemHandle item = manager_->GetFirstItem(); item; item = manager_->GetNextItem(item)) {
        DownItemInfo info{};
        if (manager_->GetItemInfo(item, &info)) AddRow(item, info);
    }
}

void TForm1::AddMissingRows() {
    for (ItemHandle item = manager_->GetFirstItem(); item; item = manager_->GetNextItem(item)) {
        if (IsListed(item)) continue;
        DownItemInfo info{};
        if (manager_->GetItemInfo(item, &info)) AddRow(item, info);
    }
}

void TForm1::Timer1Timer(ui::TComponent*) {
    if (!manager_) return;
    AddMissingRows();
    RefreshLists();
}

void TForm1::RefreshLists() {
    bool shown = false;
    for (ItemHandle item = manager_->GetFirstItem(); item; item = manager_->GetNextItem(item)) {
        DownItemInfo info{};
        if (!manager_->GetItemInfo(item, &info)) continue;
        if (manager_->TakeItemChanged(item)) UpdateRow(item, info);
        if (IsShownItem(item)) {
            ShowProgress(info);
            shown = true;
        }
    }
    if (!shown) {
        Memo1->Clear();
        mainSettings_.logPosition = 0;
    }
}

void TForm1::UpdateRow(ItemHandle item, const DownItemInfo& info) {
    ui::TListItem* row = FindRow(*ListDown, item);
    if (!row) return;
    if (info.state == DownFinished) {
        if (mainSettings_.lastShownRow == row) mainSettings_.lastShownRow = nullptr;
        row->Delete();
        ListDown->SetSelected(nullptr);
        mainSettings_.logPosition = 0;
        ui::TListItem* done = ListDowned->AddItem();
        done->SetData(item);
        done->SetImageIndex(2);
        done->SetCaption("");
        for (const std::string& cell : {FileNamePart(info.destFile), std::string(), std::string(info.url ? info.url : "")})
            done->AddSubItem(cell);
        return;
    }
    // Redrawn even while the list is hidden: the change has been taken, and a row left stale
    // would show (and enable the buttons of) a state the item no longer has.
    row->SetImageIndex(StateImage(info.state == DownDeleted ? 0 : info.state, row->ImageIndex()));
    row->SetSubItem(1, SizeCell(info.totalSize));
    row->SetSubItem(2, GroupDigits(std::to_string(info.downloaded)));
    std::string percent;
    if (PercentCell(info.totalSize, info.downloaded, percent)) row->SetSubItem(3, percent);
    row->SetSubItem(0, info.destFile ? info.destFile : "");
}

bool TForm1::IsShownItem(ItemHandle item) const {
    if (!ListDown->Visible()) return false;
    ui::TListItem* selected = ListDown->Selected();
    return selected && selected->Data() == item;
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
    const bool running = row->ImageIndex() == 1;
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
    ui::TListView* shown = ListDowned;
    if (node->Parent()) {
        const int index = node->Index();
        shown = index == 0 ? ListDown : index == 1 ? ListDowned : ListDeleted;
    }
    for (ui::TListView* list : {ListDown, ListDowned, ListDeleted}) list->SetVisible(list == shown);
}

void TForm1::btnExitClick(ui::TComponent*) { Close(); }

void TForm1::btnDownClick(ui::TComponent*) {
    ui::TListItem* row = ListDown->Selected();
    if (!manager_ || !row) return;
    manager_->StartItem(row->Data());
    btnDown->SetEnabled(false);
    btnDelete->SetEnabled(false);
    btnCancel->SetEnabled(true);
}

void TForm1::pupCancelClick(ui::TComponent*) {
    ui::TListItem* row = ListDown->Selected();
    if (manager_ && row) manager_->StopItem(row->Data());
}

void TForm1::About1Click(ui::TComponent*) {
    if (AboutBox) AboutBox->ShowModal();
}

bool TForm1::FileNameFromUrl(const char* url, char* out) { return manager_ && manager_->FileNameFromUrl(url, out); }

bool TForm1::GetDestPath(char* out) { return manager_ && manager_->GetDestPath(mainSettings_.settingsPath, out); }

int32_t TForm1::GetMaxThread() { return manager_ ? manager_->GetMaxThread(mainSettings_.settingsPath) : 0; }

int32_t TForm1::GetTimeOut() { return manager_ ? manager_->GetTimeOut(mainSettings_.settingsPath) : 0; }

bool TForm1::GetProxy(std::string& server, std::string& port, bool& enabled) {
    if (!manager_) return false;
    char serverText[1024] = {}, portText[64] = {};
    uint8_t on = 0;
    const bool ok = manager_->GetProxy(mainSettings_.settingsPath, serverText, portText, &on);
    server = serverText;
    port = portText;
    enabled = on != 0;
    return ok;
}
