// Feeds an arbitrary byte stream to the MMS-over-TCP readers as a server would send it: the reply
// to the first command (version check), the header units, then stream units until the bytes run
// out. Every unit read stays within its announced length and the bound on commands; the header
// handed to the ASF parser holds only header data; data packets go through the parser's index.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "AsfParser.h"
#include "DownMMS1755.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t at = 0;
    const CDownMMS1755::ReceiveExactFn receive = [&](void* out, int32_t count) {
        if (count < 0 || size - at < size_t(count)) return false;
        std::memcpy(out, data + at, size_t(count));
        at += size_t(count);
        return true;
    };
    std::vector<uint8_t> reply;
    if (CDownMMS1755::ReadCommand(receive, reply) == 0) {
        if (reply.size() > 16 + CDownMMS1755::kMaxCommandLength) std::abort();
        CDownMMS1755::CheckServerVersion(reply);
    }
    std::vector<uint8_t> header;
    int pongs = 0;
    if (CDownMMS1755::CollectHeader(receive, [&] { ++pongs; }, header) != 0) return 0;
    if (header.size() > size) std::abort();
    auto parser = CAsfParser::Create(header.data(), header.size());
    if (!parser) return 0;
    const int32_t packetSize = parser->GetMaxPacketSize();
    std::vector<uint8_t> unit;
    uint32_t written = 0;
    while (CDownMMS1755::ReadUnit(receive, unit) == 0) {
        if (unit.size() < 8) std::abort();
        if (CDownMMS1755::IsCommandUnit(unit)) {
            if (unit.size() > 16 + CDownMMS1755::kMaxCommandLength) std::abort();
            CDownMMS1755::CommandOf(unit);
            continue;
        }
        const size_t length = unit.size() - 8;
        if (packetSize <= 0 || packetSize > (1 << 16) || length > size_t(packetSize)) continue;
        std::vector<uint8_t> packet(size_t(packetSize), 0);
        std::memcpy(packet.data(), unit.data() + 8, length);
        GetPacketSendTime(packet.data(), packet.size());
        parser->IndexPacket(packet.data(), packet.size(), written++);
    }
    return 0;
}
