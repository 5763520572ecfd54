// SPDX-License-Identifier: MIT
#include "platform/wayland_input/wayland_idle_monitor.h"

#include "platform/idle_clock/idle_clock.h"
#include "platform/wayland_connection/wayland_connection.h"

#include "ext-idle-notify-client.h"
#include "kde-idle-client.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstring>

namespace quelmo {

namespace {
constexpr double kIdleSecondsWithoutSource = 1e9;
} // namespace

struct WaylandIdleMonitor::Impl {
    Impl(std::shared_ptr<WaylandConnection> c, const Options& o)
        : options(o), clock(o.timeout, IdleClock::Clock::now(), kTrustActiveFor),
          connection(std::move(c)) {
        if (!connection) {
            return;
        }
        // Globals that go are not followed: the seat and the notifier are
        // kept for the monitor's life.
        watchId = connection->watch({.added = [this](auto... global) { onGlobal(global...); },
                                     .removed = {},
                                     .broken = [this] { lost(); }});
        if (seat == nullptr) {
            return;
        }
        const auto timeout = static_cast<std::uint32_t>(std::max<long long>(1, o.timeout.count()));
        if (notifier != nullptr) {
            if (notifierVersion >= 2) {
                notification =
                    ext_idle_notifier_v1_get_input_idle_notification(notifier, timeout, seat);
                source = Source::inputIdle;
            } else {
                notification = ext_idle_notifier_v1_get_idle_notification(notifier, timeout, seat);
                source = Source::idleNotify;
            }
            ext_idle_notification_v1_add_listener(notification, &kNotificationListener, this);
        } else if (kdeIdle != nullptr) {
            kdeTimeout = org_kde_kwin_idle_get_idle_timeout(kdeIdle, seat, timeout);
            org_kde_kwin_idle_timeout_add_listener(kdeTimeout, &kKdeListener, this);
            source = Source::kdeIdle;
        } else {
            return;
        }
        clock.resumed(IdleClock::Clock::now());
        if (!connection->roundtrip()) {
            source = Source::unavailable;
            return;
        }
        listening = true;
    }

    ~Impl() {
        if (!connection) {
            return;
        }
        connection->unwatch(watchId);
        if (notification != nullptr) {
            ext_idle_notification_v1_destroy(notification);
        }
        if (kdeTimeout != nullptr) {
            org_kde_kwin_idle_timeout_release(kdeTimeout);
        }
        if (notifier != nullptr) {
            ext_idle_notifier_v1_destroy(notifier);
        }
        if (kdeIdle != nullptr) {
            // org_kde_kwin_idle has no destructor request.
            wl_proxy_destroy(reinterpret_cast<wl_proxy*>(kdeIdle));
        }
        if (seat != nullptr) {
            wl_seat_destroy(seat);
        }
        connection->flush();
    }

    // Nothing more will be heard: from now on the user counts as idle.
    void lost() {
        if (!listening) {
            return;
        }
        if (!clock.isIdle()) {
            clock.idled(IdleClock::Clock::now());
        }
        source = Source::connectionLost;
    }

    void onGlobal(wl_registry* registry, std::uint32_t name, const char* interface,
                  std::uint32_t version) {
        // Only the first seat: idle time is per seat, and desktops have one.
        if (std::strcmp(interface, wl_seat_interface.name) == 0 && seat == nullptr) {
            seat = static_cast<wl_seat*>(
                wl_registry_bind(registry, name, &wl_seat_interface, std::min(version, 1u)));
        } else if (options.useIdleNotify &&
                   std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0 &&
                   notifier == nullptr) {
            notifierVersion = std::min(version, 2u);
            notifier = static_cast<ext_idle_notifier_v1*>(
                wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, notifierVersion));
        } else if (options.useKdeIdle &&
                   std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0 &&
                   kdeIdle == nullptr) {
            kdeIdle = static_cast<org_kde_kwin_idle*>(
                wl_registry_bind(registry, name, &org_kde_kwin_idle_interface, 1));
        }
    }

    void idled() {
        clock.idled(IdleClock::Clock::now());
        ++notifications;
    }
    void resumed() {
        clock.resumed(IdleClock::Clock::now());
        ++notifications;
    }

    static void onIdled(void* data, ext_idle_notification_v1*) {
        static_cast<Impl*>(data)->idled();
    }
    static void onResumed(void* data, ext_idle_notification_v1*) {
        static_cast<Impl*>(data)->resumed();
    }
    static void onKdeIdle(void* data, org_kde_kwin_idle_timeout*) {
        static_cast<Impl*>(data)->idled();
    }
    static void onKdeResumed(void* data, org_kde_kwin_idle_timeout*) {
        static_cast<Impl*>(data)->resumed();
    }
    static constexpr ext_idle_notification_v1_listener kNotificationListener = {onIdled, onResumed};
    static constexpr org_kde_kwin_idle_timeout_listener kKdeListener = {onKdeIdle, onKdeResumed};

    Options options;
    IdleClock clock;
    wl_seat* seat = nullptr;
    ext_idle_notifier_v1* notifier = nullptr;
    std::uint32_t notifierVersion = 0;
    org_kde_kwin_idle* kdeIdle = nullptr;
    ext_idle_notification_v1* notification = nullptr;
    org_kde_kwin_idle_timeout* kdeTimeout = nullptr;
    Source source = Source::unavailable;
    std::uint64_t notifications = 0;
    std::shared_ptr<WaylandConnection> connection;
    int watchId = 0;
    // Set once the compositor has answered: only then does a broken
    // connection count as lost rather than as never available.
    bool listening = false;
};

WaylandIdleMonitor::WaylandIdleMonitor(std::shared_ptr<WaylandConnection> connection,
                                       Options options)
    : impl_(std::make_unique<Impl>(std::move(connection), options)) {}

WaylandIdleMonitor::~WaylandIdleMonitor() = default;

WaylandIdleMonitor::Source WaylandIdleMonitor::source() const {
    return impl_->source;
}

bool WaylandIdleMonitor::isAvailable() const {
    return source() != Source::unavailable;
}

const char* WaylandIdleMonitor::sourceName(Source source) {
    switch (source) {
    case Source::inputIdle:
        return "ext-idle-notify (input only)";
    case Source::idleNotify:
        return "ext-idle-notify";
    case Source::kdeIdle:
        return "org_kde_kwin_idle";
    case Source::unavailable:
        return "none";
    case Source::connectionLost:
        return "lost";
    }
    return "none";
}

double WaylandIdleMonitor::secondsSinceLastEvent() const {
    if (source() == Source::unavailable) {
        return kIdleSecondsWithoutSource;
    }
    return impl_->clock.secondsSinceLastEvent(IdleClock::Clock::now());
}

std::uint64_t WaylandIdleMonitor::notificationsSeen() const {
    return impl_->notifications;
}

} // namespace quelmo
