#include "FakeRuns.h"

#include "Factories.h"

FakeRuns* FakeRuns::current = nullptr;

namespace {

class FakeJob final : public EngineObject<FakeJob, IDownloadJob> {
public:
    bool FK_STDCALL ReturnTrue() override { return true; }
    bool FK_STDCALL Set(const char* url, const char* destFile, int32_t kind) override {
        run_ = std::make_unique<FakeRun>();
        run_->url = url;
        run_->destFile = destFile;
        run_->kind = kind;
        return true;
    }
    bool FK_STDCALL RunThread(IDownloadSink* sink) override {
        if (FakeRuns::current->failAtStart) {
            sink->Failed("MEMORY ERROR");
            sink->RunFinished();
            Release();
            return false;
        }
        run_->sink = sink;
        run_->job = this;
        FakeRuns::current->runs.push_back(std::move(run_));
        return true;
    }
    void FK_STDCALL Run(IDownloadSink*) override {}

private:
    std::unique_ptr<FakeRun> run_;
};

class FakeRedirect final : public EngineObject<FakeRedirect, IRedirect> {
public:
    bool FK_STDCALL ReturnTrue() override { return true; }
    void FK_STDCALL Run(const char* url, const char* destFile, int32_t contentKind,
                        IItemHost* host) override {
        FakeRuns::current->redirects.push_back({url, destFile, contentKind, host});
        for (const std::string& found : FakeRuns::current->foundUrls) {
            if (host) host->AddFoundItem(found.c_str(), "C:\\dl\\", 0);
        }
    }
};

IDownloadJob* MakeJob() {
    if (FakeRuns::current->refuseJobs) return nullptr;
    return static_cast<IDownloadJob*>(CreateEngineObject<FakeJob>());
}

IRedirect* MakeRedirect() {
    if (FakeRuns::current->refuseRedirects) return nullptr;
    if (FakeRuns::current->realRedirects) return static_cast<IRedirect*>(NEW_REDIRECT());
    return static_cast<IRedirect*>(CreateEngineObject<FakeRedirect>());
}

}  // namespace

FakeRuns::FakeRuns() {
    current = this;
    SetCollaboratorFactories(&MakeJob, &MakeRedirect);
}

FakeRuns::~FakeRuns() {
    EndAll();
    SetCollaboratorFactories(nullptr, nullptr);
    current = nullptr;
}

void FakeRuns::End(FakeRun& run) {
    if (run.ended) return;
    run.ended = true;
    run.sink->RunFinished();
    run.job->Release();
}

void FakeRuns::EndAll() {
    // Ending a run may start others (a fallback); walk by index as the vector grows.
    for (size_t i = 0; i < runs.size(); ++i) End(*runs[i]);
}
