// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/programs.h"
#include "tests/support/xvfb_server.h"

#include <QGuiApplication>

#include <string>
#include <vector>

// Xlib's own headers define macros (None, Bool, ...) that clash with Qt's;
// tests include them after every Qt header.
using Display = struct _XDisplay;

namespace quelmo::test {

// Why the private X server is missing; empty when the tests run on it.
extern std::string xvfbFailure;

#define QUELMO_SKIP_WITHOUT_XVFB()                                                                 \
    do {                                                                                           \
        if (!::quelmo::test::xvfbFailure.empty()) {                                                \
            GTEST_SKIP() << ::quelmo::test::xvfbFailure;                                           \
        }                                                                                          \
    } while (0)

inline Display* qtDisplay() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

// Runs an X client (xdotool, xrandr, ...) against the test server.
inline int runOnServer(std::vector<std::string> argv) {
    return sharedXvfb().run(argv);
}

} // namespace quelmo::test
