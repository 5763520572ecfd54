#include "ui/overlay/compositor_probe.h"

#include <QByteArray>
#include <QGuiApplication>

#include <X11/Xlib.h>

namespace quelmo {

bool compositorRunning() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return false;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* dpy = x11 ? x11->display() : nullptr;
    if (dpy == nullptr) {
        return false;
    }
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(DefaultScreen(dpy));
    const Atom selection = XInternAtom(dpy, name.constData(), False);
    return XGetSelectionOwner(dpy, selection) != None;
}

} // namespace quelmo
