// One entry of the download list: URL, destination, state, sizes, protocol kind and its own log.
// A running download reports to it through IDownloadSink. Every field is guarded by the engine lock.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <string>

#include "ByteBuffer.h"
#include "DestIndex.h"
#include "EngineObject.h"
#include "IDownloadSink.h"
#include "IItemHost.h"
#include "ItemWatcher.h"

class CDownItem final : public EngineObject<CDownItem>, public IDownloadSink {
public:
    CDownItem() = default;
    ~CDownItem();

    bool FK_STDCALL Init() override;

    // Own operations first: the sink's overrides below also take slots in this table, after them.
    // Answers true; nothing calls it: kept for the table's layout.
    virtual bool FK_STDCALL ReturnTrue();
    virtual void FK_STDCALL Set(const char* url, const char* destDir, const char* fileName, int32_t kind);
    virtual void FK_STDCALL SetFromRecord(const DownItemRecord* record);
    virtual void FK_STDCALL Start(IItemHost* host);
    virtual bool FK_STDCALL GetDestFile(char* out);
    virtual void FK_STDCALL Stop();
    virtual bool FK_STDCALL SetUrl(const char* url, const char* destFile);
    virtual bool FK_STDCALL TakeChanged();
    // Nothing in the engine calls it: kept for the table's layout.
    virtual DownItemRecord* FK_STDCALL RecordAddress();
    virtual void FK_STDCALL GetRecord(DownItemRecord* out);
    virtual bool FK_STDCALL GetInfo(DownItemInfo* out);
    virtual bool FK_STDCALL IsDeleted();
    virtual void FK_STDCALL MarkDeleted();
    virtual bool FK_STDCALL IsDownloading();
    virtual bool FK_STDCALL IsWaiting();
    virtual bool FK_STDCALL MatchUrl(const char* url, int32_t kind, const char* destFile);
    virtual bool FK_STDCALL MatchDest(const char* destFile);

    void FK_STDCALL SetTotalSize(int32_t bytes) override;
    void FK_STDCALL SetDownloaded(int32_t bytes) override;
    void FK_STDCALL Succeeded() override;
    void FK_STDCALL Failed(const char* text) override;
    void FK_STDCALL Log(const char* text) override;
    void FK_STDCALL SetContentKind(int32_t code) override;
    void FK_STDCALL SetDestFile(const char* path) override;
    void FK_STDCALL SetActiveKind(int32_t kind) override;
    bool FK_STDCALL IsStopped() override;
    void FK_STDCALL Restart() override;
    void FK_STDCALL SetUrl(const char* url) override;
    void FK_STDCALL RunFinished() override;
    bool FK_STDCALL MustEnd() override;
    bool FK_STDCALL FreeDestFile(const char* wanted, char* out) override;

    // Engine-internal: the list's index of destinations, which this item's destination is kept in
    // from now on (null: none); the item leaves it before it leaves the list.
    void JoinIndex(DestIndex* index);
    void LeaveIndex();

    // Engine-internal: runs whose worker has not finished yet, and a wait for them to end.
    int RunsInFlight();
    // Runs of all items whose worker has not finished yet.
    static int32_t AllRunsInFlight();
    // Waiting again, to be started by the scheduler; not while a run of it is going.
    void Queue();
    void WaitForRuns();
    // Engine-internal, before the item is freed: a run still going ends at once, unasked.
    void EndRuns();

    // The list told of every change of URL or state; null: none.
    void Watch(ItemWatcher* watcher);

    // How many playlists lie above this item (0: one the user added); kept for this session only.
    void SetPlaylistDepth(int32_t depth);

    int32_t ProtocolKindForNextRun();

    static constexpr long kPlaylistSizeLimit = 51200;

private:
    void AppendLog(const char* text);
    // The one way the destination changes: in FileSystemName's form, kept in the index; with
    // `free`, a name another item holds becomes its first free numbered one. False, and the
    // destination as it was, when the name does not fit or no free one does.
    bool StoreDest(const std::string& path, bool free);
    void NewLog();
    // Starts a run with a new job (the engine lock held).
    void BeginRun();
    // After the URL or the state changed (the engine lock held).
    void Notify();

    DownItemRecord record_{};  // url, destFile, state: the layout the download list stores
    int32_t totalSize_ = 0;
    int32_t downloaded_ = 0;
    int32_t contentKind_ = 0;
    std::unique_ptr<CByteBuffer> log_;
    int32_t protocolKind_ = 0;
    int32_t activeKind_ = 0;
    bool changed_ = false;
    IItemHost* host_ = nullptr;
    ItemWatcher* watcher_ = nullptr;
    DestIndex* index_ = nullptr;
    int32_t playlistDepth_ = 0;
    // Redirects that led to the current run: a redirect restarts the item with a new job, so the
    // count lives here; any other start begins a new chain.
    int redirects_ = 0;

    int runsInFlight_ = 0;
    bool mustEnd_ = false;  // set by EndRuns: the item is about to be freed
    std::condition_variable_any runsEnded_;
    // Copies handed out by GetInfo; they stay put until the next GetInfo while workers write on.
    std::string infoUrl_, infoDest_, infoLog_;
};
