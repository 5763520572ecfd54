// SPDX-License-Identifier: MIT
#pragma once

// Which kind of desktop session Quelmo runs in, read once from the
// environment. Every choice between X11 and Wayland adapters asks this one
// place, so the whole app agrees on the answer.

#include <functional>
#include <string>

namespace quelmo {

enum class DisplayServer { x11, wayland };

// The desktop families whose services differ enough to pick adapters by.
enum class DesktopFamily { other, gnome, kde, wlroots };

struct DesktopSession {
    DisplayServer server = DisplayServer::x11;
    DesktopFamily family = DesktopFamily::other;
    // XDG_CURRENT_DESKTOP as given ("GNOME", "KDE", "sway", "ubuntu:GNOME"),
    // kept for the diagnostics log.
    std::string desktopName;

    bool isWayland() const { return server == DisplayServer::wayland; }
};

// Reads WAYLAND_DISPLAY, XDG_SESSION_TYPE and XDG_CURRENT_DESKTOP through
// `lookup` (getenv by default; tests pass their own).
DesktopSession
detectDesktopSession(const std::function<const char*(const char*)>& lookup = nullptr);

// The session of this process, detected on first use.
const DesktopSession& currentDesktopSession();

// "x11" or "wayland", for log lines.
const char* displayServerName(DisplayServer server);

} // namespace quelmo
