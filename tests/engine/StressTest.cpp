// Worker threads report into items while another thread enumerates and reads them: under the
// thread sanitizer this shows any unguarded access; in every build it checks the scheduler never
// lets more items download than the maximum.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <mutex>
#include <thread>
#include <vector>

#include "Collaborators.h"
#include "EngineLock.h"
#include "Factories.h"
#include "Fetchkeeper.h"

namespace {

std::atomic<int> g_liveThreads{0};
std::atomic<int> g_runsStarted{0};
// The runs' threads, joined before a test ends: a thread still ending while the process exits
// can crash it.
std::mutex g_threadsMutex;
std::vector<std::thread> g_threads;

void JoinRunThreads() {
    while (g_liveThreads > 0) std::this_thread::yield();
    // No run is live, so none can start another: the list is complete.
    std::lock_guard<std::mutex> lock(g_threadsMutex);
    for (std::thread& t : g_threads) t.join();
    g_threads.clear();
}

// A job whose thread plays a short download: sizes, log lines, then success or failure. Every
// third run fails as the plain HTTP downloader, so the item falls back and starts again from the
// worker thread.
class ThreadedJob final : public EngineObject<ThreadedJob, IDownloadJob> {
public:
    bool FK_STDCALL ReturnTrue() override { return true; }
    bool FK_STDCALL Set(const char*, const char*, int32_t kind) override {
        kind_ = kind;
        return true;
    }
    bool FK_STDCALL RunThread(IDownloadSink* sink) override {
        ++g_liveThreads;
        const int number = g_runsStarted++;
        std::thread run([this, sink, number] {
            Run(sink, number);
            sink->RunFinished();
            Release();
            --g_liveThreads;
        });
        std::lock_guard<std::mutex> lock(g_threadsMutex);
        g_threads.push_back(std::move(run));
        return true;
    }
    void FK_STDCALL Run(IDownloadSink*) override {}

private:
    void Run(IDownloadSink* sink, int number) {
        sink->SetActiveKind(kind_ == KindRtsp80 ? KindRtsp80 : KindHttp);
        sink->SetTotalSize(1000);
        for (int i = 1; i <= 20; ++i) {
            if (sink->IsStopped()) break;
            sink->SetDownloaded(i * 50);
            sink->Log("Receiving data......");
            std::this_thread::yield();
        }
        if (number % 3 == 0 && kind_ != KindRtsp80) {
            sink->Failed("RECEIVE DATA ERROR");
        } else {
            sink->Succeeded();
        }
    }
    int32_t kind_ = 0;
};

IDownloadJob* MakeThreadedJob() { return static_cast<IDownloadJob*>(CreateEngineObject<ThreadedJob>()); }

int DownloadingNow(CFetchkeeper& manager) {
    // Under the engine lock the count is one consistent view of the list.
    EngineGuard lock(EngineLock());
    int n = 0;
    for (ItemHandle h = manager.GetFirstItem(); h; h = manager.GetNextItem(h)) {
        DownItemInfo info{};
        manager.GetItemInfo(h, &info);
        n += info.state == DownDownloading;
    }
    return n;
}

TEST(Stress, WorkersAndReaderShareTheList) {
    SetCollaboratorFactories(&MakeThreadedJob, nullptr);
    EnginePtr<CFetchkeeper> manager(static_cast<CFetchkeeper*>(NEW_FETCHKEEPER()));
    const int kItems = 60;
    const int kMax = 3;

    std::atomic<bool> adding{true};
    std::thread adder([&] {
        for (int i = 0; i < kItems; ++i) {
            const std::string url = "http://host.example/file" + std::to_string(i) + ".bin";
            manager->AddItem(url.c_str(), "C:\\dl\\", ("file" + std::to_string(i) + ".bin").c_str());
        }
        adding = false;
    });

    int most = 0;
    size_t logBytes = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (;;) {
        most = std::max(most, DownloadingNow(*manager));
        int busy = 0;
        for (ItemHandle h = manager->GetFirstItem(); h; h = manager->GetNextItem(h)) {
            DownItemInfo info{};
            manager->GetItemInfo(h, &info);
            manager->TakeItemChanged(h);
            if (info.logText) logBytes += std::string(info.logText, info.logLength).size();
            busy += info.state == DownWaiting || info.state == DownDownloading;
        }
        if (!adding && busy == 0) break;
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the queue stalled";
    }
    adder.join();

    EXPECT_LE(most, kMax);
    EXPECT_GT(logBytes, 0u);
    EXPECT_EQ(manager->GetCount(), kItems);
    int finished = 0;
    for (ItemHandle h = manager->GetFirstItem(); h; h = manager->GetNextItem(h)) {
        DownItemInfo info{};
        manager->GetItemInfo(h, &info);
        finished += info.state == DownFinished;
    }
    // A failed first run falls back once; the second run of that item always succeeds here.
    EXPECT_EQ(finished, kItems);

    manager.reset();
    JoinRunThreads();
    SetCollaboratorFactories(nullptr, nullptr);
}

TEST(Stress, StopsAndRemovalsWhileWorkersRun) {
    SetCollaboratorFactories(&MakeThreadedJob, nullptr);
    EnginePtr<CFetchkeeper> manager(static_cast<CFetchkeeper*>(NEW_FETCHKEEPER()));
    manager->SetMaxThread(5);
    for (int i = 0; i < 40; ++i) {
        const std::string url = "http://host.example/s" + std::to_string(i);
        manager->AddItem(url.c_str(), "C:\\dl\\", ("s" + std::to_string(i)).c_str());
        std::vector<ItemHandle> all;
        for (ItemHandle h = manager->GetFirstItem(); h; h = manager->GetNextItem(h)) all.push_back(h);
        for (ItemHandle h : all) {
            if (i % 2) manager->StopItem(h);
            manager->StartItem(h);
            manager->RemoveItem(h);  // deletes, or frees an already deleted item whose run ended
        }
    }
    manager->RemoveAll();
    EXPECT_EQ(manager->GetCount(), 0);
    manager.reset();
    JoinRunThreads();
    SetCollaboratorFactories(nullptr, nullptr);
}

}  // namespace
