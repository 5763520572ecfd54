// SPDX-License-Identifier: MIT
// The earbuds' frames: the four captured sensor frames read word for word and
// turned into heading and vertical acceleration, damaged frames refused, the
// simulator's frames read back, and ear detection.

#include "platform/motion/earbuds_wire.h"
#include "tests/platform/motion/earbuds_frames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace quelmo {
namespace {

using namespace earbuds;
using test::bytesOf;

struct Expected {
    const char* hex;
    std::size_t size;
    std::int16_t quaternion[3];
    std::int16_t rate[3];
    std::int16_t acceleration[3];
    double heading;  // degrees
    double vertical; // g
};

// Heading and vertical acceleration worked out by hand from the words:
// rotating the accelerometer by the quaternion leaves about (0, 0, -1 g).
const Expected kCaptured[] = {
    {test::kCapturedV1, 81, {-20470, 14884, -4020}, {-21, 20, -8}, {425, 911, 190}, -52.28, 0.001},
    {test::kCapturedV2,
     81,
     {-24913, -1409, -11386},
     {-699, 721, 0},
     {-575, 835, 50},
     -22.64,
     0.015},
    {test::kCapturedV3, 81, {1853, 29313, 1}, {0, 0, 0}, {815, -50, 621}, 170.43, -0.002},
    {test::kCapturedV4, 79, {-25635, -6038, -8793}, {-4, -14, 5}, {-636, 743, 290}, 0.24, 0.004},
};

TEST(EarbudsWire, CapturedFramesReadFromTheEnd) {
    for (const Expected& e : kCaptured) {
        const auto bytes = bytesOf(e.hex);
        ASSERT_EQ(bytes.size(), e.size);
        EXPECT_EQ(classify(bytes.data(), bytes.size()), FrameKind::sensor);
        SensorFrame f;
        ASSERT_EQ(decodeSensor(bytes.data(), bytes.size(), f), SensorStatus::ok) << e.hex;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(f.quaternion[i], e.quaternion[i]) << e.size << " word " << i;
            EXPECT_EQ(f.angularRate[i], e.rate[i]);
            EXPECT_EQ(f.acceleration[i], e.acceleration[i]);
        }
        const DeviceMotion m = toDeviceMotion(f);
        EXPECT_NEAR(m.qx * m.qx + m.qy * m.qy + m.qz * m.qz + m.qw * m.qw, 1.0, 1e-9);
        EXPECT_NEAR(headingDegrees(m), e.heading, 0.01);
        EXPECT_NEAR(verticalAcceleration(m), e.vertical, 0.001);
        // What is left after gravity is small: the earbuds were at rest.
        EXPECT_LT(std::hypot(m.ax, m.ay, m.az), 0.12);
    }
    // The time stamps: u64 nanoseconds just before the data.
    SensorFrame v1, v2;
    const auto b1 = bytesOf(test::kCapturedV1), b2 = bytesOf(test::kCapturedV2);
    ASSERT_EQ(decodeSensor(b1.data(), b1.size(), v1), SensorStatus::ok);
    ASSERT_EQ(decodeSensor(b2.data(), b2.size(), v2), SensorStatus::ok);
    EXPECT_EQ(v1.timestampNs, 0x23A95000E4A8ull);
    EXPECT_EQ(v2.timestampNs, 0x072D1BCD09E8ull);
}

TEST(EarbudsWire, DamagedFramesAreRefused) {
    const auto good = bytesOf(test::kCapturedV1);
    SensorFrame f;
    f.quaternion[0] = 777;

    // Cut short anywhere: too short below 70 bytes, the length field above.
    for (std::size_t n = 0; n < good.size(); ++n) {
        const SensorStatus s = decodeSensor(good.data(), n, f);
        EXPECT_EQ(s, n < kMinSensorFrame ? SensorStatus::tooShort : SensorStatus::badLength) << n;
    }
    // Longer than the length field says (bytes appended).
    auto longer = good;
    longer.insert(longer.end(), {0, 0, 0, 0});
    EXPECT_EQ(decodeSensor(longer.data(), longer.size(), f), SensorStatus::badLength);
    // A length field that does not match.
    auto wrong = good;
    wrong[10] = 0x44;
    EXPECT_EQ(decodeSensor(wrong.data(), wrong.size(), f), SensorStatus::badLength);
    wrong[10] = 0x45;
    wrong[11] = 0x01;
    EXPECT_EQ(decodeSensor(wrong.data(), wrong.size(), f), SensorStatus::badLength);
    // Another opcode or descriptor.
    auto other = good;
    other[4] = 0x18;
    EXPECT_EQ(decodeSensor(other.data(), other.size(), f), SensorStatus::notSensor);
    other = good;
    other[8] = 0x11;
    EXPECT_EQ(decodeSensor(other.data(), other.size(), f), SensorStatus::notSensor);
    // x² + y² + z² above 1: no quaternion.
    auto big = good;
    const std::size_t q = good.size() - kSensorTail + 20;
    big[q] = 0xFF;
    big[q + 1] = 0x7F; // x = 32767
    EXPECT_EQ(decodeSensor(big.data(), big.size(), f), SensorStatus::notUnitQuaternion);
    // Words rounded a hair past the unit sphere are still a rotation (found by
    // the fuzzer: w had been left at 0 with |q| above 1).
    auto rounded = good;
    const unsigned char past[6] = {0xFF, 0x7F, 0x2C, 0x01, 0x00, 0x00}; // 32767, 300, 0
    std::memcpy(rounded.data() + q, past, sizeof past);
    SensorFrame r;
    ASSERT_EQ(decodeSensor(rounded.data(), rounded.size(), r), SensorStatus::ok);
    const DeviceMotion m = toDeviceMotion(r);
    EXPECT_NEAR(m.qx * m.qx + m.qy * m.qy + m.qz * m.qz + m.qw * m.qw, 1.0, 1e-12);
    // The zero frames sent right after a start.
    auto zero = good;
    std::memset(zero.data() + good.size() - kSensorTail + 1, 0, kSensorTail - 1);
    EXPECT_EQ(decodeSensor(zero.data(), zero.size(), f), SensorStatus::empty);
    // Nothing refused was written.
    EXPECT_EQ(f.quaternion[0], 777);
}

TEST(EarbudsWire, EveryEnvelopeAndSequenceWidthGivesTheSamePose) {
    const double half = 80.0 * 3.141592653589793 / 360.0;
    const DeviceMotion turned{0, 0, std::sin(half), std::cos(half), 0, 0, -1, 0, 0, 0.25};
    // 80- and 81-byte V1 frames, 79- and 80-byte V4 frames, and wider numbers.
    const struct {
        Envelope envelope;
        std::uint32_t sequence;
        std::size_t size;
    } cases[] = {{Envelope::v1, 5, 80},     {Envelope::v1, 5000, 81},    {Envelope::v4, 5000, 79},
                 {Envelope::v4, 20000, 80}, {Envelope::v1, 3000000, 83}, {Envelope::v4, ~0u, 82}};
    for (const auto& c : cases) {
        unsigned char buf[kMaxSensorFrame];
        const std::size_t n =
            encodeSensor(fromDeviceMotion(turned, 123456789), c.sequence, c.envelope, buf);
        ASSERT_EQ(n, c.size) << c.sequence;
        EXPECT_EQ(buf[10], n - 12); // 0x43, 0x44, 0x45 ...
        SensorFrame f;
        ASSERT_EQ(decodeSensor(buf, n, f), SensorStatus::ok) << c.sequence;
        EXPECT_EQ(f.timestampNs, 123456789u);
        const DeviceMotion m = toDeviceMotion(f);
        EXPECT_NEAR(headingDegrees(m), 80.0, 0.01);
        EXPECT_NEAR(verticalAcceleration(m), 0.25, 0.002);
    }
    // A quaternion with negative w comes back as the same rotation.
    const DeviceMotion flipped{0, 0, -std::sin(half), -std::cos(half), 0, 0, -1, 0, 0, 0};
    unsigned char buf[kMaxSensorFrame];
    const std::size_t n = encodeSensor(fromDeviceMotion(flipped, 0), 1, Envelope::v1, buf);
    SensorFrame f;
    ASSERT_EQ(decodeSensor(buf, n, f), SensorStatus::ok);
    EXPECT_NEAR(headingDegrees(toDeviceMotion(f)), 80.0, 0.01);
}

// A property-list message on the sensor opcode whose last 58 bytes read as a
// perfect 90-degree pose at rest.
std::vector<unsigned char> poseShapedPropertyList(std::size_t size) {
    const double half = 90.0 * 3.141592653589793 / 360.0;
    const DeviceMotion turned{0, 0, std::sin(half), std::cos(half), 0, 0, -1, 0, 0, 0};
    unsigned char sample[kMaxSensorFrame];
    const std::size_t n = encodeSensor(fromDeviceMotion(turned, 1), 300, Envelope::v1, sample);
    std::vector<unsigned char> frame(sample, sample + 12);
    const unsigned char body[] = {0x08, 0x07, 0x10, 0x02, 0x22, 0x40, 'b',  'p',  'l',  'i',
                                  's',  't',  '0',  '0',  0xD1, 0x01, 0x02, 0x5F, 0x10, 0x0F};
    frame.insert(frame.end(), body, body + sizeof body);
    while (frame.size() + kSensorTail < size)
        frame.push_back(static_cast<unsigned char>(0x20 + frame.size() % 64));
    frame.insert(frame.end(), sample + n - kSensorTail, sample + n);
    frame[10] = static_cast<unsigned char>((frame.size() - 12) & 0xFF);
    frame[11] = static_cast<unsigned char>((frame.size() - 12) >> 8);
    return frame;
}

TEST(EarbudsWire, OnlyTheSampleStructureMakesASample) {
    SensorFrame f;
    for (std::size_t size = kMinSensorFrame; size < 400; size += 3) {
        const auto frame = poseShapedPropertyList(size);
        EXPECT_EQ(classify(frame.data(), frame.size()), FrameKind::sensor);
        EXPECT_EQ(decodeSensor(frame.data(), frame.size(), f), SensorStatus::notSample) << size;
    }
    // One byte of the envelope off, anywhere, and the captured frames are no
    // samples any more: the tags, the lengths, the sample's leading 0x01.
    for (const char* hex : {test::kCapturedV1, test::kCapturedV4}) {
        const auto good = bytesOf(hex);
        const std::size_t mark = good.size() - kSensorTail;
        for (std::size_t at = 12; at <= mark; ++at) {
            if ((at == 13 || at == 14 || at == 16) || (good.size() == 81 && at == 20) ||
                (good.size() == 79 && (at == 19 || at == 20)))
                continue; // varint values and the two spare bytes: any value fits
            auto bad = good;
            bad[at] ^= 0x40;
            EXPECT_NE(decodeSensor(bad.data(), bad.size(), f), SensorStatus::ok)
                << good.size() << " byte " << at;
        }
    }
    // Random bodies behind a right prefix and length field: never a sample.
    std::uint32_t seed = 12345;
    int accepted = 0;
    for (int i = 0; i < 200000; ++i) {
        std::vector<unsigned char> frame(kSensorPrefix, kSensorPrefix + sizeof kSensorPrefix);
        const std::size_t size = 70 + (seed = seed * 1664525u + 1013904223u) % 60;
        while (frame.size() < size)
            frame.push_back(
                static_cast<unsigned char>((seed = seed * 1664525u + 1013904223u) >> 24));
        frame[10] = static_cast<unsigned char>(size - 12);
        frame[11] = 0;
        accepted += decodeSensor(frame.data(), frame.size(), f) == SensorStatus::ok;
    }
    EXPECT_EQ(accepted, 0);
}

TEST(EarbudsWire, EarDetectionAndOtherFrames) {
    const auto kind = [](std::initializer_list<unsigned char> bytes) {
        const std::vector<unsigned char> v(bytes);
        return classify(v.data(), v.size());
    };
    EXPECT_EQ(kind({0x01, 0x00, 0x04, 0x00, 0x00}), FrameKind::connectResponse);
    EXPECT_EQ(kind({0x02, 0x00, 0x04, 0x00, 0x00, 0x00}), FrameKind::disconnect);
    EXPECT_EQ(kind({0x04, 0x00, 0x04, 0x00, 0x04, 0x00, 0x01}), FrameKind::battery);
    EXPECT_EQ(kind({0x04, 0x00, 0x04, 0x00, 0x06, 0x00, 0x00, 0x01}), FrameKind::earDetection);
    EXPECT_EQ(kind({0x04, 0x00, 0x04}), FrameKind::other);
    EXPECT_EQ(kind({}), FrameKind::other);

    unsigned char buf[kEarDetectionSize];
    std::uint8_t a = 9, b = 9;
    encodeEarDetection(BudState::outOfEar, BudState::inCase, buf);
    ASSERT_TRUE(decodeEarDetection(buf, sizeof buf, a, b));
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    EXPECT_FALSE(decodeEarDetection(buf, 7, a, b));

    EXPECT_EQ(wearingOf(0, 0), Wearing::worn);
    EXPECT_EQ(wearingOf(1, 0), Wearing::worn); // one bud is enough
    EXPECT_EQ(wearingOf(1, 2), Wearing::notWorn);
    EXPECT_EQ(wearingOf(2, 2), Wearing::notWorn);
    EXPECT_EQ(wearingOf(3, 1), Wearing::notWorn);
    EXPECT_EQ(wearingOf(4, 1), Wearing::unchanged); // a bud on its way
    EXPECT_EQ(wearingOf(9, 1), Wearing::unchanged);
}

} // namespace
} // namespace quelmo
