// The listening half of a scripted test server: a listener on 127.0.0.1 and a free port, and a
// thread that hands each connection, one after another, to the server's serve function until
// Stop. It counts the connections taken and ended, so a test can wait for a session to be over.
#pragma once
#include <atomic>
#include <cstddef>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "sys/Socket.h"

class LoopbackListener {
public:
    using Serve = std::function<void(sys::TcpSocket&)>;

    LoopbackListener() = default;
    ~LoopbackListener() { Stop(); }
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    // Listens and starts the thread; false (and no thread) when no port could be had.
    bool Start(Serve serve);
    // Tells the serve function to end (Stopping), waits for the thread and closes the listener.
    void Stop();
    int Port() const { return listener_.Port(); }
    // Set by Stop: every wait of a serve function ends on it.
    const std::atomic<bool>& Stopping() const { return stopping_; }

    // Sends all count bytes, waiting for room in short slices; false when the peer broke off, the
    // server stops, or limitMs passed before they went out.
    bool SendAll(sys::TcpSocket& socket, const char* bytes, size_t count, int limitMs = 20000) const;

    int Accepted() const;
    // Waits up to ms until count connections have ended.
    bool WaitEnded(int count, int ms) const;

private:
    void Loop(const Serve& serve);

    sys::TcpListener listener_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    mutable std::mutex lock_;
    mutable std::condition_variable changed_;
    int accepted_ = 0;
    int ended_ = 0;
};
