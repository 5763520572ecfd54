// SPDX-License-Identifier: MIT
#pragma once

namespace quelmo {

// Whether some client owns the X selection `prefix` + the default screen's
// number on the display the app draws on (for example "_NET_WM_CM_S" for a
// compositing manager, "_NET_SYSTEM_TRAY_S" for a tray). False when the app
// does not draw on X11.
bool screenSelectionOwned(const char* prefix);

} // namespace quelmo
