// Feeds an arbitrary byte stream to the MMS-over-HTTP chunk reader as a server would send it: the
// header phase, then data chunks into a packet buffer whose size the first byte picks. Every read
// stays within the bytes there, a packet never exceeds its buffer, and a header is only complete
// when it ends 01 01 within its bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "MmsHttpChunkReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const size_t packetSize = size_t(data[0]) * 16;
    size_t at = 1;
    MmsHttpChunkReader reader([&](uint8_t* bytes, size_t count) {
        if (at == size) return MmsHttpChunkReader::Fill::Closed;
        if (size - at < count) {
            at = size;
            return MmsHttpChunkReader::Fill::Failed;
        }
        std::memcpy(bytes, data + at, count);
        at += count;
        return MmsHttpChunkReader::Fill::Ok;
    });
    std::vector<uint8_t> header;
    if (reader.ReadHeader(header, nullptr) != 0) return 0;
    if (header.size() < 2 || header.size() > MmsHttpChunkReader::kMaxHeaderSize || header.back() != 1 ||
        header[header.size() - 2] != 1) {
        std::abort();
    }
    // The packet sits in a buffer of exactly its size, so ASan sees any write past it.
    std::vector<uint8_t> packet(packetSize);
    for (;;) {
        size_t length = size_t(-1);
        const int32_t code = reader.ReadDataChunk(packet.data(), packet.size(), &length);
        if (code != 0) break;
        if (length > packet.size()) std::abort();
    }
    return 0;
}
