// The platform layer's event and detached thread, on which the bounded waits build.
#include "sys/Event.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "sys/Thread.h"

namespace {

TEST(Event, StaysRaisedUntilReset) {
    sys::Event event;
    EXPECT_FALSE(event.Wait(0));
    EXPECT_FALSE(event.Wait(20));
    event.Set();
    EXPECT_TRUE(event.Wait(0));
    EXPECT_TRUE(event.Wait(-1));  // still raised: every later waiter sees it
    event.Reset();
    EXPECT_FALSE(event.Wait(0));
}

TEST(Event, DetachedThreadRunsItsWorkAndWakesTheWaiter) {
    // Each thread answers through its own event; the waiter has no limit but the watchdog's.
    for (int i = 0; i < 50; ++i) {
        auto done = std::make_shared<sys::Event>();
        auto value = std::make_shared<std::atomic<int>>(0);
        ASSERT_TRUE(sys::StartDetachedThread([done, value, i] {
            *value = i + 1;
            done->Set();
        }));
        ASSERT_TRUE(done->Wait(30000)) << i;
        EXPECT_EQ(*value, i + 1);
    }
}

}  // namespace
