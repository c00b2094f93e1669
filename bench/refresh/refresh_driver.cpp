// The cost of one refresh of the main window (its timer's tick: new rows, then every item's
// snapshot, changed rows and the shown item's log) with many items whose logs are long. The window
// is built in-process from the program's own resources on the statically linked engine; each
// item's log is written through its run's sink, and the run is then stopped and ended, so the
// items stay in the downloading list. Also timed alone: the engine calls one refresh makes
// (a snapshot and the changed flag of every item).
//   refresh_driver [items=500] [log_bytes=20480] [refreshes=200]
// Prints the median and the mean of each, in microseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "EngineFactories.h"
#include "FakeRuns.h"
#include "Forms.h"
#include "Interface.h"
#include "Main.h"
#include "TempDir.h"

namespace {

double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    return double(to.QuadPart - from.QuadPart) * 1e6 / double(frequency.QuadPart);
}

template <class Work>
std::vector<double> Time(int rounds, Work work) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        LARGE_INTEGER from, to;
        QueryPerformanceCounter(&from);
        work();
        QueryPerformanceCounter(&to);
        times.push_back(Microseconds(from, to));
    }
    return times;
}

void Report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const double mean = std::accumulate(times.begin(), times.end(), 0.0) / double(times.size());
    std::printf("%-28s median %10.1f us  mean %10.1f us  (%zu runs)\n", what, times[times.size() / 2], mean,
                times.size());
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int items = argc > 1 ? std::atoi(argv[1]) : 500;
    const int logBytes = argc > 2 ? std::atoi(argv[2]) : 20480;
    const int refreshes = argc > 3 ? std::atoi(argv[3]) : 200;

    ui::TApplication application;
    TempDir dir;
    std::string folder = dir.Dir();
    folder.pop_back();
    SetProgramDirectory(folder.c_str());
    BindEngineFactories(StaticManagerFactory(), nullptr);
    FakeRuns runs;
    auto* form = new TForm1(ui::Application);
    Form1 = form;
    form->Timer1->SetEnabled(false);
    IFetchkeeper* manager = form->Manager();

    const std::string line(98, 'x');  // 100 bytes a line with its CR LF
    for (int i = 0; i < items; ++i) {
        const std::string name = "item" + std::to_string(i) + ".bin";
        manager->AddItem(("http://127.0.0.1/" + name).c_str(), dir.Dir().c_str(), name.c_str());
        FakeRun& run = *runs.runs.back();
        for (int written = 0; written < logBytes; written += int(line.size()) + 2) run.sink->Log(line.c_str());
        ItemHandle item = nullptr;
        for (ItemHandle h = manager->GetFirstItem(); h; h = manager->GetNextItem(h)) item = h;
        manager->StopItem(item);
        run.sink->Failed("USER CANCEL THE OPERATION");
        runs.End(run);
    }
    // The first tick gives every item its row and shows the last one's log.
    form->Timer1Timer(form->Timer1);
    Pump();
    std::printf("%d items, logs of %d bytes, %d rows in the downloading list\n", items, logBytes,
                form->ListDown->ItemCount());

    Report("refresh (timer tick)", Time(refreshes, [&] { form->Timer1Timer(form->Timer1); }));
    Report("engine calls of a refresh", Time(refreshes, [&] {
               for (ItemHandle h = manager->GetFirstItem(); h; h = manager->GetNextItem(h)) {
                   DownItemInfo info{};
                   manager->GetItemInfo(h, &info);
                   manager->TakeItemChanged(h);
               }
           }));

    delete form;
    Form1 = nullptr;
    BindEngineFactories(nullptr, nullptr);
    return 0;
}
