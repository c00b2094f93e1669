#include "NameLookup.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <mutex>

#include "EngineSettings.h"
#include "sys/Event.h"
#include "sys/Socket.h"
#include "sys/Thread.h"

namespace {

std::atomic<HostResolver> g_resolver{&sys::LookupIPv4};

bool IsDottedAddress(const std::string& host) {
    int dots = 0;
    for (char c : host) {
        if (c == '.') ++dots;
        else if (c < '0' || c > '9') return false;
    }
    return dots == 3;
}

// One lookup, shared by the waiting side and the worker, which may outlive the wait.
struct Request {
    Request(std::string name, HostResolver with) : host(std::move(name)), resolver(with) {}
    const std::string host;
    const HostResolver resolver;
    std::atomic<bool> abandoned{false};
    // Written by the worker before done is raised, read by the waiter only after.
    bool found = false;
    std::string address;
    sys::Event done;
};

// Long-lived threads that take lookups in turn, so that a lookup waits for no thread to be made.
// A worker held by a resolver that hangs is left to it; the next lookup finds no free worker and
// starts another, up to a bound, so one hung name does not hold up the rest.
class LookupWorkers {
public:
    // False when no worker is there to take the lookup.
    bool Submit(const std::shared_ptr<Request>& request) {
        std::lock_guard<std::mutex> guard(lock_);
        queue_.push_back(request);
        waiting_.Set();
        if (free_ < static_cast<int>(queue_.size()) && workers_ < kMaxWorkers) {
            if (sys::StartDetachedThread([this] { Work(); })) {
                ++workers_;
                ++free_;
            }
        }
        if (workers_ == 0) {
            queue_.pop_back();
            return false;
        }
        return true;
    }

private:
    static constexpr int kMaxWorkers = 8;

    std::shared_ptr<Request> Take() {
        for (;;) {
            waiting_.Wait(-1);
            std::lock_guard<std::mutex> guard(lock_);
            if (queue_.empty()) {
                waiting_.Reset();
                continue;
            }
            auto request = queue_.front();
            queue_.pop_front();
            if (queue_.empty()) waiting_.Reset();
            --free_;
            return request;
        }
    }

    void Work() {
        for (;;) {
            const auto request = Take();
            if (!request->abandoned) {
                request->found = request->resolver(request->host, request->address);
                request->done.Set();
            }
            std::lock_guard<std::mutex> guard(lock_);
            ++free_;
        }
    }

    std::mutex lock_;
    std::deque<std::shared_ptr<Request>> queue_;
    sys::Event waiting_;  // raised while the queue holds a lookup
    int workers_ = 0;
    int free_ = 0;  // workers not inside a resolver
};

LookupWorkers& Workers() {
    // Never destroyed: the workers may still be inside a resolver when the process ends.
    static LookupWorkers* workers = new LookupWorkers;
    return *workers;
}

}  // namespace

LookupResult LookUpHost(const std::string& host, int timeoutMs, const std::function<bool()>& stopped,
                        std::string& address) {
    if (IsDottedAddress(host)) {
        return sys::LookupIPv4(host, address) ? LookupResult::Found : LookupResult::NotFound;
    }
    if (stopped && stopped()) return LookupResult::Stopped;
    const auto request = std::make_shared<Request>(host, g_resolver.load());
    if (!Workers().Submit(request)) return LookupResult::NotFound;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        int slice = kStopCheckMs;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            slice = static_cast<int>(std::clamp<long long>(left, 0, kStopCheckMs));
        }
        if (request->done.Wait(slice)) break;
        LookupResult ending = LookupResult::Found;
        if (timeoutMs >= 0 && Clock::now() >= deadline) ending = LookupResult::TimedOut;
        else if (stopped && stopped()) ending = LookupResult::Stopped;
        // An answer that came in meanwhile still counts.
        if (ending != LookupResult::Found && !request->done.Wait(0)) {
            request->abandoned = true;
            return ending;
        }
    }
    if (!request->found) return LookupResult::NotFound;
    address = request->address;
    return LookupResult::Found;
}

void SetHostResolverForTests(HostResolver resolver) { g_resolver = resolver ? resolver : &sys::LookupIPv4; }
