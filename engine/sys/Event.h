// A flag that one thread raises and others wait for, with a time-out: the platform's own event on
// Windows, a condition variable elsewhere.
#pragma once
#include <memory>

namespace sys {

class Event {
public:
    Event();
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    // Raised until Reset; every waiter, present and later, sees it.
    void Set();
    void Reset();
    // True once raised; false when timeoutMs passed first (< 0 waits without limit).
    bool Wait(int timeoutMs);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace sys
