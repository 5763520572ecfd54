// SPDX-License-Identifier: MIT
#include "platform/tray/tray_host_watch.h"

#include "platform/x11/selection_owner.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QGuiApplication>

namespace quelmo {
namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
constexpr int kProbeTimeoutMs = 300;

} // namespace

TrayHosts probeTrayHosts() {
    TrayHosts hosts;
    hosts.xembedTray = screenSelectionOwned("_NET_SYSTEM_TRAY_S");
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusConnectionInterface* busInterface = bus.isConnected() ? bus.interface() : nullptr;
    if (busInterface != nullptr && busInterface->isServiceRegistered(kWatcherService)) {
        hosts.statusNotifierWatcher = true;
        QDBusInterface watcher(kWatcherService, QStringLiteral("/StatusNotifierWatcher"),
                               kWatcherService, bus);
        // Asked every few seconds on the main thread: a watcher that does not
        // answer must not freeze the application.
        watcher.setTimeout(kProbeTimeoutMs);
        hosts.statusNotifierHost =
            watcher.isValid() && watcher.property("IsStatusNotifierHostRegistered").toBool();
    }
    return hosts;
}

TrayHostWatch::TrayHostWatch(Probe probe, std::function<bool()> ready, QObject* parent)
    : QObject(parent), probe_(std::move(probe)), ready_(std::move(ready)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { look(); });
}

void TrayHostWatch::start() {
    timer_.stop();
    look();
}

bool TrayHostWatch::hostReady(const TrayHosts& hosts, std::chrono::milliseconds waited) {
    if (hosts.statusNotifierHost) {
        return true;
    }
    return hosts.xembedTray &&
           (!hosts.statusNotifierWatcher || waited >= kWaitForStatusNotifierHost);
}

std::chrono::milliseconds TrayHostWatch::retryDelay(int attempt) {
    return attempt < kQuickRetries ? kQuickRetry : kSlowRetry;
}

void TrayHostWatch::look() {
    ++attempts_;
    if (hostReady(probe_(), waited_) && ready_()) {
        return;
    }
    const auto delay = retryDelay(attempts_);
    waited_ += delay;
    timer_.start(delay);
}

} // namespace quelmo
