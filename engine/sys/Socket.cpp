// One socket layer for both builds: the few places where Winsock and POSIX differ are the small
// helpers at the top; everything below them is written once.
#include "sys/Socket.h"

#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>

#include <mutex>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#endif

#include <cstring>

namespace sys {

namespace {

#if defined(_WIN32)

using Native = SOCKET;
using AddressLength = int;
constexpr Native kNoSocket = INVALID_SOCKET;
constexpr int kShutdownSend = SD_SEND;

// Winsock takes no handle from the process's file table: nothing leaks into child processes.
Native NewTcpSocket() { return socket(AF_INET, SOCK_STREAM, IPPROTO_TCP); }

void CloseNative(Native s) { closesocket(s); }

bool MakeNonBlocking(Native s) {
    u_long on = 1;
    return ioctlsocket(s, FIONBIO, &on) == 0;
}

Native AcceptNonBlocking(Native listener) {
    Native s = ::accept(listener, nullptr, nullptr);
    if (s != kNoSocket && !MakeNonBlocking(s)) {
        CloseNative(s);
        return kNoSocket;
    }
    return s;
}

// Windows' SO_REUSEADDR would let another process take the port over: left unset.
void AllowQuickRebind(Native) {}

bool ParseDotted(const std::string& host, in_addr& out) {
    const unsigned long literal = inet_addr(host.c_str());
    if (literal == INADDR_NONE && host != "255.255.255.255") return false;
    out.s_addr = literal;
    return true;
}

bool DottedText(const in_addr& address, std::string& text) {
    const char* dotted = inet_ntoa(address);
    if (!dotted) return false;
    text = dotted;
    return true;
}

int ReceiveNative(Native s, void* bytes, int count) { return ::recv(s, static_cast<char*>(bytes), count, 0); }

int SendNative(Native s, const void* bytes, int count) {
    return ::send(s, static_cast<const char*>(bytes), count, 0);
}

// Winsock calls are not interrupted by signals.
bool Interrupted() { return false; }
bool WouldBlock() { return WSAGetLastError() == WSAEWOULDBLOCK; }

// One select on one socket; a failed connect shows in the exception set, so that counts as
// ready for writing and ConnectSucceeded tells the outcome.
WaitResult WaitOne(Native s, int mode, int timeoutMs) {
    fd_set readSet, writeSet, errorSet;
    FD_ZERO(&readSet);
    FD_ZERO(&writeSet);
    FD_ZERO(&errorSet);
    if (mode == 0) {
        FD_SET(s, &readSet);
    } else {
        FD_SET(s, &writeSet);
        FD_SET(s, &errorSet);
    }
    timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    int n = select(0, &readSet, &writeSet, &errorSet, timeoutMs < 0 ? nullptr : &limit);
    if (n > 0) return WaitResult::Ready;
    if (n == 0) return WaitResult::TimedOut;
    return WaitResult::Failed;
}

#else

using Native = int;
using AddressLength = socklen_t;
constexpr Native kNoSocket = -1;
constexpr int kShutdownSend = SHUT_WR;

Native NewTcpSocket() { return socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0); }

void CloseNative(Native fd) { ::close(fd); }

bool MakeNonBlocking(Native fd) {
    int flags = fcntl(fd, F_GETFL, 0);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

Native AcceptNonBlocking(Native listener) { return ::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC); }

// A test server's port is free again at once after it closed.
void AllowQuickRebind(Native fd) {
    int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
}

bool ParseDotted(const std::string& host, in_addr& out) { return inet_pton(AF_INET, host.c_str(), &out) == 1; }

bool DottedText(const in_addr& address, std::string& text) {
    char buffer[INET_ADDRSTRLEN] = {};
    if (!inet_ntop(AF_INET, &address, buffer, sizeof buffer)) return false;
    text = buffer;
    return true;
}

int ReceiveNative(Native fd, void* bytes, int count) {
    return static_cast<int>(::recv(fd, bytes, static_cast<size_t>(count), 0));
}

// A peer that went away must not raise SIGPIPE.
int SendNative(Native fd, const void* bytes, int count) {
    return static_cast<int>(::send(fd, bytes, static_cast<size_t>(count), MSG_NOSIGNAL));
}

bool Interrupted() { return errno == EINTR; }
bool WouldBlock() { return errno == EAGAIN || errno == EWOULDBLOCK; }

// poll that resumes after signals with the time that is left.
WaitResult WaitOne(Native fd, int mode, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        pollfd entry{fd, static_cast<short>(mode == 0 ? POLLIN : POLLOUT), 0};
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

#endif

Native NativeOf(intptr_t handle) { return static_cast<Native>(handle); }

// Both builds take the option's value through a byte pointer.
template <class T>
void SetOption(Native s, int level, int name, const T& value) {
    setsockopt(s, level, name, reinterpret_cast<const char*>(&value), sizeof value);
}

void SetNoDelay(Native s) { SetOption(s, IPPROTO_TCP, TCP_NODELAY, int(1)); }

// A receive or send result: the byte count, or kWouldBlock / kError.
template <class Call>
int Retried(Call call) {
    for (;;) {
        const int n = call();
        if (n >= 0) return n;
        if (Interrupted()) continue;
        return WouldBlock() ? TcpSocket::kWouldBlock : TcpSocket::kError;
    }
}

bool Resolve(const std::string& host, int port, sockaddr_in& out) {
    std::memset(&out, 0, sizeof out);
    out.sin_family = AF_INET;
    out.sin_port = htons(static_cast<uint16_t>(port));
    if (ParseDotted(host, out.sin_addr)) return true;
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
    if (!DottedText(address.sin_addr, text)) return false;
    port = ntohs(address.sin_port);
    return true;
}

// getsockname or getpeername of an open socket, as dotted text and port.
template <class Query>
bool EndOf(Query query, intptr_t handle, std::string& address, int& port) {
    sockaddr_in end;
    AddressLength length = sizeof end;
    if (query(NativeOf(handle), reinterpret_cast<sockaddr*>(&end), &length) != 0) return false;
    return AddressOf(end, address, port);
}

}  // namespace

bool SocketStartup() {
#if defined(_WIN32)
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] {
        WSADATA data;
        ready = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    });
    return ready;
#else
    return true;
#endif
}

bool LookupIPv4(const std::string& host, std::string& address) {
    SocketStartup();
    sockaddr_in found;
    int port = 0;
    return Resolve(host, 0, found) && AddressOf(found, address, port);
}

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
    SocketStartup();
    if (port < 0 || port > 65535) return false;
    sockaddr_in address;
    if (!Resolve(host, port, address)) return false;
    const Native s = NewTcpSocket();
    if (s == kNoSocket) return false;
    if (!MakeNonBlocking(s)) {
        CloseNative(s);
        return false;
    }
    handle_ = static_cast<intptr_t>(s);
    SetNoDelay(s);
    // "Would block" / "in progress" is the normal answer; the outcome shows in ConnectSucceeded.
    (void)::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    return true;
}

bool TcpSocket::ConnectSucceeded() {
    if (!IsOpen()) return false;
    int error = 0;
    AddressLength length = sizeof error;
    if (getsockopt(NativeOf(handle_), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0) {
        return false;
    }
    if (error != 0) return false;
    sockaddr_in peer;
    AddressLength peerLength = sizeof peer;
    return getpeername(NativeOf(handle_), reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0;
}

WaitResult TcpSocket::Wait(int mode, int timeoutMs) {
    if (!IsOpen() || (mode != 0 && mode != 1)) return WaitResult::Failed;
    return WaitOne(NativeOf(handle_), mode, timeoutMs);
}

int TcpSocket::Receive(void* bytes, int count) {
    if (!IsOpen() || count < 0) return kError;
    return Retried([&] { return ReceiveNative(NativeOf(handle_), bytes, count); });
}

int TcpSocket::Send(const void* bytes, int count) {
    if (!IsOpen() || count < 0) return kError;
    return Retried([&] { return SendNative(NativeOf(handle_), bytes, count); });
}

bool TcpSocket::LocalAddress(std::string& address, int& port) const {
    return IsOpen() && EndOf(getsockname, handle_, address, port);
}

bool TcpSocket::PeerAddress(std::string& address, int& port) const {
    return IsOpen() && EndOf(getpeername, handle_, address, port);
}

void TcpSocket::ShutdownSend() {
    if (IsOpen()) ::shutdown(NativeOf(handle_), kShutdownSend);
}

void TcpSocket::Abort() {
    if (!IsOpen()) return;
    SetOption(NativeOf(handle_), SOL_SOCKET, SO_LINGER, linger{1, 0});
    Close();
}

void TcpSocket::Close() {
    if (!IsOpen()) return;
    CloseNative(NativeOf(handle_));
    handle_ = kInvalid;
}

TcpListener::~TcpListener() { Close(); }

bool TcpListener::Listen(const std::string& address, int port, int backlog) {
    Close();
    SocketStartup();
    sockaddr_in local;
    if (!Resolve(address, port, local)) return false;
    const Native s = NewTcpSocket();
    if (s == kNoSocket) return false;
    AllowQuickRebind(s);
    if (::bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 || ::listen(s, backlog) != 0 ||
        !MakeNonBlocking(s)) {
        CloseNative(s);
        return false;
    }
    AddressLength length = sizeof local;
    getsockname(s, reinterpret_cast<sockaddr*>(&local), &length);
    port_ = ntohs(local.sin_port);
    handle_ = static_cast<intptr_t>(s);
    return true;
}

bool TcpListener::Accept(TcpSocket& out, int timeoutMs) {
    if (!IsOpen()) return false;
    if (WaitOne(NativeOf(handle_), 0, timeoutMs) != WaitResult::Ready) return false;
    const Native s = AcceptNonBlocking(NativeOf(handle_));
    if (s == kNoSocket) return false;
    SetNoDelay(s);
    out.Close();
    out.handle_ = static_cast<intptr_t>(s);
    return true;
}

void TcpListener::Close() {
    if (handle_ == TcpSocket::kInvalid) return;
    CloseNative(NativeOf(handle_));
    handle_ = TcpSocket::kInvalid;
    port_ = 0;
}

}  // namespace sys
