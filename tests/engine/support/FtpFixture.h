// A scripted FTP server on 127.0.0.1 and a free port for the replies and faults a real server will
// not give on demand. It answers one control connection at a time from a table of replies by
// command, connects back to the address PORT named to send the file (active mode), and records
// every command line. Every wait is bounded and ends when the fixture stops.
//
//   FtpFixture server;
//   server.SetFile("hello");
//   server.SetReply("SIZE", "550 No such file");
//   server.Start();
//   ... client logs in on server.Port() ...
//   EXPECT_EQ(server.Commands()[0], "USER anonymous");
#pragma once
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "LoopbackListener.h"
#include "sys/Socket.h"

class FtpFixture {
public:
    // What RETR does with the data connection after its preliminary reply.
    enum class Data {
        Send,     // connects, sends the file, closes, then replies 226
        Never,    // never connects, says nothing more
        Short,    // connects, sends the first `count` bytes, closes, then replies 226 all the same
        Reset,    // connects, sends the first `count` bytes, closes with a reset, replies 226
        Stall,    // connects, sends the first `count` bytes, then holds the connection silent
    };

    FtpFixture();
    ~FtpFixture();
    FtpFixture(const FtpFixture&) = delete;
    FtpFixture& operator=(const FtpFixture&) = delete;

    // The reply lines (without the final CR LF) to a command verb in place of the default; an empty
    // reply means the server falls silent at that command, kHangUp that it closes the connection.
    static constexpr const char* kHangUp = "\x01hang up";
    void SetReply(const std::string& verb, const std::string& reply);
    void SetGreeting(const std::string& reply) { greeting_ = reply; }
    // The file SIZE reports and RETR sends.
    void SetFile(const std::string& bytes) { file_ = bytes; }
    void SetData(Data mode, size_t count = 0) {
        data_ = mode;
        count_ = count;
    }

    void Start();
    void Stop();
    int Port() const { return listener_.Port(); }

    // Every command line received, in order, without its CR LF.
    std::vector<std::string> Commands() const;
    // Waits up to ms until a client connection has ended.
    bool WaitSessionEnd(int ms) const;

private:
    void Serve(sys::TcpSocket& control);
    bool SendLine(sys::TcpSocket& socket, const std::string& text);
    bool SendAll(sys::TcpSocket& socket, const char* bytes, size_t count);
    // One command line; false when the client closed or the fixture stops.
    bool ReadLine(sys::TcpSocket& socket, std::string& buffer, std::string& line);
    void Transfer(sys::TcpSocket& control, const std::string& host, int port);
    void HoldUntilClosed(sys::TcpSocket& socket);

    LoopbackListener listener_;
    std::string greeting_ = "220 fixture ready";
    std::map<std::string, std::string> replies_;
    std::string file_;
    Data data_ = Data::Send;
    size_t count_ = 0;
    mutable std::mutex lock_;
    std::vector<std::string> commands_;
};
