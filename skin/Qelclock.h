// What timed behaviour of the skinned controls runs on: repeating tickers handed out by a clock.
// The program's clock runs them on the application's timers, which the message loop dispatches,
// so a ticking control never waits or pumps messages itself; tests turn a clock of their own.
#pragma once
#include <functional>
#include <memory>

namespace skin {

class TqelTicker {
public:
    virtual ~TqelTicker() = default;
    // (Re)starts: the first tick comes one interval from now, then one every interval.
    virtual void Start(int intervalMs) = 0;
    virtual void Stop() = 0;
    virtual bool Running() const = 0;
    std::function<void()> OnTick;
};

class TqelClock {
public:
    virtual std::unique_ptr<TqelTicker> NewTicker() = 0;

protected:
    ~TqelClock() = default;
};

// The application's timers.
TqelClock& SystemClock();

}  // namespace skin
