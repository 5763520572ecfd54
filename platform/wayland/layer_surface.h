// SPDX-License-Identifier: MIT
#pragma once

#include "platform/wayland/shm_buffer.h"

#include <QElapsedTimer>
#include <QImage>
#include <QSize>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct wl_callback;
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
//
// The surface is meant to be kept: made once per output, shown by
// attaching a frame, hidden again by unmap(), after which it asks the
// compositor for a new size at once, so showing it the next time is one
// attach and one commit.
class LayerSurface {
  public:
    // Makes the surface and asks for its size; the compositor's answer
    // arrives with the display's events (isConfigured(), onConfigured).
    LayerSurface(WaylandDisplay& display, WaylandOutput& output);
    ~LayerSurface();
    LayerSurface(const LayerSurface&) = delete;
    LayerSurface& operator=(const LayerSurface&) = delete;

    WaylandOutput& output() const { return output_; }
    bool isConfigured() const { return configured_; }
    // Asked for a size `wait` ago or more and still without an answer.
    bool isUnanswered(std::chrono::milliseconds wait) const;
    // The compositor took the surface away (its output went, for instance).
    bool isClosed() const { return closed_; }
    // A frame is attached: the compositor shows the surface.
    bool isMapped() const { return mapped_; }
    // The size in logical pixels, as the compositor configured it.
    QSize logicalSize() const { return size_; }
    // The size of a frame in device pixels at the output's current scale.
    QSize pixelSize() const;
    int scale() const;

    // Paints the next frame into a free buffer (its device pixel ratio set
    // to the scale, so painting is in logical pixels) without showing it
    // yet; a frame prepared earlier and not shown is painted over. An
    // `opaque` frame goes in a buffer without alpha (Qt's RGB32), which
    // compositors copy instead of blending. False when there is nothing to
    // paint on (not configured, or every buffer still with the compositor).
    bool prepare(const std::function<void(QImage&)>& paint, bool opaque = false);
    bool hasPrepared() const { return prepared_ != nullptr; }
    // Shows the prepared frame: one attach and one commit. False when none
    // is prepared or its size no longer fits.
    bool commitPrepared();
    // How many frames were committed, and how many of them the compositor
    // has drawn since (it answers each commit's frame callback once the
    // frame is on the output).
    int framesCommitted() const { return framesCommitted_; }
    int framesDrawn() const { return framesDrawn_; }

    // Takes the frame away (a null buffer) and gives the buffers back, then
    // asks for a new size so the surface can be shown again without waiting.
    void unmap();

    // The compositor gave the surface a size, after it was made or unmapped.
    std::function<void()> onConfigured;
    // The compositor changed the surface's size while it was shown.
    std::function<void()> onResized;
    // The compositor drew a committed frame.
    std::function<void()> onFrameDrawn;

  private:
    static void onConfigure(void* data, zwlr_layer_surface_v1* surface, std::uint32_t serial,
                            std::uint32_t width, std::uint32_t height);
    static void onClosed(void* data, zwlr_layer_surface_v1* surface);
    static void onDrawn(void* data, wl_callback* callback, std::uint32_t time);
    void dropFrameCallbacks();
    void requestConfigure();
    ShmBuffer* freeBuffer(QSize pixels, QImage::Format format);

    WaylandDisplay& display_;
    WaylandOutput& output_;
    wl_surface* surface_ = nullptr;
    zwlr_layer_surface_v1* layer_ = nullptr;
    std::vector<std::unique_ptr<ShmBuffer>> buffers_;
    ShmBuffer* prepared_ = nullptr;
    // Frame callbacks asked for and not answered yet.
    std::vector<wl_callback*> frameCallbacks_;
    int framesCommitted_ = 0;
    int framesDrawn_ = 0;
    QSize size_;
    QElapsedTimer sinceAsked_;
    bool configured_ = false;
    bool closed_ = false;
    bool mapped_ = false;
};

} // namespace quelmo
