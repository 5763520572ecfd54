// SPDX-License-Identifier: MIT
#include "platform/system/logind_session_lock.h"

#include "platform/system/logind_names.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

#include <memory>

#include <unistd.h>

namespace quelmo {

namespace {

// Sends `call` and hands its reply (an error reply included) to `then` on the
// main thread; a bus that is not there answers with an error at once.
void callThen(QDBusConnection bus, const QDBusMessage& call, QObject* context,
              std::function<void(const QDBusMessage&)> then) {
    if (!bus.isConnected()) {
        then(QDBusMessage::createError(QDBusError::Disconnected, QStringLiteral("no bus")));
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(
        bus.asyncCall(call, LogindSessionLock::kCallTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [then = std::move(then)](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         then(finished->reply());
                     });
}

bool isError(const QDBusMessage& reply) {
    return reply.type() != QDBusMessage::ReplyMessage;
}

// The logind session this process belongs to: by process id, else by the
// session id the login handed down, else logind's "auto" (the caller's).
void findSession(QDBusConnection bus, QObject* context, std::function<void(QString)> then) {
    QDBusMessage byPid = QDBusMessage::createMethodCall(logind::kService, logind::kPath,
                                                        logind::kManager, "GetSessionByPID");
    byPid << static_cast<quint32>(::getpid());
    callThen(bus, byPid, context, [bus, context, then](const QDBusMessage& reply) {
        if (!isError(reply) && !reply.arguments().isEmpty()) {
            then(reply.arguments().constFirst().value<QDBusObjectPath>().path());
            return;
        }
        const QString id = qEnvironmentVariable("XDG_SESSION_ID", QStringLiteral("auto"));
        QDBusMessage byId = QDBusMessage::createMethodCall(logind::kService, logind::kPath,
                                                           logind::kManager, "GetSession");
        byId << id;
        callThen(bus, byId, context, [then](const QDBusMessage& idReply) {
            then(isError(idReply) || idReply.arguments().isEmpty()
                     ? QString()
                     : idReply.arguments().constFirst().value<QDBusObjectPath>().path());
        });
    });
}

} // namespace

LogindSessionLock::LogindSessionLock(QDBusConnection systemBus, QDBusConnection sessionBus,
                                     QObject* parent)
    : QObject(parent), systemBus_(std::move(systemBus)), sessionBus_(std::move(sessionBus)) {}

void LogindSessionLock::lockSession(std::function<void(bool delivered)> done) {
    QDBusConnection bus = systemBus_;
    findSession(bus, this, [this, bus, done](const QString& path) {
        if (path.isEmpty()) {
            done(false);
            return;
        }
        const QDBusMessage lock =
            QDBusMessage::createMethodCall(logind::kService, path, logind::kSession, "Lock");
        callThen(bus, lock, this, [done](const QDBusMessage& reply) { done(!isError(reply)); });
    });
}

// Two places may know about an inhibitor; the answer is "inhibited" when
// any of them says so, given once all have answered.
void LogindSessionLock::askIdleInhibited(std::function<void(bool inhibited)> answer) {
    struct Tally {
        int pending = 2;
        bool inhibited = false;
        std::function<void(bool)> answer;
    };
    auto tally = std::make_shared<Tally>();
    tally->answer = std::move(answer);
    const auto count = [tally](bool inhibited) {
        tally->inhibited = tally->inhibited || inhibited;
        if (--tally->pending == 0) {
            tally->answer(tally->inhibited);
        }
    };

    QDBusMessage blocked = QDBusMessage::createMethodCall(
        logind::kService, logind::kPath, logind::kProperties, QStringLiteral("Get"));
    blocked << logind::kManager << QStringLiteral("BlockInhibited");
    callThen(systemBus_, blocked, this, [count](const QDBusMessage& reply) {
        const QString what =
            isError(reply) || reply.arguments().isEmpty()
                ? QString()
                : reply.arguments().constFirst().value<QDBusVariant>().variant().toString();
        count(what.split(QLatin1Char(':')).contains(QStringLiteral("idle")));
    });

    // GNOME's session manager: flag 8 is "idle".
    QDBusMessage gnome = QDBusMessage::createMethodCall(
        QStringLiteral("org.gnome.SessionManager"), QStringLiteral("/org/gnome/SessionManager"),
        QStringLiteral("org.gnome.SessionManager"), QStringLiteral("IsInhibited"));
    gnome << 8U;
    gnome.setAutoStartService(false);
    callThen(sessionBus_, gnome, this, [count](const QDBusMessage& reply) {
        count(!isError(reply) && !reply.arguments().isEmpty() &&
              reply.arguments().constFirst().toBool());
    });
}

} // namespace quelmo
