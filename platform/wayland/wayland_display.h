// SPDX-License-Identifier: MIT
#pragma once

#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct wl_compositor;
struct wl_output;
struct wl_registry;
struct wl_shm;
struct zwlr_layer_shell_v1;
struct zwlr_screencopy_manager_v1;

namespace quelmo {

class WaylandConnection;

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

// What the frost needs of Quelmo's Wayland connection: the globals it binds
// there (compositor, shared memory, layer shell, screencopy) and the outputs
// it follows. Main thread only, like the connection.
class WaylandDisplay {
  public:
    // Binds the frost's globals on `connection` and waits for the outputs'
    // descriptions; null without a connection or when the compositor does
    // not answer.
    static std::unique_ptr<WaylandDisplay> create(std::shared_ptr<WaylandConnection> connection);
    ~WaylandDisplay();
    WaylandDisplay(const WaylandDisplay&) = delete;
    WaylandDisplay& operator=(const WaylandDisplay&) = delete;

    WaylandConnection& connection() const { return *connection_; }
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

    // An output with the parts of its description still arriving (the
    // listener's data; internal).
    struct OutputEntry;

  private:
    explicit WaylandDisplay(std::shared_ptr<WaylandConnection> connection);
    void bindGlobal(wl_registry* registry, std::uint32_t name, const char* interface,
                    std::uint32_t version);
    void removeGlobal(std::uint32_t name);

    std::shared_ptr<WaylandConnection> connection_;
    int watch_ = 0;
    wl_compositor* compositor_ = nullptr;
    wl_shm* shm_ = nullptr;
    zwlr_layer_shell_v1* layerShell_ = nullptr;
    zwlr_screencopy_manager_v1* screencopy_ = nullptr;
    std::vector<std::unique_ptr<OutputEntry>> outputs_;
};

} // namespace quelmo
