// SPDX-License-Identifier: MIT
#include "platform/signal/link_signal.h"

#include "platform/signal/bluetooth_rules.h"
#include "platform/signal/report_command.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QVariantMap>

#include <algorithm>

namespace quelmo {

namespace {

constexpr int kBusTimeoutMs = 1000;
constexpr int kReadRssiTimeoutMs = 800;
constexpr std::chrono::milliseconds kConnInfoLimit{1000};

std::optional<bool> bluezSaysHeadphones(QDBusConnection bus, int adapterIndex,
                                        const std::string& address) {
    if (!bus.isConnected())
        return std::nullopt;
    // BlueZ's object for the device: /org/bluez/hciN/dev_AA_BB_CC_DD_EE_FF.
    QString path = QStringLiteral("/org/bluez/hci%1/dev_").arg(adapterIndex);
    for (const char c : address)
        path += c == ':' ? QLatin1Char('_') : QLatin1Char(c);
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.bluez"), path, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("GetAll"));
    call << QStringLiteral("org.bluez.Device1");
    const QDBusMessage reply = bus.call(call, QDBus::Block, kBusTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    const QVariantMap properties = qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    if (properties.isEmpty())
        return std::nullopt;
    return bluetooth::isHeadphoneClass(properties.value(QStringLiteral("Class")).toUInt()) ||
           bluetooth::isHeadphoneIcon(
               properties.value(QStringLiteral("Icon")).toString().toStdString());
}

std::optional<int> btmgmtConnInfo(const bluetooth::HciLink& link, int cancelFd) {
    ReportLimits limits;
    limits.timeLimit = kConnInfoLimit;
    const ReportRun run =
        runReportCommand(ReportCommand{{"btmgmt", "--index", std::to_string(link.adapterIndex),
                                        "conn-info", "-t", "0", link.address}},
                         limits, cancelFd);
    if (!run.launched || run.overflowed)
        return std::nullopt;
    return bluetooth::parseConnInfoRssi(run.output, link.address);
}

} // namespace

LinkSignalPorts LinkSignalPorts::system(QDBusConnection bus) {
    LinkSignalPorts ports;
    ports.links = [] {
        std::string why;
        return bluetooth::listHciLinks(why);
    };
    ports.isHeadphones = [bus](int adapterIndex, const std::string& address) {
        return bluezSaysHeadphones(bus, adapterIndex, address);
    };
    ports.readRssi = [](const bluetooth::HciLink& link) {
        std::string why;
        return bluetooth::readHciRssiOnHandle(link.adapterIndex, link.handle, kReadRssiTimeoutMs,
                                              why);
    };
    ports.readConnInfo = btmgmtConnInfo;
    return ports;
}

LinkSignal::LinkSignal(LinkSignalPorts ports) : ports_(std::move(ports)) {}

SignalReadings LinkSignal::read(int cancelFd) {
    SignalReadings readings;
    const std::vector<bluetooth::HciLink> links = ports_.links();
    // A device that is no longer linked is asked about afresh when it is.
    std::erase_if(devices_, [&](const auto& entry) {
        return std::none_of(links.begin(), links.end(),
                            [&](const auto& link) { return link.address == entry.first; });
    });
    for (const bluetooth::HciLink& link : links) {
        Device& device = devices_[link.address];
        if (!device.headphones && --device.readsUntilAsking < 0) {
            device.headphones = ports_.isHeadphones(link.adapterIndex, link.address);
            device.readsUntilAsking = kAskAgainAfter;
        }
        if (!device.headphones.value_or(false))
            continue;
        // Read RSSI's value is relative to the golden range on classic
        // links only; other links go to btmgmt, which says the same.
        std::optional<int> raw = link.acl ? ports_.readRssi(link) : std::nullopt;
        if (!raw && device.connInfoWorks) {
            raw = ports_.readConnInfo(link, cancelFd);
            device.connInfoWorks = raw.has_value();
        }
        if (raw)
            readings[link.address] = bluetooth::approximateDbm(*raw);
    }
    return readings;
}

} // namespace quelmo
