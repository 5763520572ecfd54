// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace quelmo::sim {

// A private listening Unix sequenced-packet socket at path, as the fake
// devices offer themselves to Quelmo: a socket file left by an earlier run is
// replaced, the new one is made mode 0600. Returns the descriptor, or -1
// with the reason in error.
int listenSeqpacket(const std::string& path, bool nonBlocking, std::string& error);
// Closes the listening socket and removes its file.
void stopListening(int fd, const std::string& path);

// Hands each message waiting on a connected non-blocking socket to `handle`,
// until none waits or `handle` says to stop (false: it closed the socket);
// false once the peer has closed it (or a read failed).
bool receiveWaiting(int fd, const std::function<bool(const unsigned char*, std::size_t)>& handle);

} // namespace quelmo::sim
