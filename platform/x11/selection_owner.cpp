// SPDX-License-Identifier: MIT
#include "platform/x11/selection_owner.h"

#include <QByteArray>
#include <QGuiApplication>

#include <X11/Xlib.h>

namespace quelmo {

bool screenSelectionOwned(const char* prefix) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return false;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* dpy = x11 ? x11->display() : nullptr;
    if (dpy == nullptr) {
        return false;
    }
    const QByteArray name = QByteArray(prefix) + QByteArray::number(DefaultScreen(dpy));
    return XGetSelectionOwner(dpy, XInternAtom(dpy, name.constData(), False)) != None;
}

} // namespace quelmo
