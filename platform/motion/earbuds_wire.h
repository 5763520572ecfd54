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

// Frames Quelmo sends, in the order it sends them. Only these exact bytes go
// to the earbuds: a wrong start frame has stopped audio, dropped the link and
// crashed earbuds in the field.
inline constexpr unsigned char kConnectFrame[16] = {0x00, 0x00, 0x04, 0x00, 0x01, 0x00, 0x02, 0x00,
                                                    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
// "Source feature capabilities", sent after the connect answer by every
// maintained client; answered by a frame on opcode 0x2B.
inline constexpr unsigned char kFeaturesFrame[14] = {0x04, 0x00, 0x04, 0x00, 0x4D, 0x00, 0xD7,
                                                     0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
inline constexpr unsigned char kNotifyRequest[10] = {0x04, 0x00, 0x04, 0x00, 0x0F,
                                                     0x00, 0xFF, 0xFF, 0xFF, 0xFF};
// Head tracking at 25 Hz (a period of 40,000 microseconds) from service 14,
// the first start frame known to work.
inline constexpr unsigned char kStartFrame[28] = {
    0x04, 0x00, 0x04, 0x00, 0x17, 0x00, 0x00, 0x00, 0x10, 0x00, 0x10, 0x00, 0x08, 0xA1,
    0x02, 0x42, 0x0B, 0x08, 0x0E, 0x10, 0x02, 0x1A, 0x05, 0x01, 0x40, 0x9C, 0x00, 0x00};
inline constexpr unsigned char kStopFrame[29] = {
    0x04, 0x00, 0x04, 0x00, 0x17, 0x00, 0x00, 0x00, 0x10, 0x00, 0x11, 0x00, 0x08, 0x7E, 0x10,
    0x02, 0x42, 0x0B, 0x08, 0x4E, 0x10, 0x02, 0x1A, 0x05, 0x01, 0x00, 0x00, 0x00, 0x00};
// The same from service 16 (six-axis device motion), which streams on some
// earbuds where service 14 gives nothing; it has a stop frame of its own.
inline constexpr unsigned char kStartFrame16[27] = {
    0x04, 0x00, 0x04, 0x00, 0x17, 0x00, 0x00, 0x00, 0x10, 0x00, 0x0F, 0x00, 0x08, 0x73,
    0x42, 0x0B, 0x08, 0x10, 0x10, 0x02, 0x1A, 0x05, 0x01, 0x40, 0x9C, 0x00, 0x00};
inline constexpr unsigned char kStopFrame16[27] = {
    0x04, 0x00, 0x04, 0x00, 0x17, 0x00, 0x00, 0x00, 0x10, 0x00, 0x0F, 0x00, 0x08, 0x75,
    0x42, 0x0B, 0x08, 0x10, 0x10, 0x02, 0x1A, 0x05, 0x01, 0x00, 0x00, 0x00, 0x00};

// A start frame and its stop frame, for one of the two services.
struct StreamFrames {
    int service;
    const unsigned char* start;
    std::size_t startSize;
    const unsigned char* stop;
    std::size_t stopSize;
};
inline constexpr StreamFrames kService14{14, kStartFrame, sizeof kStartFrame, kStopFrame,
                                         sizeof kStopFrame};
inline constexpr StreamFrames kService16{16, kStartFrame16, sizeof kStartFrame16, kStopFrame16,
                                         sizeof kStopFrame16};
// The frames of service 16 for 16, of service 14 for anything else.
const StreamFrames& streamFramesFor(int service);

// What the earbuds send back.
inline constexpr unsigned char kConnectResponsePrefix[4] = {0x01, 0x00, 0x04, 0x00};
inline constexpr unsigned char kDisconnectFrame[6] = {0x02, 0x00, 0x04, 0x00, 0x00, 0x00};
inline constexpr unsigned char kFeaturesAnswerPrefix[6] = {0x04, 0x00, 0x04, 0x00, 0x2B, 0x00};

// Sensor frames: a 12-byte header (prefix and a u16 LE length of the rest),
// a protobuf envelope whose sequence number is a varint, and the 58 bytes of
// motion data at the end. The same prefix also carries property-list and
// descriptor messages of any length: only the envelope's structure tells a
// sample from them.
inline constexpr unsigned char kSensorPrefix[10] = {0x04, 0x00, 0x04, 0x00, 0x17,
                                                    0x00, 0x00, 0x00, 0x10, 0x00};
inline constexpr std::size_t kSensorHeader = 12;
inline constexpr std::size_t kSensorTail = 58;
inline constexpr std::size_t kMinSensorFrame = 70;
// The largest frame encodeSensor writes (a five-byte sequence number).
inline constexpr std::size_t kMaxSensorFrame = 84;
inline constexpr double kQuaternionScale = 32768.0;
inline constexpr double kCountsPerG = 1024.0;
inline constexpr double kRadiansPerSecondPerCount = 0.002;

enum class FrameKind {
    connectResponse,
    disconnect,
    sensor, // opcode 0x17: a sample, or another message on the same opcode
    earDetection,
    battery,
    featuresAnswer,
    message, // another notification (04 00 04 00 ...)
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
    notSample, // another message on the sensor opcode (a property list, a descriptor)
};
const char* describe(SensorStatus status);

// Reads a sensor frame: checks that the envelope has one of the two shapes
// samples come in (sequence and log-type varints, then either
// `3A <len> 08 <service> 1A 3A` or `1A 3A`, 58 or 60 bytes left, the
// sample's leading 0x01), then takes the sample from the frame's end.
// Never reads past size, never allocates.
SensorStatus decodeSensor(const unsigned char* data, std::size_t size, SensorFrame& out);

// The sample every motion source hands over: the attitude, gravity (0, 0, -1)
// in the reference frame (z vertical), and the user acceleration there: the
// accelerometer rotated by the attitude, less gravity.
DeviceMotion toDeviceMotion(const SensorFrame& frame);

// The two envelopes samples were captured in: V1 (`3A 3E 08 0E 1A 3A`, log
// type 1) and V4 (`1A 3A 0E 00`, log type 7).
enum class Envelope { v1, v4 };
// Writes a sensor frame in the given envelope, its sequence number a varint
// as wide as it needs (so 79 to 84 bytes: 80 and 81 for V1 with a one- and a
// two-byte number, 79 and 80 for V4 with a two- and a three-byte one). out
// must hold kMaxSensorFrame bytes; returns the size.
std::size_t encodeSensor(const SensorFrame& frame, std::uint32_t sequence, Envelope envelope,
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
// Both buds put away: in the case, or one in it and the other gone.
bool inCase(std::uint8_t primary, std::uint8_t secondary);
std::size_t encodeEarDetection(BudState primary, BudState secondary, unsigned char* out);

// The product name for an Apple product id ("AirPods Pro 2"), or nullptr.
const char* modelName(std::uint16_t productId);
// True when Modalias names Apple's vendor ("bluetooth:v004Cp2014d...");
// the product id is stored in productId when present.
bool isAppleModalias(const char* modalias, std::uint16_t& productId);

} // namespace quelmo::earbuds
