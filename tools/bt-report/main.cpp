// SPDX-License-Identifier: MIT
// quelmo-bt-report: prints the Bluetooth report Quelmo's signal reader reads.
// Asks BlueZ (system bus) for connected headphones and headsets and reads
// each one's signal strength with HCI Read RSSI on a raw HCI socket (no
// privileges needed), falling back to `btmgmt conn-info` (which needs
// CAP_NET_ADMIN) where that fails. Without BlueZ it prints the report with
// no devices; it always exits 0.

#include "platform/signal/bluetooth_rules.h"
#include "platform/signal/hci_rssi.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cstdio>
#include <cstring>

using InterfaceMap = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, InterfaceMap>;
Q_DECLARE_METATYPE(InterfaceMap)
Q_DECLARE_METATYPE(ManagedObjects)

namespace {

using quelmo::bluetooth::Device;

// The whole run stays well inside the 4 seconds the reader allows.
constexpr int kBusTimeoutMs = 1500;
constexpr int kBudgetMs = 3000;

QString findBtmgmt() {
    QString path = QStandardPaths::findExecutable(QStringLiteral("btmgmt"));
    if (path.isEmpty()) {
        path = QStandardPaths::findExecutable(
            QStringLiteral("btmgmt"), {QStringLiteral("/usr/bin"), QStringLiteral("/usr/sbin")});
    }
    return path;
}

std::optional<int> readRssi(const QString& btmgmt, int adapterIndex, const QString& address,
                            const QDeadlineTimer& budget) {
    if (budget.hasExpired())
        return std::nullopt;
    std::string why;
    if (const auto relative = quelmo::bluetooth::readHciRssi(
            adapterIndex, address.toStdString(),
            static_cast<int>(std::min<qint64>(budget.remainingTime(), 800)), why)) {
        return quelmo::bluetooth::approximateDbm(*relative);
    }
    if (btmgmt.isEmpty() || budget.hasExpired())
        return std::nullopt;
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(btmgmt, {QStringLiteral("--index"), QString::number(adapterIndex),
                           QStringLiteral("conn-info"), QStringLiteral("-t"), QStringLiteral("0"),
                           address});
    if (!process.waitForFinished(
            static_cast<int>(std::min<qint64>(budget.remainingTime(), 1000)))) {
        process.kill();
        process.waitForFinished(200);
        return std::nullopt;
    }
    const QByteArray output = process.readAllStandardOutput();
    const auto relative = quelmo::bluetooth::parseConnInfoRssi(
        std::string_view(output.constData(), static_cast<std::size_t>(output.size())),
        address.toStdString());
    if (!relative)
        return std::nullopt;
    return quelmo::bluetooth::approximateDbm(*relative);
}

std::vector<Device> connectedHeadphones() {
    std::vector<Device> devices;
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return devices;
    QDBusInterface manager(QStringLiteral("org.bluez"), QStringLiteral("/"),
                           QStringLiteral("org.freedesktop.DBus.ObjectManager"), bus);
    if (!manager.isValid())
        return devices;
    manager.setTimeout(kBusTimeoutMs);
    const QDBusReply<ManagedObjects> reply = manager.call(QStringLiteral("GetManagedObjects"));
    if (!reply.isValid())
        return devices;

    const QDeadlineTimer budget(kBudgetMs);
    const QString btmgmt = findBtmgmt();
    static const QRegularExpression adapterPattern(QStringLiteral("^/org/bluez/hci(\\d+)/"));
    const ManagedObjects objects = reply.value();
    for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
        const auto device = it.value().constFind(QStringLiteral("org.bluez.Device1"));
        if (device == it.value().cend())
            continue;
        const QVariantMap& p = device.value();
        if (!p.value(QStringLiteral("Connected")).toBool())
            continue;
        const bool byClass =
            quelmo::bluetooth::isHeadphoneClass(p.value(QStringLiteral("Class")).toUInt());
        const bool byIcon = quelmo::bluetooth::isHeadphoneIcon(
            p.value(QStringLiteral("Icon")).toString().toStdString());
        if (!byClass && !byIcon)
            continue;
        const QString address = p.value(QStringLiteral("Address")).toString();
        if (address.isEmpty())
            continue;
        QString name = p.value(QStringLiteral("Alias")).toString();
        if (name.isEmpty())
            name = p.value(QStringLiteral("Name")).toString();
        const auto match = adapterPattern.match(it.key().path());
        const int index = match.hasMatch() ? match.captured(1).toInt() : 0;
        devices.push_back(Device{name.toStdString(), address.toStdString(),
                                 readRssi(btmgmt, index, address, budget)});
    }
    return devices;
}

void printUsage() {
    std::fputs("Usage: quelmo-bt-report\n"
               "Prints connected Bluetooth headphones and their signal strength as JSON,\n"
               "in the shape Quelmo's signal reader reads. Signal strengths come from\n"
               "HCI Read RSSI on the adapter (no privileges needed), else from\n"
               "`btmgmt conn-info` (needs CAP_NET_ADMIN), and are approximate dBm.\n",
               stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        printUsage();
        return 0;
    }
    QCoreApplication app(argc, argv);
    qDBusRegisterMetaType<InterfaceMap>();
    qDBusRegisterMetaType<ManagedObjects>();
    const std::string json = quelmo::bluetooth::reportJson(connectedHeadphones());
    std::fwrite(json.data(), 1, json.size(), stdout);
    return 0;
}
