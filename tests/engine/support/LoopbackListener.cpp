#include "LoopbackListener.h"

#include <chrono>

namespace {
// How often the accept wait looks at the stop flag.
constexpr int kSliceMs = 50;
}  // namespace

bool LoopbackListener::Start(Serve serve) {
    sys::SocketStartup();
    if (!listener_.Listen("127.0.0.1", 0)) return false;
    thread_ = std::thread([this, serve = std::move(serve)] { Loop(serve); });
    return true;
}

void LoopbackListener::Stop() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
    listener_.Close();
}

bool LoopbackListener::SendAll(sys::TcpSocket& socket, const char* bytes, size_t count, int limitMs) const {
    size_t sent = 0;
    int waited = 0;
    while (sent < count && !stopping_ && waited < limitMs) {
        const int n = socket.Send(bytes + sent, static_cast<int>(count - sent));
        if (n > 0) {
            sent += static_cast<size_t>(n);
        } else if (n == sys::TcpSocket::kWouldBlock) {
            socket.Wait(1, kSliceMs);
            waited += kSliceMs;
        } else {
            return false;
        }
    }
    return sent == count;
}

int LoopbackListener::Accepted() const {
    std::lock_guard<std::mutex> guard(lock_);
    return accepted_;
}

bool LoopbackListener::WaitEnded(int count, int ms) const {
    std::unique_lock<std::mutex> guard(lock_);
    return changed_.wait_for(guard, std::chrono::milliseconds(ms), [&] { return ended_ >= count; });
}

void LoopbackListener::Loop(const Serve& serve) {
    while (!stopping_) {
        sys::TcpSocket socket;
        if (!listener_.Accept(socket, kSliceMs)) continue;
        {
            std::lock_guard<std::mutex> guard(lock_);
            ++accepted_;
        }
        serve(socket);
        socket.Close();
        std::lock_guard<std::mutex> guard(lock_);
        ++ended_;
        changed_.notify_all();
    }
}
