#include "app/entry/desktop_services.h"

#include "platform/session/desktop_session.h"

#ifdef QUELMO_HAVE_WAYLAND_INPUT
#include "platform/wayland_input/output_power_monitor.h"
#endif

#include <QDBusConnection>

namespace quelmo {

namespace {

// The displays' power level is read only while Quelmo could be watching: from
// a wlroots compositor's output power state in such a Wayland session, else
// from the X server's DPMS level.
std::unique_ptr<DisplayPowerWatcher> displayPowerWatcher(Preferences& prefs) {
    auto shouldWatch = [&prefs] {
        const AppModel* model = AppModel::shared();
        return prefs.enabled() && model != nullptr && !model->isPaused();
    };
#ifdef QUELMO_HAVE_WAYLAND_INPUT
    if (currentDesktopSession().isWayland()) {
        auto outputs = std::make_shared<OutputPowerMonitor>();
        if (outputs->isAvailable()) {
            return std::make_unique<DisplayPowerWatcher>(shouldWatch,
                                                         [outputs] { return outputs->allOff(); });
        }
    }
#endif
    return std::make_unique<DisplayPowerWatcher>(shouldWatch);
}

} // namespace

DesktopServices::DesktopServices(Preferences& p)
    : prefs(p), input(chooseInputBackends(currentDesktopSession())),
      frost(chooseFrost(currentDesktopSession())),
      windows(LoginItem::forRunningProgram(), QString::fromStdString(log.directory().string())),
      systemEvents(QDBusConnection::sessionBus(), QDBusConnection::systemBus(),
                   displayPowerWatcher(p)),
      commands(QDBusConnection::sessionBus()) {}

AppModelPorts DesktopServices::ports() {
    return AppModelPorts{scheduler,    trackerPort, signalPort,     *input.input, *input.hotKeys,
                         log,          watchdog,    *frost.overlay, windows,      privacySettings,
                         systemEvents, commands,    activity};
}

} // namespace quelmo
