#include "DownItem.h"

#include <chrono>
#include <cstring>

#include "AsciiText.h"
#include "Collaborators.h"
#include "EngineLock.h"
#include "FileSize.h"
#include "FoundItemHost.h"
#include "ItemRules.h"
#include "TextCopy.h"
#include "UrlModel.h"
#include "sys/WindowMessages.h"

namespace {
const char kStartText[] = "Start downloading...\r\n";
const char kSuccessText[] = "Download success\r\n\r\n";
// Runs of every item not finished yet; changed only under the engine lock.
int32_t allRunsInFlight = 0;
}  // namespace

CDownItem::~CDownItem() { LeaveIndex(); }

bool CDownItem::Init() {
    EngineGuard lock(EngineLock());
    record_ = DownItemRecord{};
    totalSize_ = downloaded_ = contentKind_ = 0;
    log_.reset();
    infoLog_.clear();
    protocolKind_ = activeKind_ = 0;
    changed_ = false;
    Notify();
    return true;
}

bool CDownItem::ReturnTrue() { return true; }

void CDownItem::Set(const char* url, const char* destDir, const char* fileName, int32_t kind) {
    EngineGuard lock(EngineLock());
    CopyBounded(record_.url, sizeof record_.url, url);
    StoreDest(std::string(destDir ? destDir : "") + (fileName ? fileName : ""), true);
    record_.state = DownWaiting;
    downloaded_ = 0;
    totalSize_ = 0;
    contentKind_ = 0;
    protocolKind_ = kind;
    NewLog();
    Notify();
}

void CDownItem::SetFromRecord(const DownItemRecord* record) {
    EngineGuard lock(EngineLock());
    CopyBounded(record_.url, sizeof record_.url, record->url);
    // A saved list keeps its names: two items of one name are parted when one of them runs.
    StoreDest(record->destFile, false);
    record_.state = record->state;
    NewLog();
    Notify();
}

void CDownItem::Start(IItemHost* host) {
    EngineGuard lock(EngineLock());
    host_ = host;
    redirects_ = 0;
    BeginRun();
}

void CDownItem::BeginRun() {
    totalSize_ = 0;
    downloaded_ = 0;
    // Only a run that itself chose the plain HTTP downloader may lead to the fallback; a run that
    // fails before choosing must not inherit an earlier run's choice.
    activeKind_ = 0;
    IDownloadJob* job = CreateDownloadJob(redirects_);
    if (!job) return;
    record_.state = DownDownloading;
    Notify();
    AppendLog(kStartText);
    ++runsInFlight_;
    ++allRunsInFlight;
    job->Set(record_.url, record_.destFile, protocolKind_);
    job->RunThread(this);
}

bool CDownItem::GetDestFile(char* out) {
    EngineGuard lock(EngineLock());
    CopyBounded(out, kPathSize, record_.destFile);
    return true;
}

void CDownItem::Stop() {
    EngineGuard lock(EngineLock());
    if (record_.state == DownDownloading) record_.state = DownStopped;
    Notify();
}

bool CDownItem::SetUrl(const char* url, const char* destFile) {
    EngineGuard lock(EngineLock());
    // A run going on, or a stopped one still ending, reads and reports the URL and file: changing
    // them under it would write one download into another's file.
    if (record_.state == DownDownloading || runsInFlight_ > 0) return false;
    if (!StoreDest(destFile ? destFile : "", true)) return false;
    CopyBounded(record_.url, sizeof record_.url, url);
    Notify();
    return true;
}

bool CDownItem::TakeChanged() {
    EngineGuard lock(EngineLock());
    const bool was = changed_;
    changed_ = false;
    return was;
}

DownItemRecord* CDownItem::RecordAddress() { return &record_; }

void CDownItem::GetRecord(DownItemRecord* out) {
    EngineGuard lock(EngineLock());
    *out = record_;
}

bool CDownItem::GetInfo(DownItemInfo* out) {
    EngineGuard lock(EngineLock());
    infoUrl_ = record_.url;
    infoDest_ = record_.destFile;
    const bool hasLog = log_ && !log_->IsEmpty();
    // The log only grows while the item lives (a new one comes with a new copy): only what it
    // gained since the last snapshot is copied, since the program takes one of every item every
    // second.
    const size_t length = hasLog ? size_t(log_->GetLength()) : 0;
    if (length < infoLog_.size()) infoLog_.clear();
    if (length > infoLog_.size()) {
        infoLog_.append(reinterpret_cast<const char*>(log_->GetData()) + infoLog_.size(), length - infoLog_.size());
    }
    out->url = infoUrl_.c_str();
    out->destFile = infoDest_.c_str();
    out->state = record_.state;
    out->totalSize = totalSize_;
    out->downloaded = downloaded_;
    out->logText = hasLog ? infoLog_.c_str() : nullptr;
    out->logLength = uint32_t(infoLog_.size());
    return true;
}

bool CDownItem::IsDeleted() {
    EngineGuard lock(EngineLock());
    return record_.state == DownDeleted;
}

void CDownItem::MarkDeleted() {
    EngineGuard lock(EngineLock());
    if (record_.state != DownDownloading) record_.state = DownDeleted;
    Notify();
}

bool CDownItem::IsDownloading() {
    EngineGuard lock(EngineLock());
    return record_.state == DownDownloading;
}

bool CDownItem::IsWaiting() {
    EngineGuard lock(EngineLock());
    return record_.state == DownWaiting;
}

bool CDownItem::MatchUrl(const char* url, int32_t kind, const char* destFile) {
    EngineGuard lock(EngineLock());
    if (!EqualsNoCase(record_.url, url)) return false;
    // An item whose run is still going (downloading, or stopped and winding down) keeps its kind,
    // file and state: making it waiting would let the scheduler put a second worker on its file.
    if (protocolKind_ == 0 && kind != 0 && record_.state != DownDownloading && runsInFlight_ == 0) {
        protocolKind_ = kind;
        StoreDest(destFile ? destFile : "", true);
        record_.state = DownWaiting;
        Notify();
    }
    return true;
}

bool CDownItem::MatchDest(const char* destFile) {
    EngineGuard lock(EngineLock());
    return DestKey(record_.destFile) == DestKey(destFile ? destFile : "");
}

void CDownItem::SetTotalSize(int32_t bytes) {
    EngineGuard lock(EngineLock());
    totalSize_ = bytes;
    changed_ = true;
}

void CDownItem::SetDownloaded(int32_t bytes) {
    EngineGuard lock(EngineLock());
    downloaded_ = bytes;
    if (bytes > totalSize_) totalSize_ = -1;
    changed_ = true;
}

void CDownItem::Succeeded() {
    std::string url, dest;
    int32_t contentKind, depth;
    IItemHost* host;
    bool deleted;
    {
        EngineGuard lock(EngineLock());
        // The user deleted the item while its run wound down: it stays deleted.
        deleted = record_.state == DownDeleted;
        if (!deleted) record_.state = DownFinished;
        Notify();
        Log(kSuccessText);
        changed_ = true;
        url = record_.url;
        dest = record_.destFile;
        contentKind = contentKind_;
        depth = playlistDepth_;
        host = host_;
    }
    // A small file may be a playlist or pointer file that names the real streams.
    if (!deleted && GetFileSize(dest) <= kPlaylistSizeLimit) {
        if (IRedirect* redirect = CreateRedirect()) {
            CFoundItemHost found(host, depth, [this](const char* line) { Log(line); });
            redirect->Run(url.c_str(), dest.c_str(), contentKind, host ? &found : nullptr);
            redirect->Release();
        }
    }
    if (host) host->ItemFinished();
}

void CDownItem::Failed(const char* text) {
    IItemHost* host;
    {
        EngineGuard lock(EngineLock());
        Log(text);
        Log("\r\n\r\n");
        changed_ = true;
        host = host_;
        // A stopped item stays stopped, and one deleted while its run wound down stays deleted.
        if (record_.state != DownStopped && record_.state != DownDeleted) {
            record_.state = DownFailed;
            Notify();
            if (activeKind_ == KindHttp) {
                // The plain HTTP run failed: try once more as RealMedia over HTTP, unless the URL
                // would no longer fit its field.
                const std::string url = ReplaceScheme(record_.url, "http");
                if (url.empty()) {
                    Log("URL too long");
                } else {
                    CopyBounded(record_.url, sizeof record_.url, url);
                    Notify();
                    protocolKind_ = KindRtsp80;
                    Start(host_);
                }
            }
        }
    }
    if (host) host->ItemFinished();
}

void CDownItem::Log(const char* text) {
    EngineGuard lock(EngineLock());
    AppendLog(text);
    AppendLog("\r\n");
    changed_ = true;
}

void CDownItem::SetContentKind(int32_t code) {
    EngineGuard lock(EngineLock());
    contentKind_ = code;
    changed_ = true;
}

void CDownItem::SetDestFile(const char* path) {
    EngineGuard lock(EngineLock());
    // The name of the file the run writes: it asked for a free one first (FreeDestFile).
    StoreDest(path ? path : "", false);
    changed_ = true;
}

bool CDownItem::FreeDestFile(const char* wanted, char* out) {
    EngineGuard lock(EngineLock());
    const std::string name = FileSystemName(wanted ? wanted : "");
    const std::string free = index_ ? index_->FreeName(name, this) : name;
    if (free.empty() || free.size() >= kPathSize) return false;
    CopyBounded(out, kPathSize, free);
    return true;
}

void CDownItem::JoinIndex(DestIndex* index) {
    EngineGuard lock(EngineLock());
    LeaveIndex();
    index_ = index;
    if (index_) index_->Add(this, record_.destFile);
}

void CDownItem::LeaveIndex() {
    EngineGuard lock(EngineLock());
    if (index_) index_->Remove(this, record_.destFile);
    index_ = nullptr;
}

bool CDownItem::StoreDest(const std::string& path, bool free) {
    std::string name = FileSystemName(path);
    if (free && index_) name = index_->FreeName(name, this);
    if (name.empty() || name.size() >= kPathSize) return false;
    if (index_) index_->Remove(this, record_.destFile);
    CopyBounded(record_.destFile, sizeof record_.destFile, name);
    if (index_) index_->Add(this, record_.destFile);
    return true;
}

void CDownItem::SetActiveKind(int32_t kind) {
    EngineGuard lock(EngineLock());
    activeKind_ = kind;
    changed_ = true;
}

bool CDownItem::IsStopped() {
    EngineGuard lock(EngineLock());
    // The user may delete a stopped item whose run is still ending: that run ends as well.
    return record_.state == DownStopped || record_.state == DownDeleted || mustEnd_;
}

bool CDownItem::MustEnd() {
    EngineGuard lock(EngineLock());
    return mustEnd_;
}

void CDownItem::EndRuns() {
    EngineGuard lock(EngineLock());
    mustEnd_ = true;
    if (record_.state == DownDownloading) record_.state = DownStopped;
    Notify();
}

void CDownItem::Restart() {
    EngineGuard lock(EngineLock());
    // A redirect restarts a running download only: one the user stopped or deleted stays so.
    if (record_.state != DownDownloading) return;
    ++redirects_;
    BeginRun();
}

void CDownItem::SetUrl(const char* url) {
    EngineGuard lock(EngineLock());
    CopyBounded(record_.url, sizeof record_.url, url);
    Notify();
}

void CDownItem::RunFinished() {
    EngineGuard lock(EngineLock());
    if (runsInFlight_ > 0) {
        --runsInFlight_;
        --allRunsInFlight;
    }
    runsEnded_.notify_all();
}

int32_t CDownItem::AllRunsInFlight() {
    EngineGuard lock(EngineLock());
    return allRunsInFlight;
}

void CDownItem::Queue() {
    EngineGuard lock(EngineLock());
    if (record_.state == DownDownloading || runsInFlight_ > 0) return;
    record_.state = DownWaiting;
    changed_ = true;
    Notify();
}

int CDownItem::RunsInFlight() {
    EngineGuard lock(EngineLock());
    return runsInFlight_;
}

// The caller must not hold the engine lock: the wait releases it once, and the worker needs it
// to report its end.
void CDownItem::WaitForRuns() {
    std::unique_lock<std::recursive_mutex> lock(EngineLock());
    // Stopped runs take a moment to notice (up to a stop-check interval); the program waits on its
    // window thread, whose windows keep repainting meanwhile: from the start of the wait, so that
    // even a short one lets them paint.
    while (runsInFlight_ != 0) {
        lock.unlock();
        sys::DispatchPaintMessages();
        lock.lock();
        runsEnded_.wait_for(lock, std::chrono::milliseconds(50), [this] { return runsInFlight_ == 0; });
    }
}

void CDownItem::Watch(ItemWatcher* watcher) {
    EngineGuard lock(EngineLock());
    watcher_ = watcher;
}

void CDownItem::Notify() {
    if (watcher_) watcher_->ItemChanged(this);
}

void CDownItem::SetPlaylistDepth(int32_t depth) {
    EngineGuard lock(EngineLock());
    playlistDepth_ = depth;
}

int32_t CDownItem::ProtocolKindForNextRun() {
    EngineGuard lock(EngineLock());
    return protocolKind_;
}

void CDownItem::NewLog() {
    log_ = std::make_unique<CByteBuffer>();
    infoLog_.clear();
}

void CDownItem::AppendLog(const char* text) {
    if (!log_) log_ = std::make_unique<CByteBuffer>();
    log_->AppendString(text);
}

FK_DEFINE_FACTORIES(DOWNITEM, CDownItem)
