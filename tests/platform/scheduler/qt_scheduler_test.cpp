// SPDX-License-Identifier: MIT
#include "platform/scheduler/qt_scheduler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace quelmo {
namespace {

using namespace std::chrono_literals;

// Runs the event loop until `done` holds or `timeout` seconds pass.
bool runUntil(const std::function<bool()>& done, double timeout = 5.0) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeout * 1000) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

void runFor(double seconds) {
    runUntil([] { return false; }, seconds);
}

TEST(QtScheduler, UptimeIsTheMonotonicClock) {
    QtScheduler s;
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const double monotonic = static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
    const double a = s.uptime();
    EXPECT_NEAR(a, monotonic, 0.5);
    const double b = s.uptime();
    EXPECT_GE(b, a);
    EXPECT_DOUBLE_EQ(systemUptime() >= b ? 1.0 : 0.0, 1.0);
}

TEST(QtScheduler, NowIsTheWallClock) {
    QtScheduler s;
    const auto diff = s.now() - std::chrono::system_clock::now();
    EXPECT_LT(std::chrono::abs(diff), 1s);
}

TEST(QtScheduler, PostRunsOnTheNextTurnInOrder) {
    QtScheduler s;
    std::string order;
    s.post([&] { order += '1'; });
    s.post([&] {
        order += '2';
        s.post([&] { order += '4'; });
    });
    s.post([&] { order += '3'; });
    EXPECT_EQ(order, "");
    ASSERT_TRUE(runUntil([&] { return order.size() == 4; }));
    EXPECT_EQ(order, "1234");
}

TEST(QtScheduler, PostFromAnotherThreadRunsOnTheMainThread) {
    QtScheduler s;
    QThread* ranOn = nullptr;
    std::thread worker([&] { s.post([&] { ranOn = QThread::currentThread(); }); });
    worker.join();
    ASSERT_TRUE(runUntil([&] { return ranOn != nullptr; }));
    EXPECT_EQ(ranOn, QCoreApplication::instance()->thread());
}

TEST(QtScheduler, PostedActionsAreDroppedWithTheScheduler) {
    bool ran = false;
    {
        QtScheduler s;
        s.post([&] { ran = true; });
    }
    runFor(0.05);
    EXPECT_FALSE(ran);
}

TEST(QtScheduler, OneShotFiresOnceAfterItsDelay) {
    QtScheduler s;
    const double start = s.uptime();
    std::vector<double> at;
    auto timer = s.scheduleOnce(0.05, [&] { at.push_back(s.uptime()); });
    EXPECT_TRUE(timer->isActive());
    ASSERT_TRUE(runUntil([&] { return !at.empty(); }));
    runFor(0.1);
    ASSERT_EQ(at.size(), 1u);
    EXPECT_GE(at[0] - start, 0.049);
    EXPECT_FALSE(timer->isActive());
}

TEST(QtScheduler, RepeatingTimerFiresUntilCancelled) {
    QtScheduler s;
    int ticks = 0;
    auto timer = s.scheduleRepeating(0.02, 0.005, [&] { ++ticks; });
    ASSERT_TRUE(runUntil([&] { return ticks >= 3; }));
    EXPECT_TRUE(timer->isActive());
    timer->cancel();
    EXPECT_FALSE(timer->isActive());
    const int stoppedAt = ticks;
    runFor(0.1);
    EXPECT_EQ(ticks, stoppedAt);
}

TEST(QtScheduler, DestroyingTheHandleCancels) {
    QtScheduler s;
    int fired = 0;
    auto once = s.scheduleOnce(0.01, [&] { ++fired; });
    auto repeating = s.scheduleRepeating(0.01, 0, [&] { ++fired; });
    once.reset();
    repeating.reset();
    runFor(0.08);
    EXPECT_EQ(fired, 0);
}

TEST(QtScheduler, ARepeatingTimerMayCancelItselfWhileFiring) {
    QtScheduler s;
    int ticks = 0;
    TimerHandle timer;
    timer = s.scheduleRepeating(0.01, 0, [&] {
        if (++ticks == 2) {
            timer->cancel();
        }
    });
    ASSERT_TRUE(runUntil([&] { return ticks == 2; }));
    runFor(0.08);
    EXPECT_EQ(ticks, 2);
}

TEST(QtScheduler, ATimerMayDestroyItsOwnHandleWhileFiring) {
    QtScheduler s;
    int ticks = 0;
    std::string captured = "alive";
    std::string seen;
    TimerHandle timer;
    timer = s.scheduleRepeating(0.01, 0, [&, captured] {
        ++ticks;
        timer.reset();
        seen = captured; // the action is still alive after its handle is gone
    });
    ASSERT_TRUE(runUntil([&] { return ticks == 1; }));
    runFor(0.08);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(seen, "alive");
}

TEST(QtScheduler, ActionsMayScheduleAndCancelOtherTimers) {
    QtScheduler s;
    std::string order;
    TimerHandle second;
    TimerHandle third;
    auto first = s.scheduleOnce(0.01, [&] {
        order += 'a';
        third->cancel();
        second = s.scheduleOnce(0.01, [&] { order += 'b'; });
    });
    third = s.scheduleOnce(0.05, [&] { order += 'x'; });
    ASSERT_TRUE(runUntil([&] { return order.size() >= 2; }));
    runFor(0.1);
    EXPECT_EQ(order, "ab");
}

TEST(QtScheduler, TimersMayOutliveTheScheduler) {
    int ticks = 0;
    TimerHandle timer;
    {
        QtScheduler s;
        timer = s.scheduleRepeating(0.01, 0, [&] { ++ticks; });
    }
    ASSERT_TRUE(runUntil([&] { return ticks >= 1; }));
    timer.reset();
}

TEST(QtScheduler, TimerTypeFollowsTheTolerance) {
    EXPECT_EQ(QtScheduler::timerTypeFor(0.2, 0.05), Qt::CoarseTimer); // the tick
    EXPECT_EQ(QtScheduler::timerTypeFor(0.2, 0.01), Qt::CoarseTimer); // 5%
    EXPECT_EQ(QtScheduler::timerTypeFor(0.2, 0.005), Qt::PreciseTimer);
    EXPECT_EQ(QtScheduler::timerTypeFor(0.2, 0.0), Qt::PreciseTimer);
    EXPECT_EQ(QtScheduler::timerTypeFor(0.0, 1.0), Qt::PreciseTimer);
}

TEST(QtScheduler, OddDelaysFireAtOnce) {
    QtScheduler s;
    int fired = 0;
    auto a = s.scheduleOnce(-1, [&] { ++fired; });
    auto b = s.scheduleOnce(std::nan(""), [&] { ++fired; });
    ASSERT_TRUE(runUntil([&] { return fired == 2; }, 1.0));
}

} // namespace
} // namespace quelmo
