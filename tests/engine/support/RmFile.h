// The tests' own RealMedia file reader, and what a RealMedia RTSP server makes of such a file:
// its session description and its packets as interleaved data units.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct RmStreamInfo {
    uint16_t number = 0;
    uint32_t maxBitRate = 0, avgBitRate = 0, maxPacketSize = 0, avgPacketSize = 0;
    uint32_t startTime = 0, preroll = 0, duration = 0;
    std::string name, mimeType, typeData;
};

struct RmPacket {
    uint16_t stream = 0;
    uint32_t timestamp = 0;
    uint8_t flags = 0;  // 2: key frame
    std::string data;
    uint32_t offset = 0;  // of its header in the file
    bool operator==(const RmPacket& o) const {
        return stream == o.stream && timestamp == o.timestamp && flags == o.flags && data == o.data;
    }
};

struct RmIndexEntry {
    uint32_t timestamp, offset, packetNumber;
    bool operator==(const RmIndexEntry& o) const {
        return timestamp == o.timestamp && offset == o.offset && packetNumber == o.packetNumber;
    }
};

struct RmIndexChunk {
    uint16_t stream = 0;
    uint32_t next = 0;
    std::vector<RmIndexEntry> entries;
};

struct RmFile {
    std::string error;  // empty when the whole file read well
    uint32_t headerCount = 0;
    uint32_t maxBitRate = 0, avgBitRate = 0, maxPacketSize = 0, avgPacketSize = 0;
    uint32_t packetCount = 0, duration = 0, preroll = 0, indexOffset = 0, dataOffset = 0;
    uint16_t streamCount = 0;
    std::string title, author, copyright;
    std::vector<RmStreamInfo> streams;
    uint32_t dataSize = 0, dataCount = 0;
    uint32_t dataEnd = 0;  // where the last packet ends
    std::vector<RmPacket> packets;
    std::vector<RmIndexChunk> index;  // following the chain from the PROP index offset
};

// Reads headers, the DATA chunk's packets and the INDX chain; error tells the first thing wrong.
RmFile ReadRmFile(const Bytes& bytes);

// A server's view of a file: the description, with every stream's attributes and its
// type-specific data as Base64, and each packet as a '$' unit on channel 0 with the 10-byte
// payload header; every controlEvery-th unit (0: none) in the longer 0xFF form.
struct RmServerStream {
    std::string sdp;
    std::vector<std::string> units;
    std::vector<uint32_t> timestamps;  // of each unit
};
RmServerStream MakeServerStream(const RmFile& file, size_t controlEvery = 0);
// The unit that ends a stream (RDT's stream-end packet, type 0xFF06, an 11-byte payload).
std::string EndUnit();
// A packet as the downloader hands it to the file writer: data length in host order, reduced.
std::string WriterUnit(const RmPacket& packet);
// A file of the given headers and packets (sizes, offsets and counts computed; no index).
Bytes WriteRmFile(const RmFile& file);
// The file with each video frame (stream 0) split over two packets that share its stream, time
// stamp and flags, as a server sends a frame larger than its packets.
RmFile SplitVideoFrames(const RmFile& file);
// Where a resumed download asks the stream from, by the packets on disk: a second before the last
// packet of the stream that ends first.
uint32_t ResumePointOf(const std::vector<RmPacket>& onDisk);
