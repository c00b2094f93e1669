// A sink that hands every report on to the sink it stands in front of. The job and the MMS
// transport chooser stand between a downloader and the item this way, and override only the
// reports they act on. It adds no slot: its table is IDownloadSink's.
#pragma once
#include <cstdint>

#include "IDownloadSink.h"

class CForwardingSink : public IDownloadSink {
public:
    void FK_STDCALL SetTotalSize(int32_t bytes) override;
    void FK_STDCALL SetDownloaded(int32_t bytes) override;
    void FK_STDCALL Succeeded() override;
    void FK_STDCALL Failed(const char* text) override;
    void FK_STDCALL Log(const char* text) override;
    void FK_STDCALL SetContentKind(int32_t code) override;
    void FK_STDCALL SetDestFile(const char* path) override;
    void FK_STDCALL SetActiveKind(int32_t kind) override;
    // False without a sink behind.
    bool FK_STDCALL IsStopped() override;
    void FK_STDCALL Restart() override;
    void FK_STDCALL SetUrl(const char* url) override;
    // Not handed on: the job's worker thread tells the item itself, after the whole run.
    void FK_STDCALL RunFinished() override;
    // False without a sink behind.
    bool FK_STDCALL MustEnd() override;
    // The base's answer without a sink behind.
    bool FK_STDCALL FreeDestFile(const char* wanted, char* out) override;

protected:
    ~CForwardingSink() = default;

    IDownloadSink* outer_ = nullptr;  // null: reports are dropped
};
