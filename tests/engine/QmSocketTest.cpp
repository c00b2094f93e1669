// The socket wrapper against a scripted loopback server: reply heads, lines, exact reads, time-outs,
// refused connections and a peer that goes away while we send.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "EngineSettings.h"
#include "Factories.h"
#include "FixtureServer.h"
#include "QmSocket.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

EnginePtr<CQmSocket> NewSocket(int32_t timeOut) {
    EnginePtr<CQmSocket> socket(static_cast<CQmSocket*>(NEW_CQMSOCKET()));
    if (socket) socket->SetTimeOut(timeOut);
    return socket;
}

// Every wait of the engine reads a time-out the same way: below the minimum as the minimum (no wait
// fails at once), above a day as a day (none, not even "no time-out", lasts without limit).
TEST(EngineTimeOut, IsHeldBetweenOneSecondAndADay) {
    struct Case {
        int32_t seconds;
        int32_t bounded;
    } cases[] = {
        {INT32_MIN, 1}, {-5, 1}, {0, 1}, {1, 1}, {30, 30}, {86400, 86400}, {86401, 86400},
        {CQmSocket::kNoTimeOut, 86400}, {INT32_MAX, 86400},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BoundedTimeOut(c.seconds), c.bounded) << c.seconds;
        EXPECT_EQ(TimeOutToMs(c.seconds), c.bounded * 1000) << c.seconds;
    }
}

TEST(QmSocket, FactoryMakesAnUnconnectedSocketWithoutTimeOut) {
    auto socket = NewSocket(CQmSocket::kNoTimeOut);
    ASSERT_TRUE(socket);
    socket.reset(static_cast<CQmSocket*>(NEW_CQMSOCKET()));
    EXPECT_EQ(socket->TimeOut(), CQmSocket::kNoTimeOut);
    char line[16];
    EXPECT_EQ(socket->ReadLine(line, sizeof line), -1);
    EXPECT_FALSE(socket->SendAll("x", 1));
    EXPECT_NE(NEW_00_CQMSOCKET(), nullptr);
    EXPECT_EQ(NEW_00_CQMSOCKET(), NEW_00_CQMSOCKET());
}

TEST(QmSocket, ReadHeaderStopsAtTheBlankLineAndLeavesTheBody) {
    struct Case {
        const char* name;
        std::string sent;  // then the server closes
        int result;
        std::string head;
        std::string rest;  // what a following exact read still gets
    };
    const std::vector<Case> cases = {
        {"crlf head", "HTTP/1.0 200 OK\r\nA: b\r\n\r\nBODY", 25, "HTTP/1.0 200 OK\r\nA: b\r\n\r\n", "BODY"},
        {"lf lf head", "HTTP/1.0 200 OK\n\nBODY", 17, "HTTP/1.0 200 OK\n\n", "BODY"},
        {"lone lf goes on", "A\nB\n\nXY", 5, "A\nB\n\n", "XY"},
        {"status line then close", "HTTP/1.1 200 OK\r\n", 17, "HTTP/1.1 200 OK\r\n", ""},
        {"closed before the first byte", "", 0, "", ""},
    };
    for (const auto& c : cases) {
        FixtureServer server;
        server.AddScript().Send(c.sent).Close();
        server.Start();
        auto socket = NewSocket(5);
        ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port())) << c.name;
        char head[256];
        EXPECT_EQ(socket->ReadHeader(head, sizeof head), c.result) << c.name;
        EXPECT_EQ(std::string(head), c.head) << c.name;
        if (!c.rest.empty()) {
            std::string rest(c.rest.size(), '\0');
            EXPECT_TRUE(socket->ReceiveExact(&rest[0], int32_t(rest.size()))) << c.name;
            EXPECT_EQ(rest, c.rest) << c.name;
        }
    }
}

TEST(QmSocket, ReadHeaderNeverWritesPastItsBuffer) {
    FixtureServer server;
    server.AddScript().Send(std::string(100, 'h')).Close();
    server.Start();
    auto socket = NewSocket(5);
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port()));
    char area[48];
    std::memset(area, '#', sizeof area);
    EXPECT_EQ(socket->ReadHeader(area, 32), 31);
    EXPECT_EQ(area[31], 0);
    EXPECT_EQ(area[32], '#');
}

TEST(QmSocket, ReceiveBlockAppendsTheHead) {
    FixtureServer server;
    server.AddScript().Send("HTTP/1.1 404 Not Found\r\n\r\nbody").Close();
    server.Start();
    auto socket = NewSocket(5);
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port()));
    CByteBuffer buffer;
    buffer.AppendString("x");
    EXPECT_EQ(socket->ReceiveBlock(&buffer), 26);
    EXPECT_EQ(std::string(buffer.GetString()), "xHTTP/1.1 404 Not Found\r\n\r\n");
}

TEST(QmSocket, SilentServerTimesOut) {
    FixtureServer server;
    server.AddScript().Silence(5000);
    server.Start();
    auto socket = NewSocket(1);
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port()));
    char buffer[64];
    auto start = Clock::now();
    EXPECT_EQ(socket->ReadHeader(buffer, sizeof buffer), -1);
    EXPECT_EQ(socket->ReadLine(buffer, sizeof buffer), -1);
    EXPECT_FALSE(socket->ReceiveExact(buffer, 4));
    EXPECT_EQ(socket->ReceiveSome(buffer, 4), 0);
    const double took = SecondsSince(start);
    EXPECT_GE(took, 3.5);
    EXPECT_LT(took, 4.9);
}

TEST(QmSocket, ReadLineCountsBytesBeforeTheLineFeed) {
    struct Case {
        const char* name;
        std::string sent;
        int size;
        int result;
        std::string line;
    };
    const std::vector<Case> cases = {
        {"chunk end", "0\r\n", 256, 2, "0\r\n"},
        {"two letters", "AB\r\nCD\r\n", 256, 3, "AB\r\n"},
        {"lf without cr goes on", "A\nB\r\n", 256, 4, "A\nB\r\n"},
        {"closed after cr", "0\r", 256, 0, "0\r"},
        {"closed mid line", "12", 256, 0, "12"},
        {"longer than the buffer", std::string(40, '7') + "\r\n", 16, CQmSocket::kLineTooLong,
         std::string(15, '7')},
    };
    for (const auto& c : cases) {
        FixtureServer server;
        server.AddScript().Send(c.sent).Close();
        server.Start();
        auto socket = NewSocket(5);
        ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port())) << c.name;
        std::vector<char> line(size_t(c.size) + 8, '#');
        EXPECT_EQ(socket->ReadLine(line.data(), c.size), c.result) << c.name;
        EXPECT_EQ(std::string(line.data()), c.line) << c.name;
        EXPECT_EQ(line[size_t(c.size)], '#') << c.name;
    }
}

TEST(QmSocket, ReceiveExactGetsEveryByteOrFails) {
    const std::string data = FixtureServer::Pattern(300000);
    {
        FixtureServer server;
        server.AddScript().Send(data.substr(0, 1000)).Pause(300).Send(data.substr(1000)).Close();
        server.Start();
        auto socket = NewSocket(5);
        ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port()));
        std::string got(data.size(), '\0');
        EXPECT_TRUE(socket->ReceiveExact(&got[0], int32_t(got.size())));
        EXPECT_TRUE(got == data);
        EXPECT_TRUE(socket->ReceiveExact(&got[0], 0));
        EXPECT_FALSE(socket->ReceiveExact(&got[0], 1)) << "the server has closed";
    }
    {
        FixtureServer server;
        server.AddScript().Send(data.substr(0, 10)).Close();
        server.Start();
        auto socket = NewSocket(5);
        ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port()));
        char got[11];
        EXPECT_FALSE(socket->ReceiveExact(got, 11));
    }
}

TEST(QmSocket, TimeOutCountsPerWaitNotPerOperation) {
    FixtureServer server;
    auto& script = server.AddScript();
    for (int i = 0; i < 5; ++i) script.Pause(500).Send("abcd");
    script.Close();
    server.Start();
    auto socket = NewSocket(1);
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port()));
    char got[20];
    auto start = Clock::now();
    EXPECT_TRUE(socket->ReceiveExact(got, 20));
    EXPECT_GE(SecondsSince(start), 2.0);
}

TEST(QmSocket, ReceiveSomeReturnsWhatIsThere) {
    FixtureServer server;
    server.AddScript().Send("hello").Pause(200).Close();
    server.Start();
    auto socket = NewSocket(5);
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port()));
    char got[64];
    EXPECT_EQ(socket->ReceiveSome(got, sizeof got), 5);
    EXPECT_EQ(std::string(got, 5), "hello");
    EXPECT_EQ(socket->ReceiveSome(got, sizeof got), 0) << "closed";
}

TEST(QmSocket, RefusedConnectionFailsAtOnce) {
    int port;
    {
        FixtureServer closed;  // a free port that nobody listens on once this ends
        port = closed.Port();
    }
    auto socket = NewSocket(20);
    auto start = Clock::now();
    EXPECT_FALSE(socket->Connect("127.0.0.1", port));
    EXPECT_LT(SecondsSince(start), 5.0);
    EXPECT_FALSE(socket->Connect("no-such-host.invalid", 80));
    EXPECT_FALSE(socket->SendAll("x", 1));
}

TEST(QmSocket, SendAllDeliversAndReconnectStartsAfresh) {
    FixtureServer server;
    server.AddScript().Expect("first").Close();
    server.AddScript().Expect("second").Close();
    server.Start();
    auto socket = NewSocket(5);
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port()));
    EXPECT_TRUE(socket->SendAll("first", 5));
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port()));
    EXPECT_TRUE(socket->SendAll("second", 6));
    socket->Close();
    ASSERT_TRUE(server.WaitFinished(2, 5000));
    EXPECT_EQ(server.Received(0), "first");
    EXPECT_EQ(server.Received(1), "second");
    EXPECT_TRUE(server.Errors().empty());
}

TEST(QmSocket, SendingToAPeerThatWentAwayFailsWithoutKillingUs) {
    FixtureServer server;
    // The peer goes away once it has heard from us: aborted before the connection is complete,
    // it would fail the connect (Wine reports the reset there), not the sends.
    server.AddScript().Expect("hello").Abort();
    server.Start();
    auto socket = NewSocket(2);
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port()));
    ASSERT_TRUE(socket->SendAll("hello", 5));
    ASSERT_TRUE(server.WaitFinished(1, 5000));
    const std::string block(65536, 'z');
    bool failed = false;
    for (int i = 0; i < 200 && !failed; ++i) failed = !socket->SendAll(block.data(), int32_t(block.size()));
    EXPECT_TRUE(failed);
}

TEST(QmSocket, GetSockNameGivesTheLocalEnd) {
    FixtureServer server;
    server.AddScript().Silence(2000);
    server.Start();
    auto socket = NewSocket(5);
    char address[16] = "";
    int32_t port = 0;
    EXPECT_FALSE(socket->GetSockName(address, &port));
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port()));
    EXPECT_TRUE(socket->GetSockName(address, &port));
    EXPECT_STREQ(address, "127.0.0.1");
    EXPECT_GT(port, 0);
    EXPECT_NE(port, server.Port());
}

}  // namespace
