// Settings shared by every manager and read by every downloader: one set per loaded library.
#pragma once
#include <cstdint>
#include <string>

#include "SettingRules.h"

// Runs going at once past which a start asked for by the program leaves the item waiting for the
// scheduler: a 32-bit process holds only a few hundred worker threads.
constexpr int32_t kRunsAtOnceMax = 200;

// A download never waits longer than this for one answer, whatever the setting says (seconds).
constexpr int32_t kTimeOutMax = 86400;
// The engine's one reading of a time-out: seconds held within kTimeOutMin..kTimeOutMax, so that
// no wait fails at once and none lasts without limit.
int32_t BoundedTimeOut(int32_t seconds);
// The same as the milliseconds of one wait.
int TimeOutToMs(int32_t seconds);
// How often a wait looks at the stop request (and whatever else it watches meanwhile).
constexpr int kStopCheckMs = 200;

struct EngineProxy {
    std::string server;
    int32_t port = 0;
    bool enabled = false;
};

int32_t GetEngineTimeOut();  // seconds; 60 until the program applies its stored value
void SetEngineTimeOut(int32_t seconds);
EngineProxy GetEngineProxy();
void SetEngineProxy(const EngineProxy& proxy);
