// SPDX-License-Identifier: MIT
#include "program/app_delegate.h"

#include "app/away_lock.h"
#include "platform/install/move_to_applications.h"
#include "platform/session/session_backends.h"
#include "platform/settings/shared_preferences.h"
#include "program/application_shortcuts.h"
#include "program/desktop_services.h"
#include "ui/tray/status_item_controller.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>

namespace quelmo {

namespace {
constexpr int kPermissionCheckDelayMs = 1500;
} // namespace

AppDelegate::AppDelegate() = default;
AppDelegate::~AppDelegate() {
    // The settings window and the guide bind to the model: they close while
    // it still exists, then whatever watches the model, then the model.
    if (services_) {
        services_->windows.closeAll();
    }
    statusItem_.reset();
    awayLock_.reset();
    model_.reset();
}

void AppDelegate::applicationDidFinishLaunching() {
    MoveToApplications::offerIfNeeded(
        InstallLayout{QDir::homePath().toStdString(), QUELMO_INSTALL_PREFIX, QUELMO_BUILD_DIR},
        [] { QCoreApplication::quit(); });
    installMainMenu();

    Preferences& prefs = sharedPreferences();
    services_ = std::make_unique<DesktopServices>(prefs);
    model_ = std::make_unique<AppModel>(prefs, services_->ports());
    services_->attach(*model_);
    // Which adapters serve this desktop session (written when the log is open).
    services_->log.write(
        sessionLogLine(currentDesktopSession(), {{"frost", services_->frost.name},
                                                 {"input", services_->input.inputName},
                                                 {"hot key", services_->input.hotKeyName}}));
    awayLock_ = std::make_unique<AwayLock>(*model_, services_->scheduler, services_->sessionLock);
    statusItem_ = std::make_unique<StatusItemController>(*model_, services_->windows);

    if (prefs.onboardingDone()) {
        QTimer::singleShot(kPermissionCheckDelayMs, this,
                           [this] { askForMotionAccessIfUndecided(); });
    } else {
        services_->windows.showOnboarding();
    }
}

void AppDelegate::askForMotionAccessIfUndecided() {
    if (services_->tracker.motionAccess() == MotionAccess::notDetermined) {
        model_->requestMotionAccess();
    }
}

void AppDelegate::applicationShouldHandleReopen() {
    if (!model_) {
        return;
    }
    if (model_->prefs().onboardingDone()) {
        services_->windows.showSettings();
    } else {
        services_->windows.showOnboarding();
    }
}

void AppDelegate::recenterRequested() {
    if (model_) {
        model_->recenterManually();
    }
}

void AppDelegate::installMainMenu() {
    shortcuts_ = std::make_unique<ApplicationShortcuts>();
    QCoreApplication::instance()->installEventFilter(shortcuts_.get());
}

} // namespace quelmo
