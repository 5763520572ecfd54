// SPDX-License-Identifier: MIT
#include "app/away_lock.h"
#include "platform/system/logind_session_lock.h"
#include "private_bus.h"
#include "tests/app_model/fakes.h"

#include <QDBusObjectPath>

#include <gtest/gtest.h>

namespace quelmo {
namespace {

using testing::PrivateBus;
using testing::waitUntil;

constexpr const char* kSessionPath = "/org/freedesktop/login1/session/_32";

// logind's session object on the private bus: counts Lock calls.
class FakeLogindSession : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Session")

  public:
    int locks = 0;

  public slots:
    void Lock() { ++locks; }
};

// logind's manager: finds our session and says what blocks idling.
class FakeLogindManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
    Q_PROPERTY(QString BlockInhibited READ blockInhibited)

  public:
    QString blocked = QStringLiteral("handle-power-key:handle-lid-switch");
    QString blockInhibited() const { return blocked; }

  public slots:
    QDBusObjectPath GetSessionByPID(uint) { return QDBusObjectPath(kSessionPath); }
};

struct FakeLogind {
    explicit FakeLogind(QDBusConnection connection) : bus(std::move(connection)) {
        bus.registerService("org.freedesktop.login1");
        bus.registerObject("/org/freedesktop/login1", &manager,
                           QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties);
        bus.registerObject(kSessionPath, &session, QDBusConnection::ExportAllSlots);
    }
    QDBusConnection bus;
    FakeLogindManager manager;
    FakeLogindSession session;
};

TEST(LogindSessionLock, AnAwayFrostLocksThroughLogindOnceNothingHoldsIdlingOff) {
    PrivateBus bus;
    if (!bus.isRunning()) {
        GTEST_SKIP() << "dbus-daemon is not installed";
    }
    FakeLogind logind(bus.connect());
    LogindSessionLock port(bus.connect(), bus.connect());

    // A model in virtual time; only the answers from the bus take real time.
    testing::ModelRig rig;
    rig.store.set("lockWhenAway", "true");
    rig.store.set("lockAfterMinutes", "1");
    rig.start();
    AwayLock lock(*rig.model, rig.scheduler, port);

    rig.frostByTurning();
    // Headphones taken off while turned away: an away frost.
    rig.tracker.onConnectionChange(false);
    ASSERT_EQ(rig.status(), AppStatus::Kind::away);

    // While something holds idling off, no lock; the next look after it
    // lets go locks.
    logind.manager.blocked = QStringLiteral("sleep:idle");
    rig.scheduler.advance(60.5);
    waitUntil([] { return false; }, 300);
    EXPECT_EQ(logind.session.locks, 0);
    logind.manager.blocked = QStringLiteral("sleep");
    rig.scheduler.advance(AwayLock::kRecheckSeconds + 0.5);
    ASSERT_TRUE(waitUntil([&] { return logind.session.locks == 1; }));
    ASSERT_TRUE(waitUntil([&] { return !rig.log.matching("locked the session").empty(); }));
    EXPECT_EQ(rig.log.matching("locked the session"),
              std::vector<std::string>{"locked the session after 2 minutes away"});
}

TEST(LogindSessionLock, WithoutLogindNothingIsDeliveredAndNothingIsInhibited) {
    PrivateBus bus;
    if (!bus.isRunning()) {
        GTEST_SKIP() << "dbus-daemon is not installed";
    }
    LogindSessionLock port(bus.connect(), bus.connect());
    std::optional<bool> delivered;
    std::optional<bool> inhibited;
    port.lockSession([&](bool d) { delivered = d; });
    port.askIdleInhibited([&](bool i) { inhibited = i; });
    ASSERT_TRUE(waitUntil([&] { return delivered && inhibited; }));
    EXPECT_FALSE(*delivered);
    EXPECT_FALSE(*inhibited);
}

} // namespace
} // namespace quelmo

#include "session_lock_test.moc"
