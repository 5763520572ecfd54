// SPDX-License-Identifier: MIT
#include "ui/tray/status_item_controller.h"

#include "app/app_model.h"
#include "app/ui_ports.h"
#include "platform/tray/tray_host_watch.h"
#include "ui/overlay/frost_coverage.h"
#include "ui/tray/about_box.h"
#include "ui/tray/tray_background.h"
#include "ui/tray/tray_icon_theme.h"
#include "ui/tray/tray_texts.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPalette>
#include <QSystemTrayIcon>
#include <QTimer>

namespace quelmo {
namespace {

qreal trayPixelRatio() {
    return qApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
}

} // namespace

StatusItemController::StatusItemController(AppModel& model, WindowsPort& windows)
    : StatusItemController(model, windows, Options{}) {}

StatusItemController::StatusItemController(AppModel& model, WindowsPort& windows, Options options)
    : model_(model), windows_(windows), options_(std::move(options)) {
    if (!options_.probe) {
        options_.probe = probeTrayHosts;
    }
    if (options_.version.isEmpty()) {
        options_.version = QStringLiteral(QUELMO_VERSION_STRING);
    }
    buildMenu();
    observe();
    render(model_.status());
    menuNeedsUpdate();
    hostWatch_ = std::make_unique<TrayHostWatch>(options_.probe, [this] { return makeTrayIcon(); });
    hostWatch_->start();
}

StatusItemController::~StatusItemController() {
    disconnect(&model_, nullptr, this, nullptr);
    disconnect(&model_.prefs(), nullptr, this, nullptr);
    item_.reset();
    menuExport_.reset();
    delete tray_;
}

void StatusItemController::buildMenu() {
    const auto add = [this](const QString& title, void (StatusItemController::*action)()) {
        QAction* item = menu_.addAction(title);
        if (action != nullptr) {
            connect(item, &QAction::triggered, this, action);
        }
        return item;
    };
    // The first two lines are labels: disabled, so clicking them does nothing.
    statusLine_ = add(QString(), nullptr);
    statusLine_->setEnabled(false);
    detailLine_ = add(QString(), nullptr);
    detailLine_->setEnabled(false);
    fixItem_ = add(QString(), &StatusItemController::fix);
    menu_.addSeparator();
    toggleItem_ = add(menu_titles::turnOff(), &StatusItemController::toggleEnabled);
    pauseItem_ = add(menu_titles::pause(), &StatusItemController::togglePause);
    recenterItem_ = add(menu_titles::recenter(), &StatusItemController::recenter);
    // Control+Option+Command+R on the Mac; Super stands for Command here,
    // as for the global hot key that does the same.
    recenterItem_->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::META | Qt::Key_R));
    menu_.addSeparator();
    settingsItem_ = add(menu_titles::settings(), &StatusItemController::openSettings);
    settingsItem_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    guideItem_ = add(menu_titles::guide(), &StatusItemController::openGuide);
    aboutItem_ = add(menu_titles::about(), &StatusItemController::about);
    menu_.addSeparator();
    quitItem_ = add(menu_titles::quit(), &StatusItemController::quit);
    quitItem_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    for (QAction* item : menu_.actions()) {
        item->setShortcutVisibleInContextMenu(true);
    }
    connect(&menu_, &QMenu::aboutToShow, this, &StatusItemController::menuNeedsUpdate);
}

void StatusItemController::observe() {
    connect(&model_, &AppModel::statusChanged, this, [this] {
        render(model_.status());
        menuNeedsUpdate();
    });
    connect(&model_, &AppModel::liveAngleChanged, this,
            [this](double angle) { renderAngle(model_.status(), angle); });
    const Preferences* prefs = &model_.prefs();
    connect(prefs, &Preferences::showAngleInMenuBarChanged, this,
            [this] { renderAngle(model_.status(), model_.liveAngle()); });
    connect(prefs, &Preferences::enabledChanged, this, &StatusItemController::menuNeedsUpdate);
    connect(prefs, &Preferences::triggerAngleChanged, this, &StatusItemController::menuNeedsUpdate);
}

void StatusItemController::render(const AppStatus& status) {
    look_.symbolName = status.symbolName();
    look_.dimmed = statusLooksDimmed(status.kind());
    look_.toolTip = trayToolTip(status);
    // A session where the frost cannot cover the screen says so every time.
    if (const QString problem = frostCoverageProblem(); !problem.isEmpty()) {
        look_.toolTip += QLatin1Char('\n') + problem;
    }
    applyLook();
    renderAngle(status, model_.liveAngle());
}

void StatusItemController::renderAngle(const AppStatus& status, double angle) {
    QString text;
    if (model_.prefs().showAngleInMenuBar() && statusShowsAngle(status.kind())) {
        text = trayAngleText(angle);
    }
    // The angle is published many times a second: redraw only when the
    // text shown actually changes.
    if (text == look_.angleText) {
        return;
    }
    look_.angleText = text;
    applyLook();
}

IconTone StatusItemController::panelTone() const {
    // What the panel looks like, once seen; until then the application's
    // palette is the best guess.
    return panelTone_.value_or(
        toneForBackground(QGuiApplication::palette().color(QPalette::Window)));
}

QPixmap StatusItemController::trayPixmap() const {
    return renderTrayPixmap(look_, panelTone(), kIconHeight, trayPixelRatio());
}

void StatusItemController::lookAtThePanel() {
    if (tray_ == nullptr) {
        return;
    }
    const std::optional<IconTone> tone = toneBehindTrayIcon(tray_->geometry());
    if (tone && tone != panelTone_) {
        panelTone_ = tone;
        applyLook();
    }
}

void StatusItemController::applyLook() {
    if (item_) {
        // By name where the panel can colour the icon, with the pictures for
        // panels that cannot find the name.
        const QString name = traySymbolicIconName(look_);
        QList<QImage> pictures;
        for (const qreal ratio : {1.0, 2.0}) {
            pictures.append(renderTrayPixmap(look_, panelTone(), kIconHeight, ratio).toImage());
        }
        item_->setIcon(name, name.isEmpty() ? QString() : trayIconThemeFolder(), pictures);
        item_->setToolTip(look_.toolTip, QString());
    }
    if (tray_ == nullptr) {
        return;
    }
    tray_->setIcon(QIcon(trayPixmap()));
    tray_->setToolTip(look_.toolTip);
}

bool StatusItemController::makeStatusNotifierItem() {
    const QDBusConnection bus = options_.bus.value_or(QDBusConnection::sessionBus());
    const QString menuPath = QStringLiteral("/MenuBar");
    menuExport_ = std::make_unique<DbusMenuExporter>(bus, menuPath, menu_.actions(),
                                                     [this] { menuNeedsUpdate(); });
    item_ = std::make_unique<StatusNotifierItem>(bus, QStringLiteral("quelmo"), menuPath);
    if (!menuExport_->isRegistered() || !item_->start()) {
        item_.reset();
        menuExport_.reset();
        return false;
    }
    // The item is a menu, so panels open it themselves. One that calls the
    // item's action anyway gets the menu where it says on X11; on Wayland a
    // menu of ours without a window to hang from would become a window of
    // its own, so there the panel's right click has to do.
    item_->activated = [this](int x, int y) {
        if (QGuiApplication::platformName() == QLatin1String("xcb") && !menu_.isVisible()) {
            menu_.popup(QPoint(x, y));
        }
    };
    applyLook();
    return true;
}

bool StatusItemController::makeTrayIcon() {
    if (tray_ != nullptr || item_) {
        return true;
    }
    if (options_.probe().statusNotifierHost && makeStatusNotifierItem()) {
        return true;
    }
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        return false;
    }
    tray_ = new QSystemTrayIcon(this);
    tray_->setContextMenu(&menu_);
    // A left click opens the menu too, as clicking a menu-bar item does.
    connect(tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger && !menu_.isVisible()) {
                    menu_.popup(QCursor::pos());
                }
            });
    applyLook();
    tray_->show();
    // The panel's colour decides between the light and the dark symbols;
    // it can be seen once the tray has placed the icon.
    for (const int delay : {500, 3000}) {
        QTimer::singleShot(delay, this, [this] { lookAtThePanel(); });
    }
    return true;
}

void StatusItemController::menuNeedsUpdate() {
    refreshMenu(model_.status());
}

void StatusItemController::refreshMenu(const AppStatus& status) {
    const AppStatus::Kind kind = status.kind();
    const Preferences& prefs = model_.prefs();

    statusLine_->setText(status.title());
    const QString detail = detailLineText(kind, prefs.triggerAngle());
    detailLine_->setText(detail);
    detailLine_->setVisible(!detail.isEmpty());

    if (kind == AppStatus::Kind::needsSetup) {
        fixItem_->setText(menu_titles::finishSetup());
        fixItem_->setVisible(true);
    } else if (kind == AppStatus::Kind::permissionDenied) {
        fixItem_->setText(menu_titles::openMotionAccessSettings());
        fixItem_->setVisible(true);
    } else {
        fixItem_->setVisible(false);
    }

    toggleItem_->setText(prefs.enabled() ? menu_titles::turnOff() : menu_titles::turnOn());
    pauseItem_->setText(model_.isPaused() ? menu_titles::resume() : menu_titles::pause());
    pauseItem_->setEnabled(prefs.enabled());
    recenterItem_->setEnabled(statusAllowsRecenter(kind));
}

void StatusItemController::toggleEnabled() {
    model_.prefs().setEnabled(!model_.prefs().enabled());
}

void StatusItemController::togglePause() {
    // The same test that chose the item's title.
    if (model_.isPaused()) {
        model_.resume();
    } else {
        model_.pause(30 * 60);
    }
}

void StatusItemController::recenter() {
    model_.recenterManually();
}

void StatusItemController::openSettings() {
    windows_.showSettings();
}

void StatusItemController::openGuide() {
    windows_.showOnboarding();
}

void StatusItemController::fix() {
    if (model_.status().kind() == AppStatus::Kind::permissionDenied) {
        model_.openPrivacySettings();
    } else {
        windows_.showOnboarding();
    }
}

void StatusItemController::about() {
    if (aboutBox_ == nullptr) {
        aboutBox_ = makeAboutBox(options_.version);
    }
    aboutBox_->show();
    aboutBox_->raise();
    aboutBox_->activateWindow();
}

void StatusItemController::quit() {
    QCoreApplication::quit();
}

} // namespace quelmo
