// SPDX-License-Identifier: MIT
// Fuzzes the earbuds' frame readers: nothing may crash or read out of
// bounds; an accepted sensor frame gives a unit attitude, finite heading and
// vertical acceleration, and survives a trip through the simulator's encoder.

#include "platform/motion/earbuds_wire.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    using namespace quelmo;
    using namespace quelmo::earbuds;
    (void)frameKindName(classify(data, size));
    std::uint8_t primary = 0, secondary = 0;
    if (decodeEarDetection(data, size, primary, secondary))
        (void)wearingOf(primary, secondary);

    SensorFrame frame;
    if (decodeSensor(data, size, frame) != SensorStatus::ok)
        return 0;
    const DeviceMotion m = toDeviceMotion(frame);
    const double norm = m.qx * m.qx + m.qy * m.qy + m.qz * m.qz + m.qw * m.qw;
    const double heading = headingDegrees(m);
    const double vertical = verticalAcceleration(m);
    if (std::fabs(norm - 1.0) > 1e-9 || !std::isfinite(heading) || heading < -180.0 ||
        heading > 180.0 || !std::isfinite(vertical) || std::fabs(vertical) > 200.0) {
        std::abort();
    }
    unsigned char again[kMaxSensorFrame];
    const std::size_t n = encodeSensor(frame, static_cast<std::uint32_t>(size * 977),
                                       size % 2 == 0 ? Envelope::v1 : Envelope::v4, again);
    SensorFrame back;
    if (decodeSensor(again, n, back) != SensorStatus::ok || back.timestampNs != frame.timestampNs)
        std::abort();
    for (int i = 0; i < 3; ++i) {
        if (back.quaternion[i] != frame.quaternion[i] ||
            back.acceleration[i] != frame.acceleration[i] ||
            back.angularRate[i] != frame.angularRate[i])
            std::abort();
    }
    return 0;
}
