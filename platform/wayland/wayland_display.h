// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QSize>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QSocketNotifier;

struct wl_compositor;
struct wl_display;
struct wl_output;
struct wl_registry;
struct wl_shm;
struct zwlr_layer_shell_v1;
struct zwlr_screencopy_manager_v1;

namespace quelmo {

// One output (monitor) as the compositor describes it.
struct WaylandOutput {
    std::uint32_t globalName = 0;
    wl_output* output = nullptr;
    QString name;
    // The current mode in device pixels, and the scale the compositor draws it at.
    QSize modeSize;
    int scale = 1;
    // Whether the compositor has finished describing it at least once.
    bool described = false;
};

// Quelmo's own connection to the Wayland compositor, beside Qt's: it binds
// the globals the frost needs and follows the outputs. Its events are read
// from Qt's event loop, and requests are flushed before the loop sleeps.
// Main thread only.
class WaylandDisplay : public QObject {
  public:
    // Connects to $WAYLAND_DISPLAY; null when no compositor answers.
    static std::unique_ptr<WaylandDisplay> connect();
    ~WaylandDisplay() override;

    wl_display* display() const { return display_; }
    wl_compositor* compositor() const { return compositor_; }
    wl_shm* shm() const { return shm_; }
    zwlr_layer_shell_v1* layerShell() const { return layerShell_; }
    zwlr_screencopy_manager_v1* screencopy() const { return screencopy_; }

    // The outputs described so far, in the order the compositor announced them.
    std::vector<WaylandOutput*> outputs() const;

    // An output was described for the first time, or its mode or scale changed.
    std::function<void(WaylandOutput&)> onOutputChanged;
    // An output is about to go; the pointer is invalid afterwards.
    std::function<void(WaylandOutput&)> onOutputRemoved;
    // The connection broke (the compositor went away or found a fault).
    std::function<void()> onBroken;

    // Reads and handles events until `done` answers true, the connection
    // breaks, or `timeout` passes; true when `done` was reached.
    bool dispatchUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    // Waits for the compositor to have handled every request sent so far.
    bool roundtrip(std::chrono::milliseconds timeout = std::chrono::milliseconds(1000));
    // Sends the requests made so far; handles no events, so it is safe to
    // call while walking the outputs.
    void flush();
    // Sends the requests made so far and handles the events already
    // received, without waiting for more: lets the compositor's answers be
    // acted on between two pieces of long work.
    void dispatchAvailable();
    bool isBroken() const { return broken_; }

    // An output with the parts of its description still arriving (the
    // listener's data; internal).
    struct OutputEntry;

  private:
    explicit WaylandDisplay(wl_display* display);
    void readEvents();
    void markBroken();

    static void onGlobal(void* data, wl_registry* registry, std::uint32_t name,
                         const char* interface, std::uint32_t version);
    static void onGlobalRemove(void* data, wl_registry* registry, std::uint32_t name);

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    wl_shm* shm_ = nullptr;
    zwlr_layer_shell_v1* layerShell_ = nullptr;
    zwlr_screencopy_manager_v1* screencopy_ = nullptr;
    std::vector<std::unique_ptr<OutputEntry>> outputs_;
    QSocketNotifier* notifier_ = nullptr;
    bool broken_ = false;
};

} // namespace quelmo
