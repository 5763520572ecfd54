// SPDX-License-Identifier: MIT
#include "platform/idle_clock/idle_clock.h"

#include <gtest/gtest.h>

namespace quelmo {
namespace {

using namespace std::chrono_literals;
using Clock = IdleClock::Clock;

const Clock::time_point t0 = Clock::time_point(1000s);

double at(const IdleClock& clock, Clock::duration after) {
    return clock.secondsSinceLastEvent(t0 + after);
}

TEST(IdleClock, ActiveStretchesAreAtMostOneTimeoutIdleStretchesExact) {
    IdleClock clock(500ms, t0);
    EXPECT_DOUBLE_EQ(at(clock, 200ms), 0.2);
    // No "idle" yet, so something happened within the last timeout.
    EXPECT_DOUBLE_EQ(at(clock, 5s), 0.5);
    clock.idled(t0 + 3s);
    EXPECT_DOUBLE_EQ(at(clock, 10s), 7.5);
    clock.resumed(t0 + 20s);
    EXPECT_DOUBLE_EQ(at(clock, 20s + 300ms), 0.3);
    // A direct reading of the idle time picks the state that fits it.
    clock.seed(t0 + 1s, t0 + 10s);
    EXPECT_TRUE(clock.isIdle());
    EXPECT_DOUBLE_EQ(at(clock, 10s), 9.0);
    clock.seed(t0 + 10s - 100ms, t0 + 10s);
    EXPECT_FALSE(clock.isIdle());
    EXPECT_DOUBLE_EQ(at(clock, 0s), 0.0); // never negative
}

TEST(IdleClock, NeverPlacesTheLastEventLaterThanItReallyWas) {
    // Input at 0 s and 0.3 s, then nothing: the compositor only says "resumed"
    // at 0 s and "idle" at 0.8 s. Every reading lies between the true idle
    // time and one timeout above it.
    IdleClock clock(500ms, t0);
    for (auto now : {100ms, 300ms, 500ms, 700ms}) {
        const double trueIdle =
            std::chrono::duration<double>(now < 300ms ? now : now - 300ms).count();
        EXPECT_GE(at(clock, now) + 1e-9, trueIdle);
        EXPECT_LE(at(clock, now), trueIdle + 0.5);
    }
    clock.idled(t0 + 800ms);
    EXPECT_NEAR(at(clock, 2s), 1.7, 1e-9);
}

TEST(IdleClock, AnEndlessActiveStretchIsNotBelievedWhereTimersCanStop) {
    // An idle inhibitor stopped the compositor's timer right after "resumed":
    // after 20 s the user no longer passes for one who is typing.
    IdleClock clock(250ms, t0, 20s);
    EXPECT_DOUBLE_EQ(at(clock, 10s), 0.25);
    EXPECT_DOUBLE_EQ(at(clock, 20s), 0.25);
    EXPECT_DOUBLE_EQ(at(clock, 21s), 21.0);
    // Real use brings "idle" and "resumed" again, and with them belief.
    clock.idled(t0 + 30s);
    clock.resumed(t0 + 31s);
    EXPECT_DOUBLE_EQ(at(clock, 32s), 0.25);
}

} // namespace
} // namespace quelmo
