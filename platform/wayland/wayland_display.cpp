// SPDX-License-Identifier: MIT
#include "platform/wayland/wayland_display.h"

#include "platform/wayland_connection/wayland_connection.h"
#include "wlr-layer-shell-unstable-v1-client.h"
#include "wlr-screencopy-unstable-v1-client.h"

#include <wayland-client.h>

#include <algorithm>
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

void releaseOutput(wl_output* output) {
    if (wl_output_get_version(output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
        wl_output_release(output);
    } else {
        wl_output_destroy(output);
    }
}

} // namespace

std::unique_ptr<WaylandDisplay>
WaylandDisplay::create(std::shared_ptr<WaylandConnection> connection) {
    if (!connection) {
        return nullptr;
    }
    std::unique_ptr<WaylandDisplay> self(new WaylandDisplay(std::move(connection)));
    // The outputs bound from the registry describe themselves in one round trip.
    if (!self->connection_->roundtrip()) {
        return nullptr;
    }
    return self;
}

WaylandDisplay::WaylandDisplay(std::shared_ptr<WaylandConnection> connection)
    : connection_(std::move(connection)) {
    const auto broken = [this] {
        if (onBroken) {
            onBroken();
        }
    };
    watch_ = connection_->watch({.added = [this](auto... global) { bindGlobal(global...); },
                                 .removed = [this](std::uint32_t name) { removeGlobal(name); },
                                 .broken = broken});
}

WaylandDisplay::~WaylandDisplay() {
    connection_->unwatch(watch_);
    for (auto& entry : outputs_) {
        releaseOutput(entry->output.output);
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
    connection_->flush();
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

void WaylandDisplay::bindGlobal(wl_registry* registry, std::uint32_t name, const char* interface,
                                std::uint32_t version) {
    const auto bind = [&](const wl_interface* kind, std::uint32_t newest) {
        return wl_registry_bind(registry, name, kind, std::min(version, newest));
    };
    if (std::strcmp(interface, wl_compositor_interface.name) == 0) {
        compositor_ = static_cast<wl_compositor*>(bind(&wl_compositor_interface, 4));
    } else if (std::strcmp(interface, wl_shm_interface.name) == 0) {
        shm_ = static_cast<wl_shm*>(bind(&wl_shm_interface, 1));
    } else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0) {
        layerShell_ = static_cast<zwlr_layer_shell_v1*>(bind(&zwlr_layer_shell_v1_interface, 4));
    } else if (std::strcmp(interface, zwlr_screencopy_manager_v1_interface.name) == 0) {
        // Version 2 is enough: the frost copies into shared memory only.
        screencopy_ = static_cast<zwlr_screencopy_manager_v1*>(
            bind(&zwlr_screencopy_manager_v1_interface, 2));
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        auto entry = std::make_unique<OutputEntry>();
        entry->owner = this;
        entry->output.globalName = name;
        entry->output.output = static_cast<wl_output*>(bind(&wl_output_interface, 4));
        wl_output_add_listener(entry->output.output, &kOutputListener, entry.get());
        outputs_.push_back(std::move(entry));
    }
}

void WaylandDisplay::removeGlobal(std::uint32_t name) {
    const auto found = std::find_if(outputs_.begin(), outputs_.end(),
                                    [name](const auto& e) { return e->output.globalName == name; });
    if (found == outputs_.end()) {
        return;
    }
    std::unique_ptr<OutputEntry> entry = std::move(*found);
    outputs_.erase(found);
    if (entry->output.described && onOutputRemoved) {
        onOutputRemoved(entry->output);
    }
    releaseOutput(entry->output.output);
}

} // namespace quelmo
