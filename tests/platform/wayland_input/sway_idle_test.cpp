// SPDX-License-Identifier: MIT
// Keyboard and mouse activity against a real headless sway: wtype types, a
// virtual pointer moves, and the idle reading follows within one timeout.
// The monitors, and the frost's globals, share one connection whose events
// this thread handles, as the program's main thread does.
#include "platform/wayland/wayland_display.h"
#include "platform/wayland_connection/wayland_connection.h"
#include "platform/wayland_input/output_power_monitor.h"
#include "platform/wayland_input/wayland_idle_monitor.h"
#include "tests/support/headless_sway.h"
#include "tests/support/programs.h"
#include "tests/support/virtual_pointer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace quelmo {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Waits until `done` holds, handling the connection's events meanwhile and
// checking at least every few milliseconds; false at the deadline.
bool handleEventsUntil(WaylandConnection& connection, const std::function<bool()>& done,
                       std::chrono::milliseconds limit = 5s) {
    const auto deadline = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() > deadline) {
            return false;
        }
        if (connection.isBroken()) {
            std::this_thread::sleep_for(5ms);
        } else {
            connection.dispatchUntil(done, 5ms);
        }
    }
    return true;
}

double secondsSince(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

class SwayIdle : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (test::findProgram("sway")) {
            sway_ = std::make_unique<test::HeadlessSway>();
        }
    }
    static void TearDownTestSuite() { sway_.reset(); }

    void SetUp() override {
        QUELMO_SKIP_UNLESS_INSTALLED("sway", "sway");
        ASSERT_TRUE(sway_->isRunning()) << sway_->failure();
        connection_ = WaylandConnection::connect(sway_->socket());
        ASSERT_TRUE(connection_);
    }

    bool pollUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 5s) {
        return handleEventsUntil(*connection_, done, limit);
    }

    // Waits for the compositor to call the seat idle, then a little longer.
    bool waitUntilIdle(const WaylandIdleMonitor& monitor) {
        return pollUntil([&] { return monitor.secondsSinceLastEvent() > 0.8; });
    }

    WaylandIdleMonitor::Options options_;
    std::shared_ptr<WaylandConnection> connection_;

    static std::unique_ptr<test::HeadlessSway> sway_;
};

std::unique_ptr<test::HeadlessSway> SwayIdle::sway_;

TEST_F(SwayIdle, PicksKdeIdleOnSwayAndReportsNothingWithoutAnySource) {
    WaylandIdleMonitor monitor(connection_, options_);
    // sway 1.7 offers org_kde_kwin_idle only; newer ones offer ext-idle-notify too.
    EXPECT_TRUE(monitor.source() == WaylandIdleMonitor::Source::kdeIdle ||
                monitor.source() == WaylandIdleMonitor::Source::inputIdle ||
                monitor.source() == WaylandIdleMonitor::Source::idleNotify)
        << WaylandIdleMonitor::sourceName(monitor.source());

    auto none = options_;
    none.useIdleNotify = false;
    none.useKdeIdle = false;
    WaylandIdleMonitor blind(connection_, none);
    EXPECT_FALSE(blind.isAvailable());
    EXPECT_EQ(blind.secondsSinceLastEvent(), 1e9);

    EXPECT_EQ(WaylandConnection::connect(sway_->runtimeDir() + "/no-such-socket"), nullptr);
    EXPECT_FALSE(WaylandIdleMonitor(nullptr, options_).isAvailable());
}

TEST_F(SwayIdle, AKeyTypedWithWtypeResetsTheIdleTime) {
    QUELMO_SKIP_UNLESS_INSTALLED("wtype", "wtype");
    WaylandIdleMonitor monitor(connection_, options_);
    ASSERT_TRUE(monitor.isAvailable());
    ASSERT_TRUE(waitUntilIdle(monitor));

    const auto before = Clock::now();
    ASSERT_EQ(sway_->run({"wtype", "q"}), 0);
    const auto typed = Clock::now();
    ASSERT_TRUE(pollUntil([&] { return monitor.secondsSinceLastEvent() <= 0.25; }, 2s))
        << "still " << monitor.secondsSinceLastEvent() << " s idle after a key";
    const double latency = secondsSince(typed);
    EXPECT_LT(latency, 0.5);

    // Once idle again, the last event is placed one timeout before the idle
    // notification: it must land between the start and the end of wtype's run,
    // give or take the compositor's timer.
    ASSERT_TRUE(waitUntilIdle(monitor));
    const double reading = monitor.secondsSinceLastEvent();
    EXPECT_LE(reading, secondsSince(before) + 0.05);
    EXPECT_GE(reading, secondsSince(typed) - 0.05);
}

TEST_F(SwayIdle, AVirtualPointerMoveResetsTheIdleTime) {
    test::VirtualPointer pointer(sway_->socket().c_str());
    ASSERT_TRUE(pointer.isValid());
    WaylandIdleMonitor monitor(connection_, options_);
    ASSERT_TRUE(waitUntilIdle(monitor));

    const auto before = Clock::now();
    ASSERT_TRUE(pointer.move(25, 10));
    const auto moved = Clock::now();
    ASSERT_TRUE(pollUntil([&] { return monitor.secondsSinceLastEvent() <= 0.25; }, 2s));
    EXPECT_LT(secondsSince(moved), 0.5);

    ASSERT_TRUE(waitUntilIdle(monitor));
    const double reading = monitor.secondsSinceLastEvent();
    EXPECT_LE(reading, secondsSince(before) + 0.05);
    EXPECT_GE(reading, secondsSince(moved) - 0.05);
}

TEST_F(SwayIdle, OutputPowerIsReadFromTheCompositor) {
    OutputPowerMonitor outputs(connection_);
    ASSERT_TRUE(outputs.isAvailable());
    // Headless sway 1.7 keeps its outputs on whatever it is asked ("dpms off"
    // and the protocol's own set_mode both leave them on, measured), so only
    // the "on" side can be seen here; the watcher's side of "off" is tested
    // with a reader of its own.
    EXPECT_TRUE(pollUntil([&] { return outputs.allOff() == false; }));

    EXPECT_FALSE(OutputPowerMonitor(nullptr).isAvailable());
}

TEST_F(SwayIdle, OneConnectionServesTheFrostAndBothMonitorsAndOutlivesAFeatureThatWasMissing) {
    // A feature whose global is missing is dropped, as the program drops an
    // idle monitor with no source; the others must not notice.
    auto none = options_;
    none.useIdleNotify = false;
    none.useKdeIdle = false;
    std::make_unique<WaylandIdleMonitor>(connection_, none).reset();

    auto frost = WaylandDisplay::create(connection_);
    ASSERT_TRUE(frost);
    EXPECT_NE(frost->layerShell(), nullptr);
    EXPECT_NE(frost->compositor(), nullptr);
    EXPECT_EQ(frost->outputs().size(), 1u);
    OutputPowerMonitor outputs(connection_);
    ASSERT_TRUE(outputs.isAvailable());
    WaylandIdleMonitor idle(connection_, options_);
    ASSERT_TRUE(idle.isAvailable());

    // An output that comes later reaches every feature still watching.
    ASSERT_EQ(sway_->run({"swaymsg", "create_output"}), 0);
    ASSERT_TRUE(pollUntil([&] { return frost->outputs().size() == 2; }));
    EXPECT_TRUE(pollUntil([&] { return outputs.allOff() == false; }));

    // Input is heard on the same connection.
    test::VirtualPointer pointer(sway_->socket().c_str());
    ASSERT_TRUE(pointer.isValid());
    ASSERT_TRUE(waitUntilIdle(idle));
    ASSERT_TRUE(pointer.move(5, 5));
    EXPECT_TRUE(pollUntil([&] { return idle.secondsSinceLastEvent() <= 0.25; }, 2s));

    // The frost going leaves the monitors working, a later output included
    // (the features that went hear nothing more of the registry).
    frost.reset();
    ASSERT_EQ(sway_->run({"swaymsg", "create_output"}), 0);
    ASSERT_TRUE(waitUntilIdle(idle));
    ASSERT_TRUE(pointer.move(-5, -5));
    EXPECT_TRUE(pollUntil([&] { return idle.secondsSinceLastEvent() <= 0.25; }, 2s));
    EXPECT_EQ(outputs.allOff(), false);
    EXPECT_FALSE(connection_->isBroken());
}

// Runs last: it ends the shared sway.
TEST_F(SwayIdle, ZzACompositorThatGoesAwayLeavesTheUserIdleNotWorking) {
    WaylandIdleMonitor monitor(connection_, options_);
    ASSERT_TRUE(monitor.isAvailable());
    sway_->stop();
    ASSERT_TRUE(
        pollUntil([&] { return monitor.source() == WaylandIdleMonitor::Source::connectionLost; }));
    const double first = monitor.secondsSinceLastEvent();
    EXPECT_TRUE(pollUntil([&] { return monitor.secondsSinceLastEvent() > first + 0.6; }));
}

} // namespace
} // namespace quelmo
