#include "sys/Socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace sys {

namespace {

int Fd(intptr_t handle) { return static_cast<int>(handle); }

bool MakeNonBlocking(int fd) {
    int flags = fcntl(fd, F_GETFL, 0);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

bool Resolve(const std::string& host, int port, sockaddr_in& out) {
    std::memset(&out, 0, sizeof out);
    out.sin_family = AF_INET;
    out.sin_port = htons(static_cast<uint16_t>(port));
    if (inet_pton(AF_INET, host.c_str(), &out.sin_addr) == 1) return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
    out.sin_addr = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

bool AddressOf(const sockaddr_in& address, std::string& text, int& port) {
    char buffer[INET_ADDRSTRLEN] = {};
    if (!inet_ntop(AF_INET, &address.sin_addr, buffer, sizeof buffer)) return false;
    text = buffer;
    port = ntohs(address.sin_port);
    return true;
}

// poll that resumes after signals with the time that is left.
WaitResult PollOne(int fd, short events, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        pollfd entry{fd, events, 0};
        int left = -1;
        if (timeoutMs >= 0) {
            auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            left = ms.count() < 0 ? 0 : static_cast<int>(ms.count());
        }
        int n = poll(&entry, 1, left);
        if (n > 0) return WaitResult::Ready;  // errors and hang-ups count as ready: the call tells
        if (n == 0) return WaitResult::TimedOut;
        if (errno != EINTR) return WaitResult::Failed;
    }
}

}  // namespace

bool LookupIPv4(const std::string& host, std::string& address) {
    SocketStartup();
    sockaddr_in found;
    int port = 0;
    return Resolve(host, 0, found) && AddressOf(found, address, port);
}

bool SocketStartup() { return true; }

TcpSocket::~TcpSocket() { Close(); }

TcpSocket::TcpSocket(TcpSocket&& other) noexcept : handle_(other.handle_) { other.handle_ = kInvalid; }

TcpSocket& TcpSocket::operator=(TcpSocket&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        other.handle_ = kInvalid;
    }
    return *this;
}

bool TcpSocket::StartConnect(const std::string& host, int port) {
    Close();
    if (port < 0 || port > 65535) return false;
    sockaddr_in address;
    if (!Resolve(host, port, address)) return false;
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    if (!MakeNonBlocking(fd)) {
        ::close(fd);
        return false;
    }
    handle_ = fd;
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    // EINPROGRESS is the normal answer; an immediate refusal also shows in ConnectSucceeded.
    (void)::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    return true;
}

bool TcpSocket::ConnectSucceeded() {
    if (!IsOpen()) return false;
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(Fd(handle_), SOL_SOCKET, SO_ERROR, &error, &length) != 0) return false;
    if (error != 0) return false;
    sockaddr_in peer;
    socklen_t peerLength = sizeof peer;
    return getpeername(Fd(handle_), reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0;
}

WaitResult TcpSocket::Wait(int mode, int timeoutMs) {
    if (!IsOpen() || (mode != 0 && mode != 1)) return WaitResult::Failed;
    return PollOne(Fd(handle_), mode == 0 ? POLLIN : POLLOUT, timeoutMs);
}

int TcpSocket::Receive(void* bytes, int count) {
    if (!IsOpen() || count < 0) return kError;
    for (;;) {
        ssize_t n = ::recv(Fd(handle_), bytes, static_cast<size_t>(count), 0);
        if (n >= 0) return static_cast<int>(n);
        if (errno == EINTR) continue;
        return (errno == EAGAIN || errno == EWOULDBLOCK) ? kWouldBlock : kError;
    }
}

int TcpSocket::Send(const void* bytes, int count) {
    if (!IsOpen() || count < 0) return kError;
    for (;;) {
        ssize_t n = ::send(Fd(handle_), bytes, static_cast<size_t>(count), MSG_NOSIGNAL);
        if (n >= 0) return static_cast<int>(n);
        if (errno == EINTR) continue;
        return (errno == EAGAIN || errno == EWOULDBLOCK) ? kWouldBlock : kError;
    }
}

bool TcpSocket::LocalAddress(std::string& address, int& port) const {
    if (!IsOpen()) return false;
    sockaddr_in local;
    socklen_t length = sizeof local;
    if (getsockname(Fd(handle_), reinterpret_cast<sockaddr*>(&local), &length) != 0) return false;
    return AddressOf(local, address, port);
}

bool TcpSocket::PeerAddress(std::string& address, int& port) const {
    if (!IsOpen()) return false;
    sockaddr_in peer;
    socklen_t length = sizeof peer;
    if (getpeername(Fd(handle_), reinterpret_cast<sockaddr*>(&peer), &length) != 0) return false;
    return AddressOf(peer, address, port);
}

void TcpSocket::ShutdownSend() {
    if (IsOpen()) ::shutdown(Fd(handle_), SHUT_WR);
}

void TcpSocket::Abort() {
    if (!IsOpen()) return;
    linger hard{1, 0};
    setsockopt(Fd(handle_), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    Close();
}

void TcpSocket::Close() {
    if (!IsOpen()) return;
    ::close(Fd(handle_));
    handle_ = kInvalid;
}

TcpListener::~TcpListener() { Close(); }

bool TcpListener::Listen(const std::string& address, int port, int backlog) {
    Close();
    sockaddr_in local;
    if (!Resolve(address, port, local)) return false;
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 || ::listen(fd, backlog) != 0 ||
        !MakeNonBlocking(fd)) {
        ::close(fd);
        return false;
    }
    socklen_t length = sizeof local;
    getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
    port_ = ntohs(local.sin_port);
    handle_ = fd;
    return true;
}

bool TcpListener::Accept(TcpSocket& out, int timeoutMs) {
    if (!IsOpen()) return false;
    if (PollOne(Fd(handle_), POLLIN, timeoutMs) != WaitResult::Ready) return false;
    int fd = ::accept4(Fd(handle_), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return false;
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    out.Close();
    out.handle_ = fd;
    return true;
}

void TcpListener::Close() {
    if (handle_ == TcpSocket::kInvalid) return;
    ::close(Fd(handle_));
    handle_ = TcpSocket::kInvalid;
    port_ = 0;
}

}  // namespace sys
