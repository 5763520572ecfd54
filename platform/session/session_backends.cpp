// SPDX-License-Identifier: MIT
#include "platform/session/session_backends.h"

namespace quelmo {

FrostBackend chooseFrostBackend(const DesktopSession& session, bool layerShellOffered,
                                bool qtOnX11) {
    if (!session.isWayland()) {
        return FrostBackend::x11Windows;
    }
    if (layerShellOffered) {
        return FrostBackend::layerShell;
    }
    return qtOnX11 ? FrostBackend::xwaylandWindows : FrostBackend::none;
}

std::string frostBackendName(FrostBackend backend, bool screencopy) {
    switch (backend) {
    case FrostBackend::x11Windows:
        return "x11";
    case FrostBackend::layerShell:
        return screencopy ? "layer-shell + screencopy" : "layer-shell";
    case FrostBackend::xwaylandWindows:
        return "xwayland";
    case FrostBackend::none:
        break;
    }
    return "none";
}

std::string sessionLogLine(const DesktopSession& session,
                           const std::vector<std::pair<std::string, std::string>>& backends) {
    std::string line = "display session: ";
    line += displayServerName(session.server);
    line += " (";
    line += session.desktopName.empty() ? "unknown" : session.desktopName;
    line += ")";
    for (const auto& [what, name] : backends) {
        line += "; " + what + ": " + name;
    }
    return line;
}

const char* requiredQtPlatform(const DesktopSession& session, bool userChosePlatform,
                               bool xDisplayAvailable) {
    if (userChosePlatform || !xDisplayAvailable || !session.isWayland() ||
        session.family != DesktopFamily::gnome) {
        return nullptr;
    }
    return "xcb";
}

} // namespace quelmo
