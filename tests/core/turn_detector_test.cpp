// SPDX-License-Identifier: MIT
#include "core/turn_detector.h"
#include "core/wrap_degrees.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quelmo {
namespace {

// Time stamps in these tests are multiples of 1/64 s, exact in binary, so the
// delay comparisons are decided by the rules and not by rounding.
constexpr double kStep = 1.0 / 64.0;

TEST(WrapDegrees, KeepsBothEndsAndFoldsEverythingElse) {
    EXPECT_EQ(wrapDegrees(180.0), 180.0);
    EXPECT_EQ(wrapDegrees(-180.0), -180.0);
    EXPECT_EQ(wrapDegrees(540.0), 180.0);
    EXPECT_EQ(wrapDegrees(-540.0), -180.0);
    EXPECT_EQ(wrapDegrees(190.0), -170.0);
    EXPECT_EQ(wrapDegrees(-190.0), 170.0);
    EXPECT_EQ(wrapDegrees(360.0), 0.0);
    EXPECT_EQ(wrapDegrees(725.0), 5.0);
}

// A detector whose smoothing follows the head at once and whose jump and drift
// rules stay out of the way, so the angle equals the heading exactly.
TurnDetector directDetector() {
    TurnDetector d;
    d.settings.smoothingTimeConstant = 1e-9;
    d.settings.jumpMinimum = 1000.0;
    d.settings.driftBand = 0.0;
    return d;
}

// Feeds `heading` from t (inclusive) every kStep until `until` (exclusive);
// returns the time of the first sample at which update returned true, or -1.
double holdUntil(TurnDetector& d, double heading, double& t, double until) {
    double flippedAt = -1.0;
    for (; t < until; t += kStep) {
        if (d.update(heading, t) && flippedAt < 0.0) {
            flippedAt = t;
        }
    }
    return flippedAt;
}

TEST(TurnDetector, FirstSampleStartsTheWarmUp) {
    TurnDetector d;
    EXPECT_TRUE(d.isWarmingUp(0.0)); // no forward yet
    EXPECT_FALSE(d.update(42.0, 10.0));
    EXPECT_EQ(d.angle(), 0.0);
    ASSERT_TRUE(d.forward().has_value());
    EXPECT_EQ(*d.forward(), 42.0);
    EXPECT_TRUE(d.isWarmingUp(12.999));
    EXPECT_FALSE(d.isWarmingUp(13.0));
}

TEST(TurnDetector, HeadingAcrossTheSeamIsASmallChange) {
    TurnDetector d;
    d.update(179.0, 0.0);
    d.update(-179.0, 0.02);
    EXPECT_EQ(d.jumpsCancelled(), 0);
    const double a = 1.0 - std::exp(-0.02 / 0.05);
    EXPECT_DOUBLE_EQ(*d.forward(), wrapDegrees(179.0 + a * 2.0)); // still warming: forward follows
    EXPECT_GT(d.velocity(), 0.0);
}

TEST(TurnDetector, SensorJumpMovesForwardAndHeadingTogether) {
    TurnDetector d;
    double t = 0.0;
    for (; t < 4.0; t += 0.02) {
        d.update(10.0, t);
    }
    const double angleBefore = d.angle();
    const double velocityBefore = d.velocity();
    const double forwardBefore = *d.forward();
    d.update(40.0, t); // 30 degrees in 20 ms: 1500 degrees/s
    EXPECT_EQ(d.jumpsCancelled(), 1);
    EXPECT_NEAR(d.angle(), angleBefore, 1e-9);
    EXPECT_NEAR(d.velocity(), velocityBefore, 1e-9);
    EXPECT_NEAR(*d.forward(), forwardBefore + 30.0, 1e-6);

    // The same 30 degrees spread over half a second is an ordinary turn.
    TurnDetector slow;
    double s = 0.0;
    for (; s < 4.0; s += 0.02) {
        slow.update(10.0, s);
    }
    for (int i = 1; i <= 25; ++i, s += 0.02) {
        slow.update(10.0 + 30.0 * i / 25.0, s);
    }
    EXPECT_EQ(slow.jumpsCancelled(), 0);
    EXPECT_GT(slow.angle(), 20.0);
}

TEST(TurnDetector, TurnOnDelayShrinksWithTheAngle) {
    struct Case {
        double heading;
        double delay;
    };
    for (const Case c : {Case{50.0, 0.3}, Case{57.5, 0.225}, Case{65.0, 0.15}, Case{80.0, 0.15}}) {
        TurnDetector d = directDetector();
        double t = 0.0;
        holdUntil(d, 0.0, t, 4.0);
        const double reached = t;
        const double flipped = holdUntil(d, c.heading, t, 6.0);
        ASSERT_GE(flipped, 0.0) << c.heading;
        EXPECT_TRUE(d.isTurnedAway());
        // The first sample at least `delay` after the first one at the angle.
        EXPECT_GE(flipped - reached, c.delay) << c.heading;
        EXPECT_LT(flipped - reached - kStep, c.delay) << c.heading;
    }
}

TEST(TurnDetector, BrokenRunStartsTheDelayAgain) {
    TurnDetector d = directDetector();
    double t = 0.0;
    holdUntil(d, 0.0, t, 4.0);
    holdUntil(d, 50.0, t, 4.25);
    d.update(49.0, t); // the run breaks
    t += kStep;
    const double restart = t;
    const double flipped = holdUntil(d, 50.0, t, 5.0);
    EXPECT_EQ(flipped - restart, 0.3125); // first multiple of kStep >= 0.3
}

TEST(TurnDetector, HeadSwingingBackFastDoesNotTurnOn) {
    for (const double speed : {65.0, 59.0}) {
        TurnDetector d;
        d.settings.triggerAngle = 170.0; // never while the head swings out
        d.settings.triggerDelay = 0.0;
        d.settings.decisiveDelay = 0.0;
        double t = 0.0;
        for (; t < 4.0; t += kStep) {
            d.update(0.0, t);
        }
        for (double h = 0.0; h < 90.0; h += 60.0 * kStep, t += kStep) {
            d.update(h, t);
        }
        double h = 90.0;
        while (d.angle() > 56.0) {
            d.update(h, t);
            h -= speed * kStep;
            t += kStep;
        }
        d.settings.triggerAngle = 50.0;
        d.update(h, t);
        EXPECT_NEAR(-d.velocity(), speed, 1.0);
        EXPECT_EQ(d.isTurnedAway(), speed < 60.0) << speed;
    }
}

TEST(TurnDetector, ReleaseNeedsTheHeadInsideTheReleaseAngle) {
    TurnDetector d = directDetector();
    double t = 0.0;
    holdUntil(d, 0.0, t, 4.0);
    holdUntil(d, 70.0, t, 5.0);
    ASSERT_TRUE(d.isTurnedAway());

    EXPECT_LT(holdUntil(d, 36.0, t, 7.0), 0.0); // between 35 and 50 nothing changes
    EXPECT_TRUE(d.isTurnedAway());

    const double inside = t;
    const double released = holdUntil(d, 35.0, t, 8.0);
    EXPECT_GE(released - inside, 0.2);
    EXPECT_LT(released - inside - kStep, 0.2);
    EXPECT_FALSE(d.isTurnedAway());

    holdUntil(d, 70.0, t, 9.0);
    ASSERT_TRUE(d.isTurnedAway());
    const double far = t;
    const double fast = holdUntil(d, 20.0, t, 10.0);
    EXPECT_GE(fast - far, 0.05);
    EXPECT_LT(fast - far - kStep, 0.05);
}

TEST(TurnDetector, ResetKeepsTheLearnedDrift) {
    TurnDetector d;
    double t = 0.0;
    double h = 0.0;
    for (; t < 120.0; t += 0.02, h += 0.1 * 0.02) { // a slow sensor drift of 0.1 degrees/s
        d.update(h, t);
    }
    const double rate = d.driftRate();
    EXPECT_GT(rate, 0.0);
    EXPECT_LE(rate, d.settings.maxDriftRate);
    d.reset();
    EXPECT_FALSE(d.forward().has_value());
    EXPECT_EQ(d.driftRate(), rate);
    d.update(h, t);
    EXPECT_TRUE(d.isWarmingUp(t + 2.9));
    EXPECT_FALSE(d.isWarmingUp(t + 3.0));
}

TEST(TurnDetector, TimeStepIsBounded) {
    const double a0 = 1.0 - std::exp(-0.001 / 0.05);
    TurnDetector same;
    same.update(0.0, 5.0);
    same.update(10.0, 5.0); // no time passed: dt = 1 ms
    EXPECT_DOUBLE_EQ(*same.forward(), 10.0 * a0);

    const double a1 = 1.0 - std::exp(-0.5 / 0.05);
    TurnDetector gap;
    gap.settings.warmup = 100.0; // forward keeps following the smoothed heading
    gap.update(0.0, 5.0);
    gap.update(10.0, 15.0); // 10 s gap: dt = 0.5 s
    EXPECT_DOUBLE_EQ(*gap.forward(), 10.0 * a1);
}

TEST(TurnDetector, NudgeAndRecenter) {
    TurnDetector d = directDetector();
    double t = 0.0;
    holdUntil(d, 0.0, t, 4.0);
    holdUntil(d, 30.0, t, 4.5);
    ASSERT_EQ(d.angle(), 30.0);

    d.nudgeForward(-1.0);
    EXPECT_EQ(d.angle(), 30.0);
    d.nudgeForward(0.5);
    EXPECT_EQ(d.angle(), 15.0);
    d.nudgeForward(2.0); // as 1
    EXPECT_EQ(d.angle(), 0.0);
    EXPECT_EQ(*d.forward(), 30.0);

    holdUntil(d, 100.0, t, 5.0);
    ASSERT_TRUE(d.isTurnedAway());
    d.recenter();
    EXPECT_FALSE(d.isTurnedAway());
    EXPECT_EQ(d.angle(), 0.0);
    EXPECT_EQ(*d.forward(), 100.0);
    EXPECT_FALSE(d.isWarmingUp(t)); // no new warm-up

    TurnDetector empty;
    empty.recenter();
    empty.nudgeForward(1.0);
    EXPECT_FALSE(empty.forward().has_value());
}

} // namespace
} // namespace quelmo
