// SPDX-License-Identifier: MIT
#include "ui/overlay/compositor_probe.h"

#include "platform/x11/selection_owner.h"

namespace quelmo {

bool compositorRunning() {
    return screenSelectionOwned("_NET_WM_CM_S");
}

} // namespace quelmo
