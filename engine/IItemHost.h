// The manager's face towards its items and the playlist follower.
#pragma once
#include <cstdint>

#include "EngineTypes.h"

class IItemHost {
public:
    virtual void FK_STDCALL AddFoundItem(const char* url, const char* destDir, int32_t kind) = 0;
    virtual void FK_STDCALL ItemFinished() = 0;
    // After the fixed two: a found item that lies depth playlists below one the user added. A
    // host that keeps no depth adds it as any found item.
    virtual void FK_STDCALL AddFoundItemAtDepth(const char* url, const char* destDir, int32_t kind, int32_t depth) {
        (void)depth;
        AddFoundItem(url, destDir, kind);
    }

protected:
    ~IItemHost() = default;
};
