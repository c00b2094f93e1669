#include <chrono>
#include <condition_variable>
#include <mutex>

#include "../Event.h"

namespace sys {

struct Event::State {
    std::mutex lock;
    std::condition_variable raised;
    bool set = false;
};

Event::Event() : state_(std::make_unique<State>()) {}

Event::~Event() = default;

void Event::Set() {
    std::lock_guard<std::mutex> guard(state_->lock);
    state_->set = true;
    state_->raised.notify_all();
}

void Event::Reset() {
    std::lock_guard<std::mutex> guard(state_->lock);
    state_->set = false;
}

bool Event::Wait(int timeoutMs) {
    std::unique_lock<std::mutex> guard(state_->lock);
    const auto isSet = [this] { return state_->set; };
    if (timeoutMs < 0) {
        state_->raised.wait(guard, isSet);
        return true;
    }
    return state_->raised.wait_for(guard, std::chrono::milliseconds(timeoutMs), isSet);
}

}  // namespace sys
