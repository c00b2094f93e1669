// For work that used to run for hours on damaged input: a test that waits for it would itself
// hang, so the work runs on its own thread and the test ends the process when it overruns.
#pragma once
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "sys/Event.h"
#include "sys/Thread.h"

// True when work finished in time. On an overrun the work cannot be cancelled, so the process
// ends with a failure at once instead of waiting for it.
inline bool FinishesWithin(std::chrono::seconds limit, std::function<void()> work) {
    auto done = std::make_shared<sys::Event>();
    const bool started = sys::StartDetachedThread([done, work = std::move(work)] {
        work();
        done->Set();
    });
    if (!started) {
        std::fprintf(stderr, "no thread for the work\n");
        return false;
    }
    if (done->Wait(static_cast<int>(std::chrono::milliseconds(limit).count()))) return true;
    std::fprintf(stderr, "work still running after %lld s: giving up\n", static_cast<long long>(limit.count()));
    std::fflush(stderr);
    std::_Exit(1);
}
