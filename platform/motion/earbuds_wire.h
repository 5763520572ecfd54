// SPDX-License-Identifier: MIT
#pragma once

// The earbuds' head-motion protocol, as AirPods speak it over an L2CAP
// sequenced-packet channel (PSM 0x1001) and as quelmo-sim --earbuds speaks it
// over a Unix socket. docs/motion-protocol.md describes every frame.
// Standard library only: shared with the simulator, the fuzzer and the
// benchmark.

#include "platform/motion/motion_conversion.h"

#include <cstddef>
#include <cstdint>

namespace quelmo::earbuds {

inline constexpr std::uint16_t kPsm = 0x1001;
inline constexpr const char* kServiceUuid = "74ec2172-0bad-4d01-8f77-997b2be0722a";
inline constexpr std::uint16_t kAppleVendorId = 0x004C;
// Large enough for every frame the earbuds send (some exceed 1 KB); a
// sequenced packet longer than the buffer is cut short by the kernel.
inline constexpr std::size_t kReceiveBuffer = 4096;

// Frames Quelmo sends, in the order it sends them.
inline constexpr unsigned char kConnectFrame[16] = {0x00, 0x00, 0x04, 0x00, 0x01, 0x00, 0x02, 0x00,
                                                    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
inline constexpr unsigned char kNotifyRequest[10] = {0x04, 0x00, 0x04, 0x00, 0x0F,
                                                     0x00, 0xFF, 0xFF, 0xFF, 0xFF};
// Head tracking at 25 Hz (a period of 40,000 microseconds).
inline constexpr unsigned char kStartFrame[28] = {
    0x04, 0x00, 0x04, 0x00, 0x17, 0x00, 0x00, 0x00, 0x10, 0x00, 0x10, 0x00, 0x08, 0xA1,
    0x02, 0x42, 0x0B, 0x08, 0x0E, 0x10, 0x02, 0x1A, 0x05, 0x01, 0x40, 0x9C, 0x00, 0x00};
inline constexpr unsigned char kStopFrame[29] = {
    0x04, 0x00, 0x04, 0x00, 0x17, 0x00, 0x00, 0x00, 0x10, 0x00, 0x11, 0x00, 0x08, 0x7E, 0x10,
    0x02, 0x42, 0x0B, 0x08, 0x4E, 0x10, 0x02, 0x1A, 0x05, 0x01, 0x00, 0x00, 0x00, 0x00};
// What the earbuds send back.
inline constexpr unsigned char kConnectResponsePrefix[4] = {0x01, 0x00, 0x04, 0x00};
inline constexpr unsigned char kDisconnectFrame[6] = {0x02, 0x00, 0x04, 0x00, 0x00, 0x00};

// Sensor frames: a 12-byte header (prefix and a u16 LE length of the rest),
// a protobuf envelope whose sequence number is a varint, and the 58 bytes of
// motion data at the end.
inline constexpr unsigned char kSensorPrefix[10] = {0x04, 0x00, 0x04, 0x00, 0x17,
                                                    0x00, 0x00, 0x00, 0x10, 0x00};
inline constexpr std::size_t kSensorHeader = 12;
inline constexpr std::size_t kSensorTail = 58;
inline constexpr std::size_t kMinSensorFrame = 70;
// The two framings seen from real earbuds; the simulator alternates them.
inline constexpr std::size_t kLongSensorFrame = 81;
inline constexpr std::size_t kShortSensorFrame = 79;
inline constexpr double kQuaternionScale = 32768.0;
inline constexpr double kCountsPerG = 1024.0;
inline constexpr double kRadiansPerSecondPerCount = 0.002;

enum class FrameKind {
    connectResponse,
    disconnect,
    sensor,
    earDetection,
    battery,
    other,
};

// Recognises a received frame by its first bytes only.
FrameKind classify(const unsigned char* data, std::size_t size);
const char* frameKindName(FrameKind kind);

// The raw words of one sensor frame.
struct SensorFrame {
    std::uint64_t timestampNs = 0;
    std::int16_t quaternion[3] = {0, 0, 0};   // x, y, z; w is implied, non-negative
    std::int16_t angularRate[3] = {0, 0, 0};  // body axes
    std::int16_t acceleration[3] = {0, 0, 0}; // body axes, gravity included
};

enum class SensorStatus {
    ok,
    tooShort,
    notSensor,
    badLength,
    empty, // all zero: sent for a moment after head tracking starts
    notUnitQuaternion,
};
const char* describe(SensorStatus status);

// Reads a sensor frame from its end. Never reads past size, never allocates.
SensorStatus decodeSensor(const unsigned char* data, std::size_t size, SensorFrame& out);

// The sample every motion source hands over: the attitude, gravity (0, 0, -1)
// in the reference frame (z vertical), and the user acceleration there: the
// accelerometer rotated by the attitude, less gravity.
DeviceMotion toDeviceMotion(const SensorFrame& frame);

// Writes a sensor frame of kLongSensorFrame or kShortSensorFrame bytes (the
// simulator's two framings) with the given sequence number modulo 16,256 (a
// two-byte varint). out must hold kLongSensorFrame bytes; returns the size.
std::size_t encodeSensor(const SensorFrame& frame, std::uint32_t sequence, bool longFraming,
                         unsigned char* out);

// The raw words nearest to a device-motion sample's attitude and
// acceleration (gravity and user acceleration taken back to body axes).
SensorFrame fromDeviceMotion(const DeviceMotion& motion, std::uint64_t timestampNs);

// Ear detection: each bud is in the ear, out of it, in the case, gone or
// moving (a brief state).
enum class BudState : std::uint8_t {
    inEar = 0,
    outOfEar = 1,
    inCase = 2,
    disconnected = 3,
    moving = 4
};
inline constexpr std::size_t kEarDetectionSize = 8;
bool decodeEarDetection(const unsigned char* data, std::size_t size, std::uint8_t& primary,
                        std::uint8_t& secondary);
// Worn when either bud is in an ear; not worn when neither is and neither is
// moving; nothing when a bud is moving or the state is unknown (no change).
enum class Wearing { worn, notWorn, unchanged };
Wearing wearingOf(std::uint8_t primary, std::uint8_t secondary);
std::size_t encodeEarDetection(BudState primary, BudState secondary, unsigned char* out);

// The product name for an Apple product id ("AirPods Pro 2"), or nullptr.
const char* modelName(std::uint16_t productId);
// True when Modalias names Apple's vendor ("bluetooth:v004Cp2014d...");
// the product id is stored in productId when present.
bool isAppleModalias(const char* modalias, std::uint16_t& productId);

} // namespace quelmo::earbuds
