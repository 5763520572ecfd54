#pragma once

#include "app/app_model.h"
#include "app/entry/frost_choice.h"
#include "app/entry/input_backends.h"
#include "platform/app_ports/desktop_adapters.h"
#include "platform/app_ports/head_tracker_adapter.h"
#include "platform/log/diagnostics_log.h"
#include "platform/login/login_item.h"
#include "platform/motion/head_tracker.h"
#include "platform/scheduler/qt_scheduler.h"
#include "platform/signal/headphone_signal.h"
#include "platform/system/dbus_command_channel.h"
#include "platform/system/system_events_monitor.h"
#include "platform/watchdog/hang_watchdog.h"
#include "ui/windows/windows.h"

namespace quelmo {

// The desktop's services behind the app model's ports, made once at launch
// and kept for the life of the process.
class DesktopServices {
  public:
    explicit DesktopServices(Preferences& prefs);

    AppModelPorts ports();

    Preferences& prefs;
    QtScheduler scheduler;
    HeadTracker tracker;
    HeadTrackerAdapter trackerPort{tracker};
    HeadphoneSignal signal;
    SignalReaderAdapter signalPort{signal};
    InputBackends input;
    DiagnosticsLog log;
    HangWatchdog watchdog;
    // The frost this session allows; frost.name is logged at launch.
    FrostChoice frost;
    Windows windows;
    MotionAccessSettings privacySettings;
    SystemEventsMonitor systemEvents;
    DbusCommandChannel commands;
    NoActivityAssertion activity;
};

} // namespace quelmo
