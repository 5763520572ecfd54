// SPDX-License-Identifier: MIT
#include "tools/sim/hostile_frames.h"

#include "platform/motion/earbuds_wire.h"

#include <cmath>
#include <cstring>

namespace quelmo::sim {

namespace {

// xorshift32: the same rude frames on every run.
std::uint32_t next(std::uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

void writeLength(unsigned char* frame, std::size_t size) {
    frame[10] = static_cast<unsigned char>((size - earbuds::kSensorHeader) & 0xFF);
    frame[11] = static_cast<unsigned char>((size - earbuds::kSensorHeader) >> 8);
}

} // namespace

std::size_t poseShapedPropertyList(double degrees, std::uint32_t& noise, unsigned char* out) {
    using namespace earbuds;
    const double half = degrees * 3.141592653589793 / 360.0;
    const DeviceMotion turned{0, 0, std::sin(half), std::cos(half), 0, 0, -1, 0, 0, 0};
    unsigned char sample[kMaxSensorFrame];
    const std::size_t n = encodeSensor(fromDeviceMotion(turned, 1), 7, Envelope::v1, sample);
    const std::size_t size = 90 + next(noise) % 101;
    std::memcpy(out, kSensorPrefix, sizeof kSensorPrefix);
    // A protobuf message with a binary property list in field 4.
    static constexpr unsigned char head[] = {0x08, 0x11, 0x10, 0x02, 0x22, 0x00, 'b',  'p',
                                             'l',  'i',  's',  't',  '0',  '0',  0xD1, 0x01};
    std::memcpy(out + kSensorHeader, head, sizeof head);
    out[kSensorHeader + 5] = static_cast<unsigned char>(size - kSensorHeader - 6);
    for (std::size_t i = kSensorHeader + sizeof head; i < size - kSensorTail; ++i)
        out[i] = static_cast<unsigned char>(0x50 + next(noise) % 32);
    std::memcpy(out + size - kSensorTail, sample + n - kSensorTail, kSensorTail);
    writeLength(out, size);
    return size;
}

std::size_t randomSensorBody(std::uint32_t& noise, unsigned char* out) {
    using namespace earbuds;
    const std::size_t size = kSensorHeader + 58 + next(noise) % 93;
    std::memcpy(out, kSensorPrefix, sizeof kSensorPrefix);
    for (std::size_t i = kSensorHeader; i < size; ++i)
        out[i] = static_cast<unsigned char>(next(noise));
    writeLength(out, size);
    return size;
}

} // namespace quelmo::sim
