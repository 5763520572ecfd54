// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QImage>
#include <QSize>
#include <QString>

namespace quelmo {

// Which panel a symbol is drawn for: dark ink on a light panel, light ink on a
// dark one.
enum class IconTone { light, dark };

// The resource path of the symbol for a status's symbol name ("eye",
// "eye.slash", "eye.slash.fill", "pause.circle", "exclamationmark.circle",
// "airpodspro"); empty for a name we have no icon for.
QString symbolIconPath(const QString& symbolName, IconTone tone);

// The symbol rendered at `pixelSize` (device pixels), transparent around it;
// a null image for an unknown name.
QImage renderSymbol(const QString& symbolName, IconTone tone, QSize pixelSize);

// The tone that suits a panel painted in `background`.
IconTone toneForBackground(const QColor& background);

// The application's icon (a stylised eye with frost), for windows and the
// about box.
QIcon appIcon();
QString appIconPath();

} // namespace quelmo
