// Sets the engine-wide time-out for as long as it lives (a test fixture's member) and gives the one
// before back at its end, so a short time-out of one test never leaks into the next.
#pragma once

#include <cstdint>

#include "EngineSettings.h"

class ScopedEngineTimeOut {
public:
    explicit ScopedEngineTimeOut(int32_t seconds) : saved_(GetEngineTimeOut()) { SetEngineTimeOut(seconds); }
    ~ScopedEngineTimeOut() { SetEngineTimeOut(saved_); }
    ScopedEngineTimeOut(const ScopedEngineTimeOut&) = delete;
    ScopedEngineTimeOut& operator=(const ScopedEngineTimeOut&) = delete;

private:
    const int32_t saved_;
};
