// The redirect step every downloader follows, whatever its protocol says a new location with.
#include <algorithm>

#include "DownBase.h"
#include "EngineLock.h"
#include "EngineTypes.h"
#include "ItemRules.h"
#include "PathParts.h"
#include "UrlModel.h"
#include "UrlRules.h"

int32_t CDownBase::FollowRedirectLocation(const std::string& location) {
    if (location.size() <= 4) {
        Log("invalid redirect location");
        return ResultShakeHandError;
    }
    if (redirectDepth_ >= kMaxRedirects) {
        Log("too many redirects");
        return ResultShakeHandError;
    }
    const std::string decoded = UrlDecode(location);
    // A control byte is in no address; a NUL would cut the URL wherever it is handed on.
    if (std::any_of(decoded.begin(), decoded.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
        Log("invalid redirect location");
        return ResultShakeHandError;
    }
    const std::string target = ResolveRedirectLocation(requestUrl_, decoded);
    // The login goes only where the user gave it (UrlRules.h).
    const std::string next = WithRedirectLogin(requestUrl_, target, port_, user_, password_);
    // The builders refuse what the item's URL field cannot hold: a cut URL would fetch what
    // nobody named.
    if (next.empty()) {
        Log("redirect location too long");
        return ResultShakeHandError;
    }
    // A name that is no file of its own ("..", a device such as "con.rm"), or that the item's
    // destination field cannot hold, keeps the current one.
    const std::string name = GetUrlFileName(target);
    const std::string renamed = FolderOf(localFile_) + name;
    const std::string wanted = IsUsableFileName(name) && renamed.size() < kPathSize ? renamed : localFile_;
    Log("REDIRECT");
    if (sink_) {
        {
            // A name another item holds is not taken: the next run gets a free one, and checks the
            // file under it as its first name. From the choice until the item holds it, no other
            // item may take it.
            EngineGuard lock(EngineLock());
            const std::string free = FreeOutputName(sink_, wanted);
            if (!free.empty()) localFile_ = free;
            sink_->SetDestFile(localFile_.c_str());
        }
        sink_->SetUrl(next.c_str());
        Close();
        sink_->Restart();
    }
    return ResultRedirected;
}
