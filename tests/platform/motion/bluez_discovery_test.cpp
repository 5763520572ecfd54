// SPDX-License-Identifier: MIT
// Finding earbuds through BlueZ, against a stand-in org.bluez on a private
// bus: connected earbuds are found, other devices are not, and connects,
// disconnects, new and removed devices are followed.

#include "platform/motion/bluez_discovery.h"
#include "tests/platform/motion/motion_test_support.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <optional>

using FakeInterfaces = QMap<QString, QVariantMap>;
using FakeObjects = QMap<QDBusObjectPath, FakeInterfaces>;
Q_DECLARE_METATYPE(FakeInterfaces)
Q_DECLARE_METATYPE(FakeObjects)

namespace quelmo {
namespace {

using test::waitFor;

const QString kDevice = QStringLiteral("org.bluez.Device1");

// Answers GetManagedObjects with whatever devices it holds, and keeps each
// device's ConnectProfile calls ("PATH UUID").
class FakeBluez : public QDBusVirtualObject {
  public:
    FakeObjects objects;
    QStringList profilesAsked;
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
        if (message.member() == QLatin1String("ConnectProfile")) {
            profilesAsked << message.path() + QLatin1Char(' ') +
                                 message.arguments().value(0).toString();
            bus.send(message.createReply());
            return true;
        }
        if (message.member() != QLatin1String("GetManagedObjects"))
            return false;
        bus.send(message.createReply(QVariant::fromValue(objects)));
        return true;
    }
};

QVariantMap device(const QString& address, const QVariantMap& extra) {
    QVariantMap d{{QStringLiteral("Address"), address}, {QStringLiteral("Connected"), true}};
    for (auto it = extra.cbegin(); it != extra.cend(); ++it)
        d.insert(it.key(), it.value());
    return d;
}

class BluezDiscoveryTest : public ::testing::Test {
  protected:
    QProcess daemon;
    QString address;
    FakeBluez bluez;
    std::optional<QDBusConnection> server;
    std::vector<std::optional<EarbudsTarget>> targets;

    void SetUp() override {
        qDBusRegisterMetaType<FakeInterfaces>();
        qDBusRegisterMetaType<FakeObjects>();
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            GTEST_SKIP() << "dbus-daemon is not installed (package dbus)";
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"),
                      QStringLiteral("--print-address=1")});
        ASSERT_TRUE(daemon.waitForStarted());
        ASSERT_TRUE(waitFor([&] { return daemon.canReadLine(); }));
        address = QString::fromUtf8(daemon.readLine()).trimmed();
        server = QDBusConnection::connectToBus(address, QStringLiteral("fake-bluez"));
        ASSERT_TRUE(server->isConnected());
        ASSERT_TRUE(
            server->registerVirtualObject(QStringLiteral("/"), &bluez, QDBusConnection::SubPath));
        ASSERT_TRUE(server->registerService(QStringLiteral("org.bluez")));
    }
    void TearDown() override {
        if (server) {
            server->unregisterObject(QStringLiteral("/"));
            QDBusConnection::disconnectFromBus(QStringLiteral("fake-bluez"));
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("discovery"));
        daemon.terminate();
        daemon.waitForFinished(2000);
    }

    void addDevice(const QString& path, const QVariantMap& properties) {
        bluez.objects.insert(QDBusObjectPath(path), FakeInterfaces{{kDevice, properties}});
    }
    void signal(const QString& path, const QString& interface, const QString& name,
                const QList<QVariant>& args) {
        QDBusMessage m = QDBusMessage::createSignal(path, interface, name);
        m.setArguments(args);
        server->send(m);
    }
    std::unique_ptr<BluezDiscovery> discover() {
        auto d = std::make_unique<BluezDiscovery>(
            QDBusConnection::connectToBus(address, QStringLiteral("discovery")));
        d->onTarget = [this](const std::optional<EarbudsTarget>& t) { targets.push_back(t); };
        d->start();
        return d;
    }
};

TEST_F(BluezDiscoveryTest, FindsConnectedEarbudsAndFollowsThem) {
    const QString airpods = QStringLiteral("/org/bluez/hci0/dev_AA_BB_CC_DD_EE_01");
    addDevice(QStringLiteral("/org/bluez/hci0/dev_00_11_22_33_44_55"),
              device(QStringLiteral("00:11:22:33:44:55"),
                     {{QStringLiteral("Alias"), QStringLiteral("Other Buds")},
                      {QStringLiteral("Icon"), QStringLiteral("audio-headphones")},
                      {QStringLiteral("Modalias"), QStringLiteral("bluetooth:v0075p0100d0001")}}));
    addDevice(QStringLiteral("/org/bluez/hci0/dev_00_11_22_33_44_66"),
              device(QStringLiteral("00:11:22:33:44:66"),
                     {{QStringLiteral("Icon"), QStringLiteral("input-mouse")},
                      {QStringLiteral("Modalias"), QStringLiteral("bluetooth:v004Cp0269d0001")}}));
    addDevice(airpods,
              device(QStringLiteral("AA:BB:CC:DD:EE:01"),
                     {{QStringLiteral("Alias"), QStringLiteral("Jane's AirPods")},
                      {QStringLiteral("UUIDs"),
                       QStringList{QStringLiteral("0000110b-0000-1000-8000-00805f9b34fb"),
                                   QStringLiteral("74EC2172-0BAD-4D01-8F77-997B2BE0722A")}}}));
    auto discovery = discover();
    ASSERT_TRUE(waitFor([&] { return targets.size() == 1; }));
    ASSERT_TRUE(targets[0].has_value());
    EXPECT_EQ(targets[0]->address, "AA:BB:CC:DD:EE:01");
    EXPECT_EQ(targets[0]->name, "Jane's AirPods (Bluetooth)");
    EXPECT_FALSE(targets[0]->unixSocket);
    EXPECT_EQ(discovery->devices().size(), 3u);

    // Disconnected: no target. Another device's change is no news.
    signal(airpods, QStringLiteral("org.freedesktop.DBus.Properties"),
           QStringLiteral("PropertiesChanged"),
           {kDevice, QVariantMap{{QStringLiteral("Connected"), false}}, QStringList{}});
    ASSERT_TRUE(waitFor([&] { return targets.size() == 2; }));
    EXPECT_FALSE(targets[1].has_value());

    // New earbuds known by their model only; then removed again.
    const QString pro2 = QStringLiteral("/org/bluez/hci0/dev_AA_BB_CC_DD_EE_02");
    signal(QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.ObjectManager"),
           QStringLiteral("InterfacesAdded"),
           {QVariant::fromValue(QDBusObjectPath(pro2)),
            QVariant::fromValue(FakeInterfaces{
                {kDevice, device(QStringLiteral("AA:BB:CC:DD:EE:02"),
                                 {{QStringLiteral("Modalias"),
                                   QStringLiteral("bluetooth:v004Cp2014d0B21")}})}})});
    ASSERT_TRUE(waitFor([&] { return targets.size() == 3; }));
    ASSERT_TRUE(targets[2].has_value());
    EXPECT_EQ(targets[2]->name, "AirPods Pro 2 (Bluetooth)");
    signal(QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.ObjectManager"),
           QStringLiteral("InterfacesRemoved"),
           {QVariant::fromValue(QDBusObjectPath(pro2)), QStringList{kDevice}});
    ASSERT_TRUE(waitFor([&] { return targets.size() == 4; }));
    EXPECT_FALSE(targets[3].has_value());
}

// A headset with a head tracker on the HID profile but no hidraw node is asked
// once per connection to connect HID; a keyboard (HID alone) never is.
TEST_F(BluezDiscoveryTest, AHeadsetsHidProfileIsConnectedOncePerConnection) {
    const QString hid = QStringLiteral("00001124-0000-1000-8000-00805f9b34fb");
    const QString sink = QStringLiteral("0000110b-0000-1000-8000-00805f9b34fb");
    const QString sony = QStringLiteral("/org/bluez/hci0/dev_AC_80_0A_00_00_01");
    addDevice(sony, device(QStringLiteral("AC:80:0A:00:00:01"),
                           {{QStringLiteral("Alias"), QStringLiteral("WH-1000XM5")},
                            {QStringLiteral("UUIDs"), QStringList{sink, hid}}}));
    addDevice(QStringLiteral("/org/bluez/hci0/dev_00_11_22_33_44_77"),
              device(QStringLiteral("00:11:22:33:44:77"),
                     {{QStringLiteral("Icon"), QStringLiteral("input-keyboard")},
                      {QStringLiteral("UUIDs"), QStringList{hid}}}));
    auto discovery = discover();
    ASSERT_TRUE(waitFor([&] { return !bluez.profilesAsked.isEmpty(); }));
    const auto changed = [&](bool connected) {
        signal(sony, QStringLiteral("org.freedesktop.DBus.Properties"),
               QStringLiteral("PropertiesChanged"),
               {kDevice, QVariantMap{{QStringLiteral("Connected"), connected}}, QStringList{}});
    };
    changed(true); // still the same connection: not asked again
    test::settle(200);
    EXPECT_EQ(bluez.profilesAsked, QStringList{sony + QLatin1Char(' ') + hid});
    changed(false);
    changed(true); // a new connection: asked again
    ASSERT_TRUE(waitFor([&] { return bluez.profilesAsked.size() == 2; }));
    test::settle(200);
    EXPECT_EQ(bluez.profilesAsked.size(), 2);
    EXPECT_FALSE(
        hasHidrawNode(QStringLiteral("AC:80:0A:00:00:01"), QStringLiteral("/nonexistent")));
}

TEST_F(BluezDiscoveryTest, NoBluezMeansNoTargetAndNoWait) {
    server->unregisterService(QStringLiteral("org.bluez"));
    QElapsedTimer clock;
    clock.start();
    auto discovery = discover();
    EXPECT_LT(clock.elapsed(), 500); // asynchronous: start() does not wait for an answer
    test::settle(300);
    EXPECT_TRUE(targets.empty());
    EXPECT_TRUE(discovery->devices().empty());
}

} // namespace
} // namespace quelmo
