#pragma once

#include <QImage>

namespace quelmo {

class FrostWindow;

// How much the screen's picture is reduced before it is blurred, and the
// blur's radius in reduced pixels: together a blur of about 40 device pixels,
// enough to make text unreadable at every frost strength.
inline constexpr int kBackdropReduction = 8;
inline constexpr int kBackdropBlurRadius = 5;

// The strongly blurred picture of what `window` is about to cover; a null
// image when the screen cannot be read.
QImage blurredBackdrop(FrostWindow& window);

} // namespace quelmo
