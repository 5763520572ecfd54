#include "ui/overlay/frost_backdrop.h"

#include "ui/overlay/box_blur.h"
#include "ui/overlay/frost_window.h"
#include "ui/overlay/screen_capture.h"

#include <QWindow>

namespace quelmo {

QImage blurredBackdrop(FrostWindow& window) {
    QWindow* handle = window.windowHandle();
    if (handle == nullptr) {
        return {};
    }
    QImage picture = captureBehind(*handle, kBackdropReduction);
    boxBlur(picture, kBackdropBlurRadius);
    return picture;
}

} // namespace quelmo
