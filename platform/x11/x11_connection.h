// SPDX-License-Identifier: MIT
#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <memory>
#include <string>

namespace quelmo::x11 {

// A connection to an X server that never ends or stops the process on its own.
//
// By default Xlib exits the process when a connection breaks and when the server reports
// an error nobody asked about. For connections opened here both are taken over: a
// broken connection only marks the connection lost, and errors are kept for
// syncAndTakeError(). Connections Xlib has for others (Qt's, for instance) keep the
// handlers that were in place before.
//
// A connection is used by one thread at a time.
class X11Connection {
  public:
    // Opens the named display ("" means $DISPLAY); nullptr when there is no server to
    // talk to.
    static std::unique_ptr<X11Connection> open(const std::string& displayName);
    ~X11Connection();

    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    Display* display() const { return display_; }
    int fd() const { return ConnectionNumber(display_); }

    // True once the connection has broken. After that the display may only be closed
    // (the destructor does it), and only by the thread that saw it break: Xlib leaves the
    // display locked for that thread.
    bool isLost() const { return lost_.load(std::memory_order_acquire); }

    // Waits until the server has handled every request sent so far and returns the first
    // error code it reported since the last call (Success when none), then forgets it.
    int syncAndTakeError();

  private:
    explicit X11Connection(Display* display) : display_(display) {}

    static int onXError(Display* display, XErrorEvent* event);
    static int onIOError(Display* display);
    static void onConnectionLost(Display* display, void* self);

    Display* display_;
    std::atomic<bool> lost_{false};
    std::atomic<int> firstError_{Success};
};

} // namespace quelmo::x11
