// SPDX-License-Identifier: MIT
#include "core/decision_preview.h"
#include "core/privacy_guard.h"
#include "core/wrap_degrees.h"
#include "guard_driver.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace quelmo {
namespace {

using Status = PrivacyGuard::Status;
using testing::GuardDriver;

double uniform(std::mt19937& rng, double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(rng);
}

// Settings drawn over a wide range, so that each rule is sometimes the one
// that decides.
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

// What may come next: a head reading across the screen (turns of up to 20
// degrees with short holds), now and then turning away or stepping, with
// gaps from 1 ms to 2 s.
struct Future {
    double heading, vertical, at;
};
std::vector<Future> randomFuture(double heading, double t, std::mt19937& rng) {
    std::vector<Future> out;
    double target = heading;
    for (int i = 0; i < 300; ++i) {
        t += rng() % 60 == 0 ? uniform(rng, 0.5, 2.0) : uniform(rng, 0.001, 0.04);
        if (rng() % 40 == 0) {
            target = heading + uniform(rng, -20.0, 20.0);
        }
        if (rng() % 150 == 0) {
            target = heading + uniform(rng, -120.0, 120.0); // turning away
        }
        heading += (target - heading) * 0.2;
        double v = uniform(rng, -0.01, 0.01);
        if (rng() % 50 == 0) {
            v = uniform(rng, 0.05, 0.4); // a footstep
        }
        out.push_back({wrapDegrees(heading + uniform(rng, -0.5, 0.5)), v, t});
    }
    return out;
}

// The guard given the same samples is the judge: every sample the preview
// admits left its decisions as they were, the first one refused changed one
// (or came too late), and the guard the preview was made of is untouched.
TEST(DecisionPreview, AdmitsExactlyTheSamplesThatDecideNothingEvenWhileTheHeadMoves) {
    int admitted = 0;
    int refusedDeciding = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 rng(seed);
        PrivacyGuard g;
        randomSettings(g, rng);
        double t = uniform(rng, 0.0, 100.0);
        randomPast(g, t, rng);
        const auto preview = DecisionPreview::of(g, t + 1.5);
        if (!preview) {
            EXPECT_FALSE(DecisionPreview::isPossible(g));
            continue;
        }
        bool frostCalled = false;
        g.onFrostChange = [&](bool) { frostCalled = true; };
        const PrivacyGuard::Decisions original = g.decisions(t);
        const double originalAngle = g.detector().angle();

        DecisionPreview p = *preview;
        PrivacyGuard judge = g;
        judge.onFrostChange = nullptr;
        const std::string where = "seed " + std::to_string(seed);
        for (const Future& f : randomFuture(g.detector().forward().value_or(0.0), t, rng)) {
            const PrivacyGuard::Decisions before = judge.decisions(f.at);
            judge.motion(f.heading, f.vertical, f.at);
            const bool decided = !(judge.decisions(f.at) == before);
            if (p.admits(f.heading, f.vertical, f.at)) {
                ASSERT_FALSE(decided) << where;
                ++admitted;
                continue;
            }
            ASSERT_TRUE(decided || f.at >= t + 1.5) << where;
            refusedDeciding += decided ? 1 : 0;
            EXPECT_FALSE(p.admits(f.heading, f.vertical, f.at)) << where << ": spent";
            break;
        }
        EXPECT_FALSE(frostCalled) << where;
        EXPECT_EQ(g.decisions(t), original) << where;
        EXPECT_EQ(g.detector().angle(), originalAngle) << where;
    }
    // The property was really exercised, both ways.
    EXPECT_GT(admitted, 5000);
    EXPECT_GT(refusedDeciding, 20);
}

TEST(DecisionPreview, NoneWhileNotLiveAwayOrFrosted) {
    GuardDriver d;
    EXPECT_FALSE(DecisionPreview::of(d.guard, 1e9)) << "not live";
    d.hold(0.0, 1.0);
    EXPECT_TRUE(DecisionPreview::of(d.guard, 1e9)) << "warming up decides nothing by itself";
    d.hold(0.0, 3.0);
    d.turn(80.0);
    d.hold(80.0, 0.5);
    ASSERT_TRUE(d.guard.isFrosted());
    EXPECT_FALSE(DecisionPreview::of(d.guard, 1e9)) << "frosted";
    d.turn(0.0);
    d.hold(0.0, 2.0);
    ASSERT_FALSE(d.guard.isFrosted());
    EXPECT_TRUE(DecisionPreview::of(d.guard, 1e9));
    d.walk(0.0, 4.0);
    ASSERT_TRUE(d.guard.isAway());
    EXPECT_FALSE(DecisionPreview::of(d.guard, 1e9)) << "away";
}

} // namespace
} // namespace quelmo
