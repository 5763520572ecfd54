// SPDX-License-Identifier: MIT
#pragma once

// What Quelmo knows of Bluetooth headphones without talking to the system: recognising
// headphones, reading `btmgmt conn-info` output, and writing the report JSON.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quelmo::bluetooth {

// For BR/EDR links the controller reports RSSI relative to its golden receive
// power range (0 = inside it, negative = below its lower limit). Typical
// controllers put that limit near -60 dBm, so the report gives -60 + value.
inline constexpr int kGoldenRangeLowerLimit = -60;

struct Device {
    std::string name;
    std::string address;
    std::optional<int> rssiDbm; // absent: not known (the entry is still listed)
};

// Bluetooth Class of Device: major class Audio/Video with minor class
// wearable headset (0x01) or headphones (0x06).
bool isHeadphoneClass(std::uint32_t deviceClass);
// The icon names BlueZ derives for such devices (also for LE appearances).
bool isHeadphoneIcon(std::string_view icon);

// The raw RSSI from `btmgmt conn-info` output for address (case-insensitive),
// or nothing when the command failed, printed something else, or reported
// the value 127 ("not available").
std::optional<int> parseConnInfoRssi(std::string_view output, std::string_view address);

// -60 + relative, kept below 0 so it stays a valid signal strength.
int approximateDbm(int relative);

// {"SPBluetoothDataType":[{"device_connected":[{NAME:{...}}, ...]}]}, one
// controller entry holding every device; devices without a known RSSI carry
// no "device_rssi".
std::string reportJson(const std::vector<Device>& devices);

} // namespace quelmo::bluetooth
