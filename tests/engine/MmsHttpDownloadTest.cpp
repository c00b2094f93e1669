// MMS over HTTP against a scripted stream server replaying real ASF packets made by ffmpeg: the
// exact request, the framed stream written as an indexed ASF file, the plain-body path, resume
// from the last send time, and the faults a broken or hostile server makes.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "AsfParser.h"
#include "ByteReader.h"
#include "CommandOutput.h"
#include "DownMMS80.h"
#include "EngineSettings.h"
#include "Factories.h"
#include "Fetchkeeper.h"
#include "FileBytes.h"
#include "FixtureServer.h"
#include "LittleEndian.h"
#include "MmsHttpFramer.h"
#include "RecordingSink.h"
#include "ScopedEngineTimeOut.h"
#include "TempDir.h"
#include "WaitItem.h"

namespace {

using Clock = std::chrono::steady_clock;

const char kSimpleIndexGuid[] = "\x90\x08\x00\x33\xB1\xE5\xCF\x11\x89\xF4\x00\xA0\xC9\x03\x49\xCB";

const std::string kFilePropertiesGuid("\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11\x8E\xE4\x00\xC0\x0C\x20\x53\x65", 16);

// Where the File Properties Object of a header stands, when the header is a broadcast's.
size_t BroadcastProperties(const std::string& header) {
    const size_t props = header.find(kFilePropertiesGuid);
    return props != std::string::npos && (Le(header, props + 88, 4) & 1) ? props : std::string::npos;
}

// What a complete download of media must be: the served header (with the Data Object's size and
// packet count set), every packet padded to the packet size, and a Simple Index behind them. A
// recording of a broadcast says in its File Properties what it holds: the file's size, its
// packets, how long they take to send from the first one on, and no Broadcast flag.
void ExpectIndexedCopyOf(const std::string& file, const AsfMedia& media) {
    const size_t h = media.header.size(), p = media.packetSize, n = media.packets.size();
    ASSERT_GE(file.size(), h + n * p);
    std::string header = media.header.substr(0, h - 34);
    const size_t props = BroadcastProperties(header);
    if (props != std::string::npos) {
        EXPECT_EQ(Le(file, props + 40), file.size()) << "File Size";
        EXPECT_EQ(Le(file, props + 56), n) << "Data Packets Count";
        EXPECT_EQ(Le(file, props + 88, 4), 2u) << "Flags: seekable, no longer a broadcast";
        const uint64_t sent = AsfMedia::SendTime(media.packets.back()) - AsfMedia::SendTime(media.packets.front());
        const uint64_t sendMs = Le(file, props + 72) / 10000, playMs = Le(file, props + 64) / 10000;
        EXPECT_GE(sendMs, sent) << "Send Duration";
        EXPECT_LE(sendMs, sent + 1000) << "Send Duration";
        EXPECT_GE(playMs, sendMs + Le(header, props + 80)) << "Play Duration, preroll included";
        EXPECT_LE(playMs, sendMs + Le(header, props + 80) + 2000) << "Play Duration, preroll included";
        for (const size_t at : {40, 56, 64, 72}) header.replace(props + at, 8, file.substr(props + at, 8));
        header.replace(props + 88, 4, file.substr(props + 88, 4));
    }
    EXPECT_EQ(file.substr(0, h - 34), header) << "header objects differ";
    EXPECT_EQ(Le(file, h - 34), 50 + n * p) << "Data Object size";
    EXPECT_EQ(Le(file, h - 10), n) << "Data Object packet count";
    for (size_t i = 0; i < n; ++i) {
        std::string padded = media.packets[i];
        padded.resize(p, '\0');
        ASSERT_EQ(file.substr(h + i * p, p), padded) << "packet " << i;
    }
    EXPECT_EQ(file.substr(h + n * p, 16), std::string(kSimpleIndexGuid, 16)) << "no Simple Index behind the data";
}

class MmsHttpDownload : public ::testing::Test {
protected:
    ScopedEngineTimeOut timeOut_{5};

    void SetUp() override {
        SetEngineProxy(EngineProxy{});
        av_ = AsfMedia::FromFile(MediaPath("av.wmv"));
        ASSERT_TRUE(av_.Ok());
        ASSERT_GT(av_.packets.size(), 6u);
    }

    int32_t Run(const std::string& url, const std::string& local, RecordingSink& sink) {
        EnginePtr<CDownBase> downloader(static_cast<CDownBase*>(NEW_DOWNMMS80()));
        if (!downloader) return -100;
        downloader->SetUrl(url.c_str(), local.c_str());
        return downloader->Run(&sink);
    }

    // Serves media framed with options on a fresh server and downloads it to local.
    int32_t Fetch(const AsfMedia& media, const MmsHttpFramer::Options& options, const std::string& local,
                  RecordingSink& sink, std::string* request = nullptr) {
        FixtureServer server;
        MmsHttpFramer(media, options).AddTo(server);
        server.Start();
        const int32_t code = Run(server.Url("/av.wmv"), local, sink);
        if (request) *request = server.Received(0);
        return code;
    }

    AsfMedia av_;
    TempDir dir_;
};

TEST_F(MmsHttpDownload, RequestIsAPlayersRequestWithTheUrlsOwnPort) {
    RecordingSink sink;
    FixtureServer server;
    MmsHttpFramer(av_).AddTo(server);
    server.Start();
    const std::string port = std::to_string(server.Port());
    ASSERT_EQ(Run("http://joe:pw@127.0.0.1:" + port + "/live/av.wmv?x=1", dir_.File("av.asf"), sink), ResultSuccess)
        << sink.LogText();
    EXPECT_EQ(server.Received(0),
              "GET /live/av.wmv?x=1 HTTP/1.1\r\n"
              "Authorization: Basic am9lOnB3\r\n"
              "Accept: */*\r\n"
              "User-Agent: NSPlayer/4.1.0.3927\r\n"
              "Host: 127.0.0.1:" + port + "\r\n"
              "Pragma: no-cache,rate=1.000000,stream-time=0,stream-offset=0:0,request-context=1,max-duration=0\r\n"
              "Pragma: xPlayStrm=1\r\n"
              "Supported: com.microsoft.wm.srvppair, com.microsoft.wm.sswitch, com.microsoft.wm.predstrm\r\n"
              "Pragma: xClientGUID={D959D31B-0DBF-4FD4-BC94-71A5A71464D7}\r\n"
              "\r\n");
    EXPECT_NE(sink.LogText().find("Connecting to 127.0.0.1 : " + port), std::string::npos);
    EXPECT_NE(sink.LogText().find("START DOWNLOAD MMS 80"), std::string::npos);
    EXPECT_NE(sink.LogText().find("DOWNLOAD MMS 80 SUCCESS"), std::string::npos);
}

TEST_F(MmsHttpDownload, FramedStreamsBecomeIndexedAsfFiles) {
    AsfMedia live = AsfMedia::FromStreamFile(MediaPath("av-stream.asf"));
    ASSERT_TRUE(live.Ok());
    ASSERT_EQ(live.HeaderPacketCount(), 0u);  // ffmpeg's streaming header names no count
    // VLC's live header: the Broadcast flag, with a packet count of 0xFFFFFFFF that means nothing.
    AsfMedia broadcast = av_;
    const size_t props = broadcast.header.find("\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11\x8E\xE4\x00\xC0\x0C\x20\x53\x65");
    ASSERT_NE(props, std::string::npos);
    broadcast.header.replace(props + 56, 8, std::string("\xFF\xFF\xFF\xFF\0\0\0\0", 8));
    broadcast.header.replace(props + 88, 4, std::string("\x01\0\0\0", 4));
    using End = MmsHttpFramer::End;
    struct Case {
        const char* name;
        const AsfMedia* media;
        MmsHttpFramer::Options options;
    };
    MmsHttpFramer::Options split, shortEnd, trimmed, closing, withLength, liveWithLength;
    split.headerChunks = 3;
    withLength.framedLength = true;
    liveWithLength.framedLength = true;
    liveWithLength.end = End::None;
    // The short end chunk must end the stream at once, though the server keeps the line open.
    shortEnd.end = End::Short;
    shortEnd.holdOpenMs = 8000;
    trimmed.trimPadding = true;
    trimmed.end = End::Short;
    closing.end = End::None;
    const Case cases[] = {
        {"one header chunk, 12-byte end", &av_, {}},
        {"header over three chunks", &av_, split},
        {"8-byte end, line held open", &av_, shortEnd},
        {"packets without their padding", &av_, trimmed},
        {"live header (count 0), 12-byte end", &live, {}},
        {"live header (count 0), the server closes", &live, closing},
        {"broadcast header, the server closes", &broadcast, closing},
        // The length states the framed body's size; it is no plain file.
        {"framed reply with a Content-Length", &av_, withLength},
        {"live framed reply with a Content-Length, no end chunk", &live, liveWithLength},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSink sink;
        const std::string local = dir_.File("out.asf");
        const auto start = Clock::now();
        ASSERT_EQ(Fetch(*c.media, c.options, local, sink), ResultSuccess) << sink.LogText();
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(4));
        ExpectIndexedCopyOf(ReadFileBytes(local), *c.media);
        EXPECT_FALSE(std::filesystem::exists(local + ".ini"));
        EXPECT_EQ(sink.succeeded, 1);
        EXPECT_EQ(sink.progress.back(), int32_t(c.media->header.size() + c.media->packets.size() * c.media->packetSize));
    }
}

// A broadcast under way when the recording joins it: the file holds what was recorded, says so
// in its File Properties, and ffmpeg reads its length and every packet (it read the index as
// packets, and no duration, while the Broadcast flag stayed).
// av-20s.wmv as VLC broadcasts it: the Broadcast flag, no size, packet count or durations.
AsfMedia Broadcast() {
    AsfMedia broadcast = AsfMedia::FromFile(MediaPath("av-20s.wmv"));
    const size_t props = broadcast.header.find(kFilePropertiesGuid);
    if (props == std::string::npos) return AsfMedia{};
    broadcast.header.replace(props + 40, 8, std::string(8, '\0'));
    broadcast.header.replace(props + 56, 8, std::string("\xFF\xFF\xFF\xFF\0\0\0\0", 8));
    broadcast.header.replace(props + 64, 16, std::string(16, '\0'));
    broadcast.header.replace(props + 88, 4, std::string("\x01\0\0\0", 4));
    return broadcast;
}

// What a recording that joined a broadcast at joinedAt holds.
AsfMedia RecordingOf(const AsfMedia& broadcast, uint32_t joinedAt) {
    AsfMedia recorded = broadcast;
    recorded.packets.clear();
    for (const auto& packet : broadcast.packets) {
        if (AsfMedia::SendTime(packet) >= joinedAt) recorded.packets.push_back(packet);
    }
    return recorded;
}

TEST_F(MmsHttpDownload, ABroadcastJoinedLateBecomesAFileOfWhatWasRecorded) {
    const AsfMedia broadcast = Broadcast();
    ASSERT_TRUE(broadcast.Ok());
    const uint32_t joinedAt = 12000;
    const AsfMedia recorded = RecordingOf(broadcast, joinedAt);
    ASSERT_GT(recorded.packets.size(), 10u);
    ASSERT_LT(recorded.packets.size(), broadcast.packets.size());
    MmsHttpFramer::Options live;
    live.joinedAtMs = joinedAt;
    live.end = MmsHttpFramer::End::None;  // a broadcast just stops
    RecordingSink sink;
    const std::string local = dir_.File("recording.asf");
    ASSERT_EQ(Fetch(broadcast, live, local, sink), ResultSuccess) << sink.LogText();
    const std::string file = ReadFileBytes(local);
    ExpectIndexedCopyOf(file, recorded);

    // Our own reader takes it for a file, not a broadcast.
    auto parser = CAsfParser::Create(reinterpret_cast<const uint8_t*>(file.data()), broadcast.header.size());
    ASSERT_TRUE(parser);
    EXPECT_FALSE(parser->IsBroadcast());
    EXPECT_EQ(parser->GetDataPacketCount(), int32_t(recorded.packets.size()));
    EXPECT_EQ(parser->GetFileSize(), int64_t(file.size()));
#ifndef _WIN32
    // ffmpeg: the recording's length, and every packet of it once.
    const double seconds =
        (AsfMedia::SendTime(recorded.packets.back()) - AsfMedia::SendTime(recorded.packets.front())) / 1000.0;
    const std::string duration =
        CommandOutput("timeout 30 ffprobe -v error -show_entries format=duration -of csv=p=0 '" + local + "'");
    EXPECT_NEAR(std::atof(duration.c_str()), seconds, 1.0) << duration;
    // Per stream, the recording's packets (time and size) are the last ones of the source.
    const auto packetsOf = [](const std::string& path) {
        std::vector<std::string> streams(2);
        std::istringstream lines(CommandOutput("timeout 30 ffprobe -v error -show_entries "
                                               "packet=stream_index,pts,size -of csv=p=0 '" + path + "'"));
        for (std::string line; std::getline(lines, line);) {
            const size_t stream = size_t(std::atoi(line.c_str()));
            if (stream < streams.size()) streams[stream] += line.substr(line.find(',')) + "\n";
        }
        return streams;
    };
    const auto source = packetsOf(MediaPath("av-20s.wmv")), recording = packetsOf(local);
    for (size_t s = 0; s < source.size(); ++s) {
        SCOPED_TRACE("stream " + std::to_string(s));
        ASSERT_GT(recording[s].size(), 20u);
        ASSERT_LT(recording[s].size(), source[s].size());
        EXPECT_EQ(source[s].substr(source[s].size() - recording[s].size()), recording[s]);
    }
    // It joined between key frames: the first frames cannot be decoded, all others are.
    EXPECT_EQ(CommandOutput("timeout 30 ffmpeg -nostdin -v error -i '" + local +
                            "' -f null - 2>&1 | grep -v 'first frame is no keyframe'"),
              "");
#endif
}

// A recording that broke is a clean file meanwhile, and still the same stream's file: the next
// run resumes it.
TEST_F(MmsHttpDownload, ABrokenRecordingOfABroadcastResumes) {
    SetEngineTimeOut(1);
    const AsfMedia broadcast = Broadcast();
    const uint32_t joinedAt = 6000;
    const AsfMedia recorded = RecordingOf(broadcast, joinedAt);
    MmsHttpFramer::Options stalls, live;
    stalls.joinedAtMs = live.joinedAtMs = joinedAt;
    stalls.stopAfter = recorded.packets.size() / 2;
    stalls.holdOpenMs = 3000;
    live.end = MmsHttpFramer::End::None;
    const std::string local = dir_.File("recording.asf");
    RecordingSink first;
    EXPECT_EQ(Fetch(broadcast, stalls, local, first), ResultTimeOut) << first.LogText();
    AsfMedia half = recorded;
    half.packets.resize(stalls.stopAfter);
    ASSERT_GE(half.header.size() + half.packets.size() * half.packetSize, 51200u);
    ExpectIndexedCopyOf(ReadFileBytes(local), half);

    RecordingSink second;
    ASSERT_EQ(Fetch(broadcast, live, local, second), ResultSuccess) << second.LogText();
    EXPECT_EQ(second.LogText().find("starting afresh"), std::string::npos) << second.LogText();
    ExpectIndexedCopyOf(ReadFileBytes(local), recorded);
}

TEST_F(MmsHttpDownload, MalformedChunksFailWithTheirReason) {
    const uint32_t p = av_.packetSize;
    std::string tooLong = MmsHttpFramer::Chunk('D', std::string(p + 1, 'x'), 1);
    std::string notDollar = MmsHttpFramer::Chunk('D', av_.packets[0], 1);
    notDollar[0] = '#';
    const std::string shortLength = std::string("$D\x05\x00", 4) + std::string(5, '\0');
    struct Case {
        std::string extra;
        size_t headerChunks;
        const char* log;
    } cases[] = {
        {tooLong, 1, "Data packet larger than the stream's packet size"},
        {notDollar, 1, "Invalid packet"},
        {MmsHttpFramer::Chunk('X', "payload", 1), 1, "Not a data packet: 58"},
        {shortLength, 1, "Data chunk too short"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.log);
        MmsHttpFramer::Options options;
        options.extraChunk = c.extra;
        RecordingSink sink;
        const std::string local = dir_.File("bad.asf");
        EXPECT_EQ(Fetch(av_, options, local, sink), ResultReceiveError);
        EXPECT_NE(sink.LogText().find(c.log), std::string::npos) << sink.LogText();
        EXPECT_EQ(sink.failures, std::vector<std::string>{"RECEIVE DATA ERROR"});
        // Nothing was written past the header: no packet of the bad chunk reached the file.
        const std::string file = ReadFileBytes(local);
        EXPECT_EQ(Le(file, av_.header.size() - 10), 0u);
        EXPECT_EQ(file.size(), av_.header.size());
    }
}

TEST_F(MmsHttpDownload, HeaderPhaseRefusesOtherChunksAndSilence) {
    struct Case {
        std::string reply;
        int32_t code;
        const char* log;
    } cases[] = {
        {MmsHttpFramer::Chunk('D', av_.packets[0], 0), ResultReceiveError, "Not a head packet"},
        {std::string("#H\x10\x00", 4), ResultReceiveError, "Invalid packet"},
        {std::string("$H\x04\x00\x00\x00\x00\x00", 8), ResultReceiveError, "Header chunk too short"},
        {MmsHttpFramer::Chunk('H', av_.header.substr(0, 100), 0), ResultTimeOut, ""},  // then silence
    };
    SetEngineTimeOut(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        FixtureServer server;
        server.AddScript().ExpectHead().Send("HTTP/1.0 200 OK\r\n\r\n" + c.reply).Silence(3000).Close();
        server.Start();
        RecordingSink sink;
        EXPECT_EQ(Run(server.Url("/a.asf"), dir_.File("h.asf"), sink), c.code);
        EXPECT_NE(sink.LogText().find(c.log), std::string::npos) << sink.LogText();
    }
}

TEST_F(MmsHttpDownload, StreamCutShortKeepsTheRecordAndResumesFromTheLastSendTime) {
    const AsfMedia media = AsfMedia::FromFile(MediaPath("av-20s.wmv"));
    ASSERT_TRUE(media.Ok());
    const std::string local = dir_.File("av.asf");
    const size_t written = media.packets.size() * 2 / 3;
    MmsHttpFramer::Options cut;
    cut.stopAfter = written;
    cut.end = MmsHttpFramer::End::None;
    RecordingSink first;
    // Fewer packets than the header announces is no success.
    EXPECT_EQ(Fetch(media, cut, local, first), ResultReceiveError) << first.LogText();
    EXPECT_NE(first.LogText().find("The stream ended before all its packets arrived"), std::string::npos);
    const uint32_t lastTime = GetPacketSendTime(reinterpret_cast<const uint8_t*>(media.packets[written - 1].data()),
                                                media.packets[written - 1].size());
    EXPECT_EQ(ReadFileBytes(local + ".ini"), "6\r\n" + std::to_string(lastTime) + "\r\n" + std::to_string(written));
    ASSERT_GE(ReadFileBytes(local).size(), 51200u);

    // The server starts a little before the asked time; what is on disk already is skipped.
    RecordingSink second;
    std::string request;
    ASSERT_EQ(Fetch(media, {}, local, second, &request), ResultSuccess) << second.LogText();
    // Asked from before the last packet on disk, so the stream shows the file's last packets again.
    const uint32_t asked = MmsHttpFramer::StreamTime(request);
    EXPECT_GT(asked, 0u);
    EXPECT_LT(asked, lastTime);
    EXPECT_NE(request.find("Pragma: no-cache,rate=1.000000,stream-time=" + std::to_string(asked) +
                           ",stream-offset=4294967295:4294967295,packet-num=4294967295,max-duration=0\r\n"),
              std::string::npos);
    ExpectIndexedCopyOf(ReadFileBytes(local), media);
    EXPECT_FALSE(std::filesystem::exists(local + ".ini"));
}

TEST_F(MmsHttpDownload, FramedReplyWithALengthResumesAsAStream) {
    const AsfMedia media = AsfMedia::FromFile(MediaPath("av-20s.wmv"));
    const std::string local = dir_.File("av.asf");
    MmsHttpFramer::Options cut, rest;
    cut.stopAfter = media.packets.size() * 2 / 3;
    cut.end = MmsHttpFramer::End::None;
    cut.framedLength = rest.framedLength = true;
    RecordingSink first;
    EXPECT_EQ(Fetch(media, cut, local, first), ResultReceiveError) << first.LogText();
    ASSERT_GE(ReadFileBytes(local).size(), 51200u);
    // The length is the framed rest's, not a whole file's: nothing starts afresh.
    RecordingSink second;
    ASSERT_EQ(Fetch(media, rest, local, second), ResultSuccess) << second.LogText();
    EXPECT_EQ(second.LogText().find("starting afresh"), std::string::npos) << second.LogText();
    ExpectIndexedCopyOf(ReadFileBytes(local), media);
}

TEST_F(MmsHttpDownload, PlainBodyIsCopiedAndStartsAfreshOnResume) {
    const AsfMedia media = AsfMedia::FromFile(MediaPath("av-20s.wmv"));
    MmsHttpFramer::Options plain;
    plain.contentLength = true;
    const std::string body = media.header + [&] {
        std::string all;
        for (const auto& packet : media.packets) all += packet;
        return all;
    }();
    const std::string local = dir_.File("plain.asf");
    RecordingSink fresh;
    ASSERT_EQ(Fetch(media, plain, local, fresh), ResultSuccess) << fresh.LogText();
    EXPECT_EQ(ReadFileBytes(local), body);

    // A resumable part on disk, but the server sends the whole file: it replaces the part.
    WriteFileBytes(local, std::string(60000, 'x'));
    WriteFileBytes(local + ".ini", "6\r\n1000\r\n3");
    RecordingSink resumed;
    ASSERT_EQ(Fetch(media, plain, local, resumed), ResultSuccess) << resumed.LogText();
    EXPECT_EQ(ReadFileBytes(local), body);
    EXPECT_NE(resumed.LogText().find("starting afresh"), std::string::npos);
    EXPECT_EQ(resumed.totals.back(), int32_t(body.size()));
}

TEST_F(MmsHttpDownload, StopDuringTheStreamEndsTheRunAndKeepsTheRecord) {
    SetEngineTimeOut(30);
    FixtureServer server;
    server.AddScript()
        .ExpectHead()
        .Send("HTTP/1.0 200 OK\r\n\r\n" + MmsHttpFramer::Chunk('H', av_.header, 0) +
              MmsHttpFramer::Chunk('D', av_.packets[0], 1))
        .Silence(8000)
        .Close();
    server.Start();
    RecordingSink sink;
    sink.onProgress = [&](int32_t bytes) {
        if (bytes > int32_t(av_.header.size())) sink.stop = true;
    };
    const auto start = Clock::now();
    EXPECT_EQ(Run(server.Url("/av.wmv"), dir_.File("stop.asf"), sink), ResultUserCancel);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(4));
    EXPECT_EQ(sink.failures, std::vector<std::string>{"USER CANCEL THE OPERATION"});
    EXPECT_TRUE(std::filesystem::exists(dir_.File("stop.asf.ini")));
}

// An "http://" URL of a ".wmv" file goes through the manager, the job and the transport chooser,
// which tries MMS over HTTP first: the item finishes with the indexed file under an ".asf" name.
TEST_F(MmsHttpDownload, WmvUrlThroughTheManagerIsFetchedAsAStream) {
    FixtureServer server;
    MmsHttpFramer(av_).AddTo(server);
    server.Start();
    EnginePtr<CFetchkeeper> manager(static_cast<CFetchkeeper*>(NEW_FETCHKEEPER()));
    ASSERT_TRUE(manager->AddItem(server.Url("/clip/av.wmv").c_str(), dir_.Dir().c_str(), "clip"));
    const DownItemInfo info = WaitItemSettled(*manager, manager->GetFirstItem(), std::chrono::seconds(30));
    EXPECT_EQ(info.state, DownFinished) << (info.logText ? info.logText : "");
    EXPECT_EQ(std::string(info.destFile), dir_.File("clip.asf"));
    ExpectIndexedCopyOf(ReadFileBytes(dir_.File("clip.asf")), av_);
    EXPECT_NE(std::string(info.logText ? info.logText : "").find("START DOWNLOAD MMS 80"), std::string::npos);
}

#if !defined(_WIN32)

// ffmpeg's own MMS-over-HTTP client proves the fixture, and ffmpeg reads what the engine wrote:
// both packet for packet (framecrc: time stamps, sizes and checksums) like the source file.
std::string FrameCrc(const std::string& input, const std::string& seek = "") {
    return CommandOutput("timeout 30 ffmpeg -nostdin -v error " + seek + " -i '" + input + "' -map 0 -c copy -f framecrc - 2>/dev/null");
}

TEST_F(MmsHttpDownload, FfmpegReadsTheFixtureAndTheEnginesFileLikeTheSource) {
    const std::string source = FrameCrc(MediaPath("av.wmv"));
    ASSERT_NE(source.find("0,"), std::string::npos) << source;
    FixtureServer server;
    MmsHttpFramer(av_).AddTo(server);
    server.Start();
    EXPECT_EQ(FrameCrc("mmsh://127.0.0.1:" + std::to_string(server.Port()) + "/av.wmv"), source);

    RecordingSink sink;
    const std::string local = dir_.File("av.asf");
    ASSERT_EQ(Run(server.Url("/av.wmv"), local, sink), ResultSuccess) << sink.LogText();
    EXPECT_EQ(FrameCrc(local), source);
    // The index makes the file seekable as the source is.
    EXPECT_EQ(FrameCrc(local, "-ss 1.5"), FrameCrc(MediaPath("av.wmv"), "-ss 1.5"));
}

TEST_F(MmsHttpDownload, FfmpegReadsALiveStreamOfTheFixtureLikeItsSource) {
    // The streaming form holds the packets of av.wmv.
    const AsfMedia live = AsfMedia::FromStreamFile(MediaPath("av-stream.asf"));
    const std::string source = FrameCrc(MediaPath("av.wmv"));
    FixtureServer server;
    MmsHttpFramer(live).AddTo(server);
    server.Start();
    EXPECT_EQ(FrameCrc("mmsh://127.0.0.1:" + std::to_string(server.Port()) + "/av.wmv"), source);
    RecordingSink sink;
    const std::string local = dir_.File("live.asf");
    ASSERT_EQ(Run(server.Url("/live"), local, sink), ResultSuccess) << sink.LogText();
    EXPECT_EQ(FrameCrc(local), source);
}

#endif

}  // namespace
