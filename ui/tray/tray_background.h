// SPDX-License-Identifier: MIT
#pragma once

#include "ui/icons/symbol_icons.h"

#include <QRect>

#include <optional>

namespace quelmo {

// The tone that suits the panel around a docked tray icon, judged from the
// screen pixels along the edges of `iconArea` (global coordinates), where
// only the panel shows. Nothing when the area is unknown (D-Bus hosts do
// not say where they put the icon) or cannot be read.
std::optional<IconTone> toneBehindTrayIcon(const QRect& iconArea);

} // namespace quelmo
