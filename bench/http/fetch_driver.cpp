// Queues one URL through the engine's manager and waits until the item has finished or failed:
// the engine's side of the HTTP throughput benchmark. Exit code 0 when the item finished.
//   fetch_driver URL DEST_DIR FILE_NAME
#include <chrono>
#include <cstdio>
#include <thread>

#include "EngineSettings.h"
#include "Factories.h"
#include "Fetchkeeper.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s URL DEST_DIR FILE_NAME\n", argv[0]);
        return 2;
    }
    SetEngineTimeOut(30);
    auto* manager = static_cast<CFetchkeeper*>(NEW_FETCHKEEPER());
    if (!manager || !manager->AddItem(argv[1], argv[2], argv[3])) return 2;
    ItemHandle item = manager->GetFirstItem();
    DownItemInfo info{};
    do {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        manager->GetItemInfo(item, &info);
    } while (info.state == DownWaiting || info.state == DownDownloading);
    const bool finished = info.state == DownFinished;
    if (!finished && info.logText) std::fwrite(info.logText, 1, info.logLength, stderr);
    manager->Release();
    return finished ? 0 : 1;
}
