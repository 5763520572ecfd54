// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

struct wl_display;
struct wl_registry;

namespace quelmo {

// A Wayland connection of Quelmo's own whose events are read on a thread of
// its own, so that what it keeps can be read at any moment without the Qt
// event loop (Qt's own connection is not reachable from outside its plugin).
//
// The owner binds globals from `onGlobal`, makes its objects, then start()s the
// thread; every listener of those objects then runs on that thread. Before
// destroying its objects the owner calls stop().
class WaylandListener {
  public:
    using GlobalHandler = std::function<void(wl_registry* registry, std::uint32_t name,
                                             const char* interface, std::uint32_t version)>;
    using RemovedHandler = std::function<void(std::uint32_t name)>;

    // Connects to `displayName` ("" means $WAYLAND_DISPLAY) and reads the
    // globals, calling `onGlobal` for each (now, and on the thread for globals
    // that come later, such as a new output).
    WaylandListener(const std::string& displayName, GlobalHandler onGlobal,
                    RemovedHandler onRemoved = nullptr);
    ~WaylandListener();

    WaylandListener(const WaylandListener&) = delete;
    WaylandListener& operator=(const WaylandListener&) = delete;

    bool isConnected() const { return display_ != nullptr; }
    wl_display* display() const { return display_; }
    // Sends what is queued and waits for the compositor to answer it all.
    bool roundtrip();

    // Reads events on the thread until stop(); `onLost` runs there once if the
    // compositor goes away.
    void start(std::function<void()> onLost);
    void stop();

  private:
    void run();

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    GlobalHandler onGlobal_;
    RemovedHandler onRemoved_;
    std::function<void()> onLost_;
    int wakeFd_ = -1;
    std::thread thread_;
    std::atomic<bool> stopping_{false};

    friend struct WaylandListenerCallbacks;
};

} // namespace quelmo
