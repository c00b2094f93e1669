// Feeds arbitrary bytes to the RealMedia file writer as a session description, as a file on disk
// to continue, and as data units, and checks what the downloader relies on: no read or write past
// the bytes given, every unit either written whole or dropped (or, continuing a file, refused
// as not of it), and a finished file whose packet
// region ends where its headers say.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FmtRM.h"
#include "MemoryFile.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

uint32_t Be32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

}  // namespace

// Layout: 2 bytes description length, the description, 2 bytes file length, the file, then units
// as (2-byte length, bytes) to the end.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t at = 0;
    auto piece = [&]() {
        if (at + 2 > size) {
            at = size;
            return std::string();
        }
        const size_t length = std::min<size_t>(size_t(data[at]) | size_t(data[at + 1]) << 8, size - at - 2);
        std::string out(reinterpret_cast<const char*>(data + at + 2), length);
        at += 2 + length;
        return out;
    };
    const std::string sdp = piece();
    const std::string existing = piece();

    MemoryFile file(std::vector<uint8_t>(existing.begin(), existing.end()));
    CFmtRM writer;
    writer.Init();
    writer.Open(&file, sdp.c_str(), !existing.empty());
    writer.EstimatedSize();
    CByteBuffer unit;
    while (at < size) {
        const std::string bytes = piece();
        unit.Reset();
        unit.Append(bytes.data(), int32_t(bytes.size()));
        const uint32_t before = writer.PacketCount();
        const int32_t code = writer.WritePacket(&unit);
        // A unit that shows the stream does not continue the file writes nothing.
        Check(code == 0 || (code == kResumeLost && writer.PacketCount() == before));
        if (writer.PacketCount() != before) Check(int64_t(file.bytes.size()) >= writer.Written());
    }
    Check(writer.Finish());
    // The headers name the end of the packets, where the index begins.
    Check(file.bytes.size() >= 68);
    Check(int64_t(Be32(file.bytes, 18 + 38)) == writer.Written());
    Check(Be32(file.bytes, 18 + 26) == writer.PacketCount());
    return 0;
}
