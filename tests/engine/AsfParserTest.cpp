// The ASF parser against real files made by ffmpeg (tests/fixtures/media/make-media.sh) and against
// small made-up headers and packets that show one fault each.
#include "AsfParser.h"
#include "LittleEndian.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "MediaFiles.h"
#include "MemoryFile.h"
#include "TempDir.h"

namespace {

using Bytes = std::vector<uint8_t>;

// ---- Fixture files -------------------------------------------------------------------------

void PutLe(Bytes& b, size_t at, uint64_t value, size_t width) {
    for (size_t i = 0; i < width; ++i) b.at(at + i) = uint8_t(value >> (8 * i));
}

// A file as the tests take it apart: header (Header Object and Data Object header), packets, and
// whatever follows the Data Object.
struct AsfFile {
    Bytes header;
    std::vector<Bytes> packets;
    Bytes tail;
};

constexpr size_t kPacketSize = 3200;  // ffmpeg's default, used by every fixture

// A plain ASF file: the Header Object's size field, then the Data Object's size field.
AsfFile SplitFile(const Bytes& file) {
    AsfFile f;
    const size_t headerLength = size_t(Le(file, 16, 8)) + 50;
    const size_t dataEnd = headerLength - 50 + size_t(Le(file, headerLength - 34, 8));
    f.header.assign(file.begin(), file.begin() + long(headerLength));
    for (size_t at = headerLength; at < dataEnd; at += kPacketSize) {
        f.packets.emplace_back(file.begin() + long(at), file.begin() + long(at + kPacketSize));
    }
    f.tail.assign(file.begin() + long(dataEnd), file.end());
    return f;
}

// The streaming form: "$H" and "$D" chunks, each with an 8-byte prefix (length at offset 2) and
// 4 more bytes before the content.
AsfFile SplitStream(const Bytes& file) {
    AsfFile f;
    for (size_t at = 0; at + 12 <= file.size();) {
        const size_t length = size_t(Le(file, at + 2, 2));
        Bytes content(file.begin() + long(at + 12), file.begin() + long(at + 4 + length));
        if (file[at + 1] == 'H') f.header = content;
        if (file[at + 1] == 'D') f.packets.push_back(content);
        at += 4 + length;
    }
    return f;
}

const AsfFile& AvFile() {
    static const AsfFile f = SplitFile(ReadAll(MediaDir() + "av.wmv"));
    return f;
}
const AsfFile& AudioFile() {
    static const AsfFile f = SplitFile(ReadAll(MediaDir() + "audio.wma"));
    return f;
}
const AsfFile& AvStream() {
    static const AsfFile f = SplitStream(ReadAll(MediaDir() + "av-stream.asf"));
    return f;
}
const AsfFile& AudioStream() {
    static const AsfFile f = SplitStream(ReadAll(MediaDir() + "audio-stream.asf"));
    return f;
}

// What a downloader does: the header, then every packet padded to the packet size and indexed.
struct Download {
    explicit Download(const Bytes& header) : parser(header.data(), header.size()), file(header) {}
    void Append(const Bytes& packet, size_t packetSize) {
        Bytes padded = packet;
        padded.resize(packetSize);
        parser.IndexPacket(padded.data(), padded.size(), written++);
        file.bytes.insert(file.bytes.end(), padded.begin(), padded.end());
    }
    CAsfParser parser;
    MemoryFile file;
    uint32_t written = 0;
};

std::vector<std::pair<uint32_t, uint16_t>> KeyFrames(const AsfStreamIndex& s) {
    std::vector<std::pair<uint32_t, uint16_t>> out;
    for (const AsfKeyFrame& k : s.keyFrames) out.emplace_back(k.packetNumber, k.packetCount);
    return out;
}

// ---- Made-up headers and packets -----------------------------------------------------------

const uint8_t kHeaderGuid[] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                               0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
const uint8_t kDataGuid[] = {0x36, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                             0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
const uint8_t kFilePropertiesGuid[] = {0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11,
                                       0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
const uint8_t kStreamPropertiesGuid[] = {0x91, 0x07, 0xDC, 0xB7, 0xB7, 0xA9, 0xCF, 0x11,
                                         0x8E, 0xE6, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
const uint8_t kVideoGuid[] = {0xC0, 0xEF, 0x19, 0xBC, 0x4D, 0x5B, 0xCF, 0x11,
                              0xA8, 0xFD, 0x00, 0x80, 0x5F, 0x5C, 0x44, 0x2B};
const uint8_t kAudioGuid[] = {0x40, 0x9E, 0x69, 0xF8, 0x4D, 0x5B, 0xCF, 0x11,
                              0xA8, 0xFD, 0x00, 0x80, 0x5F, 0x5C, 0x44, 0x2B};
const uint8_t kSimpleIndexGuid[] = {0x90, 0x08, 0x00, 0x33, 0xB1, 0xE5, 0xCF, 0x11,
                                    0x89, 0xF4, 0x00, 0xA0, 0xC9, 0x03, 0x49, 0xCB};

void Append(Bytes& b, const uint8_t* p, size_t n) { b.insert(b.end(), p, p + n); }
void AppendLe(Bytes& b, uint64_t value, size_t width) {
    for (size_t i = 0; i < width; ++i) b.push_back(uint8_t(value >> (8 * i)));
}

struct HeaderSpec {
    uint32_t packetSize = 200;
    uint64_t duration = 0;  // play and send duration, 100-nanosecond units
    uint64_t prerollMs = 0;
    std::vector<std::pair<uint8_t, bool>> streams;  // number, video
    uint8_t fileIdByte = 0x11;
};

Bytes MakeHeader(const HeaderSpec& spec) {
    Bytes objects;
    Append(objects, kFilePropertiesGuid, 16);
    AppendLe(objects, 104, 8);
    objects.insert(objects.end(), 16, spec.fileIdByte);  // File ID
    AppendLe(objects, 123456, 8);                        // File Size
    AppendLe(objects, 0, 8);                             // Creation Date
    AppendLe(objects, 77, 8);                            // Data Packets Count
    AppendLe(objects, spec.duration, 8);                 // Play Duration
    AppendLe(objects, spec.duration, 8);                 // Send Duration
    AppendLe(objects, spec.prerollMs, 8);
    AppendLe(objects, 2, 4);  // Flags
    AppendLe(objects, spec.packetSize, 4);
    AppendLe(objects, spec.packetSize, 4);
    AppendLe(objects, 100000, 4);
    for (const auto& s : spec.streams) {
        Append(objects, kStreamPropertiesGuid, 16);
        AppendLe(objects, 78, 8);
        Append(objects, s.second ? kVideoGuid : kAudioGuid, 16);
        objects.insert(objects.end(), 16 + 8 + 4 + 4, 0);  // error correction type, offset, sizes
        AppendLe(objects, s.first, 2);                     // Flags: the stream number
        AppendLe(objects, 0, 4);
    }
    Bytes h;
    Append(h, kHeaderGuid, 16);
    AppendLe(h, 30 + objects.size(), 8);
    AppendLe(h, 1 + spec.streams.size(), 4);
    h.push_back(1);
    h.push_back(2);
    h.insert(h.end(), objects.begin(), objects.end());
    Append(h, kDataGuid, 16);
    AppendLe(h, 50, 8);
    h.insert(h.end(), 16, spec.fileIdByte);
    AppendLe(h, 0, 8);
    h.push_back(1);
    h.push_back(1);
    return h;
}

struct PayloadSpec {
    uint8_t stream;
    bool key;
    uint8_t mediaObject;
    uint32_t offset;
    size_t size;
};

// A packet with multiple payloads as ffmpeg lays them out: 2-byte padding field, byte Media Object
// Number, 4-byte offset, byte Replicated Data Length of 8 (object size, presentation time), 2-byte
// payload lengths. Its payloads are presented at its send time plus the preroll.
Bytes MakePacket(uint32_t sendTime, const std::vector<PayloadSpec>& payloads, size_t packetSize,
                 uint32_t prerollMs = 0) {
    Bytes p = {0x82, 0x00, 0x00, 0x11, 0x5D};
    AppendLe(p, 0, 2);  // padding, set below
    AppendLe(p, sendTime, 4);
    AppendLe(p, 100, 2);
    p.push_back(uint8_t(0x80 | payloads.size()));
    for (const PayloadSpec& s : payloads) {
        p.push_back(uint8_t(s.stream | (s.key ? 0x80 : 0)));
        p.push_back(s.mediaObject);
        AppendLe(p, s.offset, 4);
        p.push_back(8);
        AppendLe(p, 1000, 4);
        AppendLe(p, sendTime + prerollMs, 4);
        AppendLe(p, s.size, 2);
        p.insert(p.end(), s.size, 0xAB);
    }
    if (p.size() < packetSize) {
        PutLe(p, 5, packetSize - p.size(), 2);
        p.resize(packetSize);
    }
    return p;
}

// Simple Index Objects that follow the data, each as (maximum packet count, entries).
struct IndexObject {
    uint32_t maxPackets;
    std::vector<std::pair<uint32_t, uint16_t>> entries;
};

std::vector<IndexObject> ReadIndexObjects(const Bytes& tail) {
    std::vector<IndexObject> out;
    for (size_t at = 0; at + 56 <= tail.size();) {
        EXPECT_EQ(std::memcmp(&tail[at], kSimpleIndexGuid, 16), 0);
        IndexObject o;
        o.maxPackets = uint32_t(Le(tail, at + 48, 4));
        const size_t count = size_t(Le(tail, at + 52, 4));
        EXPECT_EQ(Le(tail, at + 16, 8), 56 + 6 * count);
        EXPECT_EQ(Le(tail, at + 40, 8), 10000000u);
        for (size_t i = 0; i < count; ++i) {
            o.entries.emplace_back(uint32_t(Le(tail, at + 56 + 6 * i, 4)),
                                   uint16_t(Le(tail, at + 60 + 6 * i, 2)));
        }
        out.push_back(o);
        at += 56 + 6 * count;
    }
    return out;
}

Bytes Patched(Bytes b, size_t at, uint64_t value, size_t width) {
    PutLe(b, at, value, width);
    return b;
}

Bytes TailAfterPackets(const MemoryFile& f, size_t headerLength, size_t packets,
                       size_t packetSize) {
    return Bytes(f.bytes.begin() + long(headerLength + packets * packetSize), f.bytes.end());
}

// ---- Header values -------------------------------------------------------------------------

TEST(AsfParserRealFiles, HeaderGivesWhatTheFileHolds) {
    struct Case {
        const char* name;
        const AsfFile& file;
        size_t fileLength;  // the real length for a plain file, 0 for a streaming header
        std::vector<uint8_t> video;
        int streamObjects;
    } cases[] = {
        {"av.wmv", AvFile(), ReadAll(MediaDir() + "av.wmv").size(), {1}, 2},
        {"audio.wma", AudioFile(), ReadAll(MediaDir() + "audio.wma").size(), {}, 1},
        {"av-stream.asf", AvStream(), 0, {1}, 2},
        {"audio-stream.asf", AudioStream(), 0, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.file.header.empty());
        ASSERT_FALSE(c.file.packets.empty());
        CAsfParser parser(c.file.header.data(), c.file.header.size());
        EXPECT_EQ(parser.GetMaxPacketSize(), int32_t(kPacketSize));
        EXPECT_EQ(parser.GetFileSize(), int64_t(c.fileLength));
        // A plain file announces the packets it holds; a stream announces none.
        EXPECT_EQ(parser.GetDataPacketCount(), c.fileLength ? int32_t(c.file.packets.size()) : 0);
        EXPECT_EQ(parser.CountStreamObjects(), c.streamObjects);
        std::vector<uint8_t> video;
        for (const AsfStreamIndex& s : parser.GetStreams()) video.push_back(s.streamNumber);
        EXPECT_EQ(video, c.video);
    }
}

// The header of a data packet as its flags size it, through the Duration field: a unit with
// fewer bytes is no packet (the downloads drop it rather than pad it into one).
TEST(AsfPacketHeader, LengthFollowsTheFlags) {
    struct Case {
        const char* name;
        Bytes packet;
        size_t length;
    } cases[] = {
        {"nothing", {}, 0},
        {"error correction only", {0x82, 0, 0}, 0},
        {"no field but send time and duration", {0x82, 0, 0, 0x00, 0x5D, 1, 2, 3, 4, 5, 6}, 11},
        {"a byte short of its duration", {0x82, 0, 0, 0x00, 0x5D, 1, 2, 3, 4, 5}, 0},
        {"a 2-byte packet length", {0x82, 0, 0, 0x40, 0x5D, 0, 1, 1, 2, 3, 4, 5, 6, 0xAA}, 13},
        {"packet length, sequence and padding of 4, 1 and 2 bytes",
         Bytes{0x82, 0, 0, 0x72, 0x5D, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6}, 18},
        {"without error correction", {0x08, 0x5D, 0, 1, 2, 3, 4, 5, 6}, 9},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetPacketHeaderLength(c.packet.data(), c.packet.size()), c.length) << c.name;
    }
    // A real packet's header ends before its payloads and holds its send time.
    const Bytes packet(AvFile().packets.at(1).begin(), AvFile().packets.at(1).end());
    const size_t length = GetPacketHeaderLength(packet.data(), packet.size());
    EXPECT_GE(length, 11u);
    EXPECT_LT(length, 20u);
    EXPECT_NE(GetPacketSendTime(packet.data(), packet.size()), 0u);
    EXPECT_EQ(GetPacketSendTime(packet.data(), length), GetPacketSendTime(packet.data(), packet.size()));
    EXPECT_EQ(GetPacketHeaderLength(packet.data(), length - 1), 0u);
}

TEST(AsfParserRealFiles, StreamAndFileCarryTheSamePackets) {
    for (auto pair :
         {std::make_pair(&AvFile(), &AvStream()), std::make_pair(&AudioFile(), &AudioStream())}) {
        ASSERT_EQ(pair.first->packets.size(), pair.second->packets.size());
        for (size_t i = 0; i < pair.first->packets.size(); ++i) {
            Bytes streamed = pair.second->packets[i];
            streamed.resize(kPacketSize);
            EXPECT_EQ(streamed, pair.first->packets[i]) << i;
        }
    }
}

TEST(AsfParserRealFiles, SendTimesRunFromZeroThroughTheSendDuration) {
    for (const AsfFile* f : {&AvFile(), &AudioFile()}) {
        CAsfParser parser(f->header.data(), f->header.size());
        const uint64_t duration = parser.GetSendDurationMs();
        ASSERT_GT(duration, 2000u);
        uint32_t previous = 0;
        for (size_t i = 0; i < f->packets.size(); ++i) {
            const uint32_t t = GetPacketSendTime(f->packets[i].data(), f->packets[i].size());
            if (i == 0) {
                EXPECT_EQ(t, 0u);
            }
            EXPECT_GE(t, previous) << i;
            EXPECT_LT(t, duration) << i;
            previous = t;
        }
        // The last packet is sent within the last second of the send duration.
        EXPECT_GT(previous + 1000, duration);
    }
}

// ffprobe -show_frames puts av.wmv's three video key frames at byte 709, 10309 and 26309, the
// starts of packets 0, 3 and 8; ffmpeg's own index in the file names packets 3 and 8 too.
TEST(AsfParserRealFiles, KeyFramesAreWhereFfmpegPutThem) {
    Download d(AvFile().header);
    for (const Bytes& p : AvFile().packets) d.Append(p, kPacketSize);
    std::vector<uint32_t> ours;
    for (const AsfKeyFrame& k : d.parser.GetStreams().at(0).keyFrames)
        ours.push_back(k.packetNumber);
    EXPECT_EQ(ours, (std::vector<uint32_t>{0, 3, 8}));

    // Second by second, our index names the packets ffmpeg's names (ffmpeg counts one packet
    // less per key frame).
    ASSERT_TRUE(d.parser.WriteIndex(d.file));
    const auto mine =
        ReadIndexObjects(TailAfterPackets(d.file, AvFile().header.size(), 13, kPacketSize));
    const auto theirs = ReadIndexObjects(AvFile().tail);
    ASSERT_EQ(mine.size(), 1u);
    ASSERT_EQ(theirs.size(), 1u);
    ASSERT_EQ(mine[0].entries.size(), 8u);  // Play Duration 6.146 s: seconds 0 to 7
    ASSERT_EQ(theirs[0].entries.size(), mine[0].entries.size());
    for (size_t i = 0; i < mine[0].entries.size(); ++i) {
        EXPECT_EQ(mine[0].entries[i].first, theirs[0].entries[i].first) << i;
    }
}

// ---- Rebuilding a file from header and packets ---------------------------------------------

struct Rebuild {
    const char* name;
    const AsfFile& source;
    const AsfFile& reference;
    const char* referenceFile;
};

std::vector<Rebuild> Rebuilds() {
    return {
        {"av from stream", AvStream(), AvFile(), "av.wmv"},
        {"av from file", AvFile(), AvFile(), "av.wmv"},
        {"audio from stream", AudioStream(), AudioFile(), "audio.wma"},
    };
}

Bytes RebuildFile(const AsfFile& source, bool* wrote = nullptr) {
    Download d(source.header);
    for (const Bytes& p : source.packets) d.Append(p, kPacketSize);
    const bool ok = d.parser.WriteIndex(d.file);
    if (wrote) *wrote = ok;
    return d.file.bytes;
}

TEST(AsfParserRebuild, DataObjectMatchesTheOriginalAndTheIndexReadsBack) {
    for (const Rebuild& r : Rebuilds()) {
        SCOPED_TRACE(r.name);
        bool wrote = false;
        const Bytes rebuilt = RebuildFile(r.source, &wrote);
        EXPECT_TRUE(wrote);
        const size_t headerLength = r.source.header.size();
        const size_t packets = r.reference.packets.size();
        // Audio-only streams have no index, but their Data Object size is set all the same.
        EXPECT_EQ(Le(rebuilt, headerLength - 34, 8), Le(r.reference.header, headerLength - 34, 8));
        EXPECT_EQ(Le(rebuilt, headerLength - 10, 8), packets);
        AsfFile split = SplitFile(rebuilt);
        EXPECT_EQ(split.packets, r.reference.packets);

        CAsfParser reader(r.source.header.data(), r.source.header.size());
        MemoryFile file(rebuilt);
        ASSERT_EQ(reader.ReadIndex(file), AsfResume::Ready);
        EXPECT_EQ(file.bytes.size(), headerLength + packets * kPacketSize);
        EXPECT_EQ(reader.GetPacketsOnDisk(), packets);
        const Bytes& last = r.reference.packets.back();
        EXPECT_EQ(reader.GetLastSendTimeOnDisk(), GetPacketSendTime(last.data(), last.size()));

        Download again(r.source.header);
        for (const Bytes& p : r.source.packets) again.Append(p, kPacketSize);
        ASSERT_EQ(reader.GetStreams().size(), again.parser.GetStreams().size());
        for (size_t s = 0; s < reader.GetStreams().size(); ++s) {
            EXPECT_EQ(KeyFrames(reader.GetStreams()[s]), KeyFrames(again.parser.GetStreams()[s]));
        }
    }
}

TEST(AsfParserRebuild, SecondWriteIndexReplacesTheFirst) {
    Download d(AvStream().header);
    for (const Bytes& p : AvStream().packets) d.Append(p, kPacketSize);
    ASSERT_TRUE(d.parser.WriteIndex(d.file));
    const Bytes once = d.file.bytes;
    ASSERT_TRUE(d.parser.WriteIndex(d.file));
    EXPECT_EQ(d.file.bytes, once);
}

// A download stopped half way (its index written) or killed (no index), resumed and finished
// gives the same file as one that ran straight through, wherever the break fell: inside a key
// frame's packets too, since the resume indexes the packets on disk again.
TEST(AsfParserRebuild, ResumedDownloadEqualsAnUninterruptedOne) {
    const AsfFile& s = AvStream();
    const Bytes whole = RebuildFile(s);
    for (bool killed : {false, true}) {
        for (size_t cut = 1; cut < s.packets.size(); ++cut) {
            SCOPED_TRACE(std::to_string(cut) + (killed ? " killed" : " stopped"));
            Download first(s.header);
            for (size_t i = 0; i < cut; ++i) first.Append(s.packets[i], kPacketSize);
            if (!killed) {
                ASSERT_TRUE(first.parser.WriteIndex(first.file));
            }

            Download second(s.header);
            second.file = first.file;
            ASSERT_EQ(second.parser.ReadIndex(second.file), AsfResume::Ready);
            ASSERT_EQ(second.parser.GetPacketsOnDisk(), cut);
            second.written = second.parser.GetPacketsOnDisk();
            for (size_t i = cut; i < s.packets.size(); ++i) second.Append(s.packets[i], kPacketSize);
            ASSERT_TRUE(second.parser.WriteIndex(second.file));
            EXPECT_EQ(second.file.bytes, whole);
        }
    }
}

#ifndef _WIN32
TEST(AsfParserRebuild, FfmpegReadsTheRebuiltFileAsTheOriginal) {
    TempDir dir;
    for (const Rebuild& r : Rebuilds()) {
        SCOPED_TRACE(r.name);
        const std::string path = dir.File("rebuilt.asf");
        WriteAll(path, RebuildFile(r.source));
        const std::string original = MediaDir() + r.referenceFile;
        for (const char* options : {"-map 0 -c copy", "-map 0"}) {
            SCOPED_TRACE(options);
            const std::string expected = Framecrc(original, options);
            // Guard against two empty outputs: every packet of the file gives a line.
            EXPECT_GT(std::count(expected.begin(), expected.end(), '\n'),
                      long(r.reference.packets.size()));
            EXPECT_EQ(Framecrc(path, options), expected);
        }
    }
}

// ffmpeg seeks through the Simple Index of a file whose header is not a broadcast's: seeking
// the rebuilt file lands on the same key frames as seeking the original with ffmpeg's own index.
// (An index by send time instead of presentation time lands a preroll too late.)
TEST(AsfParserRebuild, FfmpegSeeksTheRebuiltFileAsTheOriginal) {
    TempDir dir;
    const std::string path = dir.File("rebuilt.wmv");
    WriteAll(path, RebuildFile(AvFile()));
    for (const char* seek : {"-ss 0.5", "-ss 1", "-ss 1.5", "-ss 2", "-ss 2.5"}) {
        SCOPED_TRACE(seek);
        const std::string expected = Framecrc(MediaDir() + "av.wmv", "-map 0", seek);
        EXPECT_GT(std::count(expected.begin(), expected.end(), '\n'), 5);
        EXPECT_EQ(Framecrc(path, "-map 0", seek), expected);
    }
}
#endif

// ---- Faults: reads bounded by the bytes there ----------------------------------------------

// Every prefix of a real header, in a buffer of exactly that size (the address sanitizer sees any
// read past it): values come out whole or as 0, never as garbage.
TEST(AsfParserBounds, EveryPrefixOfARealHeader) {
    const Bytes& full = AvFile().header;
    CAsfParser whole(full.data(), full.size());
    const Bytes& packet = AvFile().packets.at(0);
    for (size_t n = 0; n <= full.size(); ++n) {
        std::vector<uint8_t> prefix(full.begin(), full.begin() + long(n));
        CAsfParser parser(prefix.data(), prefix.size());
        const int32_t size = parser.GetMaxPacketSize();
        EXPECT_TRUE(size == 0 || size == whole.GetMaxPacketSize()) << n;
        const int32_t count = parser.GetDataPacketCount();
        EXPECT_TRUE(count == 0 || count == whole.GetDataPacketCount()) << n;
        EXPECT_LE(parser.CountStreamObjects(), whole.CountStreamObjects());
        EXPECT_LE(parser.GetStreams().size(), 1u);
        parser.IndexPacket(packet.data(), packet.size(), 0);
        MemoryFile file(prefix);
        parser.ReadIndex(file);
        parser.WriteIndex(file);
        EXPECT_GE(file.bytes.size(), n);
    }
}

// The stream number stands 48 bytes behind the stream type: a header that ends before it gives
// no stream, and a Video Media GUID outside a Stream Properties Object is no stream either.
TEST(AsfParserBounds, VideoGuidWithoutItsStreamNumber) {
    HeaderSpec spec;
    spec.streams = {{5, true}};
    const Bytes header = MakeHeader(spec);
    const size_t typeAt = header.size() - 50 - 78 + 24;
    struct Case {
        const char* name;
        Bytes header;
        size_t streams;
    } cases[] = {
        {"whole", header, 1},
        {"cut before the number", Bytes(header.begin(), header.begin() + long(typeAt + 48)), 0},
        {"cut after the number", Bytes(header.begin(), header.begin() + long(typeAt + 49)), 1},
        {"GUID alone", Bytes(kVideoGuid, kVideoGuid + 16), 0},
        {"GUID after filler",
         [] {
             Bytes b(60, 0);
             Append(b, kVideoGuid, 16);
             b.resize(b.size() + 60, 7);
             return b;
         }(),
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CAsfParser parser(c.header.data(), c.header.size());
        ASSERT_EQ(parser.GetStreams().size(), c.streams);
        if (c.streams) {
            EXPECT_EQ(parser.GetStreams()[0].streamNumber, 5);
        }
    }
}

// Every prefix of every real packet, again in a buffer of exactly that size.
TEST(AsfParserBounds, EveryPrefixOfEveryRealPacket) {
    CAsfParser parser(AvFile().header.data(), AvFile().header.size());
    for (const Bytes& packet : AvFile().packets) {
        for (size_t n = 0; n <= 64; ++n) {
            std::vector<uint8_t> prefix(packet.begin(), packet.begin() + long(n));
            GetPacketSendTime(prefix.data(), prefix.size());
            parser.IndexPacket(prefix.data(), prefix.size(), 0);
        }
    }
    EXPECT_EQ(GetPacketSendTime(nullptr, 0), 0u);
    EXPECT_FALSE(parser.IndexPacket(nullptr, 0, 0));
}

TEST(AsfParserBounds, PacketsThatClaimMoreThanTheyHold) {
    HeaderSpec spec;
    spec.streams = {{1, true}};
    const Bytes header = MakeHeader(spec);
    const Bytes good = MakePacket(0, {{1, true, 0, 0, 20}}, 200);
    // Offsets in a packet made by MakePacket: padding field 5, payload flags 13, first payload 14.
    struct Case {
        const char* name;
        Bytes packet;
        bool ok;
        size_t keyFrames;  // the payloads before a fault still count
    } cases[] = {
        {"good", good, true, 1},
        {"63 payloads", Patched(good, 13, 0x80 | 63, 1), false, 1},
        {"payload length past the end", Patched(good, 14 + 15, 5000, 2), false, 0},
        {"replicated data past the end", Patched(good, 14 + 6, 250, 1), false, 0},
        {"padding past the end", Patched(good, 5, 60000, 2), false, 0},
        // Packet Length of 3, shorter than the packet's own header.
        {"packet length below its own header", Patched(Patched(good, 3, 0x41, 1), 5, 3, 2), false,
         0},
        {"cut inside the payload flags", Bytes(good.begin(), good.begin() + 13), false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CAsfParser parser(header.data(), header.size());
        EXPECT_EQ(parser.IndexPacket(c.packet.data(), c.packet.size(), 0), c.ok);
        EXPECT_EQ(parser.GetStreams().at(0).keyFrames.size(), c.keyFrames);
    }
}

// Where the Send Time stands: behind the Packet Length, Sequence and Padding Length fields as
// their types say, and behind however much error correction data the first byte announces.
TEST(AsfParserPackets, SendTimeStandsBehindTheLengthFields) {
    struct Case {
        Bytes prefix;  // everything before the Send Time
    } cases[] = {
        {{0x82, 0, 0, 0x00, 0x5D}},              // offset 5
        {{0x82, 0, 0, 0x40, 0x5D, 0xC8, 0x00}},  // 2-byte Packet Length: offset 7
        {{0x82, 0, 0, 0x08, 0x5D, 0x04}},        // 1-byte Padding Length
        {{0x82, 0, 0, 0x06, 0x5D, 1, 2, 3, 4}},  // 4-byte Sequence
        {{0x82, 0, 0, 0x7E, 0x5D, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},  // all three of 4 bytes
        {{0x81, 0, 0x40, 0x5D, 0xC8, 0x00}},  // 1 byte of error correction data
        {{0x40, 0x5D, 0xC8, 0x00}},           // no error correction data
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefix.size());
        Bytes packet = c.prefix;
        AppendLe(packet, 0x12345678, 4);
        AppendLe(packet, 0, 2);
        EXPECT_EQ(GetPacketSendTime(packet.data(), packet.size()), 0x12345678u);
        // One byte short of the Send Time: none.
        EXPECT_EQ(GetPacketSendTime(packet.data(), c.prefix.size() + 3), 0u);
    }
}

// ---- Key frames ----------------------------------------------------------------------------

TEST(AsfParserKeyFrames, PiecesOfOneKeyFrameMakeOneEntry) {
    HeaderSpec spec;
    spec.streams = {{1, true}, {2, false}};
    const Bytes header = MakeHeader(spec);
    CAsfParser parser(header.data(), header.size());
    const std::vector<Bytes> packets = {
        MakePacket(0, {{1, true, 7, 0, 40}}, 200),
        MakePacket(10, {{2, true, 3, 0, 20}, {1, true, 7, 40, 40}}, 200),  // audio is ignored
        MakePacket(20, {{1, true, 7, 80, 40}}, 200),
        MakePacket(30, {{1, false, 8, 0, 40}}, 200),  // a delta frame: ignored
        MakePacket(40, {{1, true, 9, 0, 40}}, 200),
        // A new key frame that reuses number 9 (numbers wrap): it starts at offset 0.
        MakePacket(50, {{1, true, 9, 0, 40}}, 200),
    };
    for (size_t i = 0; i < packets.size(); ++i) {
        ASSERT_TRUE(parser.IndexPacket(packets[i].data(), packets[i].size(), uint32_t(i)));
    }
    const AsfStreamIndex& video = parser.GetStreams().at(0);
    using Frames = std::vector<std::pair<uint32_t, uint16_t>>;
    EXPECT_EQ(KeyFrames(video), (Frames{{0, 3}, {4, 1}, {5, 1}}));
    EXPECT_EQ(video.keyFrames[1].sendTimeMs, 40u);
}

TEST(AsfParserKeyFrames, StreamsAreIndexedInAscendingNumber) {
    HeaderSpec spec;
    spec.streams = {{3, true}, {2, false}, {1, true}};
    spec.duration = 30000000;
    const Bytes header = MakeHeader(spec);
    Download d(header);
    d.Append(MakePacket(0, {{3, true, 1, 0, 20}, {1, true, 1, 0, 20}}, 200), 200);
    d.Append(MakePacket(1500, {{3, true, 2, 0, 20}}, 200), 200);
    d.Append(MakePacket(2900, {{1, true, 2, 0, 20}}, 200), 200);
    ASSERT_EQ(d.parser.GetStreams().size(), 2u);
    EXPECT_EQ(d.parser.GetStreams()[0].streamNumber, 1);
    EXPECT_EQ(d.parser.GetStreams()[1].streamNumber, 3);
    ASSERT_TRUE(d.parser.WriteIndex(d.file));
    const auto objects = ReadIndexObjects(TailAfterPackets(d.file, header.size(), 3, 200));
    ASSERT_EQ(objects.size(), 2u);
    using Entries = std::vector<std::pair<uint32_t, uint16_t>>;
    EXPECT_EQ(objects[0].entries, (Entries{{0, 1}, {0, 1}, {0, 1}, {2, 1}}));  // stream 1
    EXPECT_EQ(objects[1].entries, (Entries{{0, 1}, {0, 1}, {1, 1}, {1, 1}}));  // stream 3
}

// Entry i names the last key frame presented by second i (presentation times count the preroll,
// as players read the index), or the first key frame when none was.
TEST(AsfParserKeyFrames, IndexEntriesPerSecond) {
    struct Case {
        const char* name;
        uint64_t duration;  // 100 ns, preroll included
        uint32_t prerollMs;
        std::vector<uint32_t> keyFrameTimes;  // send times
        uint32_t lastSendTime;
        std::vector<uint32_t> entries;  // packet numbers
    } cases[] = {
        {"10.9 s: seconds 0 to 11",
         109000000,
         0,
         {0, 2000, 4500, 9000},
         10900,
         {0, 0, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3}},
        {"first key frame late", 50000000, 0, {2500, 3000}, 4900, {0, 0, 0, 1, 1, 1}},
        {"key frame on the second", 30000000, 0, {0, 1000, 2000}, 2900, {0, 1, 2, 2}},
        {"preroll", 50000000, 3000, {0, 1000}, 1900, {0, 0, 0, 0, 1, 1}},
        {"no duration: as far as packets came", 0, 0, {0, 1500}, 3200, {0, 0, 1, 1, 1}},
        {"duration past the packets", 1000000000, 0, {0, 1500}, 3200, {0, 0, 1, 1, 1}},
        {"centuries", 0x7FFFFFFFFFFFFFFFull, 0, {0}, 1200, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeaderSpec spec;
        spec.streams = {{1, true}};
        spec.duration = c.duration;
        spec.prerollMs = c.prerollMs;
        Download d(MakeHeader(spec));
        for (uint32_t t : c.keyFrameTimes) {
            d.Append(MakePacket(t, {{1, true, uint8_t(t / 100), 0, 20}}, 200, c.prerollMs), 200);
        }
        d.Append(MakePacket(c.lastSendTime, {{1, false, 0, 0, 20}}, 200, c.prerollMs), 200);
        ASSERT_TRUE(d.parser.WriteIndex(d.file));
        const auto objects =
            ReadIndexObjects(TailAfterPackets(d.file, d.parser.GetHeaderLength(), d.written, 200));
        ASSERT_EQ(objects.size(), 1u);
        std::vector<uint32_t> entries;
        for (const auto& e : objects[0].entries) entries.push_back(e.first);
        EXPECT_EQ(entries, c.entries);
    }
}

TEST(AsfParserKeyFrames, MaximumPacketCountIsTheLargestSpan) {
    HeaderSpec spec;
    spec.streams = {{1, true}};
    spec.duration = 20000000;
    Download d(MakeHeader(spec));
    d.Append(MakePacket(0, {{1, true, 1, 0, 20}}, 200), 200);
    d.Append(MakePacket(100, {{1, true, 1, 20, 20}}, 200), 200);
    d.Append(MakePacket(1200, {{1, true, 2, 0, 20}}, 200), 200);
    ASSERT_TRUE(d.parser.WriteIndex(d.file));
    const auto objects =
        ReadIndexObjects(TailAfterPackets(d.file, d.parser.GetHeaderLength(), 3, 200));
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0].maxPackets, 2u);
    using Entries = std::vector<std::pair<uint32_t, uint16_t>>;
    EXPECT_EQ(objects[0].entries, (Entries{{0, 2}, {0, 2}, {2, 1}}));
}

// ---- Finishing and resuming ----------------------------------------------------------------

// A stream header says its Data Object is 50 bytes long; once finished, the file says how long it
// really is, with or without key frames.
TEST(AsfParserFinish, DataObjectSizeIsAlwaysSet) {
    struct Case {
        const char* name;
        std::vector<std::pair<uint8_t, bool>> streams;
        bool key;
        size_t indexObjects;
    } cases[] = {
        {"audio only", {{1, false}}, true, 0},
        {"video without key frames", {{1, true}}, false, 0},
        {"video with key frames", {{1, true}}, true, 1},
        {"two video streams, one with key frames", {{1, true}, {2, true}}, true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeaderSpec spec;
        spec.streams = c.streams;
        spec.duration = 20000000;
        Download d(MakeHeader(spec));
        for (uint32_t i = 0; i < 4; ++i)
            d.Append(MakePacket(i * 500, {{1, c.key, uint8_t(i), 0, 20}}, 200), 200);
        ASSERT_TRUE(d.parser.WriteIndex(d.file));
        const size_t headerLength = d.parser.GetHeaderLength();
        EXPECT_EQ(Le(d.file.bytes, headerLength - 34, 8), 50u + 4 * 200);
        EXPECT_EQ(Le(d.file.bytes, headerLength - 10, 8), 4u);
        const auto objects = ReadIndexObjects(TailAfterPackets(d.file, headerLength, 4, 200));
        EXPECT_EQ(objects.size(), c.indexObjects);
        if (c.indexObjects == 2) {
            EXPECT_TRUE(objects[1].entries.empty());  // stream 2 had none
        }
    }
}

// WriteIndex cuts a torn last packet; no entry may then point at it, nor count it as a packet of
// the key frame that began before it.
TEST(AsfParserFinish, IndexNamesOnlyPacketsLeftOnDisk) {
    using Frames = std::vector<std::pair<uint32_t, uint16_t>>;
    struct Case {
        const char* name;
        std::vector<uint8_t> objects;  // media object of the key frame in packets 0..3
        Frames entries;
    } cases[] = {
        {"own key frame in the torn packet", {0, 1, 2, 3}, Frames{{0, 1}, {1, 1}, {2, 1}}},
        {"key frame running into the torn packet", {0, 1, 2, 2}, Frames{{0, 1}, {1, 1}, {2, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeaderSpec layout;
        layout.streams = {{1, true}};
        layout.duration = 40000000;
        Download d(MakeHeader(layout));
        for (uint32_t i = 0; i < 4; ++i) {
            // A later piece of the same media object has an offset into it.
            const uint32_t offset = i > 0 && c.objects[i] == c.objects[i - 1] ? 20 : 0;
            d.Append(MakePacket(i * 1000, {{1, true, c.objects[i], offset, 20}}, 200), 200);
        }
        d.file.bytes.resize(d.file.bytes.size() - 50);  // the last packet torn
        ASSERT_TRUE(d.parser.WriteIndex(d.file));
        const size_t headerLength = d.parser.GetHeaderLength();
        EXPECT_EQ(Le(d.file.bytes, headerLength - 10, 8), 3u);
        const auto objects = ReadIndexObjects(TailAfterPackets(d.file, headerLength, 3, 200));
        ASSERT_EQ(objects.size(), 1u);
        Frames distinct;
        for (const auto& e : objects[0].entries) {
            if (distinct.empty() || distinct.back() != e) distinct.push_back(e);
        }
        EXPECT_EQ(distinct, c.entries);
        EXPECT_EQ(objects[0].maxPackets, 1u);
    }
}

TEST(AsfParserFinish, WriteFailureIsReported) {
    HeaderSpec spec;
    spec.streams = {{1, true}};
    Download d(MakeHeader(spec));
    d.Append(MakePacket(0, {{1, true, 1, 0, 20}}, 200), 200);
    d.file.refuseWrites = true;
    EXPECT_FALSE(d.parser.WriteIndex(d.file));
}

// What ReadIndex cuts: to the index a finished download left, else after the last whole packet,
// and never into the header. The streaming header's Data Object size (50) is never trusted.
TEST(AsfParserResume, CutsAtTheIndexOrAfterTheLastWholePacket) {
    const AsfFile& s = AvStream();
    const size_t headerLength = s.header.size();
    Bytes packetsOnly = s.header;
    for (const Bytes& p : s.packets) {
        Bytes padded = p;
        padded.resize(kPacketSize);
        packetsOnly.insert(packetsOnly.end(), padded.begin(), padded.end());
    }
    const size_t all = s.packets.size();
    Bytes finished = RebuildFile(s);
    Bytes sizeWithoutIndex = finished;  // the Data Object size points at no index
    PutLe(sizeWithoutIndex, headerLength - 34, 50 + 3 * kPacketSize, 8);
    Bytes torn = packetsOnly;
    torn.resize(torn.size() - 1000);
    Bytes headerAndCrumbs = s.header;
    headerAndCrumbs.resize(headerAndCrumbs.size() + 10, 0xEE);

    struct Case {
        const char* name;
        Bytes file;
        size_t packets;
    } cases[] = {
        {"stream header, no index (killed)", packetsOnly, all},
        {"finished with an index", finished, all},
        {"size points at no index", sizeWithoutIndex, all},
        {"torn last packet", torn, all - 1},
        {"header and a few bytes", headerAndCrumbs, 0},
        {"header only", s.header, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CAsfParser parser(s.header.data(), s.header.size());
        MemoryFile file(c.file);
        ASSERT_EQ(parser.ReadIndex(file), AsfResume::Ready);
        EXPECT_EQ(parser.GetPacketsOnDisk(), c.packets);
        ASSERT_EQ(file.bytes.size(), headerLength + c.packets * kPacketSize);
        // The packets kept are the first ones, unchanged.
        EXPECT_TRUE(std::equal(file.bytes.begin() + long(headerLength), file.bytes.end(),
                               packetsOnly.begin() + long(headerLength)));
    }
}

TEST(AsfParserResume, IndexEntriesPastTheDataAreDropped) {
    HeaderSpec spec;
    spec.streams = {{1, true}};
    spec.duration = 40000000;
    Download d(MakeHeader(spec));
    for (uint32_t i = 0; i < 4; ++i)
        d.Append(MakePacket(i * 1000, {{1, true, uint8_t(i), 0, 20}}, 200), 200);
    ASSERT_TRUE(d.parser.WriteIndex(d.file));
    // Pretend the last packet was lost after the index was written.
    Bytes file = d.file.bytes;
    const size_t headerLength = d.parser.GetHeaderLength();
    Bytes index(file.begin() + long(headerLength + 4 * 200), file.end());
    file.resize(headerLength + 3 * 200);
    PutLe(file, headerLength - 34, 50 + 3 * 200, 8);
    file.insert(file.end(), index.begin(), index.end());

    const Bytes header = MakeHeader(spec);
    CAsfParser parser(header.data(), header.size());
    MemoryFile resumed(file);
    ASSERT_EQ(parser.ReadIndex(resumed), AsfResume::Ready);
    using Frames = std::vector<std::pair<uint32_t, uint16_t>>;
    EXPECT_EQ(KeyFrames(parser.GetStreams().at(0)), (Frames{{0, 1}, {1, 1}, {2, 1}}));
    EXPECT_EQ(resumed.bytes.size(), headerLength + 3 * 200);
}

// A resume only continues a file that begins with this stream's header; any other file is left
// exactly as it was.
TEST(AsfParserResume, RefusesAnyOtherFile) {
    HeaderSpec spec;
    spec.streams = {{1, true}};
    const Bytes header = MakeHeader(spec);
    HeaderSpec otherId = spec;
    otherId.fileIdByte = 0x22;
    HeaderSpec longer = spec;
    longer.streams = {{1, true}, {2, false}};
    auto withPackets = [](Bytes b) {
        b.resize(b.size() + 3 * 200, 0x5A);
        return b;
    };
    struct Case {
        const char* name;
        Bytes file;
    } cases[] = {
        {"empty", {}},
        {"shorter than the header", Bytes(header.begin(), header.end() - 1)},
        {"another File ID", withPackets(MakeHeader(otherId))},
        {"another header length", withPackets(MakeHeader(longer))},
        {"not ASF", Bytes(header.size() + 600, 0x20)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CAsfParser parser(header.data(), header.size());
        MemoryFile file(c.file);
        EXPECT_EQ(parser.ReadIndex(file), AsfResume::Refused);
        EXPECT_EQ(file.bytes, c.file);
    }
    // A header without File Properties cannot be recognised on disk.
    CAsfParser bare(kDataGuid, sizeof kDataGuid);
    MemoryFile file(withPackets(header));
    EXPECT_EQ(bare.ReadIndex(file), AsfResume::Refused);
}

TEST(AsfParserResume, FileThatCannotBeCutIsAnError) {
    const AsfFile& s = AvStream();
    Bytes bytes = RebuildFile(s);
    CAsfParser parser(s.header.data(), s.header.size());
    MemoryFile file(bytes);
    file.refuseWrites = true;
    EXPECT_EQ(parser.ReadIndex(file), AsfResume::FileError);
}

// A header with a packet size of 0 has no whole packets to count; nothing divides by it.
TEST(AsfParserResume, PacketSizeZero) {
    HeaderSpec spec;
    spec.packetSize = 0;
    spec.streams = {{1, true}};
    spec.duration = 20000000;
    const Bytes header = MakeHeader(spec);
    Download d(header);
    d.Append(MakePacket(0, {{1, true, 1, 0, 20}}, 200), 200);
    EXPECT_EQ(d.parser.GetMaxPacketSize(), 0);
    ASSERT_TRUE(d.parser.WriteIndex(d.file));
    EXPECT_EQ(Le(d.file.bytes, header.size() - 34, 8), 250u);

    CAsfParser again(header.data(), header.size());
    MemoryFile file(d.file.bytes);
    ASSERT_EQ(again.ReadIndex(file), AsfResume::Ready);
    EXPECT_EQ(again.GetPacketsOnDisk(), 0u);
    EXPECT_EQ(file.bytes.size(), header.size() + 200);
}

TEST(AsfParserHeader, ValuesTooLargeForTheCaller) {
    HeaderSpec spec;
    spec.packetSize = 0xFFFFFFF0u;
    Bytes header = MakeHeader(spec);
    const size_t fileProperties = 30;
    PutLe(header, fileProperties + 56, 0x100000005ull, 8);         // Data Packets Count
    PutLe(header, fileProperties + 40, 0x8000000000000000ull, 8);  // File Size
    CAsfParser parser(header.data(), header.size());
    // Clamped, not wrapped: a caller's "too large" check still sees them as too large.
    EXPECT_EQ(parser.GetMaxPacketSize(), INT32_MAX);
    EXPECT_EQ(parser.GetDataPacketCount(), INT32_MAX);
    EXPECT_EQ(parser.GetFileSize(), INT64_MAX);
}

// The stream table holds each video stream once, by the number in bits 0-6 of its Flags.
TEST(AsfParserHeader, VideoStreamTable) {
    struct Case {
        const char* name;
        std::vector<std::pair<uint8_t, bool>> streams;
        std::vector<uint8_t> table;
    } cases[] = {
        {"3 and 1 give 1, 3", {{3, true}, {2, false}, {1, true}}, {1, 3}},
        {"the same number twice", {{4, true}, {4, true}}, {4}},
        {"number 0 is no stream", {{0, true}, {1, false}}, {}},
        {"bit 7 is not part of the number", {{0x85, true}}, {5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeaderSpec spec;
        spec.streams = c.streams;
        const Bytes header = MakeHeader(spec);
        CAsfParser parser(header.data(), header.size());
        std::vector<uint8_t> table;
        for (const AsfStreamIndex& s : parser.GetStreams()) table.push_back(s.streamNumber);
        EXPECT_EQ(table, c.table);
        EXPECT_EQ(parser.CountStreamObjects(), c.streams.size());
    }
}

TEST(AsfParserHeader, StreamObjectCountStopsAt255) {
    Bytes header;
    for (int i = 0; i < 300; ++i) Append(header, kStreamPropertiesGuid, 16);
    CAsfParser parser(header.data(), header.size());
    EXPECT_EQ(parser.CountStreamObjects(), 255);
}

TEST(AsfParserHeader, WithoutFileProperties) {
    HeaderSpec spec;
    spec.streams = {{1, true}};
    Bytes header = MakeHeader(spec);
    header[30] ^= 0xFF;  // spoil the File Properties GUID
    CAsfParser parser(header.data(), header.size());
    EXPECT_EQ(parser.GetFileSize(), 0);
    EXPECT_EQ(parser.GetDataPacketCount(), 0);
    EXPECT_EQ(parser.GetMaxPacketSize(), 0);
    EXPECT_EQ(parser.CountStreamObjects(), 1);
}

}  // namespace
