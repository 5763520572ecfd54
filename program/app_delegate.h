// SPDX-License-Identifier: MIT
#pragma once

#include "app/app_model.h"

#include <QObject>

#include <memory>

namespace quelmo {

class ApplicationShortcuts;
class AwayLock;
class DesktopServices;
class StatusItemController;

// Starts the running application and answers its lifecycle: offers the move
// into the user's install, installs the application-wide shortcuts, makes the
// app model over the desktop's services, makes the tray icon, and opens the
// welcome guide on a first run or asks for motion access a moment later.
// On the way out the windows close before the model goes.
class AppDelegate : public QObject {
    Q_OBJECT

  public:
    AppDelegate();
    ~AppDelegate() override;

    void applicationDidFinishLaunching();
    // Someone started Quelmo again while it runs: bring a window forward.
    void applicationShouldHandleReopen();
    // `quelmo --recenter` from another process: what the hot key does.
    void recenterRequested();

    AppModel* model() const { return model_.get(); }

  private:
    void installMainMenu();
    void askForMotionAccessIfUndecided();

    std::unique_ptr<DesktopServices> services_;
    std::unique_ptr<AppModel> model_;
    std::unique_ptr<AwayLock> awayLock_;
    std::unique_ptr<StatusItemController> statusItem_;
    std::unique_ptr<ApplicationShortcuts> shortcuts_;
};

} // namespace quelmo
