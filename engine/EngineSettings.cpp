#include "EngineSettings.h"

#include <mutex>

namespace {
std::mutex g_lock;
int32_t g_timeOut = 60;
EngineProxy g_proxy;
}  // namespace

int32_t BoundedTimeOut(int32_t seconds) {
    return seconds < kTimeOutMin ? kTimeOutMin : seconds > kTimeOutMax ? kTimeOutMax : seconds;
}

int TimeOutToMs(int32_t seconds) { return BoundedTimeOut(seconds) * 1000; }

int32_t GetEngineTimeOut() {
    std::lock_guard<std::mutex> lock(g_lock);
    return g_timeOut;
}

void SetEngineTimeOut(int32_t seconds) {
    std::lock_guard<std::mutex> lock(g_lock);
    g_timeOut = seconds;
}

EngineProxy GetEngineProxy() {
    std::lock_guard<std::mutex> lock(g_lock);
    return g_proxy;
}

void SetEngineProxy(const EngineProxy& proxy) {
    std::lock_guard<std::mutex> lock(g_lock);
    g_proxy = proxy;
}
