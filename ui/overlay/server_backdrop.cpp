// SPDX-License-Identifier: MIT
#include "ui/overlay/server_backdrop.h"

#include "platform/x11/qt_display.h"

#include <QSysInfo>
#include <QWindow>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrender.h>
#include <xcb/xcb.h>

#include <cstdint>

namespace quelmo {
namespace {

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
void putImage(Display* dpy, Drawable drawable, Visual* visual, int depth, const QImage& image,
              int x, int y) {
    XImage* ximage =
        XCreateImage(dpy, visual, static_cast<unsigned>(depth), ZPixmap, 0,
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

// A picture of `pixmap` (of `source` size) that, composited onto something
// of `target` size, fills it with the pixmap stretched over it: target pixel
// centres map onto source coordinates by scale alone, and the edges repeat.
// Filtered bilinearly, that is the arithmetic of QPainter::drawImage with
// SmoothPixmapTransform.
Picture stretchedPicture(Display* dpy, Pixmap pixmap, const QSize& source, const QSize& target,
                         XRenderPictFormat* format, const char* filter) {
    XRenderPictureAttributes attributes{};
    attributes.repeat = RepeatPad;
    const Picture picture = XRenderCreatePicture(dpy, pixmap, format, CPRepeat, &attributes);
    XTransform transform{};
    transform.matrix[0][0] = XDoubleToFixed(static_cast<double>(source.width()) / target.width());
    transform.matrix[1][1] = XDoubleToFixed(static_cast<double>(source.height()) / target.height());
    transform.matrix[2][2] = XDoubleToFixed(1);
    XRenderSetPictureTransform(dpy, picture, &transform);
    XRenderSetPictureFilter(dpy, picture, const_cast<char*>(filter), nullptr, 0);
    return picture;
}

// A new pixmap holding `image` (RGB32).
Pixmap uploaded(Display* dpy, Window window, Visual* visual, int depth, const QImage& image) {
    const Pixmap pixmap =
        XCreatePixmap(dpy, window, static_cast<unsigned>(image.width()),
                      static_cast<unsigned>(image.height()), static_cast<unsigned>(depth));
    putImage(dpy, pixmap, visual, depth, image, 0, 0);
    return pixmap;
}

} // namespace

ServerBackdrop::~ServerBackdrop() {
    release();
}

bool ServerBackdrop::show(QWindow& window, const QImage& tinted, const QImage& patch,
                          const QPoint& at) {
    Display* dpy = qtX11Display();
    if (dpy == nullptr || tinted.isNull()) {
        return false;
    }
    const auto win = static_cast<Window>(window.winId());
    if (!learnWindow(dpy, win)) {
        return false;
    }
    // The window's size in device pixels, from Qt rather than asking the X
    // server: a question would wait for whatever the server is still drawing.
    const QSize full = (QSizeF(window.size()) * window.devicePixelRatio()).toSize();
    if (full.isEmpty()) {
        return false;
    }
    auto* format = static_cast<XRenderPictFormat*>(format_);
    auto* visual = static_cast<Visual*>(visual_);
    release();
    window_ = win;
    // Without a background the X server paints nothing of its own on
    // exposure, so it never fills the window with anything but the picture.
    XSetWindowBackgroundPixmap(dpy, win, None);

    // RGB32 carries 0xff in its top byte, so it is also right for a 32-bit visual.
    const QImage small = tinted.convertToFormat(QImage::Format_RGB32);
    const QSize half((full.width() + 1) / 2, (full.height() + 1) / 2);
    const Pixmap smallPixmap = uploaded(dpy, win, visual, depth_, small);
    // Both pictures go over before the stretching is asked for: a large
    // upload queued behind it would wait for the X server to finish it.
    if (!patch.isNull()) {
        card_ = uploaded(dpy, win, visual, depth_, patch.convertToFormat(QImage::Format_RGB32));
        cardPicture_ = XRenderCreatePicture(dpy, card_, format, 0, nullptr);
        cardArea_ = QRect(at, patch.size());
    }
    half_ = XCreatePixmap(dpy, win, static_cast<unsigned>(half.width()),
                          static_cast<unsigned>(half.height()), static_cast<unsigned>(depth_));
    const Picture from =
        stretchedPicture(dpy, smallPixmap, small.size(), half, format, FilterBilinear);
    const Picture to = XRenderCreatePicture(dpy, half_, format, 0, nullptr);
    XRenderComposite(dpy, PictOpSrc, from, None, to, 0, 0, 0, 0, 0, 0,
                     static_cast<unsigned>(half.width()), static_cast<unsigned>(half.height()));
    XRenderFreePicture(dpy, to);
    XRenderFreePicture(dpy, from);
    XFreePixmap(dpy, smallPixmap);
    halfPicture_ = stretchedPicture(dpy, half_, half, full, format, FilterNearest);

    windowPicture_ = XRenderCreatePicture(dpy, win, format, 0, nullptr);
    size_ = full;
    if (window.isVisible()) {
        paintAll();
    }
    XFlush(dpy);
    return true;
}

bool ServerBackdrop::learnWindow(Display* dpy, unsigned long window) {
    if (window == learnedWindow_) {
        return format_ != nullptr;
    }
    learnedWindow_ = window;
    format_ = nullptr;
    int eventBase = 0;
    int errorBase = 0;
    XWindowAttributes attributes{};
    if (!XRenderQueryExtension(dpy, &eventBase, &errorBase) ||
        !XGetWindowAttributes(dpy, window, &attributes) || !plainTrueColour(dpy, attributes)) {
        return false;
    }
    format_ = XRenderFindVisualFormat(dpy, attributes.visual);
    visual_ = attributes.visual;
    depth_ = attributes.depth;
    return format_ != nullptr;
}

void ServerBackdrop::paintMapped() {
    if (!isActive()) {
        return;
    }
    paintAll();
    if (Display* dpy = qtX11Display()) {
        XFlush(dpy);
    }
}

void ServerBackdrop::paintAll() {
    Display* dpy = qtX11Display();
    if (dpy == nullptr) {
        return;
    }
    // A little past the size Qt gives, in case its rounding of a scaled
    // size left the window a pixel larger: the X server clips the rest, and
    // the picture's edges repeat.
    paint(QRect(QPoint(0, 0), size_ + QSize(8, 8)));
    paintedAt_ = NextRequest(dpy) - 1;
    skipsEarlierExposes_ = true;
}

bool ServerBackdrop::handleNativeEvent(const QByteArray& eventType, const void* message) {
    if (!isActive() || eventType != "xcb_generic_event_t" || message == nullptr) {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_EXPOSE) {
        return false;
    }
    const auto* expose = static_cast<const xcb_expose_event_t*>(message);
    if (expose->window != window_) {
        return false;
    }
    if (skipsEarlierExposes_) {
        // Sequence numbers are the low 16 bits of the request count.
        const auto sinceSeen = static_cast<std::int16_t>(
            expose->sequence - static_cast<std::uint16_t>(paintedAt_ & 0xffff));
        if (sinceSeen <= 0) {
            return true;
        }
        skipsEarlierExposes_ = false;
    }
    paint(QRect(expose->x, expose->y, expose->width, expose->height));
    if (Display* dpy = qtX11Display()) {
        XFlush(dpy);
    }
    return true;
}

void ServerBackdrop::paint(const QRect& area) {
    Display* dpy = qtX11Display();
    if (dpy == nullptr || area.isEmpty()) {
        return;
    }
    // With a transform the source is read at the destination's coordinates,
    // so both offsets are the area's own.
    XRenderComposite(dpy, PictOpSrc, halfPicture_, None, windowPicture_, area.x(), area.y(), 0, 0,
                     area.x(), area.y(), static_cast<unsigned>(area.width()),
                     static_cast<unsigned>(area.height()));
    const QRect card = area & cardArea_;
    if (cardPicture_ != 0 && !card.isEmpty()) {
        XRenderComposite(dpy, PictOpSrc, cardPicture_, None, windowPicture_,
                         card.x() - cardArea_.x(), card.y() - cardArea_.y(), 0, 0, card.x(),
                         card.y(), static_cast<unsigned>(card.width()),
                         static_cast<unsigned>(card.height()));
    }
}

void ServerBackdrop::release() {
    if (window_ == 0) {
        return;
    }
    if (Display* dpy = qtX11Display()) {
        for (unsigned long* picture : {&windowPicture_, &halfPicture_, &cardPicture_}) {
            if (*picture != 0) {
                XRenderFreePicture(dpy, *picture);
            }
        }
        for (unsigned long* pixmap : {&half_, &card_}) {
            if (*pixmap != 0) {
                XFreePixmap(dpy, *pixmap);
            }
        }
        XFlush(dpy);
    }
    windowPicture_ = halfPicture_ = cardPicture_ = 0;
    half_ = card_ = 0;
    window_ = 0;
    cardArea_ = QRect();
    skipsEarlierExposes_ = false;
}

} // namespace quelmo
