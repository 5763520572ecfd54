// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QPoint>

class QWindow;

namespace quelmo {

// A frost window's whole picture kept on the X server as the window's
// background: the small tinted picture is sent over (a few hundred kilobytes
// even for a 4K screen), the X server stretches it over the window with a
// bilinear filter (XRender), and the one small area Qt draws (the card) is
// laid over it. The server paints the
// background itself whenever the window is mapped or exposed, so no
// full-size image ever crosses the socket.
class ServerBackdrop {
  public:
    ServerBackdrop() = default;
    ~ServerBackdrop();
    ServerBackdrop(const ServerBackdrop&) = delete;
    ServerBackdrop& operator=(const ServerBackdrop&) = delete;

    // Makes `tinted` (any size, 32-bit) stretched over the whole window its
    // background, with `patch` (RGB32, device pixels) laid over it at `at`,
    // and repaints the window if it is mapped. False, leaving the window as
    // it was, where the X server cannot do it: not X11, no XRender, or an
    // unusual pixel format.
    bool show(QWindow& window, const QImage& tinted, const QImage& patch, const QPoint& at);

    // Gives the background pixmap back to the X server (the window shows
    // nothing of its own until the next show()).
    void release();

    bool isActive() const { return pixmap_ != 0; }

  private:
    unsigned long window_ = 0;
    unsigned long pixmap_ = 0;
};

} // namespace quelmo
