// SPDX-License-Identifier: MIT
#include "ui/overlay/server_backdrop.h"

#include <QGuiApplication>
#include <QSysInfo>
#include <QWindow>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrender.h>

namespace quelmo {
namespace {

Display* qtDisplay() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return nullptr;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

int hostByteOrder() {
    return QSysInfo::ByteOrder == QSysInfo::LittleEndian ? LSBFirst : MSBFirst;
}

// The usual true-colour window: 32-bit pixels in the host's byte order with
// red, green and blue in the low three bytes, which is Qt's RGB32. Anything
// else is left to Qt's own drawing.
bool plainTrueColour(Display* dpy, const XWindowAttributes& attributes) {
    const Visual* visual = attributes.visual;
    if ((attributes.depth != 24 && attributes.depth != 32) || visual == nullptr ||
        visual->red_mask != 0xff0000 || visual->green_mask != 0xff00 || visual->blue_mask != 0xff ||
        ImageByteOrder(dpy) != hostByteOrder()) {
        return false;
    }
    // Images of this depth must take 32 bits a pixel (not packed 24-bit).
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(dpy, &count);
    bool wide = false;
    for (int i = 0; i < count; ++i) {
        if (formats[i].depth == attributes.depth) {
            wide = formats[i].bits_per_pixel == 32;
        }
    }
    if (formats != nullptr) {
        XFree(formats);
    }
    return wide;
}

// Sends `image` (RGB32) to `drawable` at (x, y).
void putImage(Display* dpy, Drawable drawable, const XWindowAttributes& attributes,
              const QImage& image, int x, int y) {
    XImage* ximage =
        XCreateImage(dpy, attributes.visual, static_cast<unsigned>(attributes.depth), ZPixmap, 0,
                     const_cast<char*>(reinterpret_cast<const char*>(image.constBits())),
                     static_cast<unsigned>(image.width()), static_cast<unsigned>(image.height()),
                     32, static_cast<int>(image.bytesPerLine()));
    if (ximage == nullptr) {
        return;
    }
    ximage->byte_order = hostByteOrder();
    const GC gc = XCreateGC(dpy, drawable, 0, nullptr);
    XPutImage(dpy, drawable, gc, ximage, 0, 0, x, y, static_cast<unsigned>(image.width()),
              static_cast<unsigned>(image.height()));
    XFreeGC(dpy, gc);
    ximage->data = nullptr; // the pixels belong to the QImage
    XDestroyImage(ximage);
}

// Fills `target` (width × height) with `source` stretched over it, sampled
// bilinearly at pixel centres with the edges repeated: the same arithmetic
// as QPainter::drawImage with SmoothPixmapTransform, done by the X server.
void stretch(Display* dpy, Pixmap source, const QSize& sourceSize, Pixmap target, int width,
             int height, XRenderPictFormat* format) {
    XRenderPictureAttributes attributes{};
    attributes.repeat = RepeatPad;
    const Picture from = XRenderCreatePicture(dpy, source, format, CPRepeat, &attributes);
    // Target pixel centre (x, y) samples the source at (x·sw/w, y·sh/h).
    XTransform transform{};
    transform.matrix[0][0] = XDoubleToFixed(static_cast<double>(sourceSize.width()) / width);
    transform.matrix[1][1] = XDoubleToFixed(static_cast<double>(sourceSize.height()) / height);
    transform.matrix[2][2] = XDoubleToFixed(1);
    XRenderSetPictureTransform(dpy, from, &transform);
    XRenderSetPictureFilter(dpy, from, const_cast<char*>(FilterBilinear), nullptr, 0);
    const Picture to = XRenderCreatePicture(dpy, target, format, 0, nullptr);
    XRenderComposite(dpy, PictOpSrc, from, None, to, 0, 0, 0, 0, 0, 0, static_cast<unsigned>(width),
                     static_cast<unsigned>(height));
    XRenderFreePicture(dpy, to);
    XRenderFreePicture(dpy, from);
}

} // namespace

ServerBackdrop::~ServerBackdrop() {
    release();
}

bool ServerBackdrop::show(QWindow& window, const QImage& tinted, const QImage& patch,
                          const QPoint& at) {
    Display* dpy = qtDisplay();
    if (dpy == nullptr || tinted.isNull()) {
        return false;
    }
    int eventBase = 0;
    int errorBase = 0;
    if (!XRenderQueryExtension(dpy, &eventBase, &errorBase)) {
        return false;
    }
    const auto win = static_cast<Window>(window.winId());
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(dpy, win, &attributes) || !plainTrueColour(dpy, attributes)) {
        return false;
    }
    XRenderPictFormat* format = XRenderFindVisualFormat(dpy, attributes.visual);
    if (format == nullptr || attributes.width <= 0 || attributes.height <= 0) {
        return false;
    }
    const auto depth = static_cast<unsigned>(attributes.depth);

    // RGB32 carries 0xff in its top byte, so it is also right for a 32-bit visual.
    const QImage small = tinted.convertToFormat(QImage::Format_RGB32);
    const Pixmap smallPixmap = XCreatePixmap(dpy, win, static_cast<unsigned>(small.width()),
                                             static_cast<unsigned>(small.height()), depth);
    putImage(dpy, smallPixmap, attributes, small, 0, 0);
    const Pixmap full = XCreatePixmap(dpy, win, static_cast<unsigned>(attributes.width),
                                      static_cast<unsigned>(attributes.height), depth);
    stretch(dpy, smallPixmap, small.size(), full, attributes.width, attributes.height, format);
    XFreePixmap(dpy, smallPixmap);

    if (!patch.isNull()) {
        putImage(dpy, full, attributes, patch.convertToFormat(QImage::Format_RGB32), at.x(),
                 at.y());
    }

    XSetWindowBackgroundPixmap(dpy, win, full);
    if (attributes.map_state != IsUnmapped) {
        XClearWindow(dpy, win);
    }
    if (pixmap_ != 0) {
        XFreePixmap(dpy, pixmap_);
    }
    window_ = win;
    pixmap_ = full;
    XFlush(dpy);
    return true;
}

void ServerBackdrop::release() {
    if (pixmap_ == 0) {
        return;
    }
    if (Display* dpy = qtDisplay()) {
        XSetWindowBackgroundPixmap(dpy, window_, None);
        XFreePixmap(dpy, pixmap_);
        XFlush(dpy);
    }
    pixmap_ = 0;
    window_ = 0;
}

} // namespace quelmo
