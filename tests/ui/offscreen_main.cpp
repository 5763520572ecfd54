// SPDX-License-Identifier: MIT
#include <QApplication>

#include <gtest/gtest.h>

// Widgets without a display: Qt's offscreen platform gives one screen and
// real top-level windows that are never shown on any monitor.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // The offscreen platform warns about every window feature it lacks
    // (raise, opacity, ...); those warnings say nothing about the code.
    static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.startsWith(QLatin1String("This plugin does not support"))) {
                previous(type, context, message);
            }
        });
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
