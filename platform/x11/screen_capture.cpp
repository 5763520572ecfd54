// SPDX-License-Identifier: MIT
#include "platform/x11/screen_capture.h"

#include "platform/x11/qt_display.h"

#include <QHash>
#include <QPixmap>
#include <QScreen>
#include <QSysInfo>
#include <QWindow>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrender.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace quelmo {
namespace {

// The window's rectangle in its root window's coordinates, in device pixels.
struct NativeArea {
    Window root = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Where `window` stands: its size and its position on its root window,
// asked together so the answer costs one wait for the X server. (A window's
// root never changes, so it is remembered after the first question.)
bool nativeArea(xcb_connection_t* connection, Window window, NativeArea& area) {
    static QHash<Window, Window> rootOf;
    const Window knownRoot = rootOf.value(window, 0);
    const auto geometryCookie = xcb_get_geometry(connection, static_cast<xcb_drawable_t>(window));
    xcb_translate_coordinates_cookie_t placeCookie{};
    if (knownRoot != 0) {
        placeCookie = xcb_translate_coordinates(connection, static_cast<xcb_window_t>(window),
                                                static_cast<xcb_window_t>(knownRoot), 0, 0);
    }
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection, geometryCookie, nullptr);
    if (geometry == nullptr) {
        if (knownRoot != 0) {
            xcb_discard_reply(connection, placeCookie.sequence);
        }
        return false;
    }
    area.root = geometry->root;
    area.width = geometry->width;
    area.height = geometry->height;
    std::free(geometry);
    if (knownRoot != area.root) {
        if (knownRoot != 0) {
            xcb_discard_reply(connection, placeCookie.sequence);
        }
        // Windows come and go (every rebuild of the frost makes new ones);
        // forgetting them all now and then keeps this small.
        if (rootOf.size() >= 64) {
            rootOf.clear();
        }
        rootOf.insert(window, area.root);
        placeCookie = xcb_translate_coordinates(connection, static_cast<xcb_window_t>(window),
                                                static_cast<xcb_window_t>(area.root), 0, 0);
    }
    xcb_translate_coordinates_reply_t* place =
        xcb_translate_coordinates_reply(connection, placeCookie, nullptr);
    if (place == nullptr) {
        return false;
    }
    area.x = place->dst_x;
    area.y = place->dst_y;
    std::free(place);
    return area.width > 0 && area.height > 0;
}

// What the captures need of a root window, which never changes: the format
// of its pictures and its depth.
struct RootFormat {
    XRenderPictFormat* format = nullptr;
    const Visual* visual = nullptr;
    int depth = 0;
};

bool rootFormat(Display* dpy, Window root, RootFormat& out) {
    static QHash<Window, RootFormat> known;
    if (const auto found = known.constFind(root); found != known.cend()) {
        out = *found;
        return out.format != nullptr;
    }
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(dpy, root, &attributes)) {
        return false;
    }
    out.format = XRenderFindVisualFormat(dpy, attributes.visual);
    out.visual = attributes.visual;
    out.depth = attributes.depth;
    known.insert(root, out);
    return out.format != nullptr;
}

// The root window's contents under `area`, scaled down by the X server with a
// bilinear filter and read back as a small image.
QImage captureWithRender(Display* dpy, const NativeArea& area, int factor) {
    int eventBase = 0;
    int errorBase = 0;
    if (!XRenderQueryExtension(dpy, &eventBase, &errorBase)) {
        return {};
    }
    RootFormat root;
    if (!rootFormat(dpy, area.root, root)) {
        return {};
    }
    XRenderPictFormat* format = root.format;
    const int width = std::max(1, area.width / factor);
    const int height = std::max(1, area.height / factor);

    XRenderPictureAttributes attributes{};
    attributes.subwindow_mode = IncludeInferiors;
    const Picture source =
        XRenderCreatePicture(dpy, area.root, format, CPSubwindowMode, &attributes);
    // Destination pixel (x, y) samples the root at (factor·x + area.x, factor·y + area.y).
    XTransform transform{};
    transform.matrix[0][0] = XDoubleToFixed(factor);
    transform.matrix[0][2] = XDoubleToFixed(area.x);
    transform.matrix[1][1] = XDoubleToFixed(factor);
    transform.matrix[1][2] = XDoubleToFixed(area.y);
    transform.matrix[2][2] = XDoubleToFixed(1);
    XRenderSetPictureTransform(dpy, source, &transform);
    XRenderSetPictureFilter(dpy, source, const_cast<char*>(FilterBilinear), nullptr, 0);

    const Pixmap pixmap =
        XCreatePixmap(dpy, area.root, static_cast<unsigned>(width), static_cast<unsigned>(height),
                      static_cast<unsigned>(root.depth));
    const Picture target = XRenderCreatePicture(dpy, pixmap, format, 0, nullptr);
    XRenderComposite(dpy, PictOpSrc, source, None, target, 0, 0, 0, 0, 0, 0,
                     static_cast<unsigned>(width), static_cast<unsigned>(height));
    XImage* ximage = XGetImage(dpy, pixmap, 0, 0, static_cast<unsigned>(width),
                               static_cast<unsigned>(height), AllPlanes, ZPixmap);
    XRenderFreePicture(dpy, target);
    XRenderFreePicture(dpy, source);
    XFreePixmap(dpy, pixmap);
    if (ximage == nullptr) {
        return {};
    }

    QImage image;
    // The usual true-colour screen: 32-bit pixels in the host's byte order
    // with red, green and blue in the low three bytes, which is Qt's RGB32.
    // (An image read from a pixmap carries no colour masks; the root
    // visual's say where the colours are.)
    const Visual* visual = root.visual;
    const int hostOrder = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? LSBFirst : MSBFirst;
    if (ximage->bits_per_pixel == 32 && ximage->byte_order == hostOrder &&
        visual->red_mask == 0xff0000 && visual->green_mask == 0xff00 && visual->blue_mask == 0xff) {
        image = QImage(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            std::memcpy(image.scanLine(y),
                        ximage->data + static_cast<std::ptrdiff_t>(y) * ximage->bytes_per_line,
                        static_cast<std::size_t>(width) * 4);
        }
    }
    XDestroyImage(ximage);
    return image;
}

QImage captureWithQt(QWindow& window, int factor) {
    QScreen* screen = window.screen();
    if (screen == nullptr) {
        return {};
    }
    const QRect area = window.geometry().translated(-screen->geometry().topLeft());
    const QPixmap grab = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    if (grab.isNull()) {
        return {};
    }
    const QSize small = (QSizeF(grab.size()) / factor).toSize().expandedTo(QSize(1, 1));
    return grab.toImage()
        .scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

QImage captureScaledByServer(QWindow& window, int factor) {
    Display* dpy = qtX11Display();
    NativeArea area;
    if (dpy == nullptr ||
        !nativeArea(qtXcbConnection(), static_cast<Window>(window.winId()), area)) {
        return {};
    }
    return captureWithRender(dpy, area, std::max(1, factor));
}

QImage captureBehind(QWindow& window, int factor) {
    QImage image = captureScaledByServer(window, factor);
    return image.isNull() ? captureWithQt(window, std::max(1, factor)) : image;
}

} // namespace quelmo
