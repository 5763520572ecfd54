// SPDX-License-Identifier: MIT
#pragma once

#include "platform/tray/dbus_tray_types.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QDBusVirtualObject>
#include <QImage>

#include <functional>

namespace quelmo {

// The tray icon as a StatusNotifierItem of our own, for panels that host
// such items over D-Bus (KDE, Waybar, GNOME's AppIndicator extension...).
//
// The item says it is a menu (ItemIsMenu), so the panel opens the menu
// published at `menuPath` on a left click as on a right click, and nothing
// of ours pops up as a window of its own. Its icon is given by name (a
// "-symbolic" icon the panel can colour to suit itself, found in the icon
// theme folder announced with it) and as pictures, for panels that cannot
// look the name up. Main thread only.
class StatusNotifierItem : public QDBusVirtualObject {
  public:
    // `id` names the application to the panel.
    StatusNotifierItem(QDBusConnection bus, QString id, QString menuPath,
                       QObject* parent = nullptr);
    ~StatusNotifierItem() override;

    // Takes the item's bus name, publishes the object and registers it with
    // the panel's watcher (again whenever a watcher appears). False when the
    // bus refused the name or the object.
    bool start();
    bool isStarted() const { return started_; }
    const QString& serviceName() const { return service_; }

    // The icon: a theme icon name (may be empty), the folder that holds it,
    // and the pictures for panels that draw pixels.
    void setIcon(const QString& name, const QString& themePath, const QList<QImage>& pictures);
    void setToolTip(const QString& title, const QString& text);
    const QString& iconName() const { return iconName_; }

    // A panel that asked for the item's own action although it is a menu,
    // at screen position (x, y).
    std::function<void(int x, int y)> activated;

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

    static constexpr const char* kObjectPath = "/StatusNotifierItem";
    static constexpr const char* kInterface = "org.kde.StatusNotifierItem";

  private:
    void registerWithWatcher();
    void notify(const char* signal, const QVariantList& args = {});
    QVariantMap properties() const;

    QDBusConnection bus_;
    QString id_;
    QString menuPath_;
    QString service_;
    bool started_ = false;
    QDBusServiceWatcher watcher_;
    QString iconName_;
    QString iconThemePath_;
    SniPixmapList pixmaps_;
    QString toolTipTitle_;
    QString toolTipText_;
};

// A picture as status notifier hosts take it: ARGB32, network byte order.
SniPixmap sniPixmap(const QImage& image);

} // namespace quelmo
