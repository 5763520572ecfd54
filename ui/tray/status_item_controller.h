// SPDX-License-Identifier: MIT
#pragma once

#include "app/app_status.h"
#include "app/published.h"
#include "platform/tray/tray_host_watch.h"
#include "ui/tray/tray_pixmap.h"

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
// the icon shows the right thing the moment it appears.
class StatusItemController : public QObject {
  public:
    struct Options {
        // What the desktop offers for tray icons (tests pass their own).
        std::function<TrayHosts()> probe;
        // The version shown in the about box (the build's own when empty).
        QString version;
    };

    StatusItemController(AppModel& model, WindowsPort& windows);
    StatusItemController(AppModel& model, WindowsPort& windows, Options options);
    ~StatusItemController() override;

    QMenu* menu() { return &menu_; }
    // The tray icon, once a tray host has been found; null before.
    QSystemTrayIcon* trayIcon() const { return tray_; }
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
    // runs each time the menu is about to open.
    void menuNeedsUpdate();
    // The open about box, if any.
    QMessageBox* aboutBox() const { return aboutBox_; }

    // The tray icon's height in logical pixels.
    static constexpr int kIconHeight = 22;

  private:
    void buildMenu();
    bool makeTrayIcon();
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
    SubscriptionBag bag_;
    QPointer<QMessageBox> aboutBox_;

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
