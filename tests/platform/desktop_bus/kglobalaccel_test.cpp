// SPDX-License-Identifier: MIT
// The hot key through kglobalaccel, against a stand-in for the service on a
// private session bus: what Quelmo registers, and a press re-centring the app.
#include "platform/desktop_bus/kglobalaccel_hot_keys.h"
#include "tests/app_model/fakes.h"
#include "tests/platform/system/private_bus.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>

#include <gtest/gtest.h>

namespace quelmo {
namespace {

using testing::PrivateBus;
using testing::waitUntil;

// Answers the calls an application makes of org.kde.KGlobalAccel and keeps them.
class FakeKGlobalAccel : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KGlobalAccel")

  public:
    QList<QStringList> registered;
    QList<QPair<QList<int>, uint>> shortcuts;
    QList<QStringList> inactive;

  public slots:
    void doRegister(const QStringList& actionId) { registered.append(actionId); }
    QList<int> setShortcut(const QStringList&, const QList<int>& keys, uint flags) {
        shortcuts.append({keys, flags});
        return keys;
    }
    void setInactive(const QStringList& actionId) { inactive.append(actionId); }
    QDBusObjectPath getComponent(const QString&) {
        return QDBusObjectPath("/component/app_quelmo_Quelmo");
    }
};

// What kglobalaccel stores for the chord: Qt's key encoding, modifiers and key in one int.
const int kCtrlAltMetaR =
    QKeyCombination(Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier, Qt::Key_R)
        .toCombined();

void press(QDBusConnection& service, const QString& component, const QString& action) {
    QDBusMessage pressed = QDBusMessage::createSignal(
        "/component/app_quelmo_Quelmo", "org.kde.kglobalaccel.Component", "globalShortcutPressed");
    pressed << component << action << qlonglong(1234);
    service.send(pressed);
}

TEST(KGlobalAccelHotKeys, RegistersTheChordAndAPressRecentresTheApp) {
    qDBusRegisterMetaType<QList<int>>();
    PrivateBus bus;
    if (!bus.isRunning()) {
        GTEST_SKIP() << "dbus-daemon is not installed (apt-get install dbus)";
    }
    QDBusConnection app = bus.connect();

    QDBusConnection service = bus.connect();
    FakeKGlobalAccel standIn;
    ASSERT_TRUE(service.registerObject("/kglobalaccel", &standIn, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(service.registerService(KGlobalAccelHotKeys::kService));
    EXPECT_TRUE(KGlobalAccelHotKeys::isOffered(app));

    KGlobalAccelHotKeys hotKeys(app);
    testing::ModelRig rig;
    rig.prefs = std::make_unique<Preferences>(rig.store);
    auto model = std::make_unique<AppModel>(
        *rig.prefs, AppModelPorts{rig.scheduler, rig.tracker, rig.signal, rig.input, hotKeys,
                                  rig.log, rig.watchdog, rig.overlay, rig.windows, rig.privacy,
                                  rig.system, rig.commands, rig.noHooks});
    ASSERT_TRUE(model->hasHotKey());

    ASSERT_TRUE(waitUntil([&] { return standIn.shortcuts.size() == 2; }));
    ASSERT_EQ(standIn.registered.size(), 1);
    EXPECT_EQ(standIn.registered[0],
              (QStringList{"app.quelmo.Quelmo", "recenter", "Quelmo", "I'm Facing the Screen"}));
    // The user's own choice if any (present), and the default.
    EXPECT_EQ(standIn.shortcuts[0].first, QList<int>{kCtrlAltMetaR});
    EXPECT_EQ(standIn.shortcuts[0].second, 2u);
    EXPECT_EQ(standIn.shortcuts[1].first, QList<int>{kCtrlAltMetaR});
    EXPECT_EQ(standIn.shortcuts[1].second, 8u);

    // Someone else's shortcut is not ours.
    press(service, "org.kde.konsole", "recenter");
    press(service, "app.quelmo.Quelmo", "recenter");
    ASSERT_TRUE(waitUntil([&] { return !rig.log.matching("manual recenter").empty(); }));
    waitUntil([] { return false; }, 200);
    EXPECT_EQ(rig.log.matching("manual recenter").size(), 1u);

    // Quitting leaves the action inactive, with the user's keys kept.
    model.reset();
    ASSERT_TRUE(waitUntil([&] { return standIn.inactive.size() == 1; }));
    press(service, "app.quelmo.Quelmo", "recenter");
    waitUntil([] { return false; }, 200);
    EXPECT_EQ(rig.log.matching("manual recenter").size(), 1u);
}

} // namespace
} // namespace quelmo

#include "kglobalaccel_test.moc"
