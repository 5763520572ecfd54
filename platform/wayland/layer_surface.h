// SPDX-License-Identifier: MIT
#pragma once

#include "platform/wayland/shm_buffer.h"

#include <QImage>
#include <QSize>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct wl_surface;
struct zwlr_layer_surface_v1;

namespace quelmo {

class WaylandDisplay;
struct WaylandOutput;

// One surface on the overlay layer of one output: anchored to all four
// edges with no size of its own, so it covers the whole output, panels
// included (it ignores their exclusive zones); it never takes the keyboard
// and has an empty input region, so clicks and keys reach what lies under
// it. Frames are painted into shared-memory buffers at the output's scale.
class LayerSurface {
  public:
    // Makes the surface and waits (at most `timeout`) for the compositor to
    // give it its size; isConfigured() tells whether it did.
    LayerSurface(WaylandDisplay& display, WaylandOutput& output,
                 std::chrono::milliseconds timeout = std::chrono::milliseconds(500));
    ~LayerSurface();
    LayerSurface(const LayerSurface&) = delete;
    LayerSurface& operator=(const LayerSurface&) = delete;

    WaylandOutput& output() const { return output_; }
    bool isConfigured() const { return configured_; }
    // The compositor took the surface away (its output went, for instance).
    bool isClosed() const { return closed_; }
    // The size in logical pixels, as the compositor configured it.
    QSize logicalSize() const { return size_; }
    // The size of a frame in device pixels at the output's current scale.
    QSize pixelSize() const;
    int scale() const;

    // Paints the next frame into a free buffer (its device pixel ratio set
    // to the scale, so painting is in logical pixels) and shows it. Does
    // nothing before the first configure. False when no frame was shown
    // (not configured yet, or every buffer still with the compositor).
    bool present(const std::function<void(QImage&)>& paint);
    // How many frames were shown.
    int framesPresented() const { return framesPresented_; }

    // The compositor changed the surface's size after it was first shown.
    std::function<void()> onResized;

  private:
    static void onConfigure(void* data, zwlr_layer_surface_v1* surface, std::uint32_t serial,
                            std::uint32_t width, std::uint32_t height);
    static void onClosed(void* data, zwlr_layer_surface_v1* surface);
    ShmBuffer* freeBuffer(QSize pixels);

    WaylandDisplay& display_;
    WaylandOutput& output_;
    wl_surface* surface_ = nullptr;
    zwlr_layer_surface_v1* layer_ = nullptr;
    std::vector<std::unique_ptr<ShmBuffer>> buffers_;
    QSize size_;
    bool configured_ = false;
    bool closed_ = false;
    int framesPresented_ = 0;
};

} // namespace quelmo
