// SPDX-License-Identifier: MIT
#include "ui/wayland_frost/output_capture.h"

#include "platform/wayland/shm_buffer.h"
#include "platform/wayland/wayland_display.h"
#include "ui/overlay/box_blur.h"
#include "ui/overlay/frost_backdrop.h"
#include "wlr-screencopy-unstable-v1-client.h"

#include <wayland-client.h>

#include <memory>

namespace quelmo {

namespace {

struct Copy {
    WaylandDisplay* display = nullptr;
    zwlr_screencopy_frame_v1* frame = nullptr;
    std::unique_ptr<ShmBuffer> buffer;
    bool flipped = false;
    bool finished = false;
    bool succeeded = false;
};

void onBuffer(void* data, zwlr_screencopy_frame_v1* frame, std::uint32_t format,
              std::uint32_t width, std::uint32_t height, std::uint32_t stride) {
    auto* copy = static_cast<Copy*>(data);
    if (copy->buffer) {
        return; // one shared-memory offer is enough
    }
    copy->buffer = ShmBuffer::create(copy->display->shm(),
                                     QSize(static_cast<int>(width), static_cast<int>(height)),
                                     format, static_cast<int>(stride));
    if (!copy->buffer) {
        copy->finished = true;
        return;
    }
    zwlr_screencopy_frame_v1_copy(frame, copy->buffer->buffer());
}

void onFlags(void* data, zwlr_screencopy_frame_v1*, std::uint32_t flags) {
    static_cast<Copy*>(data)->flipped = (flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT) != 0;
}

void onReady(void* data, zwlr_screencopy_frame_v1*, std::uint32_t, std::uint32_t, std::uint32_t) {
    auto* copy = static_cast<Copy*>(data);
    copy->finished = true;
    copy->succeeded = true;
}

void onFailed(void* data, zwlr_screencopy_frame_v1*) {
    static_cast<Copy*>(data)->finished = true;
}

void onDamage(void*, zwlr_screencopy_frame_v1*, std::uint32_t, std::uint32_t, std::uint32_t,
              std::uint32_t) {}
void onDmabuf(void*, zwlr_screencopy_frame_v1*, std::uint32_t, std::uint32_t, std::uint32_t) {}
void onBufferDone(void*, zwlr_screencopy_frame_v1*) {}

const zwlr_screencopy_frame_v1_listener kListener = {
    onBuffer, onFlags, onReady, onFailed, onDamage, onDmabuf, onBufferDone,
};

} // namespace

std::vector<QImage> captureOutputs(WaylandDisplay& display,
                                   const std::vector<WaylandOutput*>& outputs,
                                   std::chrono::milliseconds timeout) {
    std::vector<QImage> pictures(outputs.size());
    if (display.screencopy() == nullptr || display.shm() == nullptr) {
        return pictures;
    }
    std::vector<std::unique_ptr<Copy>> copies;
    for (WaylandOutput* output : outputs) {
        auto copy = std::make_unique<Copy>();
        copy->display = &display;
        // The pointer is left out of the picture (overlay_cursor 0).
        copy->frame =
            zwlr_screencopy_manager_v1_capture_output(display.screencopy(), 0, output->output);
        zwlr_screencopy_frame_v1_add_listener(copy->frame, &kListener, copy.get());
        copies.push_back(std::move(copy));
    }
    display.dispatchUntil(
        [&copies] {
            for (const auto& copy : copies) {
                if (!copy->finished) {
                    return false;
                }
            }
            return true;
        },
        timeout);
    for (std::size_t i = 0; i < copies.size(); ++i) {
        Copy& copy = *copies[i];
        if (copy.succeeded && copy.buffer) {
            // A deep copy: the shared memory goes with the buffer.
            pictures[i] = copy.flipped ? copy.buffer->image().mirrored(false, true)
                                       : copy.buffer->image().copy();
        }
        zwlr_screencopy_frame_v1_destroy(copy.frame);
    }
    return pictures;
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
