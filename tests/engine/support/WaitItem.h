// Waits until a manager's item has left the waiting and downloading states (or the time is up) and
// returns its last snapshot, for tests that drive whole downloads through the manager.
#pragma once
#include <chrono>
#include <thread>

#include "Fetchkeeper.h"

inline DownItemInfo WaitItemSettled(CFetchkeeper& manager, ItemHandle item, std::chrono::seconds limit) {
    DownItemInfo info{};
    const auto deadline = std::chrono::steady_clock::now() + limit;
    do {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        manager.GetItemInfo(item, &info);
    } while ((info.state == DownWaiting || info.state == DownDownloading) && std::chrono::steady_clock::now() < deadline);
    return info;
}
