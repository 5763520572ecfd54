// SPDX-License-Identifier: MIT
#include "tests/support/xvfb_server.h"
#include "xvfb_session.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

namespace quelmo::test {
std::string xvfbFailure;
} // namespace quelmo::test

// The tests run as one Qt application on a private Xvfb (1280 × 800). When
// no server can be started they are skipped, on the offscreen platform.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    quelmo::test::XvfbServer& server = quelmo::test::sharedXvfb();
    if (server.isRunning()) {
        setenv("DISPLAY", server.display().c_str(), 1);
        qputenv("QT_QPA_PLATFORM", "xcb");
    } else {
        quelmo::test::xvfbFailure = server.failure().empty() ? "no Xvfb" : server.failure();
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
