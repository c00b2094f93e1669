// Stands in for the download job and the playlist follower so that items can be driven without a
// network: every run an item starts is recorded, and the test plays the downloader's part through
// the run's sink.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Collaborators.h"
#include "EngineObject.h"

struct FakeRun {
    std::string url, destFile;
    int32_t kind = 0;
    IDownloadSink* sink = nullptr;
    IDownloadJob* job = nullptr;
    bool ended = false;
};

struct RedirectCall {
    std::string url, destFile;
    int32_t contentKind;
    IItemHost* host;
};

class FakeRuns {
public:
    FakeRuns();
    ~FakeRuns();

    // The worker's last step: the job tells its sink it is done and is released.
    void End(FakeRun& run);
    void EndAll();

    std::vector<std::unique_ptr<FakeRun>> runs;
    std::vector<RedirectCall> redirects;
    bool refuseJobs = false;
    // Runs fail before RunThread returns, as a job whose worker thread cannot start does.
    bool failAtStart = false;
    bool refuseRedirects = false;
    // The library's own playlist follower instead of the recording one.
    bool realRedirects = false;
    // URLs the recording follower adds through the host it is given, as if a playlist named them.
    std::vector<std::string> foundUrls;

    static FakeRuns* current;
};
