#include "app/entry/desktop_services.h"

#include <QDBusConnection>

namespace quelmo {

namespace {

// The displays' power level is read only while Quelmo could be watching.
std::unique_ptr<DisplayPowerWatcher> displayPowerWatcher(Preferences& prefs) {
    return std::make_unique<DisplayPowerWatcher>([&prefs] {
        const AppModel* model = AppModel::shared();
        return prefs.enabled() && model != nullptr && !model->isPaused();
    });
}

} // namespace

DesktopServices::DesktopServices(Preferences& p)
    : prefs(p), frost(chooseFrost(currentDesktopSession())),
      windows(LoginItem::forRunningProgram(), QString::fromStdString(log.directory().string())),
      systemEvents(QDBusConnection::sessionBus(), QDBusConnection::systemBus(),
                   displayPowerWatcher(p)),
      commands(QDBusConnection::sessionBus()) {}

AppModelPorts DesktopServices::ports() {
    return AppModelPorts{scheduler,    trackerPort, signalPort,     input,   hotKeys,
                         log,          watchdog,    *frost.overlay, windows, privacySettings,
                         systemEvents, commands,    activity};
}

} // namespace quelmo
