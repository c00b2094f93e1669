#include "Download.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "DownBase.h"
#include "DownFTP.h"
#include "DownMMSMng.h"
#include "EngineSettings.h"
#include "Factories.h"
#include "TextCopy.h"
#include "UrlUtil.h"
#include "sys/BinaryFile.h"

namespace {

const char* const kSchemes[] = {"http://", "ftp://", "mms://", "mmst://", "mmsu://", "rtsp://"};

bool StartsWithNoCase(const char* text, const char* prefix) {
    for (; *prefix; ++text, ++prefix) {
        char a = *text, b = *prefix;
        if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
        if (a != b) return false;
    }
    return true;
}

bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// Redirects that led to an item's current run, by item: a redirect restarts the item with a new
// job, so the count has to outlive the job. An outcome (success or failure) ends the chain.
std::mutex g_chainLock;
std::map<IDownloadSink*, int> g_redirectChains;

int RedirectDepth(IDownloadSink* item) {
    std::lock_guard<std::mutex> lock(g_chainLock);
    auto found = g_redirectChains.find(item);
    return found == g_redirectChains.end() ? 0 : found->second;
}

void CountRedirect(IDownloadSink* item) {
    std::lock_guard<std::mutex> lock(g_chainLock);
    ++g_redirectChains[item];
}

void EndChain(IDownloadSink* item) {
    std::lock_guard<std::mutex> lock(g_chainLock);
    g_redirectChains.erase(item);
}

}  // namespace

bool CDownload::Init() {
    url_[0] = 0;
    destFile_[0] = 0;
    kind_ = 0;
    sink_ = nullptr;
    urlTooLong_ = false;
    return true;
}

bool CDownload::ReturnTrue() { return true; }

bool CDownload::Set(const char* url, const char* destFile, int32_t kind) {
    const std::string encoded = UrlEncode(url ? url : "");
    // A cut URL would fetch something else: one that does not fit fails the run instead.
    urlTooLong_ = encoded.size() >= kUrlField;
    CopyBounded(url_, sizeof url_, urlTooLong_ ? std::string() : encoded);
    std::string dest = destFile ? destFile : "";
    size_t begin = 0, end = dest.size();
    while (begin < end && IsWhite(dest[begin])) ++begin;
    while (end > begin && IsWhite(dest[end - 1])) --end;
    CopyBounded(destFile_, sizeof destFile_, dest.substr(begin, end - begin));
    kind_ = kind;
    return true;
}

void* CDownload::RunThread(IDownloadSink* sink) {
    sink_ = sink;
    try {
        std::thread worker([this, sink] {
            sys::LowerThreadPriority();
            Run(sink);
            // The item may be freed once it hears this; the job only releases itself after.
            if (sink) sink->RunFinished();
            Release();
        });
        worker.detach();
    } catch (const std::system_error&) {
        if (sink) {
            sink->Log("Cannot start the download thread");
            sink->Failed(DownResultText(ResultMemoryError));
            sink->RunFinished();
        }
        Release();
        return nullptr;
    }
    return this;
}

int32_t CDownload::ChooseKind(const char* url, int32_t kind) {
    const std::string scheme = GetSchemeUpper(url ? url : "");
    const std::string extension = GetUrlExtensionUpper(url ? url : "");
    if (scheme == "FTP" || kind == KindFtp) return KindFtp;
    if (scheme == "MMS" || scheme == "MMST" || scheme == "MMSU" || extension == "ASF" || extension == "WMV" ||
        kind == KindMms) {
        return KindMms;
    }
    if (scheme == "RTSP") return KindRtsp554;
    if (kind == KindRtsp80) return KindRtsp80;
    return KindHttp;
}

void CDownload::Run(IDownloadSink* sink) {
    sink_ = sink;
    LogFormat("URL: %s", UrlWithoutLogin(url_).c_str());
    const EngineProxy proxy = GetEngineProxy();
    Log(proxy.enabled && !proxy.server.empty() ? "Need proxy" : "No proxy");
    Log(GetUrlUser(url_).empty() ? "No user and password" : "Need user and password");
    bool known = false;
    for (const char* scheme : kSchemes) known = known || StartsWithNoCase(url_, scheme);
    if (urlTooLong_) Log("URL too long");
    if (urlTooLong_ || !known || GetUrlHost(url_).find('.') == std::string::npos) {
        Failed("Invalid URL");
        return;
    }
    ChooseDownloader();
}

void CDownload::ChooseDownloader() {
    const int32_t kind = ChooseKind(url_, kind_);
    SetActiveKind(kind);
    CDownBase* downloader = nullptr;
    switch (kind) {
        case KindHttp:
            downloader = static_cast<CDownBase*>(NEW_DOWNHTTP());
            break;
        case KindRtsp80:
            downloader = static_cast<CDownBase*>(NEW_DOWNRTSP80());
            break;
        case KindMms:
            RunMmsChooser();
            return;
        case KindRtsp554:
            downloader = static_cast<CDownBase*>(NEW_DOWNRTSP554());
            break;
        case KindFtp: {
            // FTP has a table of its own: SetUrl and Run sit in slots 5 and 6.
            EnginePtr<IDownFtp> ftp(static_cast<IDownFtp*>(NEW_DOWNFTP()));
            if (!ftp) {
                Failed(DownResultText(ResultMemoryError));
                return;
            }
            ftp->SetUrl(url_, destFile_);
            ftp->Run(this);
            return;
        }
        default:
            break;
    }
    if (!downloader) {
        Failed(DownResultText(ResultMemoryError));
        return;
    }
    downloader->SetRedirectDepth(RedirectDepth(sink_));
    downloader->SetUrl(url_, destFile_);
    downloader->Run(this);
    downloader->Release();
}

void CDownload::RunMmsChooser() {
    // A stream saved without any extension gets the one players know it by.
    if (!std::strchr(destFile_, '.')) {
        const std::string named = std::string(destFile_) + ".asf";
        if (named.size() >= sizeof destFile_) {
            Log("Destination path too long");
            Failed(DownResultText(ResultFileError));
            return;
        }
        CopyBounded(destFile_, sizeof destFile_, named);
        SetDestFile(destFile_);
    }
    EnginePtr<CDownMMSMng> chooser(static_cast<CDownMMSMng*>(static_cast<IDownMmsChooser*>(NEW_DOWNMMSMNG())));
    if (!chooser) {
        Failed(DownResultText(ResultMemoryError));
        return;
    }
    chooser->SetRedirectDepth(RedirectDepth(sink_));
    chooser->SetUrl(url_, destFile_);
    chooser->Run(this);
}

void CDownload::LogFormat(const char* format, ...) {
    char text[4096];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    Log(text);
}

void CDownload::SetTotalSize(int32_t bytes) {
    if (sink_) sink_->SetTotalSize(bytes);
}

void CDownload::SetDownloaded(int32_t bytes) {
    if (sink_) sink_->SetDownloaded(bytes);
}

void CDownload::Succeeded() {
    if (!sink_) return;
    EndChain(sink_);
    sink_->Succeeded();
}

void CDownload::Failed(const char* text) {
    if (!sink_) return;
    EndChain(sink_);
    sink_->Failed(text);
}

void CDownload::Log(const char* text) {
    if (sink_) sink_->Log(text);
}

void CDownload::SetContentKind(int32_t code) {
    if (sink_) sink_->SetContentKind(code);
}

void CDownload::SetDestFile(const char* path) {
    if (sink_) sink_->SetDestFile(path);
}

void CDownload::SetActiveKind(int32_t kind) {
    if (sink_) sink_->SetActiveKind(kind);
}

bool CDownload::IsStopped() { return sink_ ? sink_->IsStopped() : false; }

void CDownload::Restart() {
    if (!sink_) return;
    CountRedirect(sink_);
    sink_->Restart();
}

void CDownload::SetUrl(const char* url) {
    if (sink_) sink_->SetUrl(url);
}

// The worker thread tells the item itself, after everything else.
void CDownload::RunFinished() {}

FK_DEFINE_FACTORIES(DOWNLOAD, CDownload)
