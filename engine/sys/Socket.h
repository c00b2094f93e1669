// TCP sockets for the engine and its test servers: IPv4, non-blocking underneath, with explicit
// readiness waits so that no caller can hang on a silent peer. Sending never raises SIGPIPE.
#pragma once
#include <cstdint>
#include <string>

namespace sys {

// Starts the platform's socket library once per process; later calls only report the result.
bool SocketStartup();

enum class WaitResult { Ready, TimedOut, Failed };

// The platform's lookup of an IPv4 address for host, as dotted text; it may block for as long as
// the resolver takes (callers that must not hang go through LookUpHost).
bool LookupIPv4(const std::string& host, std::string& address);

class TcpSocket {
public:
    // Receive and Send results besides a byte count (Receive gives 0 when the peer closed).
    static constexpr int kWouldBlock = -2;
    static constexpr int kError = -1;
    static constexpr int kWaitForever = -1;

    TcpSocket() = default;
    ~TcpSocket();
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;
    TcpSocket(TcpSocket&& other) noexcept;
    TcpSocket& operator=(TcpSocket&& other) noexcept;

    bool IsOpen() const { return handle_ != kInvalid; }

    // Resolves host (IPv4), creates a non-blocking socket and starts connecting. False when the
    // name does not resolve or the socket cannot be made; a refusal shows later in ConnectSucceeded.
    bool StartConnect(const std::string& host, int port);
    // After the socket turned writable: whether the connection was made (the socket's error is 0).
    bool ConnectSucceeded();

    // mode 0: until readable (or closed); mode 1: until writable (or the connect failed).
    // timeoutMs < 0 waits without limit.
    WaitResult Wait(int mode, int timeoutMs);

    // One non-blocking call each.
    int Receive(void* bytes, int count);
    int Send(const void* bytes, int count);

    bool LocalAddress(std::string& address, int& port) const;
    bool PeerAddress(std::string& address, int& port) const;

    // Stops sending (the peer reads the end of the stream) but keeps receiving.
    void ShutdownSend();
    // Closes at once with a reset instead of an orderly end.
    void Abort();
    void Close();

private:
    friend class TcpListener;
    static constexpr intptr_t kInvalid = -1;
    intptr_t handle_ = kInvalid;
};

class TcpListener {
public:
    TcpListener() = default;
    ~TcpListener();
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;

    // Listens on address ("127.0.0.1", or "0.0.0.0" for any) and port; port 0 takes a free one.
    bool Listen(const std::string& address, int port, int backlog = 5);
    int Port() const { return port_; }
    bool IsOpen() const { return handle_ != TcpSocket::kInvalid; }

    // Waits up to timeoutMs (< 0: no limit) for a connection; the accepted socket is non-blocking.
    bool Accept(TcpSocket& out, int timeoutMs);
    void Close();

private:
    intptr_t handle_ = TcpSocket::kInvalid;
    int port_ = 0;
};

}  // namespace sys
