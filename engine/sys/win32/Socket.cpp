#include "sys/Socket.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstring>
#include <mutex>

namespace sys {

namespace {

SOCKET Sock(intptr_t handle) { return static_cast<SOCKET>(handle); }

bool MakeNonBlocking(SOCKET s) {
    u_long on = 1;
    return ioctlsocket(s, FIONBIO, &on) == 0;
}

bool Resolve(const std::string& host, int port, sockaddr_in& out) {
    std::memset(&out, 0, sizeof out);
    out.sin_family = AF_INET;
    out.sin_port = htons(static_cast<u_short>(port));
    unsigned long literal = inet_addr(host.c_str());
    if (literal != INADDR_NONE || host == "255.255.255.255") {
        out.sin_addr.s_addr = literal;
        return true;
    }
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
    const char* dotted = inet_ntoa(address.sin_addr);
    if (!dotted) return false;
    text = dotted;
    port = ntohs(address.sin_port);
    return true;
}

// One select on one socket; a failed connect shows in the exception set, so that counts as
// ready for writing and ConnectSucceeded tells the outcome.
WaitResult SelectOne(SOCKET s, int mode, int timeoutMs) {
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

}  // namespace

bool LookupIPv4(const std::string& host, std::string& address) {
    SocketStartup();
    sockaddr_in found;
    int port = 0;
    return Resolve(host, 0, found) && AddressOf(found, address, port);
}

bool SocketStartup() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] {
        WSADATA data;
        ready = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    });
    return ready;
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
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return false;
    if (!MakeNonBlocking(s)) {
        closesocket(s);
        return false;
    }
    handle_ = static_cast<intptr_t>(s);
    BOOL one = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
    // WSAEWOULDBLOCK is the normal answer; the outcome shows in ConnectSucceeded.
    (void)::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    return true;
}

bool TcpSocket::ConnectSucceeded() {
    if (!IsOpen()) return false;
    int error = 0;
    int length = sizeof error;
    if (getsockopt(Sock(handle_), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0) {
        return false;
    }
    if (error != 0) return false;
    sockaddr_in peer;
    int peerLength = sizeof peer;
    return getpeername(Sock(handle_), reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0;
}

WaitResult TcpSocket::Wait(int mode, int timeoutMs) {
    if (!IsOpen() || (mode != 0 && mode != 1)) return WaitResult::Failed;
    return SelectOne(Sock(handle_), mode, timeoutMs);
}

int TcpSocket::Receive(void* bytes, int count) {
    if (!IsOpen() || count < 0) return kError;
    int n = ::recv(Sock(handle_), static_cast<char*>(bytes), count, 0);
    if (n >= 0) return n;
    return WSAGetLastError() == WSAEWOULDBLOCK ? kWouldBlock : kError;
}

int TcpSocket::Send(const void* bytes, int count) {
    if (!IsOpen() || count < 0) return kError;
    int n = ::send(Sock(handle_), static_cast<const char*>(bytes), count, 0);
    if (n >= 0) return n;
    return WSAGetLastError() == WSAEWOULDBLOCK ? kWouldBlock : kError;
}

bool TcpSocket::LocalAddress(std::string& address, int& port) const {
    if (!IsOpen()) return false;
    sockaddr_in local;
    int length = sizeof local;
    if (getsockname(Sock(handle_), reinterpret_cast<sockaddr*>(&local), &length) != 0) return false;
    return AddressOf(local, address, port);
}

bool TcpSocket::PeerAddress(std::string& address, int& port) const {
    if (!IsOpen()) return false;
    sockaddr_in peer;
    int length = sizeof peer;
    if (getpeername(Sock(handle_), reinterpret_cast<sockaddr*>(&peer), &length) != 0) return false;
    return AddressOf(peer, address, port);
}

void TcpSocket::ShutdownSend() {
    if (IsOpen()) ::shutdown(Sock(handle_), SD_SEND);
}

void TcpSocket::Abort() {
    if (!IsOpen()) return;
    linger hard{1, 0};
    setsockopt(Sock(handle_), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
    Close();
}

void TcpSocket::Close() {
    if (!IsOpen()) return;
    closesocket(Sock(handle_));
    handle_ = kInvalid;
}

TcpListener::~TcpListener() { Close(); }

bool TcpListener::Listen(const std::string& address, int port, int backlog) {
    Close();
    SocketStartup();
    sockaddr_in local;
    if (!Resolve(address, port, local)) return false;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return false;
    if (::bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 || ::listen(s, backlog) != 0 ||
        !MakeNonBlocking(s)) {
        closesocket(s);
        return false;
    }
    int length = sizeof local;
    getsockname(s, reinterpret_cast<sockaddr*>(&local), &length);
    port_ = ntohs(local.sin_port);
    handle_ = static_cast<intptr_t>(s);
    return true;
}

bool TcpListener::Accept(TcpSocket& out, int timeoutMs) {
    if (!IsOpen()) return false;
    if (SelectOne(Sock(handle_), 0, timeoutMs) != WaitResult::Ready) return false;
    SOCKET s = ::accept(Sock(handle_), nullptr, nullptr);
    if (s == INVALID_SOCKET) return false;
    if (!MakeNonBlocking(s)) {
        closesocket(s);
        return false;
    }
    BOOL one = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
    out.Close();
    out.handle_ = static_cast<intptr_t>(s);
    return true;
}

void TcpListener::Close() {
    if (handle_ == TcpSocket::kInvalid) return;
    closesocket(Sock(handle_));
    handle_ = TcpSocket::kInvalid;
    port_ = 0;
}

}  // namespace sys
