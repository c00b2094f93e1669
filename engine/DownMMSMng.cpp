#include "DownMMSMng.h"

#include "DownBase.h"
#include "Factories.h"
#include "ItemRules.h"
#include "UrlModel.h"

namespace {

struct TransportRow {
    CDownMMSMng::Transport transport;
    CDownMMSMng::Factory make;
    const char* scheme;
};

// The fixed order in which untried transports follow a failed one.
const TransportRow kTransports[] = {
    {CDownMMSMng::kTcp, NEW_DOWNMMS1755, "mms"},
    {CDownMMSMng::kRtsp, NEW_DOWNMMS554, "rtsp"},
    {CDownMMSMng::kHttp, NEW_DOWNMMS80, "http"},
};

size_t RowOf(CDownMMSMng::Transport transport) {
    for (size_t i = 0; i < std::size(kTransports); ++i) {
        if (kTransports[i].transport == transport) return i;
    }
    return 0;
}

}  // namespace

bool CDownMMSMng::ReturnTrue() { return true; }

int32_t CDownMMSMng::SetUrl(const char* url, const char* localFile) {
    url_ = url ? url : "";
    localFile_ = localFile ? localFile : "";
    tried_ = 0;
    return 0;
}

void CDownMMSMng::UseFactory(Transport transport, Factory make) {
    const size_t row = RowOf(transport);
    factories_[row] = make;
    factorySet_[row] = true;
}

void CDownMMSMng::Run(IDownloadSink* sink) {
    outer_ = sink;
    const std::string scheme = GetSchemeUpper(url_);
    if (scheme == "HTTP") {
        RunMmsHttp();
    } else if (scheme == "RTSP") {
        RunMmsRtsp();
    } else if (IsMmsScheme(scheme)) {
        RunMmsTcp();
    } else if (outer_) {
        // Every run ends in an outcome, even one no transport can take.
        outer_->Log("No MMS transport for this URL");
        outer_->Failed("Invalid URL");
    }
}

void CDownMMSMng::RunMmsTcp() { RunTransport(kTcp); }
void CDownMMSMng::RunMmsRtsp() { RunTransport(kRtsp); }
void CDownMMSMng::RunMmsHttp() { RunTransport(kHttp); }

void CDownMMSMng::RunTransport(Transport transport) {
    // Flagged first, so that each transport is tried at most once.
    tried_ |= transport;
    const size_t row = RowOf(transport);
    // A longer scheme may not fit the URL field: this transport is refused, never sent a cut URL.
    const std::string url = ReplaceScheme(url_, kTransports[row].scheme);
    if (url.empty()) {
        if (outer_) outer_->Log("URL too long");
        Failed("Invalid URL");
        return;
    }
    const Factory make = factorySet_[row] ? factories_[row] : kTransports[row].make;
    auto* downloader = static_cast<CDownBase*>(make ? make() : nullptr);
    if (!downloader) {
        // A transport that cannot be made has failed like any other: the next one gets its turn.
        Failed(DownResultText(ResultMemoryError));
        return;
    }
    downloader->SetRedirectDepth(redirectDepth_);
    downloader->SetUrl(url.c_str(), localFile_.c_str());
    downloader->Run(this);
    downloader->Release();
}

bool CDownMMSMng::TryNextTransport(const char* text) {
    if (tried_ == (kTcp | kRtsp | kHttp)) return false;
    if (outer_) outer_->Log(text);
    for (const auto& row : kTransports) {
        if (!(tried_ & row.transport)) {
            RunTransport(row.transport);
            break;
        }
    }
    return true;
}

void CDownMMSMng::Failed(const char* text) {
    if (TryNextTransport(text)) return;
    if (outer_) outer_->Failed(text);
}

FK_DEFINE_FACTORIES(DOWNMMSMNG, CDownMMSMng)
