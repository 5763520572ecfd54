// SPDX-License-Identifier: MIT
#include "tests/support/virtual_scheduler.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace quelmo {
namespace {

using namespace std::chrono_literals;

TEST(VirtualScheduler, StartsAtTheGivenUptimeAndDate) {
    VirtualScheduler s;
    EXPECT_EQ(s.uptime(), 1000.0);
    EXPECT_EQ(s.now(), Scheduler::WallClock::time_point{1773064800s});

    const auto date = Scheduler::WallClock::time_point{1700000000s};
    VirtualScheduler t(5.0, date);
    EXPECT_EQ(t.uptime(), 5.0);
    EXPECT_EQ(t.now(), date);
}

TEST(VirtualScheduler, NothingHappensUntilAdvanced) {
    VirtualScheduler s;
    int calls = 0;
    auto timer = s.scheduleOnce(0.0, [&] { ++calls; });
    s.post([&] { ++calls; });
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(s.pendingCount(), 2u);
    s.advance(0);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(s.pendingCount(), 0u);
}

TEST(VirtualScheduler, WallClockMovesWithUptime) {
    VirtualScheduler s;
    const auto start = s.now();
    s.advance(1800);
    EXPECT_EQ(s.uptime(), 2800.0);
    EXPECT_EQ(s.now() - start, 1800s);
    s.advance(0.25);
    EXPECT_EQ(s.now() - start, 1800250ms);
}

TEST(VirtualScheduler, SetNowChangesTheWallClockOnly) {
    VirtualScheduler s;
    const auto date = Scheduler::WallClock::time_point{1800000000s};
    s.setNow(date);
    EXPECT_EQ(s.uptime(), 1000.0);
    EXPECT_EQ(s.now(), date);
    s.advance(2);
    EXPECT_EQ(s.now(), date + 2s);
}

TEST(VirtualScheduler, OneShotFiresExactlyWhenDueAndOnce) {
    VirtualScheduler s;
    std::vector<double> at;
    auto timer = s.scheduleOnce(1.5, [&] { at.push_back(s.uptime()); });
    EXPECT_TRUE(timer->isActive());
    s.advance(1.499);
    EXPECT_TRUE(at.empty());
    s.advance(10);
    ASSERT_EQ(at.size(), 1u);
    EXPECT_EQ(at[0], 1001.5);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(s.uptime(), 1011.499);
}

TEST(VirtualScheduler, RepeatingTimerFiresAtEveryMultipleOfItsInterval) {
    VirtualScheduler s;
    std::vector<double> at;
    auto timer = s.scheduleRepeating(0.2, 0.05, [&] { at.push_back(s.uptime()); });
    s.advance(1.0);
    ASSERT_EQ(at.size(), 5u);
    for (std::size_t i = 0; i < at.size(); ++i) {
        EXPECT_DOUBLE_EQ(at[i], 1000.0 + 0.2 * static_cast<double>(i + 1));
    }
    EXPECT_EQ(at.back(), 1001.0);
    EXPECT_TRUE(timer->isActive());
}

TEST(VirtualScheduler, SmallStepsLandExactlyOnTheTicks) {
    VirtualScheduler s;
    int ticks = 0;
    auto timer = s.scheduleRepeating(0.2, 0.05, [&] { ++ticks; });
    for (int i = 1; i <= 1000; ++i) {
        s.advance(0.2);
        ASSERT_EQ(ticks, i) << "step " << i;
    }
    int ticks2 = 0;
    auto timer2 = s.scheduleRepeating(0.1, 0.0, [&] { ++ticks2; });
    for (int i = 0; i < 30; ++i) {
        s.advance(0.01);
    }
    EXPECT_EQ(ticks2, 3);
}

TEST(VirtualScheduler, AdvancingHalfAnHourIsFast) {
    VirtualScheduler s;
    long ticks = 0;
    double last = 0;
    auto tick = s.scheduleRepeating(0.2, 0.05, [&] {
        ++ticks;
        last = s.uptime();
    });
    const auto begin = std::chrono::steady_clock::now();
    s.advance(1800);
    const auto took = std::chrono::steady_clock::now() - begin;
    EXPECT_EQ(ticks, 9000);
    EXPECT_EQ(last, 2800.0);
    EXPECT_LT(took, 500ms); // about a millisecond; generous for sanitizer builds
}

TEST(VirtualScheduler, DueActionsRunInDueTimeOrderThenInSchedulingOrder) {
    VirtualScheduler s;
    std::string order;
    auto c = s.scheduleOnce(3, [&] { order += 'c'; });
    auto a = s.scheduleOnce(1, [&] { order += 'a'; });
    auto b1 = s.scheduleOnce(2, [&] { order += 'b'; });
    auto b2 = s.scheduleOnce(2, [&] { order += 'B'; });
    auto r = s.scheduleRepeating(1.5, 0, [&] { order += 'r'; });
    s.advance(3);
    // The repeating timer's second firing (due at 3) was armed at 1.5, after c.
    EXPECT_EQ(order, "arbBcr");
}

TEST(VirtualScheduler, PostedActionsRunBeforeLaterTimersAtTheTimeTheyWerePosted) {
    VirtualScheduler s;
    std::vector<std::pair<std::string, double>> log;
    auto later = s.scheduleOnce(0.5, [&] { log.emplace_back("later", s.uptime()); });
    auto first = s.scheduleOnce(0.2, [&] {
        log.emplace_back("first", s.uptime());
        s.post([&] {
            log.emplace_back("posted", s.uptime());
            s.post([&] { log.emplace_back("posted again", s.uptime()); });
        });
    });
    s.advance(1);
    const std::vector<std::pair<std::string, double>> expected{
        {"first", 1000.2}, {"posted", 1000.2}, {"posted again", 1000.2}, {"later", 1000.5}};
    EXPECT_EQ(log, expected);
}

TEST(VirtualScheduler, PostIsNeverRunInsideTheCall) {
    VirtualScheduler s;
    bool ran = false;
    s.post([&] { ran = true; });
    EXPECT_FALSE(ran);
    s.advance(0);
    EXPECT_TRUE(ran);
}

TEST(VirtualScheduler, PostedActionsRunInOrder) {
    VirtualScheduler s;
    std::string order;
    s.post([&] { order += '1'; });
    s.post([&] { order += '2'; });
    s.post([&] { order += '3'; });
    s.advance(0);
    EXPECT_EQ(order, "123");
}

TEST(VirtualScheduler, CancelAndDestroyingTheHandleStopATimer) {
    VirtualScheduler s;
    int a = 0;
    int b = 0;
    auto ta = s.scheduleRepeating(1, 0, [&] { ++a; });
    auto tb = s.scheduleOnce(1, [&] { ++b; });
    s.advance(2);
    EXPECT_EQ(a, 2);
    ta->cancel();
    ta->cancel();
    EXPECT_FALSE(ta->isActive());
    auto tc = s.scheduleOnce(1, [&] { ++b; });
    tc.reset();
    s.advance(5);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(s.pendingCount(), 0u);
}

TEST(VirtualScheduler, ARepeatingTimerMayCancelItselfWhileFiring) {
    VirtualScheduler s;
    int ticks = 0;
    TimerHandle timer;
    timer = s.scheduleRepeating(0.2, 0.05, [&] {
        if (++ticks == 3) {
            timer->cancel();
        }
    });
    s.advance(10);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(timer->isActive());
}

TEST(VirtualScheduler, ATimerMayDestroyItsOwnHandleWhileFiring) {
    VirtualScheduler s;
    int ticks = 0;
    std::string captured = "kept alive while running";
    std::string seen;
    TimerHandle timer;
    timer = s.scheduleRepeating(0.2, 0.05, [&, captured] {
        ++ticks;
        timer.reset();   // destroys the handle, and so the timer, under us
        seen = captured; // the action's captures are still alive
    });
    s.advance(10);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(seen, captured);
}

TEST(VirtualScheduler, ATimerMayCancelAnotherDueAtTheSameTime) {
    VirtualScheduler s;
    int second = 0;
    TimerHandle other;
    auto first = s.scheduleOnce(1, [&] { other->cancel(); });
    other = s.scheduleOnce(1, [&] { ++second; });
    s.advance(1);
    EXPECT_EQ(second, 0);
}

TEST(VirtualScheduler, ActionsMayScheduleNewTimersThatFallDueInTheSameAdvance) {
    VirtualScheduler s;
    std::vector<double> at;
    TimerHandle inner;
    auto outer =
        s.scheduleOnce(1, [&] { inner = s.scheduleOnce(0.5, [&] { at.push_back(s.uptime()); }); });
    s.advance(2);
    EXPECT_EQ(at, std::vector<double>{1001.5});
}

TEST(VirtualScheduler, ARepeatingTimerStartedInsideAnotherCountsFromThatMoment) {
    VirtualScheduler s;
    std::vector<double> at;
    TimerHandle tick;
    auto start = s.scheduleOnce(
        0.3, [&] { tick = s.scheduleRepeating(0.2, 0.05, [&] { at.push_back(s.uptime()); }); });
    s.advance(1);
    EXPECT_EQ(at, (std::vector<double>{1000.5, 1000.7, 1000.9}));
}

TEST(VirtualScheduler, RunNextJumpsToTheNextDueAction) {
    VirtualScheduler s;
    bool fired = false;
    EXPECT_FALSE(s.runNext());
    auto t = s.scheduleOnce(1800, [&] { fired = true; });
    EXPECT_EQ(s.nextDueIn(), 1800.0);
    EXPECT_TRUE(s.runNext());
    EXPECT_TRUE(fired);
    EXPECT_EQ(s.uptime(), 2800.0);
    EXPECT_FALSE(s.nextDueIn().has_value());
}

TEST(VirtualScheduler, OddDelaysAndIntervals) {
    VirtualScheduler s;
    std::vector<double> at;
    auto negative = s.scheduleOnce(-5, [&] { at.push_back(s.uptime()); });
    auto nan = s.scheduleOnce(std::nan(""), [&] { at.push_back(s.uptime()); });
    int zeroTicks = 0;
    auto zero = s.scheduleRepeating(0, 0, [&] { ++zeroTicks; }); // taken as 1 ms
    s.advance(0.01);
    EXPECT_EQ(at, (std::vector<double>{1000.0, 1000.0}));
    EXPECT_EQ(zeroTicks, 10);
    s.advance(-3);
    EXPECT_EQ(s.uptime(), 1000.01);
}

TEST(VirtualScheduler, HandlesMayOutliveTheScheduler) {
    TimerHandle timer;
    {
        VirtualScheduler s;
        timer = s.scheduleRepeating(1, 0, [] {});
        EXPECT_TRUE(timer->isActive());
    }
    EXPECT_FALSE(timer->isActive());
    timer->cancel();
    timer.reset();
}

TEST(VirtualScheduler, UsableThroughThePort) {
    VirtualScheduler virtualScheduler;
    Scheduler& s = virtualScheduler;
    int fired = 0;
    auto t = s.scheduleOnce(0.1, [&] { ++fired; });
    virtualScheduler.advance(0.1);
    EXPECT_EQ(fired, 1);
}

} // namespace
} // namespace quelmo
