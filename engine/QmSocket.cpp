#include "QmSocket.h"

#include <chrono>
#include <cstring>
#include <vector>

#include "EngineSettings.h"
#include "Factories.h"
#include "NameLookup.h"
#include "sys/Socket.h"

CQmSocket::CQmSocket() = default;

CQmSocket::~CQmSocket() { Close(); }

bool CQmSocket::Init() {
    timeOut_ = kNoTimeOut;
    (void)sys::SocketStartup();
    Close();
    return true;
}

int CQmSocket::TimeOutMs() const {
    if (timeOut_ == kNoTimeOut) return sys::TcpSocket::kWaitForever;
    return TimeOutToMs(timeOut_);
}

bool CQmSocket::WaitReady(int mode) {
    if (!connection_) return false;
    if (mode != 0 && mode != 1) return false;
    const int ms = TimeOutMs();
    if (!stopCheck_) return connection_->Wait(mode, ms) == sys::WaitResult::Ready;
    // A server that trickles never lets a slice run out: ask at least once a slice anyway.
    const auto now = std::chrono::steady_clock::now();
    if (now - lastStopCheck_ >= std::chrono::milliseconds(kStopCheckMs)) {
        lastStopCheck_ = now;
        if (stopCheck_()) return false;
    }
    for (int left = ms;;) {
        const int slice = (left < 0 || left > kStopCheckMs) ? kStopCheckMs : left;
        const sys::WaitResult result = connection_->Wait(mode, slice);
        if (result != sys::WaitResult::TimedOut) return result == sys::WaitResult::Ready;
        if (left >= 0 && (left -= slice) <= 0) return false;
        if (stopCheck_()) return false;
    }
}

bool CQmSocket::Connect(const char* host, int32_t port) {
    Close();
    if (!host) return false;
    // A lookup that hangs must neither outlast the time-out nor keep a stopped run waiting.
    std::string address;
    if (LookUpHost(host, TimeOutMs(), stopCheck_, address) != LookupResult::Found) return false;
    auto socket = std::make_unique<sys::TcpSocket>();
    if (!socket->StartConnect(address, port)) return false;
    connection_ = std::move(socket);
    // A refused or failed connection also turns writable: the socket's error tells them apart.
    if (!WaitReady(1) || !connection_->ConnectSucceeded()) {
        Close();
        return false;
    }
    return true;
}

void CQmSocket::Close() { connection_.reset(); }

void CQmSocket::SetTimeOut(int32_t seconds) { timeOut_ = seconds; }

int CQmSocket::ReceiveByte(char* out) {
    for (;;) {
        int n = connection_->Receive(out, 1);
        if (n == 1) return 1;
        if (n != sys::TcpSocket::kWouldBlock) return 0;
        if (!WaitReady(0)) return -1;
    }
}

CQmSocket::ReadEnd CQmSocket::ReadUntil(char* out, int32_t size, bool (*ends)(const char*, int32_t),
                                         int32_t& count) {
    count = 0;
    out[0] = 0;
    if (!connection_ || !WaitReady(0)) return ReadEnd::kTimedOut;
    while (count < size - 1) {
        const int got = ReceiveByte(out + count);
        if (got <= 0) {
            out[count] = 0;
            return got < 0 ? ReadEnd::kTimedOut : ReadEnd::kClosed;
        }
        ++count;
        if (ends(out, count)) {
            out[count] = 0;
            return ReadEnd::kFound;
        }
    }
    out[count] = 0;
    return ReadEnd::kFull;
}

namespace {

bool EndsHead(const char* bytes, int32_t count) {
    return (count >= 2 && bytes[count - 1] == '\n' && bytes[count - 2] == '\n') ||
           (count >= 4 && std::memcmp(bytes + count - 4, "\r\n\r\n", 4) == 0);
}

bool EndsLine(const char* bytes, int32_t count) {
    return count >= 2 && bytes[count - 1] == '\n' && bytes[count - 2] == '\r';
}

}  // namespace

int32_t CQmSocket::ReadHeader(char* out, int32_t size) {
    if (!out || size <= 0) return -1;
    int32_t count = 0;
    // A head cut by the close or by the size of out is what came; its reader judges it.
    return ReadUntil(out, size, EndsHead, count) == ReadEnd::kTimedOut ? -1 : count;
}

int32_t CQmSocket::ReceiveBlock(CByteBuffer* buffer) {
    std::vector<char> scratch(kBlockSize, 0);
    int32_t n = ReadHeader(scratch.data(), kBlockSize);
    if (n > 0 && buffer) buffer->Append(scratch.data(), n);
    return n;
}

bool CQmSocket::ReceiveExact(void* bytes, int32_t count) {
    if (count <= 0) return count == 0;
    if (!connection_ || !bytes) return false;
    char* next = static_cast<char*>(bytes);
    int32_t left = count;
    // Reads what is already there first and waits only when nothing is: the same outcome as
    // waiting before each read, with one call less per piece.
    while (left > 0) {
        int n = connection_->Receive(next, left);
        if (n > 0) {
            next += n;
            left -= n;
        } else if (n == sys::TcpSocket::kWouldBlock) {
            if (!WaitReady(0)) return false;
        } else {
            return false;
        }
    }
    return true;
}

int32_t CQmSocket::ReceiveSome(void* bytes, int32_t count) {
    if (!connection_ || !bytes || count < 0) return -1;
    for (;;) {
        int n = connection_->Receive(bytes, count);
        if (n >= 0) return n;
        if (n != sys::TcpSocket::kWouldBlock) return -1;
        if (!WaitReady(0)) return 0;
    }
}

int32_t CQmSocket::ReadLine(char* out, int32_t size) {
    if (!out || size <= 0) return -1;
    int32_t count = 0;
    switch (ReadUntil(out, size, EndsLine, count)) {
        case ReadEnd::kFound: return count - 1;
        case ReadEnd::kClosed: return 0;  // a line the close cut is no line
        case ReadEnd::kTimedOut: return -1;
        case ReadEnd::kFull: break;
    }
    return kLineTooLong;
}

bool CQmSocket::SendAll(const void* bytes, int32_t count) {
    if (count <= 0) return count == 0;
    if (!connection_ || !bytes) return false;
    const char* next = static_cast<const char*>(bytes);
    int32_t left = count;
    while (left > 0) {
        if (!WaitReady(1)) return false;
        int n = connection_->Send(next, left);
        if (n > 0) {
            next += n;
            left -= n;
        } else if (n != sys::TcpSocket::kWouldBlock) {
            return false;
        }
    }
    return true;
}

bool CQmSocket::GetSockName(char* address, int32_t* port) {
    if (!connection_) return false;
    std::string text;
    int number = 0;
    if (!connection_->LocalAddress(text, number)) return false;
    if (address) {
        std::strncpy(address, text.c_str(), 15);
        address[15] = 0;
    }
    if (port) *port = number;
    return true;
}

int32_t CQmSocket::ReceiveAvailable(void* bytes, int32_t count) {
    if (!connection_ || !bytes || count <= 0) return kFailed;
    for (;;) {
        int n = connection_->Receive(bytes, count);
        if (n >= 0) return n;
        if (n != sys::TcpSocket::kWouldBlock) return kFailed;
        if (!WaitReady(0)) return kTimedOut;
    }
}

FK_DEFINE_FACTORIES(CQMSOCKET, CQmSocket)
