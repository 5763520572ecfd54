// SPDX-License-Identifier: MIT
// Fuzzes the Bluetooth report reader: nothing may crash or hang, and every
// value in a reading must be a finite strength below 0.

#include "platform/signal/signal_report_parser.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const auto& [address, rssi] : quelmo::parseSignalReport(bytes)) {
        if (!std::isfinite(rssi) || !(rssi < 0))
            std::abort();
    }
    if (const auto rssi = quelmo::parseRssiText(bytes)) {
        if (!std::isfinite(*rssi) || !(*rssi < 0))
            std::abort();
    }
    return 0;
}
