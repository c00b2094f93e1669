// The host a playlist follower adds its entries through. Each entry lies one playlist deeper than
// the item whose file named it; a server that hands out an endless chain of new playlists would
// otherwise grow the list without end, so a chain deeper than kMaxPlaylistDepth is not followed.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "IItemHost.h"

class CFoundItemHost final : public IItemHost {
public:
    static constexpr int32_t kMaxPlaylistDepth = 5;

    // parentDepth: how many playlists lie above the item whose file is followed (0: the user's).
    // log: a line for the followed item's log.
    CFoundItemHost(IItemHost* host, int32_t parentDepth, std::function<void(const char*)> log);

    void FK_STDCALL AddFoundItem(const char* url, const char* destDir, int32_t kind) override;
    void FK_STDCALL ItemFinished() override;

private:
    IItemHost* host_;
    int32_t depth_;  // of the entries found
    std::function<void(const char*)> log_;
    bool refusalLogged_ = false;
};
