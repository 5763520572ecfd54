// SPDX-License-Identifier: MIT
#include "platform/system/system_events_monitor.h"

#include "platform/system/display_power_watcher.h"
#include "platform/system/logind_names.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>

#include <unistd.h>

namespace quelmo {

SystemEventsMonitor::SystemEventsMonitor(QDBusConnection sessionBus, QDBusConnection systemBus,
                                         std::unique_ptr<DisplayPowerWatcher> displayPower,
                                         QObject* parent)
    : QObject(parent), sessionBus_(std::move(sessionBus)), systemBus_(std::move(systemBus)),
      displayPower_(std::move(displayPower)) {}

SystemEventsMonitor::~SystemEventsMonitor() = default;

void SystemEventsMonitor::observe(SystemEventHandlers handlers) {
    handlers_ = std::move(handlers);
    if (observing_) {
        return;
    }
    observing_ = true;

    if (sessionBus_.isConnected()) {
        // Any path: the screen savers publish on different ones.
        for (const char* iface : {"org.gnome.ScreenSaver", "org.freedesktop.ScreenSaver"}) {
            screenSaver_ |= sessionBus_.connect(QString(), QString(), QString::fromLatin1(iface),
                                                QStringLiteral("ActiveChanged"), this,
                                                SLOT(onScreenSaverActive(bool)));
        }
    }
    if (systemBus_.isConnected()) {
        sleep_ = systemBus_.connect(logind::kService, logind::kPath, logind::kManager,
                                    QStringLiteral("PrepareForSleep"), this,
                                    SLOT(onPrepareForSleep(bool)));
        const QString path = findSessionPath();
        if (!path.isEmpty() &&
            systemBus_.connect(
                logind::kService, path, logind::kProperties, QStringLiteral("PropertiesChanged"),
                this, SLOT(onSessionPropertiesChanged(QString, QVariantMap, QStringList)))) {
            sessionPath_ = path;
        }
    }
    if (displayPower_) {
        displayPower_->start([this](bool asleep) {
            const auto& handler = asleep ? handlers_.screensDidSleep : handlers_.screensDidWake;
            if (handler) {
                handler();
            }
        });
    }
}

// Our logind session, found by process id; empty when logind is not there.
QString SystemEventsMonitor::findSessionPath() const {
    QDBusMessage call = QDBusMessage::createMethodCall(logind::kService, logind::kPath,
                                                       logind::kManager, "GetSessionByPID");
    call << static_cast<quint32>(::getpid());
    const QDBusReply<QDBusObjectPath> reply = systemBus_.call(call, QDBus::Block, 2000);
    if (!reply.isValid()) {
        return QString();
    }
    return reply.value().path();
}

void SystemEventsMonitor::onScreenSaverActive(bool active) {
    const auto& handler = active ? handlers_.screenLocked : handlers_.screenUnlocked;
    if (handler) {
        handler();
    }
}

void SystemEventsMonitor::onPrepareForSleep(bool goingToSleep) {
    const auto& handler = goingToSleep ? handlers_.willSleep : handlers_.didWake;
    if (handler) {
        handler();
    }
}

void SystemEventsMonitor::onSessionPropertiesChanged(const QString& interface,
                                                     const QVariantMap& changed,
                                                     const QStringList& /*invalidated*/) {
    if (interface != logind::kSession) {
        return;
    }
    const auto hint = changed.constFind(QStringLiteral("LockedHint"));
    if (hint == changed.constEnd() || hint->metaType().id() != QMetaType::Bool) {
        return;
    }
    onScreenSaverActive(hint->toBool());
}

} // namespace quelmo
