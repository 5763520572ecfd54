// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QFont>

namespace quelmo::frost_look {

// The violet-black tint over the blurred screen; denser with the frost
// strength (0 to 1): alpha 0.22 at 0, 0.64 at 0.6, 0.92 at 1.
inline QColor tint(double strength) {
    return QColor::fromRgbF(0.07f, 0.06f, 0.13f, static_cast<float>(0.22 + 0.7 * strength));
}

// The card behind the two lines, in logical pixels.
inline constexpr float cardAlpha = 0.3f;
inline constexpr int cardRadius = 24;
inline constexpr int cardInsetX = 34;
inline constexpr int cardInsetY = 20;
inline constexpr int lineSpacing = 6;

// The title (21 px semibold, white) and the hint (13 px regular, white at
// 0.72). Sizes are in logical pixels, the unit the frost's layout uses
// throughout.
QFont titleFont();
QFont hintFont();
inline QColor titleColor() {
    return QColor(255, 255, 255);
}
inline QColor hintColor() {
    return QColor::fromRgbF(1.0f, 1.0f, 1.0f, 0.72f);
}

// What a window shows when no picture of the screen could be taken: a
// neutral grey under the tint, so the frost is opaque all the same.
inline QColor fallbackBackground() {
    return QColor(88, 88, 96);
}

} // namespace quelmo::frost_look
