// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>

namespace quelmo {

// Blurs `image` in place with `passes` box filters of width 2 × radius + 1,
// horizontally then vertically; three passes come close to a Gaussian blur
// of sigma ≈ radius. Pixels beyond the edges repeat the edge. All four bytes
// of each pixel are filtered alike, so any 32-bit format works (premultiplied
// alpha stays consistent). Meant for small images: the frost blurs a copy of
// the screen reduced several times in size.
void boxBlur(QImage& image, int radius, int passes = 3);

} // namespace quelmo
