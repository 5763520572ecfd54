// SPDX-License-Identifier: MIT
#pragma once

#include "app/sensor_ports.h"
#include "platform/idle_clock/idle_clock.h"

#include <QDBusConnection>
#include <QObject>

#include <chrono>
#include <cstdint>
#include <optional>

namespace quelmo {

// Keyboard and mouse activity on GNOME, from Mutter's idle monitor on the
// session bus (org.gnome.Mutter.IdleMonitor, /org/gnome/Mutter/IdleMonitor/Core).
//
// The idle time is read once at start; after that an idle watch with a short
// interval says "idle", and a user-active watch, added each time the user went
// idle (it fires once), says "resumed"; IdleClock turns both into seconds since
// the last event with the interval as resolution. Signals arrive on the main
// thread, so readings cost no bus traffic.
class MutterIdleMonitor : public QObject, public InputActivityPort {
    Q_OBJECT

  public:
    static constexpr std::chrono::milliseconds kDefaultInterval{250};

    explicit MutterIdleMonitor(QDBusConnection bus = QDBusConnection::sessionBus(),
                               std::chrono::milliseconds interval = kDefaultInterval,
                               QObject* parent = nullptr);
    ~MutterIdleMonitor() override;

    // Whether Mutter answered at start.
    bool isAvailable() const { return available_; }
    // Seconds since the last event, within one interval; 1e9 when unavailable.
    double secondsSinceLastEvent() const override;
    // How many watches have fired (tests wait on it).
    std::uint64_t watchesFired() const { return fired_; }

  private slots:
    void onWatchFired(uint id);

  private:
    std::optional<uint> addWatch(const QString& method, const QList<QVariant>& arguments);
    void removeWatch(std::optional<uint>& id);

    QDBusConnection bus_;
    IdleClock clock_;
    bool available_ = false;
    std::optional<uint> idleWatch_;
    std::optional<uint> activeWatch_;
    std::uint64_t fired_ = 0;
};

} // namespace quelmo
