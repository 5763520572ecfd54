// SPDX-License-Identifier: MIT
#include "ui/wayland_frost/cover_frame.h"

#include "ui/overlay/frost_frame.h"
#include "ui/overlay/frost_texts.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace quelmo {

void CoverPainter::prepareRows(QSize logicalSize, qreal ratio, int deviceHeight,
                               const QColor& tint) {
    if (logicalSize == logicalSize_ && ratio == ratio_ && tint.rgba() == tint_ &&
        static_cast<int>(rows_.size()) == deviceHeight) {
        return;
    }
    // A strip a few pixels wide, painted exactly as the whole frame would
    // be (same rectangle, same stretching); only the columns inside the
    // strip are worked out. Each of its rows is one colour.
    QImage strip(4, deviceHeight, QImage::Format_ARGB32_Premultiplied);
    strip.setDevicePixelRatio(ratio);
    strip.fill(Qt::transparent);
    {
        QPainter painter(&strip);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(0, 0), logicalSize), tintedPicture(opaqueBackdrop(), tint));
    }
    rows_.resize(static_cast<std::size_t>(deviceHeight));
    for (int y = 0; y < deviceHeight; ++y) {
        rows_[static_cast<std::size_t>(y)] =
            reinterpret_cast<const QRgb*>(strip.constScanLine(y))[0];
    }
    logicalSize_ = logicalSize;
    ratio_ = ratio;
    tint_ = tint.rgba();
}

void CoverPainter::paint(QImage& target, const QColor& tint, const FrostTexts& texts) {
    const qreal ratio = target.devicePixelRatio();
    const QSize logical = target.deviceIndependentSize().toSize();
    prepareRows(logical, ratio, target.height(), tint);
    for (int y = 0; y < target.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(target.scanLine(y));
        std::fill(line, line + target.width(), rows_[static_cast<std::size_t>(y)]);
    }
    QPainter painter(&target);
    paintFrostCard(painter, QRect(QPoint(0, 0), logical), texts);
}

void fadeFrame(QImage& frame, double opacity) {
    if (opacity >= 1.0) {
        return;
    }
    // Every byte of a premultiplied pixel scales alike, so the bytes are
    // worked on as bytes.
    const auto factor = static_cast<unsigned>(std::lround(std::clamp(opacity, 0.0, 1.0) * 256));
    const int bytes = frame.width() * 4;
    for (int y = 0; y < frame.height(); ++y) {
        uchar* line = frame.scanLine(y);
        for (int i = 0; i < bytes; ++i) {
            line[i] = static_cast<uchar>((line[i] * factor) >> 8);
        }
    }
}

} // namespace quelmo
