// SPDX-License-Identifier: MIT
#pragma once

#include "app/ui_ports.h"
#include "platform/session/desktop_session.h"

#include <memory>
#include <string>

namespace quelmo {

class WaylandConnection;

// The frost for this session, made once at launch: the X11 windows on X11;
// layer-shell surfaces on a Wayland compositor that offers layer shell; the
// X11 windows through XWayland over an opaque backdrop where it does not
// (GNOME); and, where none of these can work, an overlay that does nothing,
// with the problem told to the user (tray tool tip, settings header) and
// to the log.
struct FrostChoice {
    std::unique_ptr<OverlayPort> overlay;
    // The backend's name for the launch log line.
    std::string name;
};

// `wayland` is Quelmo's Wayland connection, null outside Wayland sessions.
FrostChoice chooseFrost(const DesktopSession& session,
                        const std::shared_ptr<WaylandConnection>& wayland);

} // namespace quelmo
