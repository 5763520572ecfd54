// SPDX-License-Identifier: MIT
#include "program/input_backends.h"

#include "platform/desktop_bus/kglobalaccel_hot_keys.h"
#include "platform/desktop_bus/mutter_idle_monitor.h"
#include "platform/wayland_input/wayland_idle_monitor.h"
#include "platform/x11/x11_ports.h"

#include <cstdio>

namespace quelmo {

namespace {

// A desktop that lets no program register a global key.
class NoHotKeys final : public HotKeyPort {
  public:
    std::unique_ptr<HotKeyRegistration> registerHotKey(QKeyCombination,
                                                       std::function<void()>) override {
        return nullptr;
    }
};

void chooseWaylandInput(InputBackends& chosen, const std::shared_ptr<WaylandConnection>& connection,
                        const QDBusConnection& bus) {
    auto wayland = std::make_unique<WaylandIdleMonitor>(connection, WaylandIdleMonitor::Options{});
    if (wayland->isAvailable()) {
        chosen.inputName = WaylandIdleMonitor::sourceName(wayland->source());
        chosen.input = std::move(wayland);
        return;
    }
    auto mutter = std::make_unique<MutterIdleMonitor>(bus);
    if (mutter->isAvailable()) {
        chosen.inputName = "org.gnome.Mutter.IdleMonitor";
        chosen.input = std::move(mutter);
        return;
    }
    // XWayland sees only what reaches X11 windows: better than nothing.
    chosen.inputName = "xwayland";
    chosen.input = std::make_unique<X11InputActivity>();
    std::fputs("quelmo: this desktop tells no keyboard or mouse activity to other programs; "
               "an \"away\" frost clears with the hot key, the menu or `quelmo --recenter`\n",
               stderr);
}

} // namespace

InputBackends chooseInputBackends(const DesktopSession& session,
                                  const std::shared_ptr<WaylandConnection>& wayland,
                                  const QDBusConnection& bus) {
    InputBackends chosen;
    if (!session.isWayland()) {
        chosen.input = std::make_unique<X11InputActivity>();
        chosen.hotKeys = std::make_unique<X11HotKeys>();
        chosen.inputName = "x11";
        chosen.hotKeyName = "x11";
        return chosen;
    }
    chooseWaylandInput(chosen, wayland, bus);
    // kglobalaccel only sees keys inside KWin: elsewhere it may well be
    // installed, and even start, but never hear a key.
    if (session.family == DesktopFamily::kde && KGlobalAccelHotKeys::isOffered(bus)) {
        chosen.hotKeys = std::make_unique<KGlobalAccelHotKeys>(bus);
        chosen.hotKeyName = "kglobalaccel";
    } else {
        chosen.hotKeys = std::make_unique<NoHotKeys>();
        chosen.hotKeyName = "none";
        std::fputs("quelmo: no global hot key on this desktop; bind a key of your choice to "
                   "`quelmo --recenter` in its keyboard settings\n",
                   stderr);
    }
    return chosen;
}

} // namespace quelmo
