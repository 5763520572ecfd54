// SPDX-License-Identifier: MIT
#include "core/privacy_guard.h"
#include "core/quiet_band.h"
#include "core/wrap_degrees.h"
#include "guard_driver.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace quelmo {
namespace {

using Status = PrivacyGuard::Status;
using testing::GuardDriver;

// Everything a quiet sample must leave as it is.
struct Decisions {
    bool live, frosted, away, turnedAway, walking;
    Status status;
    std::int64_t steps, softSteps, jumps;
    bool operator==(const Decisions&) const = default;
};

Decisions decisionsOf(const PrivacyGuard& g, double at) {
    return {g.isLive(),
            g.isFrosted(),
            g.isAway(),
            g.detector().isTurnedAway(),
            g.walker().isWalking(),
            g.status(at),
            g.walker().stepsInRhythm(),
            g.walker().softSteps(),
            g.detector().jumpsCancelled()};
}

double uniform(std::mt19937& rng, double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(rng);
}

// Settings drawn so that each limit of the band (trigger angle, drift band,
// jump minimum, either step threshold) is sometimes the tightest.
void randomSettings(PrivacyGuard& g, std::mt19937& rng) {
    TurnSettings& t = g.detector().settings;
    t.triggerAngle = uniform(rng, 25.0, 70.0);
    t.driftBand = uniform(rng, 5.0, 80.0);
    t.jumpMinimum = uniform(rng, 5.0, 80.0);
    t.jumpSpeed = uniform(rng, 50.0, 1500.0);
    t.smoothingTimeConstant = uniform(rng, 0.005, 0.3);
    t.driftTimeConstant = uniform(rng, 0.5, 30.0);
    t.driftLearningTime = uniform(rng, 0.0, 10.0);
    t.maxDriftRate = uniform(rng, 0.0, 2.0);
    t.warmup = uniform(rng, 0.0, 3.0);
    WalkSettings& w = g.walker().settings;
    w.stepThreshold = uniform(rng, 0.03, 0.2);
    w.softThreshold = uniform(rng, 0.03, 0.15);
    w.rearmLevel = uniform(rng, -0.02, 0.03);
    g.away.frostWhenWalkingAway = rng() % 4 != 0;
}

// A random past: holds, turns, jitter, footsteps and keyboard readings.
void randomPast(PrivacyGuard& g, double& t, std::mt19937& rng) {
    double heading = uniform(rng, -180.0, 180.0);
    const int segments = 1 + static_cast<int>(rng() % 6);
    for (int s = 0; s < segments; ++s) {
        const int kind = static_cast<int>(rng() % 4);
        const double target = kind == 1 ? heading + uniform(rng, -90.0, 90.0) : heading;
        const int n = 20 + static_cast<int>(rng() % 300);
        for (int i = 0; i < n; ++i) {
            t += uniform(rng, 0.005, 0.06);
            heading += (target - heading) * 0.1 + uniform(rng, -0.5, 0.5);
            double v = uniform(rng, -0.01, 0.01);
            if (kind == 2 && i % 25 < 3) {
                v = uniform(rng, 0.05, 0.4); // a footstep
            }
            g.motion(wrapDegrees(heading), v, t);
            if (kind == 3 && i % 10 == 0) {
                g.inputActivity(uniform(rng, 0.0, 3.0), t);
            }
        }
    }
}

// Samples the band admits, the adversarial way: the heading and the vertical
// acceleration held at either edge for random spells, gaps from 1 ms to 2 s.
void checkQuietRun(const PrivacyGuard& start, const QuietBand& band, double t, std::mt19937& rng,
                   const std::string& where) {
    PrivacyGuard g = start;
    g.onFrostChange = [&](bool) { ADD_FAILURE() << where << ": frost changed"; };
    const Decisions before = decisionsOf(g, t);
    // Just inside either edge: exactly on it may round to outside.
    double headingEdge = 1.0 - 1e-9;
    double verticalEdge = 1.0 - 1e-9;
    for (int i = 0; i < 400; ++i) {
        t += rng() % 50 == 0 ? uniform(rng, 0.5, 2.0) : uniform(rng, 0.001, 0.06);
        if (rng() % 30 == 0) {
            headingEdge = -headingEdge;
        }
        if (rng() % 40 == 0) {
            verticalEdge = -verticalEdge;
        }
        const bool edge = rng() % 4 != 0;
        const double h = wrapDegrees(band.heading + band.headingHalfWidth *
                                                        (edge ? headingEdge : uniform(rng, -1, 1)));
        const double v =
            band.vertical + band.verticalHalfWidth * (edge ? verticalEdge : uniform(rng, -1, 1));
        ASSERT_TRUE(band.admits(h, v, t)) << where;
        g.motion(h, v, t);
        ASSERT_EQ(decisionsOf(g, t), before) << where << ", quiet sample " << i;
    }
}

TEST(QuietBand, NoSequenceOfAdmittedSamplesChangesADecision) {
    int checked = 0;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        std::mt19937 rng(seed);
        PrivacyGuard g;
        randomSettings(g, rng);
        double t = uniform(rng, 0.0, 100.0);
        randomPast(g, t, rng);
        // Calm down so that a band is likely, with single twitches of the
        // head and bumps below a step, checking along the way.
        double heading = g.detector().forward().value_or(0.0);
        for (int i = 0; i < 600; ++i) {
            t += uniform(rng, 0.01, 0.04);
            const double twitch = rng() % 15 == 0 ? uniform(rng, -20.0, 20.0) : 0.0;
            const double bump = rng() % 10 == 0 ? uniform(rng, -0.1, 0.1) : 0.0;
            g.motion(heading + twitch + uniform(rng, -1.0, 1.0), bump + uniform(rng, -0.005, 0.005),
                     t);
            if (rng() % 12 == 0) {
                if (const auto band = g.quietBand()) {
                    checkQuietRun(g, *band, t, rng, "seed " + std::to_string(seed));
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 2000); // the property was really exercised
}

TEST(QuietBand, OnlyAQuietStateHasABandAndSamplesOutsideItDecide) {
    GuardDriver d;
    d.hold(0.0, 1.0);
    EXPECT_FALSE(d.guard.quietBand()) << "warming up";
    d.hold(0.0, 3.0);
    auto band = d.guard.quietBand();
    ASSERT_TRUE(band);
    EXPECT_DOUBLE_EQ(band->heading, 0.0);
    EXPECT_DOUBLE_EQ(band->headingHalfWidth, 9.0); // 0.45 x the drift band and jump minimum
    EXPECT_DOUBLE_EQ(band->from, d.t - 0.02);
    EXPECT_FALSE(band->admits(0.0, 0.0, band->from - 0.001)) << "stamped before the latest";
    EXPECT_FALSE(band->admits(9.5, 0.0, d.t));
    EXPECT_FALSE(band->admits(0.0, band->vertical + 0.04, d.t));

    // A head turning to the trigger angle leaves the band before a turn is pending.
    d.turn(30.0);
    EXPECT_FALSE(d.guard.quietBand());
    d.hold(52.0, 0.2);
    EXPECT_FALSE(d.guard.quietBand()) << "turn pending";
    d.hold(52.0, 0.5);
    ASSERT_TRUE(d.guard.isFrosted());
    EXPECT_FALSE(d.guard.quietBand()) << "frosted";
    d.hold(0.0, 2.0);
    ASSERT_FALSE(d.guard.isFrosted());
    ASSERT_TRUE(d.guard.quietBand());

    // One footstep is enough to end the band; it comes back when the count is over.
    for (int i = 0; i < 3; ++i) {
        d.guard.motion(0.0, 0.3, d.t);
        d.t += 0.02;
    }
    d.hold(0.0, 0.2);
    EXPECT_EQ(d.guard.walker().stepsInRhythm(), 1);
    EXPECT_FALSE(d.guard.quietBand()) << "a step counted";
    d.hold(0.0, 3.0);
    EXPECT_TRUE(d.guard.quietBand());

    d.walk(0.0, 4.0);
    ASSERT_TRUE(d.guard.isAway());
    EXPECT_FALSE(d.guard.quietBand()) << "away";
    d.guard.signalLost(d.t);
    d.guard.recenter();
    EXPECT_FALSE(d.guard.quietBand()) << "not live";
}

} // namespace
} // namespace quelmo
