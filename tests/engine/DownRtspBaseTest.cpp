// The RTSP base against a scripted loopback server: the reply check, the exchange, the CSeq
// counter, and the data-phase reader of '$' frames and text messages.
#include <gtest/gtest.h>

#include <string>

#include "DownRtspBase.h"
#include "FixtureServer.h"
#include "RecordingSink.h"
#include "ScopedEngineTimeOut.h"
#include "TempDir.h"

namespace {

// The base with the steps a client adds left empty, and its protected steps in reach.
class BareRtsp final : public EngineObject<BareRtsp, CDownRtspBase> {
public:
    int32_t FK_STDCALL Handshake() override { return ResultSuccess; }
    int32_t FK_STDCALL ReceiveData() override { return ResultSuccess; }
    bool FK_STDCALL ReturnTrue() override { return true; }

    void Attach(IDownloadSink* sink) { sink_ = sink; }
    int32_t Port() const { return port_; }
    std::string CSeqLine() { return NextCSeqLine(); }
    int32_t Read(RtspUnit* unit) { return ReadInterleaved(unit); }
};

class RtspBase : public ::testing::Test {
protected:
    ScopedEngineTimeOut timeOut_{1};

    // Begin, connect and pass the resume check against the server, as a run does.
    void Open(BareRtsp& client, FixtureServer& server) {
        client.SetUrl(server.Url("/clip.asf", "rtsp").c_str(), dir_.File("clip.asf").c_str());
        client.Attach(&sink_);
        ASSERT_EQ(client.Begin(), ResultSuccess);
        ASSERT_EQ(client.Connect(), ResultSuccess);
        ASSERT_EQ(client.CheckResume(), ResultSuccess);
    }

    TempDir dir_;
    RecordingSink sink_;
};

TEST(RtspBaseReply, IsBadReplyComparesThePrefixWithCase) {
    BareRtsp client;
    struct Case {
        const char* text;
        const char* expected;
        bool bad;
    } cases[] = {
        {"RTSP/1.0 200 OK\r\n", "RTSP/1.0 200", false},
        {"RTSP/1.0 200", "RTSP/1.0 200", false},
        {"RTSP/1.0 20", "RTSP/1.0 200", true},
        {"rtsp/1.0 200 OK", "RTSP/1.0 200", true},
        {"RTSP/1.0 404 Not Found", "RTSP/1.0 200", true},
        {"", "RTSP/1.0 200", true},
        {nullptr, "RTSP/1.0 200", true},
    };
    for (const auto& c : cases) EXPECT_EQ(client.IsBadReply(c.text, c.expected), c.bad) << (c.text ? c.text : "null");
}

TEST_F(RtspBase, BeginNamesPort554AndTheResumeCheckStartsCSeqAtOne) {
    FixtureServer server;
    server.AddScript().Silence(2000);
    server.Start();
    BareRtsp client;
    Open(client, server);
    EXPECT_EQ(client.Port(), 554);
    EXPECT_EQ(client.CSeqCounter(), 1);
    EXPECT_EQ(client.CSeqLine(), "CSeq: 1\r\n");
    EXPECT_EQ(client.CSeqLine(), "CSeq: 2\r\n");
    EXPECT_EQ(client.CSeqCounter(), 3);
}

TEST_F(RtspBase, ExchangeRequiresA200Reply) {
    struct Case {
        const char* name;
        std::string reply;  // empty: the server closes without a reply
        int32_t result;
    } cases[] = {
        {"ok", "RTSP/1.0 200 OK\r\nCSeq: 1\r\n\r\n", ResultSuccess},
        {"refused", "RTSP/1.0 454 Session Not Found\r\nCSeq: 1\r\n\r\n", ResultShakeHandError},
        {"other case", "rtsp/1.0 200 OK\r\n\r\n", ResultShakeHandError},
        {"http", "HTTP/1.0 200 OK\r\n\r\n", ResultShakeHandError},
        {"closed", "", ResultTimeOut},
    };
    for (const auto& c : cases) {
        FixtureServer server;
        auto& script = server.AddScript().ExpectHead();
        if (!c.reply.empty()) script.Send(c.reply).Silence(2000);
        script.Close();
        server.Start();
        BareRtsp client;
        Open(client, server);
        const std::string request = "OPTIONS * RTSP/1.0\r\n" + std::string("CSeq: 1\r\n\r\n");
        CByteBuffer reply;
        EXPECT_EQ(client.Exchange(request.data(), int32_t(request.size()), &reply), c.result) << c.name;
        if (c.result == ResultSuccess) {
            EXPECT_STREQ(reply.GetString(), c.reply.c_str());
        }
        EXPECT_EQ(server.Received(0), request) << c.name;
    }
}

TEST_F(RtspBase, ExchangeSeesAStopAfterTheReply) {
    FixtureServer server;
    server.AddScript().ExpectHead().Send("RTSP/1.0 200 OK\r\n\r\n").Silence(2000);
    server.Start();
    BareRtsp client;
    Open(client, server);
    sink_.stop = true;
    const std::string request = "OPTIONS * RTSP/1.0\r\n\r\n";
    CByteBuffer reply;
    EXPECT_EQ(client.Exchange(request.data(), int32_t(request.size()), &reply), ResultUserCancel);
}

TEST_F(RtspBase, DataPhaseReaderTellsFramesFromMessagesAndReadsBodiesWhole) {
    // A body that looks like a frame must not be taken for one.
    const std::string body = "$\x00\x00\x04" "abcd";
    FixtureServer server;
    server.AddScript()
        .Send(std::string("$\x01\x00\x03xyz", 7))
        .Send("RTSP/1.0 200 OK\r\n\r\n")
        .Send("RTSP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body)
        .Send(std::string("$\x00\x00\x00", 4))
        .Send("SET_PARAMETER rtsp://x RTSP/1.0\n\n")
        .Silence(2000);
    server.Start();
    BareRtsp client;
    Open(client, server);
    CDownRtspBase::RtspUnit unit;
    ASSERT_EQ(client.Read(&unit), ResultSuccess);
    EXPECT_TRUE(unit.frame);
    EXPECT_EQ(unit.channel, 1);
    EXPECT_EQ(std::string(unit.payload.begin(), unit.payload.end()), "xyz");
    ASSERT_EQ(client.Read(&unit), ResultSuccess);
    EXPECT_FALSE(unit.frame);
    EXPECT_EQ(unit.head, "RTSP/1.0 200 OK\r\n\r\n");
    EXPECT_EQ(unit.body, "");
    ASSERT_EQ(client.Read(&unit), ResultSuccess);
    EXPECT_FALSE(unit.frame);
    EXPECT_EQ(unit.body, body);
    ASSERT_EQ(client.Read(&unit), ResultSuccess);
    EXPECT_TRUE(unit.frame);
    EXPECT_TRUE(unit.payload.empty());
    ASSERT_EQ(client.Read(&unit), ResultSuccess);
    EXPECT_EQ(unit.head, "SET_PARAMETER rtsp://x RTSP/1.0\n\n");
    EXPECT_EQ(client.Read(&unit), ResultTimeOut);
}

TEST_F(RtspBase, DataPhaseReaderRefusesHostileLengthsAndCutUnits) {
    struct Case {
        const char* name;
        std::string bytes;
        int32_t result;
    } cases[] = {
        {"frame cut short", std::string("$\x00\x01\x00", 4) + "only a little", ResultTimeOut},
        {"body beyond the limit", "RTSP/1.0 200 OK\r\nContent-Length: 1048577\r\n\r\n", ResultReceiveError},
        {"body length not a number", "RTSP/1.0 200 OK\r\nContent-Length: 12x\r\n\r\n", ResultReceiveError},
        {"body cut short", "RTSP/1.0 200 OK\r\nContent-Length: 50\r\n\r\nabc", ResultTimeOut},
        {"endless head", "RTSP/1.0 200 OK\r\n" + std::string(20000, 'h'), ResultReceiveError},
    };
    for (const auto& c : cases) {
        FixtureServer server;
        server.AddScript().Send(c.bytes).Silence(3000);
        server.Start();
        BareRtsp client;
        Open(client, server);
        CDownRtspBase::RtspUnit unit;
        EXPECT_EQ(client.Read(&unit), c.result) << c.name;
    }
}

}  // namespace
