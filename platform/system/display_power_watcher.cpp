// SPDX-License-Identifier: MIT
#include "platform/system/display_power_watcher.h"

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>

namespace quelmo {

namespace {
Display* asDisplay(void* d) {
    return static_cast<Display*>(d);
}
} // namespace

DisplayPowerWatcher::DisplayPowerWatcher(std::function<bool()> shouldWatch, double periodSeconds,
                                         QObject* parent)
    : QObject(parent), shouldWatch_(std::move(shouldWatch)) {
    timer_.setInterval(static_cast<int>(periodSeconds * 1000.0));
    timer_.setTimerType(Qt::VeryCoarseTimer);
    connect(&timer_, &QTimer::timeout, this, &DisplayPowerWatcher::check);

    // A connection of our own, so the reading never disturbs Qt's.
    if (Display* display = XOpenDisplay(nullptr)) {
        int eventBase = 0;
        int errorBase = 0;
        if (DPMSQueryExtension(display, &eventBase, &errorBase) && DPMSCapable(display)) {
            display_ = display;
        } else {
            XCloseDisplay(display);
        }
    }
}

DisplayPowerWatcher::DisplayPowerWatcher(std::function<bool()> shouldWatch, AsleepReader readAsleep,
                                         double periodSeconds, QObject* parent)
    : QObject(parent), shouldWatch_(std::move(shouldWatch)), readAsleep_(std::move(readAsleep)) {
    timer_.setInterval(static_cast<int>(periodSeconds * 1000.0));
    timer_.setTimerType(Qt::VeryCoarseTimer);
    connect(&timer_, &QTimer::timeout, this, &DisplayPowerWatcher::check);
}

DisplayPowerWatcher::~DisplayPowerWatcher() {
    if (display_ != nullptr) {
        XCloseDisplay(asDisplay(display_));
    }
}

void DisplayPowerWatcher::start(std::function<void(bool)> onChange) {
    onChange_ = std::move(onChange);
    if (isAvailable()) {
        timer_.start();
    }
}

void DisplayPowerWatcher::check() {
    if (!isAvailable()) {
        return;
    }
    // While the displays sleep the app is stopped, so keep reading until they
    // wake, whatever shouldWatch says.
    if (!asleep_ && shouldWatch_ && !shouldWatch_()) {
        return;
    }
    bool asleep = false;
    if (readAsleep_) {
        const std::optional<bool> reading = readAsleep_();
        if (!reading) {
            return;
        }
        asleep = *reading;
    } else {
        CARD16 level = DPMSModeOn;
        BOOL enabled = False;
        if (!DPMSInfo(asDisplay(display_), &level, &enabled)) {
            return;
        }
        asleep = enabled && level != DPMSModeOn;
    }
    if (asleep == asleep_) {
        return;
    }
    asleep_ = asleep;
    if (onChange_) {
        onChange_(asleep);
    }
}

} // namespace quelmo
