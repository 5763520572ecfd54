// SPDX-License-Identifier: MIT
#include "platform/session/desktop_session.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using quelmo::DesktopFamily;
using quelmo::DisplayServer;

quelmo::DesktopSession sessionWith(const std::map<std::string, std::string>& env) {
    return quelmo::detectDesktopSession([&env](const char* name) -> const char* {
        const auto it = env.find(name);
        return it == env.end() ? nullptr : it->second.c_str();
    });
}

TEST(DesktopSession, WaylandFromEitherVariableEmptyValuesDoNotCount) {
    EXPECT_EQ(sessionWith({}).server, DisplayServer::x11);
    EXPECT_EQ(sessionWith({{"WAYLAND_DISPLAY", ""}, {"XDG_SESSION_TYPE", "x11"}}).server,
              DisplayServer::x11);
    EXPECT_EQ(sessionWith({{"WAYLAND_DISPLAY", "wayland-0"}}).server, DisplayServer::wayland);
    EXPECT_EQ(sessionWith({{"XDG_SESSION_TYPE", "Wayland"}}).server, DisplayServer::wayland);
}

TEST(DesktopSession, FamilyFromAnyEntryOfTheDesktopList) {
    EXPECT_EQ(sessionWith({{"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}}).family, DesktopFamily::gnome);
    EXPECT_EQ(sessionWith({{"XDG_CURRENT_DESKTOP", "KDE"}}).family, DesktopFamily::kde);
    EXPECT_EQ(sessionWith({{"XDG_CURRENT_DESKTOP", "sway"}}).family, DesktopFamily::wlroots);
    EXPECT_EQ(sessionWith({{"XDG_CURRENT_DESKTOP", "XFCE"}}).family, DesktopFamily::other);
    EXPECT_EQ(sessionWith({{"XDG_CURRENT_DESKTOP", ":"}}).family, DesktopFamily::other);
    EXPECT_EQ(sessionWith({{"SWAYSOCK", "/run/user/1000/sway-ipc.sock"}}).family,
              DesktopFamily::wlroots);
    EXPECT_EQ(sessionWith({{"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}}).desktopName, "ubuntu:GNOME");
}

} // namespace
