// Records what items ask of their manager.
#pragma once
#include <string>
#include <vector>

#include "IItemHost.h"

class FakeHost final : public IItemHost {
public:
    struct Found {
        std::string url, destDir;
        int32_t kind;
        int32_t depth = 0;  // 0: added without a depth
    };
    void FK_STDCALL AddFoundItem(const char* url, const char* destDir, int32_t kind) override {
        found.push_back({url, destDir, kind});
    }
    void FK_STDCALL AddFoundItemAtDepth(const char* url, const char* destDir, int32_t kind, int32_t depth) override {
        found.push_back({url, destDir, kind, depth});
    }
    void FK_STDCALL ItemFinished() override { ++finished; }

    std::vector<Found> found;
    int finished = 0;
};
