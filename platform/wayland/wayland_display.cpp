// SPDX-License-Identifier: MIT
#include "platform/wayland/wayland_display.h"

#include "wlr-layer-shell-unstable-v1-client.h"
#include "wlr-screencopy-unstable-v1-client.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <wayland-client.h>

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace quelmo {

struct WaylandDisplay::OutputEntry {
    WaylandDisplay* owner = nullptr;
    WaylandOutput output;
    // Mode and scale arrive one event at a time; they count once "done" comes.
    QSize pendingMode;
    int pendingScale = 1;
};

namespace {

void outputGeometry(void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                    std::int32_t, const char*, const char*, std::int32_t) {}

void outputMode(void* data, wl_output*, std::uint32_t flags, std::int32_t width,
                std::int32_t height, std::int32_t) {
    if ((flags & WL_OUTPUT_MODE_CURRENT) != 0) {
        static_cast<WaylandDisplay::OutputEntry*>(data)->pendingMode = QSize(width, height);
    }
}

void outputScale(void* data, wl_output*, std::int32_t factor) {
    static_cast<WaylandDisplay::OutputEntry*>(data)->pendingScale = std::max(1, factor);
}

void outputName(void* data, wl_output*, const char* name) {
    static_cast<WaylandDisplay::OutputEntry*>(data)->output.name = QString::fromUtf8(name);
}

void outputDescription(void*, wl_output*, const char*) {}

void outputDone(void* data, wl_output*) {
    auto* entry = static_cast<WaylandDisplay::OutputEntry*>(data);
    const bool changed = !entry->output.described || entry->output.modeSize != entry->pendingMode ||
                         entry->output.scale != entry->pendingScale;
    entry->output.modeSize = entry->pendingMode;
    entry->output.scale = entry->pendingScale;
    entry->output.described = true;
    if (changed && entry->owner->onOutputChanged) {
        entry->owner->onOutputChanged(entry->output);
    }
}

const wl_output_listener kOutputListener = {
    outputGeometry, outputMode, outputDone, outputScale, outputName, outputDescription,
};

} // namespace

std::unique_ptr<WaylandDisplay> WaylandDisplay::connect() {
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        return nullptr;
    }
    std::unique_ptr<WaylandDisplay> self(new WaylandDisplay(display));
    // The first round trip announces the globals; the second brings the
    // outputs' descriptions.
    if (!self->roundtrip() || !self->roundtrip()) {
        return nullptr;
    }
    return self;
}

WaylandDisplay::WaylandDisplay(wl_display* display) : display_(display) {
    static const wl_registry_listener listener = {onGlobal, onGlobalRemove};
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &listener, this);

    notifier_ = new QSocketNotifier(wl_display_get_fd(display_), QSocketNotifier::Read, this);
    QObject::connect(notifier_, &QSocketNotifier::activated, this, [this] { readEvents(); });
    // Requests made during a turn of the loop leave together, before it sleeps.
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (!broken_ && wl_display_dispatch_pending(display_) < 0) {
                markBroken();
            }
            flush();
        });
    }
}

WaylandDisplay::~WaylandDisplay() {
    delete notifier_;
    notifier_ = nullptr;
    for (auto& entry : outputs_) {
        if (wl_output_get_version(entry->output.output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
            wl_output_release(entry->output.output);
        } else {
            wl_output_destroy(entry->output.output);
        }
    }
    outputs_.clear();
    if (screencopy_ != nullptr) {
        zwlr_screencopy_manager_v1_destroy(screencopy_);
    }
    if (layerShell_ != nullptr) {
        if (zwlr_layer_shell_v1_get_version(layerShell_) >=
            ZWLR_LAYER_SHELL_V1_DESTROY_SINCE_VERSION) {
            zwlr_layer_shell_v1_destroy(layerShell_);
        } else {
            wl_proxy_destroy(reinterpret_cast<wl_proxy*>(layerShell_));
        }
    }
    if (shm_ != nullptr) {
        wl_shm_destroy(shm_);
    }
    if (compositor_ != nullptr) {
        wl_compositor_destroy(compositor_);
    }
    wl_registry_destroy(registry_);
    wl_display_flush(display_);
    wl_display_disconnect(display_);
}

std::vector<WaylandOutput*> WaylandDisplay::outputs() const {
    std::vector<WaylandOutput*> list;
    for (const auto& entry : outputs_) {
        if (entry->output.described) {
            list.push_back(&entry->output);
        }
    }
    return list;
}

void WaylandDisplay::onGlobal(void* data, wl_registry* registry, std::uint32_t name,
                              const char* interface, std::uint32_t version) {
    auto* self = static_cast<WaylandDisplay*>(data);
    const auto bind = [&](const wl_interface* kind, std::uint32_t newest) {
        return wl_registry_bind(registry, name, kind, std::min(version, newest));
    };
    if (std::strcmp(interface, wl_compositor_interface.name) == 0) {
        self->compositor_ = static_cast<wl_compositor*>(bind(&wl_compositor_interface, 4));
    } else if (std::strcmp(interface, wl_shm_interface.name) == 0) {
        self->shm_ = static_cast<wl_shm*>(bind(&wl_shm_interface, 1));
    } else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0) {
        self->layerShell_ =
            static_cast<zwlr_layer_shell_v1*>(bind(&zwlr_layer_shell_v1_interface, 4));
    } else if (std::strcmp(interface, zwlr_screencopy_manager_v1_interface.name) == 0) {
        // Version 2 is enough: the frost copies into shared memory only.
        self->screencopy_ = static_cast<zwlr_screencopy_manager_v1*>(
            bind(&zwlr_screencopy_manager_v1_interface, 2));
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        auto entry = std::make_unique<OutputEntry>();
        entry->owner = self;
        entry->output.globalName = name;
        entry->output.output = static_cast<wl_output*>(bind(&wl_output_interface, 4));
        wl_output_add_listener(entry->output.output, &kOutputListener, entry.get());
        self->outputs_.push_back(std::move(entry));
    }
}

void WaylandDisplay::onGlobalRemove(void* data, wl_registry*, std::uint32_t name) {
    auto* self = static_cast<WaylandDisplay*>(data);
    const auto found = std::find_if(self->outputs_.begin(), self->outputs_.end(),
                                    [name](const auto& e) { return e->output.globalName == name; });
    if (found == self->outputs_.end()) {
        return;
    }
    std::unique_ptr<OutputEntry> entry = std::move(*found);
    self->outputs_.erase(found);
    if (entry->output.described && self->onOutputRemoved) {
        self->onOutputRemoved(entry->output);
    }
    if (wl_output_get_version(entry->output.output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
        wl_output_release(entry->output.output);
    } else {
        wl_output_destroy(entry->output.output);
    }
}

void WaylandDisplay::readEvents() {
    if (broken_) {
        return;
    }
    while (wl_display_prepare_read(display_) != 0) {
        wl_display_dispatch_pending(display_);
    }
    // The socket is readable, so this does not block.
    if (wl_display_read_events(display_) < 0 || wl_display_dispatch_pending(display_) < 0) {
        markBroken();
        return;
    }
    // Answers made while handling (binding a new output, acknowledging a
    // configure) leave now rather than when the loop next sleeps.
    flush();
}

void WaylandDisplay::flush() {
    if (broken_) {
        return;
    }
    if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
        markBroken();
    }
}

void WaylandDisplay::dispatchAvailable() {
    flush();
    pollfd descriptor{wl_display_get_fd(display_), POLLIN, 0};
    if (!broken_ && poll(&descriptor, 1, 0) > 0) {
        readEvents();
    } else if (!broken_ && wl_display_dispatch_pending(display_) < 0) {
        markBroken();
    }
}

bool WaylandDisplay::dispatchUntil(const std::function<bool()>& done,
                                   std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + timeout;
    while (!broken_) {
        if (wl_display_dispatch_pending(display_) < 0) {
            markBroken();
            break;
        }
        if (done()) {
            return true;
        }
        if (wl_display_prepare_read(display_) != 0) {
            continue;
        }
        wl_display_flush(display_);
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            wl_display_cancel_read(display_);
            return false;
        }
        pollfd descriptor{wl_display_get_fd(display_), POLLIN, 0};
        if (poll(&descriptor, 1, static_cast<int>(left.count())) > 0) {
            if (wl_display_read_events(display_) < 0) {
                markBroken();
            }
        } else {
            wl_display_cancel_read(display_);
        }
    }
    return false;
}

bool WaylandDisplay::roundtrip(std::chrono::milliseconds timeout) {
    static const wl_callback_listener listener = {
        [](void* data, wl_callback*, std::uint32_t) { *static_cast<bool*>(data) = true; }};
    bool answered = false;
    wl_callback* callback = wl_display_sync(display_);
    wl_callback_add_listener(callback, &listener, &answered);
    const bool ok = dispatchUntil([&answered] { return answered; }, timeout);
    wl_callback_destroy(callback);
    return ok;
}

void WaylandDisplay::markBroken() {
    if (broken_) {
        return;
    }
    broken_ = true;
    if (notifier_ != nullptr) {
        notifier_->setEnabled(false);
    }
    if (onBroken) {
        onBroken();
    }
}

} // namespace quelmo
