// MMS over RTSP against the RTSP fixture replaying real ASF packets made by ffmpeg: the exact
// requests, the file written (checked by our own reading and by ffmpeg), live streams, resume,
// keep-alives on their timer, and the faults of a hostile or broken server.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "DownMMS554.h"
#include "Factories.h"
#include "FileBytes.h"
#include "FixtureServer.h"
#include "Framecrc.h"
#include "LittleEndian.h"
#include "RecordingSink.h"
#include "RtspFixture.h"
#include "ScopedEngineTimeOut.h"
#include "TempDir.h"

namespace {


// What the engine wrote, taken apart: header, packets of the header's size, what follows.
struct Written {
    std::string header;
    std::vector<std::string> packets;
    std::string tail;
};

Written Split(const std::string& file, size_t packetSize) {
    Written w;
    if (file.size() < 30) return w;
    const size_t headerLength = size_t(Le(file, 16, 8)) + 50;
    const size_t dataEnd = headerLength - 50 + size_t(Le(file, headerLength - 34, 8));
    w.header = file.substr(0, headerLength);
    for (size_t at = headerLength; at + packetSize <= dataEnd && at + packetSize <= file.size(); at += packetSize) {
        w.packets.push_back(file.substr(at, packetSize));
    }
    if (dataEnd <= file.size()) w.tail = file.substr(dataEnd);
    return w;
}

constexpr size_t kPacketSize = 3200;  // every fixture file's packet size
const uint8_t kSimpleIndexGuid[16] = {0x90, 0x08, 0x00, 0x33, 0xB1, 0xE5, 0xCF, 0x11,
                                      0x89, 0xF4, 0x00, 0xA0, 0xC9, 0x03, 0x49, 0xCB};

std::string Padded(std::string packet) {
    packet.resize(kPacketSize, '\0');
    return packet;
}

#ifndef _WIN32
// Per stream, the size and checksum of each packet: what an RTSP client and a file reader agree on
// (timing fields and the order between streams depend on the transport).
std::string PacketsByStream(const std::string& framecrc) {
    std::vector<std::string> streams(8);
    size_t start = 0;
    for (size_t end; (end = framecrc.find('\n', start)) != std::string::npos; start = end + 1) {
        std::vector<std::string> fields;
        std::string line = framecrc.substr(start, end - start), field;
        for (size_t at = 0, comma; at <= line.size(); at = comma + 1) {
            comma = line.find(',', at);
            if (comma == std::string::npos) comma = line.size();
            field = line.substr(at, comma - at);
            field.erase(0, field.find_first_not_of(' '));
            fields.push_back(field);
        }
        if (fields.size() < 6 || fields[0].size() != 1 || fields[0][0] < '0' || fields[0][0] > '7') return framecrc;
        streams[size_t(fields[0][0] - '0')] += fields[4] + " " + fields[5] + "\n";
    }
    std::string all;
    for (size_t i = 0; i < streams.size(); ++i) {
        if (!streams[i].empty()) all += "stream " + std::to_string(i) + "\n" + streams[i];
    }
    return all + framecrc.substr(start);
}
#endif

class Mms554 : public ::testing::Test {
protected:
    ScopedEngineTimeOut timeOut_{2};

    int32_t Run(const std::string& url, const std::string& local, RecordingSink& sink) {
        EnginePtr<CDownBase> downloader(static_cast<CDownBase*>(NEW_DOWNMMS554()));
        if (!downloader) return -100;
        downloader->SetUrl(url.c_str(), local.c_str());
        return downloader->Run(&sink);
    }

    // The file a download of media must give: the header, every packet, an index.
    void ExpectWhole(const std::string& path, const RtspFixture::Media& media, bool stripped = false) {
        const std::string file = ReadFileBytes(path);
        const Written w = Split(file, kPacketSize);
        ASSERT_EQ(w.packets.size(), media.packets.size());
        for (size_t i = 0; i < w.packets.size(); ++i) {
            EXPECT_EQ(w.packets[i], Padded(stripped ? RtspFixture::Stripped(media.packets[i]) : media.packets[i])) << i;
        }
        // The served header with its Data Object's size set, and its packet count where it said 0.
        ASSERT_EQ(w.header.size(), media.header.size());
        EXPECT_EQ(w.header.substr(0, w.header.size() - 50), media.header.substr(0, media.header.size() - 50));
        EXPECT_EQ(Le(w.header, w.header.size() - 34, 8), 50 + kPacketSize * media.packets.size());
        EXPECT_EQ(Le(w.header, w.header.size() - 10, 8), media.packets.size());
        ASSERT_GE(w.tail.size(), 16u);
        EXPECT_EQ(w.tail.substr(0, 16), std::string(reinterpret_cast<const char*>(kSimpleIndexGuid), 16));
    }

    TempDir dir_;
};

TEST_F(Mms554, DownloadsTheWholeStreamWithTheExactRequests) {
    RtspFixture server(RtspFixture::LoadFile("av.wmv"));
    server.Start();
    RecordingSink sink;
    const std::string local = dir_.File("av.asf");
    ASSERT_EQ(Run(server.Url("av.wmv"), local, sink), ResultSuccess) << sink.LogText();
    EXPECT_EQ(sink.succeeded, 1);
    ExpectWhole(local, server.Source());
    EXPECT_FALSE(std::filesystem::exists(local + ".ini"));

    const std::string url = server.Url("av.wmv");
    const std::string client =
        "User-Agent: WMPlayer/9.0.0.2991 guid/3300AD50-2C39-46C0-AE0A-8038C077EF16\r\n"
        "Accept-Charset: UTF-8, *;q=0.1\r\n"
        "X-Accept-Authentication: Negotiate, NTLM, Digest, Basic\r\n"
        "Accept-Language: en-us, *;q=0.1\r\n";
    // The client does not wait for the last request's reply: the server may still be reading it.
    std::vector<std::string> requests = server.Requests();
    for (int i = 0; i < 100 && requests.size() < 6; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        requests = server.Requests();
    }
    ASSERT_GE(requests.size(), 6u);
    EXPECT_EQ(requests[0],
              "DESCRIBE " + url + " RTSP/1.0\r\n"
              "User-Agent: WMPlayer/9.0.0.2991 guid/3300AD50-2C39-46C0-AE0A-8038C077EF16\r\n"
              "Accept: application/sdp\r\n"
              "Accept-Charset: UTF-8, *;q=0.1\r\n"
              "X-Accept-Authentication: Negotiate, NTLM, Digest, Basic\r\n"
              "Accept-Language: en-us, *;q=0.1\r\n"
              "CSeq: 1\r\n"
              "Supported: com.microsoft.wm.srvppair, com.microsoft.wm.sswitch, com.microsoft.wm.eosmsg, "
              "com.microsoft.wm.predstrm\r\n\r\n");
    EXPECT_EQ(requests[1], "GET_PARAMETER " + url + " RTSP/1.0\r\nContent-Length: 0\r\n" + client +
                               "Content-Type: application/x-rtsp-packetpair\r\nCSeq: 2\r\n\r\n");
    // Two streams: two SETUPs, the second with the session of the first reply.
    const std::string transport = "Transport: RTP/AVP/TCP;unicast;interleaved=0-1;ssrc=54f33838;mode=PLAY\r\n\r\n";
    EXPECT_EQ(requests[2], "SETUP " + url + "/video1 RTSP/1.0\r\n" + client + "CSeq: 3\r\nX-Playlist-Gen-Id: 42\r\n" +
                               transport);
    EXPECT_EQ(requests[3], "SETUP " + url + "/audio2 RTSP/1.0\r\n" + client +
                               "Session: 7240917359416411473\r\nCSeq: 4\r\nX-Playlist-Gen-Id: 42\r\n" + transport);
    EXPECT_EQ(requests[4], "PLAY " + url + " RTSP/1.0\r\nX-Playlist-Seek-Id: 42\r\n" + client +
                               "Session: 7240917359416411473\r\nCSeq: 5\r\nRange: npt=0.000-\r\nSpeed:  5.302\r\n"
                               "Bandwidth: 1858964\r\n"
                               "X-Accelerate-Streaming: AccelDuration=10000;AccelBandwidth=2147483647\r\n\r\n");
    const std::string& stats = requests[5];
    EXPECT_EQ(stats.substr(0, stats.find("\r\n\r\n") + 4),
              "SET_PARAMETER " + url + " RTSP/1.0\r\nContent-Length: 229\r\n" + client +
                  "Session: 7240917359416411473\r\nContent-Type: application/x-wms-Logconnectstats;charset=UTF-8\r\n"
                  "CSeq: 6\r\n\r\n");
    EXPECT_EQ(stats.size() - (stats.find("\r\n\r\n") + 4), 229u);
    // A fast stream within the session's time-out needs no keep-alive, whatever replies come.
    EXPECT_EQ(requests.size(), 6u);

    const std::string log = sink.LogText();
    for (const char* line : {"------vvv------START DOWNLOAD MMS 554", "Shake hands DESCRIBE success",
                             "Shake hand SETUP success", "Shake hands success", "Receiving data......",
                             "------^^^------DOWNLOAD MMS 554 SUCCESS"}) {
        EXPECT_NE(log.find(line), std::string::npos) << line;
    }
}

TEST_F(Mms554, ALiveHeaderCountingNoPacketsIsReceivedUntilTheServerEndsIt) {
    for (const char* name : {"av-stream.asf", "audio-stream.asf"}) {
        SCOPED_TRACE(name);
        RtspFixture server(RtspFixture::LoadStream(name));
        server.Start();
        RecordingSink sink;
        const std::string local = dir_.File(std::string(name) + ".out.asf");
        ASSERT_EQ(Run(server.Url(name), local, sink), ResultSuccess) << sink.LogText();
        const Written w = Split(ReadFileBytes(local), kPacketSize);
        ASSERT_EQ(w.packets.size(), server.Source().packets.size());
        for (size_t i = 0; i < w.packets.size(); ++i) EXPECT_EQ(w.packets[i], Padded(server.Source().packets[i]));
    }
}

// What a server puts between the packets must not reach the file: RTCP frames, replies with
// bodies that look like frames, extra payload-header fields before the packet, and frames on
// channels that no SETUP gave (here copies of the packets, which would double them).
TEST_F(Mms554, WhatComesBetweenThePacketsStaysOutOfTheFile) {
    struct Case {
        const char* name;
        int rtcpEvery, messageEvery;
        size_t shift;
        bool strip;
        int dataChannel = 0, strayChannel = -1;
    } cases[] = {
        {"rtcp", 3, 0, 0, false},     {"messages with bodies", 0, 4, 0, false}, {"shift 4", 0, 0, 4, false},
        {"shift 8", 0, 0, 8, false},  {"shift 12", 0, 0, 12, false},          {"short packets", 0, 0, 0, true},
        {"all", 2, 3, 8, false},
        {"copies on channel 2", 0, 0, 0, false, 0, 2},
        {"copies on channel 3", 0, 0, 0, false, 0, 3},
        {"copies on channel 200", 0, 0, 0, false, 0, 200},
        {"the SETUP replies give 2-3, copies on 0", 0, 0, 0, false, 2, 0},
        {"the SETUP replies give 4-5, copies on 2", 1, 0, 0, false, 4, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RtspFixture server(RtspFixture::LoadFile("av.wmv"));
        server.Set().rtcpEvery = c.rtcpEvery;
        server.Set().messageEvery = c.messageEvery;
        server.Set().packetShift = c.shift;
        server.Set().strip = c.strip;
        server.Set().dataChannel = c.dataChannel;
        server.Set().strayChannel = c.strayChannel;
        server.Start();
        RecordingSink sink;
        const std::string local = dir_.File(std::string("between-") + std::to_string(c.shift) + c.name + ".asf");
        ASSERT_EQ(Run(server.Url("av.wmv"), local, sink), ResultSuccess) << sink.LogText();
        ExpectWhole(local, server.Source(), c.strip);
    }
}

TEST_F(Mms554, KeepAlivesFollowTheSessionTimerNotTheReplies) {
    // Session time-out 2 s: a keep-alive each second. The stream lasts about 2.4 s, and every
    // keep-alive is answered with a 200 reply among the data.
    RtspFixture server(RtspFixture::LoadFile("av.wmv"));
    server.Set().sessionTimeOut = 2;
    server.Set().pauseMs = 2400 / int(server.Source().packets.size());
    server.Start();
    RecordingSink sink;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Run(server.Url("av.wmv"), dir_.File("keep.asf"), sink), ResultSuccess) << sink.LogText();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::vector<std::string> keepAlives;
    for (const auto& r : server.Requests("GET_PARAMETER")) {
        if (r.find("packetpair") == std::string::npos) keepAlives.push_back(r);
    }
    EXPECT_GE(keepAlives.size(), 1u);
    EXPECT_LE(double(keepAlives.size()), seconds + 1);
    // Each carries the session and the next CSeq.
    for (size_t i = 0; i < keepAlives.size(); ++i) {
        EXPECT_NE(keepAlives[i].find("Session: 7240917359416411473\r\n"), std::string::npos);
        EXPECT_NE(keepAlives[i].find("CSeq: " + std::to_string(7 + i) + "\r\n"), std::string::npos);
    }
}

TEST_F(Mms554, AStreamCutShortKeepsItsRecordAndResumesFromTheLastPacket) {
    const RtspFixture::Media media = RtspFixture::LoadFile("av-long.wmv");
    ASSERT_GT(media.packets.size(), 25u);
    const size_t cut = 20;  // more than 51200 bytes on disk, so the next run resumes
    const std::string local = dir_.File("resumed.asf");
    {
        RtspFixture server(media);
        server.Set().stopAfter = cut;
        server.Set().end = RtspFixture::Options::End::Close;
        server.Start();
        RecordingSink sink;
        EXPECT_EQ(Run(server.Url("av-long.wmv"), local, sink), ResultTimeOut);
        ASSERT_EQ(sink.failures.size(), 1u);
        EXPECT_EQ(sink.failures[0], "RECEIVE DATA TIME OUT");
        ASSERT_TRUE(std::filesystem::exists(local + ".ini"));
        EXPECT_EQ(ReadFileBytes(local + ".ini"), "7\r\n" + std::to_string(AsfMedia::SendTime(media.packets[cut - 1])) +
                                               "\r\n" + std::to_string(cut));
    }
    // The header's count says more: an end message before it is no success either.
    {
        RtspFixture server(media);
        server.Set().stopAfter = 14;
        server.Start();
        RecordingSink sink;
        EXPECT_EQ(Run(server.Url("av-long.wmv"), local, sink), ResultReceiveError);
        EXPECT_TRUE(std::filesystem::exists(local + ".ini"));
    }
    const std::string record = ReadFileBytes(local + ".ini");
    const long stored = std::atol(record.c_str() + record.find("\r\n") + 2);
    EXPECT_GT(stored, long(AsfMedia::SendTime(media.packets[cut - 1])));
    RtspFixture server(media);
    server.Start();
    RecordingSink sink;
    ASSERT_EQ(Run(server.Url("av-long.wmv"), local, sink), ResultSuccess) << sink.LogText();
    const auto plays = server.Requests("PLAY");
    ASSERT_EQ(plays.size(), 1u);
    // Asked from before the last packet on disk, so the stream shows the file's last packets again.
    const size_t at = plays[0].find("Range: npt=");
    ASSERT_NE(at, std::string::npos) << plays[0];
    const double asked = std::atof(plays[0].c_str() + at + 11) * 1000;
    EXPECT_GT(asked, 0);
    EXPECT_LT(asked, stored);
    ExpectWhole(local, media);
    EXPECT_FALSE(std::filesystem::exists(local + ".ini"));
}

TEST_F(Mms554, AStopWhileReceivingKeepsTheRecord) {
    RtspFixture server(RtspFixture::LoadFile("av.wmv"));
    server.Set().pauseMs = 20;
    server.Start();
    RecordingSink sink;
    sink.onProgress = [&sink](int32_t bytes) {
        if (bytes > 20000) sink.stop = true;
    };
    const std::string local = dir_.File("stopped.asf");
    EXPECT_EQ(Run(server.Url("av.wmv"), local, sink), ResultUserCancel);
    EXPECT_TRUE(std::filesystem::exists(local + ".ini"));
}

// Replies a server may get wrong in the handshake, each made by rewriting one good reply.
TEST_F(Mms554, HandshakeRefusals) {
    auto drop = [](const std::string& reply, const std::string& line) {
        std::string out = reply;
        const size_t at = out.find(line);
        if (at != std::string::npos) out.erase(at, out.find("\r\n", at) + 2 - at);
        return out;
    };
    struct Case {
        const char* name;
        const char* method;
        std::function<std::string(const std::string&)> edit;
        int32_t result;
        const char* log;
    } cases[] = {
        {"refused", "DESCRIBE", [](const std::string&) { return std::string("RTSP/1.0 404 Not Found\r\nCSeq: 1\r\n\r\n"); },
         ResultShakeHandError, nullptr},
        {"no generation id", "DESCRIBE", [&](const std::string& r) { return drop(r, "X-Playlist-Gen-Id:"); },
         ResultReceiveError, "get X-Playlist-Gen-Id error\r\n"},
        {"no length", "DESCRIBE", [&](const std::string& r) { return drop(r, "Content-Length:"); },
         ResultReceiveError, "get Content-Length error\r\n"},
        {"length beyond the bound", "DESCRIBE",
         [](const std::string& r) {
             std::string out = r;
             const size_t at = out.find("Content-Length: ") + 16;
             return out.replace(at, out.find("\r\n", at) - at, "4294967296");
         },
         ResultReceiveError, "get Content-Length error\r\n"},
        {"description cut short", "DESCRIBE", [](const std::string& r) { return r.substr(0, r.size() - 40); },
         ResultTimeOut, "Can not receive opaque"},
        {"control without a final slash", "DESCRIBE",
         [](const std::string& r) {
             std::string out = r;
             return out.replace(out.find("/\r\n", out.find("a=control:")), 1, "x");
         },
         ResultShakeHandError, "streamid path error"},
        {"no asf header", "DESCRIBE",
         [](const std::string& r) {
             std::string out = r;
             return out.replace(out.find("a=pgmpu:"), 8, "a=pgmpX:");
         },
         ResultShakeHandError, "Get head error"},
        {"no session", "SETUP", [&](const std::string& r) { return drop(r, "Session:"); },
         ResultShakeHandError, nullptr},
        {"packet-pair body cut short", "GET_PARAMETER", [](const std::string& r) { return r.substr(0, r.size() - 5); },
         ResultTimeOut, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RtspFixture server(RtspFixture::LoadFile("audio.wma"));
        const std::string method = c.method;
        auto edit = c.edit;
        server.Set().rewrite = [method, edit](const std::string& m, const std::string& reply) {
            if (m != method) return reply;
            return edit(reply);
        };
        server.Start();
        RecordingSink sink;
        const std::string local = dir_.File(std::string("refused-") + c.name + ".asf");
        EXPECT_EQ(Run(server.Url("audio.wma"), local, sink), c.result);
        if (c.log) {
            EXPECT_NE(sink.LogText().find(c.log), std::string::npos) << sink.LogText();
        }
        EXPECT_FALSE(std::filesystem::exists(local));
    }
}

// Frames and messages that have no place among the data end the run as malformed.
TEST_F(Mms554, MalformedUnitsAmongTheData) {
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"frame below 16 bytes", std::string("$\x00\x00\x0Fxxxxxxxxxxxxxxx", 19)},
        {"frame far beyond a packet", std::string("$\x00\x0C\xA1", 4) + std::string(3233, '\x82')},
        {"frame a little long without a packet start", std::string("$\x00\x0C\x98", 4) + std::string(3224, '\x11')},
        {"a server request", "ANNOUNCE rtsp://x RTSP/1.0\r\nCSeq: 9\r\n\r\n"},
        {"a refusal", "RTSP/1.0 454 Session Not Found\r\nCSeq: 9\r\n\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RtspFixture server(RtspFixture::LoadFile("audio.wma"));
        server.Set().injectAfterFirst = c.bytes;
        server.Start();
        RecordingSink sink;
        EXPECT_EQ(Run(server.Url("audio.wma"), dir_.File("bad.asf"), sink), ResultReceiveError);
        ASSERT_EQ(sink.failures.size(), 1u);
        EXPECT_EQ(sink.failures[0], "RECEIVE DATA ERROR");
    }
}

TEST(Mms554Frame, WhereThePacketLies) {
    const int32_t p = 100;
    auto payload = [](size_t length, size_t startAt) {
        std::vector<uint8_t> bytes(length, 0x11);
        bytes[4] = 0x00, bytes[5] = 0x00, bytes[6] = 0x30, bytes[7] = 0x39;  // RTP timestamp 12345
        if (startAt + 3 <= length) bytes[startAt] = 0x82, bytes[startAt + 1] = 0, bytes[startAt + 2] = 0;
        return bytes;
    };
    struct Case {
        const char* name;
        size_t length, startAt;
        int32_t result;
        size_t offset, packetLength;
    } cases[] = {
        {"exactly a packet", 116, 16, ResultSuccess, 16, 100},
        {"a short packet", 60, 16, ResultSuccess, 16, 44},
        {"header only", 16, 99, ResultSuccess, 16, 0},
        {"below the header", 15, 99, ResultReceiveError, 0, 0},
        {"8 longer, start at 8", 124, 24, ResultSuccess, 24, 100},
        {"16 longer, start at 16", 132, 32, ResultSuccess, 32, 100},
        {"17 longer", 133, 33, ResultReceiveError, 0, 0},
        {"8 longer, no start", 124, 999, ResultReceiveError, 0, 0},
        {"8 longer, start at 4: longer than a packet, for the writer to refuse", 124, 20, ResultSuccess, 20, 104},
        {"start beyond offset 16", 125, 33, ResultReceiveError, 0, 0},
    };
    for (const auto& c : cases) {
        const auto bytes = payload(c.length, c.startAt);
        CDownMMS554::DataFrame frame;
        EXPECT_EQ(CDownMMS554::ParseDataFrame(bytes.data(), bytes.size(), p, &frame), c.result) << c.name;
        if (c.result != ResultSuccess) continue;
        EXPECT_EQ(frame.sendTimeMs, 12345u) << c.name;
        EXPECT_EQ(frame.offset, c.offset) << c.name;
        EXPECT_EQ(frame.length, c.packetLength) << c.name;
    }
    CDownMMS554::DataFrame frame;
    const auto bytes = payload(116, 16);
    EXPECT_EQ(CDownMMS554::ParseDataFrame(bytes.data(), bytes.size(), 0, &frame), ResultReceiveError);
}

#ifndef _WIN32
// ffmpeg's own RTSP client reads the fixture's stream packet for packet like the source file, so
// the fixture speaks the dialect; and ffmpeg reads what the engine wrote like the source too.
TEST_F(Mms554, FfmpegReadsTheFixtureAndTheDownloadLikeTheSource) {
    const std::string source = MediaPath("av.wmv");
    const std::string expected = Framecrc(source, "-map 0 -c copy");
    ASSERT_GT(std::count(expected.begin(), expected.end(), '\n'), 30);
    {
        // ffmpeg takes the header as a broadcast's (variable packet size): the packets go out the
        // way a streaming server sends them, without padding.
        RtspFixture server(RtspFixture::LoadFile("av.wmv"));
        server.Set().strip = true;
        server.Set().lengthInEvery = true;
        server.Set().end = RtspFixture::Options::End::Close;
        server.Start();
        EXPECT_EQ(PacketsByStream(Framecrc(server.Url("av.wmv"), "-map 0 -c copy", "-rtsp_transport tcp")),
                  PacketsByStream(expected));
    }
    // The engine's download of the packets as the file holds them.
    RtspFixture server(RtspFixture::LoadFile("av.wmv"));
    server.Set().rtcpEvery = 5;
    server.Set().messageEvery = 7;
    server.Start();
    RecordingSink sink;
    const std::string local = dir_.File("ffmpeg.asf");
    ASSERT_EQ(Run(server.Url("av.wmv"), local, sink), ResultSuccess);
    EXPECT_EQ(Framecrc(local, "-map 0 -c copy"), expected);
    EXPECT_EQ(Framecrc(local, "-map 0"), Framecrc(source, "-map 0"));
    for (const char* seek : {"-ss 1", "-ss 2"}) {
        EXPECT_EQ(Framecrc(local, "-map 0", seek), Framecrc(source, "-map 0", seek)) << seek;
    }
}
#endif

}  // namespace
