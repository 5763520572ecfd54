// SPDX-License-Identifier: MIT
#include "platform/x11/input_activity.h"

#include "platform/x11/input_activity_monitor.h"

namespace quelmo {

double InputActivity::secondsSinceLastEvent() {
    // Started at first use and never torn down, so that no call, from any thread and even
    // during exit, finds it gone.
    static const InputActivityMonitor* monitor = new InputActivityMonitor();
    return monitor->secondsSinceLastEvent();
}

} // namespace quelmo
