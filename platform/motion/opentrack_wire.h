// SPDX-License-Identifier: MIT
#pragma once

// opentrack's "UDP over network" output: one 48-byte datagram per pose, six
// little-endian doubles X, Y, Z (centimetres), yaw, pitch, roll (degrees).

#include <cstddef>

namespace quelmo::opentrack {

inline constexpr std::size_t kPacketSize = 48;

struct Pose {
    double x = 0, y = 0, z = 0, yaw = 0, pitch = 0, roll = 0;
};

// True when data is exactly one packet of six finite numbers.
bool decode(const unsigned char* data, std::size_t size, Pose& out);
void encode(const Pose& pose, unsigned char* out);

// The heading Quelmo uses for a pose: the yaw, wrapped into [-180, 180].
double headingOf(const Pose& pose);

} // namespace quelmo::opentrack
