// SPDX-License-Identifier: MIT
#pragma once

#include "app/app_status.h"
#include "platform/tray/dbus_menu_exporter.h"
#include "platform/tray/status_notifier_item.h"
#include "platform/tray/tray_host_watch.h"
#include "ui/tray/tray_pixmap.h"

#include <QDBusConnection>

#include <QMenu>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

#include <memory>
#include <optional>

class QAction;

namespace quelmo {

class AppModel;
class TrayHostWatch;
class WindowsPort;

// The tray icon and its menu: the icon (with the head angle beside it when
// the user wants it) follows the published status and angle; the menu says
// what Quelmo is doing and offers the everyday commands. It owns no logic
// of its own beyond presentation: commands go to the app model, the
// preferences and the window manager. Main thread only.
//
// The tray icon itself is made only once a tray host exists (see
// TrayHostWatch); until then the controller keeps its look up to date so
// the icon shows the right thing the moment it appears. Where a panel hosts
// StatusNotifier items, the icon is such an item of our own with the menu
// published over dbusmenu (the panel draws both, and a left click opens the
// menu as a right click does); on an XEmbed tray it is Qt's tray icon.
//
// The menu's lines follow the status and the preferences as they change,
// not only when the menu is about to open: a panel lays the menu out from
// what was published before it asks.
class StatusItemController : public QObject {
  public:
    struct Options {
        // What the desktop offers for tray icons (tests pass their own).
        std::function<TrayHosts()> probe;
        // The version shown in the about box (the build's own when empty).
        QString version;
        // The bus StatusNotifier hosts are on (the session bus when unset).
        std::optional<QDBusConnection> bus;
    };

    StatusItemController(AppModel& model, WindowsPort& windows);
    StatusItemController(AppModel& model, WindowsPort& windows, Options options);
    ~StatusItemController() override;

    QMenu* menu() { return &menu_; }
    // Qt's tray icon, once an XEmbed tray has been found; null before and
    // on StatusNotifier hosts.
    QSystemTrayIcon* trayIcon() const { return tray_; }
    // The StatusNotifier item and its menu, once such a host has been found.
    StatusNotifierItem* statusNotifierItem() const { return item_.get(); }
    DbusMenuExporter* menuExporter() const { return menuExport_.get(); }
    const TrayLook& look() const { return look_; }
    // The picture the tray icon shows now.
    QPixmap trayPixmap() const;
    // Light or dark symbols, to suit the panel the icon sits on.
    IconTone panelTone() const;

    // The menu entries, for the menu's owner and tests.
    QAction* statusLine() const { return statusLine_; }
    QAction* detailLine() const { return detailLine_; }
    QAction* fixItem() const { return fixItem_; }
    QAction* toggleItem() const { return toggleItem_; }
    QAction* pauseItem() const { return pauseItem_; }
    QAction* recenterItem() const { return recenterItem_; }
    QAction* settingsItem() const { return settingsItem_; }
    QAction* guideItem() const { return guideItem_; }
    QAction* aboutItem() const { return aboutItem_; }
    QAction* quitItem() const { return quitItem_; }

    // Refreshes every line's title, visibility and enabling from the model;
    // runs each time the menu is about to open, and whenever what it shows
    // changes.
    void menuNeedsUpdate();
    // The open about box, if any.
    QMessageBox* aboutBox() const { return aboutBox_; }

    // The tray icon's height in logical pixels.
    static constexpr int kIconHeight = 22;

  private:
    void buildMenu();
    bool makeTrayIcon();
    bool makeStatusNotifierItem();
    void refreshMenu(const AppStatus& status);
    void render(const AppStatus& status);
    void renderAngle(const AppStatus& status, double angle);
    void applyLook();
    void lookAtThePanel();
    void observe();

    void toggleEnabled();
    void togglePause();
    void recenter();
    void openSettings();
    void openGuide();
    void fix();
    void about();
    void quit();

    AppModel& model_;
    WindowsPort& windows_;
    Options options_;
    QMenu menu_;
    QPointer<QSystemTrayIcon> tray_;
    std::unique_ptr<TrayHostWatch> hostWatch_;
    TrayLook look_;
    std::optional<IconTone> panelTone_;
    QPointer<QMessageBox> aboutBox_;
    std::unique_ptr<DbusMenuExporter> menuExport_;
    std::unique_ptr<StatusNotifierItem> item_;

    QAction* statusLine_ = nullptr;
    QAction* detailLine_ = nullptr;
    QAction* fixItem_ = nullptr;
    QAction* toggleItem_ = nullptr;
    QAction* pauseItem_ = nullptr;
    QAction* recenterItem_ = nullptr;
    QAction* settingsItem_ = nullptr;
    QAction* guideItem_ = nullptr;
    QAction* aboutItem_ = nullptr;
    QAction* quitItem_ = nullptr;
};

} // namespace quelmo
