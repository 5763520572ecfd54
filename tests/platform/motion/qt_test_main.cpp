// SPDX-License-Identifier: MIT
// Test entry point with a widget application on the offscreen platform, so
// the tests can use the event loop, sockets and the prompt windows headless.

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
