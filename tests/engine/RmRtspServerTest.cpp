// The tests' RealMedia RTSP server is itself checked here, with code of the test's own: a plain
// client takes the description and the units of a real file, and the file put back together
// from them reads in ffmpeg with the same packets as the original.
#include <gtest/gtest.h>

#include <string>

#include "Base64.h"
#include "Factories.h"
#include "MediaFiles.h"
#include "QmSocket.h"
#include "RmRtspServer.h"
#include "TempDir.h"

namespace {

std::string Attribute(const std::string& text, const std::string& key) {
    const size_t at = text.find("a=" + key);
    if (at == std::string::npos) return {};
    std::string value = text.substr(at + 2 + key.size(), text.find("\r\n", at) - at - 2 - key.size());
    if (!value.empty() && value.front() == '"') value = value.substr(1, value.size() - 2);
    return value;
}

std::string Unbase64(const std::string& text) {
    std::string out(text.size(), '\0');
    out.resize(size_t(Base64Decode(text.data(), int(text.size()), reinterpret_cast<uint8_t*>(&out[0]))));
    return out;
}

// The description's attributes as file headers.
RmFile FromDescription(const std::string& sdp) {
    RmFile f;
    const size_t first = sdp.find("\r\nm=");
    const std::string session = sdp.substr(0, first);
    auto text = [&](const char* key) {
        std::string t = Unbase64(Attribute(session, key));
        return t.empty() ? t : t.substr(0, t.size() - 1);
    };
    f.title = text("Title:buffer;");
    f.author = text("Author:buffer;");
    f.copyright = text("Copyright:buffer;");
    for (size_t at = first; at != std::string::npos;) {
        const size_t next = sdp.find("\r\nm=", at + 2);
        const std::string m = sdp.substr(at, next == std::string::npos ? std::string::npos : next - at);
        RmStreamInfo s;
        s.number = uint16_t(f.streams.size());
        s.maxBitRate = uint32_t(std::stoul(Attribute(m, "MaxBitRate:integer;")));
        s.avgBitRate = uint32_t(std::stoul(Attribute(m, "AvgBitRate:integer;")));
        s.maxPacketSize = uint32_t(std::stoul(Attribute(m, "MaxPacketSize:integer;")));
        s.avgPacketSize = uint32_t(std::stoul(Attribute(m, "AvgPacketSize:integer;")));
        s.preroll = uint32_t(std::stoul(Attribute(m, "Preroll:integer;")));
        s.duration = uint32_t(std::stod(Attribute(m, "length:npt=")) * 1000 + 0.5);
        s.name = Attribute(m, "StreamName:string;");
        s.mimeType = Attribute(m, "mimetype:string;");
        s.typeData = Unbase64(Attribute(m, "OpaqueData:buffer;"));
        f.streams.push_back(s);
        f.maxBitRate += s.maxBitRate;
        f.avgBitRate += s.avgBitRate;
        f.maxPacketSize = std::max(f.maxPacketSize, s.maxPacketSize);
        f.avgPacketSize = std::max(f.avgPacketSize, s.avgPacketSize);
        f.duration = std::max(f.duration, s.duration);
        at = next;
    }
    return f;
}

// A unit's payload as a packet; the 0xFF form carries its header 9 bytes further in.
RmPacket FromPayload(const std::string& payload) {
    const bool control = uint8_t(payload[1]) == 0xFF;
    const std::string header = control ? payload.substr(9, 8) : payload.substr(0, 8);
    RmPacket p;
    p.stream = (uint8_t(header[0]) >> 1) & 7;
    p.flags = (header[3] & 1) ? 0 : 2;
    for (int i = 4; i < 8; ++i) p.timestamp = p.timestamp << 8 | uint8_t(header[i]);
    p.data = payload.substr(control ? 19 : 10);
    return p;
}

std::string Request(const std::string& line, int cseq) {
    return line + " RTSP/1.0\r\nCSeq: " + std::to_string(cseq) + "\r\n\r\n";
}

TEST(RmRtspServer, UnitsPutBackTogetherReadAsTheOriginal) {
    for (const char* name : {"av.rm", "audio.rm"}) {
        SCOPED_TRACE(name);
        const RmFile source = ReadRmFile(ReadAll(MediaDir() + name));
        ASSERT_EQ(source.error, "");
        FixtureServer server;
        AddRmRtspScript(server, MakeServerStream(source, 7));
        server.Start();
        EnginePtr<CQmSocket> socket(static_cast<CQmSocket*>(NEW_CQMSOCKET()));
        socket->SetTimeOut(10);
        ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port()));
        const std::string url = server.Url("/clip.rm", "rtsp");
        int cseq = 1;
        CByteBuffer reply;
        auto exchange = [&](const std::string& line) {
            const std::string request = Request(line, cseq++);
            EXPECT_TRUE(socket->SendAll(request.data(), int32_t(request.size())));
            reply.Reset();
            EXPECT_GT(socket->ReceiveBlock(&reply), 0);
            return std::string(reply.GetString());
        };
        exchange("OPTIONS " + url);
        const std::string head = exchange("DESCRIBE " + url);
        const size_t at = head.find("Content-length: ");
        ASSERT_NE(at, std::string::npos);
        std::string sdp(std::stoul(head.substr(at + 16)), '\0');
        ASSERT_TRUE(socket->ReceiveExact(&sdp[0], int32_t(sdp.size())));
        RmFile rebuilt = FromDescription(sdp);
        ASSERT_EQ(rebuilt.streams.size(), source.streams.size());
        for (size_t i = 0; i < source.streams.size(); ++i) exchange("SETUP " + url + "/streamid=" + std::to_string(i));
        exchange("SET_PARAMETER " + url);
        const std::string play = Request("PLAY " + url, cseq++);
        ASSERT_TRUE(socket->SendAll(play.data(), int32_t(play.size())));
        reply.Reset();
        ASSERT_GT(socket->ReceiveBlock(&reply), 0);
        EXPECT_EQ(std::string(reply.GetString()).rfind("RTSP/1.0 200", 0), 0u);
        for (;;) {
            uint8_t frame[4];
            ASSERT_TRUE(socket->ReceiveExact(frame, 4));
            ASSERT_EQ(frame[0], '$');
            std::string payload(size_t(frame[2] << 8 | frame[3]), '\0');
            ASSERT_TRUE(socket->ReceiveExact(&payload[0], int32_t(payload.size())));
            if (payload.size() == 11) break;
            rebuilt.packets.push_back(FromPayload(payload));
        }
        EXPECT_EQ(rebuilt.packets, source.packets);
        TempDir dir;
        const std::string path = dir.File(name);
        WriteAll(path, WriteRmFile(rebuilt));
        const RmFile reread = ReadRmFile(ReadAll(path));
        ASSERT_EQ(reread.error, "");
        EXPECT_EQ(reread.title, source.title);
#ifndef _WIN32
        const std::string expected = Framecrc(MediaDir() + name, "-map 0 -c copy");
        EXPECT_GT(size_t(std::count(expected.begin(), expected.end(), '\n')), source.packets.size() - 1);
        EXPECT_EQ(Framecrc(path, "-map 0 -c copy"), expected);
#endif
    }
}

}  // namespace
