// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/programs.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace quelmo::test {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Generous: input takes its time to travel through xdotool and the server on a loaded machine.
inline constexpr auto kPatience = 20s;

// Polls until done() holds; false when kPatience runs out first.
inline bool waitUntil(const std::function<bool()>& done) {
    const auto deadline = Clock::now() + kPatience;
    while (!done()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

// For tests on the shared private Xvfb that drive it with xdotool.
class XvfbTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QUELMO_SKIP_UNLESS_INSTALLED("Xvfb", "xvfb");
        QUELMO_SKIP_UNLESS_INSTALLED("xdotool", "xdotool");
        ASSERT_TRUE(sharedXvfb().isRunning()) << sharedXvfb().failure();
    }

    static const std::string& display() { return sharedXvfb().display(); }

    static void xdotool(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "xdotool");
        ASSERT_EQ(sharedXvfb().run(arguments), 0) << "xdotool " << arguments[1] << " failed";
    }
};

} // namespace quelmo::test
