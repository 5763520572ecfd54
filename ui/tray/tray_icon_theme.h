// SPDX-License-Identifier: MIT
#pragma once

#include "ui/tray/tray_pixmap.h"

#include <QString>

namespace quelmo {

// The name of the panel-coloured icon for a look ("quelmo-eye-symbolic"),
// or empty when the look needs a picture: the angle text beside the icon
// can only be drawn into one.
QString traySymbolicIconName(const TrayLook& look);

// The icon theme folder that holds the names above, to announce to the
// panel: the one installed with Quelmo, else a copy written once into the
// user's runtime folder from the icons built into the program. Empty if
// neither can be had.
QString trayIconThemeFolder();

} // namespace quelmo
