// SPDX-License-Identifier: MIT
#pragma once

#include "ui/icons/symbol_icons.h"

#include <QPixmap>
#include <QString>

namespace quelmo {

// Everything the tray shows: the symbol, the angle text beside it, the
// dimmed look and the tool tip.
struct TrayLook {
    QString symbolName;
    QString angleText;
    bool dimmed = false;
    QString toolTip;

    bool operator==(const TrayLook&) const = default;
};

// The tray picture for a look: the status's symbol (or "eye" for a symbol we
// do not have; none if that is missing too) `height` logical pixels square,
// followed by the angle text when there is one, drawn in a box as wide as
// " 99°" so the picture never changes width with the value. Dimmed looks are
// drawn at reduced opacity.
QPixmap renderTrayPixmap(const TrayLook& look, IconTone tone, int height, qreal devicePixelRatio);

// The symbol actually drawn for a name: the name itself, or "eye", or empty.
QString traySymbolFor(const QString& symbolName);

} // namespace quelmo
