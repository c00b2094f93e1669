// The ASF output steps the MMS transports share, driven through the run sequence by a downloader
// whose "server" is a list of real packets made by ffmpeg: resume onto a torn file, a foreign file
// started afresh, a live stream without a packet count, streams that end early, pings among packets.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "DownBase.h"
#include "LittleEndian.h"
#include "MmsTcpFixture.h"
#include "RecordingSink.h"
#include "TempDir.h"
#include "sys/FileSystem.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Replays packets from the first one on, as a server that ignores the start point does, then the
// end (or a broken connection). Between packets it may answer pings (-2).
class ReplayDownloader final : public EngineObject<ReplayDownloader, CDownBase> {
public:
    MmsTcpFixture::Media media;
    size_t sendCount = SIZE_MAX;  // packets sent before the end
    bool endMessage = true;       // false: the connection breaks instead
    bool pingBetween = false;

    int32_t FK_STDCALL Begin() override {
        protocolKind_ = KindMms1755;
        return ResultSuccess;
    }
    int32_t FK_STDCALL Connect() override { return ResultSuccess; }
    int32_t FK_STDCALL Handshake() override {
        headerBytes_.Append(media.header.data(), static_cast<int32_t>(media.header.size()));
        return SetStreamHeader(headerBytes_.GetData(), headerBytes_.GetLength());
    }
    int32_t FK_STDCALL ReceiveData() override {
        const int32_t code = BeginAsfOutput();
        if (code != 0) return code;
        size_t next = 0;
        bool ping = false;
        return ReceiveAsfPackets([&]() -> int32_t {
            if (pingBetween && (ping = !ping)) return kUnitSkipped;
            if (next >= media.packets.size() || next >= sendCount) {
                return endMessage ? int32_t(kStreamEnd) : int32_t(ResultTimeOut);
            }
            const Bytes& p = media.packets[next++];
            return WriteAsfPacket(p.data(), p.size());
        });
    }
};

struct OnDisk {
    Bytes header;  // Header Object only
    uint64_t packetCount = 0;
    std::vector<Bytes> packets;
    bool simpleIndex = false;
};

OnDisk Read(const std::string& path, const MmsTcpFixture::Media& media) {
    const Bytes file = ReadAll(path);
    const size_t headerLength = media.header.size(), size = media.packets.at(0).size();
    OnDisk d;
    if (file.size() < headerLength) return d;
    d.header.assign(file.begin(), file.begin() + long(headerLength - 50));
    d.packetCount = Le(file, headerLength - 10, 8);
    const size_t dataEnd = std::min(file.size(), size_t(headerLength - 50 + Le(file, headerLength - 34, 8)));
    for (size_t at = headerLength; at + size <= dataEnd; at += size) {
        d.packets.emplace_back(file.begin() + long(at), file.begin() + long(at + size));
    }
    const uint8_t simpleIndex[4] = {0x90, 0x08, 0x00, 0x33};
    d.simpleIndex = dataEnd + 4 <= file.size() && std::memcmp(&file[dataEnd], simpleIndex, 4) == 0;
    return d;
}

int32_t RunReplay(const MmsTcpFixture::Media& media, const std::string& file, RecordingSink& sink,
                  size_t sendCount = SIZE_MAX, bool endMessage = true, bool pings = false) {
    EnginePtr<ReplayDownloader> d(static_cast<ReplayDownloader*>(CreateEngineObject<ReplayDownloader>()));
    d->media = media;
    d->sendCount = sendCount;
    d->endMessage = endMessage;
    d->pingBetween = pings;
    d->SetUrl("mms://h.example/x", file.c_str());
    return d->Run(&sink);
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

MmsTcpFixture::Media Long() { return MmsTcpFixture::LoadAsf(MediaPath("av-20s.wmv")); }

TEST(DownBaseAsf, ResumeCutsATornPacketAndAppendsTheRest) {
    const auto media = Long();
    TempDir dir;
    const std::string file = dir.File("x.asf");
    RecordingSink first;
    EXPECT_EQ(RunReplay(media, file, first, 30, false), ResultTimeOut);
    EXPECT_EQ(ReadText(file + ".ini"),
              "8\r\n" + std::to_string(MmsTcpFixture::SendTime(media.packets[29])) + "\r\n30");
    {
        std::ofstream torn(file, std::ios::binary | std::ios::app);
        torn << std::string(1234, '\x77');
    }
    RecordingSink second;
    EXPECT_EQ(RunReplay(media, file, second), ResultSuccess) << second.LogText();
    const OnDisk d = Read(file, media);
    EXPECT_TRUE(d.header == Bytes(media.header.begin(), media.header.end() - 50));
    EXPECT_TRUE(d.packets == media.packets);
    EXPECT_EQ(d.packetCount, media.packets.size());
    EXPECT_TRUE(d.simpleIndex);
    EXPECT_FALSE(sys::FileExists(file + ".ini"));
}

TEST(DownBaseAsf, FileOfAnotherStreamIsStartedAfresh) {
    const auto media = Long();
    TempDir dir;
    const std::string file = dir.File("x.asf");
    Bytes other = ReadAll(MediaPath("audio.wma"));
    other.resize(60000, 0);
    WriteAll(file, other);
    std::ofstream(file + ".ini", std::ios::binary) << "8\r\n1000\r\n3";
    RecordingSink sink;
    EXPECT_EQ(RunReplay(media, file, sink), ResultSuccess) << sink.LogText();
    EXPECT_NE(sink.LogText().find("The file on disk holds another stream: starting afresh"), std::string::npos);
    const OnDisk d = Read(file, media);
    EXPECT_TRUE(d.header == Bytes(media.header.begin(), media.header.end() - 50));
    EXPECT_TRUE(d.packets == media.packets);
}

TEST(DownBaseAsf, LiveStreamWithoutACountRunsToTheEnd) {
    const auto media = MmsTcpFixture::LoadAsfStream(MediaPath("av-stream.asf"));
    ASSERT_EQ(Le(media.header, media.header.size() - 10, 8), 0u);
    TempDir dir;
    const std::string file = dir.File("live.asf");
    RecordingSink sink;
    EXPECT_EQ(RunReplay(media, file, sink, SIZE_MAX, true, true), ResultSuccess) << sink.LogText();
    const OnDisk d = Read(file, media);
    EXPECT_TRUE(d.packets == media.packets);
    EXPECT_EQ(d.packetCount, media.packets.size());
    EXPECT_TRUE(d.simpleIndex);

    // Without its end message the live stream is broken off, not finished.
    RecordingSink broken;
    const std::string cut = dir.File("cut.asf");
    EXPECT_EQ(RunReplay(media, cut, broken, 5, false), ResultTimeOut);
    EXPECT_TRUE(sys::FileExists(cut + ".ini"));
}

// The fault this mends: pings counted as packets made a stream "succeed" with packets missing,
// and a stream that ended early was reported whole.
TEST(DownBaseAsf, OnlyWrittenPacketsCountAndAnEarlyEndIsAFailure) {
    const auto media = Long();
    TempDir dir;
    RecordingSink withPings;
    const std::string whole = dir.File("whole.asf");
    EXPECT_EQ(RunReplay(media, whole, withPings, SIZE_MAX, true, true), ResultSuccess);
    EXPECT_TRUE(Read(whole, media).packets == media.packets);

    RecordingSink shortStream;
    const std::string part = dir.File("part.asf");
    EXPECT_EQ(RunReplay(media, part, shortStream, 5, true), ResultReceiveError);
    EXPECT_EQ(shortStream.failures, std::vector<std::string>{"RECEIVE DATA ERROR"});
    EXPECT_NE(shortStream.LogText().find("The stream ended before all its packets arrived"), std::string::npos);
    EXPECT_EQ(ReadText(part + ".ini"),
              "8\r\n" + std::to_string(MmsTcpFixture::SendTime(media.packets[4])) + "\r\n5");
    EXPECT_EQ(Read(part, media).packetCount, 5u);
}

}  // namespace
