// SPDX-License-Identifier: MIT
// Keyboard and mouse activity on GNOME: a headless mutter on a private session
// bus, its input driven through its RemoteDesktop D-Bus API, as remote-desktop
// tools drive it.
#include "platform/desktop_bus/mutter_idle_monitor.h"
#include "tests/platform/system/private_bus.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quelmo {
namespace {

using testing::PrivateBus;
using testing::waitUntil;

const QString kRemoteDesktop = QStringLiteral("org.gnome.Mutter.RemoteDesktop");

// mutter --headless with one virtual monitor, talking on `bus`.
class HeadlessMutter {
  public:
    explicit HeadlessMutter(const PrivateBus& bus) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
        env.insert("XDG_RUNTIME_DIR", runtime_.path());
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start("mutter",
                       {"--headless", "--wayland", "--no-x11",
                        "--wayland-display=wayland-quelmo-test", "--virtual-monitor", "1280x720"});
    }
    ~HeadlessMutter() {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(2000);
        }
    }
    bool started() { return process_.waitForStarted(5000); }

  private:
    QTemporaryDir runtime_;
    QProcess process_;
};

// A remote-desktop session: input as if from a remote user. It lives as long
// as the connection that made it.
class RemoteInput {
  public:
    explicit RemoteInput(QDBusConnection bus) : bus_(std::move(bus)) {
        const QDBusReply<QDBusObjectPath> session = bus_.call(QDBusMessage::createMethodCall(
            kRemoteDesktop, "/org/gnome/Mutter/RemoteDesktop", kRemoteDesktop, "CreateSession"));
        if (session.isValid()) {
            session_ = session.value().path();
            ok_ = call("Start", {});
        }
    }
    bool isReady() const { return ok_; }
    bool move(double dx, double dy) { return call("NotifyPointerMotionRelative", {dx, dy}); }
    bool tap(uint keysym) {
        return call("NotifyKeyboardKeysym", {keysym, true}) &&
               call("NotifyKeyboardKeysym", {keysym, false});
    }

  private:
    bool call(const char* method, const QList<QVariant>& args) {
        QDBusMessage message = QDBusMessage::createMethodCall(kRemoteDesktop, session_,
                                                              kRemoteDesktop + ".Session", method);
        message.setArguments(args);
        return bus_.call(message, QDBus::Block, 5000).type() == QDBusMessage::ReplyMessage;
    }

    QDBusConnection bus_;
    QString session_;
    bool ok_ = false;
};

TEST(MutterIdleMonitor, RemoteDesktopInputResetsTheIdleTime) {
    if (QStandardPaths::findExecutable("mutter").isEmpty()) {
        GTEST_SKIP() << "mutter is not installed (apt-get install mutter)";
    }
    PrivateBus bus;
    if (!bus.isRunning()) {
        GTEST_SKIP() << "dbus-daemon is not installed (apt-get install dbus)";
    }
    QDBusConnection client = bus.connect();
    // Nobody there yet: unavailable, and never taken for recent use.
    EXPECT_FALSE(MutterIdleMonitor(client).isAvailable());

    HeadlessMutter mutter(bus);
    ASSERT_TRUE(mutter.started());
    ASSERT_TRUE(waitUntil(
        [&] {
            return client.interface()->isServiceRegistered(kRemoteDesktop).value() &&
                   client.interface()->isServiceRegistered("org.gnome.Mutter.IdleMonitor").value();
        },
        30000))
        << "mutter did not come up on the bus";

    RemoteInput remote(bus.connect());
    ASSERT_TRUE(remote.isReady());
    remote.move(1, 1); // the first motion after start only places the pointer

    MutterIdleMonitor monitor(client);
    ASSERT_TRUE(monitor.isAvailable());
    ASSERT_TRUE(waitUntil([&] { return monitor.secondsSinceLastEvent() > 0.8; }));

    QElapsedTimer sinceMove;
    sinceMove.start();
    ASSERT_TRUE(remote.move(30, 20));
    ASSERT_TRUE(waitUntil([&] { return monitor.secondsSinceLastEvent() <= 0.25; }, 2000))
        << "still " << monitor.secondsSinceLastEvent() << " s idle after a pointer move";
    EXPECT_LT(sinceMove.elapsed(), 500);

    // Idle again: the reading is the true idle time, within one interval.
    ASSERT_TRUE(waitUntil([&] { return monitor.secondsSinceLastEvent() > 0.8; }));
    EXPECT_NEAR(monitor.secondsSinceLastEvent(), sinceMove.elapsed() / 1000.0, 0.3);

    ASSERT_TRUE(remote.tap(0x71)); // q
    ASSERT_TRUE(waitUntil([&] { return monitor.secondsSinceLastEvent() <= 0.25; }, 2000));
}

} // namespace
} // namespace quelmo
