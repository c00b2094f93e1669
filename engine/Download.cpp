#include "Download.h"

#include <iterator>
#include <string>

#include "DownBase.h"
#include "DownFTP.h"
#include "DownMMSMng.h"
#include "EngineLock.h"
#include "EngineSettings.h"
#include "Factories.h"
#include "ItemRules.h"
#include "PathParts.h"
#include "TextCopy.h"
#include "UrlModel.h"
#include "UrlRules.h"
#include "sys/Thread.h"

namespace {

// How the job drives one kind of downloader, through the slots of the table that kind has: the
// downloaders' SetUrl and Run, the MMS chooser's one slot later, FTP's own.
using StartRun = void (*)(IEngineObject* made, const char* url, const char* localFile, int redirectDepth,
                          IDownloadSink* sink);

template <class Table, class Class, bool kCapsRedirects>
struct Through {
    static void Start(IEngineObject* made, const char* url, const char* localFile, int redirectDepth,
                      IDownloadSink* sink) {
        Class* downloader = static_cast<Class*>(static_cast<Table*>(made));
        if constexpr (kCapsRedirects) downloader->SetRedirectDepth(redirectDepth);
        downloader->SetUrl(url, localFile);
        downloader->Run(sink);
    }
};

using ThroughDownloader = Through<CDownBase, CDownBase, true>;
using ThroughChooser = Through<IDownMmsChooser, CDownMMSMng, true>;
using ThroughFtp = Through<IDownFtp, IDownFtp, false>;

// One kind of downloader: the URL extensions and the item kind that choose it besides the URL
// schemes that ask for it (kRunSchemes), what makes it and how it runs. The first row that matches
// is chosen; the last takes every other URL.
struct DownloaderRow {
    int32_t kind;
    const char* extensions[3];  // upper case, null-ended
    bool byItemKind;            // an item of this kind runs it whatever its URL
    IEngineObject*(FK_STDCALL* make)();
    StartRun start;
    const char* streamExtension;  // given to a destination without any extension (null: none)
};

const DownloaderRow kDownloaders[] = {
    {KindFtp, {}, true, NEW_DOWNFTP, ThroughFtp::Start, nullptr},
    {KindMms, {"ASF", "WMV"}, true, NEW_DOWNMMSMNG, ThroughChooser::Start, ".asf"},
    {KindRtsp554, {}, false, NEW_DOWNRTSP554, ThroughDownloader::Start, nullptr},
    {KindRtsp80, {}, true, NEW_DOWNRTSP80, ThroughDownloader::Start, nullptr},
    {KindHttp, {}, true, NEW_DOWNHTTP, ThroughDownloader::Start, nullptr},
};

bool Listed(const char* const* names, const std::string& name) {
    for (; *names; ++names) {
        if (name == *names) return true;
    }
    return false;
}

const DownloaderRow& RowOf(int32_t kind) {
    for (const auto& row : kDownloaders) {
        if (row.kind == kind) return row;
    }
    return kDownloaders[std::size(kDownloaders) - 1];
}

}  // namespace

bool CDownload::Init() {
    url_[0] = 0;
    destFile_[0] = 0;
    kind_ = 0;
    outer_ = nullptr;
    urlTooLong_ = false;
    redirectDepth_ = 0;
    return true;
}

bool CDownload::ReturnTrue() { return true; }

bool CDownload::Set(const char* url, const char* destFile, int32_t kind) {
    const std::string encoded = UrlEncode(url ? url : "");
    // A cut URL would fetch something else: one that does not fit fails the run instead.
    urlTooLong_ = encoded.size() >= kUrlSize;
    CopyBounded(url_, sizeof url_, urlTooLong_ ? std::string() : encoded);
    // The file the name opens, the way the item keeps its names.
    CopyBounded(destFile_, sizeof destFile_, FileSystemName(destFile ? destFile : ""));
    kind_ = kind;
    return true;
}

bool CDownload::RunThread(IDownloadSink* sink) {
    outer_ = sink;
    const bool started = sys::StartDetachedThread([this, sink] {
        sys::LowerThreadPriority();
        Run(sink);
        // The item may be freed once it hears this; the job only releases itself after.
        if (sink) sink->RunFinished();
        Release();
    });
    if (!started) {
        if (sink) {
            sink->Log("Cannot start the download thread");
            sink->Failed(DownResultText(ResultMemoryError));
            sink->RunFinished();
        }
        Release();
        return false;
    }
    // The worker owns the job now and may already have released it: nothing of it is answered.
    return true;
}

int32_t CDownload::ChooseKind(const char* url, int32_t kind) {
    const ProtocolKind byScheme = SchemeKind(GetSchemeUpper(url ? url : ""));
    const std::string extension = GetUrlExtensionUpper(url ? url : "");
    for (const auto& row : kDownloaders) {
        if (byScheme == row.kind || Listed(row.extensions, extension) || (row.byItemKind && kind == row.kind)) {
            return row.kind;
        }
    }
    return kDownloaders[std::size(kDownloaders) - 1].kind;
}

void CDownload::Run(IDownloadSink* sink) {
    outer_ = sink;
    Log(("URL: " + UrlWithoutLogin(url_)).c_str());
    const EngineProxy proxy = GetEngineProxy();
    Log(proxy.enabled && !proxy.server.empty() ? "Need proxy" : "No proxy");
    Log(GetUrlUser(url_).empty() ? "No user and password" : "Need user and password");
    if (urlTooLong_) Log("URL too long");
    if (urlTooLong_ || !IsRunnableUrl(url_)) {
        Failed("Invalid URL");
        return;
    }
    ChooseDownloader();
}

void CDownload::ChooseDownloader() {
    const DownloaderRow& row = RowOf(ChooseKind(url_, kind_));
    SetActiveKind(row.kind);
    bool named = true;
    {
        // The file is named before the downloader looks at it: a name another item of the list
        // holds, its own or the one a stream without any extension gets (the extension players know
        // it by), becomes a free one; a name that does not fit the field keeps the old one. From the
        // choice until the item holds it, no other item may take it.
        EngineGuard lock(EngineLock());
        std::string wanted = destFile_;
        if (row.streamExtension && ExtensionDot(wanted) == std::string::npos) {
            wanted += row.streamExtension;
            if (wanted.size() >= sizeof destFile_) {
                Log("The new name does not fit the destination: the file keeps its name");
                wanted = destFile_;
            }
        }
        const std::string free = FreeOutputName(this, wanted);
        named = !free.empty();
        if (named && free != destFile_) {
            CopyBounded(destFile_, sizeof destFile_, free);
            SetDestFile(destFile_);
        }
    }
    if (!named) {
        Log("No free name for the file");
        Failed(DownResultText(ResultFileError));
        return;
    }
    EnginePtr<IEngineObject> downloader(row.make());
    if (!downloader) {
        Failed(DownResultText(ResultMemoryError));
        return;
    }
    row.start(downloader.get(), url_, destFile_, redirectDepth_, this);
}

FK_DEFINE_FACTORIES(DOWNLOAD, CDownload)
