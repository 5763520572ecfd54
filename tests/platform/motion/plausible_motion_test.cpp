// SPDX-License-Identifier: MIT
// Only samples a head can produce pass: a one-sample spike of the pose is
// dropped, a real leap passes one sample late, a hard knock is odd.

#include "core/turn_detector.h"
#include "platform/motion/plausible_motion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace quelmo {
namespace {

DeviceMotion pose(double degrees, double vertical = 0) {
    const double half = degrees * 3.141592653589793 / 360.0;
    return DeviceMotion{0, 0, std::sin(half), std::cos(half), 0, 0, -1, 0, 0, vertical};
}

std::vector<double> screenAll(PlausibleMotion& screen, const std::vector<DeviceMotion>& in) {
    std::vector<double> headings;
    for (const DeviceMotion& m : in) {
        PlausibleMotion::Timed out[2];
        const std::size_t n = screen.screen(m, 0.0, out);
        for (std::size_t i = 0; i < n; ++i)
            headings.push_back(std::round(headingDegrees(out[i].motion)));
    }
    return headings;
}

TEST(PlausibleMotion, SpikesAreDroppedLeapsPassKnocksAreOdd) {
    PlausibleMotion screen;
    // A head turning 20 degrees a sample passes as it is.
    EXPECT_EQ(screenAll(screen, {pose(0), pose(20), pose(40), pose(20)}),
              (std::vector<double>{0, 20, 40, 20}));
    // A pose 90 degrees off for one sample, in a still stream: dropped.
    EXPECT_EQ(screenAll(screen, {pose(20), pose(110), pose(20), pose(20)}),
              (std::vector<double>{20, 20, 20}));
    EXPECT_EQ(screen.odd(), 1u);
    // A leap that stays (the earbuds re-centred, or samples were lost):
    // passed one sample late, nothing lost.
    EXPECT_EQ(screenAll(screen, {pose(-70), pose(-70), pose(-75)}),
              (std::vector<double>{-70, -70, -75}));
    // Two spikes in a row, each far from the other: both dropped.
    EXPECT_EQ(screenAll(screen, {pose(100), pose(-170), pose(-75)}), (std::vector<double>{-75}));
    EXPECT_EQ(screen.odd(), 3u);
    // 6 g up, or numbers that are no numbers: odd, and the stream goes on.
    EXPECT_EQ(screenAll(screen, {pose(-75, 6.0), pose(-75, NAN), pose(-74, 0.4)}),
              (std::vector<double>{-74}));
    EXPECT_EQ(screen.odd(), 5u);
    // After a reset the first sample is taken as it comes.
    screen.reset();
    EXPECT_EQ(screenAll(screen, {pose(150)}), (std::vector<double>{150}));
}

// The earbuds re-centre: the heading leaps 90 degrees and stays. Held back
// one sample, the leap still reaches the turn detector at the time it came,
// as fast as it happened, so the detector takes it for a re-centre and
// nothing frosts; a one-sample spike never reaches it at all.
TEST(PlausibleMotion, ALeapStaysARecentreForTheTurnDetector) {
    PlausibleMotion screen;
    TurnDetector turns;
    bool turned = false;
    const auto feed = [&](double heading, double at) {
        PlausibleMotion::Timed out[2];
        const std::size_t n = screen.screen(pose(heading), at, out);
        for (std::size_t i = 0; i < n; ++i)
            turned = turns.update(headingDegrees(out[i].motion), out[i].at) || turned;
    };
    double t = 0;
    for (; t < 5.0; t += 0.04)
        feed(0.0, t);
    feed(170.0, t += 0.04); // a spike
    for (int i = 0; i < 10; ++i)
        feed(0.0, t += 0.04);
    for (int i = 0; i < 100; ++i)
        feed(90.0, t += 0.04); // a leap that stays, for 4 s
    EXPECT_FALSE(turned);
    EXPECT_EQ(turns.jumpsCancelled(), 1);
    EXPECT_LT(std::fabs(turns.angle()), 5.0);
}

} // namespace
} // namespace quelmo
