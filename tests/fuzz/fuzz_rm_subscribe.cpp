// Feeds arbitrary text to the RealMedia RTSP downloader's reading of a session description (the
// stream subscription) and checks that it ends, stays within the text, and names only streams of
// the rule books there.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "DownRTSP554.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string sdp(reinterpret_cast<const char*>(data), size);
    const std::string subscribe = CDownRTSP554::MakeSubscribe(sdp);
    size_t entries = 0;
    for (size_t at = 0; (at = subscribe.find("stream=", at)) != std::string::npos; ++at) ++entries;
    // Each rule book takes its key's 18 letters of the text and gives at most two entries.
    if (entries > 2 * (size / 18 + 1)) std::abort();
    return 0;
}
