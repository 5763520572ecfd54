// SPDX-License-Identifier: MIT
#include "ui/wayland_frost/output_capture.h"

#include "platform/wayland/shm_buffer.h"
#include "platform/wayland/wayland_display.h"
#include "platform/wayland_connection/wayland_connection.h"
#include "ui/overlay/box_blur.h"
#include "ui/overlay/frost_backdrop.h"
#include "wlr-screencopy-unstable-v1-client.h"

#include <wayland-client.h>

namespace quelmo {

struct OutputCapture::Listener {
    static void buffer(void* data, zwlr_screencopy_frame_v1* frame, std::uint32_t format,
                       std::uint32_t width, std::uint32_t height, std::uint32_t stride) {
        auto* self = static_cast<OutputCapture*>(data);
        if (self->buffer_ || self->state_ != State::waiting) {
            return; // one shared-memory offer is enough
        }
        self->buffer_ = ShmBuffer::create(self->display_.shm(),
                                          QSize(static_cast<int>(width), static_cast<int>(height)),
                                          format, static_cast<int>(stride));
        if (!self->buffer_) {
            self->finish(State::failed);
            return;
        }
        // Sent with the other outputs' copies once this read of the socket
        // is handled, so the compositor makes all their frames in one go.
        zwlr_screencopy_frame_v1_copy(frame, self->buffer_->buffer());
    }
    static void flags(void* data, zwlr_screencopy_frame_v1*, std::uint32_t flags) {
        static_cast<OutputCapture*>(data)->flipped_ =
            (flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT) != 0;
    }
    static void ready(void* data, zwlr_screencopy_frame_v1*, std::uint32_t, std::uint32_t,
                      std::uint32_t) {
        static_cast<OutputCapture*>(data)->finish(State::ready);
    }
    static void failed(void* data, zwlr_screencopy_frame_v1*) {
        static_cast<OutputCapture*>(data)->finish(State::failed);
    }
    static void damage(void*, zwlr_screencopy_frame_v1*, std::uint32_t, std::uint32_t,
                       std::uint32_t, std::uint32_t) {}
    static void dmabuf(void*, zwlr_screencopy_frame_v1*, std::uint32_t, std::uint32_t,
                       std::uint32_t) {}
    static void bufferDone(void*, zwlr_screencopy_frame_v1*) {}
    static void checked(void* data, wl_callback* callback, std::uint32_t) {
        auto* self = static_cast<OutputCapture*>(data);
        wl_callback_destroy(callback);
        self->check_ = nullptr;
        // The compositor may have handled the frost's commit before making
        // the picture.
        self->finish(State::refused);
    }
};

OutputCapture::OutputCapture(WaylandDisplay& display, WaylandOutput& output) : display_(display) {
    static const zwlr_screencopy_frame_v1_listener listener = {
        Listener::buffer, Listener::flags,  Listener::ready,      Listener::failed,
        Listener::damage, Listener::dmabuf, Listener::bufferDone,
    };
    if (display.screencopy() == nullptr || display.shm() == nullptr) {
        state_ = State::failed;
        return;
    }
    // The pointer is left out of the picture (overlay_cursor 0).
    frame_ = zwlr_screencopy_manager_v1_capture_output(display.screencopy(), 0, output.output);
    zwlr_screencopy_frame_v1_add_listener(frame_, &listener, this);
}

OutputCapture::~OutputCapture() {
    if (check_ != nullptr) {
        wl_callback_destroy(check_);
    }
    if (frame_ != nullptr) {
        zwlr_screencopy_frame_v1_destroy(frame_);
    }
    display_.connection().flush();
}

void OutputCapture::finish(State state) {
    if (state_ != State::waiting) {
        return;
    }
    state_ = state;
    if (frame_ != nullptr) {
        zwlr_screencopy_frame_v1_destroy(frame_);
        frame_ = nullptr;
    }
    if (check_ != nullptr) {
        wl_callback_destroy(check_);
        check_ = nullptr;
    }
    if (state != State::ready) {
        buffer_.reset();
    }
    if (onFinished) {
        onFinished();
    }
}

void OutputCapture::frostAboutToCommit() {
    if (state_ != State::waiting || check_ != nullptr) {
        return;
    }
    static const wl_callback_listener listener = {Listener::checked};
    check_ = wl_display_sync(display_.connection().display());
    wl_callback_add_listener(check_, &listener, this);
}

QImage OutputCapture::picture() const {
    if (state_ != State::ready || !buffer_) {
        return {};
    }
    return flipped_ ? buffer_->image().mirrored(false, true) : buffer_->image();
}

QImage frostPictureOf(const QImage& captured) {
    if (captured.isNull()) {
        return {};
    }
    const QSize sampled = (captured.size() / kCaptureReduction).expandedTo(QSize(2, 2));
    QImage picture = captured.scaled(sampled, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                         .scaled((sampled / 2).expandedTo(QSize(1, 1)), Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_RGB32);
    boxBlur(picture, kBackdropBlurRadius);
    return picture;
}

} // namespace quelmo
