// SPDX-License-Identifier: MIT
#include "program/desktop_services.h"

#include "platform/session/desktop_session.h"
#include "platform/wayland_connection/wayland_connection.h"
#include "platform/wayland_input/output_power_monitor.h"

#include <QByteArray>
#include <QDBusConnection>

namespace quelmo {

namespace {

// The displays' power level: from a wlroots compositor's output power state
// in such a Wayland session, else from the X server's DPMS level.
std::unique_ptr<DisplayPowerWatcher>
displayPowerWatcher(const std::shared_ptr<WaylandConnection>& wayland,
                    std::function<bool()> shouldWatch) {
    if (currentDesktopSession().isWayland()) {
        auto outputs = std::make_shared<OutputPowerMonitor>(wayland);
        if (outputs->isAvailable()) {
            return std::make_unique<DisplayPowerWatcher>(std::move(shouldWatch),
                                                         [outputs] { return outputs->allOff(); });
        }
    }
    return std::make_unique<DisplayPowerWatcher>(std::move(shouldWatch));
}

} // namespace

DesktopServices::DesktopServices(Preferences& p)
    : DesktopServices(p, currentDesktopSession().isWayland() ? WaylandConnection::connect()
                                                             : nullptr) {}

DesktopServices::DesktopServices(Preferences& p, const std::shared_ptr<WaylandConnection>& wayland)
    : prefs(p), input(chooseInputBackends(currentDesktopSession(), wayland)),
      frost(chooseFrost(currentDesktopSession(), wayland)),
      windows(LoginItem::forRunningProgram(), QString::fromStdString(log.directory().string())),
      systemEvents(QDBusConnection::sessionBus(), QDBusConnection::systemBus(),
                   // Read only while Quelmo could be watching.
                   displayPowerWatcher(wayland,
                                       [this] {
                                           return prefs.enabled() && model_ != nullptr &&
                                                  !model_->isPaused();
                                       })),
      commands(QDBusConnection::sessionBus()) {
    if (qgetenv("QUELMO_TEST_HOOKS") == "1") {
        testMotion = std::make_unique<TestMotion>(scheduler, tracker, signal, *input.input);
    }
}

void DesktopServices::attach(AppModel& model) {
    model_ = &model;
    windows.setModel(&model);
}

AppModelPorts DesktopServices::ports() {
    if (testMotion) {
        return AppModelPorts{scheduler,
                             testMotion->tracker(),
                             testMotion->signal(),
                             testMotion->input(),
                             *input.hotKeys,
                             log,
                             watchdog,
                             *frost.overlay,
                             windows,
                             privacySettings,
                             systemEvents,
                             commands,
                             *testMotion};
    }
    return AppModelPorts{scheduler,    tracker,  signal,         *input.input, *input.hotKeys,
                         log,          watchdog, *frost.overlay, windows,      privacySettings,
                         systemEvents, commands, noTestHooks};
}

} // namespace quelmo
