// Feeds arbitrary RTP frame payloads (with an arbitrary packet size) to the MMS-over-RTSP frame
// reader, and arbitrary descriptions to its SDP reader: an accepted packet always lies inside the
// payload and starts at most 16 bytes behind the payload header (one still longer than a packet is
// the ASF writer's to refuse).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "DownMMS554.h"
#include "TextNumbers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int32_t packetSize = int32_t(data[0]) * 256 + data[1] - 1024;
    // An exact copy, so the address sanitizer sees any read past the payload.
    const std::vector<uint8_t> payload(data + 2, data + size);
    CDownMMS554::DataFrame frame;
    if (CDownMMS554::ParseDataFrame(payload.data(), payload.size(), packetSize, &frame) == 0) {
        if (packetSize <= 0 || frame.offset < 16 || frame.offset > 32 || frame.offset > payload.size() ||
            frame.length != payload.size() - frame.offset) {
            std::abort();
        }
    }
    const std::string sdp(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> controls;
    std::string header;
    const char* error = nullptr;
    if (CDownMMS554::ParseSdp(sdp, &controls, &header, &error) == 0) {
        if (header.size() > sdp.size()) std::abort();
    } else if (!error) {
        std::abort();
    }
    uint64_t length = 0;
    if (ParseByteCount(sdp, 4096, &length) && length > 4096) std::abort();
    return 0;
}
