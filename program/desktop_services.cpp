#include "program/desktop_services.h"

#include <QDBusConnection>

namespace quelmo {

DesktopServices::DesktopServices(Preferences& p)
    : prefs(p),
      windows(LoginItem::forRunningProgram(), QString::fromStdString(log.directory().string())),
      systemEvents(QDBusConnection::sessionBus(), QDBusConnection::systemBus(),
                   // The displays' power level is read only while Quelmo could
                   // be watching.
                   std::make_unique<DisplayPowerWatcher>([this] {
                       return prefs.enabled() && model_ != nullptr && !model_->isPaused();
                   })),
      commands(QDBusConnection::sessionBus()) {}

void DesktopServices::attach(AppModel& model) {
    model_ = &model;
    windows.setModel(&model);
}

AppModelPorts DesktopServices::ports() {
    return AppModelPorts{scheduler,    tracker,  signal,  input,   hotKeys,
                         log,          watchdog, overlay, windows, privacySettings,
                         systemEvents, commands, activity};
}

} // namespace quelmo
