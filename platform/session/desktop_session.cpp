// SPDX-License-Identifier: MIT
#include "platform/session/desktop_session.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string_view>

namespace quelmo {

namespace {

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool hasText(const char* value) {
    return value != nullptr && value[0] != '\0';
}

// XDG_CURRENT_DESKTOP is a colon-separated list, most specific first
// ("ubuntu:GNOME"); any known family in it decides.
DesktopFamily familyOf(std::string_view desktops) {
    const std::string names = lowered(desktops);
    std::size_t start = 0;
    while (start <= names.size()) {
        const std::size_t end = std::min(names.find(':', start), names.size());
        const std::string_view name(names.data() + start, end - start);
        if (name == "gnome" || name == "gnome-classic" || name == "gnome-flashback") {
            return DesktopFamily::gnome;
        }
        if (name == "kde") {
            return DesktopFamily::kde;
        }
        if (name == "sway" || name == "hyprland" || name == "labwc" || name == "river" ||
            name == "wayfire" || name == "niri") {
            return DesktopFamily::wlroots;
        }
        start = end + 1;
    }
    return DesktopFamily::other;
}

} // namespace

DesktopSession detectDesktopSession(const std::function<const char*(const char*)>& lookup) {
    const auto get = [&lookup](const char* name) -> const char* {
        return lookup ? lookup(name) : std::getenv(name);
    };
    DesktopSession session;
    const char* waylandDisplay = get("WAYLAND_DISPLAY");
    const char* sessionType = get("XDG_SESSION_TYPE");
    if (hasText(waylandDisplay) || (hasText(sessionType) && lowered(sessionType) == "wayland")) {
        session.server = DisplayServer::wayland;
    }
    const char* desktop = get("XDG_CURRENT_DESKTOP");
    if (hasText(desktop)) {
        session.desktopName = desktop;
        session.family = familyOf(desktop);
    }
    // A bare sway started by hand often sets no XDG_CURRENT_DESKTOP, but
    // always sets SWAYSOCK.
    if (session.family == DesktopFamily::other && hasText(get("SWAYSOCK"))) {
        session.family = DesktopFamily::wlroots;
    }
    return session;
}

const DesktopSession& currentDesktopSession() {
    static const DesktopSession session = detectDesktopSession();
    return session;
}

const char* displayServerName(DisplayServer server) {
    return server == DisplayServer::wayland ? "wayland" : "x11";
}

} // namespace quelmo
