// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include <functional>

namespace quelmo::testing {

// A dbus-daemon of the test's own, so tests never touch the user's buses.
class PrivateBus {
  public:
    PrivateBus() {
        const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
        if (daemon.isEmpty()) {
            return;
        }
        process_.start(daemon, {"--session", "--nofork", "--nopidfile", "--print-address=1"});
        if (!process_.waitForStarted(5000) || !process_.waitForReadyRead(5000)) {
            return;
        }
        address_ = QString::fromUtf8(process_.readLine()).trimmed();
    }
    ~PrivateBus() {
        for (const QString& name : names_) {
            QDBusConnection::disconnectFromBus(name);
        }
        process_.terminate();
        process_.waitForFinished(3000);
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool isRunning() const { return !address_.isEmpty(); }
    const QString& address() const { return address_; }

    // Runs dbus-send against this bus, the way a user would in a shell.
    int dbusSend(const QStringList& args) const {
        QProcess send;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", address_);
        send.setProcessEnvironment(env);
        send.start("dbus-send", QStringList{"--session", "--type=signal"} + args);
        send.waitForFinished(5000);
        return send.exitCode();
    }

    // A new connection to the bus, under a name of its own.
    QDBusConnection connect() {
        const QString name = QStringLiteral("private-bus-%1").arg(names_.size());
        names_.append(name);
        return QDBusConnection::connectToBus(address_, name);
    }

  private:
    QProcess process_;
    QString address_;
    QStringList names_;
};

// Runs the event loop until `done` holds or the time is up.
inline bool waitUntil(const std::function<bool()>& done, int milliseconds = 5000) {
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

} // namespace quelmo::testing
