// The engine with a long download list: a config.ini with `items` saved items is written, and the
// driver times, each `rounds` times: LoadProject into a new manager, SaveProject over the existing
// file, one poll pass (enumerate, GetItemInfo and TakeItemChanged for every item, as the program's
// refresh does; ten times as many rounds, after a first pass timed apart), and AddItem of one more
// item. No item runs: the job factory makes none, so the scheduler's work is timed and not a
// worker thread's start.
//   list_driver FOLDER ITEMS [rounds=3] [load=1]
// load=0 leaves the timed loads out (after one untimed load that fills the manager).
// Prints one line per operation (median and slowest, milliseconds) and the peak memory.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include "Collaborators.h"
#include "../common/ListConfig.h"
#include "Factories.h"
#include "Fetchkeeper.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisSince(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

IDownloadJob* NoJob() { return nullptr; }

CFetchkeeper* NewManager() { return static_cast<CFetchkeeper*>(NEW_FETCHKEEPER()); }

void Report(const char* what, int items, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%-12s %6d items: median %10.3f ms  max %10.3f ms  (%zu rounds)\n", what, items,
                times[times.size() / 2], times.back(), times.size());
    std::fflush(stdout);
}

double PeakMiB() {
#if defined(_WIN32)
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
    return double(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FOLDER ITEMS [rounds=3] [load=1]\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const int items = std::atoi(argv[2]);
    const int rounds = std::max(1, argc > 3 ? std::atoi(argv[3]) : 3);
    const bool timeLoads = argc > 4 ? std::atoi(argv[4]) != 0 : true;
    const std::string config = folder + "/config.ini";
    if (!WriteListConfig(config, folder, items)) return 2;
    SetCollaboratorFactories(NoJob, nullptr);

    std::vector<double> loads;
    for (int i = 0; i < (timeLoads ? rounds : 0); ++i) {
        CFetchkeeper* manager = NewManager();
        const auto from = Clock::now();
        const bool loaded = manager && manager->LoadProject(config.c_str());
        loads.push_back(MillisSince(from));
        if (!loaded || manager->GetCount() != items) {
            std::fprintf(stderr, "the list did not load\n");
            return 1;
        }
        manager->Release();
    }
    if (!loads.empty()) Report("load", items, loads);

    CFetchkeeper* manager = NewManager();
    if (!manager || !manager->LoadProject(config.c_str()) || manager->GetCount() != items) {
        std::fprintf(stderr, "the list did not load\n");
        return 1;
    }
    std::vector<double> saves, polls, adds;
    for (int i = 0; i < rounds; ++i) {
        const auto from = Clock::now();
        const bool saved = manager->SaveProject(config.c_str());
        saves.push_back(MillisSince(from));
        if (!saved) {
            std::fprintf(stderr, "save %d failed\n", i);
            return 1;
        }
    }
    Report("save", items, saves);

    // The first pass makes each item's snapshot copies; the program polls every second, so the
    // passes after it are the usual cost, and they are cheap enough to take many of.
    std::vector<double> firstPoll;
    for (int i = 0; i < 1 + rounds * 10; ++i) {
        int seen = 0;
        const auto from = Clock::now();
        for (ItemHandle h = manager->GetFirstItem(); h; h = manager->GetNextItem(h)) {
            DownItemInfo info{};
            manager->GetItemInfo(h, &info);
            manager->TakeItemChanged(h);
            ++seen;
        }
        (i == 0 ? firstPoll : polls).push_back(MillisSince(from));
        if (seen != manager->GetCount()) {
            std::fprintf(stderr, "the poll saw %d items\n", seen);
            return 1;
        }
    }
    Report("first poll", items, firstPoll);
    Report("poll", items, polls);

    for (int i = 0; i < rounds; ++i) {
        const std::string url = "http://media.example.net/new/clip-" + std::to_string(i) + ".asf";
        const std::string name = "new-" + std::to_string(i) + ".asf";
        const std::string dir = folder + "\\Downloads\\";
        const auto from = Clock::now();
        manager->AddItem(url.c_str(), dir.c_str(), name.c_str());
        adds.push_back(MillisSince(from));
    }
    if (manager->GetCount() != items + rounds) {
        std::fprintf(stderr, "the added items are not listed\n");
        return 1;
    }
    Report("last AddItem", items, adds);
    manager->Release();
    std::printf("%-12s %6d items: %10.1f MiB\n", "peak memory", items, PeakMiB());
    return 0;
}
