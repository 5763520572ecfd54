// SPDX-License-Identifier: MIT
#include "platform/x11/input_activity.h"
#include "platform/x11/input_activity_monitor.h"

#include "tests/platform/x11/x11_test_helpers.h"
#include "tests/support/stderr_capture.h"

#include <cstdlib>

namespace quelmo {
namespace {

using namespace test;
using Source = InputActivityMonitor::Source;
using Commands = std::vector<std::vector<std::string>>;

class InputActivityOnX11 : public XvfbTest {
  protected:
    void SetUp() override {
        XvfbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        monitor = std::make_unique<InputActivityMonitor>(InputActivityMonitor::Options{display()});
        ASSERT_EQ(monitor->source(), Source::xInput2);
    }

    Clock::time_point lastEvent() const { return monitor->lastEventAt().value(); }

    std::unique_ptr<InputActivityMonitor> monitor;
};

struct CountedInput {
    const char* name;
    Commands before; // sent before the clock starts
    Commands counted;
    Commands after; // puts the server back
};

void PrintTo(const CountedInput& input, std::ostream* out) {
    *out << input.name;
}

class CountedInputOnX11 : public InputActivityOnX11,
                          public ::testing::WithParamInterface<CountedInput> {};

TEST_P(CountedInputOnX11, ResetsTheIdleTime) {
    for (const auto& command : GetParam().before) {
        xdotool(command);
    }
    const auto start = Clock::now();
    for (const auto& command : GetParam().counted) {
        xdotool(command);
    }
    EXPECT_TRUE(waitUntil([&] { return lastEvent() >= start; }));
    const double idle = monitor->secondsSinceLastEvent();
    EXPECT_LE(idle, std::chrono::duration<double>(Clock::now() - start).count());
    for (const auto& command : GetParam().after) {
        xdotool(command);
    }
}

INSTANTIATE_TEST_SUITE_P(EachKind, CountedInputOnX11,
                         ::testing::Values(CountedInput{"KeyPress", {}, {{"key", "a"}}, {}},
                                           CountedInput{"PointerMotion",
                                                        {},
                                                        {{"mousemove_relative", "--", "9", "7"}},
                                                        {}},
                                           CountedInput{"LeftButton", {}, {{"click", "1"}}, {}},
                                           CountedInput{"RightButton", {}, {{"click", "3"}}, {}},
                                           CountedInput{"LeftDrag",
                                                        {{"mousedown", "1"}},
                                                        {{"mousemove_relative", "--", "5", "5"}},
                                                        {{"mouseup", "1"}}},
                                           CountedInput{"ScrollUp", {}, {{"click", "4"}}, {}},
                                           CountedInput{"ScrollDown", {}, {{"click", "5"}}, {}},
                                           CountedInput{"ScrollLeft", {}, {{"click", "6"}}, {}},
                                           CountedInput{"ScrollRight", {}, {{"click", "7"}}, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(InputActivityOnX11, ModifierPressesAndOtherButtonsDoNotCount) {
    const Commands ignored = {{"key", "shift"}, {"key", "ctrl"},      {"key", "alt"},
                              {"key", "super"}, {"key", "Caps_Lock"}, {"key", "Caps_Lock"},
                              {"click", "2"},   {"click", "8"}};
    const auto start = Clock::now();
    const auto seen = monitor->rawEventsSeen();
    for (const auto& command : ignored) {
        xdotool(command);
    }
    // Wait until the listener has looked at every one of them, then check none counted.
    ASSERT_TRUE(waitUntil([&] { return monitor->rawEventsSeen() >= seen + ignored.size(); }));
    EXPECT_LT(lastEvent(), start);
}

TEST_F(InputActivityOnX11, BeforeTheFirstEventTheServersIdleTimeIsUsed) {
    const auto start = Clock::now();
    const auto seen = monitor->rawEventsSeen();
    xdotool({"mousemove_relative", "--", "3", "3"});
    ASSERT_TRUE(waitUntil([&] { return monitor->rawEventsSeen() > seen; }));
    const auto moved = Clock::now();
    std::this_thread::sleep_for(1500ms);

    InputActivityMonitor fresh({display()});
    // The move, not the moment the monitor started.
    EXPECT_GT(fresh.lastEventAt().value(), start - 100ms);
    EXPECT_LT(fresh.lastEventAt().value(), moved + 750ms);
}

TEST_F(InputActivityOnX11, WithoutXInput2TheScreenSaverIdleTimeStandsIn) {
    InputActivityMonitor fallback({display(), /*useXInput2=*/false});
    ASSERT_EQ(fallback.source(), Source::screenSaver);
    std::this_thread::sleep_for(100ms); // so the last input before is clearly older
    const auto start = Clock::now();
    xdotool({"mousemove_relative", "--", "-4", "6"});
    // Allow for the server's millisecond clock.
    EXPECT_TRUE(waitUntil([&] { return fallback.lastEventAt().value() >= start - 10ms; }));
}

TEST(InputActivityWithoutServer, ReportsAVeryLongIdleTime) {
    StderrCapture stderrText;
    InputActivityMonitor monitor({":65000"}); // no such display
    EXPECT_EQ(monitor.source(), Source::unavailable);
    EXPECT_EQ(monitor.secondsSinceLastEvent(), InputActivity::kIdleSecondsWithoutDisplay);
    EXPECT_FALSE(monitor.lastEventAt().has_value());
    EXPECT_EQ(stderrText.count(":65000"), 1);
}

TEST(InputActivityWithoutServer, ALostServerLeavesTheLastEventInPlace) {
    QUELMO_SKIP_UNLESS_INSTALLED("Xvfb", "xvfb");
    XvfbServer server;
    ASSERT_TRUE(server.isRunning()) << server.failure();
    InputActivityMonitor monitor({server.display()});
    ASSERT_EQ(monitor.source(), Source::xInput2);
    const auto last = monitor.lastEventAt();

    StderrCapture stderrText;
    server.stop();
    ASSERT_TRUE(waitUntil([&] { return monitor.source() == Source::connectionLost; }));
    EXPECT_EQ(monitor.lastEventAt(), last);
    EXPECT_LT(monitor.secondsSinceLastEvent(), InputActivity::kIdleSecondsWithoutDisplay);
    EXPECT_EQ(stderrText.count("lost the connection"), 1);
}

// The process-wide reader starts once per process, so these run in a fresh process each.
int processWideReadingWithoutDisplay() {
    unsetenv("DISPLAY");
    int notices = 0;
    double first = 0;
    double second = 0;
    {
        StderrCapture stderrText;
        first = InputActivity::secondsSinceLastEvent();
        second = InputActivity::secondsSinceLastEvent();
        notices = stderrText.count("keyboard and mouse activity");
    }
    const bool ok =
        first == InputActivity::kIdleSecondsWithoutDisplay && second == first && notices == 1;
    std::fprintf(stderr, "idle %g then %g, %d notices\n", first, second, notices);
    return ok ? 0 : 1;
}

int processWideReadingOnPrivateServer() {
    XvfbServer server;
    if (!server.isRunning()) {
        return 2;
    }
    setenv("DISPLAY", server.display().c_str(), 1);
    const double first = InputActivity::secondsSinceLastEvent();
    const auto start = Clock::now();
    server.run({"xdotool", "key", "a"});
    const bool seen = waitUntil([&] {
        return InputActivity::secondsSinceLastEvent() <=
               std::chrono::duration<double>(Clock::now() - start).count();
    });
    std::fprintf(stderr, "first reading %g, key press seen %d\n", first, seen);
    return first < InputActivity::kIdleSecondsWithoutDisplay && seen ? 0 : 1;
}

TEST(InputActivityProcessWide, WithoutDisplayReportsAVeryLongIdleTimeAndSaysSoOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(processWideReadingWithoutDisplay()), ::testing::ExitedWithCode(0), "");
}

TEST(InputActivityProcessWide, ListensOnTheDisplayInDISPLAY) {
    QUELMO_SKIP_UNLESS_INSTALLED("Xvfb", "xvfb");
    QUELMO_SKIP_UNLESS_INSTALLED("xdotool", "xdotool");
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(processWideReadingOnPrivateServer()), ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace quelmo
