// The main window with a long download list, in-process on the statically linked engine with its
// download jobs played by the driver (no network, no threads): the start-up that loads the saved
// list and fills the lists, the first paint, an idle tick, Begin All, the tick that redraws every
// row after it, and the tick that moves every row to the finished list. Beside each, the engine
// calls the same step makes, timed alone on a second manager that holds the same list, so that the
// window's own share is the difference.
//   window_driver <folder> [items=10000]
// Prints one line per step: milliseconds of the step, and of its engine calls alone.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "EngineFactories.h"
#include "FakeRuns.h"
#include "Forms.h"
#include "Interface.h"
#include "Main.h"

#include "Clock.h"

namespace {

template <class Work>
double Time(Work work) {
    const double from = Now();
    work();
    return Now() - from;
}

void Report(const char* what, double window, double engine) {
    if (engine < 0) std::printf("%-34s %10.1f ms\n", what, window);
    else std::printf("%-34s %10.1f ms  engine calls alone %10.1f ms\n", what, window, engine);
    std::fflush(stdout);
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A saved list of `items` stopped items, written as the store writes it.
void WriteList(const std::string& path, const std::string& folder, int items) {
    std::ofstream out(path, std::ios::binary);
    out << "[Down]\r\nCount=" << items << "\r\n";
    for (int i = 0; i < items; ++i) {
        out << "[" << i << "]\r\nURL=http://127.0.0.1/item" << i << ".bin\r\nDestFileName=" << folder << "\\item" << i
            << ".bin\r\nState=3\r\n";
    }
}

// What one tick asks the engine: every item's snapshot and changed flag.
void EngineTick(IFetchkeeper& manager) {
    for (ItemHandle h = manager.GetFirstItem(); h; h = manager.GetNextItem(h)) {
        DownItemInfo info{};
        manager.GetItemInfo(h, &info);
        manager.TakeItemChanged(h);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_driver <folder> [items]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int items = argc > 2 ? std::atoi(argv[2]) : 10000;
    const std::string config = folder + "\\config.ini";
    const std::string twin = folder + "\\twin.ini";
    WriteList(config, folder, items);
    WriteList(twin, folder, items);

    ui::TApplication application;
    SetProgramDirectory(folder.c_str());
    BindEngineFactories(StaticManagerFactory(), nullptr);
    FakeRuns runs;
    auto* engine = static_cast<IFetchkeeper*>(StaticManagerFactory()());

    TForm1* form = nullptr;
    const double create = Time([&] {
        form = new TForm1(ui::Application);
        Form1 = form;
    });
    form->Timer1->SetEnabled(false);
    const double createEngine = Time([&] {
        engine->LoadProject(twin.c_str());
        EngineTick(*engine);
    });
    std::printf("%d items, %d rows in the downloading list\n", items, form->ListDown->ItemCount());
    Report("start-up (window built, list loaded)", create, createEngine);

    const double paint = Time([&] {
        form->Show();
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    });
    Pump();
    Report("first paint", paint, -1);

    form->Timer1Timer(form->Timer1);  // the first tick takes the load's changes
    Pump();
    EngineTick(*engine);
    Report("idle tick", Time([&] { form->Timer1Timer(form->Timer1); }), Time([&] { EngineTick(*engine); }));

    const double beginAll = Time([&] { form->pupDownAllClick(form->pupDownAll); });
    const double beginAllEngine = Time([&] {
        for (ItemHandle h = engine->GetFirstItem(); h; h = engine->GetNextItem(h)) {
            DownItemInfo info{};
            engine->GetItemInfo(h, &info);
            if (info.state != DownDownloading) engine->StartItem(h);
        }
        engine->SaveProject(twin.c_str());
    });
    Report("Begin All", beginAll, beginAllEngine);
    Pump();

    const double redrawTick = Time([&] { form->Timer1Timer(form->Timer1); });
    Report("tick after Begin All (redraw)", redrawTick, Time([&] {
               EngineTick(*engine);
               engine->SaveProject(twin.c_str());
           }));

    // Each end lets the scheduler start a waiting item, whose run is ended in turn.
    for (size_t i = 0; i < runs.runs.size(); ++i) {
        FakeRun& run = *runs.runs[i];
        if (run.ended) continue;
        run.sink->SetTotalSize(1000);
        run.sink->SetDownloaded(1000);
        run.sink->Succeeded();
        runs.End(run);
    }
    const double moveTick = Time([&] { form->Timer1Timer(form->Timer1); });
    Report("tick moving every row", moveTick, Time([&] {
               EngineTick(*engine);
               engine->SaveProject(twin.c_str());
           }));
    std::printf("rows: downloading %d, finished %d\n", form->ListDown->ItemCount(), form->ListDowned->ItemCount());
    Pump();

    delete form;
    Form1 = nullptr;
    engine->Release();
    BindEngineFactories(nullptr, nullptr);
    return 0;
}
