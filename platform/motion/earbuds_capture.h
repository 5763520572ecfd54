// SPDX-License-Identifier: MIT
#pragma once

// Captures of an earbuds channel: one frame a line, "SECONDS DIRECTION HEX",
// DIRECTION "<" for a frame from the earbuds and ">" for one Quelmo sent,
// the seconds counted from the capture's start; '#' starts a comment line.
//   0.012 > 00 00 04 00 01 00 02 00 00 00 00 00 00 00 00 00
//   0.031 < 01 00 04 00 00 00 01 00 02 00
// Written by quelmo --probe-headphones --capture, played by
// quelmo-sim --earbuds --play. Standard library only.

#include <cstddef>
#include <string>
#include <vector>

namespace quelmo::earbuds {

struct CapturedFrame {
    double at = 0;
    bool sent = false; // by Quelmo
    std::vector<unsigned char> bytes;
};

std::string captureLine(double at, bool sent, const unsigned char* data, std::size_t size);

enum class CaptureLine { frame, skip, bad };
// A blank or comment line is `skip`; a line that is neither a frame nor
// that is `bad`, with the reason in error.
CaptureLine parseCaptureLine(const std::string& line, CapturedFrame& out, std::string& error);

} // namespace quelmo::earbuds
