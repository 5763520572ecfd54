// SPDX-License-Identifier: MIT
#pragma once

#include "tests/app_model/fakes.h"
#include "ui/tray/status_item_controller.h"

#include <QCoreApplication>

#include <memory>

namespace quelmo::test {

using Kind = AppStatus::Kind;

// A real app model on fakes, in virtual time, with the tray controller on
// top. No tray host is ever found, so everything runs without a tray icon.
struct StatusRig {
    testing::ModelRig rig;
    std::unique_ptr<StatusItemController> controller;

    // The away state is reached with the test words.
    StatusRig() { rig.withTestHooks = true; }

    // Brings the model to `kind` (preferences and fakes set before start).
    void reach(Kind kind) {
        switch (kind) {
        case Kind::needsSetup:
            rig.tracker.access = MotionAccess::notDetermined;
            break;
        case Kind::permissionDenied:
            rig.tracker.access = MotionAccess::denied;
            break;
        case Kind::unsupported:
            rig.tracker.available = false;
            break;
        case Kind::off:
            rig.store.set("enabled", "false");
            break;
        default:
            break;
        }
        start();
        switch (kind) {
        case Kind::paused:
            rig.model->pause(600);
            break;
        case Kind::screenLocked:
            rig.system.handlers.screenLocked();
            break;
        case Kind::calibrating:
            rig.samples(0.0, 0.1);
            break;
        case Kind::watching:
            rig.samples(0.0, 3.5);
            break;
        case Kind::frosted:
            rig.samples(0.0, 3.5);
            rig.turn(0.0, 80.0);
            rig.samples(80.0, 1.0);
            break;
        case Kind::away:
            rig.commands.send("fake:on");
            rig.scheduler.advance(4.0);
            rig.commands.send("turn:90");
            rig.scheduler.advance(1.0);
            rig.commands.send("drop");
            break;
        default:
            break;
        }
    }

    void start() {
        rig.start();
        controller = std::make_unique<StatusItemController>(
            *rig.model, rig.windows,
            StatusItemController::Options{[] { return TrayHosts{}; }, QString(), std::nullopt});
    }

    Kind status() const { return rig.status(); }

    // Lets deferred work (the show-angle preference's hop) run.
    static void settle() { QCoreApplication::processEvents(); }
};

} // namespace quelmo::test
