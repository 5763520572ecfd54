// SPDX-License-Identifier: MIT
// Clicks for shell tests on a wlroots compositor: keeps one virtual pointer
// for its whole life (without one the seat has no pointer) and, for each
// line "click X Y" read from its input, clicks the left button at (X, Y)
// of a 1280 x 720 output, then prints "ok".
#include "tests/support/virtual_pointer.h"

#include <iostream>
#include <string>

int main() {
    quelmo::test::VirtualPointer pointer;
    if (!pointer.isValid()) {
        std::cerr
            << "pointer-clicks: no virtual pointer (is WAYLAND_DISPLAY a wlroots compositor?)\n";
        return 2;
    }
    pointer.move(1, 1);
    std::string word;
    int x = 0;
    int y = 0;
    while (std::cin >> word >> x >> y) {
        const bool done = word == "click" && pointer.click(x, y, 1280, 720);
        std::cout << (done ? "ok" : "failed") << std::endl;
    }
    return 0;
}
