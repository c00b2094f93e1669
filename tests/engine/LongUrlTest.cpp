// A URL longer than an item's 1024-byte URL field holds is refused before anything is sent: the
// request URL a downloader is given, the scheme each MMS transport writes into the URL, and the
// control URLs an RTSP description names. One that just fits is requested whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DownBase.h"
#include "DownMMSMng.h"
#include "Factories.h"
#include "FixtureServer.h"
#include "RecordingSink.h"
#include "RtspFixture.h"
#include "ScopedEngineTimeOut.h"
#include "TempDir.h"
#include "UrlModel.h"

namespace {

// scheme "://127.0.0.1:" port "/" and 'x's up to length characters.
std::string UrlOf(const std::string& scheme, int port, size_t length) {
    const std::string start = scheme + "://127.0.0.1:" + std::to_string(port) + "/";
    return start + std::string(length - start.size(), 'x');
}

// Every connection is taken and closed at once, and counted.
void CloseEveryConnection(FixtureServer& server) {
    server.AddScript().Close();
    server.RepeatLastScript();
    server.Start();
}

// What a connection that was never made would have been given to be counted.
constexpr int kNoConnectionMs = 300;

class LongUrl : public ::testing::Test {
protected:
    ScopedEngineTimeOut timeOut_{2};

    TempDir dir_;
};

TEST_F(LongUrl, EveryDownloaderRefusesARequestUrlThatDoesNotFit) {
    struct Case {
        const char* name;
        IEngineObject* (FK_STDCALL* make)();
        const char* scheme;
    };
    const Case cases[] = {
        {"http", NEW_DOWNHTTP, "http"},         {"rtsp over http", NEW_DOWNRTSP80, "http"},
        {"rtsp", NEW_DOWNRTSP554, "rtsp"},      {"mms over tcp", NEW_DOWNMMS1755, "mms"},
        {"mms over rtsp", NEW_DOWNMMS554, "rtsp"}, {"mms over http", NEW_DOWNMMS80, "http"},
    };
    for (const Case& c : cases) {
        for (const size_t length : {kUrlTextMax, kUrlTextMax + 1}) {
            SCOPED_TRACE(std::string(c.name) + " " + std::to_string(length));
            FixtureServer server;
            CloseEveryConnection(server);
            EnginePtr<CDownBase> downloader(static_cast<CDownBase*>(c.make()));
            ASSERT_TRUE(downloader);
            RecordingSink sink;
            downloader->SetUrl(UrlOf(c.scheme, server.Port(), length).c_str(), dir_.File("a.bin").c_str());
            const int32_t result = downloader->Run(&sink);
            const bool refused = sink.LogText().find("URL too long") != std::string::npos;
            if (length == kUrlTextMax) {
                EXPECT_FALSE(refused) << sink.LogText();
                EXPECT_TRUE(server.WaitFinished(1, 5000));
            } else {
                EXPECT_EQ(result, ResultShakeHandError);
                EXPECT_TRUE(refused) << sink.LogText();
                EXPECT_FALSE(server.WaitFinished(1, kNoConnectionMs));
                EXPECT_EQ(server.Connections(), 0);
            }
        }
    }
}

// "mms" to "rtsp" or "http" adds a character: at the field's length only the TCP transport runs,
// and the others fail as refused, the last one as the run's failure.
TEST_F(LongUrl, ChooserRefusesTheTransportsWhoseSchemeDoesNotFit) {
    struct Case {
        const char* scheme;
        size_t length;
        int connections;
        std::vector<const char*> started;
        std::vector<const char*> notStarted;
    };
    const Case cases[] = {
        {"mms", kUrlTextMax - 1, 3, {"MMS 1755", "MMS 554", "MMS 80"}, {}},
        {"mms", kUrlTextMax, 1, {"MMS 1755"}, {"MMS 554", "MMS 80"}},
        {"mmst", kUrlTextMax, 3, {"MMS 1755", "MMS 554", "MMS 80"}, {}},
        {"http", kUrlTextMax, 3, {"MMS 80", "MMS 1755", "MMS 554"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.scheme) + " " + std::to_string(c.length));
        FixtureServer server;
        CloseEveryConnection(server);
        EnginePtr<IDownMmsChooser> chooser(static_cast<IDownMmsChooser*>(NEW_DOWNMMSMNG()));
        ASSERT_TRUE(chooser);
        RecordingSink sink;
        chooser->SetUrl(UrlOf(c.scheme, server.Port(), c.length).c_str(), dir_.File("a.asf").c_str());
        chooser->Run(&sink);
        const std::string log = sink.LogText();
        ASSERT_EQ(sink.failures.size(), 1u) << log;
        EXPECT_EQ(sink.succeeded, 0);
        for (const char* name : c.started) {
            EXPECT_NE(log.find(std::string("START DOWNLOAD ") + name + "-"), std::string::npos) << name;
        }
        for (const char* name : c.notStarted) {
            EXPECT_EQ(log.find(std::string("START DOWNLOAD ") + name + "-"), std::string::npos) << name;
        }
        size_t refusals = 0;
        for (size_t at = log.find("URL too long"); at != std::string::npos; at = log.find("URL too long", at + 1)) {
            ++refusals;
        }
        EXPECT_EQ(refusals, c.notStarted.size());
        if (!c.notStarted.empty()) {
            EXPECT_EQ(sink.failures[0], "Invalid URL");
        }
        EXPECT_TRUE(server.WaitFinished(c.connections, 5000));
        EXPECT_FALSE(server.WaitFinished(c.connections + 1, kNoConnectionMs));
        EXPECT_EQ(server.Connections(), c.connections);
    }
}

// The RealMedia downloader sets each stream up at base + control: 14 + 1009 characters fit.
TEST_F(LongUrl, RealMediaRtspRefusesAControlUrlThatDoesNotFit) {
    const std::string base = "rtsp://h/a.rm/";
    for (const size_t control : {kUrlTextMax - base.size(), kUrlTextMax - base.size() + 1}) {
        SCOPED_TRACE(control);
        const std::string sdp = "v=0\r\na=control:" + std::string(control, 's') + "\r\n";
        FixtureServer server;
        server.AddScript()
            .Call([&](FixtureServer::Session& s) {
                if (s.Expect("\r\n\r\n", 5000)) s.Send("RTSP/1.0 200 OK\r\n\r\n");
                if (!s.Expect("DESCRIBE", 5000) || !s.Expect("\r\n\r\n", 5000)) return;
                s.Send("RTSP/1.0 200 OK\r\nContent-base: " + base + "\r\nContent-length: " +
                       std::to_string(sdp.size()) + "\r\n\r\n" + sdp);
                // Whatever comes next, until the client sends it or hangs up.
                s.Expect("SETUP", 3000) && s.Expect("\r\n\r\n", 3000);
            })
            .Close();
        server.Start();
        EnginePtr<CDownBase> downloader(static_cast<CDownBase*>(NEW_DOWNRTSP554()));
        ASSERT_TRUE(downloader);
        RecordingSink sink;
        downloader->SetUrl(server.Url("/a.rm", "rtsp").c_str(), dir_.File("a.rm").c_str());
        const int32_t result = downloader->Run(&sink);
        ASSERT_TRUE(server.WaitFinished(1, 5000));
        const std::string received = server.Received(0);
        if (base.size() + control == kUrlTextMax) {
            EXPECT_NE(received.find("SETUP " + base + std::string(control, 's') + " RTSP/1.0\r\n"), std::string::npos);
        } else {
            EXPECT_EQ(result, ResultShakeHandError);
            EXPECT_NE(sink.LogText().find("URL too long"), std::string::npos) << sink.LogText();
            EXPECT_EQ(received.find("SETUP"), std::string::npos);
        }
    }
}

// MMS over RTSP sets its stream up at the session's control URL followed by the stream's.
TEST_F(LongUrl, MmsRtspRefusesAControlUrlThatDoesNotFit) {
    for (const size_t length : {kUrlTextMax, kUrlTextMax + 1}) {
        SCOPED_TRACE(length);
        RtspFixture server(RtspFixture::LoadFile("audio.wma"));
        std::string streamUrl;
        server.Set().rewrite = [&](const std::string& method, const std::string& reply) {
            if (method != "DESCRIBE") return reply;
            const std::string key = "a=control:";
            const size_t session = reply.find(key) + key.size();
            const std::string sessionUrl = reply.substr(session, reply.find("\r\n", session) - session);
            streamUrl = sessionUrl + std::string(length - sessionUrl.size(), 's');
            const size_t stream = reply.find(key, session) + key.size();
            std::string out = reply;
            out.replace(stream, out.find("\r\n", stream) - stream, streamUrl.substr(sessionUrl.size()));
            // The description grew: its length with it.
            const size_t bodyLength = out.size() - (out.find("\r\n\r\n") + 4);
            const size_t lengthAt = out.find("Content-Length: ") + 16;
            return out.replace(lengthAt, out.find("\r\n", lengthAt) - lengthAt, std::to_string(bodyLength));
        };
        server.Start();
        EnginePtr<CDownBase> downloader(static_cast<CDownBase*>(NEW_DOWNMMS554()));
        ASSERT_TRUE(downloader);
        RecordingSink sink;
        downloader->SetUrl(server.Url("audio.wma").c_str(), dir_.File("a.asf").c_str());
        const int32_t result = downloader->Run(&sink);
        ASSERT_EQ(server.Requests("DESCRIBE").size(), 1u) << sink.LogText();
        const std::vector<std::string> setups = server.Requests("SETUP");
        if (length == kUrlTextMax) {
            ASSERT_FALSE(setups.empty()) << sink.LogText();
            EXPECT_EQ(setups[0].rfind("SETUP " + streamUrl + " RTSP/1.0\r\n", 0), 0u) << setups[0].substr(0, 80);
        } else {
            EXPECT_EQ(result, ResultShakeHandError);
            EXPECT_NE(sink.LogText().find("URL too long"), std::string::npos) << sink.LogText();
            EXPECT_TRUE(setups.empty());
        }
    }
}

}  // namespace
