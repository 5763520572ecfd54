// SPDX-License-Identifier: MIT
#pragma once

// Which adapters serve this session, and the one log line that records them.

#include "platform/session/desktop_session.h"

#include <string>
#include <utility>
#include <vector>

namespace quelmo {

// How the frost covers the screens.
enum class FrostBackend {
    x11Windows,      // override-redirect windows on an X11 session
    layerShell,      // overlay-layer surfaces (KWin, sway and other wlroots desktops)
    xwaylandWindows, // the X11 windows through XWayland (GNOME), over an opaque backdrop
    none,            // nothing can cover the screen here
};

// An X11 session keeps the X11 windows. A Wayland session uses layer shell
// wherever the compositor offers it (XWayland windows there block clicks on
// wlroots), else the X11 windows when Qt runs on XWayland, else nothing.
FrostBackend chooseFrostBackend(const DesktopSession& session, bool layerShellOffered,
                                bool qtOnX11);

// The frost backend's name in the log: "x11", "layer-shell" (with
// " + screencopy" when the screen's picture can be taken), "xwayland" or
// "none".
std::string frostBackendName(FrostBackend backend, bool screencopy);

// "display session: wayland (sway); frost: layer-shell": the server, the
// desktop as XDG_CURRENT_DESKTOP names it ("unknown" when unset), then each
// backend as "what: name" in the given order.
std::string sessionLogLine(const DesktopSession& session,
                           const std::vector<std::pair<std::string, std::string>>& backends);

// The Qt platform the application must run on, or null for Qt's own
// choice: GNOME's Wayland session has no layer shell, so there the whole
// application runs through XWayland ("xcb"), where the frost's X11 windows
// can cover the screen. Nothing is imposed when the user chose a platform
// or no X server is reachable.
const char* requiredQtPlatform(const DesktopSession& session, bool userChosePlatform,
                               bool xDisplayAvailable);

} // namespace quelmo
