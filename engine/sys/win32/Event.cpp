#include <windows.h>

#include "../Event.h"

namespace sys {

struct Event::State {
    HANDLE handle = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~State() {
        if (handle) CloseHandle(handle);
    }
};

Event::Event() : state_(std::make_unique<State>()) {}

Event::~Event() = default;

void Event::Set() { SetEvent(state_->handle); }

void Event::Reset() { ResetEvent(state_->handle); }

bool Event::Wait(int timeoutMs) {
    const DWORD limit = timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs);
    return WaitForSingleObject(state_->handle, limit) == WAIT_OBJECT_0;
}

}  // namespace sys
