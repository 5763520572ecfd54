// SPDX-License-Identifier: MIT
#include "platform/wayland_input/wayland_listener.h"

#include <wayland-client.h>

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace quelmo {

struct WaylandListenerCallbacks {
    static void global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                       std::uint32_t version) {
        auto* self = static_cast<WaylandListener*>(data);
        if (self->onGlobal_) {
            self->onGlobal_(registry, name, interface, version);
        }
    }
    static void globalRemove(void* data, wl_registry*, std::uint32_t name) {
        auto* self = static_cast<WaylandListener*>(data);
        if (self->onRemoved_) {
            self->onRemoved_(name);
        }
    }
};

namespace {
const wl_registry_listener kRegistryListener = {WaylandListenerCallbacks::global,
                                                WaylandListenerCallbacks::globalRemove};
} // namespace

WaylandListener::WaylandListener(const std::string& displayName, GlobalHandler onGlobal,
                                 RemovedHandler onRemoved)
    : onGlobal_(std::move(onGlobal)), onRemoved_(std::move(onRemoved)) {
    display_ = wl_display_connect(displayName.empty() ? nullptr : displayName.c_str());
    if (display_ == nullptr) {
        return;
    }
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &kRegistryListener, this);
    if (wl_display_roundtrip(display_) < 0) {
        wl_registry_destroy(registry_);
        registry_ = nullptr;
        wl_display_disconnect(display_);
        display_ = nullptr;
    }
}

WaylandListener::~WaylandListener() {
    stop();
    if (registry_ != nullptr) {
        wl_registry_destroy(registry_);
    }
    if (display_ != nullptr) {
        wl_display_disconnect(display_);
    }
    if (wakeFd_ >= 0) {
        ::close(wakeFd_);
    }
}

bool WaylandListener::roundtrip() {
    return display_ != nullptr && !thread_.joinable() && wl_display_roundtrip(display_) >= 0;
}

void WaylandListener::start(std::function<void()> onLost) {
    if (display_ == nullptr || thread_.joinable()) {
        return;
    }
    onLost_ = std::move(onLost);
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0) {
        return;
    }
    thread_ = std::thread([this] { run(); });
}

void WaylandListener::stop() {
    if (!thread_.joinable()) {
        return;
    }
    stopping_ = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(wakeFd_, &one, sizeof one);
    thread_.join();
}

void WaylandListener::run() {
    const int fd = wl_display_get_fd(display_);
    while (!stopping_) {
        while (wl_display_prepare_read(display_) != 0) {
            if (wl_display_dispatch_pending(display_) < 0) {
                break;
            }
        }
        // A full socket is not an error: the rest goes out on the next turn.
        if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(display_);
            break;
        }
        pollfd fds[2] = {{fd, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            wl_display_cancel_read(display_);
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (stopping_) {
            wl_display_cancel_read(display_);
            return;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            if (wl_display_read_events(display_) < 0 || wl_display_dispatch_pending(display_) < 0) {
                break;
            }
        } else {
            wl_display_cancel_read(display_);
            if ((fds[0].revents & (POLLHUP | POLLERR)) != 0) {
                break;
            }
        }
    }
    if (!stopping_ && onLost_) {
        onLost_();
    }
}

} // namespace quelmo
