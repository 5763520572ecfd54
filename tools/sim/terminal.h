// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <termios.h>

namespace quelmo::sim {

enum class Key { left, right, up, down, other };

// Puts the terminal on standard input into key-at-a-time mode without echo
// for as long as it lives.
class RawTerminal {
  public:
    RawTerminal();
    ~RawTerminal();
    RawTerminal(const RawTerminal&) = delete;
    RawTerminal& operator=(const RawTerminal&) = delete;

    // A key pressed within timeoutMs, if any. Plain characters come back in ch.
    std::optional<Key> readKey(int timeoutMs, char& ch);

  private:
    bool active_ = false;
    termios original_{};
};

} // namespace quelmo::sim
