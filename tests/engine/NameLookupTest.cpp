// Name lookup is bounded by the time-out and by a stop, even when the resolver never answers:
// no real DNS is reachable here, so a resolver of the test's own stands in for the platform's.
#include "NameLookup.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "DownFTP.h"
#include "DownHTTP.h"
#include "EngineSettings.h"
#include "Factories.h"
#include "FixtureServer.h"
#include "QmSocket.h"
#include "RecordingSink.h"
#include "TempDir.h"
#include "Watchdog.h"

namespace {

// "hang.example" blocks until the test that asked for it ends; "peer.example" is the loopback
// address. A count of test ends, not a flag, lets go every lookup of the test that ended, even one
// that wakes only after the next test has begun.
std::mutex g_gate;
std::condition_variable g_opened;
int g_testsEnded = 0;
std::atomic<int> g_lookups{0};

bool TestResolver(const std::string& host, std::string& address) {
    ++g_lookups;
    if (host == "hang.example") {
        std::unique_lock<std::mutex> guard(g_gate);
        const int entered = g_testsEnded;
        g_opened.wait(guard, [entered] { return g_testsEnded != entered; });
        return false;
    }
    if (host == "peer.example") {
        address = "127.0.0.1";
        return true;
    }
    return false;
}

class NameLookup : public ::testing::Test {
protected:
    void SetUp() override {
        g_lookups = 0;
        savedTimeOut_ = GetEngineTimeOut();
        SetHostResolverForTests(&TestResolver);
    }
    void TearDown() override {
        SetHostResolverForTests(nullptr);
        SetEngineTimeOut(savedTimeOut_);
        // The abandoned lookups end now instead of outliving the test.
        std::lock_guard<std::mutex> guard(g_gate);
        ++g_testsEnded;
        g_opened.notify_all();
    }

private:
    int32_t savedTimeOut_ = 60;
};

TEST_F(NameLookup, AnswersComeBackAndAddressesNeedNoLookup) {
    struct Case {
        const char* host;
        LookupResult result;
        const char* address;
    };
    const Case cases[] = {
        {"peer.example", LookupResult::Found, "127.0.0.1"},
        {"nowhere.example", LookupResult::NotFound, ""},
        {"127.0.0.1", LookupResult::Found, "127.0.0.1"},
    };
    for (const auto& c : cases) {
        std::string address;
        EXPECT_EQ(LookUpHost(c.host, 5000, nullptr, address), c.result) << c.host;
        EXPECT_EQ(address, c.address) << c.host;
    }
    EXPECT_EQ(g_lookups, 2);  // the dotted address went straight through
}

TEST_F(NameLookup, HangingLookupEndsWithTheTimeOutOrAStop) {
    std::string address;
    LookupResult timed = LookupResult::Found;
    ASSERT_TRUE(FinishesWithin(std::chrono::seconds(30),
                               [&] { timed = LookUpHost("hang.example", 300, nullptr, address); }));
    EXPECT_EQ(timed, LookupResult::TimedOut);

    std::atomic<bool> stop{false};
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        stop = true;
    });
    LookupResult stopped = LookupResult::Found;
    ASSERT_TRUE(FinishesWithin(std::chrono::seconds(30), [&] {
        stopped = LookUpHost("hang.example", -1, [&] { return stop.load(); }, address);
    }));
    stopper.join();
    EXPECT_EQ(stopped, LookupResult::Stopped);
}

TEST_F(NameLookup, HungLookupsDoNotHoldUpTheNext) {
    // Each lookup is abandoned once the resolver has it, so it holds its thread until the test ends.
    std::string address;
    for (int i = 0; i < 3; ++i) {
        LookupResult hung = LookupResult::Found;
        ASSERT_TRUE(FinishesWithin(std::chrono::seconds(30), [&] {
            hung = LookUpHost("hang.example", -1, [&] { return g_lookups > i; }, address);
        })) << i;
        EXPECT_EQ(hung, LookupResult::Stopped) << i;
    }
    LookupResult found = LookupResult::NotFound;
    ASSERT_TRUE(FinishesWithin(std::chrono::seconds(30),
                               [&] { found = LookUpHost("peer.example", 20000, nullptr, address); }));
    EXPECT_EQ(found, LookupResult::Found);
    EXPECT_EQ(address, "127.0.0.1");
}

TEST_F(NameLookup, SocketConnectsThroughTheLookup) {
    FixtureServer server;
    server.AddScript().Send("hello").Close();
    server.Start();
    EnginePtr<CQmSocket> socket(static_cast<CQmSocket*>(NEW_CQMSOCKET()));
    socket->SetTimeOut(5);
    ASSERT_TRUE(socket->Connect("peer.example", server.Port()));
    char text[8] = {};
    EXPECT_TRUE(socket->ReceiveExact(text, 5));
    EXPECT_STREQ(text, "hello");
}

TEST_F(NameLookup, DownloadWhoseLookupHangsEndsWithTheTimeOutOrAStop) {
    TempDir dir;
    struct Case {
        const char* name;
        int32_t timeOut;
        bool stop;
        int32_t result;
    };
    const Case cases[] = {
        {"time-out", 1, false, ResultConnectError},
        {"stop", 3600, true, ResultUserCancel},
    };
    for (const auto& c : cases) {
        SetEngineTimeOut(c.timeOut);
        RecordingSink sink;
        std::thread stopper;
        if (c.stop) {
            stopper = std::thread([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                sink.stop = true;
            });
        }
        int32_t result = -1;
        ASSERT_TRUE(FinishesWithin(std::chrono::seconds(30), [&] {
            EnginePtr<CDownBase> http(static_cast<CDownBase*>(NEW_DOWNHTTP()));
            http->SetUrl("http://hang.example/file.bin", dir.File("file.bin").c_str());
            result = http->Run(&sink);
        }));
        if (stopper.joinable()) stopper.join();
        EXPECT_EQ(result, c.result) << c.name << "\n" << sink.LogText();
    }
}

TEST_F(NameLookup, FtpDownloadWhoseLookupHangsEndsWithTheTimeOut) {
    TempDir dir;
    SetEngineTimeOut(1);
    RecordingSink sink;
    int32_t result = -1;
    ASSERT_TRUE(FinishesWithin(std::chrono::seconds(30), [&] {
        EnginePtr<CDownFTP> ftp(static_cast<CDownFTP*>(NEW_DOWNFTP()));
        ftp->SetUrl("ftp://hang.example/file.bin", dir.File("file.bin").c_str());
        result = ftp->Run(&sink);
    }));
    EXPECT_EQ(result, FtpConnectFailed) << sink.LogText();
}

}  // namespace
