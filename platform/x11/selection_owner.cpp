// SPDX-License-Identifier: MIT
#include "platform/x11/selection_owner.h"

#include "platform/x11/qt_display.h"

#include <QByteArray>

#include <X11/Xlib.h>

namespace quelmo {

bool screenSelectionOwned(const char* prefix) {
    Display* dpy = qtX11Display();
    if (dpy == nullptr) {
        return false;
    }
    const QByteArray name = QByteArray(prefix) + QByteArray::number(DefaultScreen(dpy));
    return XGetSelectionOwner(dpy, XInternAtom(dpy, name.constData(), False)) != None;
}

} // namespace quelmo
