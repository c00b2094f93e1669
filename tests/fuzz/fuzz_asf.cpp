// Feeds arbitrary bytes to the ASF parser as a stream header, data packets and a file on disk to
// resume, and checks what every caller relies on: no read past the bytes given, a resume never
// cuts into the header, and a finished file reads back.
#include "AsfParser.h"
#include "MemoryFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Exact-size heap copies, so that the address sanitizer sees a read one byte past the end.
std::vector<uint8_t> Slice(const uint8_t* data, size_t size) { return {data, data + size}; }

void Put(std::vector<uint8_t>& out, uint64_t value, size_t width) {
    for (size_t i = 0; i < width; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

void PutGuid(std::vector<uint8_t>& out, const char* hex) {
    for (size_t i = 0; i < 16; ++i)
        out.push_back(uint8_t(std::strtoul(std::string(hex + 2 * i, 2).c_str(), nullptr, 16)));
}

// A well-formed header (video stream 1, audio stream 2, the given packet size and flags), so the
// fuzzer reaches the packet parser and the index at once rather than first guessing GUIDs.
std::vector<uint8_t> SoundHeader(uint32_t packetSize, uint32_t flags) {
    std::vector<uint8_t> objects;
    PutGuid(objects, "A1DCAB8C47A9CF118EE400C00C205365");
    Put(objects, 104, 8);
    objects.insert(objects.end(), 16, 0x42);  // File ID
    Put(objects, 0, 8);
    Put(objects, 0, 8);
    Put(objects, 50, 8);
    Put(objects, 95000000, 8);  // Play Duration
    Put(objects, 65000000, 8);  // Send Duration
    Put(objects, 3000, 8);      // Preroll
    Put(objects, flags, 4);
    Put(objects, packetSize, 4);
    Put(objects, packetSize, 4);
    Put(objects, 100000, 4);
    for (int stream = 1; stream <= 2; ++stream) {
        PutGuid(objects, "9107DCB7B7A9CF118EE600C00C205365");
        Put(objects, 78, 8);
        PutGuid(objects, stream == 1 ? "C0EF19BC4D5BCF11A8FD00805F5C442B"
                                     : "409E69F84D5BCF11A8FD00805F5C442B");
        objects.insert(objects.end(), 32, 0);
        Put(objects, stream, 2);
        Put(objects, 0, 4);
    }
    std::vector<uint8_t> h;
    PutGuid(h, "3026B2758E66CF11A6D900AA0062CE6C");
    Put(h, 30 + objects.size(), 8);
    Put(h, 3, 4);
    Put(h, 0x0201, 2);
    h.insert(h.end(), objects.begin(), objects.end());
    PutGuid(h, "3626B2758E66CF11A6D900AA0062CE6C");
    Put(h, 50, 8);
    h.insert(h.end(), 16, 0x42);
    Put(h, 0, 8);
    Put(h, 0x0101, 2);
    return h;
}

}  // namespace

// Layout: a mode byte; with its low bit set, a packet size byte (times 8) and a flags byte select
// a well-formed header, else 2 bytes header length and the header follow. Then packets as
// (2-byte length, bytes) to the end.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    std::vector<uint8_t> header;
    size_t packetsAt;
    if (data[0] & 1) {
        header = SoundHeader(uint32_t(data[1]) * 8, data[2]);
        packetsAt = 3;
    } else {
        const size_t length = std::min<size_t>(size_t(data[1]) | size_t(data[2]) << 8, size - 3);
        header = Slice(data + 3, length);
        packetsAt = 3 + length;
    }
    std::vector<std::vector<uint8_t>> packets;
    for (size_t at = packetsAt; at + 2 <= size;) {
        const size_t length =
            std::min<size_t>(size_t(data[at]) | size_t(data[at + 1]) << 8, size - at - 2);
        packets.push_back(Slice(data + at + 2, length));
        at += 2 + length;
    }

    CAsfParser parser(header.data(), header.size());
    parser.GetFileSize();
    parser.GetDataPacketCount();
    const int32_t packetSize = parser.GetMaxPacketSize();
    Check(packetSize >= 0);
    parser.CountStreamObjects();
    Check(parser.GetStreams().size() <= 127);

    // A download: the header, then each packet padded to the packet size when it is sensible.
    MemoryFile file(header);
    uint32_t number = 0;
    for (const std::vector<uint8_t>& packet : packets) {
        // A unit the downloads drop as too short for a packet never has a send time either.
        const size_t headerLength = GetPacketHeaderLength(packet.data(), packet.size());
        Check(headerLength <= packet.size());
        Check(headerLength != 0 || GetPacketSendTime(packet.data(), packet.size()) == 0);
        parser.IndexPacket(packet.data(), packet.size(), number++);
        std::vector<uint8_t> padded = packet;
        if (packetSize > 0 && packetSize <= 4096) padded.resize(size_t(packetSize));
        file.bytes.insert(file.bytes.end(), padded.begin(), padded.end());
    }
    for (const AsfStreamIndex& s : parser.GetStreams()) {
        for (const AsfKeyFrame& k : s.keyFrames)
            Check(k.packetNumber < number && k.packetCount > 0);
    }
    const bool finished = parser.WriteIndex(file);
    Check(file.bytes.size() >= std::min(header.size(), size_t(parser.GetHeaderLength())));

    // Resuming that file: never below the header, and a finished file keeps its whole packets.
    CAsfParser resumer(header.data(), header.size());
    const size_t before = file.bytes.size();
    const AsfResume result = resumer.ReadIndex(file);
    if (result == AsfResume::Ready) {
        Check(file.bytes.size() >= header.size());
        if (finished && packetSize > 0 && packetSize <= 4096) {
            Check(resumer.GetPacketsOnDisk() == packets.size());
        }
    } else {
        Check(file.bytes.size() == before);
    }
    for (const AsfStreamIndex& s : resumer.GetStreams()) {
        for (const AsfKeyFrame& k : s.keyFrames) Check(k.packetNumber < resumer.GetPacketsOnDisk());
    }

    // The input itself as a file on disk to resume onto.
    MemoryFile hostile(Slice(data, size));
    CAsfParser other(header.data(), header.size());
    if (other.ReadIndex(hostile) == AsfResume::Ready) Check(hostile.bytes.size() >= header.size());
    other.WriteIndex(hostile);
    return 0;
}
