// SPDX-License-Identifier: MIT
#pragma once

#include "app/app_model.h"
#include "app/test_motion.h"
#include "platform/log/diagnostics_log.h"
#include "platform/login/login_item.h"
#include "platform/motion/head_tracker.h"
#include "platform/scheduler/qt_scheduler.h"
#include "platform/signal/headphone_signal.h"
#include "platform/system/dbus_command_channel.h"
#include "platform/system/logind_session_lock.h"
#include "platform/system/system_events_monitor.h"
#include "platform/watchdog/hang_watchdog.h"
#include "program/frost_choice.h"
#include "program/input_backends.h"
#include "ui/motion_access/motion_access_settings.h"
#include "ui/overlay/frost_overlay.h"
#include "ui/windows/windows.h"

#include <memory>

namespace quelmo {

class WaylandConnection;

// The desktop's services behind the app model's ports, made once at launch
// and kept for the life of the process.
class DesktopServices {
    // Set by attach(); read by the services that follow the model's state.
    const AppModel* model_ = nullptr;
    // Hands Quelmo's one Wayland connection (null outside Wayland sessions)
    // to the services that use it; it lives as long as one of them does.
    DesktopServices(Preferences& prefs, const std::shared_ptr<WaylandConnection>& wayland);

  public:
    explicit DesktopServices(Preferences& prefs);

    AppModelPorts ports();
    // Hands the model, made from ports(), to the services that need it back.
    void attach(AppModel& model);

    Preferences& prefs;
    QtScheduler scheduler;
    HeadTracker tracker{askForMotionAccess};
    HeadphoneSignal signal;
    InputBackends input;
    DiagnosticsLog log;
    HangWatchdog watchdog;
    // The frost this session allows; frost.name is logged at launch.
    FrostChoice frost;
    Windows windows;
    MotionAccessSettings privacySettings;
    SystemEventsMonitor systemEvents;
    DbusCommandChannel commands;
    // Locks the session for the away lock (not a port of the model's).
    LogindSessionLock sessionLock{QDBusConnection::systemBus(), QDBusConnection::sessionBus()};
    // The test words' motion between the model and its sensors, only when
    // QUELMO_TEST_HOOKS=1 asks for it at start-up; otherwise the words are
    // only logged.
    std::unique_ptr<TestMotion> testMotion;
    NoTestHooks noTestHooks;
};

} // namespace quelmo
