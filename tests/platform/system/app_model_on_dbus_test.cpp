// SPDX-License-Identifier: MIT
// The app model steered over a real (private) session bus: command words and
// screen-lock signals sent the way other programs send them.
#include "platform/system/dbus_command_channel.h"
#include "platform/system/system_events_monitor.h"
#include "private_bus.h"
#include "tests/app_model/fakes.h"

#include <gtest/gtest.h>

namespace quelmo {
namespace {

using testing::PrivateBus;
using testing::waitUntil;

TEST(AppModelOnDbus, CommandsAndScreenLockArriveOverTheBus) {
    PrivateBus bus;
    if (!bus.isRunning()) {
        GTEST_SKIP() << "dbus-daemon is not installed";
    }
    testing::ModelRig rig; // fakes for everything but the bus
    DbusCommandChannel channel(bus.connect());
    SystemEventsMonitor monitor(bus.connect(), QDBusConnection(QString()));
    rig.prefs = std::make_unique<Preferences>(rig.store);
    AppModel model(*rig.prefs,
                   AppModelPorts{rig.scheduler, rig.tracker, rig.signal, rig.input, rig.hotKeys,
                                 rig.log, rig.watchdog, rig.overlay, rig.windows, rig.privacy,
                                 monitor, channel, rig.noHooks});
    ASSERT_TRUE(channel.isListening());
    ASSERT_TRUE(monitor.hearsScreenSaver());

    for (int i = 0; i < 50; ++i) {
        rig.tracker.deliver(0.0);
        rig.scheduler.advance(0.02);
    }
    ASSERT_EQ(model.status().kind(), AppStatus::Kind::calibrating);

    EXPECT_EQ(bus.dbusSend({"/app/quelmo", "app.quelmo.mac.command", "string:recenter"}), 0);
    ASSERT_TRUE(waitUntil([&] { return !rig.log.matching("manual recenter").empty(); }));
    EXPECT_EQ(rig.log.matching("command: recenter").size(), 1u);

    bus.dbusSend({"/org/gnome/ScreenSaver", "org.gnome.ScreenSaver.ActiveChanged", "boolean:true"});
    ASSERT_TRUE(waitUntil([&] { return model.status().kind() == AppStatus::Kind::screenLocked; }));
    EXPECT_FALSE(rig.tracker.running);

    bus.dbusSend(
        {"/org/gnome/ScreenSaver", "org.gnome.ScreenSaver.ActiveChanged", "boolean:false"});
    ASSERT_TRUE(
        waitUntil([&] { return model.status().kind() == AppStatus::Kind::waitingForAirPods; }));
    EXPECT_TRUE(rig.tracker.running);
}

} // namespace
} // namespace quelmo
