// SPDX-License-Identifier: MIT
#include "app/periodic_line.h"

#include <gtest/gtest.h>

namespace quelmo {
namespace {

TEST(PeriodicLine, CountsAWindowOfSamplesAndShowsTheIdleTimeAsTheSampleCame) {
    const PrivacyGuard guard;
    PeriodicLine line;
    EXPECT_TRUE(line.count(-0.25, 0.2)); // the first sample after the start is due
    EXPECT_FALSE(line.count(0.5, 0.3));
    EXPECT_FALSE(line.count(0.125, 0.35));
    EXPECT_TRUE(line.count(0.0, 0.4));
    // Keyboard and mouse idle 5 s now; the sample came 0.7 s ago.
    EXPECT_EQ(line.take(guard, 5.0, 0.7, {{"b", -58.0}, {"a", -100.4}}),
              "angle 0.0 vel 0 frosted 0 away 0 vmin -0.250 vmax 0.500 n 4 steps 0 soft 0 "
              "walking 0 idle 4.3 rssi -100,-58 drop -99");

    // The next line counts afresh; the idle time never goes below 0 (a key
    // pressed since the sample) nor above 9999.
    EXPECT_TRUE(line.count(0.0, 0.7));
    EXPECT_EQ(line.take(guard, 0.2, 0.7, {}),
              "angle 0.0 vel 0 frosted 0 away 0 vmin 0.000 vmax 0.000 n 1 steps 0 soft 0 "
              "walking 0 idle 0.0 rssi  drop -99");
    EXPECT_TRUE(line.count(0.0, 1.0));
    EXPECT_NE(line.take(guard, 1e9, 0.0, {}).find(" idle 9999.0 "), std::string::npos);
}

} // namespace
} // namespace quelmo
