// SPDX-License-Identifier: MIT
#include "platform/motion/opentrack_wire.h"

#include "platform/motion/motion_wire.h"

#include <cmath>

namespace quelmo::opentrack {

bool decode(const unsigned char* data, std::size_t size, Pose& out) {
    if (size != kPacketSize)
        return false;
    double v[6];
    for (int i = 0; i < 6; ++i) {
        v[i] = wire::readDoubleLE(data + 8 * i);
        if (!std::isfinite(v[i]))
            return false;
    }
    out = Pose{v[0], v[1], v[2], v[3], v[4], v[5]};
    return true;
}

void encode(const Pose& p, unsigned char* out) {
    const double v[6] = {p.x, p.y, p.z, p.yaw, p.pitch, p.roll};
    for (int i = 0; i < 6; ++i)
        wire::writeDoubleLE(v[i], out + 8 * i);
}

double headingOf(const Pose& pose) {
    if (pose.yaw >= -180.0 && pose.yaw <= 180.0)
        return pose.yaw;
    double h = std::fmod(pose.yaw, 360.0);
    if (h > 180.0)
        h -= 360.0;
    if (h < -180.0)
        h += 360.0;
    return h;
}

} // namespace quelmo::opentrack
