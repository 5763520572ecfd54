// SPDX-License-Identifier: MIT
#pragma once

#include "app/system_ports.h"
#include "platform/system/display_power_watcher.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <memory>

namespace quelmo {

// Screen lock, system sleep and display sleep, as the desktop announces them:
// - lock and unlock: the screen savers' ActiveChanged signal
//   (org.gnome.ScreenSaver, org.freedesktop.ScreenSaver) on the session bus,
//   and the LockedHint property of our logind session on the system bus;
// - system sleep and wake: logind's PrepareForSleep(true/false);
// - display sleep and wake: the X server's display power level (optional).
// Every source is optional: a missing bus or service is simply never heard.
class SystemEventsMonitor : public QObject, public SystemEventsPort {
    Q_OBJECT

  public:
    SystemEventsMonitor(QDBusConnection sessionBus, QDBusConnection systemBus,
                        std::unique_ptr<DisplayPowerWatcher> displayPower = nullptr,
                        QObject* parent = nullptr);
    ~SystemEventsMonitor() override;

    void observe(SystemEventHandlers handlers) override;

    // Which sources could be subscribed to, for diagnostics and tests.
    bool hearsScreenSaver() const { return screenSaver_; }
    bool hearsSleep() const { return sleep_; }
    bool hearsSessionLock() const { return !sessionPath_.isEmpty(); }

  private slots:
    void onScreenSaverActive(bool active);
    void onPrepareForSleep(bool goingToSleep);
    void onSessionPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                    const QStringList& invalidated);

  private:
    QString findSessionPath() const;

    QDBusConnection sessionBus_;
    QDBusConnection systemBus_;
    std::unique_ptr<DisplayPowerWatcher> displayPower_;
    SystemEventHandlers handlers_;
    bool screenSaver_ = false;
    bool sleep_ = false;
    QString sessionPath_;
    bool observing_ = false;
};

} // namespace quelmo
