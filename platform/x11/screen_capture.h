// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>

class QWindow;

namespace quelmo {

// A copy of what the screen shows where `window` stands (the window itself
// is expected to be unmapped or not yet shown), reduced `factor` times in
// each direction. On X11 the X server scales the picture down (XRender)
// before it is read, so a 4K screen costs a few milliseconds instead of the
// hundred or more a full-size grab takes; elsewhere, or when that fails, the
// screen is grabbed through Qt and reduced here. A null image when neither
// works.
QImage captureBehind(QWindow& window, int factor);

// The X server's part of the above alone: a null image where it cannot be
// done (not X11, no XRender, an unusual pixel format).
QImage captureScaledByServer(QWindow& window, int factor);

} // namespace quelmo
