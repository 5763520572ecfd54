#pragma once

// Keyboard and mouse activity and the hot key outside X11: the compositor's
// idle notifications, Mutter's idle monitor, kglobalaccel, or no hot key at
// all (the desktop's own shortcut settings then run `quelmo --recenter`).

#include "app/sensor_ports.h"
#include "platform/desktop_bus/mutter_idle_monitor.h"

#ifdef QUELMO_HAVE_WAYLAND_INPUT
#include "platform/wayland_input/wayland_idle_monitor.h"
#endif

#include <memory>

namespace quelmo {

#ifdef QUELMO_HAVE_WAYLAND_INPUT
class WaylandInputActivity final : public InputActivityPort {
  public:
    explicit WaylandInputActivity(std::unique_ptr<WaylandIdleMonitor> monitor)
        : monitor_(std::move(monitor)) {}
    double secondsSinceLastEvent() override { return monitor_->secondsSinceLastEvent(); }

  private:
    std::unique_ptr<WaylandIdleMonitor> monitor_;
};
#endif

class MutterInputActivity final : public InputActivityPort {
  public:
    explicit MutterInputActivity(std::unique_ptr<MutterIdleMonitor> monitor)
        : monitor_(std::move(monitor)) {}
    double secondsSinceLastEvent() override { return monitor_->secondsSinceLastEvent(); }

  private:
    std::unique_ptr<MutterIdleMonitor> monitor_;
};

// A desktop that lets no program register a global key.
class NoHotKeys final : public HotKeyPort {
  public:
    std::unique_ptr<HotKeyRegistration> registerHotKey(int, int, std::function<void()>) override {
        return nullptr;
    }
};

} // namespace quelmo
