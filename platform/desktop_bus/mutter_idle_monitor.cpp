// SPDX-License-Identifier: MIT
#include "platform/desktop_bus/mutter_idle_monitor.h"

#include <QDBusMessage>
#include <QDBusReply>

namespace quelmo {

namespace {
const QString kService = QStringLiteral("org.gnome.Mutter.IdleMonitor");
const QString kPath = QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core");
const QString kInterface = QStringLiteral("org.gnome.Mutter.IdleMonitor");
constexpr int kCallTimeoutMs = 2000;
constexpr double kIdleSecondsWithoutSource = 1e9;
} // namespace

MutterIdleMonitor::MutterIdleMonitor(QDBusConnection bus, std::chrono::milliseconds interval,
                                     QObject* parent)
    : QObject(parent), bus_(std::move(bus)), clock_(interval, IdleClock::Clock::now()) {
    if (!bus_.isConnected()) {
        return;
    }
    const QDBusMessage read =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("GetIdletime"));
    const QDBusReply<qulonglong> idle = bus_.call(read, QDBus::Block, kCallTimeoutMs);
    if (!idle.isValid()) {
        return;
    }
    // Signals first, so that no watch can fire unheard.
    if (!bus_.connect(kService, kPath, kInterface, QStringLiteral("WatchFired"), this,
                      SLOT(onWatchFired(uint)))) {
        return;
    }
    const auto now = IdleClock::Clock::now();
    clock_.seed(now - std::chrono::milliseconds(idle.value()), now);
    idleWatch_ = addWatch(QStringLiteral("AddIdleWatch"),
                          {QVariant::fromValue(static_cast<qulonglong>(interval.count()))});
    if (!idleWatch_) {
        return;
    }
    if (clock_.isIdle()) {
        activeWatch_ = addWatch(QStringLiteral("AddUserActiveWatch"), {});
    }
    available_ = true;
}

MutterIdleMonitor::~MutterIdleMonitor() {
    removeWatch(idleWatch_);
    removeWatch(activeWatch_);
}

std::optional<uint> MutterIdleMonitor::addWatch(const QString& method,
                                                const QList<QVariant>& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    call.setArguments(arguments);
    const QDBusReply<uint> id = bus_.call(call, QDBus::Block, kCallTimeoutMs);
    if (!id.isValid()) {
        return std::nullopt;
    }
    return id.value();
}

void MutterIdleMonitor::removeWatch(std::optional<uint>& id) {
    if (!id || !bus_.isConnected()) {
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("RemoveWatch"));
    call << *id;
    bus_.asyncCall(call);
    id.reset();
}

double MutterIdleMonitor::secondsSinceLastEvent() const {
    if (!available_) {
        return kIdleSecondsWithoutSource;
    }
    return clock_.secondsSinceLastEvent(IdleClock::Clock::now());
}

void MutterIdleMonitor::onWatchFired(uint id) {
    const auto now = IdleClock::Clock::now();
    if (idleWatch_ && id == *idleWatch_) {
        ++fired_;
        clock_.idled(now);
        // A user-active watch fires once: one is added for each idle stretch.
        if (!activeWatch_) {
            activeWatch_ = addWatch(QStringLiteral("AddUserActiveWatch"), {});
        }
    } else if (activeWatch_ && id == *activeWatch_) {
        ++fired_;
        activeWatch_.reset();
        clock_.resumed(now);
    }
}

} // namespace quelmo
