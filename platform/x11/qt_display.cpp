// SPDX-License-Identifier: MIT
#include "platform/x11/qt_display.h"

#include <QGuiApplication>

namespace quelmo {
namespace {

QNativeInterface::QX11Application* qtX11() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return nullptr;
    }
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
}

} // namespace

_XDisplay* qtX11Display() {
    auto* x11 = qtX11();
    return x11 ? x11->display() : nullptr;
}

xcb_connection_t* qtXcbConnection() {
    auto* x11 = qtX11();
    return x11 ? x11->connection() : nullptr;
}

} // namespace quelmo
