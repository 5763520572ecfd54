// SPDX-License-Identifier: MIT
#include "tools/sim/terminal.h"

#include <poll.h>
#include <unistd.h>

namespace quelmo::sim {

RawTerminal::RawTerminal() {
    if (::tcgetattr(STDIN_FILENO, &original_) != 0)
        return;
    termios raw = original_;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO); // keep ISIG: Ctrl-C still quits
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    active_ = ::tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
}

RawTerminal::~RawTerminal() {
    if (active_)
        ::tcsetattr(STDIN_FILENO, TCSANOW, &original_);
}

namespace {
bool readByte(char& c, int timeoutMs) {
    pollfd p{STDIN_FILENO, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0)
        return false;
    return ::read(STDIN_FILENO, &c, 1) == 1;
}
} // namespace

std::optional<Key> RawTerminal::readKey(int timeoutMs, char& ch) {
    char c = 0;
    if (!readByte(c, timeoutMs))
        return std::nullopt;
    ch = c;
    if (c != '\x1b')
        return Key::other;
    // Arrow keys arrive as ESC [ A..D (or ESC O A..D).
    char second = 0, third = 0;
    if (!readByte(second, 20) || (second != '[' && second != 'O') || !readByte(third, 20))
        return Key::other;
    switch (third) {
    case 'A':
        return Key::up;
    case 'B':
        return Key::down;
    case 'C':
        return Key::right;
    case 'D':
        return Key::left;
    default:
        return Key::other;
    }
}

} // namespace quelmo::sim
