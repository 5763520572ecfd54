// SPDX-License-Identifier: MIT
#pragma once

#include "app/sensor_ports.h"
#include "platform/session/desktop_session.h"

#include <QDBusConnection>

#include <memory>
#include <string>

namespace quelmo {

class WaylandConnection;

// Where keyboard and mouse activity and the hot key come from in this session.
struct InputBackends {
    std::unique_ptr<InputActivityPort> input;
    std::unique_ptr<HotKeyPort> hotKeys;
    // Short names for the diagnostics log ("xinput2", "org_kde_kwin_idle",
    // "mutter", "kglobalaccel", "none", ...).
    std::string inputName;
    std::string hotKeyName;
};

// X11 sessions: XInput2 and XGrabKey, as ever. Wayland sessions, best first:
// activity from ext-idle-notify or org_kde_kwin_idle, else Mutter's idle
// monitor, else what XWayland sees; the hot key from kglobalaccel where it
// runs in KDE Plasma, else none (bound by the user to `quelmo --recenter`).
// `wayland` is Quelmo's Wayland connection, null outside Wayland sessions.
InputBackends chooseInputBackends(const DesktopSession& session,
                                  const std::shared_ptr<WaylandConnection>& wayland,
                                  const QDBusConnection& bus = QDBusConnection::sessionBus());

} // namespace quelmo
