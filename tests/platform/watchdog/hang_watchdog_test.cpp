// SPDX-License-Identifier: MIT
#include "platform/watchdog/hang_watchdog.h"

#include "tests/support/virtual_scheduler.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace quelmo {
namespace {

using namespace std::chrono_literals;

// The watchdog in virtual time: the VirtualScheduler's uptime is its clock and
// a repeating 3 s timer, started with it, runs its check, exactly as its own
// thread would. The end-process action only records when it was called.
struct VirtualWatchdog {
    VirtualScheduler scheduler;
    std::vector<double> actedAt;
    HangWatchdog watchdog{HangWatchdog::Options{
        .uptime = [this] { return scheduler.uptime(); },
        .endProcess = [this] { actedAt.push_back(scheduler.uptime()); },
        .checkInterval = HangWatchdog::kCheckInterval,
        .runThread = false,
    }};
    TimerHandle checks = scheduler.scheduleRepeating(HangWatchdog::kCheckInterval, 0.0,
                                                     [this] { watchdog.check(); });
    double start = scheduler.uptime();

    void advance(double seconds) { scheduler.advance(seconds); }
    // Seconds since construction.
    double t() const { return scheduler.uptime() - start; }
};

TEST(HangWatchdog, Constants) {
    EXPECT_EQ(HangWatchdog::kCheckInterval, 3.0);
    EXPECT_EQ(HangWatchdog::kHangThreshold, 10.0);
    EXPECT_EQ(HangWatchdog::kExitStatus, 1);
    EXPECT_EQ(HangWatchdog::Options{}.checkInterval, 3.0);
}

TEST(HangWatchdog, StartsIdleWithABeatAtConstruction) {
    VirtualWatchdog v;
    EXPECT_FALSE(v.watchdog.isFrosted());
    EXPECT_EQ(v.watchdog.lastBeat(), v.start);
}

TEST(HangWatchdog, NeverActsWhileNotFrosted) {
    VirtualWatchdog v;
    v.advance(60); // a minute of main-thread silence
    v.advance(3600);
    EXPECT_TRUE(v.actedAt.empty());
    EXPECT_EQ(v.watchdog.checkCount(), 1220u);
}

TEST(HangWatchdog, ActsAfter10To13SecondsOfSilenceWhileFrosted) {
    // The frost begins at every tenth of a second across one check period.
    for (int i = 0; i < 30; ++i) {
        VirtualWatchdog v;
        v.advance(0.1 * i + 0.05);
        const double frostAt = v.scheduler.uptime();
        v.watchdog.setFrosted(true);
        v.advance(30);
        ASSERT_FALSE(v.actedAt.empty()) << "frost at +" << frostAt - v.start;
        const double after = v.actedAt.front() - frostAt;
        EXPECT_GT(after, 10.0) << "frost at +" << frostAt - v.start;
        EXPECT_LE(after, 13.0) << "frost at +" << frostAt - v.start;
    }
}

TEST(HangWatchdog, ActsAtTheFirstCheckMoreThan10SecondsAfterTheLastBeat) {
    VirtualWatchdog v;
    v.advance(1);
    v.watchdog.setFrosted(true); // at +1
    v.advance(4);
    v.watchdog.beat(); // at +5
    v.advance(10);     // checks at +6 ... +15: ages 1 ... 10
    EXPECT_TRUE(v.actedAt.empty());
    v.advance(3); // check at +18: age 13
    ASSERT_EQ(v.actedAt.size(), 1u);
    EXPECT_EQ(v.actedAt[0] - v.start, 18.0);
}

TEST(HangWatchdog, ExactlyTenSecondsDoesNotAct) {
    VirtualWatchdog v;
    v.advance(2);
    v.watchdog.setFrosted(true); // at +2; checks at +3, +6, +9, +12 (age exactly 10.0)
    v.advance(10);
    EXPECT_EQ(v.t(), 12.0);
    EXPECT_TRUE(v.actedAt.empty());
    v.advance(3); // +15: age 13
    EXPECT_EQ(v.actedAt.size(), 1u);
}

TEST(HangWatchdog, TheThresholdIsStrictlyMoreThanTenSeconds) {
    double now = 100.0;
    int acted = 0;
    HangWatchdog w(
        {.uptime = [&] { return now; }, .endProcess = [&] { ++acted; }, .runThread = false});
    w.setFrosted(true);
    now = 110.0;
    EXPECT_FALSE(w.check());
    now = 110.000001;
    EXPECT_TRUE(w.check());
    EXPECT_EQ(acted, 1);
}

TEST(HangWatchdog, BeatsEveryTickKeepItQuietWhileFrosted) {
    VirtualWatchdog v;
    v.watchdog.setFrosted(true);
    auto tick = v.scheduler.scheduleRepeating(0.2, 0.05, [&] { v.watchdog.beat(); });
    v.advance(600);
    EXPECT_TRUE(v.actedAt.empty());
    EXPECT_EQ(v.watchdog.checkCount(), 200u);
}

TEST(HangWatchdog, FrostTurnedOffAfter9SecondsThenSilence) {
    VirtualWatchdog v;
    v.watchdog.setFrosted(true);
    v.advance(9);
    v.watchdog.setFrosted(false);
    v.advance(120);
    EXPECT_TRUE(v.actedAt.empty());
}

TEST(HangWatchdog, SetFrostedCountsAsABeat) {
    VirtualWatchdog v;
    v.advance(50); // long silence while idle
    v.watchdog.setFrosted(true);
    EXPECT_EQ(v.watchdog.lastBeat(), v.scheduler.uptime());
    v.advance(10); // a frost that has just begun gets its full 10 s
    EXPECT_TRUE(v.actedAt.empty());
    v.advance(3);
    EXPECT_EQ(v.actedAt.size(), 1u);
}

TEST(HangWatchdog, ActionRunsWithoutTheLockHeld) {
    double now = 0.0;
    std::unique_ptr<HangWatchdog> w;
    bool acted = false;
    w = std::make_unique<HangWatchdog>(HangWatchdog::Options{.uptime = [&] { return now; },
                                                             .endProcess =
                                                                 [&] {
                                                                     // Would deadlock if the check
                                                                     // still held the lock.
                                                                     w->beat();
                                                                     acted = w->isFrosted();
                                                                 },
                                                             .runThread = false});
    w->setFrosted(true);
    now = 11.0;
    EXPECT_TRUE(w->check());
    EXPECT_TRUE(acted);
}

// --- The real checking thread, with a short period and a fake clock. ---

TEST(HangWatchdog, ItsThreadChecksOneIntervalAfterConstructionAndThenRepeatedly) {
    std::atomic<int> acted{0};
    const auto constructed = std::chrono::steady_clock::now();
    HangWatchdog w(
        {.uptime = [] { return 0.0; }, .endProcess = [&] { ++acted; }, .checkInterval = 0.2});
    std::this_thread::sleep_for(100ms);
    const auto checks = w.checkCount();
    if (std::chrono::steady_clock::now() - constructed < 200ms) {
        EXPECT_EQ(checks, 0u); // not before one interval
    }
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (w.checkCount() < 3 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_GE(w.checkCount(), 3u);
    EXPECT_EQ(acted.load(), 0);
}

TEST(HangWatchdog, ItsThreadActsWhenTheMainThreadIsSilentWhileFrosted) {
    std::atomic<double> now{0.0};
    std::atomic<int> acted{0};
    HangWatchdog w({.uptime = [&] { return now.load(); },
                    .endProcess = [&] { ++acted; },
                    .checkInterval = 0.005});
    w.setFrosted(true);
    now = 10.5;
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (acted.load() == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_GE(acted.load(), 1);
    w.setFrosted(false);
}

TEST(HangWatchdog, DestructionJoinsItsThreadPromptly) {
    const auto begin = std::chrono::steady_clock::now();
    for (int i = 0; i < 200; ++i) {
        HangWatchdog w; // the real 3 s period: must not wait it out
        w.beat();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 2s);
}

TEST(HangWatchdog, BeatsFromTheMainThreadRaceWithChecks) {
    std::atomic<int> acted{0};
    HangWatchdog w({.endProcess = [&] { ++acted; }, .checkInterval = 0.001});
    w.setFrosted(true);
    const auto until = std::chrono::steady_clock::now() + 200ms;
    while (std::chrono::steady_clock::now() < until) {
        w.beat();
        w.setFrosted(true);
    }
    w.setFrosted(false);
    EXPECT_EQ(acted.load(), 0);
    EXPECT_GT(w.checkCount(), 10u);
}

// --- The real action, observed in a child process. ---

// A clock that runs 1000 times faster than real time, so 10 s pass in 10 ms.
double fastUptime() {
    using namespace std::chrono;
    return 1000.0 * duration<double>(steady_clock::now().time_since_epoch()).count();
}

void hangWhileFrosted() {
    HangWatchdog w({.uptime = fastUptime, .checkInterval = 0.003}); // default action: _Exit(1)
    w.setFrosted(true);
    std::this_thread::sleep_for(30s); // the "main thread" hangs
    std::_Exit(0);                    // not reached
}

void silentWhileClear() {
    HangWatchdog w({.uptime = fastUptime, .checkInterval = 0.003});
    std::this_thread::sleep_for(200ms); // 200 s of silence in watchdog time
    std::_Exit(0);
}

class HangWatchdogProcess : public ::testing::Test {
  protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(HangWatchdogProcess, EndsAHungProcessWithExitStatus1WhileFrosted) {
    EXPECT_EXIT(hangWhileFrosted(), ::testing::ExitedWithCode(1), "");
}

TEST_F(HangWatchdogProcess, LeavesASilentProcessAloneWhileNotFrosted) {
    EXPECT_EXIT(silentWhileClear(), ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace quelmo
