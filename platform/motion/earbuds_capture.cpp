// SPDX-License-Identifier: MIT
#include "platform/motion/earbuds_capture.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quelmo::earbuds {

namespace {

// No frame on an L2CAP channel is longer than its largest packet.
constexpr std::size_t kLongestFrame = 65535;

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

} // namespace

std::string captureLine(double at, bool sent, const unsigned char* data, std::size_t size) {
    char head[48];
    std::snprintf(head, sizeof head, "%.3f %c", at, sent ? '>' : '<');
    std::string line = head;
    line.reserve(line.size() + 3 * size);
    static constexpr char digits[] = "0123456789ABCDEF";
    for (std::size_t i = 0; i < size; ++i) {
        line += ' ';
        line += digits[data[i] >> 4];
        line += digits[data[i] & 0xF];
    }
    return line;
}

CaptureLine parseCaptureLine(const std::string& line, CapturedFrame& out, std::string& error) {
    std::size_t i = 0;
    const auto skipSpace = [&] {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
    };
    skipSpace();
    if (i == line.size() || line[i] == '#')
        return CaptureLine::skip;
    char* end = nullptr;
    const double at = std::strtod(line.c_str() + i, &end);
    if (end == line.c_str() + i || !std::isfinite(at) || at < 0) {
        error = "a time in seconds first";
        return CaptureLine::bad;
    }
    i = static_cast<std::size_t>(end - line.c_str());
    skipSpace();
    if (i == line.size() || (line[i] != '<' && line[i] != '>')) {
        error = "\"<\" or \">\" after the time";
        return CaptureLine::bad;
    }
    CapturedFrame frame;
    frame.at = at;
    frame.sent = line[i++] == '>';
    for (;;) {
        skipSpace();
        if (i == line.size())
            break;
        const int hi = hexDigit(line[i]);
        const int lo = i + 1 < line.size() ? hexDigit(line[i + 1]) : -1;
        if (hi < 0 || lo < 0) {
            error = "bytes as pairs of hex digits";
            return CaptureLine::bad;
        }
        if (frame.bytes.size() == kLongestFrame) {
            error = "a frame longer than 65535 bytes";
            return CaptureLine::bad;
        }
        frame.bytes.push_back(static_cast<unsigned char>(hi * 16 + lo));
        i += 2;
    }
    out = std::move(frame);
    return CaptureLine::frame;
}

} // namespace quelmo::earbuds
