// SPDX-License-Identifier: MIT
#pragma once

#include <cmath>

namespace quelmo {

// One device-motion sample as a headphone reports it: the attitude quaternion,
// the gravity vector and the user acceleration, both vectors in units of
// standard gravity (g) and in the device's reference frame (z up when the
// head is upright, rotations counter-clockwise seen from above are positive).
struct DeviceMotion {
    double qx = 0, qy = 0, qz = 0, qw = 1;
    double gx = 0, gy = 0, gz = -1;
    double ax = 0, ay = 0, az = 0;
};

// The rotation about the reference frame's z axis (yaw of a z-y-x
// decomposition) in degrees, -180 to 180; positive to the left.
inline double headingDegrees(const DeviceMotion& m) {
    constexpr double pi = 3.141592653589793;
    return std::atan2(2.0 * (m.qx * m.qy + m.qw * m.qz), 1.0 - 2.0 * (m.qy * m.qy + m.qz * m.qz)) *
           180.0 / pi;
}

// The attitude turned by `degrees` about the reference frame's vertical (z),
// before the attitude itself: the heading grows by `degrees`.
inline void turnAboutVertical(DeviceMotion& m, double degrees) {
    constexpr double pi = 3.141592653589793;
    const double h = degrees * pi / 360.0;
    const double s = std::sin(h), c = std::cos(h);
    const DeviceMotion q = m;
    m.qw = c * q.qw - s * q.qz;
    m.qx = c * q.qx - s * q.qy;
    m.qy = c * q.qy + s * q.qx;
    m.qz = c * q.qz + s * q.qw;
}

// The user acceleration's component opposite to gravity (upward), in g.
// Only gravity's direction counts; a gravity vector of (almost) no length is
// divided by 1e-6 instead, so the result stays finite.
inline double verticalAcceleration(const DeviceMotion& m) {
    const double n = std::sqrt(m.gx * m.gx + m.gy * m.gy + m.gz * m.gz);
    const double d = n <= 0.000001 ? 0.000001 : n;
    return -(m.gx * m.ax + m.gy * m.ay + m.gz * m.az) / d;
}

} // namespace quelmo
