// SPDX-License-Identifier: MIT
#include "platform/wayland/layer_surface.h"

#include "platform/wayland/wayland_display.h"
#include "wlr-layer-shell-unstable-v1-client.h"

#include <wayland-client.h>

#include <algorithm>

namespace quelmo {

namespace {
// The name compositors show for the surface's purpose (in sway's tree, for one).
constexpr const char* kNamespace = "quelmo-frost";
constexpr std::uint32_t kAllEdges =
    ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
    ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;
// A frame in flight and one being painted are enough; a third covers a
// compositor slow to release.
constexpr std::size_t kMostBuffers = 3;
} // namespace

LayerSurface::LayerSurface(WaylandDisplay& display, WaylandOutput& output,
                           std::chrono::milliseconds timeout)
    : display_(display), output_(output) {
    surface_ = wl_compositor_create_surface(display.compositor());
    layer_ = zwlr_layer_shell_v1_get_layer_surface(display.layerShell(), surface_, output.output,
                                                   ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, kNamespace);
    static const zwlr_layer_surface_v1_listener listener = {onConfigure, onClosed};
    zwlr_layer_surface_v1_add_listener(layer_, &listener, this);
    zwlr_layer_surface_v1_set_size(layer_, 0, 0);
    zwlr_layer_surface_v1_set_anchor(layer_, kAllEdges);
    // -1: cover panels too instead of keeping clear of them.
    zwlr_layer_surface_v1_set_exclusive_zone(layer_, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        layer_, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    // An empty region: no pointer or touch input lands on the frost.
    wl_region* nothing = wl_compositor_create_region(display.compositor());
    wl_surface_set_input_region(surface_, nothing);
    wl_region_destroy(nothing);
    wl_surface_commit(surface_);
    display_.dispatchUntil([this] { return configured_ || closed_; }, timeout);
}

LayerSurface::~LayerSurface() {
    zwlr_layer_surface_v1_destroy(layer_);
    wl_surface_destroy(surface_);
    buffers_.clear();
    display_.flush();
}

int LayerSurface::scale() const {
    return std::max(1, output_.scale);
}

QSize LayerSurface::pixelSize() const {
    return size_ * scale();
}

void LayerSurface::onConfigure(void* data, zwlr_layer_surface_v1* layer, std::uint32_t serial,
                               std::uint32_t width, std::uint32_t height) {
    auto* self = static_cast<LayerSurface*>(data);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    QSize size(static_cast<int>(width), static_cast<int>(height));
    if (size.isEmpty()) {
        // The compositor left the size to us: the output's, in logical pixels.
        size = self->output_.modeSize / self->scale();
    }
    const bool resized = self->configured_ && size != self->size_;
    self->size_ = size;
    self->configured_ = true;
    if (resized && self->onResized) {
        self->onResized();
    }
}

void LayerSurface::onClosed(void* data, zwlr_layer_surface_v1*) {
    static_cast<LayerSurface*>(data)->closed_ = true;
}

ShmBuffer* LayerSurface::freeBuffer(QSize pixels) {
    // Buffers of another size are of no more use once the compositor is done with them.
    buffers_.erase(
        std::remove_if(buffers_.begin(), buffers_.end(),
                       [pixels](const auto& b) { return !b->busy() && b->size() != pixels; }),
        buffers_.end());
    for (const auto& buffer : buffers_) {
        if (!buffer->busy()) {
            return buffer.get();
        }
    }
    if (buffers_.size() >= kMostBuffers) {
        return nullptr;
    }
    auto buffer = ShmBuffer::create(display_.shm(), pixels, WL_SHM_FORMAT_ARGB8888);
    if (!buffer) {
        return nullptr;
    }
    buffers_.push_back(std::move(buffer));
    return buffers_.back().get();
}

bool LayerSurface::present(const std::function<void(QImage&)>& paint) {
    if (!configured_ || closed_ || size_.isEmpty()) {
        return false;
    }
    ShmBuffer* buffer = freeBuffer(pixelSize());
    if (buffer == nullptr) {
        // Every buffer is still with the compositor: this frame is skipped;
        // the caller tries again.
        return false;
    }
    buffer->image().setDevicePixelRatio(scale());
    paint(buffer->image());
    wl_surface_set_buffer_scale(surface_, scale());
    wl_surface_attach(surface_, buffer->buffer(), 0, 0);
    wl_surface_damage(surface_, 0, 0, size_.width(), size_.height());
    wl_surface_commit(surface_);
    buffer->markBusy();
    ++framesPresented_;
    display_.flush();
    return true;
}

} // namespace quelmo
