// Real ASF media split into what a stream server sends: the header (Header Object and the 50-byte
// Data Object header) and the data packets. The one splitter of the fixture servers (MMS over
// TCP, RTSP and HTTP) and of the tests that check what the engine wrote against the source.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct AsfMedia {
    std::string header;
    std::vector<std::string> packets;  // each as the source holds it
    uint32_t packetSize = 0;

    // An ASF file as a muxer writes it (header, packets, index).
    static AsfMedia FromFile(const std::string& path);
    // ffmpeg's streaming output: a $H chunk, $D chunks and an end chunk.
    static AsfMedia FromStreamFile(const std::string& path);
    // The Send Time field of a data packet, read by its length-type flags.
    static uint32_t SendTime(const std::string& packet);

    bool Ok() const { return !header.empty() && !packets.empty() && packetSize > 0; }
    // The Data Object header's packet count (bytes 40..47 from its start).
    uint64_t HeaderPacketCount() const;
    void SetHeaderPacketCount(uint64_t count);
};
