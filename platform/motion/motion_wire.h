// SPDX-License-Identifier: MIT
#pragma once

// The native motion protocol: one datagram per message on the user's private
// Unix socket. docs/motion-protocol.md is the reference for bridge writers.

#include "platform/motion/motion_conversion.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quelmo::wire {

inline constexpr unsigned char kMagic[4] = {'Q', 'L', 'M', 'O'};
inline constexpr std::uint8_t kVersion = 1;
inline constexpr std::size_t kHeaderSize = 8;
inline constexpr std::size_t kSampleSize = kHeaderSize + 10 * 8;
inline constexpr std::size_t kMaxErrorText = 256;
// No valid message is longer than this.
inline constexpr std::size_t kMaxMessageSize = kHeaderSize + kMaxErrorText;

// Bounds that keep every conversion finite and reject garbage early.
inline constexpr double kMaxAcceleration = 1000.0; // g, per component
inline constexpr double kUnitTolerance = 0.1;      // |quaternion| within 1 ± this

enum class Kind : std::uint8_t { sample = 1, connected = 2, disconnected = 3, error = 4 };

struct Message {
    Kind kind = Kind::sample;
    DeviceMotion motion;   // kind == sample
    std::string_view text; // kind == error: points into the decoded buffer
};

enum class DecodeStatus {
    ok,
    tooShort,
    tooLong,
    badMagic,
    badVersion,
    badKind,
    badLength,
    badReserved,
    nonFinite,
    outOfRange,
    notUnitQuaternion,
    badText,
};

// Decodes one datagram. Never reads past size; never allocates.
DecodeStatus decode(const unsigned char* data, std::size_t size, Message& out);

// Encoders for bridges, the simulator and tests. Each returns the number of
// bytes written to out, which must hold kMaxMessageSize bytes; 0 when the
// input cannot be encoded (error text empty or too long).
std::size_t encodeSample(const DeviceMotion& motion, unsigned char* out);
std::size_t encodeConnection(bool connected, unsigned char* out);
std::size_t encodeError(std::string_view text, unsigned char* out);

// Little-endian IEEE-754 doubles, independent of the host's byte order.
double readDoubleLE(const unsigned char* p);
void writeDoubleLE(double value, unsigned char* p);

// True when text is valid UTF-8 without control characters.
bool isPrintableUtf8(std::string_view text);

} // namespace quelmo::wire
