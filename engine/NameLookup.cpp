#include "NameLookup.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "EngineSettings.h"
#include "sys/Socket.h"

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

// Shared by the waiting side and the helper, which may outlive the wait.
struct Lookup {
    std::mutex lock;
    std::condition_variable done;
    bool finished = false;
    bool found = false;
    std::string address;
};

}  // namespace

LookupResult LookUpHost(const std::string& host, int timeoutMs, const std::function<bool()>& stopped,
                        std::string& address) {
    if (IsDottedAddress(host)) {
        return sys::LookupIPv4(host, address) ? LookupResult::Found : LookupResult::NotFound;
    }
    if (stopped && stopped()) return LookupResult::Stopped;
    auto lookup = std::make_shared<Lookup>();
    const HostResolver resolver = g_resolver.load();
    try {
        std::thread([lookup, resolver, host] {
            std::string found;
            const bool ok = resolver(host, found);
            std::lock_guard<std::mutex> guard(lookup->lock);
            lookup->found = ok;
            lookup->address = found;
            lookup->finished = true;
            lookup->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return LookupResult::NotFound;
    }
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    constexpr auto kSlice = std::chrono::milliseconds(kStopCheckMs);
    std::unique_lock<std::mutex> guard(lookup->lock);
    for (;;) {
        auto wake = Clock::now() + kSlice;
        if (timeoutMs >= 0 && wake > deadline) wake = deadline;
        if (lookup->done.wait_until(guard, wake, [&] { return lookup->finished; })) break;
        if (timeoutMs >= 0 && Clock::now() >= deadline) return LookupResult::TimedOut;
        if (stopped) {
            guard.unlock();
            const bool stop = stopped();
            guard.lock();
            if (stop && !lookup->finished) return LookupResult::Stopped;
        }
    }
    if (!lookup->found) return LookupResult::NotFound;
    address = lookup->address;
    return LookupResult::Found;
}

void SetHostResolverForTests(HostResolver resolver) { g_resolver = resolver ? resolver : &sys::LookupIPv4; }
