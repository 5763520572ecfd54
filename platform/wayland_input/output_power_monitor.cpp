// SPDX-License-Identifier: MIT
#include "platform/wayland_input/output_power_monitor.h"

#include "platform/wayland_connection/wayland_connection.h"

#include "wlr-output-power-client.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace quelmo {

struct OutputPowerMonitor::Impl {
    struct Output {
        std::uint32_t name = 0;
        wl_output* output = nullptr;
        zwlr_output_power_v1* power = nullptr;
        std::optional<bool> on;
    };

    explicit Impl(std::shared_ptr<WaylandConnection> c) : connection(std::move(c)) {
        if (!connection) {
            return;
        }
        watchId = connection->watch({.added = [this](auto... global) { onGlobal(global...); },
                                     .removed = [this](std::uint32_t name) { onRemoved(name); },
                                     .broken = [this] { lost = available; }});
        if (manager == nullptr) {
            return;
        }
        for (auto& [name, output] : outputs) {
            watch(*output);
        }
        if (!connection->roundtrip()) {
            return;
        }
        available = true;
    }

    ~Impl() {
        if (!connection) {
            return;
        }
        connection->unwatch(watchId);
        for (auto& [name, output] : outputs) {
            release(*output);
        }
        if (manager != nullptr) {
            zwlr_output_power_manager_v1_destroy(manager);
        }
        connection->flush();
    }

    void onGlobal(wl_registry* registry, std::uint32_t name, const char* interface,
                  std::uint32_t version) {
        if (std::strcmp(interface, zwlr_output_power_manager_v1_interface.name) == 0 &&
            manager == nullptr) {
            manager = static_cast<zwlr_output_power_manager_v1*>(
                wl_registry_bind(registry, name, &zwlr_output_power_manager_v1_interface, 1));
        } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
            auto output = std::make_unique<Output>();
            output->name = name;
            output->output = static_cast<wl_output*>(
                wl_registry_bind(registry, name, &wl_output_interface, std::min(version, 1u)));
            // An output that arrives once we run is watched at once.
            if (manager != nullptr && available) {
                watch(*output);
            }
            outputs.emplace(name, std::move(output));
        }
    }

    void onRemoved(std::uint32_t name) {
        auto it = outputs.find(name);
        if (it == outputs.end()) {
            return;
        }
        release(*it->second);
        outputs.erase(it);
    }

    void watch(Output& output) {
        output.power = zwlr_output_power_manager_v1_get_output_power(manager, output.output);
        zwlr_output_power_v1_add_listener(output.power, &kPowerListener, &output);
    }

    static void release(Output& output) {
        if (output.power != nullptr) {
            zwlr_output_power_v1_destroy(output.power);
        }
        if (output.output != nullptr) {
            wl_output_destroy(output.output);
        }
    }

    static void onMode(void* data, zwlr_output_power_v1*, std::uint32_t mode) {
        static_cast<Output*>(data)->on = mode != ZWLR_OUTPUT_POWER_V1_MODE_OFF;
    }
    // Another client manages this output's power: it no longer tells us.
    static void onFailed(void* data, zwlr_output_power_v1*) {
        static_cast<Output*>(data)->on.reset();
    }
    static constexpr zwlr_output_power_v1_listener kPowerListener = {onMode, onFailed};

    std::optional<bool> allOff() const {
        if (lost) {
            return std::nullopt;
        }
        bool anyKnown = false;
        for (const auto& [name, output] : outputs) {
            if (output->on) {
                if (*output->on) {
                    return false;
                }
                anyKnown = true;
            }
        }
        return anyKnown ? std::optional<bool>(true) : std::nullopt;
    }

    zwlr_output_power_manager_v1* manager = nullptr;
    std::map<std::uint32_t, std::unique_ptr<Output>> outputs;
    bool available = false;
    // The connection broke after the compositor had answered.
    bool lost = false;
    std::shared_ptr<WaylandConnection> connection;
    int watchId = 0;
};

OutputPowerMonitor::OutputPowerMonitor(std::shared_ptr<WaylandConnection> connection)
    : impl_(std::make_unique<Impl>(std::move(connection))) {}

OutputPowerMonitor::~OutputPowerMonitor() = default;

bool OutputPowerMonitor::isAvailable() const {
    return impl_->available;
}

std::optional<bool> OutputPowerMonitor::allOff() const {
    return impl_->allOff();
}

} // namespace quelmo
