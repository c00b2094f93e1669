// The MMS transport chooser with stand-in transports that report what each run is told to, and
// end to end with the MMS-over-TCP transport and the download job.
#include "DownMMSMng.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "DownBase.h"
#include "Download.h"
#include "Factories.h"
#include "FixtureServer.h"
#include "MmsHttpFramer.h"
#include "MmsTcpFixture.h"
#include "RecordingSink.h"
#include "TempDir.h"
#include "sys/FileSystem.h"

namespace {

// What the stand-in transports do, by name: "ok", "redirect" or a failure text.
std::map<std::string, std::string> g_outcomes;
struct Attempt {
    std::string transport, url, file;
};
std::vector<Attempt> g_attempts;

class StandInTransport final : public EngineObject<StandInTransport, CDownBase> {
public:
    explicit StandInTransport(const char* name = "") : name_(name) {}
    int32_t FK_STDCALL Run(IDownloadSink* sink) override {
        g_attempts.push_back({name_, url_, localFile_});
        const std::string& outcome = g_outcomes[name_];
        sink->Log(("run " + name_).c_str());
        if (outcome == "ok") {
            sink->Succeeded();
        } else if (outcome == "redirect") {
            sink->Log("REDIRECTED\r\n");
            sink->Restart();
        } else {
            sink->Failed(outcome.c_str());
        }
        return 0;
    }
    int32_t FK_STDCALL Handshake() override { return 0; }
    int32_t FK_STDCALL ReceiveData() override { return 0; }

private:
    std::string name_;
};

IEngineObject* FK_STDCALL MakeTcp() { return new StandInTransport("tcp"); }
IEngineObject* FK_STDCALL MakeRtsp() { return new StandInTransport("rtsp"); }
IEngineObject* FK_STDCALL MakeHttp() { return new StandInTransport("http"); }

EnginePtr<CDownMMSMng> StandInChooser() {
    EnginePtr<CDownMMSMng> chooser(static_cast<CDownMMSMng*>(CreateEngineObject<CDownMMSMng>()));
    chooser->UseFactory(CDownMMSMng::kTcp, MakeTcp);
    chooser->UseFactory(CDownMMSMng::kRtsp, MakeRtsp);
    chooser->UseFactory(CDownMMSMng::kHttp, MakeHttp);
    return chooser;
}

class Chooser : public ::testing::Test {
protected:
    void SetUp() override {
        g_outcomes = {{"tcp", "fail tcp"}, {"rtsp", "fail rtsp"}, {"http", "fail http"}};
        g_attempts.clear();
    }
};

TEST_F(Chooser, SchemePicksTheFirstTransportAndFailuresRunTheRestInOrder) {
    struct Case {
        const char* url;
        std::vector<std::string> order;
        std::vector<std::string> urls;
    } cases[] = {
        {"mms://h.example/a/b.wmv", {"tcp", "rtsp", "http"},
         {"mms://h.example/a/b.wmv", "rtsp://h.example/a/b.wmv", "http://h.example/a/b.wmv"}},
        {"mmst://h.example:8000/x", {"tcp", "rtsp", "http"},
         {"mms://h.example:8000/x", "rtsp://h.example:8000/x", "http://h.example:8000/x"}},
        {"MMSU://h.example/x", {"tcp", "rtsp", "http"}, {"mms://h.example/x", "rtsp://h.example/x", "http://h.example/x"}},
        {"RTSP://h.example/x.asf", {"rtsp", "tcp", "http"},
         {"rtsp://h.example/x.asf", "mms://h.example/x.asf", "http://h.example/x.asf"}},
        {"http://h.example/x.wmv", {"http", "tcp", "rtsp"},
         {"http://h.example/x.wmv", "mms://h.example/x.wmv", "rtsp://h.example/x.wmv"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        g_attempts.clear();
        auto chooser = StandInChooser();
        RecordingSink sink;
        chooser->SetUrl(c.url, "/tmp/out.asf");
        chooser->Run(&sink);
        ASSERT_EQ(g_attempts.size(), 3u);
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(g_attempts[i].transport, c.order[i]);
            EXPECT_EQ(g_attempts[i].url, c.urls[i]);
            EXPECT_EQ(g_attempts[i].file, "/tmp/out.asf");
        }
        // The first two failures are log lines; the last is the run's failure.
        EXPECT_EQ(sink.failures, std::vector<std::string>{"fail " + c.order[2]});
        const std::string log = sink.LogText();
        EXPECT_NE(log.find("fail " + c.order[0] + "\n"), std::string::npos);
        EXPECT_NE(log.find("fail " + c.order[1] + "\n"), std::string::npos);
        EXPECT_EQ(chooser->TriedFlags(), 7u);
    }
}

TEST_F(Chooser, SuccessOrRedirectEndsTheChain) {
    for (const char* outcome : {"ok", "redirect"}) {
        SCOPED_TRACE(outcome);
        g_attempts.clear();
        g_outcomes["rtsp"] = outcome;
        auto chooser = StandInChooser();
        RecordingSink sink;
        chooser->SetUrl("mms://h.example/x", "/tmp/out.asf");
        chooser->Run(&sink);
        ASSERT_EQ(g_attempts.size(), 2u);
        EXPECT_TRUE(sink.failures.empty());
        EXPECT_EQ(sink.succeeded, std::string(outcome) == "ok" ? 1 : 0);
        EXPECT_EQ(sink.restarts, std::string(outcome) == "redirect" ? 1 : 0);
        EXPECT_NE(sink.LogText().find("fail tcp\n"), std::string::npos);
    }
}

// A transport that cannot be made has failed; a chooser that can make none still ends in a failure.
TEST_F(Chooser, TransportThatCannotBeMadeCountsAsFailed) {
    g_outcomes["http"] = "ok";
    auto chooser = StandInChooser();
    chooser->UseFactory(CDownMMSMng::kTcp, nullptr);
    RecordingSink sink;
    chooser->SetUrl("mms://h.example/x", "/tmp/out.asf");
    chooser->Run(&sink);
    EXPECT_EQ(sink.succeeded, 1);
    EXPECT_NE(sink.LogText().find("MEMORY ERROR\n"), std::string::npos);

    auto none = StandInChooser();
    for (auto t : {CDownMMSMng::kTcp, CDownMMSMng::kRtsp, CDownMMSMng::kHttp}) none->UseFactory(t, nullptr);
    RecordingSink nothing;
    none->SetUrl("rtsp://h.example/x.asf", "/tmp/out.asf");
    none->Run(&nothing);
    EXPECT_EQ(nothing.failures, std::vector<std::string>{"MEMORY ERROR"});
}

TEST_F(Chooser, UnknownSchemeEndsInAFailureWithoutATransport) {
    for (const char* url : {"ftp://h.example/x.wmv", "h.example/x.wmv"}) {
        SCOPED_TRACE(url);
        auto chooser = StandInChooser();
        RecordingSink sink;
        chooser->SetUrl(url, "/tmp/out.asf");
        chooser->Run(&sink);
        EXPECT_TRUE(g_attempts.empty());
        EXPECT_EQ(sink.failures, std::vector<std::string>{"Invalid URL"});
    }
}

// ---- End to end ------------------------------------------------------------------------------

TEST(ChooserEndToEnd, MmsUrlIsFetchedOverTcp) {
    const auto media = MmsTcpFixture::LoadAsf(MediaPath("av.wmv"));
    MmsTcpFixture server(media);
    server.Start();
    TempDir dir;
    EnginePtr<IDownMmsChooser> chooser(static_cast<IDownMmsChooser*>(NEW_DOWNMMSMNG()));
    ASSERT_TRUE(chooser);
    RecordingSink sink;
    const std::string file = dir.File("clip.asf");
    chooser->SetUrl(server.Url("clip.wmv", "mmst").c_str(), file.c_str());
    chooser->Run(&sink);
    EXPECT_EQ(sink.succeeded, 1) << sink.LogText();
    EXPECT_TRUE(sink.failures.empty());
    EXPECT_GT(sys::FileSize64(file), int64_t(media.header.size() + media.packets.size() * media.packets[0].size()));
}

// A server that speaks neither MMS over TCP nor RTSP: an "mmst://" URL is tried over TCP, then
// RTSP (refused with 404), and fetched over HTTP, each on the URL's own port with the scheme
// rewritten.
TEST(ChooserEndToEnd, TcpAndRtspFailThenHttpFetchesTheStream) {
    const AsfMedia media = AsfMedia::FromFile(MediaPath("av.wmv"));
    ASSERT_TRUE(media.Ok());
    MmsHttpFramer framer(media);
    FixtureServer server;
    server.AddScript()
        .Call([&](FixtureServer::Session& s) {
            // The TCP transport's binary command has no blank line; RTSP asks with DESCRIBE.
            if (!s.Expect("\r\n\r\n", 1500)) return;
            const std::string request = s.Received();
            if (request.rfind("GET ", 0) != 0) {
                s.Send("RTSP/1.0 404 Not Found\r\nCSeq: 1\r\n\r\n");
                return;
            }
            s.Send(framer.Reply(request));
        })
        .Close();
    server.RepeatLastScript();
    server.Start();
    TempDir dir;
    EnginePtr<IDownMmsChooser> chooser(static_cast<IDownMmsChooser*>(NEW_DOWNMMSMNG()));
    RecordingSink sink;
    const std::string file = dir.File("clip.asf");
    const std::string url = "mmst://127.0.0.1:" + std::to_string(server.Port()) + "/av.wmv";
    chooser->SetUrl(url.c_str(), file.c_str());
    chooser->Run(&sink);
    EXPECT_EQ(sink.succeeded, 1) << sink.LogText();
    EXPECT_TRUE(sink.failures.empty());
    const std::string log = sink.LogText();
    const size_t tcp = log.find("START DOWNLOAD MMS 1755"), rtsp = log.find("START DOWNLOAD MMS 554"),
                 http = log.find("START DOWNLOAD MMS 80");
    ASSERT_NE(tcp, std::string::npos);
    ASSERT_NE(rtsp, std::string::npos);
    ASSERT_NE(http, std::string::npos);
    EXPECT_LT(tcp, rtsp);
    EXPECT_LT(rtsp, http);
    // Both failures are log lines, in their order.
    const size_t tcpFailed = log.find("RECEIVE DATA TIME OUT\n", tcp), rtspFailed = log.find("SHAKE HAND ERROR\n", rtsp);
    EXPECT_LT(tcpFailed, rtsp);
    EXPECT_LT(rtspFailed, http);
    bool described = false, asked = false;
    const std::string rtspUrl = "DESCRIBE rtsp://127.0.0.1:" + std::to_string(server.Port()) + "/av.wmv ";
    for (int i = 0; i < server.Connections(); ++i) {
        described = described || server.Received(size_t(i)).rfind(rtspUrl, 0) == 0;
        asked = asked || server.Received(size_t(i)).rfind("GET /av.wmv ", 0) == 0;
    }
    EXPECT_TRUE(described);
    EXPECT_TRUE(asked);
    // The whole stream with its index.
    EXPECT_GT(sys::FileSize64(file), int64_t(media.header.size() + media.packets.size() * media.packetSize));
}

// Works inside a folder for as long as it lives, so that a path relative to it holds no '.' that
// the folder's own path may hold.
class InFolder {
public:
    explicit InFolder(const std::string& folder) : before_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(before_); }

private:
    std::filesystem::path before_;
};

// The job hands an MMS URL to the chooser, and a destination without any '.' gets ".asf".
TEST(ChooserEndToEnd, JobNamesAnMmsFileWithoutExtensionAsf) {
    const auto media = MmsTcpFixture::LoadAsf(MediaPath("av.wmv"));
    MmsTcpFixture server(media);
    server.Start();
    TempDir dir;
    InFolder inDir(dir.Dir());
    const std::string dest = "movie";
    EnginePtr<CDownload> job(static_cast<CDownload*>(NEW_DOWNLOAD()));
    ASSERT_TRUE(job);
    job->Set(server.Url("movie").c_str(), dest.c_str(), 0);
    RecordingSink sink;
    job->Run(&sink);
    EXPECT_EQ(sink.succeeded, 1) << sink.LogText();
    EXPECT_EQ(sink.activeKinds, std::vector<int32_t>{KindMms});
    ASSERT_FALSE(sink.destFiles.empty());
    EXPECT_EQ(sink.destFiles[0], dest + ".asf");
    EXPECT_TRUE(sys::FileExists(dest + ".asf"));
    EXPECT_FALSE(sys::FileExists(dest));
}

}  // namespace
