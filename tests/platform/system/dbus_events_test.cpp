// SPDX-License-Identifier: MIT
#include "platform/system/dbus_command_channel.h"
#include "platform/system/display_power_watcher.h"
#include "platform/system/system_events_monitor.h"
#include "private_bus.h"

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QThread>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quelmo {
namespace {

using testing::PrivateBus;
using testing::waitUntil;

TEST(DbusCommandChannel, WordsArriveAndOtherSignalsAreIgnored) {
    PrivateBus bus;
    if (!bus.isRunning()) {
        GTEST_SKIP() << "dbus-daemon is not installed";
    }
    DbusCommandChannel channel(bus.connect());
    std::vector<std::string> words;
    channel.listen([&](const std::string& w) { words.push_back(w); });
    ASSERT_TRUE(channel.isListening());

    // What a user types in a shell.
    EXPECT_EQ(bus.dbusSend({"/app/quelmo", "app.quelmo.mac.command", "string:recenter"}), 0);
    // Arguments that are not a single word are not commands.
    bus.dbusSend({"/app/quelmo", "app.quelmo.mac.command", "int32:5"});
    bus.dbusSend({"/app/quelmo", "app.quelmo.mac.command", "string:a", "string:b"});
    // What `quelmo --send` does.
    ASSERT_TRUE(DbusCommandChannel::send("turn:45", bus.connect()));
    ASSERT_TRUE(waitUntil([&] { return words.size() >= 2; }));
    waitUntil([] { return false; }, 200);
    EXPECT_EQ(words, (std::vector<std::string>{"recenter", "turn:45"}));
}

// Stands in for logind on the private bus: owns its name, answers
// GetSessionByPID and emits the signals the monitor listens to.
class FakeLogind : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

  public:
    FakeLogind(QDBusConnection bus, QThread* thread) : bus_(std::move(bus)) {
        moveToThread(thread);
        bus_.registerService("org.freedesktop.login1");
        bus_.registerObject("/org/freedesktop/login1", this, QDBusConnection::ExportAllSlots);
    }
    void prepareForSleep(bool sleeping) {
        QDBusMessage m = QDBusMessage::createSignal(
            "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep");
        m << sleeping;
        bus_.send(m);
    }
    void lockedHint(bool locked) {
        QDBusMessage m = QDBusMessage::createSignal(kSession, "org.freedesktop.DBus.Properties",
                                                    "PropertiesChanged");
        m << QString("org.freedesktop.login1.Session")
          << QVariantMap{{"LockedHint", locked}, {"Active", true}} << QStringList();
        bus_.send(m);
    }

    static constexpr const char* kSession = "/org/freedesktop/login1/session/_31";

  public slots:
    QDBusObjectPath GetSessionByPID(uint) { return QDBusObjectPath(kSession); }

  private:
    QDBusConnection bus_;
};

TEST(SystemEventsMonitor, HearsScreenSaversLogindAndIgnoresStrangers) {
    PrivateBus bus;
    if (!bus.isRunning()) {
        GTEST_SKIP() << "dbus-daemon is not installed";
    }
    // logind answers from a thread of its own, as a separate service would:
    // the monitor asks it with a blocking call.
    QThread logindThread;
    logindThread.start();
    FakeLogind logind(bus.connect(), &logindThread);
    SystemEventsMonitor monitor(bus.connect(), bus.connect());
    std::vector<std::string> events;
    SystemEventHandlers handlers;
    handlers.screenLocked = [&] { events.push_back("locked"); };
    handlers.screenUnlocked = [&] { events.push_back("unlocked"); };
    handlers.willSleep = [&] { events.push_back("sleep"); };
    handlers.didWake = [&] { events.push_back("wake"); };
    monitor.observe(handlers);
    EXPECT_TRUE(monitor.hearsScreenSaver());
    EXPECT_TRUE(monitor.hearsSleep());
    EXPECT_TRUE(monitor.hearsSessionLock());

    const auto send = [&](const QStringList& args) { bus.dbusSend(args); };
    send({"/org/gnome/ScreenSaver", "org.gnome.ScreenSaver.ActiveChanged", "boolean:true"});
    ASSERT_TRUE(waitUntil([&] { return events.size() == 1; }));
    send({"/ScreenSaver", "org.freedesktop.ScreenSaver.ActiveChanged", "boolean:false"});
    ASSERT_TRUE(waitUntil([&] { return events.size() == 2; }));
    logind.prepareForSleep(true);
    ASSERT_TRUE(waitUntil([&] { return events.size() == 3; }));
    logind.prepareForSleep(false);
    ASSERT_TRUE(waitUntil([&] { return events.size() == 4; }));
    logind.lockedHint(true);
    ASSERT_TRUE(waitUntil([&] { return events.size() == 5; }));
    logind.lockedHint(false);
    ASSERT_TRUE(waitUntil([&] { return events.size() == 6; }));

    // PrepareForSleep from someone who is not logind is not believed.
    send({"/org/freedesktop/login1", "org.freedesktop.login1.Manager.PrepareForSleep",
          "boolean:true"});
    waitUntil([] { return false; }, 300);
    EXPECT_EQ(events, (std::vector<std::string>{"locked", "unlocked", "sleep", "wake", "locked",
                                                "unlocked"}));
    logindThread.quit();
    logindThread.wait();
}

TEST(SystemEventsMonitor, WithoutBusesNothingHappens) {
    SystemEventsMonitor monitor{QDBusConnection(QString()), QDBusConnection(QString())};
    monitor.observe({});
    EXPECT_FALSE(monitor.hearsScreenSaver());
    EXPECT_FALSE(monitor.hearsSleep());
    EXPECT_FALSE(monitor.hearsSessionLock());
}

// A compositor's output power, read through a reader of the caller's own:
// changes are reported once each, and "cannot tell" changes nothing.
TEST(DisplayPowerWatcher, ReportsWhatItsReaderSays) {
    std::optional<bool> allOff = false;
    std::vector<bool> changes;
    DisplayPowerWatcher watcher([] { return true; }, [&] { return allOff; }, 0.01);
    ASSERT_TRUE(watcher.isAvailable());
    watcher.start([&](bool asleep) { changes.push_back(asleep); });
    allOff = true;
    ASSERT_TRUE(waitUntil([&] { return changes.size() == 1; }));
    allOff = std::nullopt;
    waitUntil([] { return false; }, 100);
    allOff = false;
    ASSERT_TRUE(waitUntil([&] { return changes.size() == 2; }));
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
}

} // namespace
} // namespace quelmo

#include "dbus_events_test.moc"
