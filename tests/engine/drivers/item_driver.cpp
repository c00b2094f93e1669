// Queues one URL through the engine's manager and waits until the item has finished or failed,
// as the program would: the process that the kill test kills with SIGKILL and starts again.
//   item_driver URL DEST_DIR FILE_NAME TIME_OUT_SECONDS
// Exit code 0 when the item finished, 1 when it failed (its log then goes to stderr), 2 on misuse.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "EngineSettings.h"
#include "Factories.h"
#include "Fetchkeeper.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s URL DEST_DIR FILE_NAME TIME_OUT_SECONDS\n", argv[0]);
        return 2;
    }
    SetEngineTimeOut(std::atoi(argv[4]));
    auto* manager = static_cast<CFetchkeeper*>(NEW_FETCHKEEPER());
    if (!manager || !manager->AddItem(argv[1], argv[2], argv[3])) return 2;
    ItemHandle item = manager->GetFirstItem();
    DownItemInfo info{};
    do {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        manager->GetItemInfo(item, &info);
    } while (info.state == DownWaiting || info.state == DownDownloading);
    const bool finished = info.state == DownFinished;
    if (!finished && info.logText) std::fwrite(info.logText, 1, info.logLength, stderr);
    manager->Release();
    return finished ? 0 : 1;
}
