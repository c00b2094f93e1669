// Settings shared by every manager and read by every downloader: one set per loaded library.
#pragma once
#include <cstdint>
#include <string>

struct EngineProxy {
    std::string server;
    int32_t port = 0;
    bool enabled = false;
};

int32_t GetEngineTimeOut();  // seconds; 60 until the program applies its stored value
void SetEngineTimeOut(int32_t seconds);
EngineProxy GetEngineProxy();
void SetEngineProxy(const EngineProxy& proxy);
