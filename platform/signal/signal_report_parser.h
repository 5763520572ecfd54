// SPDX-License-Identifier: MIT
#pragma once

#include "core/privacy_guard.h"

#include <optional>
#include <string_view>

namespace quelmo {

// The Bluetooth report's JSON -> a reading of connected headphones' signal
// strengths (device address -> RSSI in dBm, always finite and below 0).
// Output that is not JSON or lacks the expected shape gives an empty reading;
// a malformed device entry is left out.
SignalReadings parseSignalReport(std::string_view bytes);

// An RSSI written as text: wholly a number in the "C" locale, not starting
// with white space or NUL, finite and below 0.
std::optional<double> parseRssiText(std::string_view text);

} // namespace quelmo
