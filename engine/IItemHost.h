// The manager's face towards its items and the playlist follower.
#pragma once
#include <cstdint>

#include "EngineTypes.h"

class IItemHost {
public:
    virtual void FK_STDCALL AddFoundItem(const char* url, const char* destDir, int32_t kind) = 0;
    virtual void FK_STDCALL ItemFinished() = 0;

protected:
    ~IItemHost() = default;
};
