// SPDX-License-Identifier: MIT
#include "ui/overlay/frost_backdrop.h"

#include "platform/x11/screen_capture.h"
#include "ui/overlay/box_blur.h"
#include "ui/overlay/frost_window.h"

#include <QWindow>

namespace quelmo {

QImage blurredBackdrop(FrostWindow& window) {
    QWindow* handle = window.windowHandle();
    if (handle == nullptr) {
        return {};
    }
    const QImage captured = captureBehind(*handle, kCaptureReduction);
    if (captured.isNull()) {
        return {};
    }
    // Qt's smooth reduction by two averages each 2 × 2 block.
    QImage picture = captured
                         .scaled((captured.size() / 2).expandedTo(QSize(1, 1)),
                                 Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_RGB32);
    boxBlur(picture, kBackdropBlurRadius);
    return picture;
}

} // namespace quelmo
