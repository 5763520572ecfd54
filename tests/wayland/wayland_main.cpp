// SPDX-License-Identifier: MIT
// Test main for the Wayland tests: Qt runs offscreen (the overlay under test
// opens its own Wayland connection), GoogleTest runs the cases.
#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
