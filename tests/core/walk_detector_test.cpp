// SPDX-License-Identifier: MIT
#include "core/walk_detector.h"

#include <gtest/gtest.h>

#include <vector>

namespace quelmo {
namespace {

constexpr double kRate = 0.02; // 50 Hz, as the earbuds report

// Drives a walk detector with 50 Hz samples: a footstep is a short upward pulse.
struct Walker {
    WalkDetector d;
    double t = 0.0;
    std::vector<double> changes; // times at which update returned true

    void sample(double a) {
        if (d.update(a, t)) {
            changes.push_back(t);
        }
        t += kRate;
    }
    void rest(double seconds) {
        for (const double end = t + seconds - 1e-9; t < end;) {
            sample(0.0);
        }
    }
    // A pulse of three samples followed by rest, `gap` seconds from pulse to pulse.
    void step(double amplitude, double gap) {
        const double start = t;
        for (int i = 0; i < 3; ++i) {
            sample(amplitude);
        }
        rest(gap - (t - start));
    }
};

constexpr double kHard = 0.3;  // filtered peak about 0.23 g
constexpr double kSoft = 0.12; // filtered peak about 0.08 g: soft but not hard

TEST(WalkDetector, RestAndAConstantOffset) {
    Walker w;
    w.rest(5.0);
    EXPECT_EQ(w.d.stepsInRhythm(), 0);
    EXPECT_EQ(w.d.softSteps(), 0);

    // A sudden constant offset is one peak on each counter, then nothing more.
    for (int i = 0; i < 150; ++i) {
        w.sample(0.2);
    }
    EXPECT_EQ(w.d.stepsInRhythm(), 0); // ended by the stop rule long ago
    ASSERT_TRUE(w.d.lastStepAt().has_value());
    EXPECT_LT(*w.d.lastStepAt(), 5.2);
    EXPECT_FALSE(w.d.isWalking());
}

TEST(WalkDetector, OneLongPeakCountsOnce) {
    Walker w;
    w.rest(1.0);
    for (int i = 0; i < 10; ++i) {
        w.sample(0.5);
    }
    EXPECT_EQ(w.d.stepsInRhythm(), 1);
    EXPECT_EQ(w.d.softSteps(), 1);
}

TEST(WalkDetector, FourHardStepsMeanWalking) {
    Walker w;
    w.rest(1.0);
    for (int i = 0; i < 3; ++i) {
        w.step(kHard, 0.5);
    }
    EXPECT_EQ(w.d.stepsInRhythm(), 3);
    EXPECT_FALSE(w.d.isWalking());
    w.step(kHard, 0.5);
    EXPECT_TRUE(w.d.isWalking());
    ASSERT_EQ(w.changes.size(), 1u);
    EXPECT_NEAR(w.changes[0], 2.52, 1e-9); // the fourth peak's second sample
    w.step(kHard, 0.5);
    EXPECT_EQ(w.changes.size(), 1u); // the fifth changes nothing
    EXPECT_EQ(w.d.stepsInRhythm(), 5);
}

TEST(WalkDetector, PeaksTooCloseAreIgnoredAndLongGapsRestart) {
    Walker w;
    w.rest(1.0);
    for (int i = 0; i < 6; ++i) {
        w.step(kHard, 0.2); // every second peak comes too early
    }
    EXPECT_EQ(w.d.stepsInRhythm(), 3);

    Walker g;
    g.rest(1.0);
    g.step(kHard, 0.5);
    g.step(kHard, 1.2);
    EXPECT_EQ(g.d.stepsInRhythm(), 2);
    g.step(kHard, 0.5); // 1.2 s after the previous one
    EXPECT_EQ(g.d.stepsInRhythm(), 1);
}

TEST(WalkDetector, SoftStepsMustKeepARhythm) {
    Walker w;
    w.rest(1.0);
    w.step(kSoft, 0.5);
    w.step(kSoft, 0.5);
    w.step(kSoft, 0.8);
    EXPECT_EQ(w.d.softSteps(), 3);
    EXPECT_EQ(w.d.stepsInRhythm(), 0); // never hard
    w.step(kSoft, 0.5);                // gap 0.8 after 0.5: irregular
    EXPECT_EQ(w.d.softSteps(), 2);

    Walker steady;
    steady.rest(1.0);
    for (int i = 0; i < 5; ++i) {
        steady.step(kSoft, 0.5);
    }
    EXPECT_FALSE(steady.d.isWalking());
    steady.step(kSoft, 0.5);
    EXPECT_TRUE(steady.d.isWalking()); // the sixth regular soft step
}

TEST(WalkDetector, WalkingEndsAfterSilenceAndOnReset) {
    Walker w;
    w.rest(1.0);
    for (int i = 0; i < 4; ++i) {
        w.step(kHard, 0.5);
    }
    ASSERT_TRUE(w.d.isWalking());
    w.rest(1.7);
    EXPECT_FALSE(w.d.isWalking());
    EXPECT_EQ(w.changes.size(), 2u);
    EXPECT_EQ(w.d.stepsInRhythm(), 0);
    EXPECT_EQ(w.d.softSteps(), 0);
    EXPECT_TRUE(w.d.lastStepAt().has_value()); // kept

    Walker r;
    r.rest(1.0);
    for (int i = 0; i < 4; ++i) {
        r.step(kHard, 0.5);
    }
    ASSERT_TRUE(r.d.isWalking());
    r.d.reset();
    EXPECT_FALSE(r.d.isWalking());
    EXPECT_FALSE(r.d.lastStepAt().has_value());
    // After a reset the filter starts from zero, so a steady 0.2 g looks like a peak.
    EXPECT_FALSE(r.d.update(0.2, 100.0));
    EXPECT_FALSE(r.d.update(0.2, 100.02));
    EXPECT_EQ(r.d.stepsInRhythm(), 1);
}

} // namespace
} // namespace quelmo
