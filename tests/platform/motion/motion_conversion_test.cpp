// SPDX-License-Identifier: MIT
#include "platform/motion/motion_conversion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quelmo {
namespace {

DeviceMotion attitude(double x, double y, double z, double w) {
    DeviceMotion m;
    m.qx = x;
    m.qy = y;
    m.qz = z;
    m.qw = w;
    return m;
}

DeviceMotion accelerations(double gx, double gy, double gz, double ax, double ay, double az) {
    DeviceMotion m;
    m.gx = gx;
    m.gy = gy;
    m.gz = gz;
    m.ax = ax;
    m.ay = ay;
    m.az = az;
    return m;
}

TEST(MotionConversion, HeadingIsTheYawAboutTheVerticalAxis) {
    const double h = std::sqrt(0.5);
    EXPECT_DOUBLE_EQ(headingDegrees(attitude(0, 0, 0, 1)), 0.0);
    EXPECT_NEAR(headingDegrees(attitude(0, 0, h, h)), 90.0, 1e-9);
    EXPECT_NEAR(headingDegrees(attitude(0, 0, -h, h)), -90.0, 1e-9);
    EXPECT_NEAR(headingDegrees(attitude(0, 0, 1, 0)), 180.0, 1e-9);
}

TEST(MotionConversion, VerticalIsTheUpwardPartOfTheUserAcceleration) {
    EXPECT_DOUBLE_EQ(verticalAcceleration(accelerations(0, 0, -1, 0, 0, 0.2)), 0.2);
    EXPECT_DOUBLE_EQ(verticalAcceleration(accelerations(0, 0, -1, 0.3, 0, 0)), 0.0);
    // Only gravity's direction counts.
    EXPECT_DOUBLE_EQ(verticalAcceleration(accelerations(0, 0, -0.5, 0, 0, 0.2)), 0.2);
}

TEST(MotionConversion, GravityWithoutLengthNeverDividesByZero) {
    EXPECT_EQ(verticalAcceleration(accelerations(0, 0, 0, 0.4, -2, 9)), 0.0);
    const double tiny = verticalAcceleration(accelerations(0, 0, -1e-7, 0, 0, 1));
    EXPECT_TRUE(std::isfinite(tiny));
    EXPECT_NEAR(tiny, 0.1, 1e-12); // divided by 1e-6, not by the tiny length
}

} // namespace
} // namespace quelmo
