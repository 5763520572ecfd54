// SPDX-License-Identifier: MIT
#include "platform/signal/bluetooth_rules.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace quelmo::bluetooth {

bool isHeadphoneClass(std::uint32_t deviceClass) {
    const std::uint32_t major = (deviceClass >> 8) & 0x1f;
    const std::uint32_t minor = (deviceClass >> 2) & 0x3f;
    return major == 0x04 && (minor == 0x01 || minor == 0x06);
}

bool isHeadphoneIcon(std::string_view icon) {
    return icon == "audio-headphones" || icon == "audio-headset";
}

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view nextLine(std::string_view& text) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return line;
}

} // namespace

std::optional<int> parseConnInfoRssi(std::string_view output, std::string_view address) {
    // Success looks like:
    //   Connection Information for AA:BB:CC:DD:EE:FF (BR/EDR)
    //   \tRSSI -3\tTX power 4\tmaximum TX power 4
    constexpr std::string_view header = "Connection Information for ";
    constexpr std::string_view rssiLabel = "RSSI ";
    bool forAddress = false;
    while (!output.empty()) {
        std::string_view line = nextLine(output);
        if (const auto at = line.find(header); at != std::string_view::npos) {
            std::string_view rest = line.substr(at + header.size());
            forAddress = equalsIgnoringCase(rest.substr(0, rest.find(' ')), address);
            continue;
        }
        if (!forAddress)
            continue;
        const auto at = line.find(rssiLabel);
        if (at == std::string_view::npos)
            continue;
        std::string_view number = line.substr(at + rssiLabel.size());
        int value = 0;
        const auto [end, error] =
            std::from_chars(number.data(), number.data() + number.size(), value);
        const bool ended =
            end == number.data() + number.size() || *end == '\t' || *end == ' ' || *end == '\r';
        if (error != std::errc() || !ended || value < -128 || value > 127)
            return std::nullopt;
        if (value == 127)
            return std::nullopt;
        return value;
    }
    return std::nullopt;
}

int approximateDbm(int relative) {
    return std::min(kGoldenRangeLowerLimit + relative, -1);
}

namespace {

void appendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}

} // namespace

std::string reportJson(const std::vector<Device>& devices) {
    std::string out = "{\"SPBluetoothDataType\":[{\"device_connected\":[";
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const Device& d = devices[i];
        if (i > 0)
            out += ',';
        out += "\n  {";
        appendJsonString(out, d.name.empty() ? d.address : d.name);
        out += ":{\"device_address\":";
        appendJsonString(out, d.address);
        out += ",\"device_minorType\":\"Headphones\"";
        if (d.rssiDbm) {
            out += ",\"device_rssi\":";
            appendJsonString(out, std::to_string(*d.rssiDbm));
        }
        out += "}}";
    }
    out += devices.empty() ? "]}]}\n" : "\n]}]}\n";
    return out;
}

} // namespace quelmo::bluetooth
