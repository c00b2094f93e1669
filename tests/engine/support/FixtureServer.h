// A scripted TCP server on 127.0.0.1 (or another loopback address) and a free port, for protocol
// tests. Each accepted connection plays the next script: wait for what the client sends, reply
// byte for byte, pause, fall silent, close in order or with a reset. Everything each client sent
// is recorded. Every wait is bounded, so a test that goes wrong ends instead of hanging.
//
//   FixtureServer server;
//   server.AddScript().ExpectHead().Send("HTTP/1.1 200 OK\r\n\r\nhello").Close();
//   server.Start();
//   ... client connects to server.Port() ...
//   EXPECT_NE(server.Received(0).find("GET / "), std::string::npos);
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sys/Socket.h"

class FixtureServer {
public:
    // What a Call step may do with its connection.
    class Session {
    public:
        // Everything the client sent on this connection so far.
        std::string Received() const;
        bool Send(const std::string& bytes);
        // Waits until the client has sent text (after the previous expectation); false on time-out.
        bool Expect(const std::string& text, int timeoutMs);
        // Opens a connection to host:port (an active-mode data connection, say).
        bool ConnectTo(const std::string& host, int port, sys::TcpSocket& out, int timeoutMs);
        bool Stopping() const;

    private:
        friend class FixtureServer;
        Session(FixtureServer& server, size_t index, sys::TcpSocket& socket)
            : server_(server), index_(index), socket_(socket) {}
        bool ReadSome(int timeoutMs);  // false: closed, failed or nothing within the time
        FixtureServer& server_;
        size_t index_;
        sys::TcpSocket& socket_;
        size_t matched_ = 0;  // where the next expectation starts
        bool peerClosed_ = false;
    };

    class Script {
    public:
        // Waits until the client sent text; a missed expectation ends the connection, noted in Errors().
        Script& Expect(const std::string& text);
        // Waits for a request head (through its blank line).
        Script& ExpectHead() { return Expect("\r\n\r\n"); }
        Script& Send(const std::string& bytes);
        // Sends count bytes of the repeating pattern PatternByte(offset), offset from `first` on.
        Script& SendPattern(uint64_t count, uint64_t first = 0);
        Script& Pause(int ms);
        // Sends nothing for ms (reading and recording what the client sends) or until it closes.
        Script& Silence(int ms);
        // Orderly close: our side ends, then the client's bytes are read until it closes too.
        Script& Close();
        // Closes at once with a reset.
        Script& Abort();
        // Runs any code on the connection (for protocols that need it).
        Script& Call(std::function<void(Session&)> step);

    private:
        friend class FixtureServer;
        struct Step {
            enum Kind { kExpect, kSend, kPattern, kPause, kSilence, kClose, kAbort, kCall } kind;
            explicit Step(Kind k) : kind(k) {}
            std::string text;
            uint64_t count = 0, first = 0;
            int ms = 0;
            std::function<void(Session&)> call;
        };
        std::vector<Step> steps_;
    };

    static uint8_t PatternByte(uint64_t offset) {
        return static_cast<uint8_t>((offset * 131 + (offset >> 16) * 7 + 13) & 0xFF);
    }
    static std::string Pattern(uint64_t count, uint64_t first = 0);

    FixtureServer() : FixtureServer("127.0.0.1") {}
    // On another loopback address (127.x.y.z): a second host for the tests that need one.
    explicit FixtureServer(const std::string& address);
    ~FixtureServer();
    FixtureServer(const FixtureServer&) = delete;
    FixtureServer& operator=(const FixtureServer&) = delete;

    // The script of the next connection (in the order clients connect).
    Script& AddScript();
    // Connections beyond the scripts play the last script again (otherwise they are closed at once).
    void RepeatLastScript() { repeatLast_ = true; }
    // Time limit of each expectation; 10 s unless set.
    void SetExpectTimeOut(int ms) { expectTimeOutMs_ = ms; }

    // Starts accepting; add scripts before.
    void Start();
    // Stops accepting and ends every connection; called by the destructor.
    void Stop();

    bool Listening() const { return listener_.IsOpen(); }
    int Port() const { return port_; }
    // "http://<address>:<port>" followed by path.
    std::string Url(const std::string& path, const std::string& scheme = "http") const;

    int Connections() const;
    // Waits up to ms until count connections have played their scripts to the end.
    bool WaitFinished(int count, int ms) const;
    // What the client sent on connection i (0-based), empty for one that never came.
    std::string Received(size_t i) const;
    // Expectations that were not met, one text each.
    std::vector<std::string> Errors() const;

private:
    void AcceptLoop();
    void Serve(size_t index, sys::TcpSocket socket);
    void Record(size_t index, const char* bytes, size_t count);
    void Note(const std::string& error);

    sys::TcpListener listener_;
    std::string address_;
    int port_ = 0;
    std::vector<Script> scripts_;
    bool repeatLast_ = false;
    int expectTimeOutMs_ = 10000;
    std::atomic<bool> stopping_{false};
    std::thread acceptor_;
    std::vector<std::thread> sessions_;
    mutable std::mutex lock_;
    std::vector<std::string> received_;
    std::vector<std::string> errors_;
    int finished_ = 0;
    int connections_ = 0;
};
