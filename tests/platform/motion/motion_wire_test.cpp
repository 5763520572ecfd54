// SPDX-License-Identifier: MIT
#include "platform/motion/motion_wire.h"
#include "platform/motion/opentrack_wire.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace quelmo {
namespace {

using wire::DecodeStatus;

std::vector<unsigned char> sampleBytes(const DeviceMotion& m) {
    std::vector<unsigned char> buf(wire::kMaxMessageSize);
    buf.resize(wire::encodeSample(m, buf.data()));
    return buf;
}

DecodeStatus decode(const std::vector<unsigned char>& bytes) {
    wire::Message message;
    return wire::decode(bytes.data(), bytes.size(), message);
}

TEST(MotionWire, EveryKindRoundTrips) {
    const DeviceMotion m{0.1, -0.2, 0.3, std::sqrt(1 - 0.14), 0.01, -0.02, -0.98, 0.3, -0.1, 0.25};
    const auto bytes = sampleBytes(m);
    ASSERT_EQ(bytes.size(), wire::kSampleSize);
    wire::Message out;
    ASSERT_EQ(wire::decode(bytes.data(), bytes.size(), out), DecodeStatus::ok);
    EXPECT_EQ(out.kind, wire::Kind::sample);
    EXPECT_EQ(std::memcmp(&out.motion, &m, sizeof m), 0);

    unsigned char buf[wire::kMaxMessageSize];
    ASSERT_EQ(wire::decode(buf, wire::encodeConnection(true, buf), out), DecodeStatus::ok);
    EXPECT_EQ(out.kind, wire::Kind::connected);
    ASSERT_EQ(wire::decode(buf, wire::encodeConnection(false, buf), out), DecodeStatus::ok);
    EXPECT_EQ(out.kind, wire::Kind::disconnected);
    ASSERT_EQ(wire::decode(buf, wire::encodeError("Bridge lost the earbuds – retrying", buf), out),
              DecodeStatus::ok);
    EXPECT_EQ(out.kind, wire::Kind::error);
    EXPECT_EQ(out.text, "Bridge lost the earbuds – retrying");
}

TEST(MotionWire, LayoutIsLittleEndianAfterAnEightByteHeader) {
    DeviceMotion m;
    m.qw = 1.0;
    const auto bytes = sampleBytes(m);
    EXPECT_EQ(std::memcmp(bytes.data(), "QLMO\x01\x01\x00\x00", 8), 0);
    // qw is the fourth double; 1.0 is 0x3FF0000000000000.
    const unsigned char one[8] = {0, 0, 0, 0, 0, 0, 0xf0, 0x3f};
    EXPECT_EQ(std::memcmp(bytes.data() + 8 + 3 * 8, one, 8), 0);
}

TEST(MotionWire, MalformedDatagramsAreRejectedWithTheirReason) {
    const auto good = sampleBytes(DeviceMotion{});
    auto cut = good;
    cut.pop_back();
    EXPECT_EQ(decode(cut), DecodeStatus::badLength);
    EXPECT_EQ(decode({'Q', 'L', 'M'}), DecodeStatus::tooShort);
    EXPECT_EQ(decode(std::vector<unsigned char>(wire::kMaxMessageSize + 1, 'Q')),
              DecodeStatus::tooLong);

    auto edited = good;
    edited[0] = 'X';
    EXPECT_EQ(decode(edited), DecodeStatus::badMagic);
    edited = good;
    edited[4] = 2;
    EXPECT_EQ(decode(edited), DecodeStatus::badVersion);
    edited = good;
    edited[5] = 9;
    EXPECT_EQ(decode(edited), DecodeStatus::badKind);
    edited = good;
    edited[7] = 1;
    EXPECT_EQ(decode(edited), DecodeStatus::badReserved);

    unsigned char buf[wire::kMaxMessageSize + 8];
    std::vector<unsigned char> connectedWithPayload(buf, buf + wire::encodeConnection(true, buf));
    connectedWithPayload.push_back(0);
    EXPECT_EQ(decode(connectedWithPayload), DecodeStatus::badLength);
    std::vector<unsigned char> emptyError(buf, buf + wire::encodeConnection(true, buf));
    emptyError[5] = static_cast<unsigned char>(wire::Kind::error);
    EXPECT_EQ(decode(emptyError), DecodeStatus::badLength);
    EXPECT_EQ(wire::encodeError("", buf), 0u);
    EXPECT_EQ(wire::encodeError(std::string(wire::kMaxErrorText + 1, 'x'), buf), 0u);
}

TEST(MotionWire, SamplesThatCouldPoisonTheDetectorAreRejected) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    DeviceMotion m;
    m.az = nan;
    EXPECT_EQ(decode(sampleBytes(m)), DecodeStatus::nonFinite);
    m = DeviceMotion{};
    m.qz = inf;
    EXPECT_EQ(decode(sampleBytes(m)), DecodeStatus::nonFinite);
    m = DeviceMotion{};
    m.gx = 1e300; // would make the gravity length infinite
    EXPECT_EQ(decode(sampleBytes(m)), DecodeStatus::outOfRange);
    m = DeviceMotion{};
    m.qw = 0; // the zero quaternion is no attitude
    EXPECT_EQ(decode(sampleBytes(m)), DecodeStatus::notUnitQuaternion);
    m = DeviceMotion{};
    m.qx = 1e200;
    EXPECT_EQ(decode(sampleBytes(m)), DecodeStatus::notUnitQuaternion);
    m = DeviceMotion{};
    m.qw = 1.05; // small drift from unit length is tolerated
    EXPECT_EQ(decode(sampleBytes(m)), DecodeStatus::ok);
}

TEST(MotionWire, ErrorTextMustBePrintableUtf8) {
    EXPECT_TRUE(wire::isPrintableUtf8("Motion sensor unavailable"));
    EXPECT_TRUE(wire::isPrintableUtf8("Kopfhörer getrennt 🎧"));
    EXPECT_FALSE(wire::isPrintableUtf8("line\nbreak"));
    EXPECT_FALSE(wire::isPrintableUtf8(std::string_view("nul\0inside", 10)));
    EXPECT_FALSE(wire::isPrintableUtf8("\xc3"));             // cut short
    EXPECT_FALSE(wire::isPrintableUtf8("\xc0\xaf"));         // overlong
    EXPECT_FALSE(wire::isPrintableUtf8("\xed\xa0\x80"));     // surrogate
    EXPECT_FALSE(wire::isPrintableUtf8("\xf4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(wire::isPrintableUtf8("\xc2\x85"));         // C1 control
}

TEST(OpentrackWire, OnlyWholePacketsOfFiniteNumbersCount) {
    unsigned char buf[opentrack::kPacketSize + 1] = {};
    opentrack::encode(opentrack::Pose{1, 2, 3, -35.5, 10, 4}, buf);
    opentrack::Pose pose;
    ASSERT_TRUE(opentrack::decode(buf, opentrack::kPacketSize, pose));
    EXPECT_EQ(pose.yaw, -35.5);
    EXPECT_EQ(pose.pitch, 10);
    EXPECT_FALSE(opentrack::decode(buf, opentrack::kPacketSize - 1, pose));
    EXPECT_FALSE(opentrack::decode(buf, opentrack::kPacketSize + 1, pose));
    opentrack::encode(opentrack::Pose{0, 0, 0, std::numeric_limits<double>::quiet_NaN(), 0, 0},
                      buf);
    EXPECT_FALSE(opentrack::decode(buf, opentrack::kPacketSize, pose));
}

TEST(OpentrackWire, HeadingIsTheYawWrappedIntoTheHalfTurn) {
    EXPECT_EQ(opentrack::headingOf({0, 0, 0, 42.0, 0, 0}), 42.0);
    EXPECT_EQ(opentrack::headingOf({0, 0, 0, -180.0, 0, 0}), -180.0);
    EXPECT_DOUBLE_EQ(opentrack::headingOf({0, 0, 0, 190.0, 0, 0}), -170.0);
    EXPECT_DOUBLE_EQ(opentrack::headingOf({0, 0, 0, -725.0, 0, 0}), -5.0);
}

} // namespace
} // namespace quelmo
