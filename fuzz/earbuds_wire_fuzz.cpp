// SPDX-License-Identifier: MIT
// Fuzzes the earbuds' frame readers: nothing may crash or read out of
// bounds; an accepted sensor frame has a sample's structure, gives a unit
// attitude, finite heading and vertical acceleration, and survives a trip
// through the simulator's encoder; what the plausibility screen passes is
// finite and within its limits; a capture line reads back as written.

#include "platform/motion/earbuds_capture.h"
#include "platform/motion/earbuds_wire.h"
#include "platform/motion/plausible_motion.h"

#include <string>

#include <cmath>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    using namespace quelmo;
    using namespace quelmo::earbuds;
    (void)frameKindName(classify(data, size));
    std::uint8_t primary = 0, secondary = 0;
    if (decodeEarDetection(data, size, primary, secondary))
        (void)wearingOf(primary, secondary);

    // Any bytes as a line of a capture file; and every frame written as one
    // reads back.
    CapturedFrame captured;
    std::string why;
    (void)parseCaptureLine(std::string(reinterpret_cast<const char*>(data), size), captured, why);
    if (size < 512) {
        const std::string line = captureLine(1.5, size % 2 == 0, data, size);
        if (parseCaptureLine(line, captured, why) != CaptureLine::frame ||
            captured.bytes.size() != size ||
            (size > 0 && std::memcmp(captured.bytes.data(), data, size) != 0))
            std::abort();
    }

    SensorFrame frame;
    if (decodeSensor(data, size, frame) != SensorStatus::ok)
        return 0;
    // A sample is never an all-zero body, and always has its leading 0x01.
    if (data[size - kSensorTail] != 0x01)
        std::abort();
    static PlausibleMotion screen;
    PlausibleMotion::Timed passed[2];
    const std::size_t passes =
        screen.screen(toDeviceMotion(frame), static_cast<double>(size), passed);
    for (std::size_t i = 0; i < passes; ++i) {
        const DeviceMotion& p = passed[i].motion;
        const double g = std::sqrt((p.gx + p.ax) * (p.gx + p.ax) + (p.gy + p.ay) * (p.gy + p.ay) +
                                   (p.gz + p.az) * (p.gz + p.az));
        if (!std::isfinite(g) || g > PlausibleMotion::kMaxAcceleration ||
            !std::isfinite(headingDegrees(p)))
            std::abort();
    }
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
