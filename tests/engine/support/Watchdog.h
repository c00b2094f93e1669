// For work that used to run for hours on damaged input: a test that waits for it would itself
// hang, so the work runs on its own thread and the test ends the process when it overruns.
#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// True when work finished in time. On an overrun the work cannot be cancelled, so the process
// ends with a failure at once instead of waiting for it.
inline bool FinishesWithin(std::chrono::seconds limit, std::function<void()> work) {
    struct State {
        std::mutex lock;
        std::condition_variable done;
        bool finished = false;
    };
    auto state = std::make_shared<State>();
    std::thread([state, work = std::move(work)] {
        work();
        std::lock_guard<std::mutex> guard(state->lock);
        state->finished = true;
        state->done.notify_all();
    }).detach();
    std::unique_lock<std::mutex> guard(state->lock);
    if (state->done.wait_for(guard, limit, [&] { return state->finished; })) return true;
    std::fprintf(stderr, "work still running after %lld s: giving up\n", static_cast<long long>(limit.count()));
    std::fflush(stderr);
    std::_Exit(1);
}
