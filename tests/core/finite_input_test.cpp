// SPDX-License-Identifier: MIT
#include "core/privacy_guard.h"
#include "guard_driver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quelmo {
namespace {

using testing::GuardDriver;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

bool finite(const std::optional<double>& v) {
    return !v || std::isfinite(*v);
}

void expectAllFinite(const PrivacyGuard& g, double t) {
    const TurnDetector& d = g.detector();
    EXPECT_TRUE(std::isfinite(d.angle()));
    EXPECT_TRUE(std::isfinite(d.velocity()));
    EXPECT_TRUE(std::isfinite(d.driftRate()));
    EXPECT_TRUE(finite(d.forward()));
    EXPECT_TRUE(finite(g.walker().lastStepAt()));
    EXPECT_TRUE(finite(g.signalDrop()));
    EXPECT_TRUE(finite(g.motionAge(t)));
}

// Every number a caller can hand the guard, poisoned in turn.
TEST(FiniteInput, PoisonedNumbersChangeNothing) {
    for (const double bad : {kNaN, kInf, -kInf, 1e308, -1e308}) {
        GuardDriver d;
        d.pollInput = true;
        d.hold(0.0, 4.0);
        d.turn(30.0);
        d.guard.proximity({{"buds", -60.0}}, d.t);
        const double angle = d.guard.detector().angle();
        const auto forward = d.guard.detector().forward();

        d.guard.motion(bad, 0.0, d.t + 0.02);
        d.guard.motion(10.0, bad, d.t + 0.02);
        d.guard.motion(10.0, 0.0, bad);
        EXPECT_EQ(d.guard.detector().angle(), angle) << bad;
        EXPECT_EQ(d.guard.detector().forward(), forward) << bad;
        EXPECT_NEAR(*d.guard.motionAge(d.t), 0.02, 1e-9) << bad; // no sample was taken

        d.guard.inputActivity(bad, d.t);
        d.guard.inputActivity(0.0, bad);
        d.guard.proximity({{"buds", bad}, {"other", -60.0}}, d.t + 1.0);
        d.guard.proximity({{"buds", -60.0}}, bad);
        d.guard.signalLost(bad);
        EXPECT_TRUE(d.guard.isLive()) << bad;
        expectAllFinite(d.guard, d.t);

        // The guard goes on working normally afterwards.
        d.hold(100.0, 1.0);
        EXPECT_TRUE(d.guard.isFrosted()) << bad;
        d.guard.signalLost(d.t);
        EXPECT_TRUE(d.guard.isAway()) << bad;
        d.guard.inputActivity(0.0, d.t + 1.0);
        EXPECT_FALSE(d.guard.isAway()) << bad;
        expectAllFinite(d.guard, d.t);
    }
}

TEST(FiniteInput, HugeButUsableNumbersStayFinite) {
    GuardDriver d;
    for (const double h : {1e300, -1e300, 1e307, -1e307, 0.0}) {
        d.guard.motion(h, -h, d.t);
        d.t += 0.02;
    }
    d.guard.inputActivity(1e307, -1e307);
    d.guard.proximity({{"a", -1e307}, {"b", 1e307}}, d.t);
    expectAllFinite(d.guard, d.t);
}

} // namespace
} // namespace quelmo
