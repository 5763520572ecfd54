// SPDX-License-Identifier: MIT
#pragma once

#include "platform/motion/earbuds_source.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <set>

class QDBusMessage;
class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

namespace quelmo {

// Finds paired, connected earbuds through BlueZ: asks org.bluez's object
// manager for its devices once, then follows devices appearing and leaving
// (InterfacesAdded/Removed), connecting and disconnecting
// (PropertiesChanged) and BlueZ itself starting and stopping. Earbuds are
// devices listing the earbuds' service UUID, or Apple devices (Modalias
// vendor 0x004C) that are a known AirPods model or call themselves
// headphones. The first connected one, by object path, is the target.
// Adapters are followed too: Bluetooth counts as there while one is powered.
// A connected headset that offers the HID profile (a head tracker) but has
// no hidraw node yet is asked once per connection to connect that profile:
// BlueZ often connects only the audio ones.
// Every call is asynchronous: nothing waits on the bus.
class BluezDiscovery final : public QObject, public EarbudsDiscovery {
    Q_OBJECT
  public:
    // On the system bus.
    BluezDiscovery();
    // On the given bus (tests: a private bus with a stand-in org.bluez).
    explicit BluezDiscovery(QDBusConnection bus);
    ~BluezDiscovery() override;

    void start() override;

    struct Device {
        QString address;
        QString name;
        bool connected = false;
        bool earbuds = false;
    };
    const std::map<QString, Device>& devices() const { return devices_; }

  private slots:
    void onInterfacesAdded(const QDBusMessage& message);
    void onInterfacesRemoved(const QDBusMessage& message);
    void onPropertiesChanged(const QDBusMessage& message);

  private:
    void fetch();
    void updateAdapter(const QString& path, const QVariantMap& properties, bool isNew);
    void tellBluetooth();
    void connectHidIfNeeded(const QString& path, const QVariantMap& device);
    void onFetched(QDBusPendingCallWatcher* call);
    void update(const QString& path, const QVariantMap& properties, bool isNew);
    void choose();

    QDBusConnection bus_;
    std::unique_ptr<QDBusServiceWatcher> watcher_;
    std::map<QString, Device> devices_;
    // Properties seen so far per device, for the earbuds test.
    std::map<QString, QVariantMap> seen_;
    std::optional<EarbudsTarget> chosen_;
    // Whether each adapter is powered, by object path.
    std::map<QString, bool> adapters_;
    std::optional<bool> toldBluetooth_;
    // Devices asked to connect the HID profile during this connection.
    std::set<QString> hidAsked_;
    bool started_ = false;
};

// Whether a Device1 with these properties is earbuds this source can use.
bool looksLikeEarbuds(const QVariantMap& device);
// The name shown to the user: the alias, else the model, with the transport.
QString earbudsDisplayName(const QVariantMap& device);
// A headset (an audio profile) that offers the HID profile: a keyboard,
// which offers HID alone, is never one.
bool offersHeadsetHid(const QVariantMap& device);
// Whether a hidraw node under sysfsRoot belongs to the Bluetooth address.
bool hasHidrawNode(const QString& address,
                   const QString& sysfsRoot = QStringLiteral("/sys/class/hidraw"));

} // namespace quelmo
