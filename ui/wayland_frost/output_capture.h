// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>

#include <chrono>
#include <vector>

namespace quelmo {

class WaylandDisplay;
struct WaylandOutput;

// The pictures of `outputs` as the compositor shows them now, through
// wlroots' screencopy, in the same order; a null image for an output that
// could not be copied within `timeout` (or when the compositor offers no
// screencopy). Every copy is requested at once, so the wait is that of the
// slowest output. The pictures are upright, in device pixels.
std::vector<QImage> captureOutputs(WaylandDisplay& display,
                                   const std::vector<WaylandOutput*>& outputs,
                                   std::chrono::milliseconds timeout);

// A picture reduced and blurred for the frost, as on X11: an eighth by
// sampling, a half by averaging, then a box blur, so no text survives.
QImage frostPictureOf(const QImage& captured);

} // namespace quelmo
