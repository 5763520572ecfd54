// SPDX-License-Identifier: MIT
#pragma once

// The signal strength of a connected device read the way an ordinary user
// may: a raw HCI socket on the adapter, HCIGETCONNINFO for the connection
// handle, and the HCI Read RSSI command, which the kernel's security filter
// lets unprivileged sockets send (no CAP_NET_ADMIN, unlike the management
// socket behind `btmgmt conn-info`).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quelmo::btreport {

inline constexpr std::uint16_t kReadRssiOpcode = (0x05 << 10) | 0x0005; // OGF 5, OCF 5
inline constexpr std::size_t kReadRssiCommandSize = 6;

// The command packet: type 0x01, opcode and parameter length, the handle.
void encodeReadRssi(std::uint16_t handle, unsigned char out[kReadRssiCommandSize]);

// One event packet read from the socket, as far as Read RSSI is concerned.
struct RssiReply {
    bool answersUs = false;  // the reply to Read RSSI for this handle
    std::optional<int> rssi; // absent: the controller refused (status not 0)
};
RssiReply parseRssiEvent(const unsigned char* data, std::size_t size, std::uint16_t handle);

// The raw RSSI of the ACL link to address on adapter hciN, within timeoutMs;
// nothing when there is no adapter, no such link, or no answer. why says
// what went wrong.
std::optional<int> readHciRssi(int adapterIndex, const std::string& address, int timeoutMs,
                               std::string& why);

} // namespace quelmo::btreport
