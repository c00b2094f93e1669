#include "AsfParser.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "ByteReader.h"

namespace {

using Guid = uint8_t[16];

// GUIDs in the byte order they are stored in.
const Guid kHeaderObject = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                            0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
const Guid kDataObject = {0x36, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                          0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
const Guid kFileProperties = {0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11,
                              0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
const Guid kStreamProperties = {0x91, 0x07, 0xDC, 0xB7, 0xB7, 0xA9, 0xCF, 0x11,
                                0x8E, 0xE6, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
const Guid kVideoMedia = {0xC0, 0xEF, 0x19, 0xBC, 0x4D, 0x5B, 0xCF, 0x11,
                          0xA8, 0xFD, 0x00, 0x80, 0x5F, 0x5C, 0x44, 0x2B};
const Guid kSimpleIndex = {0x90, 0x08, 0x00, 0x33, 0xB1, 0xE5, 0xCF, 0x11,
                           0x89, 0xF4, 0x00, 0xA0, 0xC9, 0x03, 0x49, 0xCB};

// File Properties Object: offsets of the fields used, and the bytes that must be there.
constexpr size_t kFileIdAt = 24;
constexpr size_t kCreationDateAt = 48;
constexpr size_t kFileSizeAt = 40;
constexpr size_t kPacketCountAt = 56;
constexpr size_t kPlayDurationAt = 64;
constexpr size_t kSendDurationAt = 72;
constexpr size_t kPrerollAt = 80;
constexpr size_t kFlagsAt = 88;
constexpr uint32_t kBroadcastFlag = 0x01;  // durations and sizes are not valid
constexpr uint32_t kSeekableFlag = 0x02;
constexpr size_t kMaxPacketSizeAt = 96;
constexpr size_t kFilePropertiesNeeded = 100;

// Stream Properties Object: the Stream Type field and, 48 bytes behind it, the Flags.
constexpr size_t kStreamTypeAt = 24;
constexpr size_t kStreamFlagsFromType = 48;

// The Data Object header that ends the header bytes, and its fields.
constexpr size_t kDataHeaderSize = 50;
constexpr size_t kDataSizeFromEnd = 34;
constexpr size_t kDataPacketsFromEnd = 10;

constexpr size_t kSimpleIndexHeaderSize = 56;
constexpr size_t kIndexEntrySize = 6;
constexpr uint64_t kOneSecond = 10000000;  // in 100-nanosecond units

bool GuidAt(const uint8_t* data, size_t size, size_t at, const Guid& guid) {
    return at <= size && size - at >= sizeof(Guid) &&
           std::memcmp(data + at, guid, sizeof(Guid)) == 0;
}

uint64_t ReadLe(const uint8_t* p, size_t count) {
    ByteReader r(p, count);
    return count == 8 ? r.U64Le() : r.U32Le();
}

void PutLe(uint8_t* p, uint64_t value, size_t count) {
    for (size_t i = 0; i < count; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

void AppendLe(std::vector<uint8_t>& out, uint64_t value, size_t count) {
    for (size_t i = 0; i < count; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

int32_t ClampToInt32(uint64_t value) {
    return static_cast<int32_t>(std::min<uint64_t>(value, std::numeric_limits<int32_t>::max()));
}

// A field whose size a 2-bit type gives: 0 absent (reads 0), 1 a byte, 2 a word, 3 a double word.
uint32_t ReadTypedField(ByteReader& r, unsigned type) {
    switch (type & 3) {
        case 1:
            return r.U8();
        case 2:
            return r.U16Le();
        case 3:
            return r.U32Le();
        default:
            return 0;
    }
}

struct PacketHeader {
    bool multiplePayloads = false;
    bool hasPacketLength = false;
    uint32_t packetLength = 0;
    uint32_t padding = 0;
    uint32_t sendTimeMs = 0;
    uint16_t durationMs = 0;
    unsigned replicatedType = 0;
    unsigned offsetType = 0;
    unsigned mediaObjectType = 0;
};

// Reads the error correction data and the payload parsing information; leaves r at the payloads.
bool ParsePacketHeader(ByteReader& r, PacketHeader& h) {
    uint8_t flags = r.U8();
    if (flags & 0x80) {
        // Error correction data present: its length type must be 0, the length is in bits 0-3.
        if (flags & 0x60) return false;
        r.Skip(flags & 0x0F);
        flags = r.U8();
        if (flags & 0x80) return false;
    }
    const uint8_t property = r.U8();
    h.multiplePayloads = (flags & 0x01) != 0;
    const unsigned sequenceType = (flags >> 1) & 3;
    const unsigned paddingType = (flags >> 3) & 3;
    const unsigned packetLengthType = (flags >> 5) & 3;
    h.replicatedType = property & 3;
    h.offsetType = (property >> 2) & 3;
    h.mediaObjectType = (property >> 4) & 3;

    h.hasPacketLength = packetLengthType != 0;
    h.packetLength = ReadTypedField(r, packetLengthType);
    ReadTypedField(r, sequenceType);
    h.padding = ReadTypedField(r, paddingType);
    h.sendTimeMs = r.U32Le();
    h.durationMs = r.U16Le();
    return r.Ok();
}

}  // namespace

uint32_t GetPacketSendTime(const uint8_t* packet, size_t length) {
    ByteReader r(packet, length);
    PacketHeader h;
    return ParsePacketHeader(r, h) ? h.sendTimeMs : 0;
}

size_t GetPacketHeaderLength(const uint8_t* packet, size_t length) {
    static const size_t kWidth[4] = {0, 1, 2, 4};
    ByteReader r(packet, length);
    uint8_t flags = r.U8();
    if (flags & 0x80) {
        r.Skip(flags & 0x0F);
        flags = r.U8();
    }
    r.U8();  // property flags
    // Packet Length, Sequence and Padding Length, then Send Time and Duration.
    r.Skip(kWidth[(flags >> 5) & 3] + kWidth[(flags >> 1) & 3] + kWidth[(flags >> 3) & 3] + 6);
    return r.Ok() ? r.Position() : 0;
}

CAsfParser::CAsfParser(const uint8_t* header, size_t length) {
    if (header) header_.assign(header, header + length);
}

std::unique_ptr<CAsfParser> CAsfParser::Create(const uint8_t* header, size_t length) {
    try {
        return std::make_unique<CAsfParser>(header, length);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool CAsfParser::FindFileProperties() {
    if (!filePropertiesSearched_) {
        filePropertiesSearched_ = true;
        ByteReader r(header_.data(), header_.size());
        for (;;) {
            const size_t at = r.Find(kFileProperties, sizeof(Guid));
            if (at == ByteReader::npos) break;
            if (header_.size() - at >= kFilePropertiesNeeded) {
                filePropertiesAt_ = at;
                filePropertiesFound_ = true;
                break;
            }
            r.Seek(at + 1);
        }
    }
    return filePropertiesFound_;
}

uint64_t CAsfParser::FilePropertiesField(size_t at, size_t width) {
    return FindFileProperties() ? ReadLe(&header_[filePropertiesAt_ + at], width) : 0;
}

int64_t CAsfParser::GetFileSize() {
    const uint64_t size = FilePropertiesField(kFileSizeAt, 8);
    return static_cast<int64_t>(std::min<uint64_t>(size, std::numeric_limits<int64_t>::max()));
}

int32_t CAsfParser::GetDataPacketCount() {
    return ClampToInt32(FilePropertiesField(kPacketCountAt, 8));
}

int32_t CAsfParser::GetMaxPacketSize() {
    return ClampToInt32(FilePropertiesField(kMaxPacketSizeAt, 4));
}

uint64_t CAsfParser::GetSendDurationMs() { return FilePropertiesField(kSendDurationAt, 8) / 10000; }

uint64_t CAsfParser::GetPlayDurationMs() { return FilePropertiesField(kPlayDurationAt, 8) / 10000; }

uint64_t CAsfParser::GetPrerollMs() { return FilePropertiesField(kPrerollAt, 8); }

bool CAsfParser::IsBroadcast() { return (FilePropertiesField(kFlagsAt, 4) & kBroadcastFlag) != 0; }

uint8_t CAsfParser::CountStreamObjects() {
    unsigned count = 0;
    ByteReader r(header_.data(), header_.size());
    for (size_t at;
         count < 255 && (at = r.Find(kStreamProperties, sizeof(Guid))) != ByteReader::npos;) {
        ++count;
        r.Seek(at + 1);
    }
    return static_cast<uint8_t>(count);
}

void CAsfParser::BuildStreamTable() {
    if (streamsBuilt_) return;
    streamsBuilt_ = true;
    std::vector<uint8_t> numbers;
    ByteReader r(header_.data(), header_.size());
    for (size_t at; (at = r.Find(kVideoMedia, sizeof(Guid))) != ByteReader::npos;) {
        r.Seek(at + 1);
        // Only a Stream Type field counts: the Stream Properties GUID stands in front of it, and
        // the Flags behind it must be inside the header.
        if (at < kStreamTypeAt || header_.size() - at <= kStreamFlagsFromType ||
            !GuidAt(header_.data(), header_.size(), at - kStreamTypeAt, kStreamProperties)) {
            continue;
        }
        const uint8_t number = header_[at + kStreamFlagsFromType] & 0x7F;
        if (number != 0) numbers.push_back(number);
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    for (uint8_t number : numbers) streams_.push_back(AsfStreamIndex{number, {}, false});
}

const std::vector<AsfStreamIndex>& CAsfParser::GetStreams() {
    BuildStreamTable();
    return streams_;
}

AsfStreamIndex* CAsfParser::FindStream(uint8_t number) {
    for (AsfStreamIndex& s : streams_) {
        if (s.streamNumber == number) return &s;
    }
    return nullptr;
}

void CAsfParser::AddKeyFrame(AsfStreamIndex& stream, const AsfKeyFrame& frame, bool continuation) {
    if (stream.lastOpen && !stream.keyFrames.empty()) {
        AsfKeyFrame& last = stream.keyFrames.back();
        if (continuation && last.mediaObject == frame.mediaObject &&
            frame.packetNumber >= last.packetNumber) {
            // The count spans every packet from the first piece to this one, since packets of
            // other streams may lie between the pieces.
            const uint32_t span =
                std::min<uint32_t>(frame.packetNumber - last.packetNumber, 0xFFFE) + 1;
            last.packetCount = static_cast<uint16_t>(std::max<uint32_t>(last.packetCount, span));
            return;
        }
    }
    stream.keyFrames.push_back(frame);
    stream.lastOpen = true;
}

namespace {

// One payload of a data packet, as the index needs it.
struct Payload {
    uint8_t streamByte;  // bit 7: key frame; bits 0-6: stream number
    uint32_t mediaObject;
    uint32_t presentationMs;  // preroll included
    bool continuation;        // a later piece of its media object
};

// The packet header into h, then each payload in order; false when the packet is malformed (the
// payloads before the fault were handed out).
template <typename Each>
bool WalkPayloads(const uint8_t* packet, size_t length, uint64_t preroll, PacketHeader& h, Each&& each) {
    ByteReader r(packet, length);
    if (!ParsePacketHeader(r, h)) return false;

    // The payloads end where the packet's own length says, before the padding, and never past
    // the bytes given.
    size_t end = length;
    if (h.hasPacketLength) {
        if (h.packetLength < r.Position()) return false;
        end = std::min<size_t>(end, h.packetLength);
    }
    if (h.padding > end - r.Position()) return false;
    end -= h.padding;
    ByteReader body = r.Sub(end - r.Position());

    unsigned payloads = 1;
    unsigned payloadLengthType = 0;
    if (h.multiplePayloads) {
        const uint8_t flags = body.U8();
        payloads = flags & 0x3F;
        payloadLengthType = flags >> 6;
        if (body.Failed()) return false;
    }
    for (unsigned i = 0; i < payloads; ++i) {
        const uint8_t streamByte = body.U8();
        const uint32_t mediaObject = ReadTypedField(body, h.mediaObjectType);
        const uint32_t offset = ReadTypedField(body, h.offsetType);
        const uint32_t replicated = ReadTypedField(body, h.replicatedType);
        ByteReader replicatedData = body.Sub(replicated);
        if (h.multiplePayloads) body.Skip(ReadTypedField(body, payloadLengthType));
        if (body.Failed()) return false;

        // The replicated data holds the media object's size, then its presentation time; a
        // compressed payload (replicated length 1) keeps that time in the offset field.
        uint64_t presentation = h.sendTimeMs + preroll;
        if (replicated == 1) {
            presentation = offset;
        } else if (replicated >= 8) {
            replicatedData.Skip(4);
            presentation = replicatedData.U32Le();
        }
        const auto presentationMs =
            static_cast<uint32_t>(std::min<uint64_t>(presentation, UINT32_MAX));
        // A later piece of a media object has a non-zero offset into it. Without offsets, or in
        // a compressed payload (where the field holds a time), the same object number decides.
        const bool continuation = h.offsetType == 0 || replicated == 1 || offset != 0;
        each(Payload{streamByte, mediaObject, presentationMs, continuation});
    }
    return true;
}

}  // namespace

bool CAsfParser::IndexPacket(const uint8_t* packet, size_t length, uint32_t packetNumber) {
    BuildStreamTable();
    PacketHeader h;
    return WalkPayloads(packet, length, GetPrerollMs(), h, [&](const Payload& payload) {
        latestPresentationMs_ = std::max(latestPresentationMs_, payload.presentationMs);
        if (!(payload.streamByte & 0x80)) return;
        AsfStreamIndex* stream = FindStream(payload.streamByte & 0x7F);
        if (!stream) return;
        AddKeyFrame(*stream,
                    AsfKeyFrame{packetNumber, 1, payload.mediaObject, h.sendTimeMs, payload.presentationMs},
                    payload.continuation);
    });
}

uint32_t CAsfParser::IndexEntryCount() {
    // Entries for seconds 0 to the Play Duration rounded up (preroll included, like the
    // presentation times), so every key frame has the entry of the second it falls in; but none
    // past the last presentation that came: a broadcast has no valid duration, and a hostile
    // header could claim centuries.
    auto seconds = [](uint64_t ms) { return ms / 1000 + (ms % 1000 != 0) + 1; };
    const uint64_t covered = seconds(latestPresentationMs_);
    const uint64_t duration = IsBroadcast() ? 0 : GetPlayDurationMs();
    const uint64_t count = duration == 0 ? covered : std::min(seconds(duration), covered);
    return static_cast<uint32_t>(std::min<uint64_t>(count, kMaxIndexEntries));
}

int64_t CAsfParser::FindDataEnd(IOutputFile& file, int64_t length) {
    const int64_t headerLength = static_cast<int64_t>(header_.size());
    if (length < headerLength) return -1;
    const int32_t packetSize = GetMaxPacketSize();

    // The Data Object size that a finished download wrote points at its first index object.
    int64_t end = length;
    uint8_t field[8];
    if (!file.ReadAt(headerLength - static_cast<int64_t>(kDataSizeFromEnd), field, sizeof field)) {
        return -1;
    }
    const uint64_t dataSize = ReadLe(field, 8);
    if (dataSize >= kDataHeaderSize &&
        dataSize - kDataHeaderSize <= uint64_t(length - headerLength)) {
        const int64_t claimed = headerLength + static_cast<int64_t>(dataSize - kDataHeaderSize);
        uint8_t guid[sizeof(Guid)];
        const bool aligned = packetSize <= 0 || (claimed - headerLength) % packetSize == 0;
        if (aligned && length - claimed >= int64_t(kSimpleIndexHeaderSize) &&
            file.ReadAt(claimed, guid, sizeof guid) && GuidAt(guid, sizeof guid, 0, kSimpleIndex)) {
            end = claimed;
        }
    }
    // Otherwise the data runs to the last whole packet.
    if (packetSize > 0) end = headerLength + (end - headerLength) / packetSize * packetSize;
    return end;
}

bool CAsfParser::WriteIndex(IOutputFile& file) {
    const size_t headerLength = header_.size();
    // Without a Data Object header at the end of the header bytes there is no field to set.
    if (headerLength < kDataHeaderSize ||
        !GuidAt(header_.data(), headerLength, headerLength - kDataHeaderSize, kDataObject)) {
        return false;
    }
    const int64_t length = file.GetLength();
    const int64_t packetsStart = int64_t(headerLength);
    if (length < packetsStart) return false;
    // The packets end at the last whole one (a torn last packet goes) or, on a second call, where
    // the first call put its index, which is replaced. What the header's own Data Object size
    // says is not used: the server wrote it, and it might point anywhere into the packets.
    const int32_t packetSize = GetMaxPacketSize();
    int64_t dataEnd = length;
    if (indexWrittenAt_ >= packetsStart && indexWrittenAt_ <= length) dataEnd = indexWrittenAt_;
    if (packetSize > 0) dataEnd = packetsStart + (dataEnd - packetsStart) / packetSize * packetSize;
    if (dataEnd != length && !file.SetLength(dataEnd)) return false;

    const uint64_t dataSize = uint64_t(dataEnd) - (headerLength - kDataHeaderSize);
    uint8_t sizeField[8];
    PutLe(sizeField, dataSize, 8);
    if (!file.WriteAt(int64_t(headerLength - kDataSizeFromEnd), sizeField, 8)) return false;
    if (packetSize > 0) {
        uint8_t packetsField[8];
        PutLe(packetsField, uint64_t(dataEnd - int64_t(headerLength)) / uint64_t(packetSize), 8);
        if (!file.WriteAt(int64_t(headerLength - kDataPacketsFromEnd), packetsField, 8)) {
            return false;
        }
    }

    BuildStreamTable();
    // Only packets still on disk may be named: a torn last packet was just cut.
    const uint64_t wholePackets = packetSize > 0
                                      ? uint64_t(dataEnd - packetsStart) / uint64_t(packetSize)
                                      : std::numeric_limits<uint64_t>::max();
    std::vector<std::vector<AsfKeyFrame>> kept(streams_.size());
    bool anyKeyFrame = false;
    for (size_t s = 0; s < streams_.size(); ++s) {
        for (AsfKeyFrame frame : streams_[s].keyFrames) {
            if (frame.packetNumber >= wholePackets) continue;
            frame.packetCount = static_cast<uint16_t>(
                std::min<uint64_t>(frame.packetCount, wholePackets - frame.packetNumber));
            kept[s].push_back(frame);
            anyKeyFrame = true;
        }
    }
    std::vector<uint8_t> out;
    if (anyKeyFrame && FindFileProperties()) {
        // One object per video stream, in stream order, so that a resume can tell them apart;
        // a stream without key frames gets an object without entries.
        const uint32_t count = IndexEntryCount();
        for (size_t s = 0; s < streams_.size(); ++s) {
            const std::vector<AsfKeyFrame>& frames = kept[s];
            const uint32_t entries = frames.empty() ? 0 : count;
            uint16_t maxPackets = 0;
            for (const AsfKeyFrame& f : frames) maxPackets = std::max(maxPackets, f.packetCount);
            out.insert(out.end(), kSimpleIndex, kSimpleIndex + sizeof(Guid));
            AppendLe(out, kSimpleIndexHeaderSize + uint64_t(kIndexEntrySize) * entries, 8);
            const uint8_t* fileId = &header_[filePropertiesAt_ + kFileIdAt];
            out.insert(out.end(), fileId, fileId + sizeof(Guid));
            AppendLe(out, kOneSecond, 8);
            AppendLe(out, maxPackets, 4);
            AppendLe(out, entries, 4);
            // Second i points at the last key frame presented by then, or the first one.
            size_t k = 0;
            for (uint32_t i = 0; i < entries; ++i) {
                const uint64_t limit = uint64_t(i) * 1000;
                while (k + 1 < frames.size() && frames[k + 1].presentationMs <= limit) ++k;
                AppendLe(out, frames[k].packetNumber, 4);
                AppendLe(out, frames[k].packetCount, 2);
            }
        }
        if (!file.WriteAt(dataEnd, out.data(), out.size())) return false;
    }
    indexWrittenAt_ = dataEnd;
    if (IsBroadcast() && packetSize > 0 &&
        !FinishRecording(file, dataEnd, wholePackets, dataEnd + int64_t(out.size()), !out.empty())) {
        return false;
    }
    return file.Flush();
}

bool CAsfParser::FinishRecording(IOutputFile& file, int64_t dataEnd, uint64_t packets, int64_t fileSize, bool indexed) {
    // The header said nothing of the length; the file now says what it holds. The first packet is
    // where the recording joined the broadcast, so the durations count from there.
    const size_t packetSize = size_t(GetMaxPacketSize());
    uint64_t sendMs = 0, playMs = 0;
    if (packets > 0) {
        std::vector<uint8_t> packet(packetSize);
        PacketHeader first, last;
        uint32_t firstPresentation = UINT32_MAX, lastPresentation = 0;
        if (!file.ReadAt(int64_t(header_.size()), packet.data(), packetSize)) return false;
        WalkPayloads(packet.data(), packetSize, GetPrerollMs(), first, [&](const Payload& payload) {
            firstPresentation = std::min(firstPresentation, payload.presentationMs);
        });
        if (!file.ReadAt(dataEnd - int64_t(packetSize), packet.data(), packetSize)) return false;
        WalkPayloads(packet.data(), packetSize, GetPrerollMs(), last, [&](const Payload& payload) {
            lastPresentation = std::max(lastPresentation, payload.presentationMs);
        });
        const uint64_t sendEnd = uint64_t(last.sendTimeMs) + last.durationMs;
        sendMs = sendEnd > first.sendTimeMs ? sendEnd - first.sendTimeMs : 0;
        // The latest presentation of any packet indexed counts too: the last packet need not
        // hold the stream's last frame.
        lastPresentation = std::max(lastPresentation, latestPresentationMs_);
        const uint64_t presented =
            firstPresentation != UINT32_MAX && lastPresentation > firstPresentation ? lastPresentation - firstPresentation : 0;
        playMs = std::max(sendMs, presented) + GetPrerollMs();
    }
    uint8_t flags[4];
    if (!file.ReadAt(int64_t(filePropertiesAt_ + kFlagsAt), flags, sizeof flags)) return false;
    uint32_t value = uint32_t(ReadLe(flags, 4)) & ~kBroadcastFlag;
    // Seekable: by the index of every video stream, or by packet alone when there is no video.
    if (indexed || streams_.empty()) value |= kSeekableFlag;
    struct Field {
        size_t at, width;
        uint64_t value;
    } const fields[] = {
        {kFileSizeAt, 8, uint64_t(fileSize)},         {kPacketCountAt, 8, packets},
        {kPlayDurationAt, 8, playMs * 10000},         {kSendDurationAt, 8, sendMs * 10000},
        {kFlagsAt, 4, value},
    };
    for (const Field& field : fields) {
        uint8_t bytes[8];
        PutLe(bytes, field.value, field.width);
        if (!file.WriteAt(int64_t(filePropertiesAt_ + field.at), bytes, field.width)) return false;
    }
    return true;
}

AsfResume CAsfParser::ReadIndex(IOutputFile& file, bool indexPackets) {
    packetsOnDisk_ = 0;
    lastSendTimeOnDisk_ = 0;
    const size_t headerLength = header_.size();
    const int64_t length = file.GetLength();
    if (length < 0) return AsfResume::FileError;
    if (!FindFileProperties() || headerLength < kDataHeaderSize || length < int64_t(headerLength)) {
        return AsfResume::Refused;
    }

    // The file must begin with this stream's header: the same Header Object byte for byte and a
    // Data Object where this header has one. Encoders that leave the File ID zero make the File ID
    // alone no proof: two clips made alike share it. Only what differs between two deliveries of
    // one stream is left out: the creation date, and for a broadcast the sizes, count, durations
    // and the flag that the engine sets itself when a recording of it ends.
    std::vector<uint8_t> onDisk(headerLength);
    if (!file.ReadAt(0, onDisk.data(), headerLength)) return AsfResume::FileError;
    const size_t headerObjectEnd = headerLength - kDataHeaderSize;
    if (!GuidAt(onDisk.data(), headerLength, 0, kHeaderObject) ||
        !GuidAt(onDisk.data(), headerLength, headerObjectEnd, kDataObject) ||
        filePropertiesAt_ + kFilePropertiesNeeded > headerObjectEnd) {
        return AsfResume::Refused;
    }
    std::vector<uint8_t> ours(header_.begin(), header_.begin() + long(headerObjectEnd));
    onDisk.resize(headerObjectEnd);
    const bool broadcast = IsBroadcast();
    for (std::vector<uint8_t>* h : {&ours, &onDisk}) {
        uint8_t* fp = h->data() + filePropertiesAt_;
        std::memset(fp + kCreationDateAt, 0, 8);
        if (broadcast) {
            std::memset(fp + kFileSizeAt, 0, 8);
            std::memset(fp + kPacketCountAt, 0, kPrerollAt - kPacketCountAt);
            // The flags too: a finished recording has its broadcast flag cleared and may be seekable.
            std::memset(fp + kFlagsAt, 0, 4);
        }
    }
    if (ours != onDisk) return AsfResume::Refused;

    const int64_t dataEnd = FindDataEnd(file, length);
    if (dataEnd < 0) return AsfResume::FileError;
    const int32_t packetSize = GetMaxPacketSize();
    if (packetSize > 0) {
        packetsOnDisk_ = static_cast<uint32_t>(
            std::min<int64_t>((dataEnd - int64_t(headerLength)) / packetSize, UINT32_MAX));
    }

    BuildStreamTable();
    for (AsfStreamIndex& stream : streams_) {
        stream.keyFrames.clear();
        stream.lastOpen = false;
    }
    latestPresentationMs_ = 0;
    if (packetsOnDisk_ > 0) {
        // The key frames come from the packets themselves, not from an index a finished run may
        // have left: a killed run left none, and an index read back knows no media objects. So
        // the index at the end covers the packets written before the break as if none had been.
        const size_t size = static_cast<size_t>(packetSize);
        const size_t perBlock = std::max<size_t>(1, kReindexBlock / size);
        std::vector<uint8_t> block;
        // Without indexing only the last packet's send time is wanted.
        for (uint32_t first = indexPackets ? 0 : packetsOnDisk_ - 1; first < packetsOnDisk_;) {
            const uint32_t count =
                static_cast<uint32_t>(std::min<uint64_t>(perBlock, packetsOnDisk_ - first));
            block.resize(size_t(count) * size);
            if (!file.ReadAt(int64_t(headerLength) + int64_t(first) * packetSize, block.data(), block.size())) {
                return AsfResume::FileError;
            }
            for (uint32_t i = 0; i < count; ++i) {
                if (indexPackets) IndexPacket(&block[size_t(i) * size], size, first + i);
            }
            first += count;
            if (first == packetsOnDisk_) {
                lastSendTimeOnDisk_ = GetPacketSendTime(&block[size_t(count - 1) * size], size);
            }
        }
        const uint64_t presented = lastSendTimeOnDisk_ + GetPrerollMs();
        latestPresentationMs_ =
            std::max<uint32_t>(latestPresentationMs_,
                               static_cast<uint32_t>(std::min<uint64_t>(presented, UINT32_MAX)));
    }
    // Always cut, even to the same length: it also leaves a positioned file at its end.
    if (!file.SetLength(dataEnd)) return AsfResume::FileError;
    return AsfResume::Ready;
}
