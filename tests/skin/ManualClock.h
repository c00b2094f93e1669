// A clock turned by hand: its tickers fire only while a test advances the time past their due
// moments, in time order, so timed behaviour is tested step by step without waiting.
#pragma once
#include <algorithm>
#include <memory>
#include <vector>

#include "Qelclock.h"

class ManualClock final : public skin::TqelClock {
public:
    ManualClock() = default;
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    std::unique_ptr<skin::TqelTicker> NewTicker() override { return std::make_unique<Ticker>(*this); }

    long long Now() const { return now_; }

    void Advance(int ms) {
        const long long end = now_ + ms;
        for (;;) {
            Ticker* next = nullptr;
            for (Ticker* t : tickers_) {
                if (t->running && t->due <= end && (!next || t->due < next->due)) next = t;
            }
            if (!next) break;
            now_ = next->due;
            next->due += next->interval;
            if (next->OnTick) next->OnTick();
        }
        now_ = end;
    }

    // Tickers that would fire if time went on.
    int Running() const {
        return static_cast<int>(std::count_if(tickers_.begin(), tickers_.end(), [](Ticker* t) { return t->running; }));
    }

private:
    struct Ticker final : skin::TqelTicker {
        explicit Ticker(ManualClock& owner) : clock(owner) { clock.tickers_.push_back(this); }
        ~Ticker() override { clock.tickers_.erase(std::find(clock.tickers_.begin(), clock.tickers_.end(), this)); }
        void Start(int intervalMs) override {
            interval = std::max(1, intervalMs);
            due = clock.now_ + interval;
            running = true;
        }
        void Stop() override { running = false; }
        bool Running() const override { return running; }

        ManualClock& clock;
        long long due = 0;
        int interval = 1;
        bool running = false;
    };
    std::vector<Ticker*> tickers_;
    long long now_ = 0;
};
