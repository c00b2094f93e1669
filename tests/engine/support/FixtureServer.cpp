#include "FixtureServer.h"

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSliceMs = 50;     // how often a wait looks at the stop flag
constexpr int kCloseDrainMs = 5000;

int MsLeft(Clock::time_point deadline) {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return ms < 0 ? 0 : static_cast<int>(ms);
}

}  // namespace

std::string FixtureServer::Pattern(uint64_t count, uint64_t first) {
    std::string bytes(static_cast<size_t>(count), '\0');
    for (uint64_t i = 0; i < count; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>(PatternByte(first + i));
    return bytes;
}

// Script building.

FixtureServer::Script& FixtureServer::Script::Expect(const std::string& text) {
    Step s(Step::kExpect);
    s.text = text;
    steps_.push_back(std::move(s));
    return *this;
}

FixtureServer::Script& FixtureServer::Script::Send(const std::string& bytes) {
    Step s(Step::kSend);
    s.text = bytes;
    steps_.push_back(std::move(s));
    return *this;
}

FixtureServer::Script& FixtureServer::Script::SendPattern(uint64_t count, uint64_t first) {
    Step s(Step::kPattern);
    s.count = count;
    s.first = first;
    steps_.push_back(std::move(s));
    return *this;
}

FixtureServer::Script& FixtureServer::Script::Pause(int ms) {
    Step s(Step::kPause);
    s.ms = ms;
    steps_.push_back(std::move(s));
    return *this;
}

FixtureServer::Script& FixtureServer::Script::Silence(int ms) {
    Step s(Step::kSilence);
    s.ms = ms;
    steps_.push_back(std::move(s));
    return *this;
}

FixtureServer::Script& FixtureServer::Script::Close() {
    steps_.push_back(Step(Step::kClose));
    return *this;
}

FixtureServer::Script& FixtureServer::Script::Abort() {
    steps_.push_back(Step(Step::kAbort));
    return *this;
}

FixtureServer::Script& FixtureServer::Script::Call(std::function<void(Session&)> step) {
    Step s(Step::kCall);
    s.call = std::move(step);
    steps_.push_back(std::move(s));
    return *this;
}

// Session.

std::string FixtureServer::Session::Received() const { return server_.Received(index_); }

bool FixtureServer::Session::Stopping() const { return server_.stopping_; }

bool FixtureServer::Session::ReadSome(int timeoutMs) {
    if (peerClosed_) return false;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[65536];
    for (;;) {
        int n = socket_.Receive(buffer, sizeof buffer);
        if (n > 0) {
            server_.Record(index_, buffer, static_cast<size_t>(n));
            return true;
        }
        if (n == 0 || n == sys::TcpSocket::kError) {
            peerClosed_ = true;
            return false;
        }
        const int left = MsLeft(deadline);
        if (left == 0 || server_.stopping_) return false;
        if (socket_.Wait(0, left < kSliceMs ? left : kSliceMs) == sys::WaitResult::Failed) return false;
    }
}

bool FixtureServer::Session::Expect(const std::string& text, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const std::string got = Received();
        const size_t at = got.find(text, matched_);
        if (at != std::string::npos) {
            matched_ = at + text.size();
            return true;
        }
        const int left = MsLeft(deadline);
        if (left == 0 || server_.stopping_) return false;
        if (!ReadSome(left) && peerClosed_) return false;
    }
}

bool FixtureServer::Session::Send(const std::string& bytes) {
    size_t sent = 0;
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    while (sent < bytes.size()) {
        const size_t piece = bytes.size() - sent > (1u << 20) ? (1u << 20) : bytes.size() - sent;
        int n = socket_.Send(bytes.data() + sent, static_cast<int>(piece));
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n != sys::TcpSocket::kWouldBlock) return false;
        if (server_.stopping_ || MsLeft(deadline) == 0) return false;
        socket_.Wait(1, kSliceMs);
    }
    return true;
}

bool FixtureServer::Session::ConnectTo(const std::string& host, int port, sys::TcpSocket& out, int timeoutMs) {
    if (!out.StartConnect(host, port)) return false;
    return out.Wait(1, timeoutMs) == sys::WaitResult::Ready && out.ConnectSucceeded();
}

// Server.

FixtureServer::FixtureServer(const std::string& address) : address_(address) {
    sys::SocketStartup();
    if (listener_.Listen(address_.c_str(), 0, 16)) port_ = listener_.Port();
}

FixtureServer::~FixtureServer() { Stop(); }

FixtureServer::Script& FixtureServer::AddScript() {
    scripts_.emplace_back();
    return scripts_.back();
}

void FixtureServer::Start() {
    if (acceptor_.joinable() || !listener_.IsOpen()) return;
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

void FixtureServer::Stop() {
    stopping_ = true;
    if (acceptor_.joinable()) acceptor_.join();
    for (auto& t : sessions_) {
        if (t.joinable()) t.join();
    }
    sessions_.clear();
    listener_.Close();
}

std::string FixtureServer::Url(const std::string& path, const std::string& scheme) const {
    return scheme + "://" + address_ + ":" + std::to_string(port_) + path;
}

int FixtureServer::Connections() const {
    std::lock_guard<std::mutex> guard(lock_);
    return connections_;
}

bool FixtureServer::WaitFinished(int count, int ms) const {
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (finished_ >= count) return true;
        }
        if (MsLeft(deadline) == 0) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::string FixtureServer::Received(size_t i) const {
    std::lock_guard<std::mutex> guard(lock_);
    return i < received_.size() ? received_[i] : std::string();
}

std::vector<std::string> FixtureServer::Errors() const {
    std::lock_guard<std::mutex> guard(lock_);
    return errors_;
}

void FixtureServer::Record(size_t index, const char* bytes, size_t count) {
    std::lock_guard<std::mutex> guard(lock_);
    received_[index].append(bytes, count);
}

void FixtureServer::Note(const std::string& error) {
    std::lock_guard<std::mutex> guard(lock_);
    errors_.push_back(error);
}

void FixtureServer::AcceptLoop() {
    while (!stopping_) {
        sys::TcpSocket client;
        if (!listener_.Accept(client, kSliceMs)) continue;
        size_t index;
        {
            std::lock_guard<std::mutex> guard(lock_);
            index = received_.size();
            received_.emplace_back();
            ++connections_;
        }
        sessions_.emplace_back([this, index, s = std::move(client)]() mutable { Serve(index, std::move(s)); });
    }
}

void FixtureServer::Serve(size_t index, sys::TcpSocket socket) {
    const class Script* script = nullptr;
    if (index < scripts_.size()) {
        script = &scripts_[index];
    } else if (repeatLast_ && !scripts_.empty()) {
        script = &scripts_.back();
    }
    Session session(*this, index, socket);
    bool ended = false;
    if (script) {
        for (const auto& step : script->steps_) {
            if (ended || stopping_) break;
            switch (step.kind) {
                case Script::Step::kExpect:
                    if (!session.Expect(step.text, expectTimeOutMs_)) {
                        Note("connection " + std::to_string(index) + ": did not receive \"" + step.text + "\"");
                        ended = true;
                    }
                    break;
                case Script::Step::kSend:
                    session.Send(step.text);
                    break;
                case Script::Step::kPattern: {
                    const uint64_t kPiece = 1 << 20;
                    for (uint64_t done = 0; done < step.count && !stopping_;) {
                        const uint64_t n = step.count - done < kPiece ? step.count - done : kPiece;
                        if (!session.Send(Pattern(n, step.first + done))) break;
                        done += n;
                    }
                    break;
                }
                case Script::Step::kPause: {
                    const auto deadline = Clock::now() + std::chrono::milliseconds(step.ms);
                    while (!stopping_ && MsLeft(deadline) > 0) {
                        int left = MsLeft(deadline);
                        std::this_thread::sleep_for(std::chrono::milliseconds(left < kSliceMs ? left : kSliceMs));
                    }
                    break;
                }
                case Script::Step::kSilence: {
                    const auto deadline = Clock::now() + std::chrono::milliseconds(step.ms);
                    while (!stopping_ && MsLeft(deadline) > 0) {
                        if (!session.ReadSome(MsLeft(deadline)) && session.peerClosed_) break;
                    }
                    break;
                }
                case Script::Step::kClose: {
                    socket.ShutdownSend();
                    const auto deadline = Clock::now() + std::chrono::milliseconds(kCloseDrainMs);
                    while (!stopping_ && MsLeft(deadline) > 0) {
                        if (!session.ReadSome(MsLeft(deadline)) && session.peerClosed_) break;
                    }
                    socket.Close();
                    ended = true;
                    break;
                }
                case Script::Step::kAbort:
                    socket.Abort();
                    ended = true;
                    break;
                case Script::Step::kCall:
                    step.call(session);
                    break;
            }
        }
    }
    // A script that ends without closing keeps reading until the client closes (or the drain time).
    if (socket.IsOpen()) {
        socket.ShutdownSend();
        const auto deadline = Clock::now() + std::chrono::milliseconds(kCloseDrainMs);
        while (!stopping_ && MsLeft(deadline) > 0) {
            if (!session.ReadSome(MsLeft(deadline)) && session.peerClosed_) break;
        }
        socket.Close();
    }
    std::lock_guard<std::mutex> guard(lock_);
    ++finished_;
}
