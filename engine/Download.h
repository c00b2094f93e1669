// One run of one download item on a worker thread of its own: checks and logs the URL, chooses the
// downloader by scheme, extension and the item's protocol kind, runs it, and forwards every report
// of the downloader to the item unchanged.
#pragma once
#include <cstdint>

#include "EngineObject.h"
#include "EngineTypes.h"
#include "IDownloadJob.h"
#include "ForwardingSink.h"
#include "IDownloadSink.h"

class CDownload final : public EngineObject<CDownload, IDownloadJob>, public CForwardingSink {
public:
    bool FK_STDCALL Init() override;
    bool FK_STDCALL ReturnTrue() override;
    bool FK_STDCALL Set(const char* url, const char* destFile, int32_t kind) override;
    bool FK_STDCALL RunThread(IDownloadSink* sink) override;
    void FK_STDCALL Run(IDownloadSink* sink) override;

    // Which downloader a URL and an item's kind lead to (1 to 5).
    static int32_t ChooseKind(const char* url, int32_t kind);

    // How many redirects led to this run: the item counts them, the downloaders cap the chain.
    void SetRedirectDepth(int depth) { redirectDepth_ = depth; }

    const char* Url() const { return url_; }
    const char* DestFile() const { return destFile_; }
    int32_t Kind() const { return kind_; }

private:
    void ChooseDownloader();

    char url_[kUrlSize] = {};
    char destFile_[kPathSize] = {};
    int32_t kind_ = 0;
    bool urlTooLong_ = false;
    int redirectDepth_ = 0;
};
