#include "FtpFixture.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

constexpr int kSliceMs = 50;
// No script step waits longer than this for the client.
constexpr int kLimitMs = 20000;

std::string Verb(const std::string& line) {
    std::string verb = line.substr(0, line.find(' '));
    for (char& c : verb) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return verb;
}

}  // namespace

FtpFixture::FtpFixture() {
    replies_["USER"] = "331 Password please";
    replies_["PASS"] = "230 Logged in";
    replies_["PORT"] = "200 PORT command successful";
    replies_["TYPE"] = "200 Type set";
    replies_["QUIT"] = "221 Goodbye";
}

FtpFixture::~FtpFixture() { Stop(); }

void FtpFixture::SetReply(const std::string& verb, const std::string& reply) { replies_[verb] = reply; }

void FtpFixture::Start() {
    listener_.Start([this](sys::TcpSocket& control) { Serve(control); });
}

void FtpFixture::Stop() { listener_.Stop(); }

std::vector<std::string> FtpFixture::Commands() const {
    std::lock_guard<std::mutex> guard(lock_);
    return commands_;
}

bool FtpFixture::WaitSessionEnd(int ms) const { return listener_.WaitEnded(1, ms); }

bool FtpFixture::SendAll(sys::TcpSocket& socket, const char* bytes, size_t count) {
    return listener_.SendAll(socket, bytes, count, kLimitMs);
}

bool FtpFixture::SendLine(sys::TcpSocket& socket, const std::string& text) {
    const std::string bytes = text + "\r\n";
    return SendAll(socket, bytes.data(), bytes.size());
}

bool FtpFixture::ReadLine(sys::TcpSocket& socket, std::string& buffer, std::string& line) {
    for (int waited = 0; !listener_.Stopping() && waited < kLimitMs;) {
        const size_t end = buffer.find("\r\n");
        if (end != std::string::npos) {
            line = buffer.substr(0, end);
            buffer.erase(0, end + 2);
            return true;
        }
        if (socket.Wait(0, kSliceMs) != sys::WaitResult::Ready) {
            waited += kSliceMs;
            continue;
        }
        char piece[4096];
        int n = socket.Receive(piece, sizeof piece);
        if (n == sys::TcpSocket::kWouldBlock) continue;
        if (n <= 0) return false;
        buffer.append(piece, static_cast<size_t>(n));
    }
    return false;
}

void FtpFixture::HoldUntilClosed(sys::TcpSocket& socket) {
    char piece[4096];
    for (int waited = 0; !listener_.Stopping() && waited < kLimitMs;) {
        if (socket.Wait(0, kSliceMs) != sys::WaitResult::Ready) {
            waited += kSliceMs;
            continue;
        }
        int n = socket.Receive(piece, sizeof piece);
        if (n == 0 || n == sys::TcpSocket::kError) return;
    }
}

void FtpFixture::Serve(sys::TcpSocket& control) {
    if (!SendLine(control, greeting_)) return;
    std::string buffer, line, dataHost;
    int dataPort = 0;
    while (ReadLine(control, buffer, line)) {
        {
            std::lock_guard<std::mutex> guard(lock_);
            commands_.push_back(line);
        }
        const std::string verb = Verb(line);
        auto found = replies_.find(verb);
        std::string reply;
        if (found != replies_.end()) {
            reply = found->second;
        } else if (verb == "SIZE") {
            reply = "213 " + std::to_string(file_.size());
        } else if (verb == "RETR") {
            reply = "150 Opening BINARY mode data connection";
        } else {
            reply = "502 Command not implemented";
        }
        if (reply.empty()) {  // silent from here on
            HoldUntilClosed(control);
            return;
        }
        if (reply == kHangUp) return;
        if (verb == "PORT") {
            unsigned a, b, c, d, p1, p2;
            if (std::sscanf(line.c_str() + 5, "%u,%u,%u,%u,%u,%u", &a, &b, &c, &d, &p1, &p2) == 6) {
                dataHost = std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(c) + "." +
                           std::to_string(d);
                dataPort = static_cast<int>(p1 * 256 + p2);
            }
        }
        if (!SendLine(control, reply)) return;
        if (verb == "RETR" && reply[0] == '1') Transfer(control, dataHost, dataPort);
    }
}

void FtpFixture::Transfer(sys::TcpSocket& control, const std::string& host, int port) {
    if (data_ == Data::Never) {
        HoldUntilClosed(control);
        return;
    }
    sys::TcpSocket data;
    if (!data.StartConnect(host, port) || data.Wait(1, kLimitMs) != sys::WaitResult::Ready ||
        !data.ConnectSucceeded()) {
        SendLine(control, "425 Can't open data connection");
        return;
    }
    const size_t count = data_ == Data::Send ? file_.size() : std::min(count_, file_.size());
    SendAll(data, file_.data(), count);
    switch (data_) {
        case Data::Stall:
            HoldUntilClosed(data);
            return;
        case Data::Reset:
            data.Abort();
            break;
        default:
            data.ShutdownSend();
            data.Close();
            break;
    }
    SendLine(control, "226 Transfer complete");
}
