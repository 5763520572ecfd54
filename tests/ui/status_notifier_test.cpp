// SPDX-License-Identifier: MIT
// The tray as StatusNotifier hosts see it: the item and its menu read back
// over a private session bus, the way a panel reads them.
#include "status_rig.h"
#include "tests/platform/system/private_bus.h"

#include <QDBusArgument>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

namespace quelmo::test {
namespace {

using quelmo::testing::PrivateBus;
using quelmo::testing::waitUntil;

struct PanelRig {
    PrivateBus bus;
    StatusRig s;
    QDBusConnection panel{QStringLiteral("unset")};
    QString service;

    bool start(Kind kind) {
        if (!bus.isRunning()) {
            return false;
        }
        panel = bus.connect();
        const QDBusConnection quelmo = bus.connect();
        s.rig.tracker.access = MotionAccess::authorized;
        s.rig.start();
        if (kind == Kind::waitingForAirPods) {
            s.rig.tracker.onConnectionChange(false);
        }
        TrayHosts hosts;
        hosts.statusNotifierWatcher = true;
        hosts.statusNotifierHost = true;
        s.controller = std::make_unique<StatusItemController>(
            *s.rig.model, s.rig.windows,
            StatusItemController::Options{[hosts] { return hosts; }, QString(), quelmo});
        if (s.controller->statusNotifierItem() == nullptr) {
            return false;
        }
        service = s.controller->statusNotifierItem()->serviceName();
        return true;
    }

    QDBusMessage call(const QString& path, const QString& iface, const QString& method,
                      const QVariantList& args = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, iface, method);
        message.setArguments(args);
        // The item lives on this thread: wait with the event loop running.
        QDBusPendingCall pending = panel.asyncCall(message, 3000);
        waitUntil([&] { return pending.isFinished(); });
        return pending.reply();
    }
    // GetLayout's answer: the revision and each entry's properties by id.
    std::pair<uint, std::map<int, QVariantMap>> layout() {
        const QDBusMessage reply =
            call(QStringLiteral("/MenuBar"), QStringLiteral("com.canonical.dbusmenu"),
                 QStringLiteral("GetLayout"), {0, -1, QStringList()});
        std::map<int, QVariantMap> entries;
        if (reply.arguments().size() != 2) {
            return {0, entries};
        }
        DbusMenuLayoutItem root;
        reply.arguments().at(1).value<QDBusArgument>() >> root;
        for (const DbusMenuLayoutItem& child : root.children) {
            entries[child.id] = child.properties;
        }
        return {reply.arguments().at(0).toUInt(), entries};
    }
    QVariant itemProperty(const char* name) {
        const QDBusMessage reply =
            call(QStringLiteral("/StatusNotifierItem"),
                 QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                 {QStringLiteral("org.kde.StatusNotifierItem"), QString::fromLatin1(name)});
        return reply.arguments().isEmpty()
                   ? QVariant()
                   : reply.arguments().at(0).value<QDBusVariant>().variant();
    }
};

TEST(StatusNotifierTray, ThePublishedMenuIsCurrentBeforeItIsEverOpened) {
    PanelRig p;
    if (!p.bus.isRunning()) {
        GTEST_SKIP() << "dbus-daemon is not installed";
    }
    ASSERT_TRUE(p.start(Kind::waitingForAirPods));
    ASSERT_EQ(p.s.status(), Kind::waitingForAirPods);

    // LayoutUpdated, as a panel hears it: starts a timer that nothing else
    // starts.
    QTimer heard;
    heard.setInterval(60000);
    ASSERT_TRUE(p.panel.connect(p.service, QStringLiteral("/MenuBar"),
                                QStringLiteral("com.canonical.dbusmenu"),
                                QStringLiteral("LayoutUpdated"), &heard, SLOT(start())));

    auto [revision, entries] = p.layout();
    ASSERT_EQ(entries.size(), 13u);
    EXPECT_EQ(entries[1].value(QStringLiteral("label")).toString(),
              QStringLiteral("Waiting for your AirPods"));
    EXPECT_EQ(entries[2].value(QStringLiteral("label")).toString(),
              QStringLiteral("Put them in your ears and connect them to this computer."));
    EXPECT_FALSE(entries[1].value(QStringLiteral("enabled"), true).toBool());
    EXPECT_FALSE(entries[3].value(QStringLiteral("visible"), true).toBool()); // no fix item
    EXPECT_EQ(entries[4].value(QStringLiteral("type")).toString(), QStringLiteral("separator"));
    // Keys pressed in a menu the panel draws never reach Quelmo: none shown.
    EXPECT_FALSE(entries[7].contains(QStringLiteral("shortcut")));

    // A change is published at once, with a new revision, before any open.
    p.s.rig.model->pause(600);
    const auto [paused, pausedEntries] = p.layout();
    EXPECT_GT(paused, revision);
    EXPECT_EQ(pausedEntries.at(1).value(QStringLiteral("label")).toString(),
              p.s.rig.model->status().title());
    EXPECT_FALSE(pausedEntries.at(2).value(QStringLiteral("visible"), true).toBool());
    EXPECT_EQ(p.layout().second.at(6).value(QStringLiteral("label")).toString(),
              QStringLiteral("Resume Now"));
    // ...and announced to the panel.
    EXPECT_TRUE(waitUntil([&] { return heard.isActive(); }));

    // A click in the panel's menu runs the entry: resume.
    p.call(QStringLiteral("/MenuBar"), QStringLiteral("com.canonical.dbusmenu"),
           QStringLiteral("Event"),
           {6, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(QString())), 0U});
    EXPECT_TRUE(waitUntil([&] { return !p.s.rig.model->isPaused(); }));
}

TEST(StatusNotifierTray, TheItemIsAMenuWithAPanelColouredIcon) {
    PanelRig p;
    if (!p.bus.isRunning()) {
        GTEST_SKIP() << "dbus-daemon is not installed";
    }
    ASSERT_TRUE(p.start(Kind::waitingForAirPods));
    EXPECT_TRUE(p.itemProperty("ItemIsMenu").toBool());
    EXPECT_EQ(p.itemProperty("Menu").value<QDBusObjectPath>().path(), QStringLiteral("/MenuBar"));
    const QString name = p.itemProperty("IconName").toString();
    EXPECT_EQ(name, QStringLiteral("quelmo-airpodspro-symbolic"));
    const QString folder = p.itemProperty("IconThemePath").toString();
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/hicolor/scalable/status/") + name +
                              QStringLiteral(".svg")))
        << folder.toStdString();
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/hicolor/index.theme")));
    // The pictures go along for panels that cannot find the name.
    SniPixmapList pixmaps;
    p.itemProperty("IconPixmap").value<QDBusArgument>() >> pixmaps;
    ASSERT_EQ(pixmaps.size(), 2);
    EXPECT_EQ(pixmaps[0].argb.size(), pixmaps[0].width * pixmaps[0].height * 4);

    // Turned off: the dimmed symbol; with the angle shown: only a picture
    // can carry the text, so no name.
    p.s.rig.prefs->setEnabled(false);
    p.s.rig.scheduler.advance(0.1);
    ASSERT_EQ(p.s.status(), Kind::off);
    EXPECT_EQ(p.itemProperty("IconName").toString(),
              QStringLiteral("quelmo-eye-slash-dimmed-symbolic"));
    p.s.rig.prefs->setEnabled(true);
    p.s.rig.prefs->setShowAngleInMenuBar(true);
    p.s.rig.samples(0.0, 3.5);
    StatusRig::settle();
    ASSERT_EQ(p.s.status(), Kind::watching);
    EXPECT_TRUE(p.itemProperty("IconName").toString().isEmpty());

    // A panel that calls the item's action anyway gets no window of ours.
    p.call(QStringLiteral("/StatusNotifierItem"), QStringLiteral("org.kde.StatusNotifierItem"),
           QStringLiteral("Activate"), {10, 10});
    StatusRig::settle();
    EXPECT_FALSE(p.s.controller->menu()->isVisible());
    EXPECT_EQ(p.s.controller->trayIcon(), nullptr);
}

} // namespace
} // namespace quelmo::test
