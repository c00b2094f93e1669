#include "FoundItemHost.h"

#include <utility>

CFoundItemHost::CFoundItemHost(IItemHost* host, int32_t parentDepth, std::function<void(const char*)> log)
    : host_(host), depth_(parentDepth + 1), log_(std::move(log)) {}

void CFoundItemHost::AddFoundItem(const char* url, const char* destDir, int32_t kind) {
    if (!host_) return;
    if (depth_ > kMaxPlaylistDepth) {
        if (!refusalLogged_ && log_) {
            log_(("Playlist not followed: more than " + std::to_string(kMaxPlaylistDepth) +
                  " playlists deep").c_str());
        }
        refusalLogged_ = true;
        return;
    }
    host_->AddFoundItemAtDepth(url, destDir, kind, depth_);
}

void CFoundItemHost::ItemFinished() {
    if (host_) host_->ItemFinished();
}
