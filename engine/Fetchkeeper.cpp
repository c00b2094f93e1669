#include "Fetchkeeper.h"

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "EngineLock.h"
#include "EngineSettings.h"
#include "Factories.h"
#include "ItemRules.h"
#include "PrjMng.h"
#include "TextCopy.h"
#include "TextNumbers.h"
#include "UrlModel.h"
#include "sys/FileSystem.h"

namespace {

using StorePtr = EnginePtr<CPrjMng>;

StorePtr OpenStore(const char* iniPath) {
    // A path the store's field cannot hold would be cut and name another file.
    if (!iniPath || std::strlen(iniPath) >= kPathSize) return StorePtr();
    StorePtr store(static_cast<CPrjMng*>(NEW_PRJMNG()));
    if (store) store->SetFile(iniPath);
    return store;
}

// A URL with a line break would inject lines into config.ini.
bool HasLineBreak(const char* text) { return std::strpbrk(text, "\r\n") != nullptr; }

}  // namespace

CFetchkeeper::~CFetchkeeper() { RemoveAll(); }

bool CFetchkeeper::Init() {
    EngineGuard lock(EngineLock());
    maxThread_ = 3;
    items_.TakeAll();
    return true;
}

bool CFetchkeeper::ReturnTrue() { return true; }

void CFetchkeeper::SetMaxThread(int32_t count) {
    // Below one nothing would ever start again.
    if (!MaxThreadInRange(count)) return;
    EngineGuard lock(EngineLock());
    maxThread_ = count;
}

int32_t CFetchkeeper::MaxThread() {
    EngineGuard lock(EngineLock());
    return maxThread_;
}

bool CFetchkeeper::Debug() {
    EngineGuard lock(EngineLock());
    return debug_;
}

CDownItem* CFetchkeeper::Find(ItemHandle item) { return items_.Find(item); }

std::string CFetchkeeper::UniqueDest(std::string dest) {
    return dests_.FreeName(FileSystemName(dest), nullptr);
}

bool CFetchkeeper::Insert(const char* url, const char* destDir, const char* fileName, int32_t kind,
                          int32_t depth) {
    if (!url || HasLineBreak(url) || std::strlen(url) >= kUrlSize) return false;
    std::string dest = std::string(destDir ? destDir : "") + (fileName ? fileName : "");
    if (HasLineBreak(dest.c_str()) || dest.size() >= kPathSize) return false;

    EngineGuard lock(EngineLock());
    if (closing_) return false;
    if (CDownItem* listed = items_.FirstWithUrl(url)) {
        listed->MatchUrl(url, kind, dest.c_str());
        return true;
    }
    dest = UniqueDest(dest);
    if (dest.empty()) return false;
    auto* item = static_cast<CDownItem*>(NEW_DOWNITEM());
    if (!item) return false;
    item->JoinIndex(&dests_);
    item->Set(url, dest.c_str(), "", kind);
    item->SetPlaylistDepth(depth);
    items_.PushBack(item);
    return true;
}

bool CFetchkeeper::AddItem(const char* url, const char* destDir, const char* fileName) {
    EngineGuard lock(EngineLock());
    const bool added = Insert(url, destDir, fileName, KindFromUrl);
    ScheduleNext();
    return added;
}

void CFetchkeeper::AddFoundItem(const char* url, const char* destDir, int32_t kind) {
    AddFoundItemAtDepth(url, destDir, kind, 1);
}

void CFetchkeeper::AddFoundItemAtDepth(const char* url, const char* destDir, int32_t kind, int32_t depth) {
    if (!url) return;
    const std::string name = GetUrlFileName(url);
    EngineGuard lock(EngineLock());
    Insert(url, destDir, name.c_str(), kind, depth);
    ScheduleNext();
}

void CFetchkeeper::ItemFinished() {
    EngineGuard lock(EngineLock());
    ScheduleNext();
}

void CFetchkeeper::ScheduleNext() {
    EngineGuard lock(EngineLock());
    if (closing_) return;
    // A maximum set above the runs the process can hold is held to that many too.
    if (items_.Downloading() >= maxThread_ || CDownItem::AllRunsInFlight() >= kRunsAtOnceMax) return;
    if (CDownItem* next = items_.FirstIdleWaiting()) next->Start(this);
}

int32_t CFetchkeeper::GetCount() {
    EngineGuard lock(EngineLock());
    return int32_t(items_.size());
}

bool CFetchkeeper::RemoveAll() {
    for (;;) {
        std::vector<CDownItem*> removed;
        {
            EngineGuard lock(EngineLock());
            if (items_.empty()) {
                closing_ = false;
                return true;
            }
            // While the runs wind down nothing may be added or started, or it would outlive the
            // list (and, from the destructor, the manager).
            closing_ = true;
            removed = items_.TakeAll();
            for (CDownItem* item : removed) item->LeaveIndex();
            // A run still going would write into a freed item: end it, whatever the item's state
            // (a deleted item's stopped run may still be going), then wait for it.
            for (CDownItem* item : removed) item->EndRuns();
        }
        for (CDownItem* item : removed) {
            item->WaitForRuns();
            item->Release();
        }
    }
}

bool CFetchkeeper::RemoveItem(ItemHandle handle) {
    EngineGuard lock(EngineLock());
    CDownItem* item = Find(handle);
    if (!item) return false;
    if (item->IsDeleted()) {
        // A stopped run may still be winding down; the item is freed only once no worker uses it.
        if (item->RunsInFlight() > 0) return false;
        items_.Remove(item);
        item->LeaveIndex();
        item->Release();
        return true;
    }
    if (item->IsDownloading()) return false;
    item->MarkDeleted();
    return true;
}

ItemHandle CFetchkeeper::GetFirstItem() {
    EngineGuard lock(EngineLock());
    return items_.Front();
}

ItemHandle CFetchkeeper::GetNextItem(ItemHandle handle) {
    EngineGuard lock(EngineLock());
    return items_.Next(handle);
}

bool CFetchkeeper::StartItem(ItemHandle handle) {
    EngineGuard lock(EngineLock());
    CDownItem* item = Find(handle);
    // A second start of a running item, or of a stopped one whose run is still winding down, would
    // put two workers on one file.
    if (item && !item->IsDownloading() && item->RunsInFlight() == 0) {
        // Past the runs the process can hold, the item waits; the scheduler starts it as runs end.
        if (CDownItem::AllRunsInFlight() >= kRunsAtOnceMax) item->Queue();
        else item->Start(this);
    }
    return true;
}

bool CFetchkeeper::StopItem(ItemHandle handle) {
    EngineGuard lock(EngineLock());
    if (CDownItem* item = Find(handle)) item->Stop();
    ScheduleNext();
    return true;
}

bool CFetchkeeper::TakeItemChanged(ItemHandle handle) {
    EngineGuard lock(EngineLock());
    CDownItem* item = Find(handle);
    return item && item->TakeChanged();
}

bool CFetchkeeper::SetItemUrl(ItemHandle handle, const char* url, const char* destFile) {
    EngineGuard lock(EngineLock());
    CDownItem* item = Find(handle);
    if (!item || !url || !destFile || HasLineBreak(url) || HasLineBreak(destFile)) return false;
    if (std::strlen(url) >= kUrlSize || std::strlen(destFile) >= kPathSize) return false;
    return item->SetUrl(url, destFile);
}

bool CFetchkeeper::GetItemInfo(ItemHandle handle, DownItemInfo* out) {
    EngineGuard lock(EngineLock());
    CDownItem* item = Find(handle);
    return item && out && item->GetInfo(out);
}

bool CFetchkeeper::GetItemDestFile(ItemHandle handle, char* out) {
    EngineGuard lock(EngineLock());
    CDownItem* item = Find(handle);
    return item && out && item->GetDestFile(out);
}

bool CFetchkeeper::LoadProject(const char* iniPath) {
    StorePtr store = OpenStore(iniPath);
    if (!store) return false;
    // The file is read once for the whole list; a text only the profile calls can read (UTF-16)
    // is read key by key.
    store->BeginEdit();
    const int32_t count = store->ReadCount();
    // Each record goes straight into a new item: a list of many items is not held twice.
    std::vector<CDownItem*> loaded;
    // The saved sections are numbered from 0 without gaps: the first missing one ends the list,
    // whatever a damaged Count says.
    for (int32_t i = 0; i < count; ++i) {
        DownItemRecord record{};
        store->ReadItem(i, &record);
        if (!record.url[0]) break;
        // No run survives a restart: an item saved while downloading comes back stopped, and a
        // state the program does not know as well.
        if (record.state == DownDownloading || record.state < DownWaiting || record.state > DownDeleted) {
            record.state = DownStopped;
        }
        auto* item = static_cast<CDownItem*>(NEW_DOWNITEM());
        if (!item) continue;
        item->SetFromRecord(&record);
        loaded.push_back(item);
    }
    const bool debug = store->ReadDebug();
    store.reset();

    EngineGuard lock(EngineLock());
    for (CDownItem* item : loaded) {
        // The saved list stays in the file until the next save replaces it, so loading it twice
        // must not list its items twice.
        if (items_.FirstWithUrl(item->RecordAddress()->url)) {
            item->Release();
        } else {
            item->JoinIndex(&dests_);
            items_.PushBack(item);
        }
    }
    debug_ = debug;
    return true;
}

bool CFetchkeeper::SaveProject(const char* iniPath) {
    if (!iniPath) return false;
    // The list as it is now, in texts of their own length: a record's fields are far longer.
    struct Saved {
        std::string url, destFile;
        int32_t state;
    };
    std::vector<Saved> saved;
    bool debug;
    {
        EngineGuard lock(EngineLock());
        saved.reserve(items_.size());
        for (CDownItem* item : items_) {
            const DownItemRecord* record = item->RecordAddress();
            saved.push_back(Saved{record->url, record->destFile, record->state});
        }
        debug = debug_;
    }
    // The new list is written into a copy of the file, which then replaces it in one step: a
    // crash midway leaves the old list, never half of one.
    const std::string target = iniPath;
    const std::string temp = target + ".tmp";
    if (temp.size() >= kPathSize) return false;
    // A copy left by a save that was killed or ran out of space is stale: it never blocks this one.
    sys::RemoveFile(temp);
    auto writeList = [&](CPrjMng& store) {
        bool ok = store.ClearItems();
        for (size_t i = 0; i < saved.size(); ++i) {
            DownItemRecord record{};
            CopyBounded(record.url, sizeof record.url, saved[i].url);
            CopyBounded(record.destFile, sizeof record.destFile, saved[i].destFile);
            record.state = saved[i].state;
            ok = store.WriteItem(int32_t(i), &record) && ok;
        }
        ok = store.WriteCount(int32_t(saved.size())) && ok;
        if (debug) store.WriteDebug();
        return ok;
    };
    bool ok = false;
    StorePtr store = OpenStore(target.c_str());
    if (!store) return false;
    if (store->BeginEdit()) {
        // The file is read once, changed in memory and written once as the copy: the list is saved
        // after every change, and key by key a long list would cost seconds.
        ok = writeList(*store);
        ok = store->EndEdit(temp.c_str()) && ok;
    } else {
        // A text only the profile calls can rewrite: a copy of it, changed key by key.
        store.reset();
        if (sys::FileExists(target) && !sys::CopyFileOver(target, temp)) {
            sys::RemoveFile(temp);
            return false;
        }
        store = OpenStore(temp.c_str());
        if (!store) {
            sys::RemoveFile(temp);
            return false;
        }
        ok = writeList(*store);
    }
    store.reset();
    if (!ok || !sys::MoveFileOver(temp, target)) {
        sys::RemoveFile(temp);
        return false;
    }
    return true;
}

bool CFetchkeeper::GetDestPath(const char* iniPath, char* out) {
    StorePtr store = OpenStore(iniPath);
    if (!store) return false;
    store->ReadDestPath(out);
    return true;
}

bool CFetchkeeper::SetDestPath(const char* iniPath, const char* dir) {
    if (dir && HasLineBreak(dir)) return false;
    StorePtr store = OpenStore(iniPath);
    if (!store) return false;
    store->WriteDestPath(dir);
    return true;
}

int32_t CFetchkeeper::GetMaxThread(const char* iniPath) {
    StorePtr store = OpenStore(iniPath);
    return store ? store->ReadMaxThread() : kMaxThreadDefault;
}

bool CFetchkeeper::SaveMaxThread(const char* iniPath, int32_t count) {
    if (!MaxThreadInRange(count)) return false;
    StorePtr store = OpenStore(iniPath);
    if (!store) return false;
    store->WriteMaxThread(count);
    return true;
}

int32_t CFetchkeeper::GetTimeOut(const char* iniPath) {
    StorePtr store = OpenStore(iniPath);
    return store ? store->ReadTimeOut() : kTimeOutDefault;
}

bool CFetchkeeper::SetTimeOut(const char* iniPath, int32_t seconds) {
    // A time-out of nothing would fail every download at its first wait.
    if (!TimeOutInRange(seconds)) return false;
    SetEngineTimeOut(seconds);
    StorePtr store = OpenStore(iniPath);
    if (!store) return false;
    store->WriteTimeOut(seconds);
    return true;
}

bool CFetchkeeper::GetProxy(const char* iniPath, char* server, char* port, uint8_t* enabled) {
    StorePtr store = OpenStore(iniPath);
    if (!store) return false;
    store->ReadProxy(server, port, enabled);
    return true;
}

bool CFetchkeeper::SetProxy(const char* iniPath, const char* server, const char* portText,
                            int32_t enable) {
    if ((server && HasLineBreak(server)) || (portText && HasLineBreak(portText))) return false;
    EngineProxy proxy;
    proxy.server = server ? server : "";
    // The port is the value of the text's leading digits; 0 when there are none.
    size_t digitsEnd = 0;
    proxy.port = int32_t(ReadDigits(portText ? portText : "", digitsEnd, INT32_MAX));
    proxy.enabled = (enable & 0xFF) != 0;
    SetEngineProxy(proxy);
    StorePtr store = OpenStore(iniPath);
    if (!store) return false;
    store->WriteProxy(server ? server : "", portText ? portText : "", enable);
    return true;
}

bool CFetchkeeper::FileNameFromUrl(const char* url, char* out) {
    if (!url || !out) return false;
    const std::string name = GetUrlFileName(url);
    if (name.empty()) return false;
    CopyBounded(out, kFileNameSize, name);
    return true;
}

void CFetchkeeper::UrlWithLogin(const char* url, const char* user, const char* password, char* out) {
    if (!out) return;
    // The builder refuses a URL that does not fit the field: it comes back empty, never cut, for
    // the caller would send the cut one to the server.
    CopyBounded(out, kUrlSize, InsertUrlLogin(url ? url : "", user ? user : "", password ? password : ""));
}

FK_DEFINE_FACTORIES(FETCHKEEPER, CFetchkeeper)
