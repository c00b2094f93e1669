#include "Qelclock.h"

#include "ExtCtrls.h"

namespace skin {

namespace {

class TimerTicker final : public TqelTicker {
public:
    TimerTicker() : timer_(nullptr) {
        timer_.SetEnabled(false);
        timer_.OnTimer = [this](ui::TComponent*) {
            if (OnTick) OnTick();
        };
    }
    void Start(int intervalMs) override {
        timer_.SetEnabled(false);
        timer_.SetInterval(intervalMs);
        timer_.SetEnabled(true);
    }
    void Stop() override { timer_.SetEnabled(false); }
    bool Running() const override { return timer_.Enabled(); }

private:
    ui::TTimer timer_;
};

class TimerClock final : public TqelClock {
public:
    std::unique_ptr<TqelTicker> NewTicker() override { return std::make_unique<TimerTicker>(); }
};

}  // namespace

TqelClock& SystemClock() {
    static TimerClock clock;
    return clock;
}

}  // namespace skin
