// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRect>

class QWindow;
struct _XDisplay;

namespace quelmo {

// A frost window's picture kept on the X server and drawn there: the small
// tinted picture is sent over (a few hundred kilobytes even for a 4K screen),
// the X server stretches it to half the window's size with a bilinear filter
// (XRender), and every exposed part of the window is filled from that by
// doubling each pixel, with the one small area Qt draws (the card) laid over
// it. No full-size image crosses the socket or is even kept on the server:
// the two-step stretch writes the screen once and costs a third of a
// full-size bilinear one, and it differs from it by about one level in 255
// (neighbouring pixels of a picture this blurred are close).
//
// The window has no background of its own, so the X server leaves the
// painting of exposed parts to us: the window's owner passes its native
// events to handleNativeEvent().
class ServerBackdrop {
  public:
    ServerBackdrop() = default;
    ~ServerBackdrop();
    ServerBackdrop(const ServerBackdrop&) = delete;
    ServerBackdrop& operator=(const ServerBackdrop&) = delete;

    // Puts `tinted` (any size, 32-bit), to be stretched over the whole
    // window, on the server with `patch` (RGB32, device pixels) to lie over
    // it at `at`, and draws the window if it is mapped. False, leaving the
    // window as it was, where the X server cannot do it: not X11, no
    // XRender, or an unusual pixel format.
    bool show(QWindow& window, const QImage& tinted, const QImage& patch, const QPoint& at);

    // Draws the whole window now, for a window just mapped: the X server has
    // the map before this, so the picture is on screen without waiting for
    // the Expose event to make the trip to us and back.
    void paintMapped();

    // Draws the parts of the window an Expose event names. True when the
    // event was one of those (Qt may still see it: it paints nothing while
    // the server draws).
    bool handleNativeEvent(const QByteArray& eventType, const void* message);

    // Gives the pictures back to the X server (the window shows nothing of
    // its own until the next show()).
    void release();

    bool isActive() const { return half_ != 0; }

  private:
    // Whether the X server can draw `window`, asked once a window: its visual
    // and depth never change.
    bool learnWindow(_XDisplay* dpy, unsigned long window);
    // Fills `area` (window coordinates, device pixels) from the server's copy.
    void paint(const QRect& area);
    // The whole window, noting the request that draws it.
    void paintAll();

    unsigned long learnedWindow_ = 0;
    void* format_ = nullptr; // XRenderPictFormat of the window's visual
    void* visual_ = nullptr;
    int depth_ = 0;

    unsigned long window_ = 0;
    unsigned long half_ = 0;        // pixmap: the picture at half the window's size
    unsigned long halfPicture_ = 0; // that pixmap, read with each pixel doubled
    unsigned long card_ = 0;        // pixmap: the patch
    unsigned long cardPicture_ = 0;
    unsigned long windowPicture_ = 0; // the window itself, to draw into
    QRect cardArea_;
    QSize size_;
    // The X server stamps each event with the number of the last request it
    // had processed. Expose events stamped no later than the whole window's
    // last painting were covered by it and are skipped, until one stamped
    // later arrives.
    unsigned long paintedAt_ = 0;
    bool skipsEarlierExposes_ = false;
};

} // namespace quelmo
