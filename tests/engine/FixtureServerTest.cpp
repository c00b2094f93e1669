// The scripted test server itself: missed expectations are reported, and a scripted step can open
// a connection back to the client (as an active-mode data connection does).
#include <gtest/gtest.h>

#include <string>

#include "FixtureServer.h"
#include "sys/Socket.h"

namespace {

bool SendText(sys::TcpSocket& s, const std::string& text) {
    return s.Wait(1, 2000) == sys::WaitResult::Ready && s.Send(text.data(), int(text.size())) == int(text.size());
}

std::string ReceiveUntilClosed(sys::TcpSocket& s) {
    std::string got;
    char buffer[256];
    while (s.Wait(0, 5000) == sys::WaitResult::Ready) {
        int n = s.Receive(buffer, sizeof buffer);
        if (n <= 0) break;
        got.append(buffer, size_t(n));
    }
    return got;
}

TEST(FixtureServer, MissedExpectationIsReportedAndEndsTheConnection) {
    FixtureServer server;
    server.SetExpectTimeOut(300);
    server.AddScript().Expect("HELLO").Send("never sent");
    server.Start();
    sys::TcpSocket client;
    ASSERT_TRUE(client.StartConnect("127.0.0.1", server.Port()));
    ASSERT_EQ(client.Wait(1, 2000), sys::WaitResult::Ready);
    ASSERT_TRUE(SendText(client, "BYE"));
    EXPECT_EQ(ReceiveUntilClosed(client), "");
    client.Close();
    ASSERT_TRUE(server.WaitFinished(1, 5000));
    ASSERT_EQ(server.Errors().size(), 1u);
    EXPECT_NE(server.Errors()[0].find("HELLO"), std::string::npos);
    EXPECT_EQ(server.Received(0), "BYE");
}

TEST(FixtureServer, StepConnectsBackToTheClient) {
    sys::TcpListener data;
    ASSERT_TRUE(data.Listen("127.0.0.1", 0));
    FixtureServer server;
    server.AddScript().Expect("\r\n").Call([](FixtureServer::Session& session) {
        const std::string got = session.Received();
        const int port = std::stoi(got.substr(got.find(' ') + 1));
        sys::TcpSocket back;
        if (session.ConnectTo("127.0.0.1", port, back, 2000)) {
            const std::string text = "data over the second connection";
            back.Send(text.data(), int(text.size()));
            back.ShutdownSend();
        }
        session.Send("226 done\r\n");
    });
    server.AddScript().Close();
    server.Start();

    sys::TcpSocket control;
    ASSERT_TRUE(control.StartConnect("127.0.0.1", server.Port()));
    ASSERT_EQ(control.Wait(1, 2000), sys::WaitResult::Ready);
    ASSERT_TRUE(SendText(control, "PORT " + std::to_string(data.Port()) + "\r\n"));
    sys::TcpSocket accepted;
    ASSERT_TRUE(data.Accept(accepted, 5000));
    EXPECT_EQ(ReceiveUntilClosed(accepted), "data over the second connection");
    EXPECT_EQ(ReceiveUntilClosed(control), "226 done\r\n");
    EXPECT_TRUE(server.Errors().empty());
}

}  // namespace
