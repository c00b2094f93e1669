// MMS over TCP against the scripted server replaying real ASF packets made by ffmpeg: the file the
// engine writes is checked against the served header and packets, and, natively, by ffmpeg; the
// wire readers are checked without a connection.
#include "DownMMS1755.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "CommandOutput.h"
#include "Factories.h"
#include "Framecrc.h"
#include "LittleEndian.h"
#include "MmsTcpFixture.h"
#include "RecordingSink.h"
#include "TempDir.h"
#include "sys/FileSystem.h"

namespace {

using Bytes = std::vector<uint8_t>;

const uint8_t kSimpleIndexGuid[16] = {0x90, 0x08, 0x00, 0x33, 0xB1, 0xE5, 0xCF, 0x11,
                                      0x89, 0xF4, 0x00, 0xA0, 0xC9, 0x03, 0x49, 0xCB};

// What our own reading of a written file finds.
struct Written {
    Bytes headerObject;   // the Header Object, without the Data Object header
    uint64_t dataSize = 0;
    uint64_t packetCount = 0;
    std::vector<Bytes> packets;
    bool simpleIndex = false;
};

Written ReadWritten(const std::string& path, size_t headerLength, size_t packetSize) {
    const Bytes file = ReadAll(path);
    Written w;
    if (file.size() < headerLength) return w;
    w.headerObject.assign(file.begin(), file.begin() + long(headerLength - 50));
    w.dataSize = Le(file, headerLength - 34, 8);
    w.packetCount = Le(file, headerLength - 10, 8);
    const size_t dataEnd = std::min(file.size(), size_t(headerLength - 50 + w.dataSize));
    for (size_t at = headerLength; at + packetSize <= dataEnd; at += packetSize) {
        w.packets.emplace_back(file.begin() + long(at), file.begin() + long(at + packetSize));
    }
    w.simpleIndex = dataEnd + 16 <= file.size() && std::memcmp(&file[dataEnd], kSimpleIndexGuid, 16) == 0;
    return w;
}

Bytes HeaderObject(const MmsTcpFixture::Media& media) {
    return Bytes(media.header.begin(), media.header.end() - 50);
}

size_t PacketSizeOf(const MmsTcpFixture::Media& media) { return media.packets.at(0).size(); }

int32_t Download(const std::string& url, const std::string& file, RecordingSink& sink) {
    EnginePtr<CDownMMS1755> downloader(static_cast<CDownMMS1755*>(NEW_DOWNMMS1755()));
    if (!downloader) return -100;
    downloader->SetUrl(url.c_str(), file.c_str());
    return downloader->Run(&sink);
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Wide(const std::string& text) {
    std::string out;
    for (char c : text) out += std::string(1, c) + '\0';
    return out + std::string(2, '\0');
}

MmsTcpFixture::Media AvMedia() { return MmsTcpFixture::LoadAsf(MediaPath("av.wmv")); }
MmsTcpFixture::Media LongMedia() { return MmsTcpFixture::LoadAsf(MediaPath("av-20s.wmv")); }

// ---- Whole downloads --------------------------------------------------------------------------

TEST(DownMMS1755, WritesTheServedHeaderAndEveryPacketWithAnIndexWhilePingsAreAnswered) {
    const auto media = AvMedia();
    ASSERT_GT(media.packets.size(), 5u);
    MmsTcpFixture server(media);
    server.headerUnits = 3;
    server.pingInHeader = true;
    server.pingEvery = 4;
    server.Start();
    TempDir dir;
    RecordingSink sink;
    const std::string file = dir.File("clip.asf");
    EXPECT_EQ(Download(server.Url("media/a%20clip.wmv?x=1"), file, sink), ResultSuccess) << sink.LogText();
    EXPECT_EQ(sink.succeeded, 1);

    const Written w = ReadWritten(file, media.header.size(), PacketSizeOf(media));
    // The ping inside the header is answered and kept out of it.
    EXPECT_TRUE(w.headerObject == HeaderObject(media));
    EXPECT_TRUE(w.packets == media.packets);
    EXPECT_EQ(w.packetCount, media.packets.size());
    EXPECT_EQ(w.dataSize, 50 + media.packets.size() * PacketSizeOf(media));
    EXPECT_TRUE(w.simpleIndex);
    EXPECT_FALSE(sys::FileExists(file + ".ini"));

    // Seven commands in order with their sequence numbers, every pong with 8.
    const auto commands = server.Commands();
    const uint16_t order[] = {0x01, 0x18, 0x02, 0x05, 0x15, 0x33, 0x07};
    size_t step = 0;
    int pongs = 0;
    for (const auto& c : commands) {
        if (c.command == 0x1B) {
            EXPECT_EQ(c.sequence, 8u);
            ++pongs;
        } else if (step < std::size(order)) {
            EXPECT_EQ(c.command, order[step]);
            EXPECT_EQ(c.sequence, step);
            ++step;
        }
    }
    EXPECT_EQ(step, std::size(order));
    const int pingsInData = int((media.packets.size() - 1) / 4);
    EXPECT_EQ(pongs, 1 + pingsInData);
    // The path reaches command 05 decoded, with its query.
    const std::string body05(commands.at(3).body.begin(), commands.at(3).body.end());
    EXPECT_NE(body05.find(Wide("media/a clip.wmv?x=1")), std::string::npos);
    const std::string log = sink.LogText();
    EXPECT_NE(log.find("START DOWNLOAD MMS 1755"), std::string::npos);
    EXPECT_NE(log.find("DOWNLOAD MMS 1755 SUCCESS"), std::string::npos);
}

TEST(DownMMS1755, LiveStreamWhoseHeaderSaysNoPacketsRunsToTheEndMessage) {
    const auto media = MmsTcpFixture::LoadAsfStream(MediaPath("av-stream.asf"));
    ASSERT_FALSE(media.packets.empty());
    ASSERT_EQ(Le(media.header, media.header.size() - 10, 8), 0u);
    MmsTcpFixture server(media);
    server.Start();
    TempDir dir;
    RecordingSink sink;
    const std::string file = dir.File("live.asf");
    EXPECT_EQ(Download(server.Url("live"), file, sink), ResultSuccess) << sink.LogText();
    const Written w = ReadWritten(file, media.header.size(), PacketSizeOf(media));
    EXPECT_TRUE(w.packets == media.packets);
    EXPECT_EQ(w.packetCount, media.packets.size());
    EXPECT_TRUE(w.simpleIndex);
}

// Faults of a server that still sends the whole stream: the file must be the stream, once.
TEST(DownMMS1755, RepeatsAndPingsOfTheServerLeaveTheStreamWhole) {
    const auto media = AvMedia();
    const auto live = MmsTcpFixture::LoadAsfStream(MediaPath("av-stream.asf"));
    const size_t last = media.packets.size() - 1;
    struct Case {
        const char* name;
        const MmsTcpFixture::Media* media;
        std::vector<size_t> repeats;
        uint16_t pingBefore;
    } cases[] = {
        // With the header's packet count reached early, a doubled packet pushed out the last.
        {"first unit twice", &media, {0}, 0},
        {"a middle unit twice", &media, {3}, 0},
        {"the last unit twice", &media, {last}, 0},
        {"several units twice", &media, {1, 2, 5}, 0},
        {"a unit twice in a live stream", &live, {2}, 0},
        {"a ping before the reply to 01", &media, {}, 0x01},
        {"a ping before the reply to 18", &media, {}, 0x18},
        {"a ping before the reply to 02", &media, {}, 0x02},
        {"a ping before the reply to 05", &media, {}, 0x05},
        {"a ping before the reply to 15", &media, {}, 0x15},
        {"a ping before the reply to 33", &media, {}, 0x33},
        {"a ping before the reply to 07", &media, {}, 0x07},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MmsTcpFixture server(*c.media);
        server.repeatPackets = c.repeats;
        server.pingBeforeReplyTo = c.pingBefore;
        server.Start();
        TempDir dir;
        RecordingSink sink;
        const std::string file = dir.File("clip.asf");
        const int32_t code = Download(server.Url("clip"), file, sink);
        EXPECT_EQ(code, ResultSuccess) << sink.LogText();
        if (code != 0) continue;
        const Written w = ReadWritten(file, c.media->header.size(), PacketSizeOf(*c.media));
        EXPECT_TRUE(w.packets == c.media->packets) << w.packets.size() << " packets";
        EXPECT_EQ(w.packetCount, c.media->packets.size());
        EXPECT_TRUE(w.simpleIndex);
        EXPECT_EQ(server.Pongs(), c.pingBefore ? 1 : 0);
    }
}

TEST(DownMMS1755, ShortUnitsArePaddedToThePacketSize) {
    const auto media = AvMedia();
    MmsTcpFixture server(media);
    server.trimPadding = true;
    server.Start();
    TempDir dir;
    RecordingSink sink;
    const std::string file = dir.File("clip.asf");
    EXPECT_EQ(Download(server.Url("clip"), file, sink), ResultSuccess) << sink.LogText();
    EXPECT_TRUE(ReadWritten(file, media.header.size(), PacketSizeOf(media)).packets == media.packets);
}

TEST(DownMMS1755, StreamEndingBeforeItsPacketCountFailsAndKeepsTheResumeRecord) {
    const auto media = AvMedia();
    MmsTcpFixture server(media);
    server.endAfter = 4;
    server.Start();
    TempDir dir;
    RecordingSink sink;
    const std::string file = dir.File("clip.asf");
    EXPECT_EQ(Download(server.Url("clip"), file, sink), ResultReceiveError);
    ASSERT_EQ(sink.failures, std::vector<std::string>{"RECEIVE DATA ERROR"});
    EXPECT_EQ(sink.succeeded, 0);
    const std::string record = ReadText(file + ".ini");
    EXPECT_EQ(record, "8\r\n" + std::to_string(MmsTcpFixture::SendTime(media.packets[3])) + "\r\n4");
    // What did arrive is a playable file of four packets.
    const Written w = ReadWritten(file, media.header.size(), PacketSizeOf(media));
    EXPECT_EQ(w.packetCount, 4u);
}

// A download broken off, resumed from the file on disk: the result equals one whole download.
TEST(DownMMS1755, BrokenDownloadResumesWhereTheFileEnds) {
    const auto media = LongMedia();
    ASSERT_GT(media.packets.size(), 40u);
    TempDir dir;
    const std::string file = dir.File("long.asf");
    {
        MmsTcpFixture server(media);
        server.closeAfter = 30;
        server.Start();
        RecordingSink sink;
        EXPECT_EQ(Download(server.Url("long.wmv"), file, sink), ResultTimeOut);
        ASSERT_TRUE(sys::FileExists(file + ".ini"));
    }
    // A run killed while writing leaves a torn packet behind the last whole one.
    {
        std::ofstream torn(file, std::ios::binary | std::ios::app);
        torn << std::string(1000, '\x55');
    }
    MmsTcpFixture server(media);
    server.Start();
    RecordingSink sink;
    EXPECT_EQ(Download(server.Url("long.wmv"), file, sink), ResultSuccess) << sink.LogText();
    // Asked from safely before the last packet on disk: from the start of a few packets that the
    // stream shows again before anything is appended, by number and by send time less one.
    EXPECT_LT(server.PacketsAsked(), 30u);
    EXPECT_GE(server.PacketsAsked(), 20u);
    EXPECT_EQ(server.StartTimeMs() + 1, MmsTcpFixture::SendTime(media.packets[server.PacketsAsked()]));
    const Written w = ReadWritten(file, media.header.size(), PacketSizeOf(media));
    EXPECT_TRUE(w.headerObject == HeaderObject(media));
    EXPECT_TRUE(w.packets == media.packets);
    EXPECT_EQ(w.packetCount, media.packets.size());
    EXPECT_TRUE(w.simpleIndex);
    EXPECT_FALSE(sys::FileExists(file + ".ini"));
}

TEST(DownMMS1755, FileOfAnotherStreamIsRewrittenFromTheStartNotAppendedTo) {
    const auto media = AvMedia();
    TempDir dir;
    const std::string file = dir.File("clip.asf");
    {
        // Another stream's file, large enough to be resumed, with its record.
        Bytes other = ReadAll(MediaPath("av-20s.wmv"));
        WriteAll(file, other);
        std::ofstream(file + ".ini", std::ios::binary) << "8\r\n9000\r\n30";
    }
    MmsTcpFixture server(media);
    server.Start();
    RecordingSink sink;
    EXPECT_EQ(Download(server.Url("clip"), file, sink), ResultSuccess) << sink.LogText();
    EXPECT_EQ(server.StartTimeMs(), 0u);
    EXPECT_EQ(server.PacketsAsked(), 0u);
    EXPECT_NE(sink.LogText().find("The file on disk holds another stream: starting afresh"), std::string::npos);
    const Written w = ReadWritten(file, media.header.size(), PacketSizeOf(media));
    EXPECT_TRUE(w.headerObject == HeaderObject(media));
    EXPECT_TRUE(w.packets == media.packets);
}

TEST(DownMMS1755, StopWhileReceivingKeepsTheRecord) {
    const auto media = LongMedia();
    MmsTcpFixture server(media);
    server.Start();
    TempDir dir;
    RecordingSink sink;
    int packets = 0;
    sink.onProgress = [&](int32_t) {
        if (++packets == 5) sink.stop = true;
    };
    const std::string file = dir.File("long.asf");
    EXPECT_EQ(Download(server.Url("long"), file, sink), ResultUserCancel);
    EXPECT_EQ(sink.failures, std::vector<std::string>{"USER CANCEL THE OPERATION"});
    EXPECT_TRUE(sys::FileExists(file + ".ini"));
}

// Servers that answer wrongly or send hostile units: each ends the run with its result, at once.
TEST(DownMMS1755, FaultsOfTheServerEndTheRunWithTheirResult) {
    const auto media = AvMedia();
    const size_t packetSize = PacketSizeOf(media);
    Bytes endlessHeader;
    const Bytes headerPiece = MmsTcpFixture::Unit(2, 4, Bytes(100, 0x30));
    for (int i = 0; i < 25; ++i) endlessHeader.insert(endlessHeader.end(), headerPiece.begin(), headerPiece.end());
    Bytes hugeCommand = MmsTcpFixture::Command(0x20, Bytes(8, 0));
    hugeCommand[8] = 0xF0, hugeCommand[9] = 0xFF, hugeCommand[10] = 0xFF, hugeCommand[11] = 0x7F;
    struct Case {
        const char* name;
        std::function<void(MmsTcpFixture&)> setup;
        int32_t result;
        const char* logLine;
    } cases[] = {
        {"server version above ours", [](MmsTcpFixture& s) { s.serverVersion = "9.0.0.3790"; },
         ResultShakeHandError, "server version is so high"},
        {"header never ends", [&](MmsTcpFixture& s) { s.headerOverride = endlessHeader; }, ResultReceiveError,
         nullptr},
        {"command with a length beyond any bound", [&](MmsTcpFixture& s) { s.beforeData = hugeCommand; },
         ResultReceiveError, nullptr},
        {"unknown command among the data", [](MmsTcpFixture& s) {
             s.beforeData = MmsTcpFixture::Command(0x20, Bytes(8, 0));
         },
         ResultReceiveError, nullptr},
        {"data unit longer than a packet", [&](MmsTcpFixture& s) {
             s.editUnit = [&](size_t index, Bytes& unit) {
                 if (index != 1) return;
                 unit.push_back(0);
                 unit[6] = uint8_t((packetSize + 9) & 0xFF);
                 unit[7] = uint8_t((packetSize + 9) >> 8);
             };
         },
         ResultReceiveError, nullptr},
        {"data unit shorter than its prefix", [](MmsTcpFixture& s) {
             s.editUnit = [](size_t index, Bytes& unit) {
                 if (index == 1) unit = {0, 0, 0, 0, 4, 0, 7, 0};
             };
         },
         ResultReceiveError, nullptr},
        {"server hangs up in the handshake", [](MmsTcpFixture& s) { s.hangUpAt = 0x05; }, ResultTimeOut, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MmsTcpFixture server(media);
        c.setup(server);
        server.Start();
        TempDir dir;
        RecordingSink sink;
        EXPECT_EQ(Download(server.Url("clip"), dir.File("clip.asf"), sink), c.result) << sink.LogText();
        EXPECT_EQ(sink.failures.size(), 1u);
        if (c.logLine) {
            EXPECT_NE(sink.LogText().find(c.logLine), std::string::npos);
        }
    }
}

// ---- Checked by ffmpeg (native only: the Windows build cannot start it from inside Wine) --------

#if !defined(_WIN32)

bool HaveFfmpeg() { return !CommandOutput("command -v ffmpeg ffprobe").empty(); }

// Every packet of every stream, with its time stamps, size and checksum.
std::string FrameCrc(const std::string& input, const std::string& before = "") {
    return Framecrc(input, "-map 0 -c copy", before);
}

// ffmpeg's own MMS-over-TCP client reads the fixture's stream packet for packet like the source
// file: the fixture speaks the protocol as a real server does.
TEST(DownMMS1755Ffmpeg, FfmpegClientReadsTheFixtureLikeTheSource) {
    if (!HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
    const std::string source = MediaPath("av-20s.wmv");
    MmsTcpFixture server(MmsTcpFixture::LoadAsf(source));
    server.headerUnits = 2;
    server.pingEvery = 10;
    server.Start();
    const std::string expected = FrameCrc(source);
    ASSERT_NE(expected.find("0,"), std::string::npos);
    EXPECT_EQ(FrameCrc(server.Url("av-20s.wmv", "mmst")), expected);
    EXPECT_GT(server.Pongs(), 0) << "ffmpeg answers the pings";
}

// What the engine writes plays like the source: the same packets for ffmpeg, and its index lets
// ffmpeg seek to where it seeks in the source.
TEST(DownMMS1755Ffmpeg, WrittenFileReadsAndSeeksLikeTheSource) {
    if (!HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
    const std::string source = MediaPath("av-20s.wmv");
    const auto media = MmsTcpFixture::LoadAsf(source);
    MmsTcpFixture server(media);
    server.pingEvery = 7;
    server.Start();
    TempDir dir;
    RecordingSink sink;
    const std::string file = dir.File("long.asf");
    ASSERT_EQ(Download(server.Url("long"), file, sink), ResultSuccess) << sink.LogText();
    EXPECT_EQ(FrameCrc(file), FrameCrc(source));
    const std::string count = "ffprobe -v error -count_packets -show_entries stream=nb_read_packets -of csv=p=0 '";
    EXPECT_EQ(CommandOutput(count + file + "'"), CommandOutput(count + source + "'"));
    EXPECT_EQ(FrameCrc(file, "-ss 12.5"), FrameCrc(source, "-ss 12.5"));
}

#endif

// ---- The wire readers, without a connection ---------------------------------------------------

// Serves bytes as a socket would, failing when they run out.
struct Source {
    Bytes bytes;
    size_t at = 0;
    CDownMMS1755::ReceiveExactFn Fn() {
        return [this](void* out, int32_t count) {
            if (count < 0 || bytes.size() - at < size_t(count)) return false;
            std::memcpy(out, bytes.data() + at, size_t(count));
            at += size_t(count);
            return true;
        };
    }
};

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

TEST(DownMMS1755Wire, UnitsAreReadWithinTheirBounds) {
    Bytes noSeal = MmsTcpFixture::Command(0x1B, Bytes(8, 0));
    noSeal[12] = 'X';
    Bytes huge = MmsTcpFixture::Command(0x1B, Bytes(8, 0));
    huge[8] = 0x01, huge[9] = 0x00, huge[10] = 0x01, huge[11] = 0x00;  // 65537
    const Bytes whole = MmsTcpFixture::Unit(4, 0, Bytes(20, 7));
    struct Case {
        const char* name;
        Bytes bytes;
        int32_t result;
        size_t length;
    } cases[] = {
        {"data unit", MmsTcpFixture::Unit(4, 0, Bytes(20, 7)), ResultSuccess, 28},
        {"empty data unit", MmsTcpFixture::Unit(4, 0, {}), ResultSuccess, 8},
        {"length below the prefix", {0, 0, 0, 0, 4, 0, 7, 0}, ResultReceiveError, 0},
        {"command", MmsTcpFixture::Command(0x1E, Bytes(8, 0)), ResultSuccess, 48},
        {"command without its seal", noSeal, ResultReceiveError, 0},
        {"command length beyond the bound", huge, ResultReceiveError, 0},
        {"unit cut short", Bytes(whole.begin(), whole.begin() + 20), ResultTimeOut, 0},
        {"nothing", {}, ResultTimeOut, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Source source{c.bytes};
        Bytes unit;
        EXPECT_EQ(CDownMMS1755::ReadUnit(source.Fn(), unit), c.result);
        if (c.result == ResultSuccess) {
            EXPECT_EQ(unit.size(), c.length);
        }
    }
}

TEST(DownMMS1755Wire, HeaderKeepsOnlyHeaderDataAndAnswersPings) {
    const Bytes a(30, 0x41), b = {0x42, 0x01, 0x01};
    const Bytes ping = MmsTcpFixture::Command(0x1B, Bytes(8, 0));
    Source source{Join({MmsTcpFixture::Unit(2, 4, a), ping, ping, MmsTcpFixture::Unit(2, 8, b)})};
    int pongs = 0;
    Bytes header;
    EXPECT_EQ(CDownMMS1755::CollectHeader(source.Fn(), [&] { ++pongs; }, header), 0);
    EXPECT_EQ(header, Join({a, b}));
    EXPECT_EQ(pongs, 2);

    // Nineteen units without the end are the limit; another command than a ping is refused.
    Bytes nineteen;
    for (int i = 0; i < 19; ++i) nineteen = Join({nineteen, MmsTcpFixture::Unit(2, 4, a)});
    Source endless{Join({nineteen, MmsTcpFixture::Unit(2, 8, b)})};
    EXPECT_EQ(CDownMMS1755::CollectHeader(endless.Fn(), nullptr, header), ResultReceiveError);
    Source eighteen{Join({Bytes(nineteen.begin(), nineteen.end() - 38), MmsTcpFixture::Unit(2, 8, b)})};
    EXPECT_EQ(CDownMMS1755::CollectHeader(eighteen.Fn(), nullptr, header), 0);
    Source other{Join({MmsTcpFixture::Command(0x1E, Bytes(8, 0)), MmsTcpFixture::Unit(2, 8, b)})};
    EXPECT_EQ(CDownMMS1755::CollectHeader(other.Fn(), nullptr, header), ResultReceiveError);
}

TEST(DownMMS1755Wire, RepliesComeAfterThePingsBeforeThem) {
    const Bytes ping = MmsTcpFixture::Command(0x1B, Bytes(8, 0));
    const Bytes reply = MmsTcpFixture::Command(0x06, Bytes(16, 7));
    int pongs = 0;
    Bytes out;
    Source two{Join({ping, ping, reply})};
    EXPECT_EQ(CDownMMS1755::ReadReply(two.Fn(), [&] { ++pongs; }, out), 0);
    EXPECT_EQ(out, reply);
    EXPECT_EQ(pongs, 2);
    // A server that only pings never gives a reply.
    Bytes endless;
    for (int i = 0; i <= CDownMMS1755::kMaxHeaderPings; ++i) endless = Join({endless, ping});
    Source pinging{Join({endless, reply})};
    EXPECT_EQ(CDownMMS1755::ReadReply(pinging.Fn(), nullptr, out), ResultReceiveError);
}

TEST(DownMMS1755Wire, ServerVersionIsComparedAsTextWithinTheReply) {
    auto reply = [](const std::string& version, uint32_t characters, size_t keep = 1000) {
        Bytes body(56, 0);
        std::memcpy(&body[40], &characters, 4);
        for (char c : version) body.insert(body.end(), {uint8_t(c), 0});
        body.insert(body.end(), {0, 0});
        Bytes message = MmsTcpFixture::Command(0x01, body);
        if (message.size() > keep) message.resize(keep);
        return message;
    };
    struct Case {
        const char* version;
        uint32_t characters;
        size_t keep;
        bool passes;
    } cases[] = {
        {"9.0.0.2991", 11, 1000, true},   {"9.0.0.3790", 11, 1000, false}, {"10.0.0.1", 9, 1000, true},
        {"4.1.0.3928", 11, 1000, true},   {"9.1", 4, 1000, false},        {"9.0.0.3790", 3, 1000, true},
        {"9.0.0.3790", 0xFFFFFFFF, 1000, false},
        // The text cut off by the reply's end: only what is there is compared.
        {"9.0.0.3790", 11, 96 + 12, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        EXPECT_EQ(CDownMMS1755::CheckServerVersion(reply(c.version, c.characters, c.keep)), c.passes);
    }
    EXPECT_TRUE(CDownMMS1755::CheckServerVersion(Bytes(40, 0)));
}

TEST(DownMMS1755Wire, CommandsCarryTheirLengthsInThreePlaces) {
    const Bytes message = CDownMMS1755::BuildCommand(0x0033, 5, Bytes(10, 0xAA));
    ASSERT_EQ(message.size(), 40u + 16u);
    EXPECT_EQ(Le(message, 0, 4), 1u);
    EXPECT_EQ(Le(message, 4, 4), 0xB00BFACEu);
    EXPECT_EQ(Le(message, 8, 4), 40u);
    EXPECT_EQ(std::string(message.begin() + 12, message.begin() + 16), "MMS ");
    EXPECT_EQ(Le(message, 16, 4), 5u);
    EXPECT_EQ(Le(message, 20, 4), 5u);
    EXPECT_EQ(Le(message, 32, 4), 3u);
    EXPECT_EQ(Le(message, 36, 2), 0x33u);
    EXPECT_EQ(Le(message, 38, 2), 3u);
    EXPECT_EQ(message[49], 0xAA);
    EXPECT_EQ(message[50], 0);
}

}  // namespace
