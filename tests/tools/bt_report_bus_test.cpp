// SPDX-License-Identifier: MIT
// quelmo-bt-report against a stand-in BlueZ on a private bus: the devices it
// picks, the btmgmt run per device, and the JSON the signal reader reads.

#include "platform/signal/headphone_signal.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using InterfaceMap = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, InterfaceMap>;
Q_DECLARE_METATYPE(InterfaceMap)
Q_DECLARE_METATYPE(ManagedObjects)

namespace {

class FakeBluez : public QDBusVirtualObject {
  public:
    ManagedObjects objects;
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QLatin1String("GetManagedObjects"))
            return false;
        connection.send(message.createReply(QVariant::fromValue(objects)));
        return true;
    }
};

QVariantMap device(const QString& address, uint deviceClass, const QString& icon, bool connected) {
    QVariantMap p;
    p[QStringLiteral("Address")] = address;
    p[QStringLiteral("Alias")] = QStringLiteral("Device ") + address.left(2);
    p[QStringLiteral("Class")] = QVariant::fromValue(deviceClass);
    p[QStringLiteral("Icon")] = icon;
    p[QStringLiteral("Connected")] = connected;
    return p;
}

void add(ManagedObjects& objects, const QString& path, const QVariantMap& properties) {
    objects[QDBusObjectPath(path)][QStringLiteral("org.bluez.Device1")] = properties;
}

class BtReportOnABus : public ::testing::Test {
  protected:
    QProcess daemon;
    QString address;

    void SetUp() override {
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"),
                      QStringLiteral("--print-address=1")});
        if (!daemon.waitForStarted(3000) || !daemon.waitForReadyRead(3000))
            GTEST_SKIP() << "no dbus-daemon";
        address = QString::fromUtf8(daemon.readLine()).trimmed();
    }
    void TearDown() override {
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-bluez"));
        daemon.kill();
        daemon.waitForFinished(2000);
    }

    // Runs the tool while serving the bus from this thread.
    QByteArray runTool(const QString& path) {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), address);
        env.insert(QStringLiteral("PATH"),
                   path + QStringLiteral(":") + env.value(QStringLiteral("PATH")));
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral(QUELMO_BT_REPORT_TOOL), {});
        QElapsedTimer timer;
        timer.start();
        while (tool.state() != QProcess::NotRunning && timer.elapsed() < 8000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            tool.waitForFinished(5);
        }
        EXPECT_EQ(tool.exitCode(), 0);
        return tool.readAllStandardOutput();
    }
};

TEST_F(BtReportOnABus, ReportsConnectedHeadphonesWithTheirSignal) {
    qDBusRegisterMetaType<InterfaceMap>();
    qDBusRegisterMetaType<ManagedObjects>();
    QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("fake-bluez"));
    ASSERT_TRUE(bus.isConnected());
    FakeBluez bluez;
    add(bluez.objects, QStringLiteral("/org/bluez/hci0/dev_00_1B_66_A1_B2_C3"),
        device(QStringLiteral("00:1B:66:A1:B2:C3"), 0x240418, QStringLiteral("audio-card"), true));
    add(bluez.objects, QStringLiteral("/org/bluez/hci1/dev_AA_BB_CC_DD_EE_01"),
        device(QStringLiteral("AA:BB:CC:DD:EE:01"), 0, QStringLiteral("audio-headset"), true));
    add(bluez.objects, QStringLiteral("/org/bluez/hci0/dev_BB_00_00_00_00_02"),
        device(QStringLiteral("BB:00:00:00:00:02"), 0x002540, QStringLiteral("input-keyboard"),
               true));
    add(bluez.objects, QStringLiteral("/org/bluez/hci0/dev_CC_00_00_00_00_03"),
        device(QStringLiteral("CC:00:00:00:00:03"), 0x240418, QStringLiteral("audio-headphones"),
               false));
    bluez.objects[QDBusObjectPath(QStringLiteral("/org/bluez/hci0"))]
                 [QStringLiteral("org.bluez.Adapter1")] = {};
    ASSERT_TRUE(bus.registerVirtualObject(QStringLiteral("/"), &bluez));
    ASSERT_TRUE(bus.registerService(QStringLiteral("org.bluez")));

    // A btmgmt that answers like the real one, with RSSI = -5 on hci0 and +8 on hci1.
    QTemporaryDir bin;
    const QString btmgmt = bin.filePath(QStringLiteral("btmgmt"));
    QFile script(btmgmt);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n"
                 "[ \"$1\" = --index ] && [ \"$3\" = conn-info ] && [ \"$4\" = -t ] && [ \"$5\" = "
                 "0 ] || exit 1\n"
                 "if [ \"$2\" = 0 ]; then r=-5; else r=8; fi\n"
                 "printf 'Connection Information for %s (BR/EDR)\\n\\tRSSI %s\\tTX power "
                 "4\\tmaximum TX power 4\\n' \"$6\" \"$r\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QByteArray json = runTool(bin.path());
    EXPECT_EQ(quelmo::HeadphoneSignal::parse(json.toStdString()),
              (quelmo::SignalReadings{{"00:1B:66:A1:B2:C3", -65.0}, {"AA:BB:CC:DD:EE:01", -52.0}}))
        << json.toStdString();
    EXPECT_EQ(json.count("device_address"), 2);
}

TEST_F(BtReportOnABus, WithoutBluezTheReportIsEmpty) {
    const QByteArray json = runTool(QStringLiteral("/nonexistent"));
    EXPECT_EQ(json.toStdString(), "{\"SPBluetoothDataType\":[{\"device_connected\":[]}]}\n");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
