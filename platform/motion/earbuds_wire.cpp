// SPDX-License-Identifier: MIT
#include "platform/motion/earbuds_wire.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace quelmo::earbuds {

namespace {

constexpr unsigned char kMessagePrefix[4] = {0x04, 0x00, 0x04, 0x00};
constexpr unsigned char kOpEarDetection = 0x06;
constexpr unsigned char kOpBattery = 0x04;
constexpr unsigned char kOpSensor = 0x17;
constexpr unsigned char kOpFeaturesAnswer = 0x2B;
// Protobuf tags of the sample envelope (field number << 3 | 2, length-delimited).
constexpr unsigned char kFieldThree = 0x1A;
constexpr unsigned char kFieldSeven = 0x3A;
// The first byte of every sample.
constexpr unsigned char kSampleMark = 0x01;
// Offsets inside the last kSensorTail bytes.
constexpr std::size_t kTimestampAt = 1;
constexpr std::size_t kQuaternionAt = 20;
constexpr std::size_t kRateAt = 26;
constexpr std::size_t kAccelerationAt = 44;
// Rounding each word to 1/32768 moves x² + y² + z² by far less than this.
constexpr double kUnitTolerance = 0.002;

bool startsWith(const unsigned char* data, std::size_t size, const unsigned char* prefix,
                std::size_t n) {
    return size >= n && std::memcmp(data, prefix, n) == 0;
}

std::int16_t readI16(const unsigned char* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

void writeI16(std::int16_t value, unsigned char* p) {
    const auto u = static_cast<std::uint16_t>(value);
    p[0] = static_cast<unsigned char>(u & 0xff);
    p[1] = static_cast<unsigned char>(u >> 8);
}

struct Q {
    double x, y, z, w;
};

Q multiply(const Q& a, const Q& b) {
    return Q{a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
             a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
             a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w,
             a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

// q v q*, or q* v q when inverse.
void rotate(const Q& q, const double in[3], double out[3], bool inverse) {
    const Q conj{-q.x, -q.y, -q.z, q.w};
    const Q v{in[0], in[1], in[2], 0};
    const Q r = inverse ? multiply(multiply(conj, v), q) : multiply(multiply(q, v), conj);
    out[0] = r.x;
    out[1] = r.y;
    out[2] = r.z;
}

std::int16_t toWord(double value, double scale) {
    return static_cast<std::int16_t>(std::clamp(std::lround(value * scale), -32768L, 32767L));
}

} // namespace

FrameKind classify(const unsigned char* data, std::size_t size) {
    if (startsWith(data, size, kConnectResponsePrefix, sizeof kConnectResponsePrefix))
        return FrameKind::connectResponse;
    if (startsWith(data, size, kDisconnectFrame, 4))
        return FrameKind::disconnect;
    if (size >= 6 && startsWith(data, size, kMessagePrefix, 4) && data[5] == 0) {
        switch (data[4]) {
        case kOpSensor:
            return FrameKind::sensor;
        case kOpEarDetection:
            return FrameKind::earDetection;
        case kOpBattery:
            return FrameKind::battery;
        case kOpFeaturesAnswer:
            return FrameKind::featuresAnswer;
        default:
            return FrameKind::message;
        }
    }
    return FrameKind::other;
}

const char* frameKindName(FrameKind kind) {
    switch (kind) {
    case FrameKind::connectResponse:
        return "connect response";
    case FrameKind::disconnect:
        return "disconnect";
    case FrameKind::sensor:
        return "sensor";
    case FrameKind::earDetection:
        return "ear detection";
    case FrameKind::battery:
        return "battery";
    case FrameKind::featuresAnswer:
        return "features answer";
    case FrameKind::message:
        return "message";
    case FrameKind::other:
        break;
    }
    return "other";
}

const StreamFrames& streamFramesFor(int service) {
    return service == kService16.service ? kService16 : kService14;
}

const char* describe(SensorStatus status) {
    switch (status) {
    case SensorStatus::ok:
        return "ok";
    case SensorStatus::tooShort:
        return "frame too short";
    case SensorStatus::notSensor:
        return "not a sensor frame";
    case SensorStatus::badLength:
        return "length field does not match the frame";
    case SensorStatus::empty:
        return "all-zero frame";
    case SensorStatus::notUnitQuaternion:
        return "not a unit quaternion";
    case SensorStatus::notSample:
        return "another message on the sensor opcode";
    }
    return "unknown";
}

namespace {

// A protobuf varint at p, at most ten bytes, none past end.
bool readVarint(const unsigned char*& p, const unsigned char* end, std::uint64_t& value) {
    value = 0;
    for (int shift = 0; shift < 70 && p < end; shift += 7) {
        const unsigned char byte = *p++;
        value |= static_cast<std::uint64_t>(byte & 0x7f) << shift;
        if ((byte & 0x80) == 0)
            return true;
    }
    return false;
}

bool expectByte(const unsigned char*& p, const unsigned char* end, unsigned char byte) {
    if (p >= end || *p != byte)
        return false;
    ++p;
    return true;
}

// Whether the envelope after the header is one of the two shapes samples
// come in, with the sample's 58 bytes at the frame's end.
bool hasSampleShape(const unsigned char* body, const unsigned char* end) {
    const unsigned char* p = body;
    std::uint64_t value = 0;
    // Field 1: the sequence number; field 2: the log type.
    if (!expectByte(p, end, 0x08) || !readVarint(p, end, value) || !expectByte(p, end, 0x10) ||
        !readVarint(p, end, value))
        return false;
    if (p < end && *p == kFieldSeven) {
        // Field 7, which holds the service (field 1) and the sample (field 3)
        // and runs to the frame's end.
        ++p;
        std::uint64_t length = 0;
        if (!readVarint(p, end, length) || length != static_cast<std::uint64_t>(end - p))
            return false;
        if (!expectByte(p, end, 0x08) || !readVarint(p, end, value))
            return false;
    }
    if (!expectByte(p, end, kFieldThree) || !expectByte(p, end, kSensorTail))
        return false;
    // Field 3 declares the sample's 58 bytes; one framing carries two bytes
    // more before them, and the sample is still the frame's last 58.
    const auto left = static_cast<std::size_t>(end - p);
    if (left != kSensorTail && left != kSensorTail + 2)
        return false;
    return end[-static_cast<std::ptrdiff_t>(kSensorTail)] == kSampleMark;
}

} // namespace

SensorStatus decodeSensor(const unsigned char* data, std::size_t size, SensorFrame& out) {
    if (size < kMinSensorFrame)
        return SensorStatus::tooShort;
    if (std::memcmp(data, kSensorPrefix, sizeof kSensorPrefix) != 0)
        return SensorStatus::notSensor;
    const std::size_t length = static_cast<std::size_t>(data[10] | (data[11] << 8));
    if (length != size - kSensorHeader)
        return SensorStatus::badLength;
    if (!hasSampleShape(data + kSensorHeader, data + size))
        return SensorStatus::notSample;
    // The sequence number before the data is a varint: only the end is fixed.
    const unsigned char* tail = data + size - kSensorTail;
    SensorFrame frame;
    std::uint64_t stamp = 0;
    for (int i = 7; i >= 0; --i)
        stamp = (stamp << 8) | tail[kTimestampAt + static_cast<std::size_t>(i)];
    frame.timestampNs = stamp;
    bool allZero = true;
    for (int i = 0; i < 3; ++i) {
        frame.quaternion[i] = readI16(tail + kQuaternionAt + 2 * i);
        frame.angularRate[i] = readI16(tail + kRateAt + 2 * i);
        frame.acceleration[i] = readI16(tail + kAccelerationAt + 2 * i);
        allZero = allZero && frame.quaternion[i] == 0 && frame.angularRate[i] == 0 &&
                  frame.acceleration[i] == 0;
    }
    if (allZero)
        return SensorStatus::empty;
    double squares = 0;
    for (const std::int16_t word : frame.quaternion) {
        const double c = word / kQuaternionScale;
        squares += c * c;
    }
    if (squares > 1.0 + kUnitTolerance)
        return SensorStatus::notUnitQuaternion;
    out = frame;
    return SensorStatus::ok;
}

DeviceMotion toDeviceMotion(const SensorFrame& frame) {
    double x = frame.quaternion[0] / kQuaternionScale;
    double y = frame.quaternion[1] / kQuaternionScale;
    double z = frame.quaternion[2] / kQuaternionScale;
    const double squares = x * x + y * y + z * z;
    // Words rounded a hair past the unit sphere: w is 0, the rest rescaled.
    if (squares > 1.0) {
        const double n = std::sqrt(squares);
        x /= n;
        y /= n;
        z /= n;
    }
    const double w = std::sqrt(std::max(0.0, 1.0 - (x * x + y * y + z * z)));
    const double body[3] = {frame.acceleration[0] / kCountsPerG,
                            frame.acceleration[1] / kCountsPerG,
                            frame.acceleration[2] / kCountsPerG};
    double world[3];
    rotate(Q{x, y, z, w}, body, world, false);
    // At rest the rotated accelerometer reads (0, 0, -1): gravity itself.
    return DeviceMotion{x, y, z, w, 0, 0, -1, world[0], world[1], world[2] + 1.0};
}

SensorFrame fromDeviceMotion(const DeviceMotion& m, std::uint64_t timestampNs) {
    Q q{m.qx, m.qy, m.qz, m.qw};
    const double n = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    if (n > 0)
        q = Q{q.x / n, q.y / n, q.z / n, q.w / n};
    if (q.w < 0) // the frame carries no sign for w: keep it non-negative
        q = Q{-q.x, -q.y, -q.z, -q.w};
    const double world[3] = {m.gx + m.ax, m.gy + m.ay, m.gz + m.az};
    double body[3];
    rotate(q, world, body, true);
    SensorFrame frame;
    frame.timestampNs = timestampNs;
    frame.quaternion[0] = toWord(q.x, kQuaternionScale);
    frame.quaternion[1] = toWord(q.y, kQuaternionScale);
    frame.quaternion[2] = toWord(q.z, kQuaternionScale);
    for (int i = 0; i < 3; ++i)
        frame.acceleration[i] = toWord(body[i], kCountsPerG);
    return frame;
}

std::size_t encodeSensor(const SensorFrame& frame, std::uint32_t sequence, Envelope envelope,
                         unsigned char* out) {
    std::memset(out, 0, kMaxSensorFrame);
    std::memcpy(out, kSensorPrefix, sizeof kSensorPrefix);
    unsigned char* p = out + kSensorHeader;
    // Field 1: the sequence number, a varint as wide as it needs.
    *p++ = 0x08;
    std::uint32_t seq = sequence;
    while (seq >= 0x80) {
        *p++ = static_cast<unsigned char>(0x80 | (seq & 0x7f));
        seq >>= 7;
    }
    *p++ = static_cast<unsigned char>(seq);
    // The rest of the envelope as the two captured shapes have it.
    static constexpr unsigned char v1Envelope[] = {0x10, 0x01, 0x3A, 0x3E, 0x08, 0x0E, 0x1A, 0x3A};
    static constexpr unsigned char v4Envelope[] = {0x10, 0x07, 0x1A, 0x3A, 0x0E, 0x00};
    if (envelope == Envelope::v1) {
        std::memcpy(p, v1Envelope, sizeof v1Envelope);
        p += sizeof v1Envelope;
    } else {
        std::memcpy(p, v4Envelope, sizeof v4Envelope);
        p += sizeof v4Envelope;
    }
    const auto size = static_cast<std::size_t>(p - out) + kSensorTail;
    out[10] = static_cast<unsigned char>(size - kSensorHeader);
    out[11] = 0;
    unsigned char* tail = out + size - kSensorTail;
    tail[0] = kSampleMark;
    for (std::size_t i = 0; i < 8; ++i)
        tail[kTimestampAt + i] = static_cast<unsigned char>(frame.timestampNs >> (8 * i));
    for (int i = 0; i < 3; ++i) {
        writeI16(frame.quaternion[i], tail + kQuaternionAt + 2 * i);
        writeI16(frame.angularRate[i], tail + kRateAt + 2 * i);
        writeI16(frame.acceleration[i], tail + kAccelerationAt + 2 * i);
    }
    return size;
}

bool decodeEarDetection(const unsigned char* data, std::size_t size, std::uint8_t& primary,
                        std::uint8_t& secondary) {
    if (size < kEarDetectionSize || classify(data, size) != FrameKind::earDetection)
        return false;
    primary = data[6];
    secondary = data[7];
    return true;
}

Wearing wearingOf(std::uint8_t primary, std::uint8_t secondary) {
    const auto is = [&](BudState s) {
        return primary == static_cast<std::uint8_t>(s) || secondary == static_cast<std::uint8_t>(s);
    };
    if (is(BudState::inEar))
        return Wearing::worn;
    if (primary > 4 || secondary > 4 || is(BudState::moving))
        return Wearing::unchanged;
    return Wearing::notWorn;
}

bool inCase(std::uint8_t primary, std::uint8_t secondary) {
    const auto away = [](std::uint8_t s) {
        return s == static_cast<std::uint8_t>(BudState::inCase) ||
               s == static_cast<std::uint8_t>(BudState::disconnected);
    };
    return away(primary) && away(secondary) &&
           (primary == static_cast<std::uint8_t>(BudState::inCase) ||
            secondary == static_cast<std::uint8_t>(BudState::inCase));
}

std::size_t encodeEarDetection(BudState primary, BudState secondary, unsigned char* out) {
    std::memcpy(out, kMessagePrefix, 4);
    out[4] = kOpEarDetection;
    out[5] = 0;
    out[6] = static_cast<unsigned char>(primary);
    out[7] = static_cast<unsigned char>(secondary);
    return kEarDetectionSize;
}

const char* modelName(std::uint16_t productId) {
    switch (productId) {
    case 0x200E:
        return "AirPods Pro";
    case 0x2014:
    case 0x2024:
        return "AirPods Pro 2";
    case 0x2027:
        return "AirPods Pro 3";
    case 0x2013:
        return "AirPods 3";
    case 0x2019:
        return "AirPods 4";
    case 0x201B:
        return "AirPods 4 (ANC)";
    case 0x200A:
    case 0x201F:
        return "AirPods Max";
    case 0x202D:
        return "AirPods Max 2";
    default:
        return nullptr;
    }
}

bool isAppleModalias(const char* modalias, std::uint16_t& productId) {
    // "bluetooth:v004Cp2014d0100": vendor and product as four hex digits each.
    constexpr const char* prefix = "bluetooth:v004C";
    const std::size_t n = std::strlen(prefix);
    if (modalias == nullptr || ::strncasecmp(modalias, prefix, n) != 0)
        return false;
    const char* p = modalias + n;
    productId = 0;
    if (*p == 'p' || *p == 'P') {
        char digits[5] = {};
        std::size_t i = 0;
        for (; i < 4 && std::isxdigit(static_cast<unsigned char>(p[1 + i])); ++i)
            digits[i] = p[1 + i];
        if (i == 4)
            productId = static_cast<std::uint16_t>(std::strtoul(digits, nullptr, 16));
    }
    return true;
}

} // namespace quelmo::earbuds
