// SPDX-License-Identifier: MIT
#include "platform/motion/bluez_discovery.h"

#include "platform/motion/bluez_types.h"
#include "platform/motion/earbuds_wire.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>

#include <QDir>
#include <QFile>

#include <cstdio>

namespace quelmo {

namespace {

const QString kService = QStringLiteral("org.bluez");
const QString kDevice = QStringLiteral("org.bluez.Device1");
const QString kAdapter = QStringLiteral("org.bluez.Adapter1");
const QString kObjectManager = QStringLiteral("org.freedesktop.DBus.ObjectManager");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

std::uint16_t productOf(const QVariantMap& device, bool& apple) {
    const QByteArray modalias = device.value(QStringLiteral("Modalias")).toString().toLatin1();
    std::uint16_t product = 0;
    apple = earbuds::isAppleModalias(modalias.constData(), product);
    return product;
}

// A{sv} values inside a message arrive as QDBusArgument until demarshalled.
QVariantMap variantMapOf(const QVariant& value) {
    if (value.canConvert<QDBusArgument>())
        return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    return value.toMap();
}

BluezInterfaces interfacesOf(const QVariant& value) {
    if (value.canConvert<QDBusArgument>())
        return qdbus_cast<BluezInterfaces>(value.value<QDBusArgument>());
    return value.value<BluezInterfaces>();
}

} // namespace

bool looksLikeEarbuds(const QVariantMap& device) {
    const QStringList uuids = device.value(QStringLiteral("UUIDs")).toStringList();
    if (uuids.contains(QString::fromLatin1(earbuds::kServiceUuid), Qt::CaseInsensitive))
        return true;
    bool apple = false;
    const std::uint16_t product = productOf(device, apple);
    if (!apple)
        return false;
    // An Apple keyboard or mouse is no earbuds.
    const QString icon = device.value(QStringLiteral("Icon")).toString();
    return earbuds::modelName(product) != nullptr || icon == QStringLiteral("audio-headphones") ||
           icon == QStringLiteral("audio-headset");
}

bool offersHeadsetHid(const QVariantMap& device) {
    const QStringList uuids = device.value(QStringLiteral("UUIDs")).toStringList();
    const auto offers = [&](const char* shortId) {
        return uuids.contains(
            QStringLiteral("0000%1-0000-1000-8000-00805f9b34fb").arg(QLatin1String(shortId)),
            Qt::CaseInsensitive);
    };
    // HID, and audio: A2DP sink, hands-free, headset.
    return offers("1124") && (offers("110b") || offers("111e") || offers("1108"));
}

bool hasHidrawNode(const QString& address, const QString& sysfsRoot) {
    QDir root(sysfsRoot);
    for (const QString& node : root.entryList({QStringLiteral("hidraw*")}, QDir::AllEntries)) {
        QFile uevent(root.filePath(node + QStringLiteral("/device/uevent")));
        if (!uevent.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : uevent.readAll().split('\n'))
            if (line.startsWith("HID_UNIQ=") &&
                QString::fromLatin1(line.mid(9)).compare(address, Qt::CaseInsensitive) == 0)
                return true;
    }
    return false;
}

QString earbudsDisplayName(const QVariantMap& device) {
    QString name = device.value(QStringLiteral("Alias")).toString();
    if (name.isEmpty())
        name = device.value(QStringLiteral("Name")).toString();
    if (name.isEmpty()) {
        bool apple = false;
        const char* model = earbuds::modelName(productOf(device, apple));
        name = model != nullptr ? QString::fromLatin1(model) : QStringLiteral("earbuds");
    }
    return name + QStringLiteral(" (Bluetooth)");
}

BluezDiscovery::BluezDiscovery() : BluezDiscovery(QDBusConnection::systemBus()) {}

BluezDiscovery::BluezDiscovery(QDBusConnection bus) : bus_(std::move(bus)) {
    registerBluezTypes();
}

BluezDiscovery::~BluezDiscovery() = default;

void BluezDiscovery::start() {
    if (started_)
        return;
    started_ = true;
    if (!bus_.isConnected()) {
        std::fprintf(stderr, "quelmo: earbuds: no system bus, so no Bluetooth earbuds (%s)\n",
                     qPrintable(bus_.lastError().message()));
        tellBluetooth();
        return;
    }
    bus_.connect(kService, QStringLiteral("/"), kObjectManager, QStringLiteral("InterfacesAdded"),
                 this, SLOT(onInterfacesAdded(QDBusMessage)));
    bus_.connect(kService, QStringLiteral("/"), kObjectManager, QStringLiteral("InterfacesRemoved"),
                 this, SLOT(onInterfacesRemoved(QDBusMessage)));
    // Any object's properties: an empty path matches every device.
    bus_.connect(kService, QString(), kProperties, QStringLiteral("PropertiesChanged"), this,
                 SLOT(onPropertiesChanged(QDBusMessage)));
    watcher_ = std::make_unique<QDBusServiceWatcher>(
        kService, bus_,
        QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration);
    connect(watcher_.get(), &QDBusServiceWatcher::serviceRegistered, this, [this] { fetch(); });
    connect(watcher_.get(), &QDBusServiceWatcher::serviceUnregistered, this, [this] {
        devices_.clear();
        seen_.clear();
        adapters_.clear();
        choose();
        tellBluetooth();
    });
    fetch();
}

void BluezDiscovery::fetch() {
    const QDBusMessage call = QDBusMessage::createMethodCall(
        kService, QStringLiteral("/"), kObjectManager, QStringLiteral("GetManagedObjects"));
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, 5000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* w) { onFetched(w); });
}

void BluezDiscovery::onFetched(QDBusPendingCallWatcher* call) {
    call->deleteLater();
    const QDBusPendingReply<BluezObjects> reply = *call;
    if (reply.isError()) {
        static bool told = false;
        if (!told) {
            std::fprintf(stderr, "quelmo: earbuds: BlueZ is not answering (%s)\n",
                         qPrintable(reply.error().message()));
            told = true;
        }
        tellBluetooth();
        return;
    }
    const BluezObjects objects = reply.value();
    for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
        const auto device = it.value().constFind(kDevice);
        if (device != it.value().cend())
            update(it.key().path(), device.value(), true);
        const auto adapter = it.value().constFind(kAdapter);
        if (adapter != it.value().cend())
            updateAdapter(it.key().path(), adapter.value(), true);
    }
    choose();
    tellBluetooth();
}

void BluezDiscovery::onInterfacesAdded(const QDBusMessage& message) {
    const QList<QVariant> args = message.arguments();
    if (args.size() < 2)
        return;
    const QString path = args[0].value<QDBusObjectPath>().path();
    const BluezInterfaces interfaces = interfacesOf(args[1]);
    if (path.isEmpty())
        return;
    const auto adapter = interfaces.constFind(kAdapter);
    if (adapter != interfaces.cend()) {
        updateAdapter(path, adapter.value(), true);
        tellBluetooth();
    }
    const auto device = interfaces.constFind(kDevice);
    if (device == interfaces.cend())
        return;
    update(path, device.value(), true);
    choose();
}

void BluezDiscovery::onInterfacesRemoved(const QDBusMessage& message) {
    const QList<QVariant> args = message.arguments();
    if (args.size() < 2)
        return;
    const QString path = args[0].value<QDBusObjectPath>().path();
    if (args[1].toStringList().contains(kAdapter)) {
        adapters_.erase(path);
        tellBluetooth();
    }
    if (!args[1].toStringList().contains(kDevice))
        return;
    devices_.erase(path);
    seen_.erase(path);
    choose();
}

void BluezDiscovery::onPropertiesChanged(const QDBusMessage& message) {
    const QList<QVariant> args = message.arguments();
    if (args.size() >= 2 && args[0].toString() == kAdapter &&
        adapters_.find(message.path()) != adapters_.end()) {
        updateAdapter(message.path(), variantMapOf(args[1]), false);
        tellBluetooth();
        return;
    }
    if (args.size() < 2 || args[0].toString() != kDevice)
        return;
    if (devices_.find(message.path()) == devices_.end())
        return; // not announced yet: InterfacesAdded brings everything
    update(message.path(), variantMapOf(args[1]), false);
    choose();
}

void BluezDiscovery::update(const QString& path, const QVariantMap& properties, bool isNew) {
    QVariantMap& all = seen_[path];
    if (isNew)
        all.clear();
    for (auto it = properties.cbegin(); it != properties.cend(); ++it)
        all.insert(it.key(), it.value());
    Device& d = devices_[path];
    d.address = all.value(QStringLiteral("Address")).toString();
    d.name = earbudsDisplayName(all);
    d.connected = all.value(QStringLiteral("Connected")).toBool();
    d.earbuds = looksLikeEarbuds(all);
    connectHidIfNeeded(path, all);
}

void BluezDiscovery::connectHidIfNeeded(const QString& path, const QVariantMap& device) {
    if (!device.value(QStringLiteral("Connected")).toBool()) {
        hidAsked_.erase(path);
        return;
    }
    const QString address = device.value(QStringLiteral("Address")).toString();
    if (hidAsked_.count(path) != 0 || !offersHeadsetHid(device) || hasHidrawNode(address))
        return;
    hidAsked_.insert(path);
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, path, kDevice, QStringLiteral("ConnectProfile"));
    call << QStringLiteral("00001124-0000-1000-8000-00805f9b34fb");
    // Fire and forget: a refusal (not bonded, already connecting) changes nothing.
    bus_.asyncCall(call, 30000);
}

void BluezDiscovery::updateAdapter(const QString& path, const QVariantMap& properties, bool isNew) {
    const auto powered = properties.constFind(QStringLiteral("Powered"));
    if (powered != properties.cend())
        adapters_[path] = powered.value().toBool();
    else if (isNew)
        adapters_[path] = false;
}

void BluezDiscovery::tellBluetooth() {
    bool powered = false;
    for (const auto& [path, on] : adapters_)
        powered = powered || on;
    if (toldBluetooth_ == powered)
        return;
    toldBluetooth_ = powered;
    if (onBluetooth)
        onBluetooth(powered);
}

void BluezDiscovery::choose() {
    std::optional<EarbudsTarget> target;
    for (const auto& [path, d] : devices_) {
        if (d.earbuds && d.connected && !d.address.isEmpty()) {
            target = EarbudsTarget{d.name.toStdString(), d.address.toStdString(), false};
            break;
        }
    }
    if (target == chosen_)
        return;
    chosen_ = target;
    if (onTarget)
        onTarget(chosen_);
}

} // namespace quelmo
