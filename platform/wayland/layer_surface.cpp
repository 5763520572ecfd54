// SPDX-License-Identifier: MIT
#include "platform/wayland/layer_surface.h"

#include "platform/wayland/wayland_display.h"
#include "platform/wayland_connection/wayland_connection.h"
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

LayerSurface::LayerSurface(WaylandDisplay& display, WaylandOutput& output)
    : display_(display), output_(output) {
    surface_ = wl_compositor_create_surface(display.compositor());
    layer_ = zwlr_layer_shell_v1_get_layer_surface(display.layerShell(), surface_, output.output,
                                                   ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, kNamespace);
    static const zwlr_layer_surface_v1_listener listener = {onConfigure, onClosed};
    zwlr_layer_surface_v1_add_listener(layer_, &listener, this);
    // An empty region: no pointer or touch input lands on the frost.
    wl_region* nothing = wl_compositor_create_region(display.compositor());
    wl_surface_set_input_region(surface_, nothing);
    wl_region_destroy(nothing);
    requestConfigure();
}

LayerSurface::~LayerSurface() {
    dropFrameCallbacks();
    zwlr_layer_surface_v1_destroy(layer_);
    wl_surface_destroy(surface_);
    buffers_.clear();
    display_.connection().flush();
}

void LayerSurface::requestConfigure() {
    // The whole state goes with every first commit: a surface that was
    // unmapped starts over as if new, and a compositor may only look at
    // what changed to decide that it owes the surface a size.
    zwlr_layer_surface_v1_set_size(layer_, 0, 0);
    zwlr_layer_surface_v1_set_anchor(layer_, kAllEdges);
    // -1: cover panels too instead of keeping clear of them.
    zwlr_layer_surface_v1_set_exclusive_zone(layer_, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        layer_, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    wl_surface_commit(surface_);
    display_.connection().flush();
    sinceAsked_.start();
}

bool LayerSurface::isUnanswered(std::chrono::milliseconds wait) const {
    return !configured_ && !closed_ && sinceAsked_.isValid() &&
           sinceAsked_.elapsed() >= wait.count();
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
    const bool first = !self->configured_;
    const bool resized = !first && size != self->size_;
    self->size_ = size;
    self->configured_ = true;
    if (first && self->onConfigured) {
        self->onConfigured();
    } else if (resized && self->mapped_ && self->onResized) {
        self->onResized();
    }
}

void LayerSurface::onClosed(void* data, zwlr_layer_surface_v1*) {
    auto* self = static_cast<LayerSurface*>(data);
    self->closed_ = true;
    self->mapped_ = false;
}

void LayerSurface::onDrawn(void* data, wl_callback* callback, std::uint32_t) {
    auto* self = static_cast<LayerSurface*>(data);
    auto& pending = self->frameCallbacks_;
    pending.erase(std::remove(pending.begin(), pending.end(), callback), pending.end());
    wl_callback_destroy(callback);
    ++self->framesDrawn_;
    if (self->onFrameDrawn) {
        self->onFrameDrawn();
    }
}

void LayerSurface::dropFrameCallbacks() {
    for (wl_callback* callback : frameCallbacks_) {
        wl_callback_destroy(callback);
    }
    frameCallbacks_.clear();
}

ShmBuffer* LayerSurface::freeBuffer(QSize pixels, QImage::Format format) {
    // Buffers of another size or kind are of no more use once the compositor is done with them.
    const auto fits = [pixels, format](const ShmBuffer& b) {
        return b.size() == pixels && b.image().format() == format;
    };
    buffers_.erase(std::remove_if(buffers_.begin(), buffers_.end(),
                                  [this, &fits](const auto& b) {
                                      return !b->busy() && !fits(*b) && b.get() != prepared_;
                                  }),
                   buffers_.end());
    if (prepared_ != nullptr && fits(*prepared_)) {
        return prepared_;
    }
    if (prepared_ != nullptr) {
        // Painted over with a frame of another kind: the old one is dropped.
        const ShmBuffer* stale = prepared_;
        prepared_ = nullptr;
        buffers_.erase(std::remove_if(buffers_.begin(), buffers_.end(),
                                      [stale](const auto& b) { return b.get() == stale; }),
                       buffers_.end());
    }
    for (const auto& buffer : buffers_) {
        if (!buffer->busy()) {
            return buffer.get();
        }
    }
    if (buffers_.size() >= kMostBuffers) {
        return nullptr;
    }
    auto buffer = ShmBuffer::create(display_.shm(), pixels,
                                    format == QImage::Format_RGB32 ? WL_SHM_FORMAT_XRGB8888
                                                                   : WL_SHM_FORMAT_ARGB8888);
    if (!buffer) {
        return nullptr;
    }
    buffers_.push_back(std::move(buffer));
    return buffers_.back().get();
}

bool LayerSurface::prepare(const std::function<void(QImage&)>& paint, bool opaque) {
    if (!configured_ || closed_ || size_.isEmpty()) {
        return false;
    }
    ShmBuffer* buffer = freeBuffer(pixelSize(), opaque ? QImage::Format_RGB32
                                                       : QImage::Format_ARGB32_Premultiplied);
    if (buffer == nullptr) {
        // Every buffer is still with the compositor: this frame is skipped;
        // the caller tries again.
        return false;
    }
    buffer->image().setDevicePixelRatio(scale());
    paint(buffer->image());
    prepared_ = buffer;
    return true;
}

bool LayerSurface::commitPrepared() {
    ShmBuffer* buffer = prepared_;
    prepared_ = nullptr;
    if (buffer == nullptr || !configured_ || closed_ || buffer->size() != pixelSize()) {
        return false;
    }
    wl_surface_set_buffer_scale(surface_, scale());
    wl_surface_attach(surface_, buffer->buffer(), 0, 0);
    wl_surface_damage(surface_, 0, 0, size_.width(), size_.height());
    static const wl_callback_listener drawn = {onDrawn};
    wl_callback* callback = wl_surface_frame(surface_);
    wl_callback_add_listener(callback, &drawn, this);
    frameCallbacks_.push_back(callback);
    wl_surface_commit(surface_);
    ++framesCommitted_;
    buffer->markBusy();
    mapped_ = true;
    display_.connection().flush();
    return true;
}

void LayerSurface::unmap() {
    prepared_ = nullptr;
    // An unmapped surface's frames are never drawn.
    dropFrameCallbacks();
    framesDrawn_ = framesCommitted_;
    const bool wasShown = mapped_ && !closed_;
    mapped_ = false;
    if (wasShown) {
        wl_surface_attach(surface_, nullptr, 0, 0);
        wl_surface_commit(surface_);
    }
    // The compositor releases the buffers it still holds on its own; ours
    // go now, so nothing of the frost stays in memory between frosts.
    buffers_.clear();
    if (!wasShown) {
        display_.connection().flush();
        return;
    }
    // An unmapped layer surface starts over: a first commit without a
    // buffer, then the compositor's configure.
    configured_ = false;
    requestConfigure();
}

} // namespace quelmo
