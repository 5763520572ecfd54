// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

namespace quelmo {

// What the desktop offers to show tray icons, as seen at one moment.
struct TrayHosts {
    // A StatusNotifierWatcher is on the session bus...
    bool statusNotifierWatcher = false;
    // ...and a host (a panel that shows the items) has registered with it.
    bool statusNotifierHost = false;
    // An XEmbed system tray owns the _NET_SYSTEM_TRAY_S<screen> selection.
    bool xembedTray = false;
};

// Looks at the session bus and the X display.
TrayHosts probeTrayHosts();

// Waits, quietly, until the desktop can show a tray icon, then calls `ready`,
// which makes the icon and says whether that worked (if not, the watch goes
// on looking). Qt decides once per process whether to use the D-Bus tray, on the
// first tray call; a D-Bus host that comes up a little after us (a session
// starting) would be missed, so we prefer to wait briefly for it and only
// then settle for an XEmbed tray. Without any host the application keeps
// running and looks again every few seconds, then every half minute.
class TrayHostWatch : public QObject {
  public:
    using Probe = std::function<TrayHosts()>;

    TrayHostWatch(Probe probe, std::function<bool()> ready, QObject* parent = nullptr);

    // Looks now, then on the retry schedule until a host is found.
    void start();
    bool isWaiting() const { return timer_.isActive(); }
    int attempts() const { return attempts_; }

    // Whether to make the tray icon now, given what is there and how long we
    // have waited.
    static bool hostReady(const TrayHosts& hosts, std::chrono::milliseconds waited);
    // The pause before the look that follows `attempt` looks.
    static std::chrono::milliseconds retryDelay(int attempt);

    // How long an XEmbed tray is passed over while a D-Bus watcher runs
    // without a host yet.
    static constexpr std::chrono::milliseconds kWaitForStatusNotifierHost{10000};
    static constexpr std::chrono::milliseconds kQuickRetry{2000};
    static constexpr int kQuickRetries = 30;
    static constexpr std::chrono::milliseconds kSlowRetry{30000};

  private:
    void look();

    Probe probe_;
    std::function<bool()> ready_;
    QTimer timer_;
    std::chrono::milliseconds waited_{0};
    int attempts_ = 0;
};

} // namespace quelmo
