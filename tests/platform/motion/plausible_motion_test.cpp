// SPDX-License-Identifier: MIT
// Only samples a head can produce pass: a one-sample spike of the pose is
// dropped, a real leap passes one sample late, a hard knock is odd.

#include "platform/motion/plausible_motion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace quelmo {
namespace {

DeviceMotion turned(double degrees, double vertical = 0) {
    const double half = degrees * 3.141592653589793 / 360.0;
    return DeviceMotion{0, 0, std::sin(half), std::cos(half), 0, 0, -1, 0, 0, vertical};
}

std::vector<double> screenAll(PlausibleMotion& screen, const std::vector<DeviceMotion>& in) {
    std::vector<double> headings;
    for (const DeviceMotion& m : in) {
        DeviceMotion out[2];
        const std::size_t n = screen.screen(m, out);
        for (std::size_t i = 0; i < n; ++i)
            headings.push_back(std::round(headingDegrees(out[i])));
    }
    return headings;
}

TEST(PlausibleMotion, SpikesAreDroppedLeapsPassKnocksAreOdd) {
    PlausibleMotion screen;
    // A head turning 20 degrees a sample passes as it is.
    EXPECT_EQ(screenAll(screen, {turned(0), turned(20), turned(40), turned(20)}),
              (std::vector<double>{0, 20, 40, 20}));
    // A pose 90 degrees off for one sample, in a still stream: dropped.
    EXPECT_EQ(screenAll(screen, {turned(20), turned(110), turned(20), turned(20)}),
              (std::vector<double>{20, 20, 20}));
    EXPECT_EQ(screen.odd(), 1u);
    // A leap that stays (the earbuds re-centred, or samples were lost):
    // passed one sample late, nothing lost.
    EXPECT_EQ(screenAll(screen, {turned(-70), turned(-70), turned(-75)}),
              (std::vector<double>{-70, -70, -75}));
    // Two spikes in a row, each far from the other: both dropped.
    EXPECT_EQ(screenAll(screen, {turned(100), turned(-170), turned(-75)}),
              (std::vector<double>{-75}));
    EXPECT_EQ(screen.odd(), 3u);
    // 6 g up, or numbers that are no numbers: odd, and the stream goes on.
    EXPECT_EQ(screenAll(screen, {turned(-75, 6.0), turned(-75, NAN), turned(-74, 0.4)}),
              (std::vector<double>{-74}));
    EXPECT_EQ(screen.odd(), 5u);
    // After a reset the first sample is taken as it comes.
    screen.reset();
    EXPECT_EQ(screenAll(screen, {turned(150)}), (std::vector<double>{150}));
}

} // namespace
} // namespace quelmo
