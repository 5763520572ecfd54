// SPDX-License-Identifier: MIT
// The reader hands results back through the Qt event loop, so its tests run
// inside a core application.

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
