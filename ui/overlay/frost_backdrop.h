// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>

namespace quelmo {

class FrostWindow;

// The screen's picture is taken an eighth of its size (the X server scales
// it, sampling every eighth pixel pair), halved again here by averaging, so
// each remaining pixel stands for a 16 × 16 block, and then blurred with a
// radius of 3 of those pixels: a blur of about 55 device pixels, enough to
// make any text unreadable at every frost strength. Working at this size
// keeps the whole picture under a few milliseconds even for a 4K screen.
inline constexpr int kCaptureReduction = 8;
inline constexpr int kBackdropReduction = 2 * kCaptureReduction;
inline constexpr int kBackdropBlurRadius = 3;

// The strongly blurred picture of what `window` is about to cover, at
// 1/kBackdropReduction of its size; a null image when the screen cannot be
// read.
QImage blurredBackdrop(FrostWindow& window);

} // namespace quelmo
