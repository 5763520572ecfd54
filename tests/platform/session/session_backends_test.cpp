// SPDX-License-Identifier: MIT
#include "platform/session/session_backends.h"

#include <gtest/gtest.h>

namespace {

using quelmo::DesktopFamily;
using quelmo::DesktopSession;
using quelmo::DisplayServer;
using quelmo::FrostBackend;

DesktopSession session(DisplayServer server, DesktopFamily family, std::string name = {}) {
    DesktopSession s;
    s.server = server;
    s.family = family;
    s.desktopName = std::move(name);
    return s;
}

TEST(SessionBackends, FrostPrefersLayerShellThenXWaylandAndOwnsUpWhenNeitherExists) {
    const auto x11 = session(DisplayServer::x11, DesktopFamily::other);
    const auto sway = session(DisplayServer::wayland, DesktopFamily::wlroots);
    const auto gnome = session(DisplayServer::wayland, DesktopFamily::gnome);
    // X11 sessions keep the X11 windows whatever else is around.
    EXPECT_EQ(quelmo::chooseFrostBackend(x11, true, true), FrostBackend::x11Windows);
    // On wlroots XWayland windows block clicks: layer shell wins even when Qt runs on X11.
    EXPECT_EQ(quelmo::chooseFrostBackend(sway, true, true), FrostBackend::layerShell);
    EXPECT_EQ(quelmo::chooseFrostBackend(gnome, false, true), FrostBackend::xwaylandWindows);
    EXPECT_EQ(quelmo::chooseFrostBackend(gnome, false, false), FrostBackend::none);

    EXPECT_EQ(quelmo::frostBackendName(FrostBackend::layerShell, true), "layer-shell + screencopy");
    EXPECT_EQ(quelmo::frostBackendName(FrostBackend::layerShell, false), "layer-shell");
    EXPECT_EQ(quelmo::frostBackendName(FrostBackend::none, false), "none");
}

TEST(SessionBackends, LogLineNamesTheSessionAndEachBackendInOrder) {
    EXPECT_EQ(
        quelmo::sessionLogLine(session(DisplayServer::wayland, DesktopFamily::wlroots, "sway"),
                               {{"frost", "layer-shell"}, {"input", "idle-notify"}}),
        "display session: wayland (sway); frost: layer-shell; input: idle-notify");
    EXPECT_EQ(quelmo::sessionLogLine(session(DisplayServer::x11, DesktopFamily::other),
                                     {{"frost", "x11"}}),
              "display session: x11 (unknown); frost: x11");
}

TEST(SessionBackends, OnlyGnomeOnWaylandIsSentToXWayland) {
    const auto gnome = session(DisplayServer::wayland, DesktopFamily::gnome);
    EXPECT_STREQ(quelmo::requiredQtPlatform(gnome, false, true), "xcb");
    // The user's own choice, or no X server to go to, leaves Qt alone.
    EXPECT_EQ(quelmo::requiredQtPlatform(gnome, true, true), nullptr);
    EXPECT_EQ(quelmo::requiredQtPlatform(gnome, false, false), nullptr);
    EXPECT_EQ(quelmo::requiredQtPlatform(session(DisplayServer::wayland, DesktopFamily::kde), false,
                                         true),
              nullptr);
    EXPECT_EQ(
        quelmo::requiredQtPlatform(session(DisplayServer::x11, DesktopFamily::gnome), false, true),
        nullptr);
}

} // namespace
