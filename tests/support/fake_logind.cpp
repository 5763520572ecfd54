// SPDX-License-Identifier: MIT
// Stands in for logind on whatever bus DBUS_SYSTEM_BUS_ADDRESS names (a
// private dbus-daemon in the shell tests): answers GetSessionByPID with one
// session, reports nothing blocking idling, and prints "Lock" for each Lock
// call on that session.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>

#include <cstdio>

namespace {

constexpr const char* kSession = "/org/freedesktop/login1/session/_3fake";

class Manager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
    Q_PROPERTY(QString BlockInhibited READ blockInhibited)

  public:
    QString blockInhibited() const { return QStringLiteral("handle-lid-switch"); }

  public slots:
    QDBusObjectPath GetSessionByPID(uint) { return QDBusObjectPath(kSession); }
};

class Session : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Session")

  public slots:
    void Lock() {
        std::puts("Lock");
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::systemBus();
    Manager manager;
    Session session;
    if (!bus.registerService(QStringLiteral("org.freedesktop.login1")) ||
        !bus.registerObject(QStringLiteral("/org/freedesktop/login1"), &manager,
                            QDBusConnection::ExportAllSlots |
                                QDBusConnection::ExportAllProperties) ||
        !bus.registerObject(QString::fromLatin1(kSession), &session,
                            QDBusConnection::ExportAllSlots)) {
        std::fputs("fake-logind: could not take the bus name\n", stderr);
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

#include "fake_logind.moc"
