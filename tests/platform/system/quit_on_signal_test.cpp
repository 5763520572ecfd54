// SPDX-License-Identifier: MIT
#include "platform/system/quit_on_signal.h"

#include <QCoreApplication>
#include <QTimer>

#include <csignal>
#include <gtest/gtest.h>

namespace quelmo {
namespace {

// SIGTERM and SIGINT end the event loop the orderly way, once each; after
// the first, the default action is back so a hung program can still be ended.
TEST(QuitOnSignal, TermAndIntQuitTheEventLoop) {
    for (const int number : {SIGTERM, SIGINT}) {
        const QuitOnSignal quit;
        QTimer::singleShot(0, [number] { std::raise(number); });
        QTimer failsafe;
        failsafe.setSingleShot(true);
        bool timedOut = false;
        QObject::connect(&failsafe, &QTimer::timeout, [&timedOut] {
            timedOut = true;
            QCoreApplication::exit(1);
        });
        failsafe.start(5000);
        EXPECT_EQ(QCoreApplication::exec(), 0);
        EXPECT_FALSE(timedOut);
        EXPECT_EQ(quit.received(), number);
        struct sigaction now {};
        sigaction(number, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL);
    }
}

} // namespace
} // namespace quelmo
