// SPDX-License-Identifier: MIT
#pragma once

// Opening the sequenced-packet channel to the earbuds: L2CAP to a Bluetooth
// address, or a Unix socket standing in for it in tests. Both come back
// non-blocking with the connect under way; the caller waits for the socket
// to become writable and then asks linkError().

#include <string>

namespace quelmo::earbuds {

// A socket connecting to path, or -1 with why filled in.
int openUnixLink(const std::string& path, std::string& why);
// A socket connecting to PSM 0x1001 of address ("AA:BB:CC:DD:EE:FF") at the
// medium security level, or -1 with why filled in.
int openBluetoothLink(const std::string& address, std::string& why);
// 0 once the connect has succeeded, else its errno.
int linkError(int fd);

} // namespace quelmo::earbuds
