// Runs one MMS transport downloader of the engine on one URL, synchronously, as the download job
// would: the engine's side of the MMS benchmark. Exit code 0 on success; the log goes to stderr
// on a failure.
//   mms_driver TRANSPORT URL LOCAL_FILE       (TRANSPORT: http, tcp or rtsp)
#include <cstdio>
#include <cstring>
#include <string>

#include "DownBase.h"
#include "EngineSettings.h"
#include "Factories.h"

namespace {

class QuietSink final : public IDownloadSink {
public:
    void FK_STDCALL SetTotalSize(int32_t) override {}
    void FK_STDCALL SetDownloaded(int32_t) override {}
    void FK_STDCALL Succeeded() override {}
    void FK_STDCALL Failed(const char* text) override { log += std::string("FAILED: ") + (text ? text : "") + "\n"; }
    void FK_STDCALL Log(const char* text) override { log += text ? text : ""; }
    void FK_STDCALL SetContentKind(int32_t) override {}
    void FK_STDCALL SetDestFile(const char*) override {}
    void FK_STDCALL SetActiveKind(int32_t) override {}
    bool FK_STDCALL IsStopped() override { return false; }
    void FK_STDCALL Restart() override {}
    void FK_STDCALL SetUrl(const char*) override {}
    void FK_STDCALL RunFinished() override {}
    bool FK_STDCALL MustEnd() override { return false; }
    std::string log;
};

struct Transport {
    const char* name;
    IEngineObject* (FK_STDCALL* make)();
};

const Transport kTransports[] = {
    {"http", NEW_DOWNMMS80},
    {"tcp", NEW_DOWNMMS1755},
    {"rtsp", NEW_DOWNMMS554},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s TRANSPORT URL LOCAL_FILE\n", argv[0]);
        return 2;
    }
    SetEngineTimeOut(30);
    for (const auto& transport : kTransports) {
        if (std::strcmp(transport.name, argv[1]) != 0) continue;
        auto* downloader = static_cast<CDownBase*>(transport.make());
        if (!downloader) return 2;
        QuietSink sink;
        downloader->SetUrl(argv[2], argv[3]);
        const int32_t code = downloader->Run(&sink);
        downloader->Release();
        if (code != 0) std::fwrite(sink.log.data(), 1, sink.log.size(), stderr);
        return code == 0 ? 0 : 1;
    }
    std::fprintf(stderr, "unknown transport %s\n", argv[1]);
    return 2;
}
