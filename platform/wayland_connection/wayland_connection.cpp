// SPDX-License-Identifier: MIT
#include "platform/wayland_connection/wayland_connection.h"

#include <QAbstractEventDispatcher>
#include <QSocketNotifier>

#include <wayland-client.h>

#include <poll.h>

#include <algorithm>
#include <cerrno>

namespace quelmo {

std::shared_ptr<WaylandConnection> WaylandConnection::connect(const std::string& name) {
    wl_display* display = wl_display_connect(name.empty() ? nullptr : name.c_str());
    if (display == nullptr) {
        return nullptr;
    }
    std::shared_ptr<WaylandConnection> self(new WaylandConnection(display));
    // The first round trip announces the globals.
    if (!self->roundtrip()) {
        return nullptr;
    }
    return self;
}

WaylandConnection::WaylandConnection(wl_display* display) : display_(display) {
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

WaylandConnection::~WaylandConnection() {
    delete notifier_;
    notifier_ = nullptr;
    wl_registry_destroy(registry_);
    wl_display_flush(display_);
    wl_display_disconnect(display_);
}

int WaylandConnection::watch(Watch watch) {
    const int id = nextWatch_++;
    watches_.emplace(id, std::move(watch));
    const std::vector<Global> known = globals_;
    for (const Global& global : known) {
        const auto found = watches_.find(id);
        if (found == watches_.end()) {
            break;
        }
        if (found->second.added) {
            found->second.added(registry_, global.name, global.interface.c_str(), global.version);
        }
    }
    return id;
}

void WaylandConnection::unwatch(int id) {
    watches_.erase(id);
}

void WaylandConnection::forEachWatch(const std::function<void(const Watch&)>& call) {
    std::vector<int> ids;
    for (const auto& [id, watch] : watches_) {
        ids.push_back(id);
    }
    for (int id : ids) {
        const auto found = watches_.find(id);
        if (found != watches_.end()) {
            call(found->second);
        }
    }
}

void WaylandConnection::onGlobal(void* data, wl_registry* registry, std::uint32_t name,
                                 const char* interface, std::uint32_t version) {
    auto* self = static_cast<WaylandConnection*>(data);
    self->globals_.push_back({name, interface, version});
    self->forEachWatch([&](const Watch& watch) {
        if (watch.added) {
            watch.added(registry, name, interface, version);
        }
    });
}

void WaylandConnection::onGlobalRemove(void* data, wl_registry*, std::uint32_t name) {
    auto* self = static_cast<WaylandConnection*>(data);
    auto& globals = self->globals_;
    globals.erase(std::remove_if(globals.begin(), globals.end(),
                                 [name](const Global& g) { return g.name == name; }),
                  globals.end());
    self->forEachWatch([name](const Watch& watch) {
        if (watch.removed) {
            watch.removed(name);
        }
    });
}

void WaylandConnection::readEvents() {
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

void WaylandConnection::flush() {
    if (broken_) {
        return;
    }
    if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
        markBroken();
    }
}

void WaylandConnection::dispatchAvailable() {
    flush();
    pollfd descriptor{wl_display_get_fd(display_), POLLIN, 0};
    if (!broken_ && poll(&descriptor, 1, 0) > 0) {
        readEvents();
    } else if (!broken_ && wl_display_dispatch_pending(display_) < 0) {
        markBroken();
    }
}

bool WaylandConnection::dispatchUntil(const std::function<bool()>& done,
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

bool WaylandConnection::roundtrip(std::chrono::milliseconds timeout) {
    static const wl_callback_listener listener = {
        [](void* data, wl_callback*, std::uint32_t) { *static_cast<bool*>(data) = true; }};
    bool answered = false;
    wl_callback* callback = wl_display_sync(display_);
    wl_callback_add_listener(callback, &listener, &answered);
    const bool ok = dispatchUntil([&answered] { return answered; }, timeout);
    wl_callback_destroy(callback);
    return ok;
}

void WaylandConnection::markBroken() {
    if (broken_) {
        return;
    }
    broken_ = true;
    if (notifier_ != nullptr) {
        notifier_->setEnabled(false);
    }
    forEachWatch([](const Watch& watch) {
        if (watch.broken) {
            watch.broken();
        }
    });
}

} // namespace quelmo
