// SPDX-License-Identifier: MIT
#pragma once

#include "app/sensor_ports.h"

#include <chrono>
#include <cstdint>
#include <memory>

namespace quelmo {

class WaylandConnection;

// Keyboard and mouse activity in a Wayland session, from the compositor's idle
// notifications on Quelmo's Wayland connection (never keys or positions). The
// notifications are handled on the main thread with the connection's other
// events, and read there too.
//
// Sources, best first: ext_idle_notifier_v1 (version 2's input-only
// notification where offered: it ignores idle inhibitors such as video
// players), then KDE's org_kde_kwin_idle. One notification with a short
// timeout is kept; see IdleClock for how "idle" and "resumed" become seconds
// since the last event, and why the timeout is the resolution.
class WaylandIdleMonitor final : public InputActivityPort {
  public:
    enum class Source {
        inputIdle,      // ext_idle_notifier_v1 version 2, input only
        idleNotify,     // ext_idle_notifier_v1
        kdeIdle,        // org_kde_kwin_idle
        unavailable,    // no compositor, or one that offers neither
        connectionLost, // the compositor went away: the last reading stays
    };

    // Short enough for the app's 0.7 s "working" window, long enough to be
    // honoured (sway 1.7 honoured 20 ms: its timers run in milliseconds).
    static constexpr std::chrono::milliseconds kDefaultTimeout{250};

    // How long an active stretch without "idle" is believed (see IdleClock):
    // compositors before ext-idle-notify version 2 stop the timer while an idle
    // inhibitor is active.
    static constexpr std::chrono::milliseconds kTrustActiveFor{20000};

    struct Options {
        std::chrono::milliseconds timeout = kDefaultTimeout;
        bool useIdleNotify = true; // false leaves ext_idle_notifier_v1 out
        bool useKdeIdle = true;    // false leaves org_kde_kwin_idle out
    };

    // Without a connection (null) nothing is available.
    WaylandIdleMonitor(std::shared_ptr<WaylandConnection> connection, Options options);
    ~WaylandIdleMonitor() override;

    WaylandIdleMonitor(const WaylandIdleMonitor&) = delete;
    WaylandIdleMonitor& operator=(const WaylandIdleMonitor&) = delete;

    bool isAvailable() const;
    Source source() const;
    static const char* sourceName(Source source);
    // Seconds since the last event, within one timeout; 1e9 when unavailable.
    double secondsSinceLastEvent() const override;
    // How many idle and resumed notifications arrived: lets a caller know the
    // compositor has answered input it just caused.
    std::uint64_t notificationsSeen() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace quelmo
