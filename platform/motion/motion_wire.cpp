// SPDX-License-Identifier: MIT
#include "platform/motion/motion_wire.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace quelmo::wire {

double readDoubleLE(const unsigned char* p) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | p[i];
    return std::bit_cast<double>(bits);
}

void writeDoubleLE(double value, unsigned char* p) {
    auto bits = std::bit_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i) {
        p[i] = static_cast<unsigned char>(bits & 0xff);
        bits >>= 8;
    }
}

bool isPrintableUtf8(std::string_view text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        std::uint32_t cp = 0;
        std::size_t len = 0;
        if (c < 0x80) {
            cp = c;
            len = 1;
        } else if (c >= 0xc2 && c <= 0xdf) {
            cp = c & 0x1f;
            len = 2;
        } else if (c >= 0xe0 && c <= 0xef) {
            cp = c & 0x0f;
            len = 3;
        } else if (c >= 0xf0 && c <= 0xf4) {
            cp = c & 0x07;
            len = 4;
        } else {
            return false;
        }
        if (n - i < len)
            return false;
        for (std::size_t k = 1; k < len; ++k) {
            if ((s[i + k] & 0xc0) != 0x80)
                return false;
            cp = (cp << 6) | (s[i + k] & 0x3f);
        }
        const bool overlong = (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000);
        const bool surrogate = cp >= 0xd800 && cp <= 0xdfff;
        const bool control = cp < 0x20 || (cp >= 0x7f && cp <= 0x9f);
        if (overlong || surrogate || cp > 0x10ffff || control)
            return false;
        i += len;
    }
    return true;
}

namespace {

void writeHeader(Kind kind, unsigned char* out) {
    std::memcpy(out, kMagic, 4);
    out[4] = kVersion;
    out[5] = static_cast<unsigned char>(kind);
    out[6] = 0;
    out[7] = 0;
}

DecodeStatus decodeSample(const unsigned char* p, DeviceMotion& m) {
    double v[10];
    for (int i = 0; i < 10; ++i) {
        v[i] = readDoubleLE(p + 8 * i);
        if (!std::isfinite(v[i]))
            return DecodeStatus::nonFinite;
    }
    for (int i = 4; i < 10; ++i) {
        if (std::fabs(v[i]) > kMaxAcceleration)
            return DecodeStatus::outOfRange;
    }
    // Components are finite but may be huge; compare each before squaring.
    for (int i = 0; i < 4; ++i) {
        if (std::fabs(v[i]) > 1.0 + kUnitTolerance)
            return DecodeStatus::notUnitQuaternion;
    }
    const double norm = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2] + v[3] * v[3]);
    if (std::fabs(norm - 1.0) > kUnitTolerance)
        return DecodeStatus::notUnitQuaternion;
    m = DeviceMotion{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9]};
    return DecodeStatus::ok;
}

} // namespace

DecodeStatus decode(const unsigned char* data, std::size_t size, Message& out) {
    if (size < kHeaderSize)
        return DecodeStatus::tooShort;
    if (size > kMaxMessageSize)
        return DecodeStatus::tooLong;
    if (std::memcmp(data, kMagic, 4) != 0)
        return DecodeStatus::badMagic;
    if (data[4] != kVersion)
        return DecodeStatus::badVersion;
    if (data[6] != 0 || data[7] != 0)
        return DecodeStatus::badReserved;
    const unsigned char* payload = data + kHeaderSize;
    const std::size_t payloadSize = size - kHeaderSize;
    switch (data[5]) {
    case static_cast<unsigned char>(Kind::sample): {
        if (size != kSampleSize)
            return DecodeStatus::badLength;
        DeviceMotion m;
        const DecodeStatus s = decodeSample(payload, m);
        if (s != DecodeStatus::ok)
            return s;
        out.kind = Kind::sample;
        out.motion = m;
        out.text = {};
        return DecodeStatus::ok;
    }
    case static_cast<unsigned char>(Kind::connected):
    case static_cast<unsigned char>(Kind::disconnected):
        if (payloadSize != 0)
            return DecodeStatus::badLength;
        out.kind = static_cast<Kind>(data[5]);
        out.text = {};
        return DecodeStatus::ok;
    case static_cast<unsigned char>(Kind::error): {
        if (payloadSize == 0)
            return DecodeStatus::badLength;
        const std::string_view text(reinterpret_cast<const char*>(payload), payloadSize);
        if (!isPrintableUtf8(text))
            return DecodeStatus::badText;
        out.kind = Kind::error;
        out.text = text;
        return DecodeStatus::ok;
    }
    default:
        return DecodeStatus::badKind;
    }
}

std::size_t encodeSample(const DeviceMotion& m, unsigned char* out) {
    writeHeader(Kind::sample, out);
    const double v[10] = {m.qx, m.qy, m.qz, m.qw, m.gx, m.gy, m.gz, m.ax, m.ay, m.az};
    for (int i = 0; i < 10; ++i)
        writeDoubleLE(v[i], out + kHeaderSize + 8 * i);
    return kSampleSize;
}

std::size_t encodeConnection(bool connected, unsigned char* out) {
    writeHeader(connected ? Kind::connected : Kind::disconnected, out);
    return kHeaderSize;
}

std::size_t encodeError(std::string_view text, unsigned char* out) {
    if (text.empty() || text.size() > kMaxErrorText)
        return 0;
    writeHeader(Kind::error, out);
    std::memcpy(out + kHeaderSize, text.data(), text.size());
    return kHeaderSize + text.size();
}

} // namespace quelmo::wire
