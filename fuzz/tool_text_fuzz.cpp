// SPDX-License-Identifier: MIT
// Fuzzes the text the tools read: btmgmt output and quelmo-sim scripts.

#include "platform/signal/bluetooth_rules.h"
#include "tools/sim/sim_script.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto rssi = quelmo::bluetooth::parseConnInfoRssi(text, "00:1B:66:A1:B2:C3")) {
        if (*rssi < -128 || *rssi >= 127)
            std::abort();
        if (quelmo::bluetooth::approximateDbm(*rssi) >= 0)
            std::abort();
    }
    quelmo::sim::ScriptError error;
    if (const auto steps = quelmo::sim::parseScript(text, error)) {
        for (const auto& step : *steps) {
            if (!std::isfinite(step.seconds) || step.seconds < 0 || !std::isfinite(step.argument))
                std::abort();
        }
    }
    return 0;
}
