// Downloads one MMS URL by trying the three MMS transports in turn (TCP 1755, RTSP 554, HTTP), the
// first chosen by the URL's scheme. A failed transport's text goes to the log and the next untried
// one runs, nested in the failing run; only the last failure reaches the item as its outcome.
#pragma once
#include <cstdint>
#include <string>

#include "EngineObject.h"
#include "ForwardingSink.h"
#include "IDownloadSink.h"

// The chooser's table: SetUrl and Run stand one slot later than a downloader's.
class IDownMmsChooser : public IEngineObject {
public:
    // Answers true; nothing calls it: kept for the table's layout.
    virtual bool FK_STDCALL ReturnTrue() = 0;
    virtual int32_t FK_STDCALL SetUrl(const char* url, const char* localFile) = 0;
    virtual void FK_STDCALL Run(IDownloadSink* sink) = 0;

protected:
    ~IDownMmsChooser() = default;
};

class CDownMMSMng final : public EngineObject<CDownMMSMng, IDownMmsChooser>, public CForwardingSink {
public:
    enum Transport : uint32_t { kTcp = 1, kRtsp = 2, kHttp = 4 };
    using Factory = IEngineObject*(FK_STDCALL*)();

    bool FK_STDCALL ReturnTrue() override;
    int32_t FK_STDCALL SetUrl(const char* url, const char* localFile) override;
    void FK_STDCALL Run(IDownloadSink* sink) override;

    // The chooser's own sink, which the transports report to: a failure runs the next
    // transport; every other report goes on to the outer sink.
    void FK_STDCALL Failed(const char* text) override;
    using CForwardingSink::SetUrl;

    // Outside the table: the factory of one transport in place of the library's own (a null one
    // stands for a downloader that cannot be made).
    void UseFactory(Transport transport, Factory make);
    uint32_t TriedFlags() const { return tried_; }
    // How many redirects led to this run; handed on to each transport.
    void SetRedirectDepth(int depth) { redirectDepth_ = depth; }

    void RunMmsTcp();
    void RunMmsRtsp();
    void RunMmsHttp();
    bool TryNextTransport(const char* text);

private:
    void RunTransport(Transport transport);

    std::string url_;
    std::string localFile_;
    uint32_t tried_ = 0;
    Factory factories_[3] = {};
    bool factorySet_[3] = {};
    int redirectDepth_ = 0;
};
