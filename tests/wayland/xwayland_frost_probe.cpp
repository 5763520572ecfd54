// SPDX-License-Identifier: MIT
// Runs the X11 frost the way Quelmo does in GNOME's Wayland session (Qt on
// XWayland, opaque backdrop) and checks it from the X side: every window
// is mapped, bypasses the window manager, covers its whole screen, sits on
// top, takes no input, and shows the opaque frost with no detail. Prints
// one line per fault and exits 0 when there is none.

#include "ui/overlay/frost_frame.h"
#include "ui/overlay/frost_overlay.h"
#include "ui/overlay/frost_window.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QScreen>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <cstdio>
#include <cstdlib>

namespace {

int faults = 0;
void fault(const char* what) {
    std::printf("fault: %s\n", what);
    ++faults;
}

Display* qtDisplay() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
}

// Mean grey difference between neighbouring pixels, and mean blue minus red.
void measure(XImage* image, double& detail, double& violet) {
    double sum = 0;
    double cast = 0;
    long count = 0;
    for (int y = 0; y < image->height; y += 2) {
        unsigned long last = XGetPixel(image, 0, y);
        for (int x = 1; x < image->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const auto grey = [](unsigned long p) {
                return static_cast<int>(((p >> 16) & 0xff) + ((p >> 8) & 0xff) + (p & 0xff)) / 3;
            };
            sum += std::abs(grey(pixel) - grey(last));
            cast += static_cast<int>(pixel & 0xff) - static_cast<int>((pixel >> 16) & 0xff);
            last = pixel;
            ++count;
        }
    }
    detail = sum / static_cast<double>(count);
    violet = cast / static_cast<double>(count);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    quelmo::FrostOverlay::Options options;
    options.backdrop = [](quelmo::FrostWindow&) { return quelmo::opaqueBackdrop(); };
    quelmo::FrostOverlay overlay(options);
    overlay.setFrost(true, false);
    QDeadlineTimer deadline(5000);
    const auto allPainted = [&overlay] {
        for (const auto& window : overlay.windows()) {
            // The X server may draw the picture itself, with Qt painting nothing.
            const bool drawn = window->framesPainted() > 0 || window->isDrawnByServer();
            if (!drawn || !window->isVisible() || window->windowOpacity() < 1.0) {
                return false;
            }
        }
        return !overlay.windows().empty();
    };
    while (!allPainted() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    if (!allPainted()) {
        fault("the frost windows were never painted");
        return 1;
    }
    Display* dpy = qtDisplay();
    XSync(dpy, False);

    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &count);
    for (std::size_t i = 0; i < overlay.windows().size(); ++i) {
        const auto& frost = overlay.windows()[i];
        const Window id = static_cast<Window>(frost->winId());
        XWindowAttributes attributes;
        XGetWindowAttributes(dpy, id, &attributes);
        if (attributes.map_state != IsViewable) {
            fault("a frost window is not mapped");
        }
        if (!attributes.override_redirect) {
            fault("a frost window goes through the window manager");
        }
        const QRect screen = frost->targetScreen()->geometry();
        if (QRect(attributes.x, attributes.y, attributes.width, attributes.height) != screen) {
            fault("a frost window does not cover its screen");
        }
        // The frost windows are the topmost children of the root.
        bool onTop = false;
        for (std::size_t k = count - overlay.windows().size(); k < count; ++k) {
            onTop = onTop || children[k] == id;
        }
        if (!onTop) {
            fault("a frost window is not on top");
        }
        int rectangles = -1;
        int ordering = 0;
        XRectangle* input = XShapeGetRectangles(dpy, id, ShapeInput, &rectangles, &ordering);
        if (input != nullptr) {
            XFree(input);
        }
        if (rectangles != 0) {
            fault("a frost window takes input");
        }
        XImage* image = XGetImage(dpy, id, 0, 0, static_cast<unsigned>(attributes.width),
                                  static_cast<unsigned>(attributes.height / 4), AllPlanes, ZPixmap);
        if (image == nullptr) {
            fault("the frost window's pixels cannot be read");
            continue;
        }
        double detail = 0;
        double violet = 0;
        measure(image, detail, violet);
        XDestroyImage(image);
        std::printf("screen %zu: %dx%d detail %.2f violet %.1f\n", i, screen.width(),
                    screen.height(), detail, violet);
        if (detail > 1.0 || violet < 8) {
            fault("the frost is not the opaque violet backdrop");
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    std::printf("%s\n", faults == 0 ? "ok" : "failed");
    return faults == 0 ? 0 : 1;
}
