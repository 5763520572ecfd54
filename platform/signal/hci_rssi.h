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
#include <vector>

namespace quelmo::bluetooth {

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
// The same for a link whose handle is known (from listHciLinks).
std::optional<int> readHciRssiOnHandle(int adapterIndex, std::uint16_t handle, int timeoutMs,
                                       std::string& why);

// One link the kernel holds to a remote device.
struct HciLink {
    int adapterIndex = 0;
    std::string address; // "AA:BB:CC:DD:EE:FF", as BlueZ writes it
    std::uint16_t handle = 0;
    bool acl = false; // a classic (BR/EDR) data link; Read RSSI's value is relative there
};
// Every link of every adapter, from the kernel's lists (no privileges, no
// bus, a few system calls). Empty, with why set, when there is no Bluetooth.
std::vector<HciLink> listHciLinks(std::string& why);
// The kernel's little-endian address bytes as text, and back: false unless
// text is six two-digit hex bytes separated by colons.
std::string formatAddress(const std::uint8_t bdaddr[6]);
bool parseAddress(const std::string& text, std::uint8_t out[6]);

} // namespace quelmo::bluetooth
