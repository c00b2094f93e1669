// The ASF header and data-packet reader of the MMS downloads: packet size, count and file size for
// the downloader, each packet's send time, the key frames of the video streams, and at the end a
// Simple Index Object per video stream with the Data Object's size set, so the file is seekable.
// On resume it reads such an index back and cuts it off, so packets can be appended again.
//
// Every length, count and offset taken from the header or a packet is checked against the bytes
// that are really there: hostile input gives "not found", 0 or false, never a read past the end.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "IOutputFile.h"

// One key frame of a video stream: where its packets start and how many carry it.
struct AsfKeyFrame {
    uint32_t packetNumber;
    uint16_t packetCount;
    uint32_t mediaObject;
    uint32_t sendTimeMs;      // of its first packet
    uint32_t presentationMs;  // as the payload gives it, preroll included: what the index is by
};

struct AsfStreamIndex {
    uint8_t streamNumber;
    std::vector<AsfKeyFrame> keyFrames;
    // The last entry was recorded from packets of this run, so later pieces may extend it.
    bool lastOpen;
};

// What ReadIndex found on disk.
enum class AsfResume {
    Ready,      // the file holds this stream's header and whole packets; append at its end
    Refused,    // empty, shorter than the header, or another stream's file: left untouched
    FileError,  // the file could not be read or cut
};

// A packet's Send Time in milliseconds; 0 when the packet is too short or malformed to hold one.
uint32_t GetPacketSendTime(const uint8_t* packet, size_t length);
// The bytes of a packet's header up to and including its Duration field, as its own flags size
// them; 0 when the bytes given are fewer (no unit that short is a packet).
size_t GetPacketHeaderLength(const uint8_t* packet, size_t length);

class CAsfParser final {
public:
    // Copies the header bytes: the ASF Header Object followed by the 50-byte Data Object header.
    // Throws std::bad_alloc like any container; Create is the form that does not.
    CAsfParser(const uint8_t* header, size_t length);
    static std::unique_ptr<CAsfParser> Create(const uint8_t* header, size_t length);

    CAsfParser(const CAsfParser&) = delete;
    CAsfParser& operator=(const CAsfParser&) = delete;

    // File Properties fields; 0 without a File Properties Object. Values too large for an int32
    // read as INT32_MAX, so a caller's upper-bound check still refuses them.
    int64_t GetFileSize();
    int32_t GetDataPacketCount();
    int32_t GetMaxPacketSize();
    // Send Duration, Play Duration and Preroll in milliseconds (0 without File Properties).
    uint64_t GetSendDurationMs();
    uint64_t GetPlayDurationMs();
    uint64_t GetPrerollMs();
    // The File Properties' Broadcast flag: a live stream, whose packet count, file size and
    // durations say nothing.
    bool IsBroadcast();
    // Number of Stream Properties Objects in the header (at most 255).
    uint8_t CountStreamObjects();

    // Records the video key frames of one data packet, packetNumber being the number of packets
    // written before it. False when the packet is malformed; key frames of the payloads read
    // before the fault are kept.
    bool IndexPacket(const uint8_t* packet, size_t length, uint32_t packetNumber);

    // At the end of a download (also a stopped or failed one): sets the Data Object's size and
    // packet count to the whole packets on disk and appends one Simple Index Object per video
    // stream when any key frame in those packets is known. A recording of a broadcast also gets
    // its File Properties (file size, packet count, durations from its first packet on) and
    // loses the Broadcast flag, so it reads as the file it now is. False only when the file
    // could not be read or written.
    bool WriteIndex(IOutputFile& file);

    // Before a resumed download appends: checks the file starts with this header, cuts the file
    // after its last whole packet (and any index behind it) and, with indexPackets, records the
    // key frames of every packet on disk, so the index written at the end covers them all. Never
    // cuts into the header.
    AsfResume ReadIndex(IOutputFile& file, bool indexPackets = true);
    // After ReadIndex returned Ready: the whole packets on disk and the last one's send time.
    uint32_t GetPacketsOnDisk() const { return packetsOnDisk_; }
    uint32_t GetLastSendTimeOnDisk() const { return lastSendTimeOnDisk_; }

    // The video streams in ascending stream number with their key frames.
    const std::vector<AsfStreamIndex>& GetStreams();
    size_t GetHeaderLength() const { return header_.size(); }

    // Index entries are one a second; a Play Duration longer than this is cut here.
    static constexpr uint32_t kMaxIndexEntries = 24 * 3600;
    // Bytes of packets read at a time when a resume indexes the packets on disk.
    static constexpr size_t kReindexBlock = size_t(1) << 20;

private:
    bool FindFileProperties();
    // A little-endian field of the File Properties Object; 0 without one.
    uint64_t FilePropertiesField(size_t at, size_t width);
    void BuildStreamTable();
    AsfStreamIndex* FindStream(uint8_t number);
    void AddKeyFrame(AsfStreamIndex& stream, const AsfKeyFrame& frame, bool continuation);
    // Where the packets on disk end on resume: at the index a finished download left, else after
    // the last whole packet; -1 when the file is shorter than the header or cannot be read.
    int64_t FindDataEnd(IOutputFile& file, int64_t length);
    uint32_t IndexEntryCount();
    bool FinishRecording(IOutputFile& file, int64_t dataEnd, uint64_t packets, int64_t fileSize, bool indexed);

    std::vector<uint8_t> header_;
    size_t filePropertiesAt_ = 0;
    bool filePropertiesFound_ = false;
    bool filePropertiesSearched_ = false;
    std::vector<AsfStreamIndex> streams_;
    bool streamsBuilt_ = false;

    // Latest presentation time of any payload indexed or found on disk: the index ends there.
    uint32_t latestPresentationMs_ = 0;
    int64_t indexWrittenAt_ = -1;  // where WriteIndex ended the packets, once it has
    uint32_t packetsOnDisk_ = 0;
    uint32_t lastSendTimeOnDisk_ = 0;
};
