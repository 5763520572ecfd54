// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

#include <vector>

namespace quelmo {

struct FrostTexts;

// Paints the frost's cover, the look it has before (or without) a picture
// of the screen: the opaque backdrop under the tint, with the card. The
// result is the frame paintFrostFrame() makes of the tinted opaque
// backdrop, pixel for pixel, but painted straight into the target in a few
// milliseconds for a whole screen: the backdrop only changes from top to
// bottom, so each of its rows is worked out once (through the same
// stretching as the full frame) and then filled. Meant for shared-memory
// buffers about to be shown.
class CoverPainter {
  public:
    // Paints over the whole of `target` (premultiplied ARGB32, its device
    // pixel ratio set), at full opacity.
    void paint(QImage& target, const QColor& tint, const FrostTexts& texts);

  private:
    void prepareRows(QSize logicalSize, qreal ratio, int deviceHeight, const QColor& tint);

    // One colour per device row, for this size, ratio and tint.
    std::vector<QRgb> rows_;
    QSize logicalSize_;
    qreal ratio_ = 0;
    QRgb tint_ = 0;
};

// Makes a premultiplied frame `opacity` times as opaque (0 to 1), in place:
// the same frame faded over whatever lies under it.
void fadeFrame(QImage& frame, double opacity);

} // namespace quelmo
